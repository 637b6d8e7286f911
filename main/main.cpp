// Plinx_DX9: the game's process entry. Runs from the folder that holds the executable
// and its Data folder, then hands over to the engine.
#include <unistd.h>

#include <climits>
#include <cstring>
#include <string>

#include "EngDebug.h"
#include "EngPrefFolder.h"

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
    // The command line is the words after the program name joined by single spaces.
    std::string commandLine;
    for (int i = 1; i < argc; i++)
    {
        if (i > 1)
            commandLine += ' ';
        commandLine += argv[i];
    }
    // The per-user folder and the log in it come first: everything after reports there.
    PrefFolderSetup("Plinx", true, "LogFile.txt", false);
    DebugInfo("Plinx started [%s]", commandLine.c_str());
    return 0;
}
