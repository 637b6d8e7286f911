#include "TestkitProgram.h"

#include <cstdlib>

#include "EngMain.h"
#include "EngPrefFolder.h"
#include "EngWindow.h"
#include "Resolution.h"

namespace testkit
{

signed char RecordingProgram::InitCB(const char *commandLine)
{
    calls.push_back("InitCB");
    return initResult;
}

signed char RecordingProgram::PreCreateWindowCB(_EngCreateWindowParms *parms)
{
    calls.push_back("PreCreateWindowCB");
    return preCreateWindowResult;
}

signed char RecordingProgram::ReservedCB()
{
    calls.push_back("ReservedCB");
    return 1;
}

signed char RecordingProgram::PreDeviceInitCB()
{
    calls.push_back("PreDeviceInitCB");
    return preDeviceInitResult;
}

signed char RecordingProgram::PostDeviceInitCB()
{
    calls.push_back("PostDeviceInitCB");
    return postDeviceInitResult;
}

signed char RecordingProgram::PreCreateGraphicsObjectsCB()
{
    calls.push_back("PreCreateGraphicsObjectsCB");
    return preCreateGraphicsResult;
}

bool RecordingProgram::CreateGraphicsObjectsCB()
{
    calls.push_back("CreateGraphicsObjectsCB");
    return createGraphicsResult;
}

signed char RecordingProgram::PostCreateGraphicsObjectsCB()
{
    calls.push_back("PostCreateGraphicsObjectsCB");
    return postCreateGraphicsResult;
}

void RecordingProgram::PreReleaseGraphicsObjectsCB()
{
    calls.push_back("PreReleaseGraphicsObjectsCB");
}

void RecordingProgram::ReleaseGraphicsObjectsCB()
{
    calls.push_back("ReleaseGraphicsObjectsCB");
}

void RecordingProgram::PostReleaseGraphicsObjectsCB()
{
    calls.push_back("PostReleaseGraphicsObjectsCB");
}

bool RecordingProgram::TickCB()
{
    calls.push_back("TickCB");
    ticks++;
    if (onTick)
        onTick(*this, ticks);
    return true;
}

void RecordingProgram::RenderCB()
{
    calls.push_back("RenderCB");
    EngProgram::RenderCB();
}

bool RecordingProgram::InputCB(int32_t event, int32_t a, int32_t b)
{
    calls.push_back("InputCB");
    inputs.push_back({event, a, b});
    return false;
}

void RecordingProgram::ModeChangedCB(int orientation)
{
    calls.push_back("ModeChangedCB");
}

void RecordingProgram::SuspendResumeCB(int suspend)
{
    calls.push_back("SuspendResumeCB");
}

bool RecordingProgram::ActivationChangedCB(bool active)
{
    calls.push_back("ActivationChangedCB");
    return active;
}

void RecordingProgram::MinimisedChangedCB(int minimised)
{
    calls.push_back("MinimisedChangedCB");
}

void RecordingProgram::AfterGraphicsObjectsCreatedCB()
{
    calls.push_back("AfterGraphicsObjectsCreatedCB");
}

void RecordingProgram::PreDestroyDeviceCB()
{
    calls.push_back("PreDestroyDeviceCB");
}

void RecordingProgram::PostDestroyDeviceCB()
{
    calls.push_back("PostDestroyDeviceCB");
}

void RecordingProgram::ShutdownCB()
{
    calls.push_back("ShutdownCB");
}

std::vector<std::string> RecordingProgram::LifecycleCalls() const
{
    std::vector<std::string> result;
    for (const std::string &call : calls)
        if (call != "TickCB" && call != "RenderCB" && call != "InputCB" && call != "ActivationChangedCB")
            result.push_back(call);
    return result;
}

int RecordingProgram::CountOf(const std::string &name) const
{
    int count = 0;
    for (const std::string &call : calls)
        count += call == name ? 1 : 0;
    return count;
}

namespace
{
_EngCreateWindowParms s_testWindowParms = {};

signed char TestCreateAndInitMainProgram(void *instance, const char *commandLine, int *exitCode)
{
    *exitCode = 0;
    return 0;
}

void TestDeleteMainProgram()
{
}

const char *TestGetProgramTitle()
{
    return "Plinx!";
}

const char *TestGetWindowClassName()
{
    return "PlinxClass";
}

_EngCreateWindowParms *TestGetWindowSettings()
{
    return &s_testWindowParms;
}

const _EngMainApplication s_testApplication = {TestCreateAndInitMainProgram, TestDeleteMainProgram,
                                               TestGetProgramTitle, TestGetWindowClassName,
                                               TestGetWindowSettings};
} // namespace

const _EngMainApplication *TestApplication()
{
    return &s_testApplication;
}

_EngCreateWindowParms *TestApplicationWindowSettings()
{
    return &s_testWindowParms;
}

void ReadyForAnotherProgram()
{
    EngMainShutdownProgramLayer();
    EngMainShutdown();
    EngMainSetup();
}

void ProgramTest::SetUp()
{
    TempHomeTest::SetUp();
    // Windows of tests without the display label are made by SDL's display-less driver,
    // so that no window system adds events of its own.
    if (!UseDisplay())
        setenv("SDL_VIDEODRIVER", "dummy", 1);
    EngMainSetApplication(TestApplication());
}

void ProgramTest::TearDown()
{
    EngMainSetApplication(nullptr);
    EngMainShutdownProgramLayer();
    TempHomeTest::TearDown();
}

void WriteWindowedSettings(const std::string &home, bool showDialog)
{
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_DATA_HOME", (home + "/.local/share").c_str(), 1);
    PrefFolderSetup("Plinx", false, nullptr, false);
    ResolutionSetup(2, 0, 2.42f, 2.2f, nullptr, false, true, true, false, false, nullptr, 0, 0);
    ResolutionSetDefaults();
    ResolutionSettings *settings = ResolutionGetSettings();
    settings->showStartupWindow = showDialog ? 1 : 0;
    settings->windowed = 1;
    settings->windowedWidth = 640;
    settings->windowedHeight = 480;
    settings->internetTest[0] = RESOLUTION_INTERNET_TEST_PASSED;
    ResolutionSaveSettings();
    ResolutionShutdown();
    PrefFolderShutdown();
}

} // namespace testkit
