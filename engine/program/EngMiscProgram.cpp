// The program-control services of EngMisc: what a popup must close first, quitting,
// drawing a frame outside the main loop and ending the program at once.
#include "EngMisc.h"

#include <cstdlib>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngMain.h"
#include "EngProgram.h"
#include "EngWindow.h"

bool EngMiscPrepareForPopup()
{
    if (EngMainDevice && EngMainDevice->IsCreated())
    {
        // A box cannot show over a live (possibly full-screen) device: close it first.
        DebugError("EngMiscShowPopupMessage", "POPUP: No device <%s> <%s>", EngMiscGetPopupTitle(),
                   EngMiscGetPopupText());
        if (!EngMiscExitProgramNow(true))
            return false;
    }
    return true;
}

void EngMiscQuitMainLoop()
{
    if (eng_main_program)
        eng_main_program->SetQuitFlag();
}

void EngMiscRenderFrameNow(bool render, bool refreshTiming, bool noPresent)
{
    if (render && eng_main_program)
    {
        eng_main_program->RenderCB();
        if (EngWindow *window = eng_main_program->GetMainWindow())
            window->DrawTextureCursor_PC();
        if (!noPresent && EngMainDevice)
            EngMainDevice->SwapBuffers();
    }
    if (refreshTiming && eng_main_program)
        eng_main_program->UpdateFrameTimingFromClock();
}

bool EngMiscExitProgramNow(bool soft)
{
    if (EngMainDevice)
    {
        EngWindow *window = eng_main_program ? eng_main_program->GetMainWindow() : nullptr;
        if (window)
        {
            window->Destroy();
            DebugInfo("Exiting main program.");
        }
        else
            DebugError(ENG_FUNC, "Device created but no window created");
    }
    else
        DebugInfo("Exiting main program.");
    if (eng_main_program)
        eng_main_program->Shutdown(true);
    if (!soft)
    {
        // Let the window system finish with the closed window, then end.
        double end = EngMainGetTime() + 4.0;
        while (EngMainGetTime() < end)
        {
            if (!EngMiscProcessOneMessage_PC())
                break;
            EngMiscSleepSeconds(0.01);
        }
        exit(0);
    }
    return !(EngMainDevice && !EngScreenSettings.windowed);
}
