// Stand-in for the Windows shell, user and locale services: the per-user data and
// desktop folders, the login name, the system random source, opening a document or
// address with the desktop's default program, starting a program, the user's country,
// and where the game's own files are.
// platform/ has no log: a failing call returns 0 and leaves its reason in the
// last-error text.
#pragma once
#include <cstddef>

// ---- Folders (no trailing separator) ------------------------------------------------
// $XDG_DATA_HOME when it is an absolute path, else $HOME/.local/share; created (0700)
// when missing. 0 when no home folder is known or the folder cannot be made.
bool PlatShellGetDataFolder(char *out, size_t size);
// The XDG desktop folder (XDG_DESKTOP_DIR of user-dirs.dirs), else $HOME/Desktop.
bool PlatShellGetDesktopFolder(char *out, size_t size);
// The home folder: $HOME, else the password database's entry.
bool PlatShellGetHomeFolder(char *out, size_t size);
// The folder that holds the running program's executable (links resolved).
bool PlatShellGetProgramFolder(char *out, size_t size);
// The game's folder: the one that holds its "Data" folder (recognised by Data/Common),
// searched from `programFolder` (NULL: the running program's): the program's own folder
// (the build tree, a game unpacked in one folder), then the installed data folder at its
// place relative to the installed executables, then the build tree's compiled-in folder.
// The result is absolute and has no "..". 0 when none of them holds the data.
bool PlatShellFindGameFolder(const char *programFolder, char *out, size_t size);

// ---- User ---------------------------------------------------------------------------
// The login name of the real user.
bool PlatShellGetUserName(char *out, size_t size);
// The two upper-case letters of the user's territory from LC_ALL, LC_ADDRESS,
// LC_MESSAGES or LANG ("en_GB.UTF-8" gives "GB"); 0 when none names one.
bool PlatShellGetUserCountry(char *out, size_t size);

// ---- System random source and opening documents ------------------------------------
// Fills `size` bytes from the kernel's random source.
bool PlatShellGetRandomBytes(void *out, size_t size);
// Opens a file, folder or web address with the desktop's default program (xdg-open,
// started directly, never through a shell). Does not wait for it.
bool PlatShellOpen(const char *target);
// Starts the executable at `path` with no arguments and the working folder `folder`,
// directly (never through a shell), without waiting for it. 0 when it cannot be
// started (missing, not executable, no such folder), with the reason.
bool PlatShellStartProgram(const char *path, const char *folder);

// The reason of the last failure of this module ("" when none).
const char *PlatShellGetErrorText();

// ---- Seam ----------------------------------------------------------------------------
// The operations that reach the outside world; tests swap in recording or failing
// versions. Any NULL entry keeps the real operation.
struct PlatShellFunctions
{
    bool (*getRandomBytes)(void *out, size_t size);
    bool (*open)(const char *target);
    bool (*getUserName)(char *out, size_t size);
    bool (*startProgram)(const char *path, const char *folder);
};
// NULL restores the real functions.
void PlatShellSetFunctions(const PlatShellFunctions *functions);
