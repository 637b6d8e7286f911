// Plinx_DX9: the game's process entry. Runs from the folder that holds the executable
// and its Data folder, then hands the application to the engine's start-up.
#include <unistd.h>

#include <climits>
#include <cstring>

#include "EngMain.h"
#include "Game.h"

int main(int argc, char **argv)
{
    char exe[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", exe, sizeof(exe) - 1);
    if (length > 0)
    {
        exe[length] = 0;
        char *slash = strrchr(exe, '/');
        if (slash)
        {
            *slash = 0;
            if (chdir(exe) != 0)
                return 255;
        }
    }
    return EngMainRunProgram(argc, argv, GameGetApplication()) & 0xFF;
}
