// What the simpler menu screens share when they build themselves: one table row per
// widget of the window "MainWin", added in table order on the 640x480 design space.
#pragma once
#include <cstdint>

#include "MWin.h"

// The layout half that the table-built screens share: it takes the registry and builds the
// screen's collection on the root's desktop through the screen's own
// AddCollectionToDesktop.
class ScreensCollectionController : public MWinCollectionController
{
public:
    // Stops the program when `screens` or its root is missing.
    void SetScreensVar(MWinScreens *screens);
    // False (logged "No mwinp") without a root, or when no collection was made.
    bool CreateCollection(MWin *mwin) override;
    virtual MWinCollection *AddCollectionToDesktop(MWin *mwin, MWinDesktop *desktop) = 0;
};

struct _ScreensWidgetRow
{
    const char *id;
    int kind;               // _MWinButtonType
    const char *texBut;
    const char *text;
    float x, y, w, h;
    float r, g, b, a;       // text colour
    float scaleX, scaleY;
    int align;              // 0 left, 1 centre, 2 right
    float mr, mg, mb, ma;   // colour multiplier; ma 0: none
};

// Adds the empty collection `collectionId` to `desktop` (the root's own when NULL) in the
// root's screen layout. NULL and a logged error without a root, a desktop or the collection.
MWinCollection *ScreensAddCollection(MWin *mwin, MWinDesktop *desktop, const char *collectionId);

// Builds the collection `collectionId` on `desktop` (the root's own when NULL) with the
// window "MainWin" of `count` widgets from `rows`; `widgets` gets one pointer per row
// (NULL where a widget failed) and `*window` the window. The window reports its presses to
// `controller`. NULL and a logged error when the collection could not be made; failed
// widgets are logged once and the rest are still added. The window covers the whole
// design space without a title unless `windowInfo` describes another.
MWinCollection *ScreensBuildCollection(MWin *mwin, MWinDesktop *desktop, const char *collectionId,
                                       const _ScreensWidgetRow *rows, int count, MWinButton **widgets,
                                       MWinWindow **window, MWinCollectionController *controller,
                                       const _MWinWindowCreateInfo *windowInfo = nullptr);

// The window of a screen with a title bar and a back button ("Back") below the top strip,
// in the font "Main", for ScreensBuildCollection's `windowInfo`.
void ScreensTitledWindowInfo(_MWinWindowCreateInfo *info, const char *title, const char *titleToken);
// Gives each widget with a token (NULL: none) its language text.
void ScreensSetWidgetTokens(MWinButton **widgets, const char *const *tokens, int count);

// Makes `choice` (a choice widget, with its arrows) show `count` items and binds it to the
// option byte `option`, so that the widget shows the stored value and every change is
// written straight into it. The items are the first `count` sub-texts of the language
// token `token` (NULL: none); when the token is missing or too short, `words`. A stored
// value outside the items is logged as `name` and set to the nearest item first.
// False when either widget or option is missing, or the items could not be set.
bool ScreensBindOptionChoice(MWinButton *choice, int8_t *option, int count, const char *token, const char **words,
                             const char *name);
// A button whose screen may not be part of the program yet: enabled only while a screen
// of that id is registered with `screens`.
void ScreensEnableWhenRegistered(MWinScreens *screens, MWinButton *button, ScreenId id);
