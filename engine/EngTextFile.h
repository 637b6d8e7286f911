// Text files in four encodings: ANSI (8-bit bytes as they are), UTF-8, UTF-16LE and
// UTF-16BE. A reader picks the encoding by the file's byte-order mark and hands back
// lines as 8-bit text in the Windows-1252 code page (our own tables; the process locale
// plays no part). Files are reached through EngFile.
#pragma once
#include <cstdint>
#include <string>

class EngFile;

enum _TextFileResult
{
    TEXTFILE_OK = 0,
    TEXTFILE_END = -1,   // nothing more to read
    TEXTFILE_ERROR = -2, // input/output error, already logged
};

enum _TextFileMode
{
    TEXTFILE_MODE_CLOSED = 0,
    TEXTFILE_MODE_READ = 1,
    TEXTFILE_MODE_CREATE = 2, // write, truncating
    TEXTFILE_MODE_APPEND = 3, // write at the end; every other value too
};

enum _TextFileEncoding
{
    TEXTFILE_ENCODING_AUTO = 0, // reading: by byte-order mark; writing: ANSI
    TEXTFILE_ENCODING_ANSI = 1,
    TEXTFILE_ENCODING_UTF16LE = 2,
    TEXTFILE_ENCODING_UTF16BE = 3,
    TEXTFILE_ENCODING_UTF8 = 4,
};

enum
{
    TEXTFILE_DEFAULT_BUFFER_SIZE = 4096,
    TEXTFILE_LINE_GROWTH = 1024, // line buffers grow in steps of this many bytes
    TEXTFILE_CODE_PAGE_1252 = 1252,
};

// ---- Windows-1252 -------------------------------------------------------------------

// The Unicode code point of a code-page byte. The five bytes 1252 leaves undefined
// (81, 8D, 8F, 90, 9D) stand for the control characters of the same value.
uint32_t TextFileCodePageToUnicode(unsigned char byte);
// The code-page byte of a code point; unmappable points give defaultChar and set
// *usedDefault (when given).
char TextFileUnicodeToCodePage(uint32_t codePoint, char defaultChar, bool *usedDefault);

// ---- Readers ------------------------------------------------------------------------

class TextFileReader
{
public:
    // Takes ownership of nothing but its buffer; `pending` bytes (already read from the
    // file while looking for a byte-order mark) are handed out first.
    TextFileReader(const char *fileName, EngFile *file, uint32_t fileBytesLeft, int bufferSize,
                   const unsigned char *pending = nullptr, int pendingCount = 0);
    virtual ~TextFileReader();
    TextFileReader(const TextFileReader &) = delete;
    TextFileReader &operator=(const TextFileReader &) = delete;

    // The next character with carriage returns skipped, or a negative result.
    virtual int ReadChar();
    // The next line without its line end, into *line (grown as needed, reused between
    // calls; the caller frees it with EngFree). TEXTFILE_OK or a negative result.
    virtual int ReadLine(char **line, int codePage, const char *defaultChar, bool *usedDefault);

    int FillBuffer();

protected:
    // 0-255, or a negative result.
    int NextByte();
    // Bytes up to LF (LF taken, not kept); a CR before the LF or at the end of the file
    // is dropped.
    int ReadByteLine(std::string &out);
    // Copies text into the caller's buffer, growing it in TEXTFILE_LINE_GROWTH steps.
    int StoreLine(char **line, const std::string &text);

    const char *fileName;
    EngFile *file;
    int bufferSize;
    unsigned char *buffer;
    int readPosition;
    int validBytes;
    bool endOfFile;
    uint32_t fileBytesLeft;
    // The caller's line buffer as last handed out, and its size.
    char *lineBuffer;
    size_t lineCapacity;
    std::string work;
};

class ANSI_TextFileReader : public TextFileReader
{
public:
    using TextFileReader::TextFileReader;
    int ReadChar() override;
    int ReadLine(char **line, int codePage, const char *defaultChar, bool *usedDefault) override;
};

class UTF8_TextFileReader : public TextFileReader
{
public:
    using TextFileReader::TextFileReader;
    int ReadChar() override;
    int ReadLine(char **line, int codePage, const char *defaultChar, bool *usedDefault) override;

private:
    std::string decoded;
};

class UTF16LE_TextFileReader : public TextFileReader
{
public:
    UTF16LE_TextFileReader(const char *fileName, EngFile *file, uint32_t fileBytesLeft, int bufferSize,
                           bool bigEndian = false)
        : TextFileReader(fileName, file, fileBytesLeft, bufferSize), bigEndian(bigEndian)
    {
    }
    int ReadChar() override;
    int ReadLine(char **line, int codePage, const char *defaultChar, bool *usedDefault) override;

protected:
    // The next 16-bit unit, or a negative result (a lone last byte is dropped).
    int NextUnit();

private:
    bool bigEndian;
    std::u16string units;
    std::string converted;
};

class UTF16BE_TextFileReader : public UTF16LE_TextFileReader
{
public:
    UTF16BE_TextFileReader(const char *fileName, EngFile *file, uint32_t fileBytesLeft, int bufferSize)
        : UTF16LE_TextFileReader(fileName, file, fileBytesLeft, bufferSize, true)
    {
    }
};

// ---- Writers ------------------------------------------------------------------------

class TextFileWriter
{
public:
    TextFileWriter(const char *fileName, EngFile *file, int bufferSize);
    virtual ~TextFileWriter();
    TextFileWriter(const TextFileWriter &) = delete;
    TextFileWriter &operator=(const TextFileWriter &) = delete;

    virtual int WriteChar(int character, int codePage, const char *defaultChar, bool *usedDefault);
    // length below 0: up to the terminating zero.
    virtual int WriteString(const char *text, int length, int codePage, const char *defaultChar, bool *usedDefault);
    virtual int WriteBOM();
    int Flush();

protected:
    int AppendBytes(const void *data, size_t size);

    const char *fileName;
    EngFile *file;
    int bufferSize;
    unsigned char *buffer;
    int heldBytes;
};

class ANSI_TextFileWriter : public TextFileWriter
{
public:
    using TextFileWriter::TextFileWriter;
    int WriteChar(int character, int codePage, const char *defaultChar, bool *usedDefault) override;
    int WriteString(const char *text, int length, int codePage, const char *defaultChar, bool *usedDefault) override;
};

class UTF8_TextFileWriter : public TextFileWriter
{
public:
    using TextFileWriter::TextFileWriter;
    // character is a code point.
    int WriteChar(int character, int codePage, const char *defaultChar, bool *usedDefault) override;
    // Each byte is a code-page character, written as the UTF-8 of its code point.
    int WriteString(const char *text, int length, int codePage, const char *defaultChar, bool *usedDefault) override;
    int WriteBOM() override;

protected:
    int WriteCodePoint(uint32_t codePoint);
};

class UTF16LE_TextFileWriter : public TextFileWriter
{
public:
    UTF16LE_TextFileWriter(const char *fileName, EngFile *file, int bufferSize, bool bigEndian = false)
        : TextFileWriter(fileName, file, bufferSize), bigEndian(bigEndian)
    {
    }
    // character is one code-page byte.
    int WriteChar(int character, int codePage, const char *defaultChar, bool *usedDefault) override;
    int WriteString(const char *text, int length, int codePage, const char *defaultChar, bool *usedDefault) override;
    int WriteBOM() override;

private:
    bool bigEndian;
    std::string units;
};

class UTF16BE_TextFileWriter : public UTF16LE_TextFileWriter
{
public:
    UTF16BE_TextFileWriter(const char *fileName, EngFile *file, int bufferSize)
        : UTF16LE_TextFileWriter(fileName, file, bufferSize, true)
    {
    }
};

// ---- The file -----------------------------------------------------------------------

class TextFile
{
public:
    TextFile();
    ~TextFile();
    TextFile(const TextFile &) = delete;
    TextFile &operator=(const TextFile &) = delete;

    // mode: _TextFileMode; encoding: _TextFileEncoding; bufferSize 0: 4096 bytes.
    int Open(const char *name, int mode, int encoding, int bufferSize);
    // *usedDefault (when given) tells whether a character had no code-page form.
    int ReadLine(bool *usedDefault, char **line);
    int ReadChar();
    // Writing; the byte-order mark is written before the first text when pending.
    // length below 0: up to the terminating zero.
    int WriteString(const char *text, int length = -1);
    int WriteChar(int character);
    // Flushes a writer, closes the file; nothing when closed.
    int Close();

    // Only 0 (the default) and 1252 are known; others are refused.
    bool SetCodePage(int codePage);
    // The first character of text stands for unmappable characters; NULL: '?'.
    bool SetDefaultChar(const char *text);

    int GetMode() const { return mode; }
    int GetEncoding() const { return encoding; }
    bool IsBOMPending() const { return bomPending; }

private:
    int WritePendingBOM();

    char *fileName;
    int mode;
    int encoding;
    int requestedEncoding;
    int reserved;
    int bufferSize;
    EngFile *file;
    TextFileReader *reader;
    TextFileWriter *writer;
    bool bomPending;
    int codePage;
    char *defaultChar;
};
