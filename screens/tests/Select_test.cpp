// The main menu on the game's registry and GUI set-up, headless: what its start shows,
// and where each button leads, pressed with the mouse and delivered on the next tick.
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
#include "Plinx.h"
#include "PlinxMWinSetup.h"
#include "PlinxScreens.h"
#include "Resolution.h"
#include "SaveGame.h"
#include "ScreensHost.h"
#include "Select.h"
#include "Tick.h"
#include "User.h"

namespace
{

using screenstest::ProgramDouble;

class SelectTest : public screenstest::ScreensFixture
{
protected:

    // A mouse click on the middle of a widget, delivered by the stack's next tick.
    void Press(int widget)
    {
        MWinButton *button = SelectGetWidget(widget);
        ASSERT_NE(button, nullptr);
        _Dimension area = *button->GetAreaP();
        Click(area.x + area.w * 0.5f, area.y + area.h * 0.5f);
        registry->Tick();
    }

};

TEST_F(SelectTest, NamesThePlayerAndEveryWayOnIsOn)
{
    EXPECT_STREQ(SelectGetWidget(SELECT_PLAYER)->GetTextP(), "Player: Tester");
    EXPECT_TRUE(LogHas("Main menu for player Tester"));
    EXPECT_FALSE(SelectGetWidget(SELECT_DEBUG)->IsVisible());
    EXPECT_FALSE(SelectGetWidget(SELECT_REVIEW)->IsVisible());
    // MY PUZZLES leads to the set-up screen even without own puzzles.
    for (int widget : {SELECT_ARCADE, SELECT_STRATEGIC, SELECT_PUZZLE, SELECT_MY_PUZZLES, SELECT_EXIT, SELECT_PLAYER,
                       SELECT_OPTIONS, SELECT_CREDITS, SELECT_HELP, SELECT_OTHER_GAMES})
    {
        SCOPED_TRACE(widget);
        EXPECT_TRUE(SelectGetWidget(widget)->IsVisible());
        EXPECT_TRUE(SelectGetWidget(widget)->IsEnabled());
    }
}

TEST_F(SelectTest, AGameTypeLeadsToItsSetUpScreenWithoutStartingAGame)
{
    struct
    {
        int widget;
        int gameType;
    } rows[] = {{SELECT_ARCADE, GAME_TYPE_ARCADE},
                {SELECT_STRATEGIC, GAME_TYPE_STRATEGIC},
                {SELECT_PUZZLE, GAME_TYPE_PUZZLE},
                {SELECT_MY_PUZZLES, GAME_TYPE_MY_PUZZLES}};
    for (const auto &row : rows)
    {
        SCOPED_TRACE(row.gameType);
        ASSERT_TRUE(registry->GotoScreen(plinx_screen_select, nullptr));
        ProgramDouble::Calls().clear();
        GameState.userOptions.gameType = -1;
        Press(row.widget);
        EXPECT_EQ(GameState.userOptions.gameType, row.gameType);
        EXPECT_EQ(registry->GetCurrentScreen(), plinx_screen_main);
        EXPECT_TRUE(ProgramDouble::Calls().empty());
    }
}

TEST_F(SelectTest, PlayerSavesUnloadsForgetsTheLastPlayerAndGoesToThePlayerScreens)
{
    user->AlwaysLoadThisUser(1);
    GameState.userOptions.alwaysLoad = 1;
    EngSafeStrcpy(ResolutionGetSettings()->lastPlayerName, "Tester", RESOLUTION_PLAYER_NAME_SIZE);
    ProgramDouble::Calls().clear();
    Press(SELECT_PLAYER);
    EXPECT_EQ(ProgramDouble::Calls(), std::vector<std::string>{"save, warn"});
    EXPECT_FALSE(user->IsLoaded());
    EXPECT_STREQ(ResolutionGetSettings()->lastPlayerName, "");
    EXPECT_EQ(registry->GetCurrentScreen(), EngFourCC("uUSR"));
    // The file was saved without always-load: the next start does not load it by itself.
    char alwaysLoad = 1;
    UserClass probe(nullptr, "Tester", 0);
    ASSERT_TRUE(probe.LoadUser("Tester", 1, &alwaysLoad, nullptr));
    EXPECT_EQ(alwaysLoad, 0);
}

TEST_F(SelectTest, ExitEndsTheMainLoop)
{
    EngProgram program;
    ASSERT_FALSE(program.IsQuitting());
    Press(SELECT_EXIT);
    EXPECT_TRUE(program.IsQuitting());
}

} // namespace
