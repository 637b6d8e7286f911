// The screen stack: screens registered with a four-letter id and a controller, one shown
// at a time. EngScreens keeps the list, the current screen and the screen each was
// entered from; MWinScreens wraps it for the program (which subclasses it as its screen
// registry) and changes screens inside a fade out and a fade in.
#pragma once
#include <cstdint>

#include "MWinTypes.h"

class MWinScreens;
class EngIndexedList;

// One controller per screen, owned by the program's registry.
class MWinCollectionController
{
public:
    MWinCollectionController() : screens(nullptr) {}
    virtual ~MWinCollectionController() {}
    // Builds the screen's collection, windows and buttons on the desktop.
    virtual bool CreateCollection(MWin *mwin) = 0;
    // The screen is left or removed: forget pointers to its buttons.
    virtual void ClearButtonPointers() {}
    // The screen starts; data is what GotoScreen was given.
    virtual void StartingCB(void *data) {}
    virtual void TickCB() {}
    // 0 before the GUI is drawn, 1 after the windows, 2 after the popups.
    virtual void RenderCB(int pass) {}
    // A button of the screen fired; true when the press was handled.
    virtual bool ControlCB(MWinButton *button, _MWinButtonCallbackInfo *info) { return false; }

    void SetScreens(MWinScreens *owner) { screens = owner; }
    MWinScreens *GetScreens() const { return screens; }

private:
    MWinScreens *screens;
};

typedef void (*EngScreensChangingFn)(MWin *mwin, void *user);

// One registered screen.
struct _EngScreen
{
    ScreenId id;
    MWinCollectionController *controller;
    ScreenId backId;     // current when this one was entered by Goto
    ScreenId cameFromId; // current when this one was last entered
    int32_t spare[2];
};

class EngScreens
{
public:
    EngScreens(MWin *mwin, void *user);
    ~EngScreens();
    EngScreens(const EngScreens &) = delete;
    EngScreens &operator=(const EngScreens &) = delete;

    bool Add(ScreenId id, MWinCollectionController *controller);
    bool SetCurrentScreenID(ScreenId id);
    bool StartCurrent(void *data);
    bool Goto(ScreenId id, void *data);
    bool GoBack();
    bool Reload();
    bool TurnOn(int mode);
    bool TurnOff(int mode);
    bool Tick();
    void Render(int pass);
    void RemoveScreen(int index);
    void RemoveAllScreens();
    ScreenId GetCurrentID() const { return currentId; }
    bool IsStarted() const { return started; }
    int GetNumScreens();
    MWinCollectionController *GetController(ScreenId id);
    // The back id of a registered screen (0 when none or not registered).
    ScreenId GetBackID(ScreenId id);
    void SetPreChangingCallback(EngScreensChangingFn callback) { preChanging = callback; }
    void SetPostChangingCallback(EngScreensChangingFn callback) { postChanging = callback; }

private:
    _EngScreen *GetScreenFromID(ScreenId id, int *index);
    _EngScreen *GetScreenAt(int index);

    MWin *mwin;
    void *user;
    EngIndexedList *list;
    bool started;
    ScreenId currentId;
    int currentIndex;
    EngScreensChangingFn preChanging, postChanging;
    signed char turnedOnMWin; // -1 undecided, 0 not this stack, 1 this stack
};

class MWinScreens
{
public:
    MWinScreens(MWin *mwin, bool fade);
    virtual ~MWinScreens();
    MWinScreens(const MWinScreens &) = delete;
    MWinScreens &operator=(const MWinScreens &) = delete;

    virtual bool SetupScreens() { return true; }
    virtual void BeforeStart() {}
    virtual void AfterStart(ScreenId current) {}
    virtual void PreChanging() {}
    virtual void PostChanging(ScreenId current) {}
    virtual void OnEnd() {}

    bool AddScreen(ScreenId id, MWinCollectionController *controller);
    // Registers with the GUI root (once), removes all screens, installs the changing
    // callbacks and calls SetupScreens.
    bool SetupAllScreens();
    bool Start(int mode, bool fadeOutFirst, bool fadeInAfter);
    bool StartScreen(ScreenId id, int mode);
    bool End(int mode);
    bool GotoScreen(ScreenId id, void *data);
    bool GoBack();
    bool ReloadCurrentScreen();
    bool SetCurrentScreen(ScreenId id);
    ScreenId GetCurrentScreen();
    bool IsRunning();
    void RemoveAllScreens();
    bool Tick();
    void Render(int pass);
    void SetFade(bool on) { fade = on; }
    bool IsFading() const { return fade; }
    // Draws the frames of a fade (0.15 s) inside the call. Slow frames end it early:
    // once twice its length has passed it draws its last frame and stops. out: to black.
    void Fade(bool out);
    EngScreens *GetEngScreens() const { return engScreens; }
    MWin *GetMWin() const { return mwin; }

    // For the changing callbacks.
    void PreChangingCB();
    void PostChangingCB();

private:
    MWin *mwin;
    EngScreens *engScreens;
    bool fade;
};

void MWinScreens_PreChangingCB(MWin *mwin, void *user);
void MWinScreens_PostChangingCB(MWin *mwin, void *user);
