// The pause and level done screens on the game's registry, headless: what their starts
// show, and where each button leads, pressed with the mouse and delivered on the next tick.
#include <cstring>
#include <string>
#include <vector>

#include "AppHooks.h"
#include "EngEncryption.h"
#include "EngMemory.h"
#include "EngProgram.h"
#include "GameState.h"
#include "ScreensFixture.h"
#include "EngPrefFolder.h"
#include "LevelDone.h"
#include "Main.h"
#include "Pause.h"
#include "Plinx.h"
#include "PlinxMWinSetup.h"
#include "PlinxScreens.h"
#include "Puzzles.h"
#include "Resolution.h"
#include "SaveGame.h"
#include "ScreensHost.h"
#include "Select.h"
#include "Tick.h"
#include "User.h"

namespace
{

using screenstest::ProgramDouble;

class PlayRoadTest : public screenstest::ScreensFixture
{
protected:
    void FillHooks(_AppHooks *hooks) override
    {
        hooks->goFromMenusToGame = GoFromMenusToGame;
        hooks->gotoMenuScreen = ProgramDouble::GotoMenuScreen;
        hooks->pauseShowStartNewGame = PauseShowStartNewGame;
    }

    // The program's switch to the game: recorded, and the new-game routine runs as it
    // would at the end of the fade.
    static void GoFromMenusToGame(GameSwitchCallback callback, char now)
    {
        ProgramDouble::Calls().push_back(now ? "game now" : "game after fade");
        if (callback)
            callback();
    }


    // A mouse click on the middle of a widget, delivered by the stack's next tick.
    void Press(MWinButton *button)
    {
        ASSERT_NE(button, nullptr);
        _Dimension area = *button->GetAreaP();
        Click(area.x + area.w * 0.5f, area.y + area.h * 0.5f);
        registry->Tick();
    }

    // Plays an ARCADE game from the menus until its first level is in play.
    void StartArcadeAndPlay()
    {
        Press(SelectGetWidget(SELECT_ARCADE));
        ASSERT_EQ(registry->GetCurrentScreen(), plinx_screen_main);
        Press(MainGetWidget(MAIN_START_GAME));
        ProgramDouble::GuiOn() = false;
        EngFrameTiming.frameTime = 1.0f / 60.0f;
        for (int tick = 0; tick < 600 && GameState.levelState != LEVEL_STATE_PLAY; tick++)
            TickGame();
        ASSERT_EQ(GameState.levelState, LEVEL_STATE_PLAY);
        ProgramDouble::GuiOn() = true;
    }

};

TEST_F(PlayRoadTest, PauseResumeGoesBackToTheGameAfterAFade)
{
    StartArcadeAndPlay();
    ASSERT_TRUE(registry->GotoScreen(plinx_screen_pause, nullptr));
    EXPECT_STREQ(PauseGetWidget(PAUSE_QUIT)->GetTextP(), "QUIT GAME");
    EXPECT_FALSE(PauseGetWidget(PAUSE_DEBUG)->IsVisible());
    ProgramDouble::Calls().clear();
    Press(PauseGetWidget(PAUSE_RESUME));
    EXPECT_EQ(ProgramDouble::Calls(), std::vector<std::string>{"game after fade"});
}

TEST_F(PlayRoadTest, ContinueLaterSavesAndTheSavedGameComesBackOnThePauseScreenOnce)
{
    StartArcadeAndPlay();
    GameState.score = 4560;
    const int level = GameState.level;
    ASSERT_TRUE(registry->GotoScreen(plinx_screen_pause, nullptr));
    Press(PauseGetWidget(PAUSE_SAVE));
    EXPECT_EQ(registry->GetCurrentScreen(), plinx_screen_select) << LogText();
    EXPECT_EQ(GameState.userOptions.savedGame[GAME_TYPE_ARCADE], 1);
    ASSERT_TRUE(SaveGameDoesSavedGameExist(0));

    // Choosing ARCADE again restores it on the set-up screen and asks for the pause screen.
    GameState.score = 0;
    ProgramDouble::Calls().clear();
    Press(SelectGetWidget(SELECT_ARCADE));
    EXPECT_EQ(GameState.score, 4560) << LogText();
    EXPECT_EQ(GameState.level, level);
    EXPECT_EQ(ProgramDouble::Calls(), std::vector<std::string>{"menu PAUS"});
    ASSERT_TRUE(registry->GotoScreen(plinx_screen_pause, nullptr));
    EXPECT_STREQ(PauseGetWidget(PAUSE_QUIT)->GetTextP(), "START NEW GAME");
    // Only once: the next start reads QUIT GAME again.
    ASSERT_TRUE(registry->GotoScreen(plinx_screen_select, nullptr));
    ASSERT_TRUE(registry->GotoScreen(plinx_screen_pause, nullptr));
    EXPECT_STREQ(PauseGetWidget(PAUSE_QUIT)->GetTextP(), "QUIT GAME");
}

TEST_F(PlayRoadTest, AGameThatCannotBeSavedKeepsThePauseScreen)
{
    StartArcadeAndPlay();
    // A game that is over cannot be kept: the player hears why and may quit.
    GameState.gameOver = 1;
    ASSERT_TRUE(registry->GotoScreen(plinx_screen_pause, nullptr));
    Press(PauseGetWidget(PAUSE_SAVE));
    EXPECT_EQ(registry->GetCurrentScreen(), plinx_screen_pause);
    EXPECT_TRUE(mwin->IsPopupOn());
    EXPECT_FALSE(SaveGameDoesSavedGameExist(0));
    mwin->PopupClose();
    // Own puzzles are never kept for later.
    GameState.gameOver = 0;
    GameState.gameType = GAME_TYPE_MY_PUZZLES;
    ASSERT_TRUE(registry->GotoScreen(plinx_screen_pause, nullptr));
    EXPECT_FALSE(PauseGetWidget(PAUSE_SAVE)->IsEnabled());
    GameState.gameType = GAME_TYPE_ARCADE;
    ASSERT_TRUE(registry->GotoScreen(plinx_screen_pause, nullptr));
    EXPECT_TRUE(PauseGetWidget(PAUSE_SAVE)->IsEnabled());
}

TEST_F(PlayRoadTest, QuitRemovesTheSavedGameAndLeavesForTheSetUpScreen)
{
    StartArcadeAndPlay();
    ASSERT_TRUE(SaveGameToBeResumed(0));
    ASSERT_TRUE(SaveGameDoesSavedGameExist(0));
    ASSERT_TRUE(registry->GotoScreen(plinx_screen_pause, nullptr));
    Press(PauseGetWidget(PAUSE_QUIT));
    EXPECT_FALSE(SaveGameDoesSavedGameExist(0));
    EXPECT_EQ(GameState.userOptions.savedGame[GAME_TYPE_ARCADE], 0);
    // Without a saved game the same button goes on without an error.
    ASSERT_TRUE(registry->GotoScreen(plinx_screen_pause, nullptr));
    const std::string before = LogText();
    Press(PauseGetWidget(PAUSE_QUIT));
    const std::string after = LogText().substr(before.size());
    EXPECT_EQ(after.find("rror"), std::string::npos) << after;
    EXPECT_EQ(registry->GetCurrentScreen(), plinx_screen_main);
}

TEST_F(PlayRoadTest, LevelDoneHeadings)
{
    struct
    {
        int gameType, difficulty;
        const char *name, *heading;
    } rows[] = {
        {GAME_TYPE_PUZZLE, 2, "", "PUZZLE - HARD"},
        {GAME_TYPE_STRATEGIC, 5, "", "STRATEGIC - MASSIVE"},
        {GAME_TYPE_MY_PUZZLES, 0, "Spiral", "PUZZLE \"Spiral\""},
        {GAME_TYPE_PUZZLE, 9, "", "PUZZLE - "},   // a damaged difficulty names none
        {GAME_TYPE_PUZZLE, -3, "", "PUZZLE - "},
        {7, 0, "X", "PUZZLE \"X\""},
    };
    for (const auto &row : rows)
    {
        char out[64];
        LevelDoneMakeHeading(row.gameType, row.difficulty, row.name, out, sizeof(out));
        EXPECT_STREQ(out, row.heading) << row.gameType << " " << row.difficulty;
    }
}

TEST_F(PlayRoadTest, LevelDoneEntersTheScoreOnceHidesPlayAgainForPuzzlesAndEscapesToSetUp)
{
    GameState.gameType = GAME_TYPE_PUZZLE;
    GameState.userOptions.gameType = GAME_TYPE_PUZZLE;
    GameState.userOptions.difficulty[GAME_TYPE_PUZZLE] = 2;
    GameState.score = 120;
    LevelDoneNewGameStarted();
    ASSERT_TRUE(registry->GotoScreen(plinx_screen_level_done, nullptr));
    EXPECT_STREQ(LevelDoneGetWidget(LEVEL_DONE_GAME_TEXT)->GetTextP(), "PUZZLE - HARD");
    EXPECT_STREQ(LevelDoneGetWidget(LEVEL_DONE_SCORE_TEXT)->GetTextP(), "SCORE: 120");
    EXPECT_FALSE(LevelDoneGetWidget(LEVEL_DONE_PLAY)->IsVisible());
    _GameScores &table = GameState.userOptions.gameScores[GAME_TYPE_PUZZLE][2];
    const int rows = table.numRows;
    EXPECT_EQ(rows, 1) << LogText();
    // A second start for the same finished game does not enter it again.
    ASSERT_TRUE(registry->GotoScreen(plinx_screen_level_done, nullptr));
    EXPECT_EQ(table.numRows, rows);
    // MAIN MENU leads to the game set-up screen.
    Key(ENG_VK_ESCAPE);
    registry->Tick();
    EXPECT_EQ(registry->GetCurrentScreen(), plinx_screen_main);
}

TEST_F(PlayRoadTest, PlayAgainStartsTheSameTypeAfterAFadeWithoutAnOldSavedGame)
{
    StartArcadeAndPlay();
    ASSERT_TRUE(SaveGameToBeResumed(0));
    GameState.gameType = GAME_TYPE_STRATEGIC;
    GameState.userOptions.gameType = GAME_TYPE_STRATEGIC;
    GameState.userOptions.difficulty[GAME_TYPE_STRATEGIC] = 0;
    ASSERT_TRUE(SaveGameToBeResumed(0));
    LevelDoneNewGameStarted();
    ASSERT_TRUE(registry->GotoScreen(plinx_screen_level_done, nullptr));
    EXPECT_STREQ(LevelDoneGetWidget(LEVEL_DONE_GAME_TEXT)->GetTextP(), "STRATEGIC - SMALL");
    EXPECT_TRUE(LevelDoneGetWidget(LEVEL_DONE_PLAY)->IsVisible());
    EXPECT_FALSE(SaveGameDoesSavedGameExist(0));
    ProgramDouble::Calls().clear();
    Press(LevelDoneGetWidget(LEVEL_DONE_PLAY));
    EXPECT_EQ(ProgramDouble::Calls(), std::vector<std::string>{"game after fade"});
}

} // namespace
