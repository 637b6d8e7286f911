// Files: `EngFile`, a checked wrapper over a C stream, and the EngFile* functions for
// existence, deletion, folders, sizes, whole-file reads and moves. Every failure is
// reported through the log under the reporting function's name.
//
// Paths may be written with "\" or "//" (as the game's data and callers do); the file
// layer turns them into single "/" before they reach the system.
#pragma once
#include <cstdint>
#include <cstdio>

enum
{
    // Room for any path the file layer passes on (normalised, with terminator).
    ENG_FILE_PATH_SIZE = 1024,
    // The shared formatting room of EngFile::Printf, terminator included.
    ENG_FILE_PRINTF_SIZE = 2058,
};

class EngFile
{
public:
    EngFile();
    ~EngFile();
    EngFile(const EngFile &) = delete;
    EngFile &operator=(const EngFile &) = delete;

    // Opening. An open object is closed first (after a "File was already opened" report).
    bool OpenForReading(const char *name, bool textMode, bool reportErrors);
    bool OpenForReadingQuietly(const char *name, bool textMode);
    // Both create or truncate the file.
    bool CreateForWriting(const char *name, bool textMode);
    bool OpenForWriting(const char *name, bool textMode);
    bool OpenForAppending(const char *name, bool textMode);

    // Reads exactly `size` bytes; a short read fails.
    bool Read(void *buffer, uint32_t size, bool reportErrors);
    // One line of at most bufferSize - 1 characters, the newline kept; in text mode a
    // carriage return before the newline is dropped. Fails quietly at the end of the file.
    bool ReadLine(char *buffer, int bufferSize);
    // Writes all `size` bytes; anything less fails.
    bool Write(const void *data, uint32_t size);
    // The number of bytes written (0 on failure).
    uint32_t FWrite(const void *data, uint32_t size);
    // Formatted write; texts longer than ENG_FILE_PRINTF_SIZE - 1 are cut to fit.
    bool Printf(const char *format, ...) __attribute__((format(printf, 2, 3)));
    bool MoveToEnd();
    // The file's length in bytes; the position is left where it was. 0 on failure.
    uint32_t GetSize();
    // Closes the stream if open. False when the last buffered bytes of a written file could
    // not be flushed to disk (the file is then incomplete); closing a closed file is true.
    bool Close();

    bool IsOpen() const { return open != 0; }
    bool IsReading() const { return reading != 0; }
    bool IsTextMode() const { return textMode != 0; }

private:
    bool OpenStream(const char *function, const char *name, const char *mode, bool textMode, bool forReading);
    // The three ways of opening for writing; `failure` is the report format (one %s).
    bool OpenForWritingMode(const char *function, const char *name, bool textMode, bool append, const char *failure,
                            bool reportFailure);
    bool CheckReadable(const char *function, const void *buffer);
    bool CheckWritable(const char *function, const void *data);

    uint8_t open;
    uint8_t reading;
    uint8_t textMode;
    FILE *stream;
};

// 1 when the file can be opened for reading (a folder is not a file).
bool EngFileExists(const char *name, bool reportErrors);
bool EngFileDelete(const char *name, bool reportErrors);
bool EngFileDirectoryExists(const char *path);
// Creates one folder level; an existing folder is a failure (test it first).
bool EngFileCreateDirectory(const char *path, bool reportErrors);
uint32_t EngFileGetFileSize(const char *name, bool textMode);
// Reads the whole file into `buffer` when it is exactly `size` bytes long; otherwise
// the buffer is left untouched.
bool EngFileOpenReadAndClose(const char *name, bool textMode, void *buffer, uint32_t size);
// Never overwrites: an existing target fails.
bool EngFileMoveFile(const char *from, const char *to);
// Puts `from` in the place of `to` in one step, replacing an existing `to`: how a file
// written under a temporary name replaces the old one.
bool EngFileReplaceFile(const char *from, const char *to);
// Logs the text of a system error code (errno; the calling thread's last one unless
// `useGivenCode`). With `asInformation` nothing is logged.
void EngFileOutputLastError(const char *function, const char *context, bool useGivenCode, int code,
                            bool asInformation);

// "\" and runs of "/" become one "/". False (and `out` empty) when it does not fit.
bool EngFileNormalisePath(const char *path, char *out, int size);
// Finds an existing file or folder whose last path element equals that of `path` when
// letter case is ignored (the exact name first, then the first match in name order), as
// a case-blind file system would. The found path goes to `out`; false when none.
bool EngFileFindIgnoringCase(const char *path, char *out, int size);
// Name order of listings: letters compared as a case-blind file system does, ties in
// byte order. Negative, 0 or positive as strcmp.
int EngFileCompareNames(const char *a, const char *b);
bool EngFileNamesEqualIgnoringCase(const char *a, const char *b);
