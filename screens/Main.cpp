// The game set-up screen: its layout, the choices of each game type bound to the player's
// working options, starting and resuming games, and the own puzzles. The score table is
// MainScores.cpp's.
//
// Sections: layout; choices and rows; own puzzles; starting a game; behaviour.
#include "Main.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "AppHooks.h"
#include "CpProps.h"
#include "EngDebug.h"
#include "EngMemory.h"
#include "GameState.h"
#include "LevelDone.h"
#include "MWinTabPanel.h"
#include "Pause.h"
#include "Plinx.h"
#include "PlinxScreens.h"
#include "Puzzles.h"
#include "SaveGame.h"
#include "Scores.h"
#include "ScreensBuild.h"

namespace
{

#define LABEL_ROW(id, text, y) \
    {id, MWIN_BUTTON_PUSH, MWIN_TEXBUT_NONE, text, 100, y, 100, 20, 1, 1, 1, 0.75f, 1.3f, 1.42f, 2, 0.752f, 0.752f, 0.752f, 1}
#define CHOICE_ROW(id, text, y) \
    {id, MWIN_BUTTON_CHOICE, MWIN_TEXBUT_NONE, text, 215, y, 210, 20, 0.99f, 0.93f, 0.21f, 0.75f, 1.3f, 1.42f, 1}
#define PANEL_ROW(id, text, x, y, w) {id, MWIN_BUTTON_PUSH, "Panel", text, x, y, w, 22, 1, 1, 1, 0.7f, 1, 1, 1}

// The choice rows' y positions are placeholders: every refresh places the shown rows
// under the title.
const _ScreensWidgetRow kNormal[MAIN_NUM_WIDGETS] = {
    {"GameBox", MWIN_BUTTON_PUSH, "Back2", "", 5, 100, 630, 125, 0.5f, 1, 0.5f, 1, 1, 1, 1},
    {"GameType", MWIN_BUTTON_PUSH, MWIN_TEXBUT_NONE, "STRATEGIC", 117.5f, 110, 405, 29.8f, 1, 1, 1, 0.8f, 1.6f, 1.74f,
     1},
    LABEL_ROW("DifficultyText", "DIFFICULTY", 45),
    CHOICE_ROW("Difficulty", "VERY EASY", 47),
    LABEL_ROW("MyPuzzleText", "PUZZLE", 5),
    CHOICE_ROW("MyPuzzle", "-", 5),
    LABEL_ROW("SpeedText", "SPEED", 25),
    CHOICE_ROW("Speed", "Mui", 25),
    LABEL_ROW("StartingLevelText", "START AT", 70),
    CHOICE_ROW("StartingLevel", "Mui", 70),
    {"StartGame", MWIN_BUTTON_PUSH, "Start", "START", 520, 125, 100, 78.6f, 1, 1, 1, 0.8f, 1.6f, 1.74f, 1},
    {"PuzzleNew", MWIN_BUTTON_PUSH, "Main", "CREATE", 170, 185, 95, 25, 1, 1, 1, 0.7f, 1, 1, 1},
    {"PuzzleEdit", MWIN_BUTTON_PUSH, "Main", "EDIT", 272.5f, 185, 95, 25, 1, 1, 1, 0.7f, 1, 1, 1},
    {"PuzzleDelete", MWIN_BUTTON_PUSH, "Main", "DELETE", 375, 185, 95, 25, 1, 1, 1, 0.7f, 1, 1, 1},
    {"ScoresBox", MWIN_BUTTON_PUSH, "Back2", "", 5, 225, 630, 205, 1, 1, 1, 1, 1, 1, 1},
    {"Scores", MWIN_BUTTON_TAB_PANEL, MWIN_TEXBUT_NONE, "", 15, 240, 520, 175, 1, 1, 1, 0.7f, 1, 1, 1},
    PANEL_ROW("OnlineScores", "ONLINE", 540, 240, 85),
    PANEL_ROW("SubmitScore", "SUBMIT", 540, 390, 85),
    {"DeleteScore", MWIN_BUTTON_PUSH, "Panel", "DELETE", 555, 315, 60, 22, 1, 1, 1, 0.7f, 0.9f, 0.95f, 1, 1, 1, 1,
     0.311f},
    PANEL_ROW("UpdateScores", "UPDATE", 540, 365, 85),
    PANEL_ROW("ScoresRange", "RANGE", 540, 265, 85),
    {"Options", MWIN_BUTTON_PUSH, "Main", "OPTIONS", 510, 430, 130, 45, 1, 1, 1, 0.75f, 1.3f, 1.42f, 1},
    {"Back", MWIN_BUTTON_PUSH, "Main", "MAIN MENU", 0, 430, 130, 45, 1, 1, 1, 0.75f, 1.3f, 1.42f, 1},
    {"InternetWait", MWIN_BUTTON_PUSH, "Back1", "CONNECTING TO FERNBROOKS ...", 165, 430, 310, 45, 1, 1, 1, 0.7f, 1,
     1, 1},
    {"Debug", MWIN_BUTTON_PUSH, "Main", "Debug", 5, 5, 60, 25, 1, 1, 1, 0.7f, 0.9f, 0.95f, 1, 1, 1, 1, 0.374f},
};
#undef LABEL_ROW
#undef CHOICE_ROW
#undef PANEL_ROW

const char *const kSpeedWords[5] = {"VERY SLOW", "SLOW", "NORMAL", "FAST", "VERY FAST"};
const char *const kArcadeWords[4] = {"EASY", "MEDIUM", "HARD", "VERY HARD"};
const char *const kStrategicWords[6] = {"SMALL", "MEDIUM", "BIG", "LARGE", "HUGE", "MASSIVE"};
const char *const kPuzzleWords[3] = {"EASY", "MEDIUM", "HARD"};
const char *const kLevelWords[10] = {"LEVEL 1", "LEVEL 2", "LEVEL 3", "LEVEL 4", "LEVEL 5",
                                     "LEVEL 6", "LEVEL 7", "LEVEL 8", "LEVEL 9", "LEVEL 10"};
const int kStartingLevels = 10;

struct MainScreen
{
    MWinCollection *collection;
    MWinWindow *window;
    MWinButton *widgets[MAIN_NUM_WIDGETS];
};
MainScreen s_screen = {};
// The registry the screen was given; the free functions reach the GUI through it.
MWinScreens *s_screens = nullptr;

// What the screen keeps between refreshes (one screen instance, so file-level).
struct MainState
{
    bool noSystemPuzzles;       // the current PUZZLE difficulty has none
    bool autoSubmitRequested;   // the next quiet tick submits the last score
    int selectedOwnPuzzle;
    char newPuzzleName[PUZZLE_NAME_SIZE];
    char text[64];              // the choice texts; each lasts until the next call
};
MainState s_main = {};

MWinButton *W(int widget)
{
    return s_screen.widgets[widget];
}

void Goto(ScreenId id)
{
    if (s_screens)
        s_screens->GotoScreen(id, nullptr);
}

void SetShown(int widget, bool shown)
{
    if (W(widget))
        W(widget)->SetVisible(shown);
}

void SetEnabled(int widget, bool enabled)
{
    if (W(widget))
        W(widget)->SetEnabled(enabled);
}

_UserOptions &Options()
{
    return GameState.userOptions;
}

// The game type from the options; anything outside the four types is ARCADE.
int CurrentGameType()
{
    _UserOptions &options = Options();
    if (options.gameType < GAME_TYPE_ARCADE || options.gameType > GAME_TYPE_MY_PUZZLES)
        options.gameType = GAME_TYPE_ARCADE;
    return options.gameType;
}

// A system puzzle index from the player's file: outside the difficulty's puzzles it
// becomes the first one.
void ClampOption(int8_t *value, int count)
{
    if (*value < 0 || *value >= count)
        *value = 0;
}

} // namespace

MWinButton *MainGetWidget(int widget)
{
    return widget >= 0 && widget < MAIN_NUM_WIDGETS ? s_screen.widgets[widget] : nullptr;
}

MWin *MainGetMWin()
{
    return s_screens ? s_screens->GetMWin() : &mwin_object;
}

MWinTabPanel *MainGetScoresTable()
{
    return static_cast<MWinTabPanel *>(s_screen.widgets[MAIN_SCORES]);
}

// ---- Layout ---------------------------------------------------------------------------------------

MainCollectionController::MainCollectionController()
{
    ClearButtonPointers();
}

void MainCollectionController::SetScreensVar(MWinScreens *screens)
{
    ScreensCollectionController::SetScreensVar(screens);
    s_screens = screens;
}

void MainCollectionController::ClearButtonPointers()
{
    s_screen = {};
}

MWinCollection *MainCollectionController::AddCollectionToDesktop(MWin *mwin, MWinDesktop *desktop)
{
    s_screen.collection = ScreensBuildCollection(mwin, desktop, "Main", kNormal, MAIN_NUM_WIDGETS, s_screen.widgets,
                                                 &s_screen.window, this);
    return s_screen.collection;
}

// ---- Choices and rows ---------------------------------------------------------------------------

namespace
{

const char *OwnPuzzleChoiceText(int index, MWinButton *button, void *user)
{
    if (CurrentGameType() != GAME_TYPE_MY_PUZZLES)
        return "PC_???";
    const int count = PuzzlesGetNumPuzzles(GAME_TYPE_MY_PUZZLES);
    if (count < 1)
        return "None";
    const _PuzzleListEntry *entry = PuzzlesGetListEntry(GAME_TYPE_MY_PUZZLES, index);
    return entry ? entry->name : "XXX";
}

const char *PuzzleLevelChoiceText(int index, MWinButton *button, void *user)
{
    if (CurrentGameType() != GAME_TYPE_PUZZLE)
        return "PSL_???";
    const int difficulty = Options().difficulty[GAME_TYPE_PUZZLE];
    const int count = PuzzlesGetNumPuzzlesOfDifficulty(difficulty);
    if (count < 1)
        return "None";
    const char *name = index >= 0 && index < count ? PuzzlesGetPuzzleNameOfDifficulty(difficulty, index) : nullptr;
    if (!name)
        return "XXX";
    snprintf(s_main.text, sizeof(s_main.text), "LEVEL %d : %s", index + 1, name);
    return s_main.text;
}

// The own-puzzle choice shows the selected puzzle, which becomes the current own puzzle.
void FillOwnPuzzleChoice()
{
    MWinButton *choice = W(MAIN_MY_PUZZLE);
    const int count = PuzzlesGetNumPuzzles(GAME_TYPE_MY_PUZZLES);
    if (CurrentGameType() != GAME_TYPE_MY_PUZZLES || count < 1)
    {
        // The choice draws its selected item: the message is its one item.
        static const char *const kNone[1] = {"( NO PUZZLES CREATED )"};
        if (choice)
            choice->ChoiceSetStrings(1, (const char **)kNone);
        return;
    }
    if (s_main.selectedOwnPuzzle < 0 || s_main.selectedOwnPuzzle >= count)
        s_main.selectedOwnPuzzle = 0;
    if (choice)
    {
        choice->ChoiceSetStringsCallback(count, OwnPuzzleChoiceText, nullptr);
        choice->ChoiceSetSel(s_main.selectedOwnPuzzle, 0);
    }
    if (const _PuzzleListEntry *entry = PuzzlesGetListEntry(GAME_TYPE_MY_PUZZLES, s_main.selectedOwnPuzzle))
        EngSafeStrcpy(GameState.puzzle.name, entry->name, sizeof(GameState.puzzle.name));
}

// The current own puzzle's name, when it is in the list, becomes the selection.
void SelectCurrentOwnPuzzle()
{
    const int count = PuzzlesGetNumPuzzles(GAME_TYPE_MY_PUZZLES);
    int found = -1;
    for (int i = 0; i < count; i++)
    {
        const _PuzzleListEntry *entry = PuzzlesGetListEntry(GAME_TYPE_MY_PUZZLES, i);
        if (entry && strcmp(entry->name, GameState.puzzle.name) == 0)
            found = i;
    }
    if (found >= 0 && found != s_main.selectedOwnPuzzle)
        s_main.selectedOwnPuzzle = found;
    FillOwnPuzzleChoice();
}

// Places the shown rows (difficulty, starting level, own puzzle) under the title.
void PlaceRows(bool difficultyRow, bool levelRow, bool puzzleRow, int gameType)
{
    if (!W(MAIN_GAME_TYPE))
        return;
    int left, top, right, bottom;
    W(MAIN_GAME_TYPE)->GetAreaInts(&left, &top, &right, &bottom);
    const int rowHeight = bottom - top - 5;
    int y = bottom + 5 + (gameType == GAME_TYPE_PUZZLE ? 5 : gameType == GAME_TYPE_MY_PUZZLES ? 7 : 6);
    const int rows = (difficultyRow ? 1 : 0) + (levelRow ? 1 : 0) + (puzzleRow ? 2 : 0);
    const int gap = rows == 1 ? 12 : rows == 2 ? 10 : rows == 3 ? 4 : 0;
    auto place = [&](int label, int choice) {
        for (int widget : {label, choice})
            if (W(widget))
                W(widget)->SetAreaInts(-9999, y, -9999, y + rowHeight);
        y += rowHeight + gap;
    };
    if (difficultyRow)
        place(MAIN_DIFFICULTY_TEXT, MAIN_DIFFICULTY);
    if (levelRow)
        place(MAIN_STARTING_LEVEL_TEXT, MAIN_STARTING_LEVEL);
    if (puzzleRow)
        place(MAIN_MY_PUZZLE_TEXT, MAIN_MY_PUZZLE);
}

// The difficulty choice of types 0-2, bound to the type's difficulty option.
void FillDifficulty(int gameType)
{
    static const char *const *const kWords[3] = {kArcadeWords, kStrategicWords, kPuzzleWords};
    ScreensBindOptionChoice(W(MAIN_DIFFICULTY), &Options().difficulty[gameType],
                            PlinxGetNumDifficultiesForGameType(gameType), nullptr, (const char **)kWords[gameType],
                            "difficulty");
    if (W(MAIN_DIFFICULTY_TEXT))
        W(MAIN_DIFFICULTY_TEXT)->SetText(gameType == GAME_TYPE_STRATEGIC ? "SIZE" : "DIFFICULTY");
}

// The system puzzles of the current PUZZLE difficulty as the level choice; none turns
// the row and START off.
void FillPuzzleLevel()
{
    const int difficulty = Options().difficulty[GAME_TYPE_PUZZLE];
    const int count = PuzzlesGetNumPuzzlesOfDifficulty(difficulty);
    MWinButton *choice = W(MAIN_STARTING_LEVEL);
    if (count > 0)
    {
        for (int widget : {MAIN_STARTING_LEVEL_TEXT, MAIN_STARTING_LEVEL, MAIN_SPEED_TEXT, MAIN_SPEED, MAIN_START_GAME})
            SetEnabled(widget, true);
        int8_t &level = Options().puzzleLevel[difficulty];
        ClampOption(&level, count);
        if (choice)
        {
            choice->ChoiceSetStringsCallback(count, PuzzleLevelChoiceText, nullptr);
            choice->ChoiceRegisterCharVariable((char *)&level);
        }
        return;
    }
    static const char *const kNone[1] = {" "};
    if (choice)
        choice->ChoiceSetStrings(1, (const char **)kNone);
    for (int widget : {MAIN_STARTING_LEVEL_TEXT, MAIN_STARTING_LEVEL, MAIN_SPEED_TEXT, MAIN_SPEED, MAIN_START_GAME})
        SetEnabled(widget, false);
    s_main.noSystemPuzzles = true;
}

} // namespace

void MainUpdateGameSetupButtons()
{
    if (!W(MAIN_GAME_TYPE))
        return;
    s_main.noSystemPuzzles = false;
    const int gameType = CurrentGameType();
    char title[48];
    snprintf(title, sizeof(title), "%s GAMES", PlinxGetGameTypeName(gameType));
    W(MAIN_GAME_TYPE)->SetText(title);
    for (int widget : {MAIN_DIFFICULTY, MAIN_STARTING_LEVEL, MAIN_SPEED, MAIN_MY_PUZZLE})
        if (W(widget))
            W(widget)->ChoiceSetShowArrows(true);

    const bool ownPuzzles = gameType == GAME_TYPE_MY_PUZZLES;
    if (!ownPuzzles)
    {
        FillDifficulty(gameType);
        if (gameType != GAME_TYPE_PUZZLE)
        {
            int8_t *level = gameType == GAME_TYPE_ARCADE ? &Options().arcadeStartLevel : &Options().strategicStartSize;
            ScreensBindOptionChoice(W(MAIN_STARTING_LEVEL), level, kStartingLevels, nullptr,
                                    (const char **)kLevelWords, "starting level");
            SetEnabled(MAIN_STARTING_LEVEL_TEXT, true);
            SetEnabled(MAIN_STARTING_LEVEL, true);
        }
    }
    else
        SelectCurrentOwnPuzzle();

    SetEnabled(MAIN_SUBMIT_SCORE, ScoresGetLastScoreForCurrentGameTypeAndDifficulty(nullptr) != nullptr);
    for (int widget : {MAIN_DIFFICULTY_TEXT, MAIN_DIFFICULTY, MAIN_STARTING_LEVEL_TEXT, MAIN_STARTING_LEVEL})
        SetShown(widget, !ownPuzzles);
    for (int widget : {MAIN_MY_PUZZLE_TEXT, MAIN_MY_PUZZLE, MAIN_PUZZLE_NEW, MAIN_PUZZLE_EDIT, MAIN_PUZZLE_DELETE})
        SetShown(widget, ownPuzzles);
    SetShown(MAIN_SPEED_TEXT, false);
    SetShown(MAIN_SPEED, false);
    SetEnabled(MAIN_START_GAME, true);
    PlaceRows(!ownPuzzles, !ownPuzzles, ownPuzzles, gameType);

    if (ownPuzzles)
    {
        const int count = PuzzlesGetNumPuzzles(GAME_TYPE_MY_PUZZLES);
        // Creating and editing happen on the puzzle properties screen.
        PlinxScreens *registry = static_cast<PlinxScreens *>(s_screens);
        const bool editor = registry && registry->HasScreen(plinx_screen_cp_props);
        SetEnabled(MAIN_START_GAME, count >= 1);
        SetEnabled(MAIN_PUZZLE_NEW, editor && count < PUZZLE_MAX_LIST);
        for (int widget : {MAIN_PUZZLE_EDIT, MAIN_PUZZLE_DELETE, MAIN_MY_PUZZLE, MAIN_MY_PUZZLE_TEXT})
            SetEnabled(widget, count >= 1);
        if (count >= 1 && !editor)
            SetEnabled(MAIN_PUZZLE_EDIT, false);
        FillOwnPuzzleChoice();
        for (int widget :
             {MAIN_SCORES_BOX, MAIN_SCORES, MAIN_ONLINE_SCORES, MAIN_SUBMIT_SCORE, MAIN_UPDATE_SCORES, MAIN_SCORES_RANGE})
            SetShown(widget, false);
        return;
    }
    for (int widget : {MAIN_SCORES_BOX, MAIN_SCORES, MAIN_ONLINE_SCORES, MAIN_SUBMIT_SCORE, MAIN_UPDATE_SCORES,
                       MAIN_SCORES_RANGE})
        SetShown(widget, true);
    if (gameType == GAME_TYPE_PUZZLE)
        FillPuzzleLevel();
    MainSetupScoresTable(true);
}

void MainRefreshGameSetupScreen()
{
    MainUpdateGameSetupButtons();
}

void MainRequestAutoSubmitScore()
{
    s_main.autoSubmitRequested = true;
}

// ---- Own puzzles --------------------------------------------------------------------------------

namespace
{

void NewPuzzleNameEntered(MWin *mwin, char button, void *user)
{
    // The typed name as a puzzle file can carry it.
    char name[PUZZLE_NAME_SIZE];
    CpPropsCleanName(s_main.newPuzzleName, name, sizeof(name));
    if (button != 1 || CurrentGameType() != GAME_TYPE_MY_PUZZLES)
        return;
    // A new puzzle never takes the files of one that exists.
    if (CpPropsRefuseName(mwin, name, s_main.newPuzzleName))
        return;
    if (!PuzzlesReset(GAME_TYPE_MY_PUZZLES, name))
        return;
    PuzzlesPrepareToStart();
    Goto(plinx_screen_cp_props);
}

void NewOwnPuzzle()
{
    memset(s_main.newPuzzleName, 0, sizeof(s_main.newPuzzleName));
    MainGetMWin()->PopupGetText(nullptr, "ENTER A NAME FOR YOUR NEW PUZZLE", s_main.newPuzzleName, PUZZLE_NAME_SIZE,
                             NewPuzzleNameEntered, nullptr);
}

const char *SelectedOwnPuzzleName()
{
    const _PuzzleListEntry *entry = PuzzlesGetListEntry(GAME_TYPE_MY_PUZZLES, s_main.selectedOwnPuzzle);
    return entry ? entry->name : nullptr;
}

void EditOwnPuzzle()
{
    const char *name = SelectedOwnPuzzleName();
    if (CurrentGameType() != GAME_TYPE_MY_PUZZLES || !name)
        return;
    char copy[PUZZLE_NAME_SIZE];
    EngSafeStrcpy(copy, name, sizeof(copy));
    PuzzlePropertiesShow(s_screens, copy);
}

void DeletePuzzleConfirmed(MWin *mwin, char button, void *user)
{
    const char *name = SelectedOwnPuzzleName();
    if (button != 1 || CurrentGameType() != GAME_TYPE_MY_PUZZLES || !name)
        return;
    char copy[PUZZLE_NAME_SIZE];
    EngSafeStrcpy(copy, name, sizeof(copy));
    if (!PuzzleDeleteFile(GAME_TYPE_MY_PUZZLES, copy))
        return;
    PuzzlesLoadPuzzlesType(GAME_TYPE_MY_PUZZLES);
    MainUpdateGameSetupButtons();
}

void AskDeleteOwnPuzzle()
{
    MainGetMWin()->PopupOKCancel("CONFIRM PUZZLE DELETION", "ARE YOU SURE YOU WANT TO DELETE THIS PUZZLE ?",
                              DeletePuzzleConfirmed, nullptr);
}

// ---- Starting a game ----------------------------------------------------------------------------

void StartGame()
{
    _GameState &gs = GameState;
    const int gameType = CurrentGameType();
    if (gameType == GAME_TYPE_PUZZLE)
    {
        const int difficulty = gs.userOptions.difficulty[GAME_TYPE_PUZZLE];
        const char *name = PuzzlesGetPuzzleNameOfDifficulty(difficulty, gs.userOptions.puzzleLevel[difficulty]);
        if (!name || !PuzzlesLoadFromFile(GAME_TYPE_PUZZLE, name))
            return;
    }
    else if (gameType == GAME_TYPE_MY_PUZZLES)
    {
        const char *name = SelectedOwnPuzzleName();
        if (!name)
            return;
        char copy[PUZZLE_NAME_SIZE];
        EngSafeStrcpy(copy, name, sizeof(copy));
        if (!PuzzlesLoadFromFile(GAME_TYPE_MY_PUZZLES, copy))
            return;
    }
    else
        PuzzlesClearCurrentPuzzle();
    gs.gameType = gameType;
    // A new game replaces the type's saved one: it must not come back later.
    SaveGameRemoveAnyCurrentSavedGame();
    LevelDoneNewGameStarted();
    // A game started here is played, never edited, whichever way the editor was left.
    PuzzlesReleaseEditor();
    AppGoFromMenusToGame(ScreensStartNewGame, 0);
}

} // namespace

// ---- Behaviour --------------------------------------------------------------------------------------

MainCC::MainCC(MWinScreens *screens)
{
    ClearButtonPointers();
    SetScreensVar(screens);
}

void MainCC::StartingCB(void *data)
{
    if (W(MAIN_BACK))
        W(MAIN_BACK)->SetEscapeButtonForParentWindow();
    SetShown(MAIN_INTERNET_WAIT, false);
    if (W(MAIN_SPEED))
        W(MAIN_SPEED)->ChoiceSetStrings(5, (const char **)kSpeedWords);
    const int gameType = CurrentGameType();
    SetShown(MAIN_DELETE_SCORE, false);
    SetShown(MAIN_DEBUG, false);
    ScreensEnableWhenRegistered(s_screens, W(MAIN_OPTIONS), plinx_screen_options);
    PuzzlesLoadAllLists();
    MainUpdateGameSetupButtons();

    _UserOptions &options = Options();
    // A game that just ended is finished for good: no saved game of it comes back.
    if (GameState.checkGameOverScore)
    {
        SaveGameRemoveAnyCurrentSavedGame();
        return;
    }
    if (gameType < GAME_TYPE_MY_PUZZLES && options.savedGame[gameType])
    {
        options.savedGame[gameType] = 0;
        // The restore goes on to the pause screen; nothing of this screen is touched after.
        if (!ResumeSavedGame(0))
            MainGetMWin()->PopupMessage(nullptr, "ERROR TRYING TO RESUME GAME");
    }
}

void MainCC::TickCB()
{
    _GameState &gs = GameState;
    if (gs.checkGameOverScore)
    {
        gs.checkGameOverScore = 0;
        ScoresCheckGameOverScore();
        return;
    }
    const bool popupOn = MainGetMWin()->IsPopupOn();
    if (!popupOn && s_main.autoSubmitRequested)
    {
        s_main.autoSubmitRequested = false;
        MainSubmitScore();
    }
    MainScoresTick(popupOn);
}

void MainCC::RenderCB(int pass)
{
    // The online rows' flags are drawn by the table's own cell hook, inside its clipping.
}

bool MainCC::ControlCB(MWinButton *button, _MWinButtonCallbackInfo *info)
{
    if (!button)
        return false;
    if (button == W(MAIN_DIFFICULTY))
        MainUpdateGameSetupButtons();
    else if (button == W(MAIN_MY_PUZZLE))
    {
        s_main.selectedOwnPuzzle = button->ChoiceGetSel();
        FillOwnPuzzleChoice();
    }
    else if (button == W(MAIN_START_GAME))
        StartGame();
    else if (button == W(MAIN_PUZZLE_NEW))
        NewOwnPuzzle();
    else if (button == W(MAIN_PUZZLE_EDIT))
        EditOwnPuzzle();
    else if (button == W(MAIN_PUZZLE_DELETE))
        AskDeleteOwnPuzzle();
    else if (button == W(MAIN_ONLINE_SCORES))
        MainToggleOnlineScores();
    else if (button == W(MAIN_SCORES_RANGE))
        MainNextScoresRange();
    else if (button == W(MAIN_SUBMIT_SCORE))
        MainSubmitScore();
    else if (button == W(MAIN_UPDATE_SCORES))
        MainRefreshOnlineScores(true, false);
    else if (button == W(MAIN_OPTIONS))
        Goto(plinx_screen_options);
    else if (button == W(MAIN_BACK))
        Goto(plinx_screen_select);
    else if (button == W(MAIN_GAME_TYPE))
        MainUpdateGameSetupButtons();
    else
        return false;
    return true;
}
