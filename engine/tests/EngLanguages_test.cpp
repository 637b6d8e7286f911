#include "EngLanguages.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <vector>

#include "EngDebug.h"
#include "EngMemory.h"
#include "Testkit.h"

using testkit::TempHomeTest;

class LanguagesTest : public TempHomeTest
{
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        folder = Home() + "/texts";
        mkdir(folder.c_str(), 0700);
    }
    void TearDown() override
    {
        EngLanguagesFreeAll();
        TempHomeTest::TearDown();
    }
    void Write(const std::string &name, const std::string &bytes) { testkit::WriteFile(folder + "/" + name, bytes); }
    // Sets up with the folder and reads the current language.
    bool Start(const char *defaultName, bool englishOnly)
    {
        if (!EngLanguagesInit(folder.c_str(), defaultName, englishOnly))
            return false;
        EngLanguagesInitFinished();
        return true;
    }
    std::vector<std::string> SubTexts(const char *token)
    {
        int count = 0;
        int number = EngLanguagesGetTokenNumAndNumSubTextsForToken(token, &count);
        std::vector<std::string> texts;
        for (int i = 0; number >= 0 && i < count; i++)
            texts.push_back(EngLanguagesGetString(number, i));
        return texts;
    }

    std::string folder;
};

static const char *kEnglishHeader = "Language=English\r\nFlagCountryCode=UK\r\n";

TEST_F(LanguagesTest, ParsesSubTextsEscapesAndIgnoredLines)
{
    std::string key63(63, 'K');
    std::string key64(64, 'L');
    Write("English.txt", std::string(kEnglishHeader) +
                             "Split=A##B#C\r\n"
                             "Triple=A###B\n"
                             "Empty=\n"
                             "Trailing=A#B#\n"
                             "Lead=#A\n"
                             "Pairs=A##B##C\n"
                             "Break=Line\\nBreak\\n\n"
                             "Equals=x=y\n"
                             "Dup=first\n"
                             "Dup=second\n"
                             "=Value\n"
                             "; Comment=1\n"
                             "[Section=1]\n" +
                             key63 + "=kept\n" + key64 + "=dropped\n" + "Long=" + std::string(4090, 'x') + "\n" +
                             "TooLong=" + std::string(4088, 'x') + "\n" + "\n");
    ASSERT_TRUE(Start(nullptr, true));
    struct Row
    {
        std::string token;
        std::vector<std::string> texts;
    } rows[] = {
        {"Split", {"A#B", "C"}},
        {"Triple", {"A##B"}},
        {"Empty", {""}},
        {"Trailing", {"A", "B", ""}},
        {"Lead", {"", "A"}},
        {"Pairs", {"A#B##C"}},
        {"Break", {"Line\nBreak\n"}},
        {"Equals", {"x=y"}},
        {"Dup", {"first"}},
        {key63, {"kept"}},
        {key64, {}},
        {"Long", {std::string(4090, 'x')}},
        {"TooLong", {}},
        {"", {}},
        {"; Comment", {}},
        {"[Section", {}},
        {"Language", {"English"}},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.token.substr(0, 20));
        EXPECT_EQ(SubTexts(row.token.c_str()), row.texts);
    }
    EXPECT_STREQ(EngLanguagesGetLanguageNameNative(0), "English");
    EXPECT_STREQ(EngLanguagesGetCurrentFlagCountryCode(), "UK");
    EXPECT_STREQ(EngLanguagesGetCurrentLanguageName(), "English");
    EXPECT_TRUE(EngLangCheckIfCurrentLangEnglish());
}

TEST_F(LanguagesTest, LookUpsAndDefaults)
{
    // Before set-up every look-up answers its default, quietly.
    EXPECT_STREQ(EngLanguagesGetStringOrDefault("Common_Error", "Error"), "Error");
    EXPECT_FALSE(EngLanguagesDoesTokenExist("Common_Error"));
    EXPECT_EQ(DebugGetNumMessages(), 0);

    Write("English.txt", std::string(kEnglishHeader) + "Greeting=Hello#Hi\nCount=%1 of %2 %1\nOne=Player %1...\n");
    ASSERT_TRUE(Start("english", false));
    EXPECT_STREQ(EngLanguagesGetStringOrDefault("Greeting", "x"), "Hello");
    EXPECT_STREQ(EngLanguagesGetStringOrDefault("Nothing", "fallback"), "fallback");
    EXPECT_STREQ(EngLanguagesGetStringOrDefault(nullptr, "fallback"), "fallback");
    EXPECT_TRUE(EngLanguagesDoesTokenExist("Greeting"));
    EXPECT_FALSE(EngLanguagesDoesTokenExist("Nothing"));
    EXPECT_EQ(DebugGetNumMessages(), 0);

    EXPECT_STREQ(EngLanguagesGetString("Greeting", 1), "Hi");
    EXPECT_STREQ(EngLanguagesGetString("Greeting", 2), "");
    EXPECT_TRUE(LogHas("Invalid sub text num 2 for token <Greeting>"));
    EXPECT_STREQ(EngLanguagesGetString("Nothing", 0), "");
    EXPECT_TRUE(LogHas("Token not found [Nothing]."));
    EXPECT_TRUE(LogHas("Token <Nothing:0> not found"));
    EXPECT_STREQ(EngLanguagesGetString(99, 0), "");
    EXPECT_TRUE(LogHas("Token <99> does not exist"));
    EXPECT_EQ(EngLanguagesFindToken("Greeting", false), EngLanguagesGetTokenNumForToken("Greeting", 1, false));
    EXPECT_FALSE(EngLanguagesSetCurrentLanguage(5));
    EXPECT_TRUE(LogHas("Bad lang num 5."));
    EXPECT_TRUE(EngLanguagesSetCurrentLanguage(0));

    char out[32];
    EXPECT_TRUE(EngLanguagesSetStringFromTokenWith2Args("Count", "3", "5", out, sizeof(out)));
    EXPECT_STREQ(out, "3 of 5 %1");
    EXPECT_TRUE(EngLanguagesSetStringFromTokenWith1Arg("One", "Ann", out, sizeof(out)));
    EXPECT_STREQ(out, "Player Ann...");
    EXPECT_TRUE(EngLanguagesSetStringFromTokenWith2Args("Count", "3", "5", out, 14));
    EXPECT_FALSE(EngLanguagesSetStringFromTokenWith2Args("Count", "3", "5", out, 13));
    EXPECT_TRUE(LogHas("Lengths not ok (11 > 13 - 1 - 1)"));
    // Arguments longer than the whole output must not wrap the length check.
    char small[8];
    memset(small, 'z', sizeof(small));
    EXPECT_FALSE(EngLanguagesSetStringFromTokenWith2Args("Count", "123456789", "123456789", small, 4));
    EXPECT_EQ(std::string(small, 8), "zzzzzzzz");
    EXPECT_FALSE(EngLanguagesSetStringFromTokenWith2Args("Count", "3", "5", small, -1));
    EXPECT_FALSE(EngLanguagesSetStringFromTokenWith2Args("Count", nullptr, "5", out, sizeof(out)));
    EXPECT_FALSE(EngLanguagesSetStringFromTokenWith2Args("Nothing", "1", "2", out, sizeof(out)));
}

TEST_F(LanguagesTest, TranslationFallsBackToEnglish)
{
    Write("English.txt", std::string(kEnglishHeader) + "A=Apple\nB=Banana#Bananas\nC=Cherry#Cherries\nD=Date\n"
                                                        "D=Date again\n");
    // A translation saved as UTF-8 without a byte-order mark.
    Write("German.txt", "Language=Deutsch\t\r\nFlagCountryCode=DEU \r\n\r\n"
                        "A=Apfel \xC3\x84\n"
                        "C=Kirsche\n"
                        "D=^Dattel\n"
                        "E=\xE2\x82\xAC" "5\n"
                        "F=Stra\xC3\x9F" "e \xE2\x82\xAC\n"
                        "Z=Nur hier#und hier\n");
    ASSERT_TRUE(Start("GERMAN", false));
    EXPECT_EQ(EngLanguagesGetNumLanguages(), 2);
    EXPECT_EQ(EngLanguagesGetCurrentLanguageNumber(), 1);
    EXPECT_STREQ(EngLanguagesGetLanguageNameNative(1), "Deutsch");
    EXPECT_STREQ(EngLanguagesGetLanguageFlagCountryCode(1), "DE");
    EXPECT_STREQ(EngLanguagesGetLanguageFlagCountryCode(2), "");
    EXPECT_FALSE(EngLangCheckIfCurrentLangEnglish());

    EXPECT_STREQ(EngLanguagesGetStringOrDefault("A", ""), "Apfel \xC4");
    EXPECT_STREQ(EngLanguagesGetStringOrDefault("E", ""), "\xE2\x82\xAC" "5");
    EXPECT_STREQ(EngLanguagesGetStringOrDefault("F", ""), "Stra\xDF" "e ");
    // No fallback for the quiet look-up.
    EXPECT_STREQ(EngLanguagesGetStringOrDefault("B", "none"), "none");

    const char *apple = EngLanguagesGetStringForToken("A");
    DebugClearMessages();
    EXPECT_STREQ(EngLanguagesGetString("B", 1), "Bananas");
    EXPECT_TRUE(LogHas("Token <B:1> not translated"));
    EXPECT_TRUE(LogHas("Loading english texts"));
    int logged = DebugGetNumMessages();
    EXPECT_STREQ(EngLanguagesGetStringForToken("B"), "Banana");
    EXPECT_EQ(DebugGetNumMessages(), logged);
    EXPECT_STREQ(EngLanguagesGetStringOrDefault("B", "none"), "Banana");
    // Texts handed out earlier stay valid after fallback copies were added.
    EXPECT_STREQ(apple, "Apfel \xC4");
    EXPECT_STREQ(EngLanguagesGetString("Q", 0), "");
    EXPECT_TRUE(LogHas("Token not found [Q]."));

    EXPECT_TRUE(EngLanguagesSetCurrentLanguage(0));
    EXPECT_STREQ(EngLanguagesGetStringForToken("A"), "Apple");
    EXPECT_TRUE(EngLangCheckIfCurrentLangEnglish());
}

TEST_F(LanguagesTest, TranslationReport)
{
    Write("English.txt", std::string(kEnglishHeader) + "A=Apple\nB=Banana#Two\\nlines\nC=Cherry#Cherries\n"
                                                        "D=Date\nD=Date again\nL=One#Two#Three\n");
    Write("German.txt", "Language=Deutsch\nFlagCountryCode=DE\nA=Apfel\nC=Kirsche\nD=^Dattel\n"
                        "L=Eins#^Zwei#Drei#Vier\nZ=Nur hier\nZ=Doppelt\n");
    ASSERT_TRUE(Start("German", false));
    std::string log = LogText();
    const char *expected = "\nChecking translation...\n\n\n"
                           "Missing texts:\n"
                           "B=Banana#Two\\nlines\n"
                           "[C:1]=Cherries\n"
                           "D=Date\n"
                           "D=Date again\n"
                           "\n\n"
                           "Texts that don't exist:\n"
                           "[L:3]=Vier\n"
                           "Z=Nur hier\n"
                           "Z=Doppelt\n"
                           "\n\n"
                           "Duplicate texts in English file:\n"
                           "D\n"
                           "\n\n"
                           "Duplicate texts in translated file:\n"
                           "Z\n"
                           "\n\n"
                           "Check complete.\n"
                           "\n";
    EXPECT_NE(log.find(expected), std::string::npos) << log;
    // The report leaves the translation current.
    EXPECT_EQ(EngLanguagesGetCurrentLanguageNumber(), 1);
    EXPECT_STREQ(EngLanguagesGetStringOrDefault("A", ""), "Apfel");
}

TEST_F(LanguagesTest, DiscoveryAndFailures)
{
    std::string missing = Home() + "/none";
    EXPECT_FALSE(EngLanguagesInit(missing.c_str(), nullptr, true));
    EXPECT_TRUE(LogHas("Languages directory does not exists <" + missing + ">"));
    EXPECT_FALSE(EngLanguagesAreLoaded());
    EXPECT_STREQ(EngLanguagesGetStringOrDefault("A", "default"), "default");

    // The file-name test is case-sensitive, the default-name match is not.
    Write("english.txt", std::string(kEnglishHeader) + "A=Apple\n");
    EXPECT_FALSE(EngLanguagesInit(folder.c_str(), "ENGLISH", true));
    EXPECT_TRUE(LogHas("No language files found in directory <" + folder + ">"));
    EXPECT_TRUE(EngLanguagesInit(folder.c_str(), "ENGLISH", false));
    EXPECT_STREQ(EngLanguagesGetCurrentLanguageName(), "english");

    // Only names of 5 to 59 characters ending in ".txt" are language files.
    Write("x.txt", "Language=X\nFlagCountryCode=XX\n");
    Write("notes.TXT", "");
    Write(std::string(56, 'n') + ".txt", "");
    Write(std::string(55, 'm') + ".txt", "Language=M\nFlagCountryCode=MM\n");
    Write(".txt", "");
    EXPECT_TRUE(EngLanguagesInit(folder.c_str(), "Klingon", false));
    EXPECT_TRUE(LogHas("Already setup."));
    EXPECT_EQ(EngLanguagesGetNumLanguages(), 3);
    EXPECT_TRUE(LogHas("Could not find default language <Klingon> - using language 0 <english>"));

    // Broken files: a missing header, binary bytes, a file that is a folder; never a crash.
    EngLanguagesFreeAll();
    Write("Broken.txt", std::string("A=\0\xFF\xFE#\x01\n\n\n=\xC3", 11) + std::string(100000, '#') + "\nB=b\n");
    Write("Empty.txt", "");
    mkdir((folder + "/Folder.txt").c_str(), 0700);
    EXPECT_TRUE(EngLanguagesInit(folder.c_str(), "Broken", false));
    EXPECT_TRUE(LogHas("Could not get language name."));
    EXPECT_TRUE(LogHas("No FlagCountryCode entry."));
    EXPECT_TRUE(LogHas("Failed to get language name <Broken>"));
    EngLanguagesInitFinished();
    EXPECT_STREQ(EngLanguagesGetStringOrDefault("B", "default"), "b");
    EXPECT_STREQ(EngLanguagesGetStringOrDefault("A", "default"), "");
    for (int i = 0; i < EngLanguagesGetNumLanguages(); i++)
        EngLanguagesSetCurrentLanguage(i);
    EXPECT_STREQ(EngLanguagesGetStringOrDefault("Missing", "default"), "default");

    // Without a folder the program has English and no texts.
    EXPECT_TRUE(EngLanguagesInit(nullptr, nullptr, false));
    EXPECT_EQ(EngLanguagesGetNumLanguages(), 1);
    EXPECT_STREQ(EngLanguagesGetCurrentLanguageName(), "English");
    EngLanguagesInitFinished();
    EXPECT_STREQ(EngLanguagesGetStringOrDefault("A", "default"), "default");
}

TEST_F(LanguagesTest, NameAndNewLineHelpers)
{
    struct Row
    {
        const char *name;
        bool keep;
        bool result;
        const char *after;
    } rows[] = {
        {"", false, true, "English"},
        {"", true, true, "English"},
        {"German", false, true, "English"},
        {"German", true, false, "German"},
        {"English", false, false, "English"},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(std::string(row.name) + (row.keep ? " keep" : ""));
        char name[64];
        EngSafeStrcpy(name, row.name, sizeof(name));
        EXPECT_EQ(EngLanguagesSetLangNameStringToEnglish(name, row.keep, true), row.result);
        EXPECT_STREQ(name, row.after);
    }
    EXPECT_TRUE(LogHas("String empty."));
    EXPECT_FALSE(EngLanguagesSetLangNameStringToEnglish(nullptr, false, false));

    char *changed = EngLangChangeNewLinesToSlashNsInString("a\r\nb \"c\"\n", true);
    EXPECT_STREQ(changed, "a\\nb 'c'\\n");
    EngFree(changed, false, nullptr);
    changed = EngLangChangeNewLinesToSlashNsInString("\"q\"", false);
    EXPECT_STREQ(changed, "\"q\"");
    EngFree(changed, false, nullptr);
    EXPECT_EQ(EngLangChangeNewLinesToSlashNsInString(nullptr, false), nullptr);

    struct Conversion
    {
        const char *line;
        const char *result;
        bool converted;
    } conversions[] = {
        {"plain", "plain", false},
        {"caf\xC3\xA9", "caf\xE9", true},
        {"\xE2\x82\xAC only", "\xE2\x82\xAC only", false},
        {"\xE2\x82\xAC and \xC3\xA9", " and \xE9", true},
        {"\xC2\xA1\xC2\xAD\xC2\xA0\xC3\xBF", "\xA1\xFF", true},
        {"\xC3", "\xC3", false},
    };
    for (const Conversion &row : conversions)
    {
        SCOPED_TRACE(testing::PrintToString(std::string(row.line)));
        bool converted = !row.converted;
        char *result = ConvertUtf8ToExtendedAscii(row.line, &converted);
        EXPECT_STREQ(result, row.result);
        EXPECT_EQ(converted, row.converted);
        EXPECT_EQ(result == row.line, !row.converted);
        if (converted)
            EngFree(result, false, nullptr);
    }
}

// The game's own English texts: every token the program looks up, the three number lists
// (they have no default in code) and no duplicates.
TEST_F(LanguagesTest, GameEnglishTexts)
{
    // The game finds its texts folder from the folder it runs in.
    bool started = false;
    {
        testkit::WorkingFolder sourceFolder(PLINX_SOURCE_DIR);
        ASSERT_TRUE(sourceFolder.Entered());
        started = EngLanguagesInitCommonTexts("English", true);
    }
    ASSERT_TRUE(started);
    folder = std::string(PLINX_SOURCE_DIR) + "/Data/Common/CommonTexts";
    ASSERT_TRUE(Start("English", true));
    EXPECT_STREQ(EngLanguagesGetLanguageNameNative(0), "English");
    EXPECT_STREQ(EngLanguagesGetCurrentFlagCountryCode(), "UK");

    const char *tokens[] = {
        "Common_On", "Common_Off", "Common_Error", "Common_InternalError", "Common_Sorry", "Common_Loading",
        "Common_ButtonGoBack", "Common_ButtonContinue", "Common_Next", "Common_Previous", "Popup_OK", "Popup_Yes",
        "Popup_No", "Popup_Cancel", "Misc_GoOnline", "Misc_ExitProgramAndGoOnline", "Misc_NoInternetConnection",
        "Score_SubmittingScore", "Score_SubmittedScore", "Score_InternetProblemCommunicating",
        "Score_InternetScoreTooLowMinIs", "Score_BetterScoreExists", "Scores_Congratulations",
        "Scores_OldVersionNormal", "Updater_CheckingForUpdates", "Updater_CheckFailed", "Updater_NoNewVersionExists",
        "VSync_Auto", "Startup_Antialiasing", "Startup_AntialiasingMessage", "Startup_Vsync", "Startup_VsyncMessage",
        "Startup_CursorType", "Startup_CursorTypeMessage", "Startup_MouseSync", "Startup_MouseSyncMessage",
        "Users_ContinuePlayer", "Users_New", "Users_Load", "Users_Device", "Users_Exit", "Users_AlwaysLoad",
        "Users_SelectALanguage", "Users_DeleteSelect", "Users_LoadingPlayer", "UserNew_NameText",
        "UserNew_CountryText", "UserNew_Continue", "UserNew_EnterAPlayerName", "UserNew_NameTooLong",
        "UserNew_InvalidPlayerName", "UserNew_ThatPlayerAlreadyExists", "UserLoad_Load", "UserLoad_Delete",
        "UserLoad_Confirm", "Country_Title", "Country_Note", "Country_PleaseSelectACountryFirst", "Logs_Title",
        "Logs_CopySel", "Logs_CopyAll", "Logs_Clear", "GameAds_AlsoText", "GameAds_Download", "GameAds_TellAFriend",
    };
    for (const char *token : tokens)
    {
        SCOPED_TRACE(token);
        EXPECT_TRUE(EngLanguagesDoesTokenExist(token));
        EXPECT_STRNE(EngLanguagesGetStringOrDefault(token, ""), "");
    }
    struct List
    {
        const char *token;
        int count;
        const char *first;
        const char *last;
    } lists[] = {
        {"Misc_NumbersFrom1To40List", 40, "1", "40"},
        {"Misc_NumbersFrom0To39List", 40, "0", "39"},
        {"Misc_NumbersFromOffTo10List", 11, "OFF", "10"},
    };
    for (const List &list : lists)
    {
        SCOPED_TRACE(list.token);
        std::vector<std::string> items = SubTexts(list.token);
        ASSERT_EQ((int)items.size(), list.count);
        EXPECT_EQ(items.front(), list.first);
        EXPECT_EQ(items.back(), list.last);
    }
    EXPECT_STREQ(EngLanguagesGetStringOrDefault("Score_InternetScoreTooLowMinIs", ""),
                 "Your score is too low for the internet high scores list.\n\nThe current minimum score needed is:");
    char out[64];
    EXPECT_TRUE(EngLanguagesSetStringFromTokenWith1Arg("Users_LoadingPlayer", "ANN", out, sizeof(out)));
    EXPECT_STREQ(out, "Loading player ANN...");

    EngLangCheckTranslation();
    EXPECT_TRUE(LogHas("Current language is English."));
    EXPECT_EQ(LogText().find("Duplicate texts"), std::string::npos);
}
