// The GUI's view of the program: its window, clock, redraws and fade frames, handed to
// the toolkit as its host table at start-up (the GUI sits below the program and cannot
// call it by name).
#include "Game.h"
#include "GameStill.h"

#include "EngDevice.h"
#include "EngGlobals.h"
#include "EngMain.h"
#include "EngProgram.h"
#include "EngWindow.h"
#include "MWin.h"

namespace
{

EngWindow *MainWindow()
{
    return eng_main_program ? eng_main_program->GetMainWindow() : nullptr;
}

void RequestRedrawCB()
{
    GameStillNoteActivity();
    if (eng_main_program)
        eng_main_program->RequestRedraw();
}

bool IsProgramRunningCB()
{
    return eng_main_program && MainWindow() && !eng_main_program->IsQuitting();
}

bool GetMouseDesignPosCB(float *x, float *y)
{
    EngWindow *window = MainWindow();
    if (!window || window->IsMouseOutside())
        return false;
    int screenX = 0, screenY = 0;
    window->GetMouseCursorPos(&screenX, &screenY);
    return EngMainConvertScreenPosToDesignPos((float)screenX, (float)screenY, x, y);
}

bool ConvertScreenToDesignCB(float x, float y, float *outX, float *outY)
{
    return EngMainConvertScreenPosToDesignPos(x, y, outX, outY);
}

void SetMouseCursorVirtualCB(float x, float y)
{
    if (EngWindow *window = MainWindow())
        window->SetMouseCursorPosVirtual(x, y);
}

bool TakeLeftReleasedReportCB()
{
    EngWindow *window = MainWindow();
    return window && window->TakeLeftReleasedOutside();
}

// A whole frame of its own, outside the main loop: the program's picture, the texture
// cursor, the black veil, then the present.
void DrawFadeFrameCB(float blackAlpha)
{
    EngDevice *device = EngMainDevice;
    if (!eng_main_program || !device)
        return;
    eng_main_program->RenderCB();
    if (EngWindow *window = MainWindow())
        window->DrawTextureCursor_PC();
    if (device->BeginRendering())
    {
        const bool prepared = device->PrepareFor2DIfNotPrepared(true);
        EngDimScreen(blackAlpha);
        if (prepared)
            device->RestoreAfter2D();
        device->EndRendering();
    }
    device->SwapBuffers();
}

double GetTimeCB()
{
    return EngMainGetTime();
}

float GetFrameRateCB()
{
    return EngFrameTiming.frameRate;
}

const _MWinHost kGuiHost = {RequestRedrawCB,        IsProgramRunningCB,       GetMouseDesignPosCB,
                            ConvertScreenToDesignCB, SetMouseCursorVirtualCB, TakeLeftReleasedReportCB,
                            DrawFadeFrameCB,         GetTimeCB,               GetFrameRateCB};

} // namespace

void GameRegisterGuiHost()
{
    MWinSetHost(&kGuiHost);
}

void GameUnregisterGuiHost()
{
    MWinSetHost(nullptr);
}
