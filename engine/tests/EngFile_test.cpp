#include "EngFile.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <gmock/gmock.h>

#include "EngDebug.h"
#include "Testkit.h"

using testkit::ReadFile;
using testkit::WriteFile;

class FileTest : public testkit::TempHomeTest
{
protected:
    std::string Path(const std::string &name) const { return home->File(name); }
};

TEST_F(FileTest, OpenRefusalsAndReports)
{
    struct Row
    {
        const char *label;
        bool (*open)(EngFile &, const char *);
        const char *name;
        const char *logged; // NULL: nothing logged
    } rows[] = {
        {"read, no name, quiet", [](EngFile &f, const char *n) { return f.OpenForReading(n, false, false); }, "",
         nullptr},
        {"read, no name, reporting", [](EngFile &f, const char *n) { return f.OpenForReading(n, false, true); },
         nullptr, "No filename specified"},
        {"read, missing, quiet", [](EngFile &f, const char *n) { return f.OpenForReadingQuietly(n, true); },
         "/nonexistent/x", nullptr},
        {"read, missing, reporting", [](EngFile &f, const char *n) { return f.OpenForReading(n, true, true); },
         "/nonexistent/x", "Could not open file </nonexistent/x>"},
        {"create, no name", [](EngFile &f, const char *n) { return f.CreateForWriting(n, false); }, "",
         "No filename specified"},
        {"create, bad folder", [](EngFile &f, const char *n) { return f.CreateForWriting(n, false); },
         "/nonexistent/x", "Could not create file </nonexistent/x>"},
        {"append, bad folder", [](EngFile &f, const char *n) { return f.OpenForAppending(n, false); },
         "/nonexistent/x", "Could not open or create file </nonexistent/x>"},
        // Goes to the quick debug output only, which has no destination.
        {"write, bad folder", [](EngFile &f, const char *n) { return f.OpenForWriting(n, false); },
         "/nonexistent/x", nullptr},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.label);
        DebugShutdown();
        EngFile file;
        EXPECT_FALSE(row.open(file, row.name));
        EXPECT_FALSE(file.IsOpen());
        if (row.logged)
            EXPECT_TRUE(LogHas(row.logged));
        else
            EXPECT_EQ(DebugGetNumMessages(), 0);
    }
}

TEST_F(FileTest, WrongDirectionAndClosedRefusals)
{
    WriteFile(Path("in.bin"), "abcdef");
    EngFile reader;
    ASSERT_TRUE(reader.OpenForReading(Path("in.bin").c_str(), false, true));
    EngFile writer;
    ASSERT_TRUE(writer.CreateForWriting(Path("out.bin").c_str(), false));
    EngFile closed;
    char buffer[16];

    struct Row
    {
        const char *label;
        bool result;
        const char *logged;
    } rows[] = {
        {"Write on reader", reader.Write("x", 1), "File is not open for writing"},
        {"FWrite on reader", reader.FWrite("x", 1) != 0, "File is not open for writing"},
        {"Printf on reader", reader.Printf("x"), "File is not open for writing"},
        {"Read on writer", writer.Read(buffer, 1, true), "File is not open for reading"},
        {"ReadLine on writer", writer.ReadLine(buffer, sizeof(buffer)), "File is not open for reading"},
        {"Read on closed", closed.Read(buffer, 1, false), "File is not open"},
        {"Write on closed", closed.Write("x", 1), "File is not open"},
        {"Read to NULL", reader.Read(nullptr, 1, false), "Nowhere to read to"},
        {"Write from NULL", writer.Write(nullptr, 1), "Nowhere to write from"},
        {"MoveToEnd on closed", closed.MoveToEnd(), "File is not opened"},
        {"GetSize on closed", closed.GetSize() != 0, "File is not opened"},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.label);
        EXPECT_FALSE(row.result);
        EXPECT_TRUE(LogHas(row.logged));
    }
    writer.Close();
    EXPECT_EQ(ReadFile(Path("out.bin")), "");
}

TEST_F(FileTest, ReadSizes)
{
    WriteFile(Path("three.bin"), "abc");
    EngFile file;
    char buffer[8] = "zzzzzzz";

    ASSERT_TRUE(file.OpenForReading(Path("three.bin").c_str(), false, true));
    EXPECT_FALSE(file.Read(buffer, 0, false));
    EXPECT_EQ(DebugGetNumMessages(), 0);
    EXPECT_FALSE(file.Read(buffer, 0, true));
    EXPECT_TRUE(LogHas("Could not read from file"));

    // A partial read is reported whatever the flag.
    EXPECT_FALSE(file.Read(buffer, 5, false));
    EXPECT_TRUE(LogHas("Problem reading from file [ read 3 not 5 ]"));
    EXPECT_FALSE(file.Read(buffer, 1, false));

    ASSERT_TRUE(file.OpenForReading(Path("three.bin").c_str(), false, true));
    EXPECT_TRUE(file.Read(buffer, 3, true));
    EXPECT_EQ(std::string(buffer, 3), "abc");
}

TEST_F(FileTest, ReopeningClosesTheOldStream)
{
    WriteFile(Path("a.txt"), "first");
    EngFile file;
    ASSERT_TRUE(file.CreateForWriting(Path("b.txt").c_str(), false));
    ASSERT_TRUE(file.OpenForReading(Path("a.txt").c_str(), false, true));
    EXPECT_TRUE(LogHas("File was already opened [" + Path("a.txt") + "]"));
    EXPECT_TRUE(file.IsReading());
}

TEST_F(FileTest, ReadLineKeepsNewlineAndDropsWindowsReturnInTextMode)
{
    WriteFile(Path("lines.txt"), "one\r\ntwo\nthree");
    struct Row
    {
        bool textMode;
        const char *lines[3];
    } rows[] = {
        {true, {"one\n", "two\n", "three"}},
        {false, {"one\r\n", "two\n", "three"}},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.textMode);
        EngFile file;
        ASSERT_TRUE(file.OpenForReading(Path("lines.txt").c_str(), row.textMode, true));
        char line[64];
        for (const char *expected : row.lines)
        {
            ASSERT_TRUE(file.ReadLine(line, sizeof(line)));
            EXPECT_STREQ(line, expected);
        }
        EXPECT_FALSE(file.ReadLine(line, sizeof(line)));
    }
    EXPECT_EQ(DebugGetNumMessages(), 0);
}

TEST_F(FileTest, WritingModesAndPrintf)
{
    std::string name = Path("w.txt");
    WriteFile(name, "old contents that must go");
    {
        EngFile file;
        ASSERT_TRUE(file.OpenForWriting(name.c_str(), true));
        EXPECT_TRUE(file.Printf("%s", ""));
        EXPECT_TRUE(file.Printf("n=%d;", 42));
        EXPECT_EQ(file.FWrite("ab", 2), 2u);
    }
    EXPECT_EQ(ReadFile(name), "n=42;ab");
    {
        EngFile file;
        ASSERT_TRUE(file.OpenForAppending(name.c_str(), false));
        EXPECT_TRUE(file.Write("+", 1));
        EXPECT_FALSE(file.Write("+", 0));
        EXPECT_TRUE(LogHas("Could not write to file"));
    }
    EXPECT_EQ(ReadFile(name), "n=42;ab+");
    {
        // A text longer than the formatting room is cut, never overrun.
        EngFile file;
        ASSERT_TRUE(file.CreateForWriting(name.c_str(), true));
        EXPECT_TRUE(file.Printf("%s", std::string(5000, 'x').c_str()));
    }
    EXPECT_EQ(ReadFile(name), std::string(ENG_FILE_PRINTF_SIZE - 1, 'x'));
}

TEST_F(FileTest, GetSizeKeepsThePosition)
{
    WriteFile(Path("ten.bin"), "0123456789");
    EngFile file;
    ASSERT_TRUE(file.OpenForReading(Path("ten.bin").c_str(), false, true));
    char buffer[4];
    ASSERT_TRUE(file.Read(buffer, 4, true));
    EXPECT_EQ(file.GetSize(), 10u);
    ASSERT_TRUE(file.Read(buffer, 1, true));
    EXPECT_EQ(buffer[0], '4');

    EngFile writer;
    ASSERT_TRUE(writer.CreateForWriting(Path("grow.bin").c_str(), false));
    writer.Write("abc", 3);
    EXPECT_EQ(writer.GetSize(), 3u);
    writer.Write("d", 1);
    writer.Close();
    EXPECT_EQ(ReadFile(Path("grow.bin")), "abcd");
}

// Writes 64 KiB with the file size limit at 100 bytes (the signal the limit raises is
// ignored) and ends the process with 0 when the write failed with the short-write report.
static void WriteBeyondSizeLimit(const std::string &name, bool textMode)
{
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit = {100, 100};
    setrlimit(RLIMIT_FSIZE, &limit);
    EngFile file;
    file.CreateForWriting(name.c_str(), textMode);
    std::string big(1 << 16, 'x');
    bool written = file.Write(big.data(), (uint32_t)big.size());
    bool reported = false;
    for (int i = 0; i < DebugGetNumMessages(); i++)
        reported |= strstr(DebugGetMessage(i)->text, "Only wrote 100 of 65536 bytes to file") != nullptr;
    exit(!written && reported ? 0 : 1);
}

using FileDeathTest = FileTest;

// A short write loses data: it fails in text mode as in raw mode.
TEST_F(FileDeathTest, ShortWriteFailsInEveryMode)
{
    for (bool textMode : {true, false})
    {
        SCOPED_TRACE(textMode);
        std::string name = Path(textMode ? "short.txt" : "short.bin");
        EXPECT_EXIT(WriteBeyondSizeLimit(name, textMode), testing::ExitedWithCode(0), "");
    }
}

// A write that only reaches the stream's buffer is lost when the final flush fails: the
// close reports it, so writers never take an incomplete file for a finished one.
TEST_F(FileTest, CloseReportsALostFinalFlush)
{
    EngFile full;
    ASSERT_TRUE(full.CreateForWriting("/dev/full", false));
    char block[100] = {};
    EXPECT_TRUE(full.Write(block, sizeof(block)));
    EXPECT_FALSE(full.Close());
    EXPECT_TRUE(LogHas("Could not finish writing the file"));
    EXPECT_TRUE(full.Close());

    EngFile fine;
    ASSERT_TRUE(fine.CreateForWriting(home->File("fine.bin").c_str(), false));
    EXPECT_TRUE(fine.Write(block, sizeof(block)));
    EXPECT_TRUE(fine.Close());
}

TEST_F(FileTest, FolderFunctions)
{
    std::string folder = Path("made");
    EXPECT_FALSE(EngFileDirectoryExists(folder.c_str()));
    EXPECT_TRUE(EngFileCreateDirectory(folder.c_str(), true));
    EXPECT_TRUE(EngFileDirectoryExists(folder.c_str()));
    EXPECT_EQ(DebugGetNumMessages(), 0);

    EXPECT_FALSE(EngFileCreateDirectory(folder.c_str(), false));
    EXPECT_EQ(DebugGetNumMessages(), 0);
    EXPECT_FALSE(EngFileCreateDirectory(folder.c_str(), true));
    EXPECT_TRUE(LogHas("Failed to create directory <" + folder + ">"));

    // A folder is not a file, to any of the file functions.
    EXPECT_FALSE(EngFileExists(folder.c_str(), false));
    EXPECT_EQ(EngFileGetFileSize(folder.c_str(), false), 0u);
    EXPECT_FALSE(EngFileDelete(folder.c_str(), false));
    EXPECT_TRUE(EngFileDirectoryExists(folder.c_str()));

    WriteFile(Path("plain"), "x");
    EXPECT_FALSE(EngFileDirectoryExists(Path("plain").c_str()));
    EXPECT_FALSE(EngFileDirectoryExists(""));
}

TEST_F(FileTest, ExistsDeleteAndSize)
{
    std::string name = Path("five.bin");
    WriteFile(name, "12345");
    EXPECT_TRUE(EngFileExists(name.c_str(), true));
    EXPECT_EQ(EngFileGetFileSize(name.c_str(), false), 5u);
    EXPECT_TRUE(EngFileDelete(name.c_str(), true));
    EXPECT_EQ(DebugGetNumMessages(), 0);

    EXPECT_FALSE(EngFileExists(name.c_str(), false));
    EXPECT_EQ(DebugGetNumMessages(), 0);
    EXPECT_FALSE(EngFileExists(name.c_str(), true));
    EXPECT_TRUE(LogHas("File not found: " + name));
    EXPECT_FALSE(EngFileDelete(name.c_str(), true));
    EXPECT_TRUE(LogHas("Deletion failed."));
    EXPECT_EQ(EngFileGetFileSize(name.c_str(), false), 0u);
    EXPECT_TRUE(LogHas("( EngFileGetFileSize )    Could not open file <" + name + ">"));
    EXPECT_FALSE(EngFileExists(nullptr, false));
    EXPECT_TRUE(LogHas("No filename specified"));
}

TEST_F(FileTest, OpenReadAndCloseNeedsTheExactSize)
{
    std::string name = Path("four.bin");
    WriteFile(name, "abcd");
    char buffer[8] = "-------";
    EXPECT_FALSE(EngFileOpenReadAndClose(name.c_str(), false, buffer, 5));
    EXPECT_TRUE(LogHas("Invalid file size in <" + name + ">"));
    EXPECT_STREQ(buffer, "-------");
    EXPECT_TRUE(EngFileOpenReadAndClose(name.c_str(), false, buffer, 4));
    EXPECT_EQ(std::string(buffer, 4), "abcd");
    EXPECT_FALSE(EngFileOpenReadAndClose(Path("missing").c_str(), false, buffer, 4));
    EXPECT_TRUE(LogHas("( EngFileOpenReadAndClose )    Could not open file <"));
}

TEST_F(FileTest, MoveNeverOverwrites)
{
    std::string from = Path("from.txt");
    std::string to = Path("to.txt");
    WriteFile(from, "moving");
    WriteFile(to, "kept");
    EXPECT_FALSE(EngFileMoveFile(from.c_str(), to.c_str()));
    EXPECT_TRUE(LogHas("File <" + to + "> exists"));
    EXPECT_EQ(ReadFile(to), "kept");

    EngFileDelete(to.c_str(), true);
    EXPECT_TRUE(EngFileMoveFile(from.c_str(), to.c_str()));
    EXPECT_EQ(ReadFile(to), "moving");
    EXPECT_FALSE(testkit::FileExists(from));

    EXPECT_FALSE(EngFileMoveFile(from.c_str(), Path("other").c_str()));
    EXPECT_TRUE(LogHas("File <" + from + "> does not exist"));
    EXPECT_FALSE(EngFileMoveFile("", to.c_str()));
    EXPECT_TRUE(LogHas("Invalid parameters"));

    // Replacing is the one way to put a file over another.
    WriteFile(from, "new");
    EXPECT_TRUE(EngFileReplaceFile(from.c_str(), to.c_str()));
    EXPECT_EQ(ReadFile(to), "new");
    EXPECT_FALSE(testkit::FileExists(from));
}

TEST_F(FileTest, WindowsSeparatorsReachTheSameFile)
{
    struct Row
    {
        const char *given;
        const char *normal;
    } rows[] = {
        {"a\\b\\c.txt", "a/b/c.txt"}, {"a//b///c", "a/b/c"}, {"\\\\x", "/x"}, {"/abs/", "/abs/"}, {"", ""},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.given);
        char out[64];
        EXPECT_TRUE(EngFileNormalisePath(row.given, out, sizeof(out)));
        EXPECT_STREQ(out, row.normal);
    }
    char tiny[4];
    EXPECT_FALSE(EngFileNormalisePath("abcd", tiny, sizeof(tiny)));

    ASSERT_TRUE(EngFileCreateDirectory((Home() + "\\Users").c_str(), true));
    EngFile file;
    ASSERT_TRUE(file.CreateForWriting((Home() + "\\Users\\\\Fred.usr").c_str(), false));
    file.Close();
    EXPECT_TRUE(testkit::FileExists(Home() + "/Users/Fred.usr"));
}

TEST_F(FileTest, FindIgnoringCase)
{
    mkdir(Path("Users").c_str(), 0700);
    WriteFile(Path("Users/Fred.usr"), "");
    WriteFile(Path("Users/abc.qpz"), "");
    WriteFile(Path("Users/ABC.qpz"), "");
    struct Row
    {
        const char *wanted;
        const char *found; // NULL: none
    } rows[] = {
        {"Users/fred.USR", "Users/Fred.usr"},
        {"Users\\FRED.usr", "Users/Fred.usr"},
        {"Users/Fred.usr", "Users/Fred.usr"},
        {"users/Fred.usr", nullptr}, // only the last element is matched blind to case
        {"Users/Abc.qpz", "Users/ABC.qpz"},
        {"Users/Jim.usr", nullptr},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.wanted);
        char out[ENG_FILE_PATH_SIZE];
        bool found = EngFileFindIgnoringCase(Path(row.wanted).c_str(), out, sizeof(out));
        EXPECT_EQ(found, row.found != nullptr);
        EXPECT_EQ(out, row.found ? Path(row.found) : std::string());
    }
}

TEST_F(FileTest, OutputLastErrorTexts)
{
    EngFileOutputLastError("int Loader::Load(int)", "fopen", true, 2, false);
    EXPECT_TRUE(LogHas("( Load@Loader )    fopen: Error 0x2: No such file or directory"));
    EngFileOutputLastError("SWin::CreateMainWindow", nullptr, true, 99999, false);
    EXPECT_TRUE(LogHas("( SWin::CreateMainWindow )    : Unknown error 0x1869f"));
    EngFileOutputLastError(nullptr, "context", true, 2, false);
    EXPECT_TRUE(LogHas("( context )    Error 0x2: No such file or directory"));
    int before = DebugGetNumMessages();
    EngFileOutputLastError("Here", "quiet", true, 2, true);
    EXPECT_EQ(DebugGetNumMessages(), before);
}
