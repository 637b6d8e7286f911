// Stand-in for the native dialogs and controls: top-level windows with an optional menu
// bar and absolutely placed standard controls (group box, label, push button, read-only
// multi-line edit, radio button, drop-down list, picture). No GTK type crosses this header.
//
// Every control's state (text, items, selection, checked, enabled) is kept here in plain
// form; the window system only mirrors it. Without a display (or when a test asks for it)
// dialogs run headless on that state alone, and PlatDialogsSimulate feeds them the same
// events a person would. Texts are 8-bit (Windows-1252), as the game keeps them.
#pragma once

struct PlatDialog;

// ---- Set-up ------------------------------------------------------------------------
// True when dialogs can be shown on a display (the window system is started on the first
// call). False when there is no display or headless mode is forced.
bool PlatDialogsHaveDisplay();
// Tests: run every dialog headless even when a display is there.
void PlatDialogsForceHeadless(bool headless);

// ---- Screen -------------------------------------------------------------------------
// The work area of the primary screen in pixels; 1280 x 1024 at 0, 0 when it cannot be read.
void PlatDialogsGetWorkArea(int *x, int *y, int *width, int *height);
// The screen's vertical pixels per inch / 96 (1 without a display).
float PlatDialogsGetScreenScale();
// Dialog units to pixels: 4 horizontal units are one average character width, 8 vertical
// units one character height of the dialog font.
int PlatDialogsUnitsToPixelsX(int units);
int PlatDialogsUnitsToPixelsY(int units);

// ---- Windows --------------------------------------------------------------------------
enum PlatDialogEvent
{
    PLAT_DIALOG_CLICKED = 1,  // a push button (or the default button through Enter)
    PLAT_DIALOG_SELECTED = 2, // a drop-down list's selection changed (value: new index)
    PLAT_DIALOG_CHECKED = 3,  // a radio button became the checked one of its group
    PLAT_DIALOG_MENU = 4,     // a menu item (id: the item's id)
    PLAT_DIALOG_CLOSE = 5,    // the window's close button (the window stays until destroyed)
    PLAT_DIALOG_ESCAPE = 6,   // Escape pressed in the window
    PLAT_DIALOG_ENTER = 7,    // Enter pressed with no default button
};

typedef void (*PlatDialogEventFn)(PlatDialog *dialog, int id, int event, int value, void *user);

struct PlatDialogMenuItem
{
    const char *text; // NULL: a separator
    int id;           // reported with PLAT_DIALOG_MENU
};

struct PlatDialogMenu
{
    const char *title;
    const PlatDialogMenuItem *items;
    int itemCount;
};

struct PlatDialogInfo
{
    const char *title;
    int x, y;          // negative: centred on the work area
    int width, height; // client area in pixels, below the menu bar
    float red, green, blue; // background, 0-1; all negative: the theme's
    const PlatDialogMenu *menus;
    int menuCount;
    PlatDialogEventFn callback;
    void *user;
};

// A new window, not shown yet; NULL when it cannot be made (see PlatDialogsGetErrorText).
PlatDialog *PlatDialogsCreate(const PlatDialogInfo *info);
void PlatDialogsShow(PlatDialog *dialog);
// Closes the window and frees the object (NULL is ignored).
void PlatDialogsDestroy(PlatDialog *dialog);
void PlatDialogsSetTitle(PlatDialog *dialog, const char *title);
// A picture file (PNG) as the window's icon; false when it cannot be read.
bool PlatDialogsSetIcon(PlatDialog *dialog, const char *fileName);

// ---- Controls -------------------------------------------------------------------------
enum PlatControlKind
{
    PLAT_CONTROL_GROUP_BOX = 0,
    PLAT_CONTROL_LABEL = 1,
    PLAT_CONTROL_PUSH_BUTTON = 2,
    PLAT_CONTROL_EDIT = 3, // multi-line, read-only, bordered, both scroll bars
    PLAT_CONTROL_RADIO_BUTTON = 4,
    PLAT_CONTROL_DROP_LIST = 5,
    PLAT_CONTROL_PICTURE = 6,
};

enum PlatControlAlign
{
    PLAT_ALIGN_LEFT = 0,
    PLAT_ALIGN_CENTRE = 1,
    PLAT_ALIGN_RIGHT = 2,
};

struct PlatControlInfo
{
    int kind;
    int id;                  // unique in the window, > 0
    int x, y, width, height; // pixels in the client area
    const char *text;        // '&' marks a push button's or radio button's mnemonic; picture: file name
    int align;
    int group; // radio buttons with the same group number form one group
};

// False (with an error text) for a bad kind, a repeated id or a window already destroyed.
bool PlatDialogsAddControl(PlatDialog *dialog, const PlatControlInfo *info);
bool PlatDialogsHasControl(PlatDialog *dialog, int id);
bool PlatDialogsSetText(PlatDialog *dialog, int id, const char *text);
// Copies at most size - 1 characters; false for an unknown control.
bool PlatDialogsGetText(PlatDialog *dialog, int id, char *buffer, int size);
bool PlatDialogsSetAlign(PlatDialog *dialog, int id, int align);
bool PlatDialogsSetEnabled(PlatDialog *dialog, int id, bool enabled);
bool PlatDialogsIsEnabled(PlatDialog *dialog, int id);
// Radio buttons: checking one unchecks the rest of its group. No event is sent.
bool PlatDialogsSetChecked(PlatDialog *dialog, int id, bool checked);
bool PlatDialogsIsChecked(PlatDialog *dialog, int id);
// Drop-down lists. Changing the list or selection from the program sends no event.
bool PlatDialogsListClear(PlatDialog *dialog, int id);
bool PlatDialogsListAdd(PlatDialog *dialog, int id, const char *text);
int PlatDialogsListGetCount(PlatDialog *dialog, int id);
// Copies item `index` into the buffer; false outside the list.
bool PlatDialogsListGetItem(PlatDialog *dialog, int id, int index, char *buffer, int size);
// -1 selects nothing; false for an index outside the list.
bool PlatDialogsListSelect(PlatDialog *dialog, int id, int index);
int PlatDialogsListGetSelection(PlatDialog *dialog, int id);
// The push button that Enter presses (0: none) and that has the focus when shown.
bool PlatDialogsSetDefaultButton(PlatDialog *dialog, int id);

// ---- Running ----------------------------------------------------------------------------
// Handles one pending window-system event: 1 when one was handled, 0 when none was waiting.
int PlatDialogsPumpOne();
// Shows the window and handles events until PlatDialogsEndModal; returns its result.
// Headless, each turn runs the script hook (below); with no hook, or when the hook leaves
// the dialog running after 1000 turns, Enter is pressed (the default button).
int PlatDialogsRunModal(PlatDialog *dialog);
void PlatDialogsEndModal(PlatDialog *dialog, int result);

// What a person does, for headless dialogs and tests: the same path as the real events.
// CLICKED clicks a push button, SELECTED picks list item `value`, CHECKED checks a radio
// button, MENU picks menu item `id`, CLOSE/ESCAPE/ENTER act on the window.
bool PlatDialogsSimulate(PlatDialog *dialog, int id, int event, int value);

// The seam of headless modal runs: called once per turn of PlatDialogsRunModal.
typedef void (*PlatDialogsScriptFn)(PlatDialog *dialog, void *user);
void PlatDialogsSetScript(PlatDialogsScriptFn script, void *user);

// The text of the last failure.
const char *PlatDialogsGetErrorText();
