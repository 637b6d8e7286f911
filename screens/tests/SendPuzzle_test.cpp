// The puzzle upload screen headless against the loopback server: reached from the
// puzzle properties, the terms question, the exact request, the replies and the wait
// after a puzzle was taken.
#include <string>

#include "CpProps.h"
#include "EngFile.h"
#include "GameState.h"
#include "PlatInet.h"
#include "Platform.h"
#include "Puzzles.h"
#include "ScoresMain.h"
#include "ScreensFixture.h"
#include "SendPuzzle.h"
#include "SendPuzzleEncode.h"
#include "TestkitHttp.h"

namespace
{

const char kScript[] = "/cgi-bin/plinx/puzzles/SendPuzzle.cgi";

class SendPuzzleTest : public screenstest::ScreensFixture
{
protected:
    void SetUp() override
    {
        ScreensFixture::SetUp();
        SendPuzzleReset();
        PlatInetSetLoopbackOnly(true);
        ASSERT_TRUE(server.Running());
        OnlineSetBaseAddress(server.BaseUrl().c_str());
        PrefFolderGetSubFolder(PUZZLES_OWN_FOLDER, true);
        PrefFolderGetSubFolder(PUZZLES_TEST_FOLDER, true);
    }
    void TearDown() override
    {
        OnlineSetBaseAddress(nullptr);
        SendPuzzleReset();
        PuzzlesReleaseEditor();
        PuzzlesShutdown();
        ScreensFixture::TearDown();
    }

    void PressButton(MWinButton *button)
    {
        ASSERT_NE(button, nullptr);
        _Dimension area = *button->GetScreenAreaP();
        Click(area.x + area.w * 0.5f, area.y + area.h * 0.5f);
        registry->Tick();
    }
    void Press(int widget) { PressButton(SendPuzzleGetWidget(widget)); }
    // Answers the open popup with its button `id` ("OK" for OK and Yes, "CANCEL" for No).
    void Answer(const char *id)
    {
        ASSERT_TRUE(mwin->IsPopupOn());
        PressButton(mwin->PopupGetButton(id));
        registry->Tick();
    }
    std::string PopupText()
    {
        if (!mwin->IsPopupOn())
            return "";
        MWinCollection *popup = mwin->GetDesktop()->GetCollectionFromID(MWIN_POPUP_COLLECTION_ID, false);
        std::string all;
        for (MWinWindow *window = popup ? popup->GetFirstWindow() : nullptr; window; window = window->GetNext())
        {
            if (window->GetTitle() && window->GetTitle()[0])
                all += std::string(window->GetTitle()) + "|";
            for (MWinButton *button = window->GetFirstButton(); button; button = button->GetNext())
                if (button->HasText())
                    all += std::string(button->GetTextP()) + "|";
        }
        return all;
    }
    // An own puzzle on the properties screen, then SEND there.
    void OpenFor(const char *name)
    {
        ASSERT_TRUE(PuzzlesReset(GAME_TYPE_MY_PUZZLES, name));
        ASSERT_TRUE(PuzzlesSaveToFile());
        ASSERT_TRUE(PuzzlePropertiesShow(registry, name)) << LogText();
        ASSERT_TRUE(CpPropsGetWidget(CPPROPS_SEND)->IsEnabled());
        PressButton(CpPropsGetWidget(CPPROPS_SEND));
        ASSERT_EQ(registry->GetCurrentScreen(), plinx_screen_send_puzzle) << LogText();
    }
    void Type(int widget, const char *text) { SendPuzzleGetWidget(widget)->TextEditSetText(text); }
    std::string Code(const std::string &text)
    {
        char out[SEND_PUZZLE_FILE_SIZE];
        EXPECT_TRUE(SendPuzzleEncodeString(out, sizeof(out), text.c_str()));
        return out;
    }
    std::string PuzzleFileText(const char *name)
    {
        EXPECT_TRUE(PuzzlesSetFilename(GAME_TYPE_MY_PUZZLES, name, 0));
        return testkit::ReadFile(PuzzlesGetFilename());
    }

    testkit::LoopbackHttpServer server;
};

TEST_F(SendPuzzleTest, TheAcceptedPuzzleGoesOutWithEveryTextEncoded)
{
    OpenFor("MINE");
    EXPECT_STREQ(SendPuzzleGetWidget(SEND_PUZZLE_NAME)->TextEditGetTextOrEmpty(), "Tester");
    EXPECT_FALSE(SendPuzzleGetWidget(SEND_PUZZLE_STATUS)->IsVisible());
    Type(SEND_PUZZLE_NAME, "Jo & Al / 100%");
    Type(SEND_PUZZLE_NOTE, "hard one");

    // Declining the terms sends nothing.
    Press(SEND_PUZZLE_SEND);
    EXPECT_NE(PopupText().find("DO YOU ACCEPT THE FOLLOWING ?"), std::string::npos) << PopupText();
    Answer("CANCEL");
    EXPECT_EQ(server.RequestCount(), 0u);

    server.Queue(testkit::HttpReply::Ok(" Y THANKS"));
    Press(SEND_PUZZLE_SEND);
    Answer("OK");
    ASSERT_EQ(server.RequestCount(), 1u) << LogText();
    std::string expected = std::string(kScript) + "?v=200&p=" + PlatformGetCurrentPlatform() + "&t=3&pn=" + Code("MINE") + "&n=" +
                           Code("JO & AL / 100%") + "&e=&d=" + Code(PuzzleFileText("MINE")) + "&m=" +
                           Code("HARD ONE");
    EXPECT_EQ(server.Requests()[0].target, expected);
    EXPECT_NE(PopupText().find("PUZZLE SENT OK|THANKS"), std::string::npos) << PopupText();
    mwin->PopupClose();

    // A second send within the minute waits, without asking the server.
    Press(SEND_PUZZLE_SEND);
    EXPECT_NE(PopupText().find("PLEASE WAIT SOME TIME"), std::string::npos) << PopupText();
    EXPECT_EQ(server.RequestCount(), 1u);
}

TEST_F(SendPuzzleTest, RefusalsAndRepliesEndInOnePopup)
{
    OpenFor("OTHER");
    struct Row
    {
        const char *name, *email;
        testkit::HttpReply reply;
        bool asked;
        const char *shown;
    } rows[] = {
        {"Zo\xeb", "", testkit::HttpReply::Ok(" Y"), false, "INVALID NAME"},
        {"Jo", "jo.example", testkit::HttpReply::Ok(" Y"), false, "INVALID EMAIL FORMAT"},
        {"Jo", "jo @x.org", testkit::HttpReply::Ok(" Y"), false, "REMOVE ANY SPACES"},
        {"Jo", "jo@x.org", testkit::HttpReply::Ok(" N HAVE IT"), true, "PUZZLE NOT SENT|HAVE IT"},
        {"Jo", "", testkit::HttpReply::Ok(" X 7"), true, "PROBLEM SENDING PUZZLE: 10007."},
        {"Jo", "", testkit::HttpReply::Ok(" X seven"), true, "PROBLEM SENDING PUZZLE [99]"},
        {"Jo", "", testkit::HttpReply::Ok(" V 200 201"), true, "OLD GAME VERSION"},
        {"Jo", "", testkit::HttpReply::Status(500, "down"), true, "NO INTERNET CONNECTION FOUND."},
    };
    size_t requests = 0;
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.shown);
        Type(SEND_PUZZLE_NAME, row.name);
        Type(SEND_PUZZLE_EMAIL, row.email);
        if (row.asked)
        {
            server.Queue(row.reply);
            requests++;
        }
        Press(SEND_PUZZLE_SEND);
        Answer("OK");
        EXPECT_EQ(server.RequestCount(), requests);
        EXPECT_NE(PopupText().find(row.shown), std::string::npos) << PopupText();
        mwin->PopupClose();
    }
}

TEST_F(SendPuzzleTest, NameAndEmailAreRememberedTheNoteIsNot)
{
    OpenFor("KEEP");
    Type(SEND_PUZZLE_NAME, "Someone");
    Type(SEND_PUZZLE_EMAIL, "s@x.org");
    Type(SEND_PUZZLE_NOTE, "gone");
    Press(SEND_PUZZLE_BACK);
    EXPECT_EQ(registry->GetCurrentScreen(), plinx_screen_cp_props);
    PressButton(CpPropsGetWidget(CPPROPS_SEND));
    EXPECT_STREQ(SendPuzzleGetWidget(SEND_PUZZLE_NAME)->TextEditGetTextOrEmpty(), "Someone");
    EXPECT_STREQ(SendPuzzleGetWidget(SEND_PUZZLE_EMAIL)->TextEditGetTextOrEmpty(), "s@x.org");
    EXPECT_STREQ(SendPuzzleGetWidget(SEND_PUZZLE_NOTE)->TextEditGetTextOrEmpty(), "");
}

} // namespace
