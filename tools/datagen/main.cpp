// datagen: writes every binary data file of the game (pictures, sounds, music) into a
// folder, the same bytes on every run, and a contact sheet of all pictures.
//   datagen <output folder> <font file> [<contact sheet png>]
#include <atomic>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "Datagen.h"
#include "DgFont.h"
#include "DgOutput.h"

int main(int argc, char **argv)
{
    if (argc < 3)
    {
        std::fprintf(stderr, "usage: datagen <output folder> <font file> [<contact sheet png>]\n");
        return 2;
    }
    if (!FontSetup(argv[2]) || !OutSetup(argv[1]))
        return 1;
    // The parts are independent: up to four run at once. DATAGEN_TIMING=1 prints how
    // long each took.
    struct Part
    {
        const char *name;
        void (*run)();
        double wallMs, cpuMs;
    };
    Part parts[] = {{"balls", GenBalls, 0, 0},         {"play screen", GenPlayScreen, 0, 0},
                    {"menus", GenMenus, 0, 0},         {"buttons", GenButtons, 0, 0},
                    {"flags", GenFlags, 0, 0},         {"catalogue", GenCatalogue, 0, 0},
                    {"sounds", GenSounds, 0, 0},       {"music", GenMusic, 0, 0}};
    const int count = (int)(sizeof parts / sizeof parts[0]);
    std::atomic<int> next(0);
    std::vector<std::thread> workers;
    auto start = std::chrono::steady_clock::now();
    for (int t = 0; t < 4; t++)
        workers.emplace_back([&]() {
            for (int i = next++; i < count; i = next++)
            {
                OutBeginGroup(i);
                auto begin = std::chrono::steady_clock::now();
                parts[i].run();
                parts[i].wallMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
            }
        });
    for (std::thread &worker : workers)
        worker.join();
    if (argc > 3)
        OutWriteContactSheet(argv[3]);
    if (std::getenv("DATAGEN_TIMING"))
    {
        for (const Part &part : parts)
            std::printf("%-12s %6.0f ms\n", part.name, part.wallMs);
        std::printf("%-12s %6.0f ms (cpu %.0f ms)\n", "all",
                    std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count(),
                    std::clock() * 1000.0 / CLOCKS_PER_SEC);
    }
    FontShutdown();
    return OutFailed() ? 1 : 0;
}
