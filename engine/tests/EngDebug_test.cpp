#include "EngDebug.h"

#include <gmock/gmock.h>
#include <regex>

#include "EngMemory.h"
#include "EngMisc.h"
#include "Testkit.h"

using testkit::TempHomeTest;

namespace
{
struct Widget
{
    int Create(int a, const char *b) { DebugError(ENG_FUNC, "Bad num %d.", a); return 0; }
};
void FreeReporter() { DebugErrorCode(ENG_FUNC, EngFourCC("NSTP")); }
} // namespace

class DebugTest : public TempHomeTest
{
};

TEST_F(DebugTest, ReportersWriteTheirExactLines)
{
    Widget().Create(7, "x");
    FreeReporter();
    DebugInfo("Hello %s", "there");
    DebugNote(DEBUG_NOTE_STANDARD, "A note");
    DebugLine("raw line");
    DebugCheck(false, "Some::Thing", "checked %d", 3);
    DebugInfoInFunction("int Foo::Bar()", "info");

    std::string log = LogText();
    const char *expected[] = {
        R"(\d+\.\d \|  <ERROR>  \( Create@Widget@\{anonymous\} \)    Bad num 7\.)",
        R"(\d+\.\d \|  <ERROR>  \( FreeReporter@\{anonymous\} \)    Not setup\.)",
        R"(\d+\.\d \|  :  Hello there)",
        R"(\d+\.\d \|  \*  A note)",
        R"(\nraw line\n)",
        R"(\d+\.\d \|  <ERROR>  \( Some::Thing \)    checked 3)",
        R"(\d+\.\d \|  :  Bar@Foo > info)",
    };
    for (const char *pattern : expected)
    {
        SCOPED_TRACE(pattern);
        EXPECT_TRUE(std::regex_search(log, std::regex(pattern))) << log;
    }
    EXPECT_EQ(DebugGetNumMessages(), 7);
    EXPECT_EQ(DebugGetMessage(3)->noteType, DEBUG_NOTE_STANDARD);
    EXPECT_EQ(DebugGetMessage(7), nullptr);
    EXPECT_EQ(DebugGetMessage(-1), nullptr);
}

TEST(DebugNames, ReadableNames)
{
    struct Row
    {
        const char *given;
        const char *readable;
    } rows[] = {
        {"int EngWindow::Create(int, const char*)", "Create@EngWindow"},
        {"void DebugError(const char*, const char*, ...)", "DebugError"},
        {"static bool json::Reader::Parse(int)", "Parse@Reader@json"},
        {"EngWindow::EngWindow()", "EngWindow@EngWindow"},
        {"?Create@EngWindow@@QAEHXZ", "Create@EngWindow"},
        {"SWin::CreateMainWindow", "SWin::CreateMainWindow"},
        {"const char* EngFile::Name() const", "Name@EngFile"},
        {"_WinMain@16", "_WinMain@16"},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.given);
        char out[128];
        DebugGetReadableName(row.given, out, sizeof(out));
        EXPECT_STREQ(out, row.readable);
    }
}

TEST_F(DebugTest, TableKeepsNewestHundredAfterTwoHundred)
{
    for (int i = 1; i <= 200; i++)
        DebugInfo("message %d", i);
    ASSERT_EQ(DebugGetNumMessages(), 100);
    EXPECT_STREQ(DebugGetMessage(0)->text, "--- LOGS REMOVED ---");
    EXPECT_THAT(DebugGetMessage(1)->text, testing::HasSubstr("message 102"));
    EXPECT_THAT(DebugGetMessage(99)->text, testing::HasSubstr("message 200"));
    DebugInfo("message 201");
    EXPECT_EQ(DebugGetNumMessages(), 101);
}

TEST_F(DebugTest, LongTextsAreTruncated)
{
    std::string longText(600, 'a');
    DebugDoString(longText.c_str(), DEBUG_MSG_INFO, 0);
    std::string stored = DebugGetMessage(0)->text;
    EXPECT_THAT(stored, testing::EndsWith(std::string(10, 'a') + " ... (TRUNCATED)"));
    EXPECT_EQ(stored.size(), strlen(" : ") + 1 + 462 + strlen(" ... (TRUNCATED)"));
}

TEST_F(DebugTest, ResultCodeTexts)
{
    EXPECT_STREQ(DebugGetResultCodeText(EngFourCC("OMEM")), "Out of memory.");
    EXPECT_STREQ(DebugGetResultCodeText(EngFourCC("UNKN")), "(Unknown)");
    EXPECT_STREQ(DebugGetResultCodeText(EngFourCC("UPDT")), "Needs updating.");
    EXPECT_STREQ(DebugGetResultCodeText(EngFourCC("ZZZZ")), "?");
    EXPECT_STREQ(DebugGetResultCodeText(0), "?");
}

TEST_F(DebugTest, LogFileNameRules)
{
    // The fallback log lives in the working folder: here the test's own home.
    {
        testkit::WorkingFolder inHome(Home());
        ASSERT_TRUE(inHome.Entered());
        EXPECT_FALSE(DebugSetLogFilename(std::string(300, 'x').c_str(), false));
        EXPECT_STREQ(DebugGetLogFilename(), "ErrorLog.txt");
        EXPECT_NE(testkit::ReadFile(home->File("ErrorLog.txt")).find("Filename too long"), std::string::npos);
        EXPECT_TRUE(DebugSetLogFilename("", false));
        EXPECT_STREQ(DebugGetLogFilename(), "ErrorLog.txt");
    }

    // The first line of a run replaces an old log; later lines append.
    testkit::WriteFile(logPath, "old contents\n");
    DebugShutdown();
    DebugSetLogFilename(logPath.c_str(), false);
    DebugInfo("first");
    DebugInfo("second");
    std::string log = LogText();
    EXPECT_EQ(log.find("old contents"), std::string::npos);
    EXPECT_NE(log.find("first"), std::string::npos);
    EXPECT_NE(log.find("second"), std::string::npos);

    DebugClearMessages();
    EXPECT_EQ(DebugGetNumMessages(), 0);
}

// A run that ends keeps the log where the program put it: the next run's first line
// starts that same file anew, never a file in the working folder.
TEST_F(DebugTest, ShutdownKeepsTheLogFileAndStartsItAnew)
{
    DebugError("First::Run", "from the first run");
    DebugShutdown();
    EXPECT_EQ(DebugGetNumMessages(), 0);
    EXPECT_EQ(DebugGetLogFilename(), logPath);
    DebugError("Second::Run", "from the second run");
    std::string log = LogText();
    EXPECT_EQ(log.find("from the first run"), std::string::npos) << log;
    EXPECT_NE(log.find("from the second run"), std::string::npos) << log;
    EXPECT_EQ(DebugGetNumMessages(), 1);
}

TEST_F(DebugTest, InfoTimedLogsOncePerInterval)
{
    double next = 0;
    EXPECT_TRUE(DebugInfoTimed(&next, 1000.0, "timed"));
    EXPECT_FALSE(DebugInfoTimed(&next, 1000.0, "timed"));
    EXPECT_EQ(DebugGetNumMessages(), 1);
}

TEST_F(DebugTest, PopupCodeShowsWarningBox)
{
    DebugDoString("Look out", DEBUG_MSG_POPUP, 0);
    ASSERT_EQ(boxes->calls.size(), 1u);
    EXPECT_EQ(boxes->calls[0].title, "Warning");
    EXPECT_EQ(boxes->calls[0].text, "Look out");
}

using DebugDeathTest = DebugTest;

TEST_F(DebugDeathTest, FatalCheckShowsReasonAndExits255)
{
    EXPECT_EXIT(
        {
            EngMiscSetMessageBoxHook(nullptr);
            DebugFatalIfFalse(false, "Here", "broken %d", 1);
        },
        testing::ExitedWithCode(255), "INTERNAL PROGRAM ERROR.*Reason:\n\nbroken 1");
    std::string log = LogText();
    EXPECT_NE(log.find("EXITING DUE TO FOLLOWING ERROR:"), std::string::npos);
    EXPECT_NE(log.find("( Here )    broken 1"), std::string::npos);
}

TEST_F(DebugDeathTest, FatalCheckPassingDoesNothing)
{
    EXPECT_TRUE(DebugFatalIfFalse(true, "Here", "fine"));
    EXPECT_EQ(DebugGetNumMessages(), 0);
}

// A fatal check failing while the exit path of another runs (here: from the message
// box) ends the process as well, and the log reports the first one only.
static int FailAgainFromMessageBox(const char *, const char *, int, int)
{
    DebugFatalIfFalse(false, "Second", "second failure");
    return 1;
}

TEST_F(DebugDeathTest, SecondFatalCheckAlsoEndsTheProcess)
{
    EXPECT_EXIT(
        {
            EngMiscSetMessageBoxHook(FailAgainFromMessageBox);
            DebugFatalIfFalseInFunction(false, "int Loader::Load()", "first failure");
            // Never reached: the second check must not return here.
            exit(0);
        },
        testing::ExitedWithCode(255), "");
    std::string log = LogText();
    EXPECT_NE(log.find("( Load@Loader )    first failure"), std::string::npos);
    EXPECT_EQ(log.find("second failure"), std::string::npos);
    EXPECT_EQ(log.find("EXITING DUE TO FOLLOWING ERROR:"), log.rfind("EXITING DUE TO FOLLOWING ERROR:"));
}
