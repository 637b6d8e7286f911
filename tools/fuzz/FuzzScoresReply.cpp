// Fuzz target: the reply of the online scores script on any bytes. Every row it keeps must
// be whole (terminated texts, fields in their bounds), and a kept row written back as a
// reply line must read back as the same row.
#include <cstdio>
#include <cstring>
#include <string>

#include "FuzzKit.h"
#include "ScoresReply.h"

namespace
{

const int kListSize = 100;

bool Terminated(const char *text, size_t size)
{
    return memchr(text, 0, size) != nullptr;
}

// The reply line a row came from, as the script would send it.
std::string LineOf(const _ScoresScore &row)
{
    std::string name = row.name;
    for (char &c : name)
    {
        if (c == ' ')
            c = '_';
    }
    char numbers[96];
    snprintf(numbers, sizeof(numbers), "%d %d %u %u %u ", row.v1, row.v2, row.v3, row.v4, (unsigned)row.uid);
    char date[32];
    snprintf(date, sizeof(date), " %04d-%02d-%02d ", row.year, row.month, row.day);
    return std::string(numbers) + name + " " + row.cc + " " + row.fb + date + std::string(1, row.plat);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static bool ready = [] {
        fuzzkit::Home();
        return true;
    }();
    (void)ready;
    fuzzkit::ClearLog();
    static _ScoresScore rows[kListSize];
    memset(rows, 0xA5, sizeof(rows));
    char message[256];
    _ScoresReplyTarget target = {240, nullptr, nullptr, rows, kListSize, -1, message, (int)sizeof(message)};
    int kind = ScoresReplyRead((const char *)data, (uint32_t)size, &target);
    fuzzkit::Check(kind >= SCORES_REPLY_LIST && kind <= SCORES_REPLY_INVALID, "unknown reply kind");
    fuzzkit::Check(Terminated(message, sizeof(message)), "message not terminated");
    if (kind != SCORES_REPLY_LIST)
        return 0;
    fuzzkit::Check(target.numRows >= 0 && target.numRows <= kListSize, "row count out of bounds");
    for (int i = 0; i < target.numRows; i++)
    {
        const _ScoresScore &row = rows[i];
        fuzzkit::Check(Terminated(row.name, sizeof(row.name)) && row.name[0], "name not terminated or empty");
        fuzzkit::Check(row.cc[2] == 0 && strlen(row.cc) == 2, "country not two letters");
        fuzzkit::Check(Terminated(row.fb, sizeof(row.fb)) && row.fb[0], "text not terminated or empty");
        fuzzkit::Check(row.v1 >= 0 && row.uid > 0, "score or player id out of bounds");
        fuzzkit::Check(row.year >= 2000 && row.month >= 1 && row.month <= 12 && row.day >= 1 && row.day <= 31,
                       "date out of bounds");
        fuzzkit::Check(row.padding1[0] == 0 && row.padding1[1] == 0 && row.padding2[0] == 0 && row.padding2[1] == 0,
                       "padding not zero");
        std::string line = LineOf(row);
        _ScoresScore again;
        fuzzkit::Check(ScoresReplyParseLine(line.data(), line.data() + line.size(), nullptr, &again),
                       "a kept row written back is refused");
        fuzzkit::Check(memcmp(&row, &again, sizeof(row)) == 0, "a kept row written back reads different");
    }
    return 0;
}
