// A small program on the engine that stands in for the game until the game's own
// program class exists: it opens the main window, runs the main loop (Escape or closing
// the window ends it) and logs its frame rate every five seconds.
#pragma once
#include "EngMain.h"
#include "EngProgram.h"

class SampleProgram : public EngProgram
{
public:
    SampleProgram();

    signed char InitCB(const char *commandLine) override;
    signed char PreCreateWindowCB(_EngCreateWindowParms *parms) override;
    signed char PreDeviceInitCB() override;
    signed char PostDeviceInitCB() override;
    bool TickCB() override;
    bool InputCB(int32_t event, int32_t a, int32_t b) override;
    void AfterGraphicsObjectsCreatedCB() override;
    void PreDestroyDeviceCB() override;
    void ReleaseGraphicsObjectsCB() override;
    void PostDestroyDeviceCB() override;
    void ShutdownCB() override;

private:
    double nextRateTime;
    double rateStart;
    int framesSinceRate;
};

// The sample as the application the engine's entry runs.
const _EngMainApplication *SampleApplication();
