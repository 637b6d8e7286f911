// The font registry: registration and its refusals, ids to numbers, text styles, and
// fonts that stay registered across the graphics release; a button taking a style.
#include "GuiFixture.h"

#include <string>

namespace
{
class MWinFontsTest : public guitest::GuiTest
{
protected:
    MWinFonts *Fonts() { return mwin->GetFonts(); }
    EngFont other;
};

TEST_F(MWinFontsTest, RegistrationAndItsRefusals)
{
    struct Row
    {
        const char *id;
        bool withFont;
        int number;
        const char *log;
    };
    const std::string longId(32, 'x'), fullId(31, 'y');
    const Row rows[] = {
        {"Second", true, 1, nullptr},
        {"Main", true, -2, "Font <Main> already created"},
        {"", true, -2, "No id specified"},
        {"NoFont", false, -2, "No font passed in"},
        // An id too long to store is refused outright: no font is left registered under no id.
        {longId.c_str(), true, -2, "Source string Too Long"},
        {fullId.c_str(), true, 2, nullptr},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.id);
        rendertest::LogMark();
        EXPECT_EQ(row.number, Fonts()->AddUserFontPointer(row.id, row.withFont ? &other : nullptr));
        if (row.log)
        {
            EXPECT_EQ(1, rendertest::CountLog(row.log));
        }
    }
    EXPECT_EQ(3, Fonts()->GetNumUserFonts());
    EXPECT_EQ(&font, Fonts()->GetUserFont("Main", true));
    EXPECT_EQ(&other, Fonts()->GetFont(1));
    EXPECT_TRUE(Fonts()->CreateFonts());
}

TEST_F(MWinFontsTest, IdsToNumbersAndNumbersToFonts)
{
    struct Row
    {
        const char *id;
        int number;
        int logLines;
    };
    const Row rows[] = {{"Main", 0, 0},
                        {MWIN_FONT_DEFAULT, -1, 0},
                        {MWIN_FONT_NONE, -2, 0},
                        {"", -2, 0},
                        {"Nope", -2, 1}};
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.id);
        rendertest::LogMark();
        EXPECT_EQ(row.number, Fonts()->GetFontNumFromID(row.id));
        EXPECT_EQ(row.logLines, rendertest::CountLog("does not exist"));
    }
    EXPECT_EQ(nullptr, Fonts()->GetFont(-1)); // no standard font in this program
    EXPECT_EQ(nullptr, Fonts()->GetFont(1));  // the count of user fonts
    EXPECT_EQ(nullptr, Fonts()->GetFont(-2));
    // Registered fonts stay the program's: the release keeps them and their numbers.
    Fonts()->DestroyFonts();
    EXPECT_FALSE(Fonts()->AreFontsCreated());
    EXPECT_EQ(&font, Fonts()->GetFont(0));
}

TEST_F(MWinFontsTest, StylesAccumulatePerFont)
{
    rendertest::LogMark();
    EXPECT_EQ(-1, Fonts()->AddFontStyleToFont(5, "Title", 1, 1, 1, 1, 1, 1));
    EXPECT_EQ(1, rendertest::CountLog("Bad font num 5 (1)"));
    EXPECT_EQ(-1, Fonts()->AddFontStyleToFont(0, "Flat", 1, 0, 1, 1, 1, 1));
    EXPECT_EQ(1, rendertest::CountLog("Bad parameters."));
    EXPECT_EQ(-1, Fonts()->AddFontStyleToFont(0, "", 1, 1, 1, 1, 1, 1));
    for (int i = 0; i < 18; i++)
        EXPECT_EQ(i, Fonts()->AddFontStyleToFont(0, ("Style" + std::to_string(i)).c_str(), 1.0f + i, 1, 1, 1, 1, 1));
    EXPECT_EQ(18, Fonts()->GetNumFontStyles(0));
    EXPECT_EQ(17, Fonts()->GetFontStyleIndex(0, "Style17"));
    EXPECT_FLOAT_EQ(18.0f, Fonts()->GetFontStyle(0, 17)->scaleX);
    EXPECT_EQ(-1, Fonts()->GetFontStyleIndex(0, "Missing"));
}

TEST_F(MWinFontsTest, AButtonTakesAFontAndAStyle)
{
    Fonts()->AddFontStyleToFont(0, "Heading", 1.5f, 1.25f, 1.0f, 0.8f, 0.2f, 1.0f);
    MWinWindow *window = MakeWindow();
    MWinButton *label = window->AddButton("Label", MWIN_BUTTON_STATIC, "", "Hello", 10, 10, 200, 30);
    EXPECT_EQ(MWIN_FONT_NUM_DEFAULT, label->GetFontNum());
    EXPECT_EQ(nullptr, label->GetEngFont());
    rendertest::LogMark();
    EXPECT_FALSE(label->SetFont(""));
    EXPECT_EQ(1, rendertest::CountLog("Font id is empty"));
    EXPECT_FALSE(label->SetFont("Unknown"));
    EXPECT_EQ(MWIN_FONT_NUM_DEFAULT, label->GetFontNum());
    EXPECT_TRUE(label->SetFont("Main"));
    EXPECT_EQ(&font, label->GetEngFont());
    EXPECT_TRUE(label->SetTextStyle("Heading"));
    float sx, sy, colour[4];
    label->GetTextScale(&sx, &sy);
    label->GetTextColour(colour);
    EXPECT_FLOAT_EQ(1.5f, sx);
    EXPECT_FLOAT_EQ(1.25f, sy);
    EXPECT_FLOAT_EQ(0.8f, colour[1]);
    EXPECT_FALSE(label->SetTextStyle("Nope"));
    // Measured with the style's scale: every character of the fixed-pitch font alike.
    float one = font.GetCharWidth('W');
    EXPECT_NEAR(5 * one * 1.5f, label->GetTextWidth(), 1e-3);
}
} // namespace
