// The on-screen keyboard's layouts: one table of widgets, four geometries.
#include "KeyInput.h"

#include "EngDebug.h"
#include "ScreensBuild.h"

namespace
{

const char *const kIds[KEY_INPUT_NUM_WIDGETS] = {"Bg", "Title", "Message", "Text", "KeysBack", "Done", "Shift", "Del"};
const char *const kTexButs[KEY_INPUT_NUM_WIDGETS] = {"Back1",         "Back1",       "MWIN_TEXBUT_NONE",
                                                     "Back1",         "Back1",       MWIN_TEXBUT_DEFAULT,
                                                     MWIN_TEXBUT_DEFAULT, MWIN_TEXBUT_DEFAULT};
const char *const kTexts[KEY_INPUT_NUM_WIDGETS] = {"", "Title", "Optional Message", "Text", "", "Done", "Shift",
                                                   "Delete"};

// x, y, w, h of each widget in the four layouts (the background always fills the screen).
const float kAreas[4][KEY_INPUT_NUM_WIDGETS][4] = {
    // IPhonePortrait
    {{0, 0, 640, 480}, {40, 10, 560, 40}, {40, 50, 560, 40}, {40, 90, 560, 40}, {40, 140, 560, 280},
     {220, 430, 200, 40}, {50, 430, 100, 40}, {490, 430, 100, 40}},
    // IPhoneLandscape
    {{0, 0, 640, 480}, {40, 5, 560, 34}, {40, 40, 560, 30}, {40, 72, 560, 34}, {40, 112, 560, 300},
     {220, 425, 200, 40}, {50, 425, 100, 40}, {490, 425, 100, 40}},
    // IPadPortrait
    {{0, 0, 640, 480}, {60, 20, 520, 40}, {60, 62, 520, 36}, {60, 100, 520, 44}, {60, 152, 520, 260},
     {240, 424, 160, 44}, {60, 424, 120, 44}, {460, 424, 120, 44}},
    // IPadLandscape
    {{0, 0, 640, 480}, {80, 10, 480, 36}, {80, 48, 480, 30}, {80, 80, 480, 40}, {80, 126, 480, 284},
     {240, 420, 160, 44}, {80, 420, 120, 44}, {440, 420, 120, 44}},
};

struct KeyInputScreen
{
    MWinCollection *collection;
    MWinWindow *window;
    MWinButton *widgets[KEY_INPUT_NUM_WIDGETS];
};
KeyInputScreen s_keyInput = {};

// The table of a layout; Normal and unknown values use the phone's portrait one.
int LayoutIndex(int layout)
{
    switch (layout)
    {
    case SCREEN_LAYOUT_IPHONE_LANDSCAPE:
        return 1;
    case SCREEN_LAYOUT_IPAD_PORTRAIT:
        return 2;
    case SCREEN_LAYOUT_IPAD_LANDSCAPE:
        return 3;
    default:
        return 0;
    }
}

} // namespace

MWinButton *KeyInputGetWidget(int widget)
{
    return widget >= 0 && widget < KEY_INPUT_NUM_WIDGETS ? s_keyInput.widgets[widget] : nullptr;
}

MWinWindow *KeyInputGetWindow()
{
    return s_keyInput.window;
}

KeyInputCollectionController::KeyInputCollectionController()
{
    ClearButtonPointers();
}

void KeyInputCollectionController::ClearButtonPointers()
{
    s_keyInput = {};
}

MWinCollection *KeyInputCollectionController::AddCollectionToDesktop(MWin *mwin, MWinDesktop *desktop)
{
    s_keyInput.collection = nullptr;
    if (!mwin)
    {
        DebugError(ENG_FUNC, "No mwinp");
        return nullptr;
    }
    if (!MWinIsLargeScreenDevice())
    {
        DebugError(ENG_FUNC, "Not mobile.");
        return nullptr;
    }
    MWinCollection *collection = ScreensAddCollection(mwin, desktop, "KeyInput");
    if (!collection)
        return nullptr;
    AddMainWinWindowToCollection(collection, collection->GetScreenLayout());
    s_keyInput.collection = collection;
    return collection;
}

MWinWindow *KeyInputCollectionController::AddMainWinWindowToCollection(MWinCollection *collection, int layout)
{
    s_keyInput.window = nullptr;
    _MWinWindowCreateInfo info = {};
    info.kind = MWIN_WINDOW_ORDINARY;
    info.w = 640.0f;
    info.h = 480.0f;
    MWinCopyID(info.titleTexBut, MWIN_TEXBUT_NONE);
    MWinCopyID(info.bodyTexBut, MWIN_TEXBUT_NONE);
    MWinCopyID(info.font, MWIN_FONT_DEFAULT);
    MWinWindow *window = collection ? collection->AddWindow("MainWin", &info) : nullptr;
    if (!window)
    {
        DebugError(ENG_FUNC, "Could not add window");
        return nullptr;
    }
    window->SetScrollSize(0.0f, 0.0f);
    if (!AddMainWinWindowButtonsToWindow(window, layout))
        DebugError(ENG_FUNC, "Could not add buttons to window");
    window->SetController(this);
    s_keyInput.window = window;
    return window;
}

bool KeyInputCollectionController::AddMainWinWindowButtonsToWindow(MWinWindow *window, int layout)
{
    for (MWinButton *&widget : s_keyInput.widgets)
        widget = nullptr;
    if (!window)
    {
        DebugError(ENG_FUNC, "No window");
        return false;
    }
    const float(*areas)[4] = kAreas[LayoutIndex(layout)];
    bool ok = true;
    for (int i = 0; i < KEY_INPUT_NUM_WIDGETS; i++)
    {
        MWinButton *button = window->AddButton(kIds[i], MWIN_BUTTON_PUSH, kTexButs[i], kTexts[i], areas[i][0],
                                               areas[i][1], areas[i][2], areas[i][3]);
        if (!button)
        {
            ok = false;
            continue;
        }
        button->SetFont("Main");
        button->SetTextAlign(MWIN_ALIGN_CENTRE);
        if (i == KEY_INPUT_BG)
        {
            button->SetTextColourRGBA(1, 1, 1, 1);
            button->SetTextScale(2.5f, 1.5f);
        }
        else
        {
            button->SetTextColourRGBA(1, 1, 1, 0.7f);
            button->SetTextScale(1.0f, 1.1f);
        }
        s_keyInput.widgets[i] = button;
    }
    if (!ok)
        DebugError(ENG_FUNC, "Could not add button(s) to window");
    return ok;
}
