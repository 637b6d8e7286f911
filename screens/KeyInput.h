// The layout of the on-screen keyboard's collection "KeyInput" for the text entry of
// large-screen (touch) devices: a background, a title, an optional message, the text being
// entered, an area over which the keys are placed, and "Done", "Shift" and "Del". Only the
// four phone and tablet layouts exist; Normal and any other value build the phone's
// portrait one. The desktop build never shows it, and refuses to build it.
#pragma once
#include "MWin.h"
#include "ScreensBuild.h"

class KeyInputCollectionController : public ScreensCollectionController
{
public:
    KeyInputCollectionController();
    void ClearButtonPointers() override;
    MWinCollection *AddCollectionToDesktop(MWin *mwin, MWinDesktop *desktop) override;
    MWinWindow *AddMainWinWindowToCollection(MWinCollection *collection, int layout);
    bool AddMainWinWindowButtonsToWindow(MWinWindow *window, int layout);
    // The entry places its keys and texts itself; this controller takes no presses.
    bool ControlCB(MWinButton *button, _MWinButtonCallbackInfo *info) override { return false; }
};

enum _KeyInputWidget
{
    KEY_INPUT_BG,
    KEY_INPUT_TITLE,
    KEY_INPUT_MESSAGE,
    KEY_INPUT_TEXT,
    KEY_INPUT_KEYS_BACK,
    KEY_INPUT_DONE,
    KEY_INPUT_SHIFT,
    KEY_INPUT_DEL,
    KEY_INPUT_NUM_WIDGETS,
};
// The widgets and window of the one "KeyInput" collection while it is built (else NULL).
MWinButton *KeyInputGetWidget(int widget);
MWinWindow *KeyInputGetWindow();
