// The text edit: starting and ending an edit, input filters, the length limit, the
// cursor keys, copy and paste through a recording clipboard, and a text longer than
// the field.
#include "GuiFixture.h"

#include <cstring>
#include <string>

#include "EngClipboard.h"

namespace
{

struct Board
{
    std::string text;
    bool has = false;
    static Board &Get()
    {
        static Board board;
        return board;
    }
    static bool Set(const char *text)
    {
        Get().text = text;
        Get().has = true;
        return true;
    }
    static bool Read(char *out, int32_t size)
    {
        if (!Get().has)
            return false;
        snprintf(out, (size_t)size, "%s", Get().text.c_str());
        return true;
    }
};
const _EngClipboardFunctions s_board = {Board::Set, Board::Read};

struct EditLog
{
    std::vector<_MWinButtonCallbackInfo> infos;
    static EditLog &Get()
    {
        static EditLog log;
        return log;
    }
    static void Record(MWin *, _MWinButtonCallbackInfo *info, int, int) { Get().infos.push_back(*info); }
};

class MWinTextEditTest : public guitest::GuiTest
{
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        Board::Get() = Board();
        EngClipboardSetFunctions(&s_board);
        EditLog::Get().infos.clear();
        window = MakeWindow();
        edit = window->AddButton("Name", MWIN_BUTTON_TEXT_EDIT, "", "", 10, 10, 200, 30, EditLog::Record, 0, 0);
        edit->SetFont("Main");
        edit->TextEditSetLength(10);
        mwin->SetSoundCallback(Sound, 0);
        Sounds().clear();
    }
    void TearDown() override
    {
        EngClipboardSetFunctions(nullptr);
        GuiTest::TearDown();
    }
    static std::vector<int> &Sounds()
    {
        static std::vector<int> sounds;
        return sounds;
    }
    static void Sound(int event, int) { Sounds().push_back(event); }
    void Type(const char *text)
    {
        for (const char *c = text; *c; c++)
            mwin->HandleInput(MWIN_INPUT_CHARACTER, (unsigned char)*c, 0);
    }
    void Edit(const char *start)
    {
        edit->TextEditSetText(start);
        Move(150, 125);
        ASSERT_TRUE(edit->TextEditTurnOnEditing(1));
    }
    std::string Text() { return edit->TextEditGetTextOrEmpty(); }

    MWinWindow *window = nullptr;
    MWinButton *edit = nullptr;
};

TEST_F(MWinTextEditTest, InputTypesFilterCharacterByCharacter)
{
    struct Row
    {
        int type;
        const char *start, *typed, *result;
    } rows[] = {
        {1, "", "-12", "-12"},   {1, "1", "-", "1"},     {1, "1.5", ".", "1.5"}, {1, "1.5", "-", "1.5"},
        {1, "12", "a", "12"},    {2, "192", "4", "192"}, {2, "192.", "1", "192.1"}, {2, "", ".", ""},
        {2, "1.", ".", "1."},    {3, "", "a b\tc", "abc"}, {0, "", "a b#$c", "a bc"},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(testing::Message() << row.type << " [" << row.start << "] + [" << row.typed << "]");
        edit->TextEditSetInputType(row.type);
        Edit(row.start);
        Type(row.typed);
        EXPECT_EQ(row.result, Text());
        edit->TextEditTurnOffEditing(false);
    }
}

TEST_F(MWinTextEditTest, TheLengthLimitKeepsAFullTextAndDropsMore)
{
    // A text of exactly the maximum length survives the start of an edit.
    Edit("abcdefghij");
    EXPECT_EQ("abcdefghij", Text());
    Sounds().clear();
    Type("k");
    EXPECT_EQ("abcdefghij", Text());
    EXPECT_EQ(std::vector<int>{MWIN_SOUND_TYPED}, Sounds());
    // Escape ends the edit, keeps the text, and the callback hears event 0.
    Key(27);
    Up(27);
    EXPECT_FALSE(edit->TextEditIsEditing());
    EXPECT_STREQ("abcdefghij", edit->GetTextP());
    ASSERT_FALSE(EditLog::Get().infos.empty());
    EXPECT_EQ(0, EditLog::Get().infos.back().textEditEvent);
    // A text set longer than the limit is cut to it.
    edit->TextEditSetText("0123456789ABC");
    EXPECT_STREQ("0123456789", edit->GetTextP());
    rendertest::LogMark();
    edit->TextEditSetLength(600);
    EXPECT_EQ(1, rendertest::CountLog("Length too long: 600"));
    EXPECT_EQ(511, edit->TextEditGetLength());
}

TEST_F(MWinTextEditTest, CursorKeysBackspaceAndDelete)
{
    Edit("hello");
    EXPECT_EQ(5, edit->TextEditGetCursor());
    struct Step
    {
        int key;
        int cursor;
        const char *text;
    } steps[] = {
        {36, 0, "hello"}, {8, 0, "hello"}, {46, 0, "ello"}, {39, 1, "ello"}, {39, 2, "ello"},
        {8, 1, "elo"},    {35, 3, "elo"},  {46, 3, "elo"},  {37, 2, "elo"},  {38, 2, "elo"},
    };
    for (const Step &step : steps)
    {
        SCOPED_TRACE(step.key);
        EXPECT_TRUE(Key(step.key));
        Up(step.key);
        EXPECT_EQ(step.cursor, edit->TextEditGetCursor());
        EXPECT_EQ(step.text, Text());
    }
    Type("X");
    EXPECT_EQ("elXo", Text());
    // Enter ends the edit confirmed: the text, the bound buffer and event 1.
    Key(13);
    Up(13);
    EXPECT_STREQ("elXo", edit->GetTextP());
    EXPECT_EQ(1, EditLog::Get().infos.back().textEditEvent);
    // Not editing, the editing keys are not taken; Enter starts an edit.
    EXPECT_FALSE(Key(37));
    Up(37);
    EXPECT_TRUE(Key(13));
    Up(13);
    EXPECT_TRUE(edit->TextEditIsEditing());
}

TEST_F(MWinTextEditTest, CopyAndPasteThroughTheClipboard)
{
    char bound[8] = "";
    edit->TextEditRegisterBuffer(bound, sizeof(bound));
    EXPECT_EQ(7, edit->TextEditGetLength());
    edit->TextEditSetInputType(3);
    Edit("ab");
    // Control+C copies the whole text.
    mwin->HandleInput(MWIN_INPUT_CHARACTER, 3, 0);
    EXPECT_EQ("ab", Board::Get().text);
    // A paste is read up to the room left (5 of 7) and goes through the filters one
    // character at a time.
    Board::Get().text = "c d\ne f g";
    mwin->HandleInput(MWIN_INPUT_CHARACTER, 22, 0);
    EXPECT_EQ("abcde", Text());
    mwin->HandleInput(MWIN_INPUT_CHARACTER, 22, 0);
    EXPECT_EQ("abcdec", Text()); // room for 2: "c " less its space
    Key(13);
    Up(13);
    EXPECT_STREQ(Text().c_str(), bound);
    // An empty clipboard pastes nothing.
    Board::Get() = Board();
    Edit("");
    mwin->HandleInput(MWIN_INPUT_CHARACTER, 22, 0);
    EXPECT_EQ("", Text());
}

TEST_F(MWinTextEditTest, ATextLongerThanTheFieldStaysWholeAndDraws)
{
    edit->TextEditSetLength(100);
    edit->SetArea(10, 10, 60, 30);
    std::string longText(80, 'w');
    Edit(longText.c_str());
    EXPECT_EQ(longText, Text());
    EXPECT_EQ(80, edit->TextEditGetCursor());
    mwin->RenderMain();
    Key(36);
    Up(36);
    mwin->RenderMain();
    Type("A");
    EXPECT_EQ("A" + longText, Text());
    // The idle field squeezes; editing draws from the cursor's side.
    edit->TextEditTurnOffEditing(true);
    mwin->RenderMain();
}

TEST_F(MWinTextEditTest, MouseStartsAndEndsAnEditAndAFieldWithoutLengthIsDeaf)
{
    Click(150, 125);
    EXPECT_TRUE(edit->TextEditIsEditing());
    EXPECT_TRUE(mwin->IsTextEditActive());
    Type("ok");
    // A click outside the field ends the edit, not confirmed.
    Click(380, 280);
    EXPECT_FALSE(edit->TextEditIsEditing());
    EXPECT_STREQ("ok", edit->GetTextP());
    EXPECT_EQ(0, EditLog::Get().infos.back().textEditEvent);

    MWinButton *deaf = window->AddButton("Deaf", MWIN_BUTTON_TEXT_EDIT, "", "", 10, 100, 200, 30);
    deaf->TextEditSetLength(0);
    Click(150, 215);
    EXPECT_FALSE(deaf->TextEditIsEditing());
    EXPECT_FALSE(Key(13));
    Up(13);
}

} // namespace
