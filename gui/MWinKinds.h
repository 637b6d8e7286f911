// What the button kinds share among themselves (not a screen's header): the layout
// fields each kind reads, the kinds' handler tables that MWinRegisterButtonKinds
// installs, and small drawing and notification helpers.
#pragma once
#include "MWin.h"

// The layout fields (of _MWinLayoutSettings, by index) that the kinds read; the game's
// GUI set-up may replace their values.
enum
{
    MWIN_LF_CHECK_TEXT_INSET = 20,   // gap between the box and the text
    MWIN_LF_CHECK_BOX_W = 21,
    MWIN_LF_CHECK_BOX_H = 22,
    MWIN_LF_CHECK_BOX_GAP = 23,      // box to the button's edge
    MWIN_LF_ARROW_W = 24,            // choice arrows
    MWIN_LF_ARROW_H = 25,
    MWIN_LF_LIST_BOX_W = 26,         // the drop-down's arrow box
    MWIN_LF_LIST_BOX_H = 27,
    MWIN_LF_MIN_THUMB_H = 28,        // panel scrollbar
    MWIN_LF_ARROW_INSET = 30,
    MWIN_LF_CHOICE_TEXT_INSET = 31,
    MWIN_LF_LIST_BOX_INSET = 30,
    MWIN_LF_PANEL_BAR_W = 32,
    MWIN_LF_PANEL_THUMB_W = 33,
    MWIN_LF_EDIT_INSET = 34,         // text edit: text start from the left edge
    MWIN_LF_PANEL_TEXT_MARGIN = 36,
    MWIN_LF_BAR_END_MARGIN = 37,     // panel scrollbar track ends
    MWIN_LF_SLIDER_END_INSET = 38,
    MWIN_LF_SCROLL_TRACK_INSET = 40, // vertical scrollbar
    MWIN_LF_SLIDER_GRAB_W = 41,
    MWIN_LF_TAB_HEADING_H = 29,
    MWIN_LF_TAB_DIVIDER_W = 43,
    MWIN_LF_RING_F1 = 45,            // ring fractions
    MWIN_LF_RING_F2 = 46,
    MWIN_LF_SLIDER_HANDLE_W = 52,
    MWIN_LF_SLIDER_BAR_H = 53,
    MWIN_LF_SCROLL_ARROW_H = 54,     // vertical scrollbar arrows
    MWIN_LF_SCROLL_KNOB_H = 55,
    MWIN_LF_SCROLL_ARROW_INSET = 56,
    MWIN_LF_TAB_DIVIDER_TOP = 57,
    MWIN_LF_TAB_DIVIDER_BOTTOM = 58,
    MWIN_LF_SCROLL_KNOB_W = 61,
    MWIN_LF_COLOUR_BORDER_W = 62,
    MWIN_LF_COLOUR_BORDER_H = 65,
};

// The picture layer every kind's state begins with: a texture or an animated picture
// drawn over the button's background, in the button or in an inset area.
struct _MWinPictureLayer
{
    uint8_t mode;          // 0 none, 2 picture, 4 and above a texture with blending mode - 4
    EngTexture *texture;   // the caller's
    EngPicture *picture;   // the caller's
    bool animate;
    bool hasCoordinates;
    float coordinates[4];  // left, top, right, bottom
    bool hasInsets;
    float insets[4];       // left, top, right, bottom (virtual units)
};
// The button's picture layer (NULL for kinds whose state holds none).
_MWinPictureLayer *MWinKindPictureLayer(const MWinButton *button);

// Settings of the kinds that the GUI root's defaults do not hold (read and written
// whole; the defaults are the toolkit's look).
struct _MWinKindSettings
{
    int32_t choiceHover;        // 0 hovered choice: others normal, 1 others hovered, 2 no hover look
    bool panelBackground;       // the panel's texture button behind the whole panel
    bool panelHoverRows;        // rows light up under a hovered panel
    bool panelHoverState;       // the background of an idle panel in the hover state
    bool ringPie, ringDisc, ringRim;
    int32_t ringBlendType;      // -1: leave the blending as it is
    float ringPieColour[3], ringDiscColour[3], ringRimColour[3];
    float colourBarBorder[3];
    bool tabAlternateRows;      // tab panels stripe odd rows
    bool tabSelectable;         // tab panel rows take clicks
    bool tabEqualWidths;
    bool tabBackgroundsSpan;    // a row's background spans all its columns
};
_MWinKindSettings *MWinKindsGetSettings();
// Writes an index into whichever integer binding the button carries.
void MWinKindWriteBound(MWinButton *button, int value);
// The engine clock (seconds) through the GUI's host; 0 without one.
double MWinKindTime();

// A float field of the button's current layout settings (0 without settings).
float MWinKindLayout(const MWinButton *button, int field);
// Draws a standard texture-button slot in a state over a rectangle, with the button's
// colour multiplier when it has one.
void MWinKindDrawStd(MWinButton *button, int slot, int state, float x, float y, float w, float h);
void MWinKindDrawStdColour(MWinButton *button, int slot, int state, float x, float y, float w, float h,
                           const float *colour);
// The button's own texture button in a state over a rectangle.
void MWinKindDrawOwn(MWinButton *button, int state, float x, float y, float w, float h);
// True when a change of this button reaches someone (its callback or its controller).
bool MWinKindHasListener(const MWinButton *button);
// Whether the engine's key table holds the key as held (Shift, Control, Alt).
bool MWinKindKeyHeld(int virtualKey);
// The precondition of a mouse press for a kind: ready, hovered, enabled, visible and the
// left button; otherwise the pressed and capture states are dropped and false comes back.
bool MWinKindPressReady(MWinButton *button, int which);
// Width of a text in the button's font at its present scale (0 without a font).
float MWinKindTextWidth(MWinButton *button, const char *text, int count);

// The kinds' handler tables.
extern const _MWinButtonKindOps mwin_checkbox_ops;
extern const _MWinButtonKindOps mwin_choice_ops;
extern const _MWinButtonKindOps mwin_list_ops;
extern const _MWinButtonKindOps mwin_panel_ops;
extern const _MWinButtonKindOps mwin_text_edit_ops;
extern const _MWinButtonKindOps mwin_slider_ops;
extern const _MWinButtonKindOps mwin_ring_ops;
extern const _MWinButtonKindOps mwin_picture_carrier_ops;
// Registers the kinds' tables and the popups (MWinRegisterButtonKinds calls it).
void MWinRegisterKindsOfThisModule();
// The popups' handler table for the GUI root.
extern const _MWinPopupOps mwin_popup_ops;

// Virtual keys the kinds answer.
enum
{
    MWIN_VK_BACK = 8,
    MWIN_VK_TAB = 9,
    MWIN_VK_RETURN = 13,
    MWIN_VK_SHIFT = 16,
    MWIN_VK_CONTROL = 17,
    MWIN_VK_MENU = 18,
    MWIN_VK_ESCAPE = 27,
    MWIN_VK_SPACE = 32,
    MWIN_VK_PRIOR = 33,
    MWIN_VK_NEXT = 34,
    MWIN_VK_END = 35,
    MWIN_VK_HOME = 36,
    MWIN_VK_LEFT = 37,
    MWIN_VK_UP = 38,
    MWIN_VK_RIGHT = 39,
    MWIN_VK_DOWN = 40,
    MWIN_VK_DELETE = 46,
};
