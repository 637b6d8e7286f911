// The puzzle properties screen: its layout, the choices bound to the current puzzle, the
// late renaming of the puzzle's files and the ways out (editor, test run, upload, help,
// back to the set-up screen).
#include "CpProps.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "AppHooks.h"
#include "EngDebug.h"
#include "EngMemory.h"
#include "EngProgram.h"
#include "EngWindow.h"
#include "GameState.h"
#include "Pause.h"
#include "PlinxScreens.h"
#include "Puzzles.h"
#include "ScreensBuild.h"
#include "ScreensOnline.h"

namespace
{

#define LABEL(id, text, y) \
    {id, MWIN_BUTTON_PUSH, MWIN_TEXBUT_NONE, text, 15, y, 386, 13, 0.9f, 1, 1, 0.8f, 1, 1, 2}
#define CHOICE(id, text, x, y) \
    {id, MWIN_BUTTON_CHOICE, MWIN_TEXBUT_NONE, text, x, y, 181, 13, 1, 0.9f, 0.3f, 0.8f, 1, 1, 1}
#define BIG(id, text, x, w) {id, MWIN_BUTTON_PUSH, "Main", text, x, 430, w, 45, 1, 1, 1, 0.75f, 1.3f, 1.42f, 1}
#define TOP(id, text, x) {id, MWIN_BUTTON_PUSH, "Main", text, x, 7, 175, 28, 1, 1, 1, 0.7f, 1, 1.1f, 1}

const _ScreensWidgetRow kNormal[CPPROPS_NUM_WIDGETS] = {
    LABEL("NameText", "PUZZLE NAME", 77),
    {"Name", MWIN_BUTTON_TEXT_EDIT, "Box", "-", 420, 72, 181, 22, 1, 0.9f, 0.3f, 0.8f, 1, 1, 1},
    LABEL("WidthText", "WIDTH", 132),
    CHOICE("Width", "15", 420, 132),
    LABEL("BallTypesText", "DIFFERENT BALL TYPES", 159),
    CHOICE("BallTypes", "15", 420, 159),
    LABEL("MoveDownText", "MOVING DOWN AMOUNT", 209),
    CHOICE("MoveDown", "5", 420, 209),
    LABEL("FallUpText", "MOVE UP AMOUNT FOR FALLING BALLS", 236),
    CHOICE("FallUp", "5", 420, 236),
    LABEL("RemoveUpText", "MOVE UP AMOUNT FOR REMOVING BALLS", 263),
    CHOICE("RemoveUp", "5", 420, 263),
    LABEL("LandUpText", "MOVE UP AMOUNT WHEN BALL LANDS", 290),
    CHOICE("LandUp", "5", 420, 290),
    // In capitals like the other labels: the rows are too low for the tails of g and y.
    LABEL("DifffText", "SUGGESTED DIFFICULTY", 341),
    CHOICE("Diff", "Unset", 420, 341),
    LABEL("LevelText", "SUGGESTED LEVEL", 368),
    CHOICE("Level", "Unset", 419, 368),
    BIG("Edit", "PUZZLE DESIGN", 216, 208),
    BIG("Test", "TEST", 0, 130),
    BIG("Quit", "QUIT", 510, 130),
    TOP("Send", "SEND TO FERNBROOKS", 3),
    TOP("Help", "HELP", 462),
};

#undef LABEL
#undef CHOICE
#undef BIG
#undef TOP

const int kWidthItems = PUZZLE_MAX_WIDTH - PUZZLE_MIN_WIDTH + 1; // 16: "5" to "20"
const int kAmountItems = PUZZLE_MAX_AMOUNT + 1;                  // 30: 0 to 29
const int kLevelItems = 20;
const char *const kDifficultyWords[PUZZLE_NUM_DIFFICULTIES] = {"EASY", "MEDIUM", "HARD"};

struct CpPropsScreen
{
    MWinCollection *collection;
    MWinWindow *window;
    MWinButton *widgets[CPPROPS_NUM_WIDGETS];
};
CpPropsScreen s_props = {};

MWinButton *W(int widget)
{
    return s_props.widgets[widget];
}

// ---- Item texts -------------------------------------------------------------------------------

const char *WidthItemCB(int item, MWinButton *, void *)
{
    static char text[8];
    if (item < 0 || item >= kWidthItems)
        return "XXX";
    snprintf(text, sizeof(text), "%d", item + 5);
    return text;
}

const char *BallTypesItemCB(int item, MWinButton *, void *)
{
    static char text[8];
    if (item < 0 || item >= PUZZLE_MAX_BALL_TYPES)
        return "XXX";
    snprintf(text, sizeof(text), "%d", item + 1);
    return text;
}

// The words of the number lists when the language texts lack them.
const char **AmountWords()
{
    static char texts[kAmountItems][4];
    static const char *words[kAmountItems];
    for (int i = 0; i < kAmountItems; i++)
    {
        snprintf(texts[i], sizeof(texts[i]), "%d", i);
        words[i] = texts[i];
    }
    return words;
}

const char **LevelWords()
{
    static char texts[kLevelItems][12];
    static const char *words[kLevelItems];
    for (int i = 0; i < kLevelItems; i++)
    {
        snprintf(texts[i], sizeof(texts[i]), "LEVEL %d", i + 1);
        words[i] = texts[i];
    }
    return words;
}

MWin *GetMWin(MWinScreens *screens)
{
    return screens ? screens->GetMWin() : nullptr;
}

void Popup(MWin *mwin, const char *text)
{
    if (mwin)
        mwin->PopupMessageText(text);
}

// ---- Ways out -----------------------------------------------------------------------------------

void StartEditorCB()
{
    PuzzlesPrepareToStart();
}

void StartTestCB()
{
    if (PuzzlesPrepareToStart())
        PuzzlesStartTest(1);
}

const char *TypedName()
{
    return W(CPPROPS_NAME) ? W(CPPROPS_NAME)->TextEditGetTextOrEmpty() : GameState.puzzle.name;
}

// The typed name is applied before the way out; a refused one keeps the screen up.
bool ApplyTypedName(MWinScreens *screens)
{
    if (CpPropsApplyName(GetMWin(screens), TypedName()))
        return true;
    if (W(CPPROPS_NAME))
        W(CPPROPS_NAME)->TextEditSetText(GameState.puzzle.name);
    return false;
}

void StartTest(MWinScreens *screens)
{
    if (ApplyTypedName(screens))
        AppGoFromMenusToGame(StartTestCB, 0);
}

void OpenHelpPage(MWinScreens *screens)
{
    char url[SCREENS_MAX_URL_LENGTH + 1];
    if (!ScreensGetPuzzleHelpUrl(url, sizeof(url)))
    {
        Popup(GetMWin(screens), "COULD NOT FIND THE PUZZLE HELP PAGE");
        return;
    }
    // In full screen the program ends first: what was typed is kept.
    if (!EngScreenSettings.windowed)
    {
        if (!ApplyTypedName(screens))
            return;
        PuzzlesSaveToFile();
    }
    ScreensGoOnline(GetMWin(screens), nullptr, url, false, false, true, false);
}

void HelpAnsweredCB(MWin *mwin, char button, void *user)
{
    if (button == 1)
        OpenHelpPage(static_cast<MWinScreens *>(user));
}

bool SameName(const char *a, const char *b)
{
    return strncasecmp(a, b, PUZZLE_NAME_SIZE) == 0;
}

} // namespace

MWinButton *CpPropsGetWidget(int widget)
{
    return widget >= 0 && widget < CPPROPS_NUM_WIDGETS ? s_props.widgets[widget] : nullptr;
}

// ---- Names ----------------------------------------------------------------------------------------

void CpPropsCleanName(const char *typed, char *out, int size)
{
    if (!out || size < 1)
        return;
    out[0] = 0;
    if (!typed)
        return;
    char kept[PUZZLE_NAME_SIZE * 4] = "";
    int length = 0;
    for (const unsigned char *p = (const unsigned char *)typed; *p && length < (int)sizeof(kept) - 1; p++)
    {
        if (*p < 0x20 || *p > 0x7E || strchr("/\\:*?\"<>|", *p))
            continue;
        kept[length++] = (char)toupper(*p);
    }
    kept[length] = 0;
    int first = 0;
    while (kept[first] == ' ' || kept[first] == '.')
        first++;
    int last = length;
    while (last > first && (kept[last - 1] == ' ' || kept[last - 1] == '.'))
        last--;
    if (last - first > PUZZLE_MAX_NAME_LENGTH)
        last = first + PUZZLE_MAX_NAME_LENGTH;
    // Cut to the limit, the end may again be a space or dot.
    while (last > first && (kept[last - 1] == ' ' || kept[last - 1] == '.'))
        last--;
    int count = last - first < size - 1 ? last - first : size - 1;
    memcpy(out, kept + first, (size_t)count);
    out[count] = 0;
}

bool CpPropsIsNameTaken(const char *name)
{
    if (!name || !name[0])
        return false;
    PuzzlesLoadPuzzlesType(GAME_TYPE_MY_PUZZLES);
    for (int i = 0; i < PuzzlesGetNumPuzzles(GAME_TYPE_MY_PUZZLES); i++)
    {
        const _PuzzleListEntry *entry = PuzzlesGetListEntry(GAME_TYPE_MY_PUZZLES, i);
        if (entry && SameName(entry->name, name))
            return true;
    }
    return false;
}

bool CpPropsRefuseName(MWin *mwin, const char *name, const char *typed)
{
    if (!name || !name[0] || !PuzzlesIsValidName(name))
    {
        DebugError(ENG_FUNC, "Refused puzzle name <%s>", typed ? typed : "");
        Popup(mwin, "PLEASE ENTER A NAME FOR THE PUZZLE");
        return true;
    }
    if (CpPropsIsNameTaken(name))
    {
        DebugError(ENG_FUNC, "A puzzle named <%s> exists", name);
        Popup(mwin, "YOU ALREADY HAVE A PUZZLE WITH THAT NAME");
        return true;
    }
    return false;
}

bool CpPropsApplyName(MWin *mwin, const char *typed)
{
    _Puzzle &puzzle = GameState.puzzle;
    char name[PUZZLE_NAME_SIZE];
    CpPropsCleanName(typed, name, sizeof(name));
    if (SameName(name, puzzle.name))
        return true;
    if (CpPropsRefuseName(mwin, name, typed))
        return false;
    // Saved under the new name first: a failed save leaves the old files untouched.
    char oldName[PUZZLE_NAME_SIZE];
    EngSafeStrcpy(oldName, puzzle.name, sizeof(oldName));
    PuzzlesLoadTestingFile();
    EngSafeStrcpy(puzzle.name, name, sizeof(puzzle.name));
    if (!PuzzlesSaveToFile())
    {
        EngSafeStrcpy(puzzle.name, oldName, sizeof(puzzle.name));
        Popup(mwin, "COULD NOT SAVE PUZZLE FILE");
        return false;
    }
    PuzzlesSaveTestingFile();
    if (oldName[0])
        PuzzleDeleteFile(puzzle.type, oldName);
    PuzzlesLoadPuzzlesType(puzzle.type);
    DebugInfo("Puzzle <%s> renamed <%s>", oldName, name);
    return true;
}

bool PuzzlePropertiesShow(MWinScreens *screens, const char *name)
{
    bool ok;
    if (name)
        ok = PuzzlesLoadFromFile(GAME_TYPE_MY_PUZZLES, name);
    else
    {
        PuzzlesLoadPuzzlesType(GAME_TYPE_MY_PUZZLES);
        char fresh[PUZZLE_NAME_SIZE] = "UNTITLED";
        for (int number = 2; number < 1000; number++)
        {
            bool taken = false;
            for (int i = 0; i < PuzzlesGetNumPuzzles(GAME_TYPE_MY_PUZZLES) && !taken; i++)
                taken = SameName(PuzzlesGetListEntry(GAME_TYPE_MY_PUZZLES, i)->name, fresh);
            if (!taken)
                break;
            snprintf(fresh, sizeof(fresh), "UNTITLED %d", number);
        }
        ok = PuzzlesReset(GAME_TYPE_MY_PUZZLES, fresh) && PuzzlesSaveToFile();
    }
    ok = ok && PuzzlesPrepareToStart();
    if (!ok)
    {
        DebugError(ENG_FUNC, "Could not open puzzle <%s>", name ? name : "(new)");
        return false;
    }
    if (screens)
        screens->GotoScreen(plinx_screen_cp_props, nullptr);
    return true;
}

// ---- Layout ---------------------------------------------------------------------------------------

CpPropsCollectionController::CpPropsCollectionController()
{
    ClearButtonPointers();
}

void CpPropsCollectionController::ClearButtonPointers()
{
    s_props = {};
}

MWinCollection *CpPropsCollectionController::AddCollectionToDesktop(MWin *mwin, MWinDesktop *desktop)
{
    s_props.collection = ScreensBuildCollection(mwin, desktop, "CpProps", kNormal, CPPROPS_NUM_WIDGETS,
                                                s_props.widgets, &s_props.window, this);
    return s_props.collection;
}

// ---- Behaviour --------------------------------------------------------------------------------------

CpPropsCC::CpPropsCC(MWinScreens *screens)
{
    ClearButtonPointers();
    SetScreensVar(screens);
}

void CpPropsCC::StartingCB(void *data)
{
    _Puzzle &puzzle = GameState.puzzle;
    for (int widget : {CPPROPS_WIDTH, CPPROPS_BALL_TYPES, CPPROPS_MOVE_DOWN, CPPROPS_FALL_UP, CPPROPS_REMOVE_UP,
                       CPPROPS_LAND_UP, CPPROPS_DIFF, CPPROPS_LEVEL})
        if (W(widget))
            W(widget)->ChoiceSetShowArrows(true);
    if (MWinButton *name = W(CPPROPS_NAME))
    {
        // The one limit of puzzle names everywhere: what the puzzle files and lists hold.
        name->TextEditSetLength(PUZZLE_MAX_NAME_LENGTH);
        name->TextEditSetText(puzzle.name);
    }
    if (puzzle.width < PUZZLE_MIN_WIDTH || puzzle.width > PUZZLE_MAX_WIDTH)
        puzzle.width = 11;
    if (puzzle.numBallTypes < 1 || puzzle.numBallTypes > PUZZLE_MAX_BALL_TYPES)
        puzzle.numBallTypes = 5;
    if (W(CPPROPS_WIDTH))
    {
        W(CPPROPS_WIDTH)->ChoiceSetStringsCallback(kWidthItems, WidthItemCB, nullptr);
        W(CPPROPS_WIDTH)->ChoiceSetSel(puzzle.width - PUZZLE_MIN_WIDTH, 0);
    }
    if (W(CPPROPS_BALL_TYPES))
    {
        W(CPPROPS_BALL_TYPES)->ChoiceSetStringsCallback(PUZZLE_MAX_BALL_TYPES, BallTypesItemCB, nullptr);
        W(CPPROPS_BALL_TYPES)->ChoiceSetSel(puzzle.numBallTypes - 1, 0);
    }
    struct
    {
        int widget;
        int8_t *amount;
        const char *name;
    } amounts[] = {{CPPROPS_MOVE_DOWN, &puzzle.moveDown, "MoveDown"},
                   {CPPROPS_LAND_UP, &puzzle.arcadeLandUp, "LandUp"},
                   {CPPROPS_REMOVE_UP, &puzzle.removeUp, "RemoveUp"},
                   {CPPROPS_FALL_UP, &puzzle.fallUp, "FallUp"}};
    for (const auto &amount : amounts)
        ScreensBindOptionChoice(W(amount.widget), amount.amount, kAmountItems, "Misc_NumbersFrom0To39List",
                                AmountWords(), amount.name);
    for (int widget : {CPPROPS_LAND_UP_TEXT, CPPROPS_LAND_UP})
        if (W(widget))
            W(widget)->Hide();
    ScreensBindOptionChoice(W(CPPROPS_DIFF), &puzzle.difficulty, PUZZLE_NUM_DIFFICULTIES, nullptr,
                            const_cast<const char **>(kDifficultyWords), "Diff");
    if (MWinButton *level = W(CPPROPS_LEVEL))
    {
        if (puzzle.level < 0 || puzzle.level >= kLevelItems)
            puzzle.level = 0;
        level->ChoiceSetStrings(kLevelItems, LevelWords());
        level->ChoiceRegisterIntVariable(&puzzle.level, 0);
    }
    if (W(CPPROPS_QUIT))
        W(CPPROPS_QUIT)->SetEscapeButtonForParentWindow();
    // The upload screen comes with the online part; until then its button stays off.
    PlinxScreens *registry = static_cast<PlinxScreens *>(GetScreens());
    if (W(CPPROPS_SEND))
        W(CPPROPS_SEND)->SetEnabled(registry && registry->HasScreen(plinx_screen_send_puzzle));
}

void CpPropsCC::TickCB()
{
    MWin *mwin = GetMWin(GetScreens());
    if (mwin && !mwin->IsTextEditActive() && EngKeyStates['T'] >= 2)
    {
        EngKeyStates['T'] = 0;
        StartTest(GetScreens());
    }
}

bool CpPropsCC::ControlCB(MWinButton *button, _MWinButtonCallbackInfo *info)
{
    if (!button)
        return false;
    MWinScreens *screens = GetScreens();
    _Puzzle &puzzle = GameState.puzzle;
    if (button == W(CPPROPS_WIDTH))
    {
        puzzle.width = button->ChoiceGetSel() + PUZZLE_MIN_WIDTH;
        return true;
    }
    if (button == W(CPPROPS_BALL_TYPES))
    {
        puzzle.numBallTypes = button->ChoiceGetSel() + 1;
        return true;
    }
    if (button == W(CPPROPS_EDIT))
    {
        if (ApplyTypedName(screens))
            AppGoFromMenusToGame(StartEditorCB, 0);
        return true;
    }
    if (button == W(CPPROPS_TEST))
    {
        StartTest(screens);
        return true;
    }
    if (button == W(CPPROPS_QUIT))
    {
        if (!ApplyTypedName(screens))
            return true;
        PuzzlesSaveToFile();
        PuzzlesReleaseEditor();
        ScreensGotoGameSetUp(screens);
        return true;
    }
    if (button == W(CPPROPS_SEND))
    {
        // Sent under the name it has now; a newly typed one is applied on the ways out.
        if (PuzzlesSaveToFile())
            screens->GotoScreen(plinx_screen_send_puzzle, nullptr);
        else
            Popup(GetMWin(screens), "COULD NOT SAVE PUZZLE FILE");
        return true;
    }
    if (button == W(CPPROPS_HELP))
    {
        if (EngScreenSettings.windowed)
            OpenHelpPage(screens);
        else if (MWin *mwin = GetMWin(screens))
            mwin->PopupYesNo(nullptr, "Exit game and view puzzle help ?", HelpAnsweredCB, screens);
        return true;
    }
    return false;
}
