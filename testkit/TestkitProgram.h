// A program object that records every callback the engine makes, with start-up step
// results a test can set, and a fixture that gives each test a fresh program.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "EngMain.h"
#include "EngProgram.h"
#include "Testkit.h"

namespace testkit
{

struct InputEvent
{
    int32_t event, a, b;
    bool operator==(const InputEvent &other) const
    {
        return event == other.event && a == other.a && b == other.b;
    }
};

class RecordingProgram : public EngProgram
{
public:
    // Callback names in the order the engine made them.
    std::vector<std::string> calls;
    std::vector<InputEvent> inputs;
    // Results of the start-up steps.
    signed char initResult = 1, preCreateWindowResult = 1, preDeviceInitResult = 1, postDeviceInitResult = 1;
    signed char preCreateGraphicsResult = 1, postCreateGraphicsResult = 1;
    bool createGraphicsResult = true;
    // Run at every TickCB with the number of ticks so far (1 for the first).
    std::function<void(RecordingProgram &, int)> onTick;
    int ticks = 0;

    signed char InitCB(const char *commandLine) override;
    signed char PreCreateWindowCB(_EngCreateWindowParms *parms) override;
    signed char ReservedCB() override;
    signed char PreDeviceInitCB() override;
    signed char PostDeviceInitCB() override;
    signed char PreCreateGraphicsObjectsCB() override;
    bool CreateGraphicsObjectsCB() override;
    signed char PostCreateGraphicsObjectsCB() override;
    void PreReleaseGraphicsObjectsCB() override;
    void ReleaseGraphicsObjectsCB() override;
    void PostReleaseGraphicsObjectsCB() override;
    bool TickCB() override;
    void RenderCB() override;
    bool InputCB(int32_t event, int32_t a, int32_t b) override;
    void ModeChangedCB(int orientation) override;
    void SuspendResumeCB(int suspend) override;
    bool ActivationChangedCB(bool active) override;
    void MinimisedChangedCB(int minimised) override;
    void AfterGraphicsObjectsCreatedCB() override;
    void PreDestroyDeviceCB() override;
    void PostDestroyDeviceCB() override;
    void ShutdownCB() override;

    // The calls without the per-frame and event-driven ones (TickCB, RenderCB, InputCB,
    // ActivationChangedCB), which depend on timing and the window system.
    std::vector<std::string> LifecycleCalls() const;
    int CountOf(const std::string &name) const;
};

// An application table for tests that reach the engine's reads of the application
// (title "Plinx!", class "PlinxClass", window settings of its own) without running the
// entry; its program operations make no program (a quiet end).
const _EngMainApplication *TestApplication();
// The window settings of TestApplication.
_EngCreateWindowParms *TestApplicationWindowSettings();

// Makes the process ready for another program object within one test: the core shut
// down and set up again (main thread, pending signal, frame timing) and the device type
// unset.
void ReadyForAnotherProgram();

// A temporary home and log (TempHomeTest), TestApplication set as the application, and a process ready for a new program
// object; windows are made by SDL's display-less driver unless UseDisplay says so.
class ProgramTest : public TempHomeTest
{
protected:
    virtual bool UseDisplay() const { return false; }
    void SetUp() override;
    void TearDown() override;
};

// Writes a start-up settings file of this version for a 640 x 480 window with the
// internet test done into the per-user folder under `home` (HOME and XDG_DATA_HOME point
// there afterwards); with `showDialog` false the game starts without its start-up dialog.
void WriteWindowedSettings(const std::string &home, bool showDialog);

} // namespace testkit
