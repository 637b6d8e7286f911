#include "EngTextFile.h"

#include <iconv.h>

#include <cstring>
#include <vector>

#include "EngDebug.h"
#include "EngMemory.h"
#include "Testkit.h"

using testkit::TempHomeTest;

namespace
{

// The text converted by glibc's iconv; false when iconv refuses it.
bool Iconv(const std::string &in, const char *to, const char *from, std::string *out)
{
    iconv_t converter = iconv_open(to, from);
    if (converter == (iconv_t)-1)
        return false;
    std::string input = in;
    std::vector<char> buffer(in.size() * 4 + 16);
    char *inPointer = input.data();
    size_t inLeft = input.size();
    char *outPointer = buffer.data();
    size_t outLeft = buffer.size();
    size_t result = iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft);
    iconv_close(converter);
    if (result == (size_t)-1)
        return false;
    out->assign(buffer.data(), buffer.size() - outLeft);
    return true;
}

std::string FromCodePage(const std::string &text, const char *to)
{
    std::string out;
    EXPECT_TRUE(Iconv(text, to, "WINDOWS-1252", &out)) << to;
    return out;
}

} // namespace

class TextFileTest : public TempHomeTest
{
protected:
    // Every line of the file, read with automatic encoding.
    std::vector<std::string> ReadLines(const std::string &bytes, int *encoding = nullptr, int bufferSize = 0,
                                       bool *usedDefault = nullptr)
    {
        std::string path = Home() + "/text.txt";
        testkit::WriteFile(path, bytes);
        TextFile file;
        std::vector<std::string> lines;
        EXPECT_EQ(file.Open(path.c_str(), TEXTFILE_MODE_READ, TEXTFILE_ENCODING_AUTO, bufferSize), TEXTFILE_OK);
        if (encoding)
            *encoding = file.GetEncoding();
        if (usedDefault)
            *usedDefault = false;
        char *line = nullptr;
        bool lineUsedDefault = false;
        int result;
        while ((result = file.ReadLine(&lineUsedDefault, &line)) == TEXTFILE_OK)
        {
            lines.push_back(line);
            if (usedDefault && lineUsedDefault)
                *usedDefault = true;
        }
        EXPECT_EQ(result, TEXTFILE_END);
        EXPECT_EQ(file.ReadLine(nullptr, &line), TEXTFILE_END);
        EngFree(line, false, nullptr);
        return lines;
    }
};

TEST(TextFileCodePage, MatchesIconvWindows1252)
{
    int undefined = 0;
    for (int byte = 1; byte < 256; byte++)
    {
        SCOPED_TRACE(byte);
        std::string utf32;
        uint32_t ours = TextFileCodePageToUnicode((unsigned char)byte);
        if (!Iconv(std::string(1, (char)byte), "UTF-32LE", "WINDOWS-1252", &utf32))
        {
            // Bytes the code page leaves undefined stand for the control of the same value.
            EXPECT_EQ(ours, (uint32_t)byte);
            undefined++;
        }
        else
        {
            ASSERT_EQ(utf32.size(), 4u);
            uint32_t theirs;
            memcpy(&theirs, utf32.data(), 4);
            EXPECT_EQ(ours, theirs);
        }
        bool usedDefault = false;
        EXPECT_EQ((unsigned char)TextFileUnicodeToCodePage(ours, '?', &usedDefault), byte);
        EXPECT_FALSE(usedDefault);
    }
    EXPECT_EQ(undefined, 5);
    bool usedDefault = false;
    EXPECT_EQ(TextFileUnicodeToCodePage(0x263A, '#', &usedDefault), '#');
    EXPECT_TRUE(usedDefault);
}

TEST_F(TextFileTest, SameTextFromEveryEncoding)
{
    // Text in the code page: accents, the euro and other characters of 0x80-0x9F.
    const std::vector<std::string> lines = {"Hello, world", "Caf\xE9 \x80" "5 \x96 na\xEFve \xDF", "",
                                            "\x8C" "uvre \x99 \xFF \x85 \x93quoted\x94"};
    struct Encoding
    {
        const char *iconvName; // NULL: the bytes as they are
        std::string bom;
        int expected;
    } encodings[] = {
        {nullptr, "", TEXTFILE_ENCODING_ANSI},
        {"UTF-8", "\xEF\xBB\xBF", TEXTFILE_ENCODING_UTF8},
        {"UTF-16LE", "\xFF\xFE", TEXTFILE_ENCODING_UTF16LE},
        {"UTF-16BE", "\xFE\xFF", TEXTFILE_ENCODING_UTF16BE},
    };
    for (const Encoding &encoding : encodings)
    {
        for (const char *lineEnd : {"\n", "\r\n"})
        {
            for (bool lastLineEnd : {false, true})
            {
                std::string text;
                for (size_t i = 0; i < lines.size(); i++)
                    if (i + 1 < lines.size() || lastLineEnd)
                        text += lines[i] + lineEnd;
                    else
                        text += lines[i];
                std::string body = encoding.iconvName ? FromCodePage(text, encoding.iconvName) : text;
                SCOPED_TRACE(std::string(encoding.iconvName ? encoding.iconvName : "ANSI") +
                             (lineEnd[0] == '\r' ? " CRLF" : " LF") + (lastLineEnd ? " ended" : ""));
                int found = 0;
                bool usedDefault = true;
                EXPECT_EQ(ReadLines(encoding.bom + body, &found, 0, &usedDefault), lines);
                EXPECT_EQ(found, encoding.expected);
                EXPECT_FALSE(usedDefault);
                // Small buffers: every refill boundary, CR LF split between fills included.
                EXPECT_EQ(ReadLines(encoding.bom + body, &found, 3), lines);

                if (!encoding.iconvName)
                    continue;
                // Without a byte-order mark the bytes are taken as they are.
                std::vector<std::string> raw = ReadLines(body, &found);
                EXPECT_EQ(found, TEXTFILE_ENCODING_ANSI);
                if (std::string(encoding.iconvName) == "UTF-8")
                {
                    std::vector<std::string> utf8Lines;
                    for (const std::string &line : lines)
                        utf8Lines.push_back(FromCodePage(line, "UTF-8"));
                    EXPECT_EQ(raw, utf8Lines);
                }
            }
        }
    }
}

TEST_F(TextFileTest, WritersMatchIconv)
{
    const std::string text = "Caf\xE9 \x80 \x8C\x9F\x81!\nnext";
    struct Row
    {
        int encoding;
        std::string expected;
    } rows[] = {
        {TEXTFILE_ENCODING_ANSI, text},
        {TEXTFILE_ENCODING_UTF8, "\xEF\xBB\xBF" + FromCodePage("Caf\xE9 \x80 \x8C\x9F", "UTF-8") + "\xC2\x81!\nnext"},
        {TEXTFILE_ENCODING_UTF16LE,
         "\xFF\xFE" + FromCodePage("Caf\xE9 \x80 \x8C\x9F", "UTF-16LE") + std::string("\x81\0!\0\n\0", 6) +
             FromCodePage("next", "UTF-16LE")},
        {TEXTFILE_ENCODING_UTF16BE,
         "\xFE\xFF" + FromCodePage("Caf\xE9 \x80 \x8C\x9F", "UTF-16BE") + std::string("\0\x81\0!\0\n", 6) +
             FromCodePage("next", "UTF-16BE")},
    };
    std::string path = Home() + "/written.txt";
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.encoding);
        TextFile file;
        ASSERT_EQ(file.Open(path.c_str(), TEXTFILE_MODE_CREATE, row.encoding, 5), TEXTFILE_OK);
        EXPECT_TRUE(file.IsBOMPending());
        EXPECT_EQ(file.WriteString(text.substr(0, 9).c_str()), TEXTFILE_OK);
        EXPECT_EQ(file.WriteChar((unsigned char)text[9]), TEXTFILE_OK);
        EXPECT_EQ(file.WriteString(text.c_str() + 10, 6), TEXTFILE_OK);
        EXPECT_EQ(file.Close(), TEXTFILE_OK);
        EXPECT_EQ(testkit::ReadFile(path), row.expected);

        // Appending to a file that has bytes never adds a second byte-order mark.
        ASSERT_EQ(file.Open(path.c_str(), TEXTFILE_MODE_APPEND, row.encoding, 0), TEXTFILE_OK);
        EXPECT_FALSE(file.IsBOMPending());
        EXPECT_EQ(file.WriteString("\n2"), TEXTFILE_OK);
        file.Close();
        EXPECT_EQ(ReadLines(testkit::ReadFile(path)), (std::vector<std::string>{"Caf\xE9 \x80 \x8C\x9F\x81!", "next", "2"}));
    }
    // Appending to an empty file starts it with the mark.
    testkit::WriteFile(path, "");
    TextFile file;
    ASSERT_EQ(file.Open(path.c_str(), TEXTFILE_MODE_APPEND, TEXTFILE_ENCODING_UTF8, 0), TEXTFILE_OK);
    EXPECT_TRUE(file.IsBOMPending());
    EXPECT_EQ(file.WriteChar(0x20AC), TEXTFILE_OK);
    file.Close();
    EXPECT_EQ(testkit::ReadFile(path), "\xEF\xBB\xBF\xE2\x82\xAC");
}

TEST_F(TextFileTest, EdgeCases)
{
    struct Row
    {
        std::string bytes;
        std::vector<std::string> lines;
        int encoding;
        bool usedDefault;
    } rows[] = {
        {"", {}, TEXTFILE_ENCODING_ANSI, false},
        {"\xEF\xBB", {"\xEF\xBB"}, TEXTFILE_ENCODING_ANSI, false},
        {"\xEF", {"\xEF"}, TEXTFILE_ENCODING_ANSI, false},
        {"\xFF" "A\n", {"\xFF" "A"}, TEXTFILE_ENCODING_ANSI, false},
        {"\xEF\xBB\xBF", {}, TEXTFILE_ENCODING_UTF8, false},
        {"a\r\nb", {"a", "b"}, TEXTFILE_ENCODING_ANSI, false},
        {"a\n", {"a"}, TEXTFILE_ENCODING_ANSI, false},
        {"\n\n", {"", ""}, TEXTFILE_ENCODING_ANSI, false},
        {"a\rb\r\r\n", {"a\rb\r"}, TEXTFILE_ENCODING_ANSI, false},
        {std::string("\xFE\xFF\0H\0i\0\r\0\n", 10), {"Hi"}, TEXTFILE_ENCODING_UTF16BE, false},
        {std::string("\xFF\xFEH\0i\0\n\0x", 9), {"Hi"}, TEXTFILE_ENCODING_UTF16LE, false},
        {std::string("\xFF\xFE=\xD8\0\xDE\n\0", 8), {"?"}, TEXTFILE_ENCODING_UTF16LE, true},
        {std::string("\xFF\xFE\0\xDC" "a\0", 6), {"?a"}, TEXTFILE_ENCODING_UTF16LE, true},
        {"\xEF\xBB\xBF\xC3\xA9", {"\xE9"}, TEXTFILE_ENCODING_UTF8, false},
        {"\xC3\xA9", {"\xC3\xA9"}, TEXTFILE_ENCODING_ANSI, false},
        // Broken UTF-8 never reads past its line and gives the default character.
        {"\xEF\xBB\xBF" "a\xC3\nb", {"a?", "b"}, TEXTFILE_ENCODING_UTF8, true},
        {"\xEF\xBB\xBF\xE2\x82\n\xAC", {"?", "?"}, TEXTFILE_ENCODING_UTF8, true},
        {"\xEF\xBB\xBF\xF0\x9F\x98", {"?"}, TEXTFILE_ENCODING_UTF8, true},
        {"\xEF\xBB\xBF\xC0\xAF|\xED\xA0\x80|\xF4\x90\x80\x80|\xF8", {"??|?|?|?"}, TEXTFILE_ENCODING_UTF8, true},
        {"\xEF\xBB\xBF\xF0\x9F\x98\x80!", {"?!"}, TEXTFILE_ENCODING_UTF8, true},
        {"\xEF\xBB\xBF\xE2\x82\xAC\xC5\x93", {"\x80\x9C"}, TEXTFILE_ENCODING_UTF8, false},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(testing::PrintToString(row.bytes));
        int encoding = -1;
        bool usedDefault = false;
        EXPECT_EQ(ReadLines(row.bytes, &encoding, 0, &usedDefault), row.lines);
        EXPECT_EQ(encoding, row.encoding);
        EXPECT_EQ(usedDefault, row.usedDefault);
    }
}

TEST_F(TextFileTest, LineBufferGrowsAndIsReused)
{
    std::string longLine(3000, 'x');
    std::string path = Home() + "/long.txt";
    testkit::WriteFile(path, longLine + "\nshort\n" + longLine.substr(0, 2000) + "\n");
    TextFile file;
    ASSERT_EQ(file.Open(path.c_str(), TEXTFILE_MODE_READ, TEXTFILE_ENCODING_AUTO, 16), TEXTFILE_OK);
    char *line = nullptr;
    ASSERT_EQ(file.ReadLine(nullptr, &line), TEXTFILE_OK);
    EXPECT_EQ(std::string(line), longLine);
    char *first = line;
    ASSERT_EQ(file.ReadLine(nullptr, &line), TEXTFILE_OK);
    EXPECT_STREQ(line, "short");
    ASSERT_EQ(file.ReadLine(nullptr, &line), TEXTFILE_OK);
    EXPECT_EQ(line, first);
    EXPECT_EQ(strlen(line), 2000u);
    EXPECT_EQ(file.ReadLine(nullptr, &line), TEXTFILE_END);
    EngFree(line, false, nullptr);

    // ReadChar skips carriage returns.
    testkit::WriteFile(path, "a\r\nb");
    ASSERT_EQ(file.Open(path.c_str(), TEXTFILE_MODE_READ, TEXTFILE_ENCODING_AUTO, 0), TEXTFILE_OK);
    EXPECT_EQ(file.ReadChar(), 'a');
    EXPECT_EQ(file.ReadChar(), '\n');
    EXPECT_EQ(file.ReadChar(), 'b');
    EXPECT_EQ(file.ReadChar(), TEXTFILE_END);
}

TEST_F(TextFileTest, Failures)
{
    TextFile file;
    std::string missing = Home() + "/missing.txt";
    EXPECT_EQ(file.Open(missing.c_str(), TEXTFILE_MODE_READ, TEXTFILE_ENCODING_AUTO, 0), TEXTFILE_ERROR);
    EXPECT_TRUE(LogHas("OpenFileError (2 " + missing + " No such file or directory)"));
    EXPECT_EQ(file.GetMode(), TEXTFILE_MODE_CLOSED);
    char *line = nullptr;
    EXPECT_EQ(file.ReadLine(nullptr, &line), TEXTFILE_ERROR);

    std::string inMissingFolder = Home() + "/none/out.txt";
    EXPECT_EQ(file.Open(inMissingFolder.c_str(), TEXTFILE_MODE_CREATE, TEXTFILE_ENCODING_UTF8, 0), TEXTFILE_ERROR);
    EXPECT_TRUE(LogHas("OpenFileForWritingError ("));
    EXPECT_EQ(file.Close(), TEXTFILE_OK);
    EXPECT_FALSE(file.SetCodePage(65001));
    EXPECT_TRUE(file.SetCodePage(1252));

    // The default character can be changed.
    std::string path = Home() + "/d.txt";
    testkit::WriteFile(path, "\xEF\xBB\xBF\xE2\x98\xBA");
    ASSERT_TRUE(file.SetDefaultChar("*"));
    ASSERT_EQ(file.Open(path.c_str(), TEXTFILE_MODE_READ, TEXTFILE_ENCODING_AUTO, 0), TEXTFILE_OK);
    bool usedDefault = false;
    ASSERT_EQ(file.ReadLine(&usedDefault, &line), TEXTFILE_OK);
    EXPECT_STREQ(line, "*");
    EXPECT_TRUE(usedDefault);
    EngFree(line, false, nullptr);
}
