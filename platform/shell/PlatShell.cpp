// The shell stand-in over XDG folders, the password database, getrandom, xdg-open and
// posix_spawn. Sections: error text and seam, folders, game folder, user, random source,
// opening and starting.
#include "PlatShell.h"

#include <errno.h>
#include <pthread.h>
#include <pwd.h>
#include <spawn.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <climits>
#include <cstdint>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

extern char **environ;

// ---- Error text and seam ---------------------------------------------------------------

namespace
{

thread_local char t_errorText[512];

bool Fail(const char *format, ...) __attribute__((format(printf, 1, 2)));
bool Fail(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    vsnprintf(t_errorText, sizeof(t_errorText), format, args);
    va_end(args);
    return false;
}

enum
{
    PATH_ROOM = 4096,
};

// snprintf that fails (with the reason kept) instead of cutting a path short; `out`
// is left unchanged on failure.
bool Format(char *out, size_t size, const char *format, ...) __attribute__((format(printf, 3, 4)));
bool Format(char *out, size_t size, const char *format, ...)
{
    char text[PATH_ROOM];
    va_list args;
    va_start(args, format);
    int written = vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    if (written < 0 || (size_t)written >= size || (size_t)written >= sizeof(text))
        return Fail("Path too long");
    memcpy(out, text, (size_t)written + 1);
    return true;
}

bool CopyOut(char *out, size_t size, const char *text)
{
    if (!out || size == 0)
        return Fail("No output buffer");
    size_t length = strlen(text);
    if (length >= size)
        return Fail("Buffer too small (%zu characters needed)", length + 1);
    memcpy(out, text, length + 1);
    return true;
}

bool RealGetRandomBytes(void *out, size_t size);
bool RealOpen(const char *target);
bool RealGetUserName(char *out, size_t size);
bool RealStartProgram(const char *path, const char *folder);

const PlatShellFunctions kRealFunctions = {RealGetRandomBytes, RealOpen, RealGetUserName, RealStartProgram};
PlatShellFunctions s_functions = kRealFunctions;

} // namespace

const char *PlatShellGetErrorText()
{
    return t_errorText;
}

void PlatShellSetFunctions(const PlatShellFunctions *functions)
{
    s_functions = kRealFunctions;
    if (!functions)
        return;
    if (functions->getRandomBytes)
        s_functions.getRandomBytes = functions->getRandomBytes;
    if (functions->open)
        s_functions.open = functions->open;
    if (functions->getUserName)
        s_functions.getUserName = functions->getUserName;
    if (functions->startProgram)
        s_functions.startProgram = functions->startProgram;
}

// ---- Folders -----------------------------------------------------------------------------

namespace
{

// mkdir -p with mode 0700 for every level that is missing.
bool MakeFolders(const char *path)
{
    char partial[PATH_ROOM];
    size_t length = strlen(path);
    if (length == 0 || length >= sizeof(partial))
        return Fail("Invalid folder path");
    memcpy(partial, path, length + 1);
    for (size_t i = 1; i <= length; i++)
    {
        if (partial[i] != '/' && partial[i] != 0)
            continue;
        char kept = partial[i];
        partial[i] = 0;
        struct stat info;
        if (stat(partial, &info) != 0)
        {
            if (mkdir(partial, 0700) != 0 && errno != EEXIST)
                return Fail("Cannot create folder %s: %s", partial, strerror(errno));
        }
        else if (!S_ISDIR(info.st_mode))
            return Fail("Not a folder: %s", partial);
        partial[i] = kept;
    }
    return true;
}

// Drops trailing separators (but keeps a lone "/").
void TrimSeparators(char *path)
{
    size_t length = strlen(path);
    while (length > 1 && path[length - 1] == '/')
        path[--length] = 0;
}

} // namespace

bool PlatShellGetHomeFolder(char *out, size_t size)
{
    const char *home = getenv("HOME");
    if (home && home[0] == '/')
        return CopyOut(out, size, home);
    struct passwd entry;
    struct passwd *found = nullptr;
    char buffer[PATH_ROOM];
    if (getpwuid_r(getuid(), &entry, buffer, sizeof(buffer), &found) != 0 || !found || !found->pw_dir ||
        found->pw_dir[0] != '/')
        return Fail("No home folder known");
    return CopyOut(out, size, found->pw_dir);
}

bool PlatShellGetDataFolder(char *out, size_t size)
{
    char folder[PATH_ROOM];
    const char *dataHome = getenv("XDG_DATA_HOME");
    // The XDG rules ignore a relative value.
    if (dataHome && dataHome[0] == '/')
    {
        if (!Format(folder, sizeof(folder), "%s", dataHome))
            return false;
    }
    else
    {
        char home[PATH_ROOM];
        if (!PlatShellGetHomeFolder(home, sizeof(home)) || !Format(folder, sizeof(folder), "%s/.local/share", home))
            return false;
    }
    TrimSeparators(folder);
    if (!MakeFolders(folder))
        return false;
    return CopyOut(out, size, folder);
}

bool PlatShellGetDesktopFolder(char *out, size_t size)
{
    char home[PATH_ROOM];
    char desktop[PATH_ROOM];
    if (!PlatShellGetHomeFolder(home, sizeof(home)) || !Format(desktop, sizeof(desktop), "%s/Desktop", home))
        return false;

    // user-dirs.dirs holds lines such as XDG_DESKTOP_DIR="$HOME/Schreibtisch".
    char dirsFile[PATH_ROOM];
    const char *configHome = getenv("XDG_CONFIG_HOME");
    bool named = configHome && configHome[0] == '/'
                     ? Format(dirsFile, sizeof(dirsFile), "%s/user-dirs.dirs", configHome)
                     : Format(dirsFile, sizeof(dirsFile), "%s/.config/user-dirs.dirs", home);
    FILE *file = named ? fopen(dirsFile, "r") : nullptr;
    if (file)
    {
        char line[PATH_ROOM];
        while (fgets(line, sizeof(line), file))
        {
            const char *p = line;
            while (*p == ' ' || *p == '\t')
                p++;
            if (strncmp(p, "XDG_DESKTOP_DIR=\"", 17) != 0)
                continue;
            p += 17;
            const char *end = strchr(p, '"');
            if (!end)
                continue;
            std::string value(p, (size_t)(end - p));
            if (value.compare(0, 5, "$HOME") == 0 && (value.size() == 5 || value[5] == '/'))
                Format(desktop, sizeof(desktop), "%s%s", home, value.c_str() + 5);
            else if (value[0] == '/')
                Format(desktop, sizeof(desktop), "%s", value.c_str());
        }
        fclose(file);
    }
    TrimSeparators(desktop);
    return CopyOut(out, size, desktop);
}

// ---- Game folder -------------------------------------------------------------------------

bool PlatShellGetProgramFolder(char *out, size_t size)
{
    char path[PATH_ROOM];
    ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (length <= 0)
        return Fail("Cannot read /proc/self/exe: %s", strerror(errno));
    path[length] = 0;
    char *slash = strrchr(path, '/');
    if (!slash)
        return Fail("Program path without a folder: %s", path);
    // "/Plinx_DX9" lives in the root folder itself.
    slash[slash == path ? 1 : 0] = 0;
    return CopyOut(out, size, path);
}

bool PlatShellFindGameFolder(const char *programFolder, char *out, size_t size)
{
    char program[PATH_ROOM];
    if (!programFolder)
    {
        if (!PlatShellGetProgramFolder(program, sizeof(program)))
            return false;
        programFolder = program;
    }
    // The build settings give the installed game folder relative to the installed
    // executables' folder, and the build tree's Data folder.
    std::string buildTree = PLINX_DATA_DIR;
    buildTree.erase(buildTree.rfind('/'));
    const std::string candidates[] = {
        programFolder,
        std::string(programFolder) + "/" + PLINX_GAME_FOLDER_FROM_PROGRAM,
        buildTree,
    };
    for (const std::string &candidate : candidates)
    {
        char resolved[PATH_MAX];
        struct stat info;
        if (!realpath(candidate.c_str(), resolved))
            continue;
        std::string marker = std::string(strcmp(resolved, "/") == 0 ? "" : resolved) + "/Data/Common";
        if (stat(marker.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
            return CopyOut(out, size, resolved);
    }
    return Fail("No Data folder beside %s, in its installed place or in the build tree", programFolder);
}

// ---- User ------------------------------------------------------------------------------

namespace
{

bool RealGetUserName(char *out, size_t size)
{
    struct passwd entry;
    struct passwd *found = nullptr;
    char buffer[PATH_ROOM];
    if (getpwuid_r(getuid(), &entry, buffer, sizeof(buffer), &found) != 0 || !found || !found->pw_name ||
        !found->pw_name[0])
        return Fail("No password entry for user %u", (unsigned)getuid());
    return CopyOut(out, size, found->pw_name);
}

} // namespace

bool PlatShellGetUserName(char *out, size_t size)
{
    if (out && size)
        out[0] = 0;
    return s_functions.getUserName(out, size);
}

bool PlatShellGetUserCountry(char *out, size_t size)
{
    const char *names[] = {"LC_ALL", "LC_ADDRESS", "LC_MESSAGES", "LANG"};
    for (const char *name : names)
    {
        const char *value = getenv(name);
        if (!value || !value[0])
            continue;
        // language[_TERRITORY][.codeset][@modifier]; the first variable set decides.
        const char *underscore = strchr(value, '_');
        const char *stop = strpbrk(value, ".@");
        if (!underscore || (stop && stop < underscore) || !isalpha((unsigned char)underscore[1]) ||
            !isalpha((unsigned char)underscore[2]) || (underscore[3] && underscore[3] != '.' && underscore[3] != '@'))
            return Fail("No territory in %s=%s", name, value);
        char code[3] = {(char)toupper((unsigned char)underscore[1]), (char)toupper((unsigned char)underscore[2]), 0};
        return CopyOut(out, size, code);
    }
    return Fail("No locale set");
}

// ---- Random source and opening ------------------------------------------------------------

namespace
{

bool RealGetRandomBytes(void *out, size_t size)
{
    unsigned char *bytes = (unsigned char *)out;
    size_t done = 0;
    while (done < size)
    {
        ssize_t got = getrandom(bytes + done, size - done, 0);
        if (got < 0)
        {
            if (errno == EINTR)
                continue;
            return Fail("getrandom failed: %s", strerror(errno));
        }
        done += (size_t)got;
    }
    return true;
}

void *ReapChild(void *argument)
{
    pid_t child = (pid_t)(intptr_t)argument;
    int status;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR)
    {
    }
    return nullptr;
}

// Starts `argv` (argv[0] found on the search path when `searchPath`, else taken as a
// path) in `folder` (NULL: this process's), without a shell and without waiting: a
// detached thread reaps the child so no zombie is left. posix_spawn reports a failed exec
// (missing file, no execute permission, bad folder) as its result.
bool Spawn(char *const argv[], bool searchPath, const char *folder)
{
    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0)
        return Fail("Cannot start %s: out of memory", argv[0]);
    int result = folder ? posix_spawn_file_actions_addchdir_np(&actions, folder) : 0;
    pid_t child;
    if (result == 0)
        result = searchPath ? posix_spawnp(&child, argv[0], &actions, nullptr, argv, environ)
                            : posix_spawn(&child, argv[0], &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (result != 0)
        return Fail("Cannot start %s: %s", argv[0], strerror(result));
    pthread_t reaper;
    if (pthread_create(&reaper, nullptr, ReapChild, (void *)(intptr_t)child) == 0)
        pthread_detach(reaper);
    return true;
}

bool RealOpen(const char *target)
{
    // xdg-open hands over to the desktop and ends quickly.
    char program[] = "xdg-open";
    char *argv[] = {program, (char *)target, nullptr};
    return Spawn(argv, true, nullptr);
}

bool RealStartProgram(const char *path, const char *folder)
{
    char *argv[] = {(char *)path, nullptr};
    return Spawn(argv, false, folder);
}

} // namespace

bool PlatShellGetRandomBytes(void *out, size_t size)
{
    if (!out && size)
        return Fail("No output buffer");
    return s_functions.getRandomBytes(out, size);
}

bool PlatShellOpen(const char *target)
{
    if (!target || !target[0])
        return Fail("Nothing to open");
    // xdg-open would read a leading '-' as an option of its own.
    if (target[0] == '-')
        return Fail("Refusing to open <%s>", target);
    return s_functions.open(target);
}

bool PlatShellStartProgram(const char *path, const char *folder)
{
    if (!path || !path[0])
        return Fail("No program to start");
    // A relative path would be found from the new working folder, not from ours.
    if (path[0] != '/')
        return Fail("Not an absolute path: <%s>", path);
    if (folder && !folder[0])
        folder = nullptr;
    return s_functions.startProgram(path, folder);
}
