// SWin: a minimal native window toolkit for the few windows shown outside the game's own
// window (the updater's progress and download windows): one top-level window with an
// optional menu bar and a list of standard controls with callbacks.
#pragma once
#include <cstdint>
#include <vector>

struct PlatDialog;
class SWin;

enum SWinButtonType
{
    SWIN_GROUP_BOX = 0,
    SWIN_LABEL = 1,       // vertically centred text
    SWIN_PUSH_BUTTON = 2,
    SWIN_EDIT = 3,        // multi-line, read-only, bordered, both scroll bars
    SWIN_RADIO_GROUP = 4, // no window of its own; holds its radio buttons
    SWIN_DROP_LIST = 6,
    SWIN_PICTURE = 7, // a picture file at its real size
};

enum SWinTextAlign
{
    SWIN_ALIGN_KEEP = 0,
    SWIN_ALIGN_CENTRE = 1,
    SWIN_ALIGN_RIGHT = 2,
};

typedef void (*SWinChangeCB)(SWin *window, int selection, void *user);
typedef void (*SWinClickCB)(SWin *window, void *user);
typedef void (*SWinCommandCB)(SWin *window, int command, void *user);

struct SWinMenuItem
{
    const char *text; // NULL: a separator
    int command;      // passed to the command callback
};

struct SWinMenu
{
    const char *title;
    const SWinMenuItem *items;
    int itemCount;
};

struct SWinCreateInfo
{
    const char *title;
    int x, y;          // negative: centred on the work area
    int width, height; // client area in pixels (before the screen scale)
    float red, green, blue; // background, 0-1
    const SWinMenu *menus;
    int menuCount;
};

struct _SWinButton
{
    int type; // SWinButtonType
    int x, y, width, height;
    int control; // the control's id in the window (0: none)
    int selected;
    int *selectedInt;      // mirrors of the selection; either may be NULL
    uint8_t *selectedByte;
    SWinChangeCB changeCB;
    SWinClickCB clickCB;
    std::vector<int> radioControls; // radio groups: their buttons' ids, in order
};

class SWin
{
public:
    SWin();
    ~SWin();
    SWin(const SWin &) = delete;
    SWin &operator=(const SWin &) = delete;

    bool CreateMainWindow(const SWinCreateInfo *info);
    // The control's index, or -1.
    int AddButtonToWindow(int type, int x, int y, int width, int height, const char *text);
    int AddPushButtonWithCallback(int x, int y, int width, int height, const char *text, SWinClickCB callback);
    bool PushButtonSetCallback(int index, SWinClickCB callback);
    bool SetButtonText(int index, const char *text);
    bool GetButtonText(int index, char *buffer, int size);
    bool SetButtonTextAlign(int index, int align);
    // 0: no window or the loop has ended; 1: nothing was waiting; 2: one event was handled.
    int ProcessAnyWindowsMessages();
    // Runs the window's own loop until QuitWindowLoop or the window closes; false when
    // there is no window. Without a display the dialogs' script (tests) acts for the
    // person, and with no script Enter is pressed (the default button, if any).
    bool RunWindowLoop();
    void QuitWindowLoop();
    void DestroyMainWindow();

    // Radio buttons of a group, drop-down list items and the selection mirrors.
    int AddRadioButton(int groupIndex, int x, int y, int width, int height, const char *text);
    bool AddListItem(int index, const char *text);
    bool SetSelection(int index, int selection);
    bool SetChangeCallback(int index, SWinChangeCB callback, int *selectedInt, uint8_t *selectedByte);
    bool SetPicture(int index, const char *fileName);

    void SetUserValue(void *value) { userValue = value; }
    void SetCommandCallback(SWinCommandCB callback) { commandCB = callback; }
    bool IsCreated() const { return created; }
    bool IsQuitting() const { return quit; }
    int GetNumButtons() const { return (int)buttons.size(); }
    const _SWinButton *GetButton(int index) const;
    // The client area after clamping and scaling.
    float GetX() const { return x; }
    float GetY() const { return y; }
    float GetWidth() const { return width; }
    float GetHeight() const { return height; }
    // The platform window, for tests that act as a person would.
    PlatDialog *GetPlatDialog() const { return window; }

    // The window's event router: passes every event to its SWin object.
    static void MsgRouter(PlatDialog *dialog, int control, int event, int value, void *user);

private:
    void HandleEvent(int control, int event, int value);
    void Destroyed();
    bool ValidIndex(int index, const char *function) const;

    bool created;
    float x, y, width, height;
    float screenScale;
    bool quit;
    std::vector<_SWinButton> buttons;
    std::vector<SWinMenu> menus;
    char className[32];
    PlatDialog *window;
    float colour[3];
    void *userValue;
    SWinCommandCB commandCB;
};
