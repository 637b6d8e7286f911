// Stand-in for the Windows window, message, cursor, message-box and display services
// the engine uses, over SDL2. No SDL type crosses this header: windows are opaque
// handles and messages are plain records with Windows semantics. The clock and sleeps
// are platform/clock's.
//
// Sections: message boxes; video set-up; windows; messages and the message pump; keys
// and characters; clipboard; mouse and cursor; display modes; GL context.
#pragma once
#include <cstdint>

// ---- Message boxes -----------------------------------------------------------------
enum PlatMessageBoxIcon
{
    PLAT_MB_ICON_NONE = 0,
    PLAT_MB_ICON_WARNING = 1,
    PLAT_MB_ICON_ERROR = 2,
};

enum PlatMessageBoxButtons
{
    PLAT_MB_OK = 0,
    PLAT_MB_YES_NO = 1,
};

enum PlatMessageBoxResult
{
    PLAT_MB_RESULT_OK = 1,
    PLAT_MB_RESULT_YES = 6,
    PLAT_MB_RESULT_NO = 7,
};

// Shows a modal message box (texts in Windows-1252); while no window system is in use
// (video not set up) the text goes to stderr and the default answer (OK, or No for a
// Yes/No box) comes back.
int PlatWinMessageBox(const char *title, const char *text, int buttons, int icon);

// The seam tests use to see message boxes and answer them; NULL restores the real one.
typedef int (*PlatWinMessageBoxFn)(const char *title, const char *text, int buttons, int icon);
void PlatWinSetMessageBoxHook(PlatWinMessageBoxFn hook);

// ---- Desktop ---------------------------------------------------------------------------
// The primary display's rectangle, or with `workArea` the part of it that panels leave
// free. With no video available the outputs get 0, 0, 1280, 1024 and the answer is 0.
bool PlatWinGetDesktopBounds(bool workArea, int *x, int *y, int *width, int *height);

// ---- Video set-up ------------------------------------------------------------------
// SDL video is started and stopped here only, with a count of holders: the program's
// window connection, the desktop queries and the graphics stand-in each hold it, and
// the last release closes the connection (and gives back the desktop's display mode).
//
// Connects the program to the window system once (later calls answer the first
// result) and holds video until exit; 0 with the reason in PlatWinGetErrorText when
// there is no display. Message boxes, the clipboard and the message pump work from here.
int PlatWinInitVideo();
bool PlatWinIsVideoUp();
// One more holder of video (1), or 0 with the reason in PlatWinGetErrorText; each 1 is
// matched by one PlatWinReleaseVideo.
int PlatWinAcquireVideo();
void PlatWinReleaseVideo();
// The last failure of this stand-in, for the engine's log.
const char *PlatWinGetErrorText();

// ---- Windows -----------------------------------------------------------------------
struct PlatWindow;
struct PlatMessage;

// The window procedure: every message of a window is delivered here. Returns the
// message's result (0 when handled, as most Windows messages expect).
typedef int32_t (*PlatWindowProc)(PlatWindow *window, const PlatMessage *message, void *user);

struct PlatWindowParms
{
    const char *title;  // Windows-1252
    int32_t x, y;       // client position on the desktop; -1 = placed by the system
    int32_t width;      // client size in pixels
    int32_t height;
    bool fullScreen;    // covers the display in the closest display mode to width x height
    bool resizable;     // windowed: thick frame with minimise and maximise boxes
    PlatWindowProc proc;
    void *user;         // passed to the procedure
};

// Creates and shows a window (GL-capable where the window system allows); NULL with the
// reason in PlatWinGetErrorText.
PlatWindow *PlatWinCreateWindow(const PlatWindowParms *parms);
// Destroys a window the program no longer wants. Unlike a close by the player, this
// never delivers a close or destroy message; queued messages of the window are dropped.
void PlatWinDestroyWindow(PlatWindow *window);
// The window system's own handle (the SDL_Window) for the graphics stand-in.
void *PlatWinGetNativeWindow(PlatWindow *window);
// The window-system id of the window (the SDL window id), used by the event seam.
uint32_t PlatWinGetWindowId(PlatWindow *window);
void PlatWinGetClientSize(PlatWindow *window, int32_t *width, int32_t *height);
// The client area's top-left corner and size in desktop pixels.
void PlatWinGetClientRect(PlatWindow *window, int32_t *x, int32_t *y, int32_t *width, int32_t *height);
void PlatWinClientToScreen(PlatWindow *window, int32_t *x, int32_t *y);
bool PlatWinIsFullScreen(PlatWindow *window);
bool PlatWinIsMinimised(PlatWindow *window);
void PlatWinMinimiseWindow(PlatWindow *window);
void PlatWinSetTitle(PlatWindow *window, const char *title);
// Gives a window (NULL: none now) and every window created after it the icon of
// `width` x `height` pixels (at most 1024 each way), rows of R, G, B, A bytes, top row
// first; the pixels are copied. NULL pixels forget the icon for later windows (a window
// keeps the icon it has). False with the reason in PlatWinGetErrorText.
bool PlatWinSetWindowIcon(PlatWindow *window, const uint8_t *rgba, int32_t width, int32_t height);
// Whether the window was given an icon, and the icon's size (zeros without one).
bool PlatWinGetWindowIcon(PlatWindow *window, int32_t *width, int32_t *height);

// ---- Messages and the message pump -------------------------------------------------
enum PlatMessageId
{
    PLAT_WM_NULL = 0,
    PLAT_WM_DESTROY,       // the window is going away after a close
    PLAT_WM_SIZE,          // wParam PLAT_SIZE_*, x/y the new client size
    PLAT_WM_ACTIVATE,      // wParam 1 active, 0 inactive
    PLAT_WM_PAINT,
    PLAT_WM_CLOSE,         // the player asked to close the window
    PLAT_WM_QUIT,          // posted by PlatWinPostQuitMessage; no window
    PLAT_WM_KEYDOWN,       // wParam virtual key, repeat set for auto-repeat
    PLAT_WM_KEYUP,
    PLAT_WM_CHAR,          // wParam Windows-1252 character (1-255)
    PLAT_WM_SYSKEYDOWN,    // Alt, F10, and keys pressed while Alt is held
    PLAT_WM_SYSKEYUP,
    PLAT_WM_SYSCHAR,
    PLAT_WM_MOUSEMOVE,     // x, y client pixels
    PLAT_WM_LBUTTONDOWN,
    PLAT_WM_LBUTTONUP,
    PLAT_WM_LBUTTONDBLCLK, // a second left press within the double-click time and distance
    PLAT_WM_RBUTTONDOWN,
    PLAT_WM_RBUTTONUP,
    PLAT_WM_MBUTTONDOWN,
    PLAT_WM_MBUTTONUP,
    PLAT_WM_MOUSEWHEEL,    // wParam delta, 120 per notch, positive away from the player
    PLAT_WM_MOUSELEAVE,    // once per PlatWinTrackMouseLeave
    PLAT_WM_EXITSIZEMOVE,  // the player finished moving or resizing the window
    PLAT_WM_POWERBROADCAST,// wParam PLAT_POWER_*
};

enum PlatSizeKind
{
    PLAT_SIZE_RESTORED = 0,
    PLAT_SIZE_MINIMISED = 1,
    PLAT_SIZE_MAXIMISED = 2,
};

enum PlatPowerEvent
{
    PLAT_POWER_SUSPEND = 4,
    PLAT_POWER_RESUME = 18,
};

struct PlatMessage
{
    PlatWindow *window; // NULL for PLAT_WM_QUIT
    int32_t message;    // PlatMessageId
    int32_t wParam;     // see PlatMessageId
    int32_t x, y;       // mouse position or client size
    uint32_t time;      // milliseconds of the window system's clock
    bool repeat;        // key messages: auto-repeat of a held key
};

// Takes the next message off the queue (remove) or looks at it, without waiting;
// false when the queue is empty.
bool PlatWinPeekMessage(PlatMessage *message, bool remove);
// Hands a message to its window's procedure; answers its result (0 without window).
int32_t PlatWinDispatchMessage(const PlatMessage *message);
// Sends a message to a window's procedure at once.
int32_t PlatWinSendMessage(PlatWindow *window, int32_t message, int32_t wParam);
// The default handling of a message: a close destroys the window (delivering
// PLAT_WM_DESTROY), Alt+F4 asks to close; everything else is ignored.
int32_t PlatWinDefWindowProc(const PlatMessage *message);
void PlatWinPostQuitMessage(int32_t exitCode);
// Sleeps until a message is queued or `milliseconds` have passed, without taking it;
// true when one is there. Without video it only sleeps.
bool PlatWinWaitMessage(uint32_t milliseconds);

// ---- Posted input ----------------------------------------------------------------------
// Input as the window system delivers it, posted by the layers above (their tests drive
// windows with it): each record goes through the same translation as a real event
// (characters, system keys, double clicks, coalesced motion) and its messages are queued.
enum PlatInputKind
{
    PLAT_INPUT_KEY_DOWN = 1,
    PLAT_INPUT_KEY_UP,
    PLAT_INPUT_TEXT,        // typed text
    PLAT_INPUT_MOUSE_MOVE,
    PLAT_INPUT_BUTTON_DOWN,
    PLAT_INPUT_BUTTON_UP,
    PLAT_INPUT_WHEEL,
    PLAT_INPUT_WINDOW,      // a change of the window (PlatInputWindowChange)
};

enum PlatInputModifier
{
    PLAT_MOD_SHIFT = 1,
    PLAT_MOD_CTRL = 2,
    PLAT_MOD_ALT = 4,
    PLAT_MOD_ALTGR = 8, // the right Alt key of a third-level layout: Ctrl and Alt, as Windows reports it
};

enum PlatInputWindowChange
{
    PLAT_CHANGE_CLOSE = 1, // the player asked to close it
    PLAT_CHANGE_FOCUS_GAINED,
    PLAT_CHANGE_FOCUS_LOST,
    PLAT_CHANGE_MINIMISED,
    PLAT_CHANGE_RESTORED,
    PLAT_CHANGE_MAXIMISED,
    PLAT_CHANGE_SIZE_CHANGED, // x, y (when above 0): the new client size, taken first
    PLAT_CHANGE_EXPOSED,
    PLAT_CHANGE_MOUSE_LEFT,
};

struct PlatInputEvent
{
    int32_t kind;       // PlatInputKind
    PlatWindow *window; // the window the input is for
    int32_t key;        // keys: PLAT_VK_* of the key
    int32_t modifiers;  // keys: PLAT_MOD_* held
    bool repeat;        // keys: auto-repeat of a held key
    char text[32];      // text: UTF-8
    int32_t x, y;       // mouse: client position; wheel: y notches, positive away from the player
    int32_t button;     // buttons: 0 left, 1 right, 2 middle
    bool flipped;       // wheel: the system reverses its direction
    int32_t change;     // window: PlatInputWindowChange
    uint32_t time;      // milliseconds of the window system's clock
};

// Translates and queues one input record; false for a record it cannot deliver (no
// window, a key without an SDL equivalent, an unknown kind).
bool PlatWinPostInput(const PlatInputEvent *input);
// Milliseconds within which a second left press is a double click (500 by default).
void PlatWinSetDoubleClickTime(uint32_t milliseconds);

// ---- Keys and characters -----------------------------------------------------------
// Virtual-key codes of the keys the engine names.
enum PlatVirtualKey
{
    PLAT_VK_LBUTTON = 0x01,
    PLAT_VK_RBUTTON = 0x02,
    PLAT_VK_MBUTTON = 0x04,
    PLAT_VK_BACK = 0x08,
    PLAT_VK_TAB = 0x09,
    PLAT_VK_RETURN = 0x0D,
    PLAT_VK_SHIFT = 0x10,
    PLAT_VK_CONTROL = 0x11,
    PLAT_VK_MENU = 0x12, // Alt
    PLAT_VK_PAUSE = 0x13,
    PLAT_VK_CAPITAL = 0x14,
    PLAT_VK_ESCAPE = 0x1B,
    PLAT_VK_SPACE = 0x20,
    PLAT_VK_PRIOR = 0x21, // Page Up
    PLAT_VK_NEXT = 0x22,  // Page Down
    PLAT_VK_END = 0x23,
    PLAT_VK_HOME = 0x24,
    PLAT_VK_LEFT = 0x25,
    PLAT_VK_UP = 0x26,
    PLAT_VK_RIGHT = 0x27,
    PLAT_VK_DOWN = 0x28,
    PLAT_VK_SNAPSHOT = 0x2C,
    PLAT_VK_INSERT = 0x2D,
    PLAT_VK_DELETE = 0x2E,
    // '0'-'9' and 'A'-'Z' are their ASCII codes.
    PLAT_VK_LWIN = 0x5B,
    PLAT_VK_RWIN = 0x5C,
    PLAT_VK_APPS = 0x5D,
    PLAT_VK_NUMPAD0 = 0x60, // to 0x69 for 9
    PLAT_VK_MULTIPLY = 0x6A,
    PLAT_VK_ADD = 0x6B,
    PLAT_VK_SUBTRACT = 0x6D,
    PLAT_VK_DECIMAL = 0x6E,
    PLAT_VK_DIVIDE = 0x6F,
    PLAT_VK_F1 = 0x70, // to 0x87 for F24
    PLAT_VK_F10 = 0x79,
    PLAT_VK_F11 = 0x7A,
    PLAT_VK_F12 = 0x7B,
    PLAT_VK_NUMLOCK = 0x90,
    PLAT_VK_SCROLL = 0x91,
    PLAT_VK_OEM_1 = 0xBA,      // ;:
    PLAT_VK_OEM_PLUS = 0xBB,   // =+
    PLAT_VK_OEM_COMMA = 0xBC,  // ,<
    PLAT_VK_OEM_MINUS = 0xBD,  // -_
    PLAT_VK_OEM_PERIOD = 0xBE, // .>
    PLAT_VK_OEM_2 = 0xBF,      // /?
    PLAT_VK_OEM_3 = 0xC0,      // `~
    PLAT_VK_OEM_4 = 0xDB,      // [{
    PLAT_VK_OEM_5 = 0xDC,      // \|
    PLAT_VK_OEM_6 = 0xDD,      // ]}
    PLAT_VK_OEM_7 = 0xDE,      // '"
    PLAT_VK_OEM_102 = 0xE2,    // <> of European keyboards
};

// The virtual-key code of an SDL key (keycode and scancode as SDL reports them); 0 for
// keys without one.
int32_t PlatWinVirtualKeyFromSdl(int32_t keycode, int32_t scancode);
// The Windows-1252 code of a Unicode code point; 0 when it has none.
int32_t PlatWinCp1252FromCodePoint(uint32_t codePoint);
// Writes the UTF-8 form of a Windows-1252 text (at most size - 1 bytes, terminated).
void PlatWinUtf8FromCp1252(const char *text, char *out, int32_t size);
// Writes the Windows-1252 form of a UTF-8 text (at most size - 1 bytes, terminated):
// characters the code page lacks become "?", a malformed sequence one "?", and the CR
// of a CR LF pair is dropped.
void PlatWinCp1252FromUtf8(const char *text, char *out, int32_t size);
// Notches of the wheel are reported as this many lines.
int32_t PlatWinGetWheelScrollLines();

// ---- Clipboard -------------------------------------------------------------------------
// Plain text on the system clipboard, in Windows-1252 here and UTF-8 there. Both answer 0
// (reason in PlatWinGetErrorText) while video is not set up. Setting an empty text is
// refused; reading with no text there answers 0, reading cuts to size - 1 bytes.
bool PlatWinSetClipboardText(const char *text);
bool PlatWinGetClipboardText(char *out, int32_t size);

// ---- Mouse and cursor --------------------------------------------------------------
// Raises (show) or lowers the cursor display count and answers the new count; the
// system cursor is visible while the count is 0 or more (it starts at 0).
int32_t PlatWinShowCursor(bool show);
// The cursor position in desktop pixels.
void PlatWinGetCursorPos(int32_t *x, int32_t *y);
void PlatWinSetCursorPos(int32_t x, int32_t y);
// Whether a mouse button (PLAT_VK_LBUTTON, _RBUTTON or _MBUTTON) is held now.
bool PlatWinIsMouseButtonDown(int32_t virtualKey);
// Asks for one PLAT_WM_MOUSELEAVE when the mouse next leaves the window.
void PlatWinTrackMouseLeave(PlatWindow *window);

// ---- Display modes -----------------------------------------------------------------
// The one listing of displays and their modes, for the window and the graphics device.
enum PlatPixelLayout
{
    PLAT_PIXELS_OTHER = 0,
    PLAT_PIXELS_X8R8G8B8 = 1, // 24-bit colour in 32 bits
    PLAT_PIXELS_R5G6B5 = 2,
    PLAT_PIXELS_X1R5G5B5 = 3,
};

struct PlatDisplayMode
{
    int32_t width, height;
    int32_t depth;   // bits per pixel as the engine counts them (32 for 24-bit colour)
    int32_t refresh; // Hz, 0 when unknown
    int32_t layout;  // PlatPixelLayout
};

// The number of displays; 0 without video.
int32_t PlatWinGetDisplayCount();
// The display's name (cut to size - 1 bytes); false when it has none.
bool PlatWinGetDisplayName(int32_t display, char *out, int32_t size);
// The modes of a display, largest first; 0 without video.
int32_t PlatWinGetDisplayModeCount(int32_t display);
bool PlatWinGetDisplayMode(int32_t display, int32_t index, PlatDisplayMode *mode);
// The desktop's mode of a display.
bool PlatWinGetDesktopDisplayMode(int32_t display, PlatDisplayMode *mode);

// ---- GL context --------------------------------------------------------------------
struct PlatGLContext;
// An OpenGL 3.3 core context on the window, made current; NULL with the reason in
// PlatWinGetErrorText.
PlatGLContext *PlatWinGLCreateContext(PlatWindow *window);
void PlatWinGLDeleteContext(PlatGLContext *context);
bool PlatWinGLMakeCurrent(PlatWindow *window, PlatGLContext *context);
// 0 no wait, 1 wait for the vertical blank; false when the driver refuses.
bool PlatWinGLSetSwapInterval(int32_t interval);
void PlatWinGLSwapWindow(PlatWindow *window);
// A GL entry point by name (NULL when missing).
void *PlatWinGLGetProcAddress(const char *name);
