// The puzzle properties screen headless: the choices bound to the puzzle, the late
// renaming with its refusals, and the editor road from a new puzzle through design, a
// test run with a shot and its undo, back to the properties and out, with the files it
// leaves.
#include <sys/stat.h>

#include <string>
#include <vector>

#include "CpProps.h"
#include "EngMemory.h"
#include "EngPrefFolder.h"
#include "EngProgram.h"
#include "EngWindow.h"
#include "GameState.h"
#include "Plinx.h"
#include "Puzzles.h"
#include "SaveGame.h"
#include "ScreensFixture.h"
#include "ScreensOnline.h"
#include "Tick.h"

namespace
{

using screenstest::ProgramDouble;

std::vector<std::string> &OpenedPages()
{
    static std::vector<std::string> pages;
    return pages;
}

class CpPropsTest : public screenstest::ScreensFixture
{
protected:
    // The program's switches as the real one makes them: the callback runs at the end of
    // the fade (here at once), and the GUI goes off or on.
    void FillHooks(_AppHooks *hooks) override
    {
        hooks->goFromMenusToGame = [](GameSwitchCallback callback, char now) {
            ProgramDouble::Calls().push_back("to game");
            ProgramDouble::GuiOn() = false;
            if (callback)
                callback();
        };
        hooks->goFromGameToMenus = [](ScreenId screen, GameSwitchCallback callback, char now) {
            ProgramDouble::GoFromMenusToGame(nullptr, 0);
            ProgramDouble::Calls().back() = "to menus " + std::string(EngFourCCToString(screen));
            ProgramDouble::GuiOn() = true;
        };
    }

    void SetUp() override
    {
        ScreensFixture::SetUp();
        EngFrameTiming.frameTime = 1.0f / 60.0f;
        EngScreenSettings.windowed = 1;
        ScreensSetPageOpener([](MWin *, const char *, const char *url, bool, bool, bool, bool) {
            OpenedPages().push_back(url);
        });
        OpenedPages().clear();
        ownFolder = PrefFolderGetSubFolder(PUZZLES_OWN_FOLDER, true);
        testFolder = PrefFolderGetSubFolder(PUZZLES_TEST_FOLDER, true);
    }

    void TearDown() override
    {
        ScreensSetPageOpener(nullptr);
        PuzzlesReleaseEditor();
        PuzzlesShutdown();
        ScreensFixture::TearDown();
    }

    MWinButton *Widget(int widget) { return CpPropsGetWidget(widget); }

    void Press(int widget)
    {
        MWinButton *button = Widget(widget);
        ASSERT_NE(button, nullptr);
        _Dimension area = *button->GetScreenAreaP();
        Click(area.x + area.w * 0.5f, area.y + area.h * 0.5f);
        registry->Tick();
    }

    // A choice changed by the player: the new item, then the notification's tick.
    void Choose(int widget, int item)
    {
        Widget(widget)->ChoiceSetSel(item, 1);
        registry->Tick();
    }

    bool Exists(const std::string &path)
    {
        struct stat info;
        return stat(path.c_str(), &info) == 0;
    }
    std::string Own(const std::string &name) { return ownFolder + "/" + name + ".qpz"; }
    std::string Tes(const std::string &name) { return testFolder + "/" + name + ".tes"; }

    // A saved own puzzle shown on the screen, as the set-up screen hands it over.
    void ShowNew(const char *name)
    {
        ASSERT_TRUE(PuzzlesReset(GAME_TYPE_MY_PUZZLES, name));
        ASSERT_TRUE(PuzzlesSaveToFile());
        ASSERT_TRUE(PuzzlePropertiesShow(registry, name)) << LogText();
        ASSERT_EQ(registry->GetCurrentScreen(), plinx_screen_cp_props);
    }

    std::string ownFolder, testFolder;
};

TEST_F(CpPropsTest, WidthAndBallTypesShowTheirValuesAndOutOfRangeOnesAreMended)
{
    struct
    {
        int width, types;
        int shownWidthItem, storedWidth, shownTypesItem, storedTypes;
        const char *widthText;
    } rows[] = {{7, 1, 0, 7, 0, 1, "5"}, {22, 10, 15, 22, 9, 10, "20"}, {6, 0, 4, 11, 4, 5, "9"},
                {23, 11, 4, 11, 4, 5, "9"}};
    ShowNew("SIZES");
    for (const auto &row : rows)
    {
        SCOPED_TRACE(row.width);
        GameState.puzzle.width = row.width;
        GameState.puzzle.numBallTypes = row.types;
        registry->GotoScreen(plinx_screen_select, nullptr);
        registry->GotoScreen(plinx_screen_cp_props, nullptr);
        EXPECT_EQ(Widget(CPPROPS_WIDTH)->ChoiceGetSel(), row.shownWidthItem);
        EXPECT_STREQ(Widget(CPPROPS_WIDTH)->ChoiceGetString(row.shownWidthItem), row.widthText);
        EXPECT_EQ(GameState.puzzle.width, row.storedWidth);
        EXPECT_EQ(Widget(CPPROPS_BALL_TYPES)->ChoiceGetSel(), row.shownTypesItem);
        EXPECT_EQ(GameState.puzzle.numBallTypes, row.storedTypes);
    }
    Choose(CPPROPS_WIDTH, 2);
    EXPECT_EQ(GameState.puzzle.width, 9);
    Choose(CPPROPS_BALL_TYPES, 2);
    EXPECT_EQ(GameState.puzzle.numBallTypes, 3);
    // The amounts are bound to the puzzle's bytes; the hidden land-up keeps its value.
    GameState.puzzle.arcadeLandUp = 7;
    Choose(CPPROPS_MOVE_DOWN, 12);
    EXPECT_EQ(GameState.puzzle.moveDown, 12);
    EXPECT_FALSE(Widget(CPPROPS_LAND_UP)->IsVisible());
    EXPECT_EQ(GameState.puzzle.arcadeLandUp, 7);
}

TEST_F(CpPropsTest, NamesAreCleanedToWhatAPuzzleFileCanHold)
{
    struct
    {
        const char *typed, *clean;
    } rows[] = {{"my puzzle", "MY PUZZLE"},         {"../../etc/x", "ETCX"},
                {"  spaced.  ", "SPACED"},          {"a:b*c?d\"e<f>g|h", "ABCDEFGH"},
                {"tab\there\x01", "TABHERE"},        {"ABCDEFGHIJKLMNOPQRS", "ABCDEFGHIJKLMNO"},
                {"ABCDEFGHIJKLMN. X", "ABCDEFGHIJKLMN"}, {"...", ""}};
    for (const auto &row : rows)
    {
        SCOPED_TRACE(row.typed);
        char clean[PUZZLE_NAME_SIZE];
        CpPropsCleanName(row.typed, clean, sizeof(clean));
        EXPECT_STREQ(clean, row.clean);
        if (clean[0])
        {
            EXPECT_TRUE(PuzzlesIsValidName(clean));
        }
    }
}

TEST_F(CpPropsTest, RenamingSavesUnderTheNewNameThenRemovesTheOldAndRefusesBadNames)
{
    ShowNew("OTHER");
    ShowNew("FIRST");
    EXPECT_EQ(Widget(CPPROPS_NAME)->TextEditGetLength(), PUZZLE_MAX_NAME_LENGTH);
    // Refused: empty, and the name another own puzzle has (in any case); the screen stays.
    for (const char *typed : {"", " . ", "other"})
    {
        SCOPED_TRACE(typed);
        Widget(CPPROPS_NAME)->TextEditSetText(typed);
        Press(CPPROPS_QUIT);
        EXPECT_EQ(registry->GetCurrentScreen(), plinx_screen_cp_props);
        EXPECT_TRUE(mwin->IsPopupOn());
        mwin->PopupClose();
        registry->Tick();
        EXPECT_STREQ(GameState.puzzle.name, "FIRST");
        EXPECT_STREQ(Widget(CPPROPS_NAME)->TextEditGetTextP(), "FIRST");
        EXPECT_TRUE(Exists(Own("FIRST")));
    }
    // Its own name changes no file; a new one leaves nothing under the old.
    Widget(CPPROPS_NAME)->TextEditSetText("first");
    Press(CPPROPS_QUIT);
    EXPECT_TRUE(Exists(Own("FIRST")));
    ShowNew("FIRST");
    Widget(CPPROPS_NAME)->TextEditSetText("second");
    Press(CPPROPS_QUIT);
    EXPECT_FALSE(Exists(Own("FIRST")));
    EXPECT_TRUE(Exists(Own("SECOND")));
    EXPECT_STREQ(GameState.puzzle.name, "SECOND");
    EXPECT_EQ(registry->GetCurrentScreen(), plinx_screen_main) << "back to the set-up screen";
}

TEST_F(CpPropsTest, ARenameWhoseSaveFailsKeepsTheOldPuzzle)
{
    ShowNew("KEEPME");
    // A folder where the new file would go makes the save fail.
    ASSERT_EQ(mkdir(Own("BLOCKED").c_str(), 0700), 0);
    Widget(CPPROPS_NAME)->TextEditSetText("BLOCKED");
    Press(CPPROPS_QUIT);
    EXPECT_EQ(registry->GetCurrentScreen(), plinx_screen_cp_props);
    EXPECT_TRUE(mwin->IsPopupOn());
    EXPECT_STREQ(GameState.puzzle.name, "KEEPME");
    EXPECT_TRUE(Exists(Own("KEEPME")));
    ASSERT_TRUE(PuzzlesLoadFromFile(GAME_TYPE_MY_PUZZLES, "KEEPME")) << LogText();
}

TEST_F(CpPropsTest, SendLeadsToTheUploadScreenAndHelpOpensTheLocalPage)
{
    ShowNew("HELPED");
    EXPECT_TRUE(Widget(CPPROPS_SEND)->IsVisible());
    ASSERT_TRUE(Widget(CPPROPS_SEND)->IsEnabled());
    // The puzzle is saved under its old name although a new one was typed.
    Widget(CPPROPS_NAME)->TextEditSetText("RENAMED");
    Press(CPPROPS_SEND);
    EXPECT_EQ(registry->GetCurrentScreen(), plinx_screen_send_puzzle) << LogText();
    EXPECT_STREQ(GameState.puzzle.name, "HELPED");
    EXPECT_TRUE(Exists(Own("HELPED")));
    EXPECT_FALSE(Exists(Own("RENAMED")));
    ASSERT_TRUE(PuzzlePropertiesShow(registry, "HELPED")) << LogText();
    Press(CPPROPS_HELP);
    ASSERT_EQ(OpenedPages().size(), 1u);
    EXPECT_EQ(OpenedPages()[0].rfind("file:///", 0), 0u) << OpenedPages()[0];
    EXPECT_NE(OpenedPages()[0].find("/Data/Help/CreatePuzzles.html"), std::string::npos);
}

TEST_F(CpPropsTest, TheTKeyStartsATestUnlessTheNameIsBeingTyped)
{
    ShowNew("TKEY");
    Widget(CPPROPS_NAME)->TextEditTurnOnEditing(0);
    EngKeyStates['T'] = 2;
    registry->Tick();
    EXPECT_TRUE(ProgramDouble::Calls().empty());
    Widget(CPPROPS_NAME)->TextEditTurnOffEditing(false);
    EngKeyStates['T'] = 2;
    registry->Tick();
    EXPECT_EQ(ProgramDouble::Calls(), std::vector<std::string>{"to game"});
    EXPECT_EQ(GameState.testMode, 2);
    EXPECT_EQ(EngKeyStates['T'], 0);
}

TEST_F(CpPropsTest, TheEditorRoadFromANewPuzzleToItsFiles)
{
    // A new puzzle from the set-up screen, named, sized and given three colours.
    ASSERT_TRUE(PuzzlePropertiesShow(registry, nullptr)) << LogText();
    EXPECT_STREQ(GameState.puzzle.name, "UNTITLED");
    Widget(CPPROPS_NAME)->TextEditSetText("TESTONE");
    Choose(CPPROPS_WIDTH, 4); // 11 columns
    Choose(CPPROPS_BALL_TYPES, 2);

    Press(CPPROPS_EDIT);
    ASSERT_EQ(ProgramDouble::Calls(), std::vector<std::string>{"to game"});
    EXPECT_TRUE(PuzzlesIsEditing());
    EXPECT_FALSE(Exists(Own("UNTITLED")));
    // PUZZLE DESIGN: three cells of the top row, then four balls for the turret.
    const int right = ENG_VK_RIGHT, tab = 0x09;
    for (int key : {(int)'0', right, (int)'1', right, (int)'2', tab, (int)'1', right, (int)'2', right, (int)'0', right,
                    (int)'1', tab})
    {
        EngKeyStates[key] = 2;
        PuzzlesEditorTick();
    }
    EXPECT_EQ(GameState.puzzle.numNextBalls, 4);
    EXPECT_EQ(GameState.puzzle.grid[1][0], 0);
    EXPECT_EQ(GameState.puzzle.grid[2][0], 1);
    EXPECT_EQ(GameState.puzzle.grid[3][0], 2);

    // TEST from the editor, a shot, its undo, Escape back to the editor and again to the
    // properties.
    EngKeyStates['T'] = 2;
    PuzzlesEditorTick();
    ASSERT_EQ(GameState.testMode, 1);
    for (int shot = 1; shot <= 2; shot++)
    {
        SCOPED_TRACE(shot);
        for (int tick = 0; tick < 600 && !PlinxCanShoot(); tick++)
            PuzzlesEditorTick();
        ASSERT_TRUE(PuzzlesShoot(0)) << LogText();
        EXPECT_EQ(SaveGameUndoGetCount(), shot);
    }
    for (int tick = 0; tick < 600 && !PlinxCanShoot(); tick++)
        PuzzlesEditorTick();
    EngKeyStates[ENG_VK_U] = 2;
    PuzzlesEditorTick();
    EXPECT_EQ(SaveGameUndoGetCount(), 1);
    EngKeyStates[ENG_VK_ESCAPE] = 2;
    PuzzlesEditorTick();
    EXPECT_EQ(GameState.testMode, 0);
    EngKeyStates[ENG_VK_ESCAPE] = 2;
    PuzzlesEditorTick();
    EXPECT_EQ(ProgramDouble::Calls().back(), "to menus CPPR");
    registry->GotoScreen(plinx_screen_cp_props, nullptr);

    // QUIT: the set-up screen (here the main menu) with the files written.
    Press(CPPROPS_QUIT);
    EXPECT_FALSE(PuzzlesIsEditing());
    ASSERT_TRUE(Exists(Own("TESTONE")));
    ASSERT_TRUE(Exists(Tes("TESTONE")));
    PuzzlesClearCurrentPuzzle();
    ASSERT_TRUE(PuzzlesLoadFromFile(GAME_TYPE_MY_PUZZLES, "TESTONE")) << LogText();
    EXPECT_EQ(GameState.puzzle.width, 11);
    EXPECT_EQ(GameState.puzzle.numBallTypes, 3);
    EXPECT_EQ(GameState.puzzle.grid[3][0], 2);
    _TestFile shots;
    ASSERT_TRUE(PuzzlesReadTestFile(Tes("TESTONE").c_str(), &shots)) << LogText();
    EXPECT_EQ(shots.shots[0].used, 1);

    // Deleting it removes both files.
    ASSERT_TRUE(PuzzleDeleteFile(GAME_TYPE_MY_PUZZLES, "TESTONE"));
    EXPECT_FALSE(Exists(Own("TESTONE")));
    EXPECT_FALSE(Exists(Tes("TESTONE")));
}

} // namespace
