// Stand-in for the Windows shell, user and locale services: the per-user data and
// desktop folders, the login name, the system random source, opening a document or
// address with the desktop's default program, and the user's country.
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
};
// NULL restores the real functions.
void PlatShellSetFunctions(const PlatShellFunctions *functions);
