// The game's look for the GUI, headless: the texture buttons cut from the button sheet
// (also when the sheet is missing), the standard slots replaced by a second set-up, the
// text styles of the font "Main", the font built once, and the layout metrics.
#include <string>

#include "EngFont.h"
#include "GuiFixture.h"
#include "PlinxMWinSetup.h"

namespace
{

const char *const kGameTexButs[] = {"ArrowL", "ArrowR", "Back1", "Back2", "Black",
                                    "Box",    "Main",   "Panel", "Start", "TitleBack"};

class PlinxMWinSetupTest : public guitest::GuiTest
{
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        folder = new testkit::WorkingFolder(std::string(PLINX_DATA_DIR) + "/..");
        ASSERT_TRUE(folder->Entered());
    }

    void TearDown() override
    {
        delete folder;
        GuiTest::TearDown();
    }

    testkit::WorkingFolder *folder = nullptr;
};

TEST_F(PlinxMWinSetupTest, EveryTextureButtonAndStandardSlotIsCutFromTheSheet)
{
    ASSERT_TRUE(PlinxMWinSetupTexturesAndTexButs(mwin)) << LogText();
    MWinTextures *textures = mwin->GetTextures();
    for (const char *id : kGameTexButs)
    {
        SCOPED_TRACE(id);
        EXPECT_GE(textures->GetTexButNum(id), 0);
    }
    // "Main" has four states of its own; "Back1" draws nothing on hover.
    _MWinTextureButton *main = textures->GetTexBut(textures->GetTexButNum("Main"));
    ASSERT_NE(main, nullptr);
    EXPECT_FLOAT_EQ(main->states[MWIN_TEXSTATE_HOVER].left, 0.251f);
    EXPECT_FLOAT_EQ(main->states[MWIN_TEXSTATE_DISABLED].right, 0.999f);
    EXPECT_EQ(main->styleX, 2);
    EXPECT_FLOAT_EQ(main->capSizeX, 9.0f);
    _MWinTextureButton *back = textures->GetTexBut(textures->GetTexButNum("Back1"));
    EXPECT_LT(back->states[MWIN_TEXSTATE_HOVER].texture, 0);
    // The standard slots the game sets; 4 and 33 keep the toolkit's.
    for (int slot = 0; slot < MWIN_NUM_STD_TEXBUTS; slot++)
    {
        SCOPED_TRACE(slot);
        if (slot == MWIN_STD_NONE_4 || slot == MWIN_STD_NONE_33)
            continue;
        EXPECT_NE(textures->GetStandardTexButID(slot), nullptr);
    }
    EXPECT_STREQ(textures->GetStandardTexButID(MWIN_STD_PUSH_BUTTON)->id, "StdPushButton");
    EXPECT_FLOAT_EQ(textures->GetStandardTexButID(MWIN_STD_TAB_ROW_SEL)->states[0].g, 0.61f);

    // A second set-up replaces the standard slots rather than failing on them.
    EXPECT_TRUE(PlinxMWinSetupTexturesAndTexButs(mwin)) << LogText();
    EXPECT_STREQ(textures->GetStandardTexButID(MWIN_STD_WHITE)->id, "StdWhite");
}

TEST_F(PlinxMWinSetupTest, AMissingSheetIsReportedAndEveryButtonIsStillDefined)
{
    testkit::WorkingFolder empty(Home());
    ASSERT_TRUE(empty.Entered());
    PlinxMWinSetupTexturesAndTexButs(mwin);
    mwin->CreateGraphicsObjects();
    EXPECT_TRUE(LogHas("Data/PlinxButtons.tga")) << LogText();
    for (const char *id : kGameTexButs)
    {
        SCOPED_TRACE(id);
        EXPECT_GE(mwin->GetTextures()->GetTexButNum(id), 0);
    }
}

TEST_F(PlinxMWinSetupTest, TheEighteenStylesOfTheMainFont)
{
    int fontNumber = mwin->GetFonts()->GetFontNumFromID("Main");
    ASSERT_GE(fontNumber, 0);
    int before = mwin->GetFonts()->GetNumFontStyles(fontNumber);
    ASSERT_TRUE(PlinxMWinAddFirstUserFontsStylesToFont(mwin, fontNumber));
    EXPECT_EQ(mwin->GetFonts()->GetNumFontStyles(fontNumber), before + 18);
    int yellow = mwin->GetFonts()->GetFontStyleIndex(fontNumber, "Heading 2 Yellow");
    ASSERT_GE(yellow, 0);
    const _MWinFontStyle *style = mwin->GetFonts()->GetFontStyle(fontNumber, yellow);
    EXPECT_FLOAT_EQ(style->scaleX, 1.3f);
    EXPECT_FLOAT_EQ(style->scaleY, 1.42f);
    EXPECT_FLOAT_EQ(style->b, 0.21f);
    EXPECT_FALSE(PlinxMWinAddFirstUserFontsStylesToFont(mwin, -1));
    EXPECT_TRUE(LogHas("Bad font num -1:"));
}

TEST_F(PlinxMWinSetupTest, TheFontIsBuiltOnceAndOnlyAsNumberZero)
{
    EngFont built;
    EXPECT_FALSE(PlinxMWinCreateFontApart(1, "Data/VeraBd.ttf", &built));
    EXPECT_TRUE(LogHas("Bad font number 1"));
    EXPECT_FALSE(PlinxMWinCreateFontApart(0, "", &built));
    ASSERT_TRUE(PlinxMWinCreateFontApart(0, "Data/VeraBd.ttf", &built));
    EXPECT_TRUE(built.IsCreated());
    // Built already: nothing happens, even with a file that does not exist.
    EXPECT_TRUE(PlinxMWinCreateFontApart(0, "Data/Missing.ttf", &built));
    built.Destroy();
}

TEST_F(PlinxMWinSetupTest, TheNormalLayoutGetsTheGamesMetrics)
{
    ASSERT_TRUE(PlinxMWinSetupLayoutParameters(mwin));
    _MWinSettings settings;
    mwin->GetDefaultSettings(&settings);
    EXPECT_TRUE(settings.activateCollectionUnderMouse);
    EXPECT_FALSE(settings.activateWindowUnderMouse);
    const _MWinLayoutSettings &normal = settings.layoutDefaults[SCREEN_LAYOUT_NORMAL];
    EXPECT_FLOAT_EQ(normal.defaultButtonWidth, 60.0f);
    EXPECT_FLOAT_EQ(normal.defaultButtonHeight, 20.0f);
    EXPECT_FLOAT_EQ(normal.twoLineSpacing, 7.1f);
    EXPECT_FLOAT_EQ(normal.kind20[1], 12.0f);
    EXPECT_FLOAT_EQ(normal.kind20[18], 3.0f);
    EXPECT_FLOAT_EQ(settings.layoutDefaults[SCREEN_LAYOUT_IPHONE_PORTRAIT].defaultButtonHeight, 45.0f);
}

} // namespace
