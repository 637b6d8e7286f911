// The program object: start-up steps, the main loop in its five modes with the frame
// timing, quitting, pausing, minimised handling, shut-down and forced exit.
//
// Sections: construction and settings; start-up; one update and one render; the loops;
// shut-down; default callbacks.
#include "EngProgram.h"

#include <cmath>
#include <cstdlib>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngMain.h"
#include "EngMemory.h"
#include "EngMisc.h"
#include "EngWindow.h"

EngProgram *eng_main_program = nullptr;

// Mode 0's adaptive rate: the wait rounds of the last three frames and the time of the
// next step.
static struct
{
    int rounds[3];
    double nextStep;
} s_adaptive = {{0, 0, 0}, 0.0};

int EngProgramGetMainDeviceType()
{
    return EngDeviceGetMainType();
}

// ---- Construction and settings ---------------------------------------------------------

EngProgram::EngProgram()
    : quitFlag(0), signalSeen(0), pauseFlag(0), popupAfterExit(0), mainWindow(nullptr), minimisedPause(1),
      minimisedHook(nullptr), minimisedHookUser(0), postDeviceInitDone(0), exitCallback(nullptr),
      targetFrameRate(60.0f), minimumWaitRounds(0), longSleep(0), pumpWhileWaiting(1), adaptiveRate(0),
      wakeNow(0), passSleep(0), smoothing(0), lastFrameTimes{0, 0, 0, 0}, lastFrameStart(0.0), eventIdleSleep(3),
      redrawCounter(1), redrawUntil(0.0), holdUntil(0.0), eventTick(1), eventRender(1), mouseMoveRedraw(1),
      eventFrameRate(60.0f), eventHoldTime(0.5f), eventIdleHook(nullptr), neededFrameRate(60.0f),
      neededSleepAfterFrame(0), neededSleepWhenIdle(3), neededTickWhenIdle(1), neededRedraw(1),
      neededIdleHook(nullptr), nextDeadline(0.0), loopMode(ENG_LOOP_CONSTANT_RATE),
      instance(nullptr)
{
    EngMainSetupProgramLayer();
    EngDeviceSetMainType(ENG_DEVICE_DX9);
    EngDeviceSetGpuSync(false, 0, false);
    DebugFatalIfFalseInFunction(!EngMainIsMainThreadSet(), ENG_FUNC, "Main thread already setup");
    EngMainSetMainThread();
    EngFrameTiming.frameRate = 60.0f;
    EngFrameTiming.frameTime = 0.016666668f;
    EngFrameTiming.currentTime = 0.0;
    s_adaptive = {{0, 0, 0}, 0.0};
    srand(EngMiscGetMilliseconds_PC());
    eng_main_program = this;
}

EngProgram::~EngProgram()
{
    Shutdown(true);
    if (eng_main_program == this)
        eng_main_program = nullptr;
}

bool EngProgram::SetMainDeviceType(int deviceType)
{
    if (mainWindow || EngMainDevice)
    {
        DebugError(ENG_FUNC, "Call this before creating a window or device.");
        return false;
    }
    EngDeviceSetMainType(deviceType);
    return true;
}

void EngProgram::SetMainLoopMode(int mode)
{
    loopMode = mode;
    if (mode == ENG_LOOP_CONSTANT_RATE || mode == ENG_LOOP_FULL_RENDER)
        ConstantFrameRateLoopSetConstantFrameRate(0);
}

void EngProgram::ConstantFrameRateLoopSetConstantFrameRate(float rate)
{
    if (loopMode != ENG_LOOP_CONSTANT_RATE && loopMode != ENG_LOOP_FULL_RENDER)
    {
        DebugError(ENG_FUNC, "Constant frame rates not setup");
        return;
    }
    if (rate > 0)
        targetFrameRate = rate;
    EngFrameTiming.frameRate = targetFrameRate;
    EngFrameTiming.frameTime = 1.0f / targetFrameRate;
}

void EngProgram::SetConstantFrameRateOptions(bool sleepLong, bool pump, bool adaptive)
{
    longSleep = sleepLong ? 1 : 0;
    pumpWhileWaiting = pump ? 1 : 0;
    adaptiveRate = adaptive ? 1 : 0;
}

void EngProgram::SetMinimumWaitRounds(int rounds)
{
    minimumWaitRounds = rounds < 0 ? 0 : rounds;
}

void EngProgram::SetPassSleep(int milliseconds)
{
    passSleep = milliseconds < 0 ? 0 : milliseconds;
}

void EngProgram::SetFrameTimeSmoothing(bool on)
{
    smoothing = on ? 1 : 0;
}

void EngProgram::QuitMainLoop()
{
    DebugInfo("Exiting.");
    quitFlag = 1;
}

void EngProgram::SetQuitFlag()
{
    if (!quitFlag)
        quitFlag = 1;
}

bool EngProgram::IsQuitting() const
{
    return quitFlag != 0 || EngMainGetPendingSignal() != 0;
}

void EngProgram::CheckSignals()
{
    int number = EngMainGetPendingSignal();
    if (number != 0 && !signalSeen)
    {
        signalSeen = 1;
        DebugInfo("Signal %d received: closing down.", number);
        quitFlag = 1;
    }
}

void EngProgram::RequestEventDrivenRedraw(bool fromMouseMove)
{
    if (loopMode == ENG_LOOP_EVENT_DRIVEN)
    {
        if (!fromMouseMove || mouseMoveRedraw)
            redrawCounter = redrawCounter > 1 ? redrawCounter : 1;
    }
    else if (loopMode == ENG_LOOP_CONSTANT_RATE && pumpWhileWaiting)
        wakeNow = 1;
}

void EngProgram::RequestEventDrivenRedrawNow()
{
    if (loopMode == ENG_LOOP_EVENT_DRIVEN)
        redrawCounter = 2;
}

void EngProgram::RequestEventDrivenKeepDrawing()
{
    redrawUntil = EngFrameTiming.currentTime + 10.0;
}

void EngProgram::RequestRedraw()
{
    if (loopMode == ENG_LOOP_RENDER_WHEN_NEEDED)
        neededRedraw = 1;
}

void EngProgram::SetEventDrivenIdleSleep(int milliseconds)
{
    eventIdleSleep = milliseconds < 0 ? 0 : milliseconds;
}

void EngProgram::SetEventDrivenOptions(bool tick, bool render, bool redrawOnMouseMove, float frameRate,
                                       float holdTime, EngIdleHookFn idleHook)
{
    eventTick = tick ? 1 : 0;
    eventRender = render ? 1 : 0;
    mouseMoveRedraw = redrawOnMouseMove ? 1 : 0;
    if (frameRate > 0)
        eventFrameRate = frameRate;
    eventHoldTime = holdTime < 0 ? 0 : holdTime;
    eventIdleHook = idleHook;
}

void EngProgram::SetRenderWhenNeededOptions(float frameRate, int sleepAfterFrame, int sleepWhenIdle,
                                            bool tickWhenIdle, EngIdleHookFn idleHook)
{
    if (frameRate > 0)
        neededFrameRate = frameRate;
    neededSleepAfterFrame = sleepAfterFrame < 0 ? 0 : sleepAfterFrame;
    neededSleepWhenIdle = sleepWhenIdle < 0 ? 0 : sleepWhenIdle;
    neededTickWhenIdle = tickWhenIdle ? 1 : 0;
    neededIdleHook = idleHook;
}

void EngProgram::SetMinimisedHook(EngMinimisedHookFn hook, uint32_t user)
{
    minimisedHook = hook;
    minimisedHookUser = user;
}

void EngProgram::SetExitCallback(EngExitCallbackFn callback)
{
    exitCallback = callback;
}

void EngProgram::SetGpuSync(bool enabled, int method, bool fallBack)
{
    EngDeviceSetGpuSync(enabled, method, fallBack);
}

int EngProgram::GetGpuSyncMethod() const
{
    return EngDeviceGetGpuSyncMethod();
}

bool EngProgram::GetGpuSyncFallBack() const
{
    return EngDeviceGetGpuSyncFallBack();
}

void EngProgram::ShowPopupAfterExiting()
{
    if (!EngMiscIsPopupSet())
        DebugError(ENG_FUNC, "Popup texts are not set.");
    popupAfterExit = 1;
}

// ---- Start-up ----------------------------------------------------------------------------

signed char EngProgram::Init(void *instanceHandle, const char *commandLine)
{
    EngMainCheckInternals();
    mainWindow = nullptr;
    instance = instanceHandle;
    EngMiscStartClock_PC();
    signed char result = InitCB(commandLine ? commandLine : "");
    if (result < 1)
        return result;
    EngMainInstallSignalHandlers();
    return 1;
}

signed char EngProgram::InitForMain(void *instanceHandle, const char *commandLine, int *exitCode)
{
    signed char result = Init(instanceHandle, commandLine);
    if (result < 0)
    {
        *exitCode = 0;
        return 0;
    }
    if (result == 0)
    {
        DebugError(ENG_FUNC, "Init Failed");
        *exitCode = -1;
        return 0;
    }
    return 1;
}

signed char EngProgram::CreateMainWindow(const char *title, const char *className, _EngCreateWindowParms *parms)
{
    if (!parms)
    {
        DebugError(ENG_FUNC, "No window parms");
        return 0;
    }
    if (mainWindow)
    {
        DebugError(ENG_FUNC, "Window already created.");
        return 0;
    }
    EngSafeStrcpy(parms->className, className ? className : "", sizeof(parms->className));
    signed char result = 0;
    if (DoCreateMainWindow(title, parms, &result))
        return 1;
    if (result < 0)
        return result;
    DebugError(ENG_FUNC, "Could not create main window.");
    return 0;
}

EngWindow *EngProgram::DoCreateMainWindow(const char *title, _EngCreateWindowParms *parms, signed char *result)
{
    if (mainWindow)
    {
        DebugError(ENG_FUNC, "Can only have one window at a time");
        return nullptr;
    }
    EngWindow *window = new EngWindow(this, title);
    signed char created = window->Create(parms);
    if (created > 0)
        return window;
    delete window;
    if (result)
        *result = created;
    return nullptr;
}

bool EngProgram::CreateMainGraphicsDevice()
{
    if (!mainWindow)
    {
        DebugError(ENG_FUNC, "No window.");
        return false;
    }
    if (mainWindow->CreateGraphicsDevice() < 1)
    {
        DebugError(ENG_FUNC, "Could not create graphics device.");
        return false;
    }
    return true;
}

// ---- One update and one render ---------------------------------------------------------------

bool EngProgram::HandleMinimised(bool update, bool render)
{
    if (!minimisedPause || !mainWindow || !mainWindow->IsMinimised())
        return false;
    if (minimisedHook)
        minimisedHook(update ? 1 : 0, render ? 1 : 0, minimisedHookUser);
    else if (update)
        EngMiscSleepSeconds(0.05);
    return true;
}

bool EngProgram::CanUpdateOrRender()
{
    CheckSignals();
    return !IsQuitting() && !pauseFlag && EngMainDevice && EngMainDevice->IsReady();
}

void EngProgram::Update()
{
    if (IsQuitting() || pauseFlag || HandleMinimised(true, false) || !CanUpdateOrRender())
        return;
    TickCB();
    if (mainWindow)
        mainWindow->PollMouse();
}

void EngProgram::Render(bool present)
{
    if (IsQuitting() || pauseFlag || HandleMinimised(false, true) || !CanUpdateOrRender())
        return;
    const double now = EngFrameTiming.currentTime;
    if (present && stillQuery && stillQuery() && now - lastDrawnTime < 1.0 && now >= lastDrawnTime)
        return;
    lastDrawnTime = now;
    RenderCB();
    if (mainWindow)
        mainWindow->DrawTextureCursor_PC();
    if (!EngMainDevice)
        return;
    EngMainDevice->SyncWithGPU();
    if (present)
        EngMainDevice->SwapBuffers();
}

void EngProgram::ServiceWindow()
{
    CheckSignals();
    if (IsQuitting() || !mainWindow)
        return;
    mainWindow->Service();
}

void EngProgram::UpdateFrameTimingFromClock()
{
    double now = EngMainGetTime();
    if (lastFrameStart <= 0.0)
    {
        lastFrameStart = now;
        return;
    }
    float frameTime = (float)(now - lastFrameStart);
    if (smoothing)
    {
        // The average of this frame and the up to four before it.
        float sum = frameTime;
        int count = 1;
        for (float earlier : lastFrameTimes)
            if (earlier > 0)
            {
                sum += earlier;
                count++;
            }
        frameTime = sum / (float)count;
    }
    if (frameTime > 0.0001f)
    {
        for (int i = 0; i < 3; i++)
            lastFrameTimes[i] = lastFrameTimes[i + 1];
        lastFrameTimes[3] = frameTime;
        lastFrameStart = now;
    }
    EngFrameTiming.frameTime = frameTime;
    EngFrameTiming.frameRate = frameTime > 0 ? 1.0f / frameTime : 1000.0f;
}

// ---- The loops -----------------------------------------------------------------------------------

bool EngProgram::ExitIfNoProgram(const char *text)
{
    if (eng_main_program)
        return false;
    DebugInfo("%s", text);
    quitFlag = 1;
    return true;
}

void EngProgram::RunMainLoop()
{
    switch (loopMode)
    {
    case ENG_LOOP_CONSTANT_RATE:
        RunConstantFrameRateLoop();
        break;
    case ENG_LOOP_FULL_RENDER:
        RunFullRenderLoop();
        break;
    case ENG_LOOP_EVENT_DRIVEN:
        RunEventDrivenLoop();
        break;
    case ENG_LOOP_FULL_SPEED:
        RunFullSpeedLoop();
        break;
    case ENG_LOOP_RENDER_WHEN_NEEDED:
        RunRenderWhenNeededLoop();
        break;
    default:
        break;
    }
    // A signal that ended the loop is noted in the log.
    CheckSignals();
}

int EngProgram::RunConstantFrameRateLoop()
{
    const char *exitText = "Exiting as no eng_main_program.";
    while (!IsQuitting())
    {
        double start = EngMainGetTime();
        // Frame deadlines keep a fixed cadence: the time one wait overshoots its deadline
        // comes off the next wait, so the rate holds at the target on average. A pass
        // that fell a whole period behind starts a new cadence.
        double period = 1.0 / targetFrameRate;
        double deadline = nextDeadline + period;
        if (deadline <= start || deadline > start + period)
            deadline = start + period;
        nextDeadline = deadline;
        ServiceWindow();
        if (!IsQuitting())
        {
            if (ExitIfNoProgram(exitText))
                return 0;
            Update();
            if (ExitIfNoProgram(exitText))
                return 0;
            Render(true);
        }
        if (ExitIfNoProgram(exitText))
            return 0;

        // Wait out the frame period in short sleeps, handling a window message each round
        // so that input is not held up by the wait.
        double now = EngMainGetTime();
        int rounds = 0;
        for (;;)
        {
            if (pumpWhileWaiting && wakeNow)
                break;
            if (deadline <= now && !(minimumWaitRounds >= 1 && rounds < minimumWaitRounds))
                break;
            if (IsQuitting())
                break;
            // Short rounds sleep to the deadline at once; a window message ends the
            // sleep early so that it is handled without delay.
            uint32_t milliseconds = longSleep ? 10 : 1;
            if (!longSleep && deadline > now)
                milliseconds = (uint32_t)ceil((deadline - now) * 1000.0);
            if (pumpWhileWaiting)
            {
                EngMiscWaitForMessage_PC(milliseconds);
                ServiceWindow();
            }
            else
                EngMiscSleepMilliseconds_PC(milliseconds);
            now = EngMainGetTime();
            rounds++;
        }
        wakeNow = 0;

        if (adaptiveRate && s_adaptive.nextStep <= now)
        {
            int average = (s_adaptive.rounds[0] + s_adaptive.rounds[1] + s_adaptive.rounds[2] + rounds) / 4;
            s_adaptive.rounds[0] = s_adaptive.rounds[1];
            s_adaptive.rounds[1] = s_adaptive.rounds[2];
            s_adaptive.rounds[2] = rounds;
            if (average >= 9 && targetFrameRate < 240)
                targetFrameRate += 3;
            else if (average >= 5 && average < 9 && targetFrameRate < 120)
                targetFrameRate += 3;
            else if (average < 1 && targetFrameRate > 60)
                targetFrameRate -= 3;
            s_adaptive.nextStep = now + 0.1;
        }

        float frameTime = (float)(now - start);
        EngFrameTiming.frameTime = frameTime;
        if (frameTime > 0)
            EngFrameTiming.frameRate = 1.0f / frameTime;
    }
    return 0;
}

int EngProgram::RunFullRenderLoop()
{
    const char *exitText = "Exiting as no eng_main_program. (FullRender)";
    double stepTime = EngMainGetTime();
    while (!IsQuitting())
    {
        double now = EngMainGetTime();
        int updates = 0;
        while (stepTime < now && updates < 10)
        {
            ServiceWindow();
            if (!IsQuitting())
            {
                if (ExitIfNoProgram(exitText))
                    return 0;
                Update();
            }
            stepTime += EngFrameTiming.frameTime;
            updates++;
        }
        if (ExitIfNoProgram(exitText))
            return 0;
        Render(true);
        if (passSleep > 0)
            EngMiscSleepMilliseconds_PC((uint32_t)passSleep);
    }
    return 0;
}

int EngProgram::RunEventDrivenLoop()
{
    while (!IsQuitting())
    {
        double start = EngMainGetTime();
        ServiceWindow();
        if (ExitIfNoProgram("Exiting as no eng_main_program. (EventDriven)"))
            return 1;
        bool draw = redrawCounter > 0 || holdUntil > start || (redrawUntil > 0 && redrawUntil > start);
        if (!draw)
        {
            if (eventIdleSleep > 0)
                EngMiscSleepMilliseconds_PC((uint32_t)eventIdleSleep);
            if (eventIdleHook)
                eventIdleHook();
            continue;
        }
        EngFrameTiming.frameRate = eventFrameRate;
        EngFrameTiming.frameTime = 1.0f / eventFrameRate;
        if (!IsQuitting())
        {
            if (eventTick)
                Update();
            if (ExitIfNoProgram("Exiting as no eng_main_program. (EventDriven B)"))
                return 1;
            if (eventRender)
                Render(true);
        }
        if (redrawUntil <= 0)
        {
            double end = start + EngFrameTiming.frameTime;
            while (EngMainGetTime() < end && !IsQuitting())
                EngMiscSleepMilliseconds_PC(1);
        }
        double now = EngMainGetTime();
        if (redrawCounter > 0)
        {
            holdUntil = now + eventHoldTime;
            redrawCounter--;
        }
        if (redrawUntil > 0 && redrawUntil <= now)
            redrawUntil = 0;
    }
    return 1;
}

int EngProgram::RunFullSpeedLoop()
{
    while (!IsQuitting())
    {
        EngMainGetTime();
        ServiceWindow();
        if (ExitIfNoProgram("Exiting as no eng_main_program. (Full)"))
            return 1;
        if (!IsQuitting())
        {
            bool minimisedNow = HandleMinimised(true, true);
            if (!minimisedNow && !pauseFlag && CanUpdateOrRender() && TickCB())
            {
                RenderCB();
                if (mainWindow)
                {
                    mainWindow->DrawTextureCursor_PC();
                    mainWindow->PollMouse();
                }
            }
            if (EngMainDevice)
            {
                EngMainDevice->SyncWithGPU();
                EngMainDevice->SwapBuffers();
                UpdateFrameTimingFromClock();
            }
        }
        if (passSleep > 0)
            EngMiscSleepMilliseconds_PC((uint32_t)passSleep);
    }
    return 1;
}

int EngProgram::RunRenderWhenNeededLoop()
{
    while (!IsQuitting())
    {
        EngMainGetTime();
        ServiceWindow();
        if (ExitIfNoProgram("Exiting as no eng_main_program. (RenderWhenNeeded)"))
            return 1;
        if (neededRedraw)
        {
            neededRedraw = 0;
            EngFrameTiming.frameRate = neededFrameRate;
            EngFrameTiming.frameTime = 1.0f / neededFrameRate;
            Update();
            if (ExitIfNoProgram("Exiting as no eng_main_program. (RenderWhenNeeded B)"))
                return 1;
            Render(true);
            if (neededSleepAfterFrame > 0)
                EngMiscSleepMilliseconds_PC((uint32_t)neededSleepAfterFrame);
        }
        else
        {
            if (neededTickWhenIdle)
                Update();
            if (neededIdleHook)
                neededIdleHook();
            if (neededSleepWhenIdle > 0)
                EngMiscSleepMilliseconds_PC((uint32_t)neededSleepWhenIdle);
        }
    }
    return 1;
}

// ---- Suspend and resume --------------------------------------------------------------------------

void EngProgram::Suspend()
{
    if (mainWindow)
        mainWindow->DoDestroyGraphicsDevice(false);
    SuspendResumeCB(1);
    EngMiscSleepSeconds(3.0);
    pauseFlag = 1;
}

void EngProgram::Resume()
{
    pauseFlag = 0;
    if (mainWindow)
        mainWindow->DoCreateGraphicsDevice(false);
    SuspendResumeCB(0);
}

// ---- Shut-down ------------------------------------------------------------------------------------

void EngProgram::Shutdown(bool forced)
{
    if (!eng_main_program)
        return;
    quitFlag = 1;
    if (mainWindow)
    {
        DebugInfo("Shut-down: graphics device and window.");
        mainWindow->DestroyGraphicsDevice();
        mainWindow->Destroy();
        delete mainWindow;
        mainWindow = nullptr;
    }
    DebugInfo("Shut-down: program.");
    ShutdownCB();
    eng_main_program = nullptr;
    EngMainRemoveSignalHandlers();
    if (exitCallback)
    {
        EngMiscDiscardMessages_PC(1.0);
        exitCallback();
        return;
    }
    if (popupAfterExit)
    {
        EngMiscDiscardMessages_PC(1.0);
        popupAfterExit = 0;
        EngMiscShowPopupMessage(ENG_POPUP_NONE, nullptr, nullptr);
    }
}

void EngProgram::ForceExitNow(const char *title, const char *text, bool quiet)
{
    bool haveTexts = title || text;
    if (haveTexts)
        EngMiscSetPopupTexts(ENG_POPUP_ERROR, title, text);
    if (!EngMainIsThisTheMainThread())
    {
        // Only the main thread may close window and device: ask its loop to end.
        DebugError(ENG_FUNC, "Not closing down as not the main thread");
        quitFlag = 1;
        if (EngMiscIsPopupSet())
            ShowPopupAfterExiting();
        return;
    }
    quitFlag = 1;
    if (mainWindow)
    {
        mainWindow->DestroyGraphicsDevice();
        mainWindow->Destroy();
        delete mainWindow;
        mainWindow = nullptr;
    }
    if (haveTexts)
        EngMiscShowPopupMessage(ENG_POPUP_NONE, nullptr, nullptr);
    else if (!quiet)
        EngMainShowPrematureTerminationMessage();
    eng_main_program = nullptr;
}

// ---- Default callbacks -----------------------------------------------------------------------------

signed char EngProgram::InitCB(const char *commandLine)
{
    return 1;
}

signed char EngProgram::PreCreateWindowCB(_EngCreateWindowParms *parms)
{
    return 1;
}

signed char EngProgram::ReservedCB()
{
    return 1;
}

signed char EngProgram::PreDeviceInitCB()
{
    return 1;
}

signed char EngProgram::PostDeviceInitCB()
{
    return 1;
}

signed char EngProgram::PreCreateGraphicsObjectsCB()
{
    return 1;
}

bool EngProgram::CreateGraphicsObjectsCB()
{
    return true;
}

signed char EngProgram::PostCreateGraphicsObjectsCB()
{
    return 1;
}

void EngProgram::PreReleaseGraphicsObjectsCB()
{
}

void EngProgram::ReleaseGraphicsObjectsCB()
{
}

void EngProgram::PostReleaseGraphicsObjectsCB()
{
}

bool EngProgram::TickCB()
{
    return true;
}

void EngProgram::RenderCB()
{
    if (!EngMainDevice)
        return;
    bool began = EngMainDevice->BeginRenderingIfNotRendering();
    EngMainDevice->SetClearColour(0.2f, 0.4f, 0.3f);
    EngMainDevice->ClearScreenAndZBuffer();
    if (began)
        EngMainDevice->EndRendering();
}

bool EngProgram::InputCB(int32_t event, int32_t a, int32_t b)
{
    return false;
}

void EngProgram::ModeChangedCB(int orientation)
{
}

void EngProgram::SuspendResumeCB(int suspend)
{
}

bool EngProgram::ActivationChangedCB(bool active)
{
    return active;
}

void EngProgram::MinimisedChangedCB(int minimised)
{
}

void EngProgram::AfterGraphicsObjectsCreatedCB()
{
}

void EngProgram::PreDestroyDeviceCB()
{
}

void EngProgram::PostDestroyDeviceCB()
{
}

void EngProgram::ShutdownCB()
{
}
