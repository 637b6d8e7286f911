// What the simpler menu screens share when they build themselves: one table row per
// widget of the window "MainWin", added in table order on the 640x480 design space.
#pragma once
#include "MWin.h"

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

// Builds the collection `collectionId` on `desktop` (the root's own when NULL) with the
// window "MainWin" of `count` widgets from `rows`; `widgets` gets one pointer per row
// (NULL where a widget failed) and `*window` the window. The window reports its presses to
// `controller`. NULL and a logged error when the collection could not be made; failed
// widgets are logged once and the rest are still added.
MWinCollection *ScreensBuildCollection(MWin *mwin, MWinDesktop *desktop, const char *collectionId,
                                       const _ScreensWidgetRow *rows, int count, MWinButton **widgets,
                                       MWinWindow **window, MWinCollectionController *controller);
