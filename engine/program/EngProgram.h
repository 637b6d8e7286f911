// The program object through which the engine drives an application: the application
// derives from EngProgram, overrides the callbacks it needs and creates one instance;
// the engine calls them at start-up, every frame, on input, on window and device
// changes and at shut-down. Also the frame-timing globals and the main loop's modes.
#pragma once
#include <atomic>
#include <cstdint>

#include "EngDevice.h"
#include "EngGlobals.h"

class EngWindow;
struct _EngCreateWindowParms;

// The engine's input events: InputCB (event, a, b).
enum _EngInputEvent
{
    ENG_INPUT_MOUSE_MOVE = 1,   // a, b: x and y as float bit patterns (window pixels)
    ENG_INPUT_BUTTON = 2,       // a: 0 left, 1 right, 2 middle; b: 1 pressed, 0 released
    ENG_INPUT_DOUBLE_CLICK = 3, // left button; a = b = 0
    ENG_INPUT_WHEEL = 4,        // a: lines (positive away from the player); b = 2
    ENG_INPUT_KEY_DOWN = 5,     // a: virtual key
    ENG_INPUT_KEY_UP = 6,       // a: virtual key
    ENG_INPUT_CHARACTER = 7,    // a: Windows-1252 character
};

enum _EngMainLoopMode
{
    ENG_LOOP_CONSTANT_RATE = 0, // the game's mode
    ENG_LOOP_FULL_RENDER = 1,
    ENG_LOOP_EVENT_DRIVEN = 2,
    ENG_LOOP_FULL_SPEED = 3,
    ENG_LOOP_RENDER_WHEN_NEEDED = 4,
};

typedef void (*EngMinimisedHookFn)(int update, int render, uint32_t user);
typedef void (*EngIdleHookFn)();
typedef void (*EngExitCallbackFn)();
// True when the next frame would show the picture already on the screen.
typedef bool (*EngStillFrameFn)();

// The one program object; set by its constructor, cleared at shut-down.
extern class EngProgram *eng_main_program;

class EngProgram
{
public:
    EngProgram();
    virtual ~EngProgram();
    EngProgram(const EngProgram &) = delete;
    EngProgram &operator=(const EngProgram &) = delete;

    // The 22 callbacks, in slot order. Start-up steps answer > 0 to go on, 0 on
    // failure (the caller reports it), < 0 to stop quietly.
    virtual signed char InitCB(const char *commandLine);
    virtual signed char PreCreateWindowCB(_EngCreateWindowParms *parms);
    virtual signed char ReservedCB();
    virtual signed char PreDeviceInitCB();
    virtual signed char PostDeviceInitCB();
    virtual signed char PreCreateGraphicsObjectsCB();
    virtual bool CreateGraphicsObjectsCB();
    virtual signed char PostCreateGraphicsObjectsCB();
    virtual void PreReleaseGraphicsObjectsCB();
    virtual void ReleaseGraphicsObjectsCB();
    virtual void PostReleaseGraphicsObjectsCB();
    virtual bool TickCB();
    // Clears the screen to (0.2, 0.4, 0.3).
    virtual void RenderCB();
    // True when the event was handled.
    virtual bool InputCB(int32_t event, int32_t a, int32_t b);
    virtual void ModeChangedCB(int orientation);
    virtual void SuspendResumeCB(int suspend);
    virtual bool ActivationChangedCB(bool active);
    virtual void MinimisedChangedCB(int minimised);
    virtual void AfterGraphicsObjectsCreatedCB();
    virtual void PreDestroyDeviceCB();
    virtual void PostDestroyDeviceCB();
    virtual void ShutdownCB();

    // Start-up: checks, clock, InitCB, signal handlers. Answers InitCB's result when
    // below 1, else 1.
    signed char Init(void *instance, const char *commandLine);
    // Init for the application table's createAndInitMainProgram: 1 to go on; else 0
    // with *exitCode 0 after a quiet stop, or -1 after a failure (logged as "Init Failed").
    signed char InitForMain(void *instance, const char *commandLine, int *exitCode);
    signed char CreateMainWindow(const char *title, const char *className, _EngCreateWindowParms *parms);
    bool CreateMainGraphicsDevice();
    // Only while neither window nor device exists.
    bool SetMainDeviceType(int deviceType);

    void SetMainLoopMode(int mode);
    int GetMainLoopMode() const { return loopMode; }
    // Modes 0 and 1: a rate above 0 becomes the target; the frame-timing globals follow.
    void ConstantFrameRateLoopSetConstantFrameRate(float rate);
    void SetConstantFrameRateOptions(bool longSleep, bool pumpWhileWaiting, bool adaptiveRate);
    void SetMinimumWaitRounds(int rounds);
    void SetPassSleep(int milliseconds);
    void SetFrameTimeSmoothing(bool on);
    // Runs the loop of the current mode until the quit flag is set.
    void RunMainLoop();

    // Logs "Exiting." and sets the quit flag.
    void QuitMainLoop();
    // Sets the quit flag without a log line.
    void SetQuitFlag();
    bool IsQuitting() const;
    bool IsPaused() const { return pauseFlag != 0; }

    void RequestEventDrivenRedraw(bool fromMouseMove);
    void RequestEventDrivenRedrawNow();
    // Keeps mode 2 drawing for the next 10 seconds.
    void RequestEventDrivenKeepDrawing();
    void RequestRedraw();
    void SetEventDrivenIdleSleep(int milliseconds);
    void SetEventDrivenOptions(bool tick, bool render, bool redrawOnMouseMove, float frameRate, float holdTime,
                               EngIdleHookFn idleHook);
    void SetRenderWhenNeededOptions(float frameRate, int sleepAfterFrame, int sleepWhenIdle, bool tickWhenIdle,
                                    EngIdleHookFn idleHook);
    void SetMinimisedHook(EngMinimisedHookFn hook, uint32_t user);
    void SetMinimisedPause(bool on) { minimisedPause = on ? 1 : 0; }
    void SetExitCallback(EngExitCallbackFn callback);
    // Frames the query calls still are neither drawn nor presented (the window keeps the
    // last one), except one a second that repairs what the window system may have lost.
    void SetStillFrameQuery(EngStillFrameFn query) { stillQuery = query; }
    // GPU sync from the start-up settings: the method is kept only when enabled.
    void SetGpuSync(bool enabled, int method, bool fallBack);
    // The settings are the device's (EngDeviceSetGpuSync); -1 for no method.
    int GetGpuSyncMethod() const;
    bool GetGpuSyncFallBack() const;

    // Shows the stored popup once the main loop has ended.
    void ShowPopupAfterExiting();
    // Power management: suspend releases the graphics objects and pauses; resume
    // re-creates them.
    void Suspend();
    void Resume();

    // Ends the program: device, window, ShutdownCB, then the exit callback or the
    // popup after exit. Only while eng_main_program is set.
    void Shutdown(bool forced);
    // Ends the program at once without ShutdownCB, showing `title`/`text` (or, without
    // texts and not quiet, the premature-termination message). From another thread it
    // only asks the main loop to end.
    void ForceExitNow(const char *title, const char *text, bool quiet);

    EngWindow *GetMainWindow() const { return mainWindow; }
    // For the window: the window that was created, or NULL once it is gone.
    void SetMainWindow(EngWindow *window) { mainWindow = window; }
    void SetPostDeviceInitDone() { postDeviceInitDone = 1; }
    bool IsPostDeviceInitDone() const { return postDeviceInitDone != 0; }
    void *GetInstance() const { return instance; }

    // One update (TickCB and the mouse poll) and one render (RenderCB, the texture
    // cursor, GPU sync, present), each skipped while quitting, paused, minimised or
    // without a ready device.
    void Update();
    void Render(bool present);
    // Window service: pending device work, then one window message.
    void ServiceWindow();
    // The loops' frame-time step of mode 3.
    void UpdateFrameTimingFromClock();

private:
    EngWindow *DoCreateMainWindow(const char *title, _EngCreateWindowParms *parms, signed char *result);
    bool HandleMinimised(bool update, bool render);
    bool CanUpdateOrRender();
    // Folds a pending SIGINT/SIGTERM into the quit flag.
    void CheckSignals();
    int RunConstantFrameRateLoop();
    int RunFullRenderLoop();
    int RunEventDrivenLoop();
    int RunFullSpeedLoop();
    int RunRenderWhenNeededLoop();
    bool ExitIfNoProgram(const char *text);

    // Set once the program is to end; other threads may set it.
    std::atomic<uint8_t> quitFlag;
    uint8_t signalSeen;
    uint8_t pauseFlag;
    uint8_t popupAfterExit;
    EngWindow *mainWindow;
    uint8_t minimisedPause;
    EngMinimisedHookFn minimisedHook;
    uint32_t minimisedHookUser;
    uint8_t postDeviceInitDone;
    EngExitCallbackFn exitCallback;
    EngStillFrameFn stillQuery = nullptr;
    double lastDrawnTime = 0.0;
    float targetFrameRate;
    int minimumWaitRounds;
    // Mode-0 options.
    uint8_t longSleep;
    uint8_t pumpWhileWaiting;
    uint8_t adaptiveRate;
    uint8_t wakeNow;
    int passSleep;
    // Mode 3.
    uint8_t smoothing;
    float lastFrameTimes[4];
    double lastFrameStart;
    // Mode 2.
    int eventIdleSleep;
    int redrawCounter;
    double redrawUntil;
    double holdUntil;
    uint8_t eventTick;
    uint8_t eventRender;
    uint8_t mouseMoveRedraw;
    float eventFrameRate;
    float eventHoldTime;
    EngIdleHookFn eventIdleHook;
    // Mode 4.
    float neededFrameRate;
    int neededSleepAfterFrame;
    int neededSleepWhenIdle;
    uint8_t neededTickWhenIdle;
    uint8_t neededRedraw;
    EngIdleHookFn neededIdleHook;
    double nextDeadline; // mode 0: the deadline of the last pass
    int loopMode;
    void *instance;
};

// Takes every queued window message up to a quit message, dropping input (key down,
// characters, button presses, double clicks, wheel) and dispatching the rest. False.
bool EngProgramDiscardPendingInput();
// The program's device type (1 = the graphics back end).
int EngProgramGetMainDeviceType();
