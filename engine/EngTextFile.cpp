// Text files: byte-order-mark detection, the four readers and writers, and our own
// Windows-1252 tables. Sections: code page, readers, writers, the file.
#include "EngTextFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "EngDebug.h"
#include "EngFile.h"
#include "EngMemory.h"

// ---- Code page ---------------------------------------------------------------------

namespace
{

// Code points of the bytes 0x80-0x9F; the rest of the code page equals Unicode.
const uint16_t kHighControls1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

const uint32_t kReplacementCharacter = 0xFFFD;

char DefaultCharOf(const char *defaultChar)
{
    return defaultChar && defaultChar[0] ? defaultChar[0] : '?';
}

// The system's text for an error code, without a trailing line break.
const char *SystemErrorText(int code)
{
    const char *text = strerror(code);
    return text ? text : "";
}

} // namespace

uint32_t TextFileCodePageToUnicode(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return kHighControls1252[byte - 0x80];
    return byte;
}

char TextFileUnicodeToCodePage(uint32_t codePoint, char defaultChar, bool *usedDefault)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return (char)codePoint;
    for (int i = 0; i < 32; i++)
        if (kHighControls1252[i] == codePoint)
            return (char)(0x80 + i);
    if (usedDefault)
        *usedDefault = true;
    return defaultChar;
}

// ---- Readers -----------------------------------------------------------------------

TextFileReader::TextFileReader(const char *fileName, EngFile *file, uint32_t fileBytesLeft, int bufferSize,
                               const unsigned char *pending, int pendingCount)
    : fileName(fileName), file(file), bufferSize(bufferSize), buffer(nullptr), readPosition(0), validBytes(0),
      endOfFile(false), fileBytesLeft(fileBytesLeft), lineBuffer(nullptr), lineCapacity(0)
{
    if (bufferSize > 0)
    {
        if (pendingCount > bufferSize)
            this->bufferSize = bufferSize = pendingCount;
        buffer = (unsigned char *)EngMalloc((size_t)bufferSize, "TextFileReader::TextFileReader", false);
        if (!buffer)
            this->bufferSize = 0;
    }
    if (buffer && pending && pendingCount > 0)
    {
        memcpy(buffer, pending, (size_t)pendingCount);
        validBytes = pendingCount;
    }
}

TextFileReader::~TextFileReader()
{
    EngFree(buffer, false, nullptr);
}

int TextFileReader::ReadChar()
{
    return TEXTFILE_END;
}

int TextFileReader::ReadLine(char **line, int codePage, const char *defaultChar, bool *usedDefault)
{
    return TEXTFILE_END;
}

int TextFileReader::FillBuffer()
{
    if (readPosition < validBytes)
        return TEXTFILE_OK;
    if (endOfFile)
        return TEXTFILE_END;
    uint32_t wanted = fileBytesLeft < (uint32_t)bufferSize ? fileBytesLeft : (uint32_t)bufferSize;
    if (wanted == 0 || !buffer || !file)
    {
        endOfFile = true;
        return TEXTFILE_END;
    }
    errno = 0;
    if (!file->Read(buffer, wanted, false))
    {
        int code = errno ? errno : EIO;
        DebugError(ENG_FUNC, "FileReadError (%lu %s %s)", (unsigned long)code, fileName, SystemErrorText(code));
        return TEXTFILE_ERROR;
    }
    fileBytesLeft -= wanted;
    readPosition = 0;
    validBytes = (int)wanted;
    return TEXTFILE_OK;
}

int TextFileReader::NextByte()
{
    int result = FillBuffer();
    if (result != TEXTFILE_OK)
        return result;
    return buffer[readPosition++];
}

int TextFileReader::ReadByteLine(std::string &out)
{
    out.clear();
    bool any = false;
    int result;
    // Whole runs of the buffer up to the LF are taken at once.
    while ((result = FillBuffer()) == TEXTFILE_OK)
    {
        any = true;
        const unsigned char *start = buffer + readPosition;
        size_t available = (size_t)(validBytes - readPosition);
        const unsigned char *lineEnd = (const unsigned char *)memchr(start, '\n', available);
        size_t taken = lineEnd ? (size_t)(lineEnd - start) : available;
        out.append((const char *)start, taken);
        readPosition += (int)taken;
        if (lineEnd)
        {
            readPosition++;
            break;
        }
    }
    if (!any)
        return result;
    // A CR before the LF (or before the end of the file) belongs to the line end.
    if (!out.empty() && out.back() == '\r')
        out.pop_back();
    return TEXTFILE_OK;
}

int TextFileReader::StoreLine(char **line, const std::string &text)
{
    if (!line)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return TEXTFILE_ERROR;
    }
    // A buffer this reader did not hand out has an unknown size: start a new one.
    if (*line != lineBuffer || !*line)
    {
        lineBuffer = nullptr;
        lineCapacity = 0;
    }
    size_t needed = text.size() + 1;
    if (needed > lineCapacity)
    {
        size_t capacity = (needed + TEXTFILE_LINE_GROWTH - 1) / TEXTFILE_LINE_GROWTH * TEXTFILE_LINE_GROWTH;
        char *grown = lineBuffer ? (char *)EngRealloc(lineBuffer, capacity, "TextFileReader::StoreLine")
                                 : (char *)EngMalloc(capacity, "TextFileReader::StoreLine", false);
        if (!grown)
            return TEXTFILE_ERROR;
        lineBuffer = grown;
        lineCapacity = capacity;
        *line = grown;
    }
    memcpy(lineBuffer, text.data(), text.size());
    lineBuffer[text.size()] = 0;
    return TEXTFILE_OK;
}

int ANSI_TextFileReader::ReadChar()
{
    int byte;
    while ((byte = NextByte()) == '\r')
    {
    }
    return byte;
}

int ANSI_TextFileReader::ReadLine(char **line, int codePage, const char *defaultChar, bool *usedDefault)
{
    int result = ReadByteLine(work);
    if (result != TEXTFILE_OK)
        return result;
    return StoreLine(line, work);
}

int UTF8_TextFileReader::ReadChar()
{
    int byte;
    while ((byte = NextByte()) == '\r')
    {
    }
    return byte;
}

namespace
{

// One code point from UTF-8 at text[*position], advancing past it. A broken sequence
// (a stray continuation byte, a missing or bad continuation byte, an overlong form, a
// surrogate or a value above U+10FFFF) gives U+FFFD and never reads past the end.
uint32_t DecodeUtf8(const std::string &text, size_t *position)
{
    const size_t length = text.size();
    unsigned char lead = (unsigned char)text[*position];
    (*position)++;
    if (lead < 0x80)
        return lead;
    int extra;
    uint32_t value;
    uint32_t minimum;
    if (lead >= 0xC2 && lead <= 0xDF)
    {
        extra = 1;
        value = lead & 0x1F;
        minimum = 0x80;
    }
    else if (lead >= 0xE0 && lead <= 0xEF)
    {
        extra = 2;
        value = lead & 0x0F;
        minimum = 0x800;
    }
    else if (lead >= 0xF0 && lead <= 0xF4)
    {
        extra = 3;
        value = lead & 0x07;
        minimum = 0x10000;
    }
    else
    {
        return kReplacementCharacter;
    }
    for (int i = 0; i < extra; i++)
    {
        if (*position >= length)
            return kReplacementCharacter;
        unsigned char next = (unsigned char)text[*position];
        if ((next & 0xC0) != 0x80)
            return kReplacementCharacter;
        value = (value << 6) | (next & 0x3F);
        (*position)++;
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return kReplacementCharacter;
    return value;
}

} // namespace

int UTF8_TextFileReader::ReadLine(char **line, int codePage, const char *defaultChar, bool *usedDefault)
{
    int result = ReadByteLine(work);
    if (result != TEXTFILE_OK)
        return result;
    decoded.clear();
    char fallback = DefaultCharOf(defaultChar);
    size_t position = 0;
    while (position < work.size())
        decoded += TextFileUnicodeToCodePage(DecodeUtf8(work, &position), fallback, usedDefault);
    return StoreLine(line, decoded);
}

int UTF16LE_TextFileReader::NextUnit()
{
    int first = NextByte();
    if (first < 0)
        return first;
    int second = NextByte();
    if (second < 0)
        return second;
    return bigEndian ? (first << 8 | second) : (second << 8 | first);
}

int UTF16LE_TextFileReader::ReadChar()
{
    int unit;
    while ((unit = NextUnit()) == '\r')
    {
    }
    return unit;
}

int UTF16LE_TextFileReader::ReadLine(char **line, int codePage, const char *defaultChar, bool *usedDefault)
{
    units.clear();
    bool any = false;
    int unit;
    while ((unit = NextUnit()) >= 0)
    {
        any = true;
        if (unit == '\n')
            break;
        units += (char16_t)unit;
    }
    if (!any)
        return unit;
    // A CR before the LF (or before the end of the file) belongs to the line end.
    if (!units.empty() && units.back() == u'\r')
        units.pop_back();

    converted.clear();
    char fallback = DefaultCharOf(defaultChar);
    for (size_t i = 0; i < units.size(); i++)
    {
        uint32_t value = units[i];
        if (value >= 0xD800 && value <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF)
        {
            value = 0x10000 + ((value - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            i++;
        }
        else if (value >= 0xD800 && value <= 0xDFFF)
        {
            value = kReplacementCharacter;
        }
        converted += TextFileUnicodeToCodePage(value, fallback, usedDefault);
    }
    return StoreLine(line, converted);
}

// ---- Writers -----------------------------------------------------------------------

TextFileWriter::TextFileWriter(const char *fileName, EngFile *file, int bufferSize)
    : fileName(fileName), file(file), bufferSize(bufferSize), buffer(nullptr), heldBytes(0)
{
    buffer = (unsigned char *)EngMalloc((size_t)bufferSize, "TextFileWriter::TextFileWriter", false);
    if (!buffer)
        this->bufferSize = 0;
}

TextFileWriter::~TextFileWriter()
{
    EngFree(buffer, false, nullptr);
}

int TextFileWriter::WriteChar(int character, int codePage, const char *defaultChar, bool *usedDefault)
{
    return TEXTFILE_ERROR;
}

int TextFileWriter::WriteString(const char *text, int length, int codePage, const char *defaultChar,
                                bool *usedDefault)
{
    return TEXTFILE_ERROR;
}

int TextFileWriter::WriteBOM()
{
    return TEXTFILE_OK;
}

int TextFileWriter::Flush()
{
    if (heldBytes == 0)
        return TEXTFILE_OK;
    errno = 0;
    if (!file || !file->Write(buffer, (uint32_t)heldBytes))
    {
        int code = errno ? errno : EIO;
        DebugError(ENG_FUNC, "FileWriteError (%lu %s %s)", (unsigned long)code, fileName, SystemErrorText(code));
        heldBytes = 0;
        return TEXTFILE_ERROR;
    }
    heldBytes = 0;
    return TEXTFILE_OK;
}

int TextFileWriter::AppendBytes(const void *data, size_t size)
{
    if (!buffer)
        return TEXTFILE_ERROR;
    const unsigned char *bytes = (const unsigned char *)data;
    while (size > 0)
    {
        if (heldBytes == bufferSize)
        {
            int result = Flush();
            if (result != TEXTFILE_OK)
                return result;
        }
        size_t room = (size_t)(bufferSize - heldBytes);
        size_t taken = size < room ? size : room;
        memcpy(buffer + heldBytes, bytes, taken);
        heldBytes += (int)taken;
        bytes += taken;
        size -= taken;
    }
    return TEXTFILE_OK;
}

namespace
{

size_t TextLength(const char *text, int length)
{
    return length < 0 ? strlen(text) : (size_t)length;
}

} // namespace

int ANSI_TextFileWriter::WriteChar(int character, int codePage, const char *defaultChar, bool *usedDefault)
{
    char byte = (char)character;
    return AppendBytes(&byte, 1);
}

int ANSI_TextFileWriter::WriteString(const char *text, int length, int codePage, const char *defaultChar,
                                     bool *usedDefault)
{
    if (!text)
        return TEXTFILE_ERROR;
    return AppendBytes(text, TextLength(text, length));
}

int UTF8_TextFileWriter::WriteCodePoint(uint32_t codePoint)
{
    unsigned char bytes[4];
    size_t count;
    if (codePoint < 0x80)
    {
        bytes[0] = (unsigned char)codePoint;
        count = 1;
    }
    else if (codePoint < 0x800)
    {
        bytes[0] = (unsigned char)(0xC0 | (codePoint >> 6));
        bytes[1] = (unsigned char)(0x80 | (codePoint & 0x3F));
        count = 2;
    }
    else if (codePoint < 0x10000)
    {
        bytes[0] = (unsigned char)(0xE0 | (codePoint >> 12));
        bytes[1] = (unsigned char)(0x80 | ((codePoint >> 6) & 0x3F));
        bytes[2] = (unsigned char)(0x80 | (codePoint & 0x3F));
        count = 3;
    }
    else
    {
        bytes[0] = (unsigned char)(0xF0 | (codePoint >> 18));
        bytes[1] = (unsigned char)(0x80 | ((codePoint >> 12) & 0x3F));
        bytes[2] = (unsigned char)(0x80 | ((codePoint >> 6) & 0x3F));
        bytes[3] = (unsigned char)(0x80 | (codePoint & 0x3F));
        count = 4;
    }
    return AppendBytes(bytes, count);
}

int UTF8_TextFileWriter::WriteChar(int character, int codePage, const char *defaultChar, bool *usedDefault)
{
    if (character < 0 || character > 0x10FFFF)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return TEXTFILE_ERROR;
    }
    return WriteCodePoint((uint32_t)character);
}

int UTF8_TextFileWriter::WriteString(const char *text, int length, int codePage, const char *defaultChar,
                                     bool *usedDefault)
{
    if (!text)
        return TEXTFILE_ERROR;
    size_t count = TextLength(text, length);
    for (size_t i = 0; i < count; i++)
    {
        int result = WriteCodePoint(TextFileCodePageToUnicode((unsigned char)text[i]));
        if (result != TEXTFILE_OK)
            return result;
    }
    return TEXTFILE_OK;
}

int UTF8_TextFileWriter::WriteBOM()
{
    static const unsigned char bom[3] = {0xEF, 0xBB, 0xBF};
    return AppendBytes(bom, 3);
}

int UTF16LE_TextFileWriter::WriteChar(int character, int codePage, const char *defaultChar, bool *usedDefault)
{
    char byte = (char)character;
    return WriteString(&byte, 1, codePage, defaultChar, usedDefault);
}

int UTF16LE_TextFileWriter::WriteString(const char *text, int length, int codePage, const char *defaultChar,
                                        bool *usedDefault)
{
    if (!text)
        return TEXTFILE_ERROR;
    size_t count = TextLength(text, length);
    units.clear();
    for (size_t i = 0; i < count; i++)
    {
        uint32_t unit = TextFileCodePageToUnicode((unsigned char)text[i]);
        char low = (char)(unit & 0xFF);
        char high = (char)(unit >> 8);
        units += bigEndian ? high : low;
        units += bigEndian ? low : high;
    }
    return AppendBytes(units.data(), units.size());
}

int UTF16LE_TextFileWriter::WriteBOM()
{
    static const unsigned char little[2] = {0xFF, 0xFE};
    static const unsigned char big[2] = {0xFE, 0xFF};
    return AppendBytes(bigEndian ? big : little, 2);
}

// ---- The file ----------------------------------------------------------------------

namespace
{

// One byte of the file: 0-255, TEXTFILE_END when none is left, TEXTFILE_ERROR after a
// logged read error.
int read_1_byte(const char *name, EngFile *file, uint32_t *bytesLeft)
{
    if (*bytesLeft == 0)
        return TEXTFILE_END;
    unsigned char byte;
    errno = 0;
    if (!file->Read(&byte, 1, false))
    {
        int code = errno ? errno : EIO;
        DebugError(ENG_FUNC, "FileReadError (%lu %s %s)", (unsigned long)code, name, SystemErrorText(code));
        return TEXTFILE_ERROR;
    }
    (*bytesLeft)--;
    return byte;
}

} // namespace

TextFile::TextFile()
    : fileName(nullptr), mode(TEXTFILE_MODE_CLOSED), encoding(0), requestedEncoding(0), reserved(0), bufferSize(0),
      file(nullptr), reader(nullptr), writer(nullptr), bomPending(false), codePage(0), defaultChar(nullptr)
{
}

TextFile::~TextFile()
{
    Close();
    EngFree(defaultChar, false, nullptr);
}

int TextFile::Open(const char *name, int openMode, int requested, int requestedBufferSize)
{
    if (!name || !name[0])
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return TEXTFILE_ERROR;
    }
    Close();
    fileName = EngMallocStringFromString(name, true, "TextFile::Open");
    file = new EngFile();
    if (!fileName)
    {
        Close();
        return TEXTFILE_ERROR;
    }
    requestedEncoding = requested;
    bufferSize = requestedBufferSize > 0 ? requestedBufferSize : TEXTFILE_DEFAULT_BUFFER_SIZE;
    bool reading = openMode == TEXTFILE_MODE_READ;
    bool opened;
    errno = 0;
    if (reading)
        opened = file->OpenForReadingQuietly(name, false);
    else if (openMode == TEXTFILE_MODE_CREATE)
        opened = file->CreateForWriting(name, false);
    else
        opened = file->OpenForAppending(name, false);
    if (!opened)
    {
        int code = errno ? errno : ENOENT;
        DebugError(ENG_FUNC, reading ? "OpenFileError (%lu %s %s)" : "OpenFileForWritingError (%lu %s %s)",
                   (unsigned long)code, name, SystemErrorText(code));
        Close();
        return TEXTFILE_ERROR;
    }
    mode = reading ? TEXTFILE_MODE_READ : (openMode == TEXTFILE_MODE_CREATE ? TEXTFILE_MODE_CREATE : TEXTFILE_MODE_APPEND);

    if (!reading)
    {
        encoding = requested >= TEXTFILE_ENCODING_ANSI && requested <= TEXTFILE_ENCODING_UTF8 ? requested
                                                                                             : TEXTFILE_ENCODING_ANSI;
        bomPending = true;
        if (mode == TEXTFILE_MODE_APPEND && file->GetSize() > 0)
            bomPending = false;
        switch (encoding)
        {
        case TEXTFILE_ENCODING_UTF16LE: writer = new UTF16LE_TextFileWriter(fileName, file, bufferSize); break;
        case TEXTFILE_ENCODING_UTF16BE: writer = new UTF16BE_TextFileWriter(fileName, file, bufferSize); break;
        case TEXTFILE_ENCODING_UTF8: writer = new UTF8_TextFileWriter(fileName, file, bufferSize); break;
        default: writer = new ANSI_TextFileWriter(fileName, file, bufferSize); break;
        }
        return TEXTFILE_OK;
    }

    uint32_t bytesLeft = file->GetSize();
    if (requested == TEXTFILE_ENCODING_ANSI)
    {
        encoding = TEXTFILE_ENCODING_ANSI;
        reader = new ANSI_TextFileReader(fileName, file, bytesLeft, bufferSize);
        return TEXTFILE_OK;
    }
    // Up to three bytes decide the encoding; when they are no byte-order mark they are
    // handed to the ANSI reader as the start of the text.
    unsigned char seen[3];
    int seenCount = 0;
    // Takes one more byte into seen (none at the end of the file); false after an error.
    auto take = [&]() {
        int byte = read_1_byte(fileName, file, &bytesLeft);
        if (byte >= 0)
            seen[seenCount++] = (unsigned char)byte;
        return byte != TEXTFILE_ERROR;
    };
    bool ok = take();
    if (ok && seenCount == 1 && (seen[0] == 0xFF || seen[0] == 0xFE || seen[0] == 0xEF))
        ok = take();
    if (ok && seenCount == 2 && seen[0] == 0xEF && seen[1] == 0xBB)
        ok = take();
    if (!ok)
    {
        Close();
        return TEXTFILE_ERROR;
    }
    if (seenCount == 0)
    {
        encoding = TEXTFILE_ENCODING_ANSI;
        reader = new TextFileReader(fileName, file, 0, 0);
        return TEXTFILE_OK;
    }
    if (seenCount == 2 && seen[0] == 0xFF && seen[1] == 0xFE)
    {
        encoding = TEXTFILE_ENCODING_UTF16LE;
        reader = new UTF16LE_TextFileReader(fileName, file, bytesLeft, bufferSize);
        return TEXTFILE_OK;
    }
    if (seenCount == 2 && seen[0] == 0xFE && seen[1] == 0xFF)
    {
        encoding = TEXTFILE_ENCODING_UTF16BE;
        reader = new UTF16BE_TextFileReader(fileName, file, bytesLeft, bufferSize);
        return TEXTFILE_OK;
    }
    if (seenCount == 3 && seen[0] == 0xEF && seen[1] == 0xBB && seen[2] == 0xBF)
    {
        encoding = TEXTFILE_ENCODING_UTF8;
        reader = new UTF8_TextFileReader(fileName, file, bytesLeft, bufferSize);
        return TEXTFILE_OK;
    }
    encoding = TEXTFILE_ENCODING_ANSI;
    reader = new ANSI_TextFileReader(fileName, file, bytesLeft, bufferSize, seen, seenCount);
    return TEXTFILE_OK;
}

int TextFile::ReadLine(bool *usedDefault, char **line)
{
    if (usedDefault)
        *usedDefault = false;
    if (!reader)
    {
        DebugError(ENG_FUNC, "File is not open for reading");
        return TEXTFILE_ERROR;
    }
    return reader->ReadLine(line, codePage, defaultChar, usedDefault);
}

int TextFile::ReadChar()
{
    if (!reader)
    {
        DebugError(ENG_FUNC, "File is not open for reading");
        return TEXTFILE_ERROR;
    }
    return reader->ReadChar();
}

int TextFile::WritePendingBOM()
{
    if (!bomPending)
        return TEXTFILE_OK;
    bomPending = false;
    return writer->WriteBOM();
}

int TextFile::WriteString(const char *text, int length)
{
    if (!writer)
    {
        DebugError(ENG_FUNC, "File is not open for writing");
        return TEXTFILE_ERROR;
    }
    if (!text)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return TEXTFILE_ERROR;
    }
    int result = WritePendingBOM();
    if (result != TEXTFILE_OK)
        return result;
    return writer->WriteString(text, length, codePage, defaultChar, nullptr);
}

int TextFile::WriteChar(int character)
{
    if (!writer)
    {
        DebugError(ENG_FUNC, "File is not open for writing");
        return TEXTFILE_ERROR;
    }
    int result = WritePendingBOM();
    if (result != TEXTFILE_OK)
        return result;
    return writer->WriteChar(character, codePage, defaultChar, nullptr);
}

int TextFile::Close()
{
    int result = TEXTFILE_OK;
    if (writer)
        result = writer->Flush();
    delete reader;
    reader = nullptr;
    delete writer;
    writer = nullptr;
    if (file)
    {
        if (!file->Close() && result == TEXTFILE_OK)
            result = TEXTFILE_ERROR;
        delete file;
        file = nullptr;
    }
    EngFree(fileName, false, nullptr);
    fileName = nullptr;
    mode = TEXTFILE_MODE_CLOSED;
    bomPending = false;
    return result;
}

bool TextFile::SetCodePage(int newCodePage)
{
    if (newCodePage != 0 && newCodePage != TEXTFILE_CODE_PAGE_1252)
    {
        DebugError(ENG_FUNC, "Code page %d is not supported", newCodePage);
        return false;
    }
    codePage = newCodePage;
    return true;
}

bool TextFile::SetDefaultChar(const char *text)
{
    EngFree(defaultChar, false, nullptr);
    defaultChar = nullptr;
    if (!text)
        return true;
    defaultChar = EngMallocStringFromString(text, true, "TextFile::SetDefaultChar");
    return defaultChar != nullptr;
}
