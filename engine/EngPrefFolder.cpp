// The per-user folder under the application-data folder of EngMisc_PC, built with the
// file layer's folder functions.
#include "EngPrefFolder.h"

#include <cstdio>
#include <cstring>

#include "EngDebug.h"
#include "EngFile.h"
#include "EngMemory.h"
#include "EngMisc.h"

static const char kMakerFolder[] = "Fernbrooks";
static const char kDefaultLogFile[] = "LogFile.txt";
static const char kFallbackFile[] = "Temp.dat";

static struct
{
    char productFolder[PREF_FOLDER_NAME_SIZE];
    char folderPath[PREF_FOLDER_PATH_SIZE]; // the main folder (or the desktop folder)
    char workPath[PREF_FOLDER_PATH_SIZE];   // the last sub-folder or file path
} s_pref = {"", "", ""};

// ---- Application-data sub-folders ---------------------------------------------------------

// True when `out` (of `size`) got "<out>/<name>".
static bool AppendElement(char *out, int size, const char *name)
{
    size_t used = strlen(out);
    int written = snprintf(out + used, (size_t)size - used, "/%s", name);
    if (written < 0 || (size_t)written >= (size_t)size - used)
    {
        out[used] = 0;
        return false;
    }
    return true;
}

// The folder exists, or is made now.
static bool EnsureFolder(const char *function, const char *path)
{
    if (EngFileDirectoryExists(path) || EngFileCreateDirectory(path, true))
        return true;
    DebugError(function, "Could not create dir <%s>", path);
    return false;
}

bool EngMiscGetUserApplicationDataSubDirectory(const char *sub, char *out, int size)
{
    if (!sub || !sub[0] || !out || size < 1)
        return false;
    out[0] = 0;
    int room = size - (int)strlen(sub) - 1;
    if (room < 1 || !EngMiscGetUserApplicationDataDirectory_PC(out, room))
        return false;
    return AppendElement(out, size, sub);
}

bool EngMiscCreateUserApplicationDataSubDirectoryIfNeeded(const char *sub, char *out, int size)
{
    if (!EngMiscGetUserApplicationDataSubDirectory(sub, out, size))
        return false;
    return EnsureFolder(ENG_FUNC, out);
}

bool EngMiscCreateUserApplicationDataSubSubDirectoryIfNeeded(const char *sub, const char *subSub, char *out,
                                                             int size)
{
    if (!sub || !sub[0] || !subSub || !subSub[0] || !out || size < 1)
        return false;
    int room = size - (int)strlen(subSub) - 1;
    if (room < 1 || !EngMiscCreateUserApplicationDataSubDirectoryIfNeeded(sub, out, room))
        return false;
    if (!AppendElement(out, size, subSub))
        return false;
    return EnsureFolder(ENG_FUNC, out);
}

// ---- PrefFolder ---------------------------------------------------------------------------------

// A name that stays inside the folder it is joined to: no absolute path, no ".." element.
static bool StaysInside(const char *name)
{
    if (name[0] == '/' || name[0] == '\\')
        return false;
    const char *element = name;
    while (true)
    {
        size_t length = strcspn(element, "/\\");
        if (length == 2 && element[0] == '.' && element[1] == '.')
            return false;
        if (!element[length])
            return true;
        element += length + 1;
    }
}

char *PrefFolderSetup(const char *productFolder, bool setLogFile, const char *logFileName, bool unused)
{
    if (!productFolder || !productFolder[0] || strlen(productFolder) >= PREF_FOLDER_NAME_SIZE ||
        !StaysInside(productFolder))
    {
        DebugError(ENG_FUNC, "Invalid folder name");
        s_pref.productFolder[0] = 0;
    }
    else
        EngSafeStrcpy(s_pref.productFolder, productFolder, sizeof(s_pref.productFolder));
    if (setLogFile)
        PrefFolderSetLogFile(logFileName);
    return PrefFolderGetMainFolder();
}

void PrefFolderShutdown()
{
    memset(&s_pref, 0, sizeof(s_pref));
}

char *PrefFolderGetMainFolder()
{
    if (!s_pref.productFolder[0])
    {
        DebugError(ENG_FUNC, "Folder name is empty");
        strcpy(s_pref.folderPath, ".");
        return s_pref.folderPath;
    }
    if (!EngMiscCreateUserApplicationDataSubSubDirectoryIfNeeded(kMakerFolder, s_pref.productFolder,
                                                                 s_pref.folderPath, sizeof(s_pref.folderPath)))
    {
        DebugError(ENG_FUNC, "Could not create/get directory");
        strcpy(s_pref.folderPath, ".");
    }
    return s_pref.folderPath;
}

char *PrefFolderGetMainFolderWithFileAppended(const char *fileName)
{
    char *mainFolder = PrefFolderGetMainFolder();
    if (!fileName || !fileName[0])
    {
        DebugError(ENG_FUNC, "No file specified");
        return mainFolder;
    }
    if (strlen(fileName) >= PREF_FOLDER_NAME_SIZE)
    {
        DebugError(ENG_FUNC, "Filename too long");
        fileName = kFallbackFile;
    }
    else if (!StaysInside(fileName))
    {
        DebugError(ENG_FUNC, "Invalid file name <%s>", fileName);
        fileName = kFallbackFile;
    }
    int written = snprintf(s_pref.workPath, sizeof(s_pref.workPath), "%s/%s", mainFolder, fileName);
    if (written < 0 || (size_t)written >= sizeof(s_pref.workPath))
    {
        DebugError(ENG_FUNC, "Filename too long");
        snprintf(s_pref.workPath, sizeof(s_pref.workPath), "%s/%s", mainFolder, kFallbackFile);
    }
    return s_pref.workPath;
}

char *PrefFolderGetSubFolder(const char *subFolder, bool create)
{
    char *mainFolder = PrefFolderGetMainFolder();
    if (!subFolder || !subFolder[0] || strlen(subFolder) >= PREF_FOLDER_NAME_SIZE || !StaysInside(subFolder))
    {
        DebugError(ENG_FUNC, "Invalid sub folder name");
        return mainFolder;
    }
    int written = snprintf(s_pref.workPath, sizeof(s_pref.workPath), "%s/%s", mainFolder, subFolder);
    if (written < 0 || (size_t)written >= sizeof(s_pref.workPath))
    {
        DebugError(ENG_FUNC, "Invalid sub folder name");
        return mainFolder;
    }
    if (create && !EngFileDirectoryExists(s_pref.workPath) && !EngFileCreateDirectory(s_pref.workPath, true))
    {
        DebugError(ENG_FUNC, "Could not create directory <%s>", s_pref.workPath);
        return mainFolder;
    }
    return s_pref.workPath;
}

char *PrefFolderGetDesktopFolder()
{
    if (!EngMiscGetDesktopDirectory_PC(s_pref.folderPath, sizeof(s_pref.folderPath)))
    {
        DebugError(ENG_FUNC, "Could not get directory");
        strcpy(s_pref.folderPath, ".");
    }
    return s_pref.folderPath;
}

bool PrefFolderSetLogFile(const char *name)
{
    const char *mainFolder = PrefFolderGetMainFolder();
    char path[PREF_FOLDER_PATH_SIZE + PREF_FOLDER_NAME_SIZE];
    snprintf(path, sizeof(path), "%s/%s", mainFolder, name && name[0] ? name : kDefaultLogFile);
    return DebugSetLogFilename(path, true);
}
