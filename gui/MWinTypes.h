// Records, kinds and constants shared by every class of the GUI toolkit, the small id
// and area helpers, and the host table through which the program (a layer above) lets
// the GUI reach its window, clock and frame drawing.
#pragma once
#include <cstdint>

#include "EngMisc.h"
#include "EngTypes.h"

class MWin;
class MWinButton;
class MWinWindow;
class MWinCollection;
class EngTexture;

// ---- Sizes ----------------------------------------------------------------------------
enum
{
    MWIN_ID_SIZE = 32,          // ids: at most 31 characters and the terminator
    MWIN_TOKEN_SIZE = 64,       // language tokens: at most 63 characters
    MWIN_TITLE_SIZE = 256,
    MWIN_FILE_NAME_SIZE = 256,
    MWIN_NUM_LAYOUTS = 5,
    MWIN_LAYOUT_FIELD_COUNT = 67,
};

// ScreenLayout (the layout index of the GUI and the screens) comes from EngMisc.h.

// Engine input events as MWin::HandleInput takes them (the engine's numbering).
enum
{
    MWIN_INPUT_MOUSE_MOVE = 1,
    MWIN_INPUT_BUTTON = 2,
    MWIN_INPUT_DOUBLE_CLICK = 3,
    MWIN_INPUT_WHEEL = 4,
    MWIN_INPUT_KEY_DOWN = 5,
    MWIN_INPUT_KEY_UP = 6,
    MWIN_INPUT_CHARACTER = 7,
};

// GUI sound events handed to the sound callback.
enum
{
    MWIN_SOUND_FIRED = 0,      // a push button fired and its callback accepted it
    MWIN_SOUND_TYPED = 1,      // text edits, on-screen keyboard, scrollbars
    MWIN_SOUND_CHANGED = 2,    // a value or selection changed by the user
    MWIN_SOUND_HOVER = 3,      // the mouse moved onto an enabled focusable button
};

// ---- Buttons ----------------------------------------------------------------------------
enum _MWinButtonType
{
    MWIN_BUTTON_PLAIN = 0,
    MWIN_BUTTON_PUSH = 1,
    MWIN_BUTTON_STATIC = 2,
    MWIN_BUTTON_TEXT_EDIT = 3,
    MWIN_BUTTON_VALUE_BAR = 4,
    MWIN_BUTTON_VERT_SCROLLBAR = 5,
    MWIN_BUTTON_KIND_6 = 6,
    MWIN_BUTTON_LIST = 7,
    MWIN_BUTTON_CHECKBOX = 8,
    MWIN_BUTTON_CHOICE = 9,
    MWIN_BUTTON_PANEL = 10,
    MWIN_BUTTON_COLOUR = 11,
    MWIN_BUTTON_RING = 12,
    MWIN_BUTTON_KIND_13 = 13,
    MWIN_BUTTON_KIND_14 = 14,
    MWIN_BUTTON_TAB_PANEL = 15,
    MWIN_BUTTON_RANGE_SLIDER = 16,
    MWIN_BUTTON_KIND_17 = 17,
    MWIN_BUTTON_KIND_COUNT = 18,
};

// Draw states of buttons and texture buttons.
enum _MWinTextureState
{
    MWIN_TEXSTATE_NORMAL = 0,
    MWIN_TEXSTATE_HOVER = 1,   // hover or keyboard focus
    MWIN_TEXSTATE_PRESSED = 2,
    MWIN_TEXSTATE_DISABLED = 3,
    MWIN_TEXSTATE_COUNT = 4,
};

enum _MWinTextAlign
{
    MWIN_ALIGN_LEFT = 0,
    MWIN_ALIGN_CENTRE = 1,
    MWIN_ALIGN_RIGHT = 2,
};

// The one message number the queue carries: call the button's callback.
enum _MWinMessageNum
{
    MWIN_MSG_CALL_CALLBACK = 0,
};

// Font numbers besides the user fonts (0 and up).
enum
{
    MWIN_FONT_NUM_NONE = -2,
    MWIN_FONT_NUM_DEFAULT = -1,
};

// Handed to every button callback and to the controller's ControlCB; zeroed before it
// is filled, so the fields of other kinds read 0.
struct _MWinButtonCallbackInfo
{
    char buttonId[MWIN_ID_SIZE];
    char windowId[MWIN_ID_SIZE];
    MWinButton *button;
    uint8_t textEditEvent;   // 1 ended with Enter, 0 ended otherwise, 255 changed while editing
    uint8_t listEvent;       // 0 highlight moved, 1 closed with a choice, 2 closed without
    int32_t listPos;
    uint8_t checkboxState;   // new state, 0 or 1
    int32_t choiceIndex;
    uint8_t choiceHover;     // 1: hover notification, 0: chosen
    int32_t panelActivated;  // 1 Enter or double click
    int32_t panelRow;
    uint8_t panelCause;      // 0 program or type-ahead, 1 mouse, 2 keyboard or double click
    uint8_t colourBarHeld;
    uint8_t sliderHeld;
};

typedef void (*MWinButtonCallbackFn)(MWin *mwin, _MWinButtonCallbackInfo *info, int a, int b);
typedef void (*MWinButtonCallbackUserFn)(MWin *mwin, _MWinButtonCallbackInfo *info, int a, int b, void *user);
typedef void (*MWinButtonPlainCallbackFn)(void *user);
typedef void (*MWinButtonExtraRenderFn)(MWinButton *button, const _Dimension *screenArea, int state, int value,
                                        void *user);
typedef void (*MWinSoundCallbackFn)(int event, int user);
typedef bool (*MWinCollectionKeyHookFn)(int key, int user);
typedef void (*MWinMousePosCallbackFn)(float *x, float *y, int a, int b);

// ---- Windows ------------------------------------------------------------------------------
enum
{
    MWIN_WINDOW_ORDINARY = 0,
    MWIN_WINDOW_MODAL = 1,
    MWIN_KEEP = -9999, // SetAreaInts: keep this edge
};
// x or y of a window: centred on that axis.
constexpr float MWIN_CENTRE = -9999.0f;

// Filled by the screens (zeroed first) and copied whole into the window.
struct _MWinWindowCreateInfo
{
    int32_t kind;                      // MWIN_WINDOW_ORDINARY or MWIN_WINDOW_MODAL
    float x, y, w, h;                  // virtual screen; MWIN_CENTRE centres; w, h <= 0 become 100
    int32_t dragMode;                  // 0 fixed, 1 by the title bar, 2 by any point
    uint8_t hasHideButton;             // STD_HIDE in the title bar
    uint8_t hasExtraButton;            // STD_EXTRA in the title bar
    uint8_t hasTitleBar;
    char title[MWIN_TITLE_SIZE];
    char titleTexBut[MWIN_ID_SIZE];    // "MWIN_TEXBUT_DEFAULT" (slot 1), "MWIN_TEXBUT_NONE" or an id
    char bodyTexBut[MWIN_ID_SIZE];     // "MWIN_TEXBUT_DEFAULT" (slot 0), "MWIN_TEXBUT_NONE" or an id
    char font[MWIN_ID_SIZE];           // "MWIN_FONT_DEFAULT", "MWIN_FONT_NONE" or a GUI font id
    char hideText[MWIN_ID_SIZE];
    char hideTexBut[MWIN_ID_SIZE];     // empty: standard slot 27
    char extraText[MWIN_ID_SIZE];
    char extraTexBut[MWIN_ID_SIZE];    // empty: standard slot 27
    char titleToken[MWIN_TOKEN_SIZE];  // wins over the plain title
    char hideToken[MWIN_TOKEN_SIZE];
    char extraToken[MWIN_TOKEN_SIZE];
};

// Ids of a window's two title-bar buttons.
#define MWIN_STD_HIDE_ID "STD_HIDE"
#define MWIN_STD_EXTRA_ID "STD_EXTRA"
#define MWIN_TEXBUT_DEFAULT "MWIN_TEXBUT_DEFAULT"
#define MWIN_TEXBUT_NONE "MWIN_TEXBUT_NONE"
#define MWIN_FONT_DEFAULT "MWIN_FONT_DEFAULT"
#define MWIN_FONT_NONE "MWIN_FONT_NONE"
#define MWIN_POPUP_COLLECTION_ID "MWIN_POPUP"

// ---- Settings ---------------------------------------------------------------------------
// Per-layout sizes (67 four-byte fields; the index of each is in its comment). Fields
// the toolkit core does not read by name are kept for the button kinds.
struct _MWinLayoutSettings
{
    float titleBarHeight;        // 0
    float textMargin;            // 1  horizontal inset of aligned text (scaled)
    float titleButtonWidth;      // 2
    float titleButtonHeight;     // 3
    float titleButtonMargin;     // 4  edge margin of the title-bar buttons (scaled)
    float titleButtonOffsetY;    // 5  vertical offset of their centre
    uint8_t titleButtonSide;     // 6  1: hide button right, extra button left
    uint8_t pad6[3];
    float defaultButtonWidth;    // 7  for a width of 0 or less
    float defaultButtonHeight;   // 8
    float frameInsetX;           // 9  client inset of framed windows below 640 wide
    float frameInsetY;           // 10
    float vScrollbarWidth;       // 11 (scaled)
    float vScrollThumbWidth;     // 12 (scaled)
    float hScrollbarHeight;      // 13
    float hScrollThumbHeight;    // 14
    float textScaleX;            // 15 0: not applied
    float textScaleY;            // 16
    float kind17;                // 17 (scaled)
    float kind18;                // 18
    float twoLineSpacing;        // 19 half the distance of two text lines
    float kind20[20];            // 20-39 button kinds
    float kind40[7];             // 40-46
    float relativeTextMargin;    // 47 share of the width added to the text margin
    float kind48[11];            // 48-58
    int32_t kind59;              // 59
    int32_t kind60;              // 60
    float kind61[6];             // 61-66
};
static_assert(sizeof(_MWinLayoutSettings) == MWIN_LAYOUT_FIELD_COUNT * 4, "67 four-byte fields");

// GUI-wide defaults, read and written whole (MWin::GetDefaultSettings/SetDefaultSettings).
struct _MWinSettings
{
    bool activateCollectionUnderMouse; // a mouse move re-selects the active collection
    bool activateWindowUnderMouse;     // a mouse move activates the window under it
    int32_t bgClearMode;               // 0 nothing, 1 clear, 2 clear with depth, 3 image
    char bgImageFile[MWIN_FILE_NAME_SIZE];
    EngTexture *bgTexture;             // drawn instead of the image file for mode 3
    float disabledAlphaFactor;         // multiplies a disabled button's text alpha
    // Button-kind defaults.
    float greyColour[3];               // 0.3984
    float greyAlpha;                   // 0.8
    uint8_t desktopByte;               // 2 on the desktop platform
    float kindValues[6];               // 0.6 each
    bool squeezeText;                  // default squeeze flag of new buttons
    bool clipButtons;                  // buttons scissor to their clip rectangle
    bool wobble;                       // the attention wobble animates buttons
    int8_t textureQuality;             // handed to custom texture loads
    _MWinLayoutSettings layoutDefaults[MWIN_NUM_LAYOUTS];
};

// ---- Host ---------------------------------------------------------------------------------
// What the GUI needs of the program, its window and the clock, handed down by the program
// at start-up (MWinSetHost). Every entry is optional; a missing one does the quiet default
// noted beside it, which is what the headless tests run with.
struct _MWinHost
{
    // Asks the main loop for a redraw (nothing).
    void (*requestRedraw)();
    // True while the program runs with its main window and is not quitting (true).
    bool (*isProgramRunning)();
    // The mouse cursor in the 640x480 design space; false when unknown (false).
    bool (*getMouseDesignPos)(float *x, float *y);
    // Window pixels to the design space (scaled by the screen settings).
    bool (*convertScreenToDesign)(float x, float y, float *outX, float *outY);
    // Moves the system cursor to a virtual-screen position (nothing).
    void (*setMouseCursorVirtual)(float x, float y);
    // True once, when the window found the left button released without a button-up
    // message; the call clears the report (false).
    bool (*takeLeftReleasedReport)();
    // One complete frame for a fade: the program's render, the texture cursor, a black
    // full-screen quad of `blackAlpha`, present (nothing: the fade is skipped).
    void (*drawFadeFrame)(float blackAlpha);
    // Seconds of a steady clock (EngMainGetTime).
    double (*getTime)();
    // The frame rate setting (EngFrameTiming.frameRate).
    float (*getFrameRate)();
};
void MWinSetHost(const _MWinHost *host);
const _MWinHost *MWinGetHost();

// ---- Ids and areas ------------------------------------------------------------------------
// Bounded copy into a 32-character field; a source of 32 characters or more is refused.
bool MWinCopyID(char *destination, const char *source);
bool MWinIsIDEmpty(const char *id);
// False when either is empty; otherwise exact, case-sensitive equality.
bool MWinIDsEqual(const char *a, const char *b);
bool MWinCopyArea(_Dimension *destination, const _Dimension *source);
bool MWinSetArea(_Dimension *destination, float x, float y, float w, float h);
// Keeps a scaled element centred on the place it was designed for.
float MWinCentreOffsetX(float position, float size);
float MWinCentreOffsetY(float position, float size);
// The device's crop over an area of the virtual screen.
void MWinTurnOnCrop(const _Dimension *area);
void MWinTurnOnCrop(float x, float y, float w, float h);

// ---- The button kinds and popups (declared for MWinButton and MWin) ----------------------
// The text of item `item` of a choice, list or panel (user: the button's string user).
typedef const char *(*MWinButtonStringsFn)(int item, MWinButton *button, void *user);
// The panel's per-row draw hook.
typedef void (*MWinPanelRowRenderFn)(MWinButton *button, const _Dimension *row, int state, int rowNumber, void *user);
// A popup's result: 1 first button (OK, Yes), 0 second (Cancel, or No of Yes/No), 2 third.
typedef void (*MWinPopupResultFn)(MWin *mwin, char value, void *user);
// A list popup's change of selection (-1: none).
typedef void (*MWinPopupRowFn)(MWin *mwin, int row, void *user);
// Further integer bindings the kinds honour.
enum
{
    MWIN_BIND_BYTE = 2,
    MWIN_BIND_INT16 = 4,
    MWIN_BIND_UINT16 = 5,
};
// The device class: the desktop build is never a large-screen (touch) device.
enum
{
    MWIN_DEVICE_DESKTOP = 0,
    MWIN_DEVICE_LARGE_SCREEN = 1,
};
void MWinSetDeviceClass(int deviceClass);
bool MWinIsLargeScreenDevice();
// The on-screen keyboard's key callback (a = the key code; 254 Shift, 255 Del).
void MWinPopupGetTextKeyCB_Mobile(MWin *mwin, _MWinButtonCallbackInfo *info, int code, int unused);
