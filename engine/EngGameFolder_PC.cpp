// The game's folder through the shell stand-in's search from the executable's place.
#include "EngGameFolder.h"

#include <unistd.h>

#include <climits>

#include "PlatShell.h"

bool EngGameFolderEnter()
{
    char folder[PATH_MAX];
    if (PlatShellFindGameFolder(nullptr, folder, sizeof(folder)) && chdir(folder) == 0)
        return true;
    return PlatShellGetProgramFolder(folder, sizeof(folder)) && chdir(folder) == 0;
}
