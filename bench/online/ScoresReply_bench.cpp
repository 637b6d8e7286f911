// The online score list's costs on the main thread: reading a whole reply of 100 rows,
// and one poll of a fetch still under way (paid every frame while a list loads).
#include <benchmark/benchmark.h>

#include <string>

#include "EngDebug.h"
#include "EngPrefFolder.h"
#include "PlatInet.h"
#include "ScoresMain.h"
#include "ScoresReply.h"
#include "TestkitHttp.h"

static std::string FullList()
{
    std::string reply = "Y \n";
    for (int i = 0; i < 100; i++)
        reply += std::to_string(100000 - i) + " 0 0 65538 " + std::to_string(i + 1) + " PLAYER_" +
                 std::to_string(i) + " GB x 2026-11-30 W\n";
    return reply + "*\n";
}

static void BM_ReadListOf100Rows(benchmark::State &state)
{
    const std::string reply = FullList();
    static _ScoresScore rows[100];
    for (auto _ : state)
    {
        _ScoresReplyTarget target = {240, nullptr, nullptr, rows, 100, 0, nullptr, 0};
        ScoresReplyRead(reply.data(), (uint32_t)reply.size(), &target);
        benchmark::DoNotOptimize(target.numRows);
    }
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)reply.size());
}
BENCHMARK(BM_ReadListOf100Rows);

static void BM_PollAFetchUnderWay(benchmark::State &state)
{
    PlatInetSetLoopbackOnly(true);
    testkit::LoopbackHttpServer server;
    server.SetDefault(testkit::HttpReply::Hold());
    OnlineSetBaseAddress(server.BaseUrl().c_str());
    ScoresMain list;
    list.Setup(SCORES_PROGRAM_TEST, 240, 100, 5100, 0, nullptr, false, 15);
    list.Update();
    int32_t result = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(list.IsUpdateFinished(&result, nullptr));
    list.StopUpdating();
    OnlineSetBaseAddress(nullptr);
}
BENCHMARK(BM_PollAFetchUnderWay);
