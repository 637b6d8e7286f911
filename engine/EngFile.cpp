// Files over C streams, and the file-system functions that need no open stream.
// Sections: paths, EngFile, free functions.
#include "EngFile.h"

#include <dirent.h>
#include <errno.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdarg>
#include <cstring>

#include "EngDebug.h"
#include "EngMemory.h"

// ---- Paths ---------------------------------------------------------------------------------

bool EngFileNormalisePath(const char *path, char *out, int size)
{
    if (!out || size < 1)
        return false;
    out[0] = 0;
    if (!path)
        return false;
    int used = 0;
    for (const char *p = path; *p; p++)
    {
        char c = *p == '\\' ? '/' : *p;
        if (c == '/' && used > 0 && out[used - 1] == '/')
            continue;
        if (used + 1 >= size)
        {
            out[0] = 0;
            return false;
        }
        out[used++] = c;
    }
    out[used] = 0;
    return true;
}

namespace
{

// A path made fit for the system, or a report of why not. `name` is known non-empty.
bool SystemPath(const char *function, const char *name, char *out)
{
    if (EngFileNormalisePath(name, out, ENG_FILE_PATH_SIZE))
        return true;
    DebugError(function, "Path too long <%.200s...>", name);
    return false;
}

// As SystemPath, for a name a caller passed in: a missing or empty one is reported.
bool NamedSystemPath(const char *function, const char *name, char *out)
{
    if (!name || !name[0])
    {
        DebugError(function, "No filename specified");
        return false;
    }
    return SystemPath(function, name, out);
}

bool IsFolder(const char *systemPath)
{
    struct stat info;
    return stat(systemPath, &info) == 0 && S_ISDIR(info.st_mode);
}

// Letter case folded as a case-blind Windows file system does for 8-bit names
// (ASCII and the Windows-1252 letters).
unsigned char FoldCase(unsigned char c)
{
    if (c >= 'a' && c <= 'z')
        return (unsigned char)(c - 32);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return (unsigned char)(c - 32);
    if (c == 0x9A || c == 0x9C || c == 0x9E)
        return (unsigned char)(c - 16);
    if (c == 0xFF)
        return 0x9F;
    return c;
}

} // namespace

int EngFileCompareNames(const char *a, const char *b)
{
    const unsigned char *p = (const unsigned char *)a;
    const unsigned char *q = (const unsigned char *)b;
    for (; *p && FoldCase(*p) == FoldCase(*q); p++, q++)
    {
    }
    int folded = (int)FoldCase(*p) - (int)FoldCase(*q);
    return folded != 0 ? folded : strcmp(a, b);
}

bool EngFileNamesEqualIgnoringCase(const char *a, const char *b)
{
    const unsigned char *p = (const unsigned char *)a;
    const unsigned char *q = (const unsigned char *)b;
    for (; *p && FoldCase(*p) == FoldCase(*q); p++, q++)
    {
    }
    return *p == 0 && *q == 0;
}

bool EngFileFindIgnoringCase(const char *path, char *out, int size)
{
    if (!out || size < 1)
        return false;
    out[0] = 0;
    char systemPath[ENG_FILE_PATH_SIZE];
    if (!NamedSystemPath(ENG_FUNC, path, systemPath))
        return false;
    struct stat info;
    if (stat(systemPath, &info) == 0)
    {
        if (strlen(systemPath) >= (size_t)size)
            return false;
        strcpy(out, systemPath);
        return true;
    }

    char *slash = strrchr(systemPath, '/');
    const char *wanted = slash ? slash + 1 : systemPath;
    char folder[ENG_FILE_PATH_SIZE];
    if (!slash)
        strcpy(folder, ".");
    else if (slash == systemPath)
        strcpy(folder, "/");
    else
        snprintf(folder, sizeof(folder), "%.*s", (int)(slash - systemPath), systemPath);
    if (!wanted[0])
        return false;

    DIR *dir = opendir(folder);
    if (!dir)
        return false;
    // The first match in name order, so the answer does not depend on the file system.
    char best[256] = "";
    while (struct dirent *entry = readdir(dir))
    {
        if (EngFileNamesEqualIgnoringCase(entry->d_name, wanted) &&
            (!best[0] || EngFileCompareNames(entry->d_name, best) < 0))
            EngSafeStrcpy(best, entry->d_name, sizeof(best));
    }
    closedir(dir);
    if (!best[0])
        return false;
    int written = slash ? snprintf(out, size, "%.*s%s", (int)(wanted - systemPath), systemPath, best)
                        : snprintf(out, size, "%s", best);
    if (written < 0 || written >= size)
    {
        out[0] = 0;
        return false;
    }
    return true;
}

// ---- EngFile ---------------------------------------------------------------------------------

EngFile::EngFile() : open(0), reading(0), textMode(0), stream(nullptr)
{
}

EngFile::~EngFile()
{
    Close();
}

bool EngFile::OpenStream(const char *function, const char *name, const char *mode, bool text, bool forReading)
{
    char systemPath[ENG_FILE_PATH_SIZE];
    if (!SystemPath(function, name, systemPath))
        return false;
    FILE *opened = fopen(systemPath, mode);
    if (opened && forReading)
    {
        // A folder opens as a stream here but is not a file.
        struct stat info;
        if (fstat(fileno(opened), &info) != 0 || S_ISDIR(info.st_mode))
        {
            fclose(opened);
            opened = nullptr;
            errno = EISDIR;
        }
    }
    if (!opened)
        return false;
    stream = opened;
    open = 1;
    reading = forReading ? 1 : 0;
    textMode = text ? 1 : 0;
    return true;
}

bool EngFile::OpenForReading(const char *name, bool text, bool reportErrors)
{
    if (open)
    {
        DebugError(ENG_FUNC, "File was already opened [%s]", EngStringOrNone(name));
        Close();
    }
    if (!name || !name[0])
    {
        if (reportErrors)
            DebugError(ENG_FUNC, "No filename specified");
        return false;
    }
    if (!OpenStream(ENG_FUNC, name, text ? "rt" : "rb", text, true))
    {
        if (reportErrors)
            DebugError(ENG_FUNC, "Could not open file <%s>", name);
        return false;
    }
    return true;
}

bool EngFile::OpenForReadingQuietly(const char *name, bool text)
{
    return OpenForReading(name, text, false);
}

bool EngFile::OpenForWritingMode(const char *function, const char *name, bool text, bool append,
                                 const char *failure, bool reportFailure)
{
    if (!name || !name[0])
    {
        DebugError(function, "No filename specified");
        return false;
    }
    if (open)
    {
        DebugError(function, "File was already opened [%s]", name);
        Close();
    }
    const char *mode = append ? (text ? "at" : "ab") : (text ? "wt" : "wb");
    if (!OpenStream(function, name, mode, text, false))
    {
        if (reportFailure)
            DebugError(function, failure, name);
        else
            DebugInfoQuickAlt(function, failure, name);
        return false;
    }
    return true;
}

bool EngFile::CreateForWriting(const char *name, bool text)
{
    return OpenForWritingMode(ENG_FUNC, name, text, false, "Could not create file <%s>", true);
}

bool EngFile::OpenForWriting(const char *name, bool text)
{
    // Its failure goes to the quick debug output only, which has no destination.
    return OpenForWritingMode(ENG_FUNC, name, text, false, "Could not open or create file <%s>", false);
}

bool EngFile::OpenForAppending(const char *name, bool text)
{
    return OpenForWritingMode(ENG_FUNC, name, text, true, "Could not open or create file <%s>", true);
}

bool EngFile::CheckReadable(const char *function, const void *buffer)
{
    if (!stream)
    {
        DebugError(function, "File is not open");
        return false;
    }
    if (!reading)
    {
        DebugError(function, "File is not open for reading");
        return false;
    }
    if (!buffer)
    {
        DebugError(function, "Nowhere to read to");
        return false;
    }
    return true;
}

bool EngFile::CheckWritable(const char *function, const void *data)
{
    if (!stream)
    {
        DebugError(function, "File is not open");
        return false;
    }
    if (reading)
    {
        DebugError(function, "File is not open for writing");
        return false;
    }
    if (!data)
    {
        DebugError(function, "Nowhere to write from");
        return false;
    }
    return true;
}

bool EngFile::Read(void *buffer, uint32_t size, bool reportErrors)
{
    if (!CheckReadable(ENG_FUNC, buffer))
        return false;
    size_t got = size ? fread(buffer, 1, size, stream) : 0;
    if (got == size && size > 0)
        return true;
    if (got > 0)
    {
        DebugError(ENG_FUNC, "Problem reading from file [ read %u not %u ]", (unsigned)got, (unsigned)size);
        return false;
    }
    if (reportErrors)
        DebugError(ENG_FUNC, "Could not read from file");
    return false;
}

bool EngFile::ReadLine(char *buffer, int bufferSize)
{
    if (!CheckReadable(ENG_FUNC, buffer))
        return false;
    if (bufferSize < 1)
        return false;
    if (!fgets(buffer, bufferSize, stream))
    {
        buffer[0] = 0;
        return false;
    }
    if (textMode)
    {
        // Lines of files written on Windows end in "\r\n".
        size_t length = strlen(buffer);
        if (length >= 2 && buffer[length - 1] == '\n' && buffer[length - 2] == '\r')
        {
            buffer[length - 2] = '\n';
            buffer[length - 1] = 0;
        }
    }
    return true;
}

bool EngFile::Write(const void *data, uint32_t size)
{
    if (!CheckWritable(ENG_FUNC, data))
        return false;
    size_t written = size ? fwrite(data, 1, size, stream) : 0;
    if (written == 0)
    {
        DebugError(ENG_FUNC, "Could not write to file");
        return false;
    }
    // A short write loses data in either mode.
    if (written < size)
    {
        DebugError(ENG_FUNC, "Only wrote %u of %u bytes to file", (unsigned)written, (unsigned)size);
        return false;
    }
    return true;
}

uint32_t EngFile::FWrite(const void *data, uint32_t size)
{
    if (!CheckWritable(ENG_FUNC, data))
        return 0;
    return size ? (uint32_t)fwrite(data, 1, size, stream) : 0;
}

bool EngFile::Printf(const char *format, ...)
{
    if (!stream)
    {
        DebugError(ENG_FUNC, "File is not open");
        return false;
    }
    if (reading)
    {
        DebugError(ENG_FUNC, "File is not open for writing");
        return false;
    }
    // Each call formats into its own room, so files on different threads do not meet.
    char text[ENG_FILE_PRINTF_SIZE];
    va_list args;
    va_start(args, format);
    int length = vsnprintf(text, sizeof(text), format ? format : "", args);
    va_end(args);
    if (length <= 0)
        return true;
    if (!Write(text, (uint32_t)strlen(text)))
    {
        DebugError(ENG_FUNC, "Could not write to file");
        return false;
    }
    return true;
}

bool EngFile::MoveToEnd()
{
    if (!open)
    {
        DebugError(ENG_FUNC, "File is not opened");
        return false;
    }
    if (fseek(stream, 0, SEEK_END) != 0)
    {
        DebugError(ENG_FUNC, "Error moving to end of file");
        return false;
    }
    return true;
}

uint32_t EngFile::GetSize()
{
    if (!open)
    {
        DebugError(ENG_FUNC, "File is not opened");
        return 0;
    }
    long position = ftell(stream);
    MoveToEnd();
    long end = ftell(stream);
    uint32_t size = 0;
    if (end < 0 || (unsigned long)end > UINT32_MAX)
        DebugError(ENG_FUNC, "Problem getting size");
    else
        size = (uint32_t)end;
    if (position >= 0)
        fseek(stream, position, SEEK_SET);
    return size;
}

bool EngFile::Close()
{
    if (!open)
        return true;
    bool flushed = true;
    if (stream && fclose(stream) != 0 && !reading)
    {
        DebugError(ENG_FUNC, "Could not finish writing the file");
        flushed = false;
    }
    stream = nullptr;
    open = 0;
    reading = 0;
    textMode = 0;
    return flushed;
}

// ---- Free functions ----------------------------------------------------------------------------

bool EngFileExists(const char *name, bool reportErrors)
{
    if (!name || !name[0])
    {
        DebugError(ENG_FUNC, "No filename specified");
        return false;
    }
    EngFile file;
    if (!file.OpenForReadingQuietly(name, false))
    {
        if (reportErrors)
            DebugError(ENG_FUNC, "File not found: %s", name);
        return false;
    }
    file.Close();
    return true;
}

bool EngFileDelete(const char *name, bool reportErrors)
{
    char systemPath[ENG_FILE_PATH_SIZE];
    if (!NamedSystemPath(ENG_FUNC, name, systemPath))
        return false;
    // unlink, not remove: a folder is never deleted here.
    if (unlink(systemPath) != 0)
    {
        if (reportErrors)
            DebugError(ENG_FUNC, "Deletion failed.");
        return false;
    }
    return true;
}

bool EngFileDirectoryExists(const char *path)
{
    char systemPath[ENG_FILE_PATH_SIZE];
    if (!NamedSystemPath(ENG_FUNC, path, systemPath))
        return false;
    return IsFolder(systemPath);
}

bool EngFileCreateDirectory(const char *path, bool reportErrors)
{
    char systemPath[ENG_FILE_PATH_SIZE];
    if (!NamedSystemPath(ENG_FUNC, path, systemPath))
        return false;
    // Private to the user, as everything in the per-user folder is.
    if (mkdir(systemPath, 0700) != 0)
    {
        if (reportErrors)
            DebugError(ENG_FUNC, "Failed to create directory <%s>", path);
        return false;
    }
    if (!IsFolder(systemPath))
    {
        if (reportErrors)
            DebugError(ENG_FUNC, "Directory was not created <%s>", path);
        return false;
    }
    return true;
}

// Opens a file the caller named; failures are reported under the caller's name too.
static bool OpenNamedForReading(const char *function, EngFile &file, const char *name, bool textMode)
{
    if (!name || !name[0])
    {
        DebugError(function, "No filename specified");
        return false;
    }
    if (!file.OpenForReading(name, textMode, true))
    {
        DebugError(function, "Could not open file <%s>", name);
        return false;
    }
    return true;
}

uint32_t EngFileGetFileSize(const char *name, bool textMode)
{
    EngFile file;
    if (!OpenNamedForReading(ENG_FUNC, file, name, textMode))
        return 0;
    return file.GetSize();
}

bool EngFileOpenReadAndClose(const char *name, bool textMode, void *buffer, uint32_t size)
{
    EngFile file;
    if (!OpenNamedForReading(ENG_FUNC, file, name, textMode))
        return false;
    if (file.GetSize() != size)
    {
        DebugError(ENG_FUNC, "Invalid file size in <%s>", name);
        return false;
    }
    if (!file.Read(buffer, size, true))
    {
        DebugError(ENG_FUNC, "Could not read from file <%s>", name);
        return false;
    }
    return true;
}

// Both names given and fit for the system.
static bool SystemPathPair(const char *function, const char *from, const char *to, char *fromPath, char *toPath)
{
    if (!from || !from[0] || !to || !to[0])
    {
        DebugError(function, "Invalid parameters");
        return false;
    }
    return SystemPath(function, from, fromPath) && SystemPath(function, to, toPath);
}

bool EngFileMoveFile(const char *from, const char *to)
{
    char fromPath[ENG_FILE_PATH_SIZE];
    char toPath[ENG_FILE_PATH_SIZE];
    if (!SystemPathPair(ENG_FUNC, from, to, fromPath, toPath))
        return false;
    if (EngFileExists(to, false))
    {
        DebugError(ENG_FUNC, "File <%s> exists", to);
        return false;
    }
    if (!EngFileExists(from, false))
    {
        DebugError(ENG_FUNC, "File <%s> does not exist", from);
        return false;
    }
    // link + unlink: never replaces a target that appeared meanwhile; rename where the
    // file system has no hard links.
    if (link(fromPath, toPath) == 0)
        unlink(fromPath);
    else if (errno != EEXIST)
    {
        struct stat info;
        if (lstat(toPath, &info) != 0)
            rename(fromPath, toPath);
    }
    if (!EngFileExists(to, false))
    {
        DebugError(ENG_FUNC, "File was not moved: <%s> to <%s>", from, to);
        return false;
    }
    if (EngFileExists(from, false))
    {
        DebugError(ENG_FUNC, "Existing file still exists: <%s> to <%s>", from, to);
        return false;
    }
    return true;
}

bool EngFileReplaceFile(const char *from, const char *to)
{
    char fromPath[ENG_FILE_PATH_SIZE];
    char toPath[ENG_FILE_PATH_SIZE];
    if (!SystemPathPair(ENG_FUNC, from, to, fromPath, toPath))
        return false;
    if (rename(fromPath, toPath) != 0)
    {
        EngFileOutputLastError(ENG_FUNC, "rename", false, 0, false);
        DebugError(ENG_FUNC, "File was not replaced: <%s> to <%s>", from, to);
        return false;
    }
    return true;
}

void EngFileOutputLastError(const char *function, const char *context, bool useGivenCode, int code,
                            bool asInformation)
{
    int errorCode = useGivenCode ? code : errno;
    if (!context)
        context = "";
    if (asInformation)
        return;
    const char *systemText = strerrordesc_np(errorCode);
    if (function)
    {
        if (systemText)
            DebugError(function, "%s: Error 0x%x: %s", context, (unsigned)errorCode, systemText);
        else
            DebugError(function, "%s: Unknown error 0x%x", context, (unsigned)errorCode);
    }
    else
    {
        if (systemText)
            DebugError(context, "Error 0x%x: %s", (unsigned)errorCode, systemText);
        else
            DebugError(context, "Unknown error 0x%x", (unsigned)errorCode);
    }
}
