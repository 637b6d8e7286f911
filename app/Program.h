// The game's program object: the engine calls its operations at start-up, every frame,
// on input and at shut-down; it splits each frame between the menus (GUI on) and the
// game (GUI off), and plugs the rules, the play screen, the GUI and its screens, sound
// and the player into the engine.
#pragma once
#include "EngProgram.h"

class Program : public EngProgram
{
public:
    Program();
    ~Program() override;

    signed char InitCB(const char *commandLine) override;
    signed char PreCreateWindowCB(_EngCreateWindowParms *parms) override;
    signed char PreDeviceInitCB() override;
    signed char PostDeviceInitCB() override;
    bool CreateGraphicsObjectsCB() override;
    void ReleaseGraphicsObjectsCB() override;
    bool TickCB() override;
    void RenderCB() override;
    bool InputCB(int32_t event, int32_t a, int32_t b) override;
    void ModeChangedCB(int orientation) override;
    bool ActivationChangedCB(bool active) override;
    void AfterGraphicsObjectsCreatedCB() override;
    void PreDestroyDeviceCB() override;
    void ShutdownCB() override;
};
