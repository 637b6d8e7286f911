// The desktop holds the collections (one per screen, plus the popup's own); a collection
// holds the windows of each screen layout, of which the current layout's list is live.
// The desktop forwards input to a capturing button or to the active collections, ticks
// and draws them; a collection picks its active window and hands events to it.
#pragma once
#include <cstdint>

#include "MWinTypes.h"

class MWinDesktop
{
public:
    explicit MWinDesktop(MWin *mwin);
    ~MWinDesktop();
    MWinDesktop(const MWinDesktop &) = delete;
    MWinDesktop &operator=(const MWinDesktop &) = delete;

    MWinCollection *AddCollection(const char *id);
    bool RemoveCollection(const char *id);
    void RemoveAllCollections();
    MWinCollection *GetCollectionFromID(const char *id, bool report);
    MWinCollection *GetFirstCollection() const { return first; }
    // The first active collection in list order; NULL when none.
    MWinCollection *GetActiveCollection();
    MWinWindow *GetActiveWindow();
    MWinButton *GetActiveButton();
    bool Tick();
    bool CreateGraphics();
    void DestroyGraphics();
    void Render();
    bool RenderPopupCollection(MWinCollection *popup);
    // Re-selects the active collection by the mouse position (ButtonsChanged).
    void ReselectActiveCollection();
    void SetScreenLayout(int layout);
    void SetDim(bool on, float alpha) { dim = on; dimAlpha = alpha; }
    bool IsDimmed() const { return dim; }
    // Changes whenever collections come or go: forwarding stops when it moved.
    uint32_t GetState() const { return state; }

    // ---- Input forwarders ----
    bool MouseMove();
    bool ButtonPressed(int which, bool pressed, int flag);
    bool ButtonDoubleClicked(int which);
    bool MouseWheelMoved(int delta);
    bool KeyDown(int key);
    bool KeyDownChar(unsigned char c);
    bool KeyUp(int key);

private:
    MWinButton *CapturingButton();
    // Hands the event to every active collection; stops once the desktop changes.
    template <typename F> bool ForwardToActive(F send, bool lastAnswer);

    uint32_t state;
    MWin *mwin;
    MWinCollection *first;
    bool dim;
    float dimAlpha;
};

class MWinCollection
{
public:
    MWinCollection(MWin *mwin, const char *id, MWinDesktop *desktop);
    ~MWinCollection();
    MWinCollection(const MWinCollection &) = delete;
    MWinCollection &operator=(const MWinCollection &) = delete;

    MWinWindow *AddWindow(const char *id, const _MWinWindowCreateInfo *info);
    // Removes one window (deleting it) from the live list.
    bool RemoveWindow(MWinWindow *window);
    void RemoveAllWindows();
    MWinWindow *GetWindowFromID(const char *id, bool report);
    MWinWindow *GetNthWindow(int n);
    int GetNumWindows();
    MWinWindow *GetFirstWindow() const { return windows[layout]; }
    MWinWindow *GetActiveWindow();
    void Activate();
    void Deactivate();
    bool IsActive() const { return active; }
    void SetScreenLayout(int newLayout);
    int GetScreenLayout() const { return layout; }
    void WindowsChanged();
    bool Tick();
    bool CreateGraphics();
    void DestroyGraphics();
    bool CreateBgTexture();
    void SetBackgroundImage(const char *file, char loadFlag1, char loadFlag2);
    void Render();
    bool IsModal() const { return modal; }
    void SetDimBelowModal(bool on) { dimBelowModal = on; }
    void SetKeyHook(MWinCollectionKeyHookFn hook, int user) { keyHook = hook; keyHookUser = user; }
    void SetArea(const _Dimension *newArea);
    bool HasArea() const { return hasArea; }
    bool IsDesignMouseInArea();
    void SetViewport(bool on, const void *viewport);
    void SetScaling(bool on) { scaling = on; }
    bool IsScaling() const { return scaling; }
    bool IsInputEnabled() const { return inputEnabled; }
    void SetEscapeWindow(MWinWindow *window) { escapeWindow = window; }
    MWinWindow *GetEscapeWindow() const { return escapeWindow; }
    // Forgets a window that is going (escape window, active window).
    void ForgetWindow(const MWinWindow *window);
    const char *GetID() const { return id; }
    MWin *GetMWin() const { return mwin; }
    MWinDesktop *GetDesktop() const { return desktop; }
    MWinCollection *GetNext() const { return next; }
    MWinCollection *GetPrev() const { return prev; }
    void SetLinks(MWinCollection *previous, MWinCollection *following) { prev = previous; next = following; }

    bool HandleMouseMove();
    bool HandleButtonPressed(int which, bool pressed, int flag);
    bool HandleKeyDown(int key);
    bool HandleKeyDownChar(unsigned char c);
    bool HandleKeyUp(int key);
    bool HandleDoubleClick(int which);
    bool HandleMouseWheel(int delta);
    // Picks the active window after a change (no modal window: the last shown one under
    // the mouse, else the first shown one).
    void ChooseActiveWindow();

private:
    MWinWindow *WindowUnderMouse(bool modalOnly);

    bool active;
    char bgFile[MWIN_FILE_NAME_SIZE];
    char bgLoad1, bgLoad2;
    EngTexture *bgTexture;
    bool inputEnabled;
    int layout;
    bool layoutSet;
    bool modal;
    bool dimBelowModal;
    MWinCollectionKeyHookFn keyHook;
    int keyHookUser;
    MWin *mwin;
    MWinDesktop *desktop;
    char id[MWIN_ID_SIZE];
    MWinWindow *windows[MWIN_NUM_LAYOUTS];
    MWinCollection *prev, *next;
    bool hasViewport;
    uint32_t viewport[6];
    bool hasArea;
    _Dimension area;
    bool scaling;
    MWinWindow *escapeWindow;
};
