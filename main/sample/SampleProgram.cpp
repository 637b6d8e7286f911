// The stand-in program and the application table the engine's start-up runs.
#include "SampleProgram.h"

#include <cstring>

#include "EngDebug.h"
#include "EngMain.h"
#include "EngPrefFolder.h"
#include "EngWindow.h"
#include "Resolution.h"

static struct
{
    SampleProgram *program;
    _EngCreateWindowParms windowParms;
} s_sample = {nullptr, {}};

SampleProgram::SampleProgram() : nextRateTime(0.0), rateStart(0.0), framesSinceRate(0)
{
}

signed char SampleProgram::InitCB(const char *commandLine)
{
    // The start-up settings dialog when asked for on the command line (the game shows it
    // on its own rules too); PLAY fills the window parameters with the choices.
    if (strcmp(commandLine, "CONFIGURATION") == 0)
    {
        ResolutionSetup(2, 0, 2.42f, 2.2f, nullptr, false, true, true, false, false, nullptr, 0, 0);
        SetMainDeviceType(ENG_DEVICE_DX9);
        signed char settings = ResolutionDoDialog();
        if (settings < 1)
            return settings;
    }
    DebugInfo("InitCB");
    SetMainLoopMode(ENG_LOOP_CONSTANT_RATE);
    return 1;
}

signed char SampleProgram::PreCreateWindowCB(_EngCreateWindowParms *parms)
{
    DebugInfo("PreCreateWindowCB: %dx%d, windowed %d", parms->width, parms->height, parms->windowed);
    return 1;
}

signed char SampleProgram::PreDeviceInitCB()
{
    DebugInfo("PreDeviceInitCB");
    return 1;
}

signed char SampleProgram::PostDeviceInitCB()
{
    DebugInfo("PostDeviceInitCB: main loop starts");
    return 1;
}

void SampleProgram::AfterGraphicsObjectsCreatedCB()
{
    DebugInfo("AfterGraphicsObjectsCreatedCB: %dx%d", EngScreenSettings.width, EngScreenSettings.height);
}

bool SampleProgram::TickCB()
{
    // The frame rate over each five seconds, from the engine's own frame timing.
    double now = EngFrameTiming.currentTime;
    if (rateStart <= 0.0)
    {
        rateStart = now;
        nextRateTime = now + 5.0;
    }
    framesSinceRate++;
    if (now >= nextRateTime)
    {
        DebugInfo("Frame rate: %.2f frames a second over %.2f s", framesSinceRate / (now - rateStart),
                  now - rateStart);
        rateStart = now;
        nextRateTime = now + 5.0;
        framesSinceRate = 0;
    }
    return true;
}

bool SampleProgram::InputCB(int32_t event, int32_t a, int32_t b)
{
    if (event == ENG_INPUT_KEY_DOWN && a == ENG_VK_ESCAPE)
    {
        QuitMainLoop();
        return true;
    }
    return false;
}

void SampleProgram::PreDestroyDeviceCB()
{
    DebugInfo("PreDestroyDeviceCB");
}

void SampleProgram::ReleaseGraphicsObjectsCB()
{
    DebugInfo("ReleaseGraphicsObjectsCB");
}

void SampleProgram::PostDestroyDeviceCB()
{
    DebugInfo("PostDestroyDeviceCB");
}

void SampleProgram::ShutdownCB()
{
    DebugInfo("ShutdownCB");
}

// ---- The application table ------------------------------------------------------------------

static signed char SampleCreateAndInitMainProgram(void *instance, const char *commandLine, int *exitCode)
{
    // The per-user folder and the log in it come first: everything after reports there.
    PrefFolderSetup("Plinx", true, "LogFile.txt", false);
    DebugInfo("Plinx started [%s]", commandLine);
    EngWindowSetDefaultParms(&s_sample.windowParms);
    s_sample.program = new SampleProgram();
    return s_sample.program->InitForMain(instance, commandLine, exitCode);
}

static void SampleDeleteMainProgram()
{
    if (!s_sample.program)
        return;
    s_sample.program->Shutdown(true);
    delete s_sample.program;
    s_sample.program = nullptr;
}

static const char *SampleGetProgramTitle()
{
    return "Plinx!";
}

static const char *SampleGetWindowClassName()
{
    return "PlinxClass";
}

static _EngCreateWindowParms *SampleGetWindowSettings()
{
    return &s_sample.windowParms;
}

static const _EngMainApplication s_sampleApplication = {SampleCreateAndInitMainProgram, SampleDeleteMainProgram,
                                                        SampleGetProgramTitle, SampleGetWindowClassName,
                                                        SampleGetWindowSettings};

const _EngMainApplication *SampleApplication()
{
    return &s_sampleApplication;
}
