// The options and controls screens on the game's registry, headless: the choices bound to
// the working options (and what a change is heard as at once), the popups of the misc
// group, and the way back to wherever the screens were reached from.
#include <unistd.h>

#include <cstddef>
#include <string>
#include <vector>

#include "Controls.h"
#include "EngLanguages.h"
#include "GameState.h"
#include "Options.h"
#include "Pause.h"
#include "ScreensFixture.h"
#include "Select.h"
#include "ViewHooks.h"
#include "EngWindow.h"
#include "Testkit.h"

namespace
{

using screenstest::ProgramDouble;

// What the options ask of the program and the sound, in order.
std::vector<std::string> &Heard()
{
    static std::vector<std::string> heard;
    return heard;
}

void SetMusicVolumeCB(int volume)
{
    Heard().push_back("music " + std::to_string(volume));
}

void RestartMenuEffectCB()
{
    Heard().push_back("menu effect");
}

void GameSoundsVolumeCB()
{
    Heard().push_back("game sounds " + std::to_string(GameState.userOptions.gameSoundsVolume));
}

void RequestAutoSubmitCB()
{
    Heard().push_back("submit last score");
}

class OptionsTest : public screenstest::ScreensFixture
{
protected:
    void FillHooks(_AppHooks *hooks) override
    {
        hooks->requestAutoSubmitScore = RequestAutoSubmitCB;
        hooks->pauseShowStartNewGame = PauseShowStartNewGame;
    }

    void SetUp() override
    {
        ScreensFixture::SetUp();
        ASSERT_TRUE(EngLanguagesInitCommonTexts(nullptr, true));
        EngLanguagesInitFinished();
        Heard().clear();
        _ScreensHost host = {ProgramDouble::SaveUser, SetMusicVolumeCB, RestartMenuEffectCB};
        ScreensSetHost(&host);
        _ViewHooks view = {};
        view.soundUpdateGameSoundsVolume = GameSoundsVolumeCB;
        ViewSetHooks(&view);
    }

    void TearDown() override
    {
        ViewSetHooks(nullptr);
        EngLanguagesFreeAll();
        ScreensFixture::TearDown();
    }

    void Goto(ScreenId id)
    {
        ASSERT_TRUE(registry->GotoScreen(id, nullptr));
        ASSERT_EQ(registry->GetCurrentScreen(), id);
    }

    // A mouse click on a widget's middle (or at `fractionX` of its width), delivered by
    // the stack's next tick.
    void Press(MWinButton *button, float fractionX = 0.5f)
    {
        ASSERT_NE(button, nullptr);
        const _Dimension *area = button->GetScreenAreaP();
        Click(area->x + area->w * fractionX, area->y + area->h * 0.5f);
        registry->Tick();
    }

    // A choice's right arrow: the next item.
    void PressRightArrow(MWinButton *choice) { Press(choice, 0.97f); }

    void PressPopup(const char *id)
    {
        ASSERT_TRUE(mwin->IsPopupOn());
        Press(mwin->PopupGetButton(id));
    }

    void Escape()
    {
        Key(ENG_VK_ESCAPE);
        Up(ENG_VK_ESCAPE);
        registry->Tick();
    }

    std::string PopupText()
    {
        MWinButton *message = mwin->PopupGetButton("MSG");
        return message ? message->GetTextP() : "";
    }
};

// ---- The choices ------------------------------------------------------------------------------------

struct ChoiceCase
{
    int widget;
    int8_t _UserOptions::*option;
    const char *shownAfter; // the item shown after one step right from 2
    const char *heard;      // what the change is heard as at once ("" nothing)
};

const ChoiceCase kChoices[] = {
    {OPTIONS_MENU_EFFECTS, &_UserOptions::menuEffects, "FULL", "menu effect"},
    {OPTIONS_GAME_EFFECTS, &_UserOptions::gameEffects, "FULL", ""},
    {OPTIONS_MENU_MUSIC, &_UserOptions::menuMusicVolume, "3", "music 3"},
    {OPTIONS_GAME_MUSIC, &_UserOptions::gameMusicVolume, "3", ""},
    {OPTIONS_GAME_OVER_MUSIC, &_UserOptions::gameOverMusicVolume, "3", ""},
    {OPTIONS_GAME_SOUNDS, &_UserOptions::gameSoundsVolume, "3", "game sounds 3"},
};

TEST_F(OptionsTest, EachChoiceShowsItsOptionAndWritesEveryChangeIntoIt)
{
    for (const ChoiceCase &row : kChoices)
        GameState.userOptions.*row.option = 2;
    Goto(plinx_screen_options);
    for (const ChoiceCase &row : kChoices)
    {
        SCOPED_TRACE(OptionsGetWidget(row.widget)->GetID());
        Heard().clear();
        EXPECT_EQ(OptionsGetWidget(row.widget)->ChoiceGetSel(), 2);
        PressRightArrow(OptionsGetWidget(row.widget));
        EXPECT_EQ(GameState.userOptions.*row.option, 3);
        EXPECT_STREQ(OptionsGetWidget(row.widget)->GetTextP(), row.shownAfter);
        std::vector<std::string> expected;
        if (row.heard[0])
            expected.push_back(row.heard);
        EXPECT_EQ(Heard(), expected);
    }
    // The volumes' items come from the language texts: the first means off.
    EXPECT_STREQ(OptionsGetWidget(OPTIONS_MENU_MUSIC)->ChoiceGetString(0), "OFF");
    EXPECT_EQ(OptionsGetWidget(OPTIONS_MENU_MUSIC)->ChoiceGetNumItems(), 11);
    // Processing power is kept but never shown.
    for (int widget : {OPTIONS_POWER_TEXT, OPTIONS_POWER, OPTIONS_POWER_INFO})
        EXPECT_FALSE(OptionsGetWidget(widget)->IsVisible());
}

TEST_F(OptionsTest, StoredValuesOutsideTheItemsAreLoggedAndTakeTheNearestItem)
{
    GameState.userOptions.menuMusicVolume = 57;
    GameState.userOptions.gameEffects = -3;
    GameState.userOptions.mouseSensitivity = 12;
    Goto(plinx_screen_options);
    EXPECT_EQ(GameState.userOptions.menuMusicVolume, 10);
    EXPECT_STREQ(OptionsGetWidget(OPTIONS_MENU_MUSIC)->GetTextP(), "10");
    EXPECT_EQ(GameState.userOptions.gameEffects, 0);
    EXPECT_TRUE(LogHas("Option menu music volume out of range (57): 10 used")) << LogText();
    Goto(plinx_screen_controls);
    EXPECT_EQ(GameState.userOptions.mouseSensitivity, 9);
}

TEST_F(OptionsTest, WithoutLanguageTextsTheVolumesStillOfferOffToTen)
{
    EngLanguagesFreeAll();
    Goto(plinx_screen_options);
    MWinButton *volume = OptionsGetWidget(OPTIONS_GAME_MUSIC);
    EXPECT_EQ(volume->ChoiceGetNumItems(), 11);
    EXPECT_STREQ(volume->ChoiceGetString(0), "OFF");
    EXPECT_STREQ(volume->ChoiceGetString(10), "10");
}

TEST_F(OptionsTest, MusicOrSoundOffInTheStartUpSettingsLocksTheirVolumes)
{
    struct
    {
        uint8_t musicOn, soundOn;
    } rows[] = {{0, 1}, {1, 0}, {0, 0}, {1, 1}};
    for (const auto &row : rows)
    {
        SCOPED_TRACE(testing::Message() << "music " << (int)row.musicOn << " sound " << (int)row.soundOn);
        ResolutionGetSettings()->musicOn = row.musicOn;
        ResolutionGetSettings()->soundOn = row.soundOn;
        GameState.userOptions.gameMusicVolume = 6;
        Goto(plinx_screen_options);
        for (int widget : {OPTIONS_MENU_MUSIC, OPTIONS_GAME_MUSIC, OPTIONS_GAME_OVER_MUSIC})
            EXPECT_EQ(OptionsGetWidget(widget)->IsEnabled(), row.musicOn != 0);
        EXPECT_EQ(OptionsGetWidget(OPTIONS_GAME_SOUNDS)->IsEnabled(), row.soundOn != 0);
        // A locked choice still shows its value, and a click does not change it.
        EXPECT_STREQ(OptionsGetWidget(OPTIONS_GAME_MUSIC)->GetTextP(), "6");
        PressRightArrow(OptionsGetWidget(OPTIONS_GAME_MUSIC));
        EXPECT_EQ(GameState.userOptions.gameMusicVolume, row.musicOn ? 7 : 6);
        Goto(plinx_screen_select);
    }
}

// ---- Ways in and out --------------------------------------------------------------------------------

TEST_F(OptionsTest, BackAndEscapeReturnToTheScreenTheOptionsCameFrom)
{
    for (ScreenId from : {plinx_screen_select, plinx_screen_pause})
        for (bool byEscape : {false, true})
        {
            SCOPED_TRACE(testing::Message() << (from == plinx_screen_pause ? "pause" : "main menu")
                                            << (byEscape ? " by Escape" : " by BACK"));
            Goto(from);
            Heard().clear();
            GameState.userOptions.gameSoundsVolume = 4;
            Goto(plinx_screen_options);
            // Through the controls screen and back: still the way to `from`.
            Press(OptionsGetWidget(OPTIONS_CONTROLS));
            ASSERT_EQ(registry->GetCurrentScreen(), plinx_screen_controls);
            byEscape ? Escape() : Press(ControlsGetWidget(CONTROLS_BACK));
            ASSERT_EQ(registry->GetCurrentScreen(), plinx_screen_options);
            byEscape ? Escape() : Press(OptionsGetWidget(OPTIONS_BACK));
            EXPECT_EQ(registry->GetCurrentScreen(), from);
            // The game sounds take their volume on the way out.
            EXPECT_EQ(Heard(), std::vector<std::string>{"game sounds 4"});
        }
}

TEST_F(OptionsTest, StartedWithoutAWayBackBackStillLeads)
{
    ASSERT_TRUE(registry->End(-1));
    ASSERT_TRUE(registry->StartScreen(plinx_screen_options, -1));
    Press(OptionsGetWidget(OPTIONS_BACK));
    EXPECT_EQ(registry->GetCurrentScreen(), plinx_screen_select);
    ASSERT_TRUE(registry->End(-1));
    ASSERT_TRUE(registry->StartScreen(plinx_screen_controls, -1));
    Press(ControlsGetWidget(CONTROLS_BACK));
    EXPECT_EQ(registry->GetCurrentScreen(), plinx_screen_options);
}

TEST_F(OptionsTest, TheMainMenuAndThePauseScreenLeadToTheOptions)
{
    MWinButton *options = SelectGetWidget(SELECT_OPTIONS);
    ASSERT_TRUE(options->IsEnabled());
    Press(options);
    EXPECT_EQ(registry->GetCurrentScreen(), plinx_screen_options);
    Goto(plinx_screen_pause);
    Press(PauseGetWidget(PAUSE_OPTIONS));
    EXPECT_EQ(registry->GetCurrentScreen(), plinx_screen_options);
    Press(OptionsGetWidget(OPTIONS_BACK));
    ASSERT_EQ(registry->GetCurrentScreen(), plinx_screen_pause);
    // The game is still paused, and RESUME goes back to it.
    EXPECT_TRUE(ProgramDouble::Calls().empty());
    EXPECT_STREQ(PauseGetWidget(PAUSE_QUIT)->GetTextP(), "QUIT GAME");
    Press(PauseGetWidget(PAUSE_RESUME));
    EXPECT_EQ(ProgramDouble::Calls(), std::vector<std::string>{"game after fade"});
}

TEST_F(OptionsTest, AfterAResumedGameThePauseScreenKeepsStartNewGameAcrossTheOptions)
{
    PauseShowStartNewGame();
    Goto(plinx_screen_pause);
    ASSERT_STREQ(PauseGetWidget(PAUSE_QUIT)->GetTextP(), "START NEW GAME");
    Press(PauseGetWidget(PAUSE_OPTIONS));
    Press(OptionsGetWidget(OPTIONS_BACK));
    ASSERT_EQ(registry->GetCurrentScreen(), plinx_screen_pause);
    EXPECT_STREQ(PauseGetWidget(PAUSE_QUIT)->GetTextP(), "START NEW GAME");
    // Shown once per pause: the next one reads as usual.
    Goto(plinx_screen_select);
    Goto(plinx_screen_pause);
    EXPECT_STREQ(PauseGetWidget(PAUSE_QUIT)->GetTextP(), "QUIT GAME");
}

// ---- The misc popups ----------------------------------------------------------------------------------

TEST_F(OptionsTest, ClearScoresEmptiesEveryLocalTableOnYesOnly)
{
    _UserOptions &options = GameState.userOptions;
    auto fill = [&options]() {
        for (int type = 0; type < 3; type++)
            for (int difficulty = 0; difficulty < PlinxGetNumDifficultiesForGameType(type); difficulty++)
            {
                _GameScores &table = options.gameScores[type][difficulty];
                table.numRows = 3;
                table.rows[0].score = 900;
                table.lastScoreExists = 1;
                table.lastScore.score = 900;
                table.sendState = SCORES_SEND_QUALIFIES;
            }
    };
    fill();
    options.autoSubmitOn = 1;
    options.onlinePositionMode = 1;
    Goto(plinx_screen_options);
    Press(OptionsGetWidget(OPTIONS_CLEAR_SCORES));
    ASSERT_TRUE(mwin->IsPopupOn());
    EXPECT_EQ(PopupText(), "All local high scores will be\nremoved for all game types.\n\nAre you sure you want to do this?");
    PressPopup("CANCEL");
    EXPECT_FALSE(mwin->IsPopupOn());
    EXPECT_EQ(options.gameScores[1][5].numRows, 3);

    // Yes, and again with every table already empty: the notice comes both times.
    for (int round = 0; round < 2; round++)
    {
        SCOPED_TRACE(round);
        Press(OptionsGetWidget(OPTIONS_CLEAR_SCORES));
        PressPopup("OK");
        ASSERT_TRUE(mwin->IsPopupOn());
        EXPECT_EQ(PopupText(), "All high scores have been cleared.");
        PressPopup("OK");
        for (int type = 0; type < 3; type++)
            for (int difficulty = 0; difficulty < PlinxGetNumDifficultiesForGameType(type); difficulty++)
            {
                const _GameScores &table = options.gameScores[type][difficulty];
                EXPECT_EQ(table.numRows, 0);
                EXPECT_EQ(table.lastScoreExists, 0);
                EXPECT_EQ(table.sendState, 0);
                EXPECT_EQ(table.lastScore.score, 0u);
            }
    }
    // Every other option stays as it was.
    EXPECT_EQ(options.autoSubmitOn, 1);
    EXPECT_EQ(options.onlinePositionMode, 1);
    EXPECT_EQ(registry->GetCurrentScreen(), plinx_screen_options);
}

TEST_F(OptionsTest, StartupWindowAnswerIsWrittenToTheStartUpSettingsAtOnce)
{
    std::string file = ResolutionGetFilePath();
    struct
    {
        const char *button;
        uint8_t flag;
    } rows[] = {{"OK", 1}, {"CANCEL", 0}};
    for (const auto &row : rows)
    {
        SCOPED_TRACE(row.button);
        Goto(plinx_screen_options);
        ResolutionGetSettings()->showStartupWindow = 1 - row.flag;
        unlink(file.c_str());
        Press(OptionsGetWidget(OPTIONS_STARTUP));
        EXPECT_STREQ(mwin->PopupGetWindow()->GetTitle(), "STARTUP WINDOW");
        PressPopup(row.button);
        EXPECT_EQ(ResolutionGetSettings()->showStartupWindow, row.flag);
        std::string written = testkit::ReadFile(file);
        ASSERT_EQ(written.size(), sizeof(ResolutionSettings));
        EXPECT_EQ((uint8_t)written[offsetof(ResolutionSettings, showStartupWindow)], row.flag);
    }
}

TEST_F(OptionsTest, AutoSubmitYesSubmitsTheLastScoreAndNoAlwaysShowsTheHint)
{
    _UserOptions &options = GameState.userOptions;
    struct
    {
        int8_t before;
        const char *button;
        int8_t after;
        bool hint;
    } rows[] = {{0, "OK", 1, false}, {1, "CANCEL", 0, true}, {0, "CANCEL", 0, true}, {-1, "CANCEL", 0, true}};
    for (const auto &row : rows)
    {
        SCOPED_TRACE(testing::Message() << (int)row.before << " " << row.button);
        Goto(plinx_screen_options);
        Heard().clear();
        options.autoSubmitOn = row.before;
        Press(OptionsGetWidget(OPTIONS_AUTO_SUBMIT));
        EXPECT_STREQ(mwin->PopupGetWindow()->GetTitle(), "AUTO SUBMIT SCORES");
        PressPopup(row.button);
        EXPECT_EQ(options.autoSubmitOn, row.after);
        EXPECT_EQ(Heard(), row.hint ? std::vector<std::string>{} : std::vector<std::string>{"submit last score"});
        EXPECT_EQ(mwin->IsPopupOn(), row.hint);
        if (row.hint)
        {
            EXPECT_EQ(PopupText(), "You can submit your last score at any time by pressing the SUBMIT button");
            PressPopup("OK");
        }
    }
}

TEST_F(OptionsTest, OnlinePositionPopupAndEscapeMeansNo)
{
    struct
    {
        const char *button; // NULL: Escape
        int8_t mode;
    } rows[] = {{"OK", 0}, {"NO", 1}, {"CANCEL", 2}, {nullptr, 2}};
    for (const auto &row : rows)
    {
        SCOPED_TRACE(row.button ? row.button : "Escape");
        Goto(plinx_screen_options);
        GameState.userOptions.onlinePositionMode = 7;
        Press(OptionsGetWidget(OPTIONS_SCORES_PLACE));
        ASSERT_TRUE(mwin->IsPopupOn());
        EXPECT_STREQ(mwin->PopupGetWindow()->GetTitle(), "ONLINE POSITION");
        EXPECT_STREQ(mwin->PopupGetButton("OK")->GetTextP(), "Yes");
        EXPECT_STREQ(mwin->PopupGetButton("NO")->GetTextP(), "Pos. Only");
        EXPECT_STREQ(mwin->PopupGetButton("CANCEL")->GetTextP(), "No");
        row.button ? PressPopup(row.button) : Escape();
        EXPECT_FALSE(mwin->IsPopupOn());
        EXPECT_EQ(GameState.userOptions.onlinePositionMode, row.mode);
        // Escape answered the popup; it did not also leave the options.
        EXPECT_EQ(registry->GetCurrentScreen(), plinx_screen_options);
    }
}

TEST_F(OptionsTest, EscapeOnAYesNoPopupLeavesNeitherThePopupNorTheScreen)
{
    Goto(plinx_screen_options);
    Press(OptionsGetWidget(OPTIONS_CLEAR_SCORES));
    ASSERT_TRUE(mwin->IsPopupOn());
    Escape();
    EXPECT_TRUE(mwin->IsPopupOn());
    EXPECT_EQ(registry->GetCurrentScreen(), plinx_screen_options);
}

// ---- Controls -----------------------------------------------------------------------------------------

TEST_F(OptionsTest, ControlsListTheKeysAndBindTheMouseSensitivity)
{
    GameState.userOptions.mouseSensitivity = 4;
    Goto(plinx_screen_options);
    Press(OptionsGetWidget(OPTIONS_CONTROLS));
    ASSERT_EQ(registry->GetCurrentScreen(), plinx_screen_controls);
    EXPECT_STREQ(ControlsGetWidget(CONTROLS_FULL_SCREEN_KEY)->GetTextP(), "ALT + ENTER");
    EXPECT_STREQ(ControlsGetWidget(CONTROLS_PAUSE_KEY)->GetTextP(), "ESCAPE KEY");
    MWinButton *sensitivity = ControlsGetWidget(CONTROLS_SENSITIVITY);
    EXPECT_EQ(sensitivity->ChoiceGetNumItems(), 10);
    EXPECT_STREQ(sensitivity->GetTextP(), "5");
    PressRightArrow(sensitivity);
    EXPECT_EQ(GameState.userOptions.mouseSensitivity, 5);
    EXPECT_STREQ(sensitivity->GetTextP(), "6");
    Press(sensitivity, 0.03f);
    Press(sensitivity, 0.03f);
    EXPECT_EQ(GameState.userOptions.mouseSensitivity, 3);
}

TEST_F(OptionsTest, ChangedOptionsAreSavedWithThePlayer)
{
    GameState.userOptions.menuMusicVolume = 7;
    Goto(plinx_screen_options);
    PressRightArrow(OptionsGetWidget(OPTIONS_MENU_MUSIC));
    ASSERT_EQ(GameState.userOptions.menuMusicVolume, 8);
    ScreensHostSaveUser(0);
    UserClass reloaded(nullptr, "Tester", 1);
    ASSERT_TRUE(reloaded.LoadUser("Tester", 0, nullptr, nullptr));
    EXPECT_EQ(reloaded.GetOptions(0)->menuMusicVolume, 8);
}

} // namespace
