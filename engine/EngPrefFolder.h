// The per-user folder: everything the program writes lives in the application-data
// folder + "Fernbrooks" + the product folder ("Plinx"). Folders are made on demand; when
// they cannot be had, paths fall back to the current folder ".".
//
// Returned paths point into this module's buffers and stay valid until the next
// PrefFolder call; they carry no trailing separator.
#pragma once

enum
{
    PREF_FOLDER_NAME_SIZE = 128, // product, sub-folder and file names: at most 127 characters
    PREF_FOLDER_PATH_SIZE = 768,
};

// Stores the product folder name, with `setLogFile` points the log into the folder
// (`logFileName` or "LogFile.txt"), and returns the main folder.
char *PrefFolderSetup(const char *productFolder, bool setLogFile, const char *logFileName, bool unused);
// Forgets the product folder name (back to the state before set-up).
void PrefFolderShutdown();
// The main folder, created when missing; "." when it cannot be had.
char *PrefFolderGetMainFolder();
// The main folder + "/" + name; a name of 128 characters or more, or one that would
// leave the folder, becomes "Temp.dat".
char *PrefFolderGetMainFolderWithFileAppended(const char *fileName);
// The main folder + "/" + sub-folder, created on request; the main folder on failure.
char *PrefFolderGetSubFolder(const char *subFolder, bool create);
// The user's desktop folder; "." on failure.
char *PrefFolderGetDesktopFolder();
// Points the log to the main folder + "/" + name ("LogFile.txt" for NULL).
bool PrefFolderSetLogFile(const char *name);

// Application-data sub-folders: `out` gets the application-data folder + "/" + sub
// (+ "/" + subSub). The IfNeeded forms create missing levels.
bool EngMiscGetUserApplicationDataSubDirectory(const char *sub, char *out, int size);
bool EngMiscCreateUserApplicationDataSubDirectoryIfNeeded(const char *sub, char *out, int size);
bool EngMiscCreateUserApplicationDataSubSubDirectoryIfNeeded(const char *sub, const char *subSub, char *out,
                                                             int size);
