// The product catalogue and the other products screen headless: the rows shown and the
// stepping between them, the links path, the recommendation page's escaped address opened
// through the browser service, and the screen's pictures, sizes and one-tick-late presses.
#include <string>
#include <vector>

#include "EngTexture.h"
#include "EngWindow.h"
#include "GameAds.h"
#include "GameAdsCC.h"
#include "ScreensFixture.h"
#include "ScreensOnline.h"
#include "Select.h"

namespace
{

struct Opened
{
    std::string url;
    bool exitFirstFullScreen, exitFirstWindowed;
};
std::vector<Opened> &Pages()
{
    static std::vector<Opened> pages;
    return pages;
}

class GameAdsTest : public screenstest::ScreensFixture
{
protected:
    void SetUp() override
    {
        ScreensFixture::SetUp();
        ScreensSetPageOpener([](MWin *, const char *, const char *url, bool, bool, bool full, bool windowed) {
            Pages().push_back({url, full, windowed});
        });
        Pages().clear();
        GameAdsSetupAdsToBeIncluded();
        GameAdsSetCurAdPointer(nullptr);
        GameAdsSetCurGameAd(0);
    }

    void TearDown() override
    {
        ScreensSetPageOpener(nullptr);
        GameAdsSetDownloadHook(nullptr);
        GameAdsReleaseGraphics();
        ScreensFixture::TearDown();
    }

    GameAdsCC *Screen() { return registry->GetGameAdsCC(); }

    void Open()
    {
        Press(SelectGetWidget(SELECT_OTHER_GAMES));
        ASSERT_EQ(registry->GetCurrentScreen(), EngFourCC("GADS")) << LogText();
    }

    // A click, delivered to the controller on the next tick and acted on the one after.
    void Press(MWinButton *button)
    {
        ASSERT_NE(button, nullptr);
        _Dimension area = *button->GetScreenAreaP();
        Click(area.x + area.w * 0.5f, area.y + area.h * 0.5f);
        registry->Tick();
        registry->Tick();
    }

    std::string Title() { return Screen()->GetWidget(GameAdsCC::TITLE)->GetTextP(); }
};

TEST_F(GameAdsTest, StepsOverTheShownRowsAndWrapsAround)
{
    EXPECT_EQ(GameAdsGetNumIncluded(), 11);
    struct
    {
        int set, current;
    } rows[] = {{10, 10}, {2, 5}, {30, 0}, {-1, 0}, {32, 0}};
    for (const auto &row : rows)
    {
        SCOPED_TRACE(row.set);
        GameAdsSetCurGameAd(row.set);
        EXPECT_EQ(GameAdsGetCurrentRow(), row.current);
    }
    GameAdsSetCurGameAd(29);
    GameAdsGoToNextAd();
    EXPECT_EQ(GameAdsGetCurrentRow(), 0);
    GameAdsGoToPrevAd();
    EXPECT_EQ(GameAdsGetCurrentRow(), 29);
    // The caller's slot follows every change.
    int16_t slot = 9;
    GameAdsSetCurAdPointer(&slot);
    EXPECT_EQ(GameAdsGetCurrentRow(), 9);
    GameAdsGoToNextAd();
    EXPECT_EQ(slot, 10);
    GameAdsSetCurAdPointer(nullptr);
}

TEST_F(GameAdsTest, TheLinksPathMustEndInASlashAndFitWhole)
{
    ASSERT_TRUE(GameAdsSetInternetLinksPath("https://a.test/plinx/iga/", "Plinx_PC", "Ann"));
    struct
    {
        std::string path;
        const char *program;
    } refused[] = {{"https://a.test/no-slash", "Plinx_PC"},
                   {"a/", "Plinx_PC"},
                   {"https://a.test/" + std::string(241, 'x') + "/", "Plinx_PC"}, // 257 characters
                   {"https://b.test/", "Abc"}};
    for (const auto &row : refused)
    {
        SCOPED_TRACE(row.path.size());
        EXPECT_FALSE(GameAdsSetInternetLinksPath(row.path.c_str(), row.program, "Ann"));
        EXPECT_STREQ(GameAdsGetInternetLinksPath(), "https://a.test/plinx/iga/");
    }
    std::string longest = "https://a.test/" + std::string(239, 'x') + "/"; // 255 characters
    ASSERT_TRUE(GameAdsSetInternetLinksPath(longest.c_str(), "Plinx_PC", std::string(80, 'n').c_str()));
    EXPECT_EQ(GameAdsGetInternetLinksPath(), longest);
}

TEST_F(GameAdsTest, TellAFriendEscapesEveryValueAndOpensThroughTheBrowserAfterExit)
{
    ASSERT_TRUE(GameAdsSetInternetLinksPath("https://a.test/plinx/iga/", "Plinx_PC", "Ann & Bo=1?#"));
    GameAdsSetCurGameAd(9);
    ASSERT_TRUE(GameAdsTellAFriend());
    ASSERT_EQ(Pages().size(), 1u);
    EXPECT_EQ(Pages()[0].url, "https://www.fernbrooks.example/cgi-bin/common/friend/ShowTellAFriend.cgi?"
                              "from_prog=Plinx_PC&rec=WordOrchard&&user_name=Ann%20%26%20Bo%3D1%3F%23");
    EXPECT_TRUE(Pages()[0].exitFirstFullScreen);
    EXPECT_TRUE(Pages()[0].exitFirstWindowed);
}

TEST_F(GameAdsTest, TheScreenShowsTheRowWithItsPicturesAndStepsOneTickLate)
{
    Open();
    EXPECT_EQ(Title(), "MARBLE TIDE");
    EXPECT_TRUE(GameAdsGetPicTexture1()->IsLoaded()) << LogText();
    EXPECT_TRUE(GameAdsGetPicTexture2()->IsLoaded());
    EXPECT_TRUE(Screen()->GetPicture("Pic1")->IsVisible());
    EXPECT_FALSE(Screen()->GetPicture("PicCen")->IsVisible());
    EXPECT_EQ(Screen()->GetPicture("PicCenBg"), nullptr);
    // Without the download service the button is off and does not pulse.
    EXPECT_FALSE(Screen()->GetWidget(GameAdsCC::DOWNLOAD)->IsEnabled());

    // A press is acted on one tick after it reached the controller.
    MWinButton *next = Screen()->GetWidget(GameAdsCC::NEXT);
    _Dimension area = *next->GetScreenAreaP();
    Click(area.x + area.w * 0.5f, area.y + area.h * 0.5f);
    registry->Tick();
    EXPECT_EQ(Title(), "MARBLE TIDE");
    registry->Tick();
    EXPECT_EQ(Title(), "STAR LANES");
    // The arrow keys step too.
    EngKeyStates[ENG_VK_LEFT] = 2;
    registry->Tick();
    EXPECT_EQ(Title(), "MARBLE TIDE");
    EngKeyStates[ENG_VK_RIGHT] = 2;
    registry->Tick();
    EXPECT_EQ(Title(), "STAR LANES");
}

TEST_F(GameAdsTest, OnePictureShowsCentredAndAPngTitleHidesTheFrames)
{
    // The main menu opens the row shown last; a step shows another.
    Open();
    GameAdsSetCurGameAd(10);
    Screen()->StartingCB(nullptr);
    EXPECT_EQ(Title(), "GEM CASCADE");
    for (const char *id : {"Pic1Bg", "Pic1", "Pic2Bg", "Pic2"})
        EXPECT_FALSE(Screen()->GetPicture(id)->IsVisible()) << id;
    EXPECT_TRUE(Screen()->GetPicture("PicCen")->IsVisible());

    GameAdsSetCurGameAd(28);
    Screen()->StartingCB(nullptr);
    EXPECT_EQ(Title(), "LANTERN MAZE");
    EXPECT_EQ(GameAdsGetCurrentGameAdVars()->hasAlpha, 1);
    EXPECT_FALSE(Screen()->GetPicture("Pic1Bg")->IsVisible());
    EXPECT_TRUE(Screen()->GetPicture("Pic1")->IsVisible());
}

TEST_F(GameAdsTest, EscapeLeavesThroughTheWindowsBackButtonAndReleasesThePictures)
{
    Open();
    ASSERT_NE(Screen()->GetBackButton(), nullptr);
    ASSERT_TRUE(Key(ENG_VK_ESCAPE));
    registry->Tick();
    registry->Tick();
    EXPECT_EQ(registry->GetCurrentScreen(), plinx_screen_select);
    EXPECT_FALSE(GameAdsGetPicTexture1()->IsLoaded());
}

TEST_F(GameAdsTest, DownloadGoesThroughTheOnlineHookWithTheRowsProduct)
{
    static int product;
    static std::string link;
    GameAdsSetDownloadHook([](int number, const char *address) {
        product = number;
        link = address;
        return true;
    });
    Open();
    GameAdsSetCurGameAd(11);
    Screen()->StartingCB(nullptr);
    MWinButton *download = Screen()->GetWidget(GameAdsCC::DOWNLOAD);
    ASSERT_TRUE(download->IsEnabled());
    Press(download);
    EXPECT_EQ(product, 4);
    EXPECT_EQ(link, "https://www.fernbrooks.example/downloads/CardIslesSetup.tar.gz");
}

} // namespace
