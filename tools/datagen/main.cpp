// datagen: writes every binary data file of the game (pictures, sounds, music) into a
// folder, the same bytes on every run, and a contact sheet of all pictures.
//   datagen <output folder> <font file> [<contact sheet png>]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

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
    // DATAGEN_TIMING=1 prints how long each part takes.
    bool timing = std::getenv("DATAGEN_TIMING") != nullptr;
    auto run = [timing](const char *name, void (*part)()) {
        auto start = std::chrono::steady_clock::now();
        part();
        if (timing)
            std::printf("%-14s %6.0f ms\n", name,
                        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    };
    run("balls", GenBalls);
    run("play screen", GenPlayScreen);
    run("menus", GenMenus);
    run("buttons", GenButtons);
    run("flags", GenFlags);
    run("catalogue", GenCatalogue);
    run("sounds", GenSounds);
    run("music", GenMusic);
    if (argc > 3)
    {
        auto start = std::chrono::steady_clock::now();
        OutWriteContactSheet(argv[3]);
        if (timing)
            std::printf("%-14s %6.0f ms\n", "contact sheet",
                        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    FontShutdown();
    return OutFailed() ? 1 : 0;
}
