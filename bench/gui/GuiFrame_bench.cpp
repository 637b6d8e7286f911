// One GUI frame of a screen with 40 push buttons (a window of 4 x 10, labels in the
// game's font, the mouse moving over them): MWin::Tick, a mouse move and
// MWin::RenderMain through the recording executor, so the figure is the toolkit's and
// the engine's own cost per frame. The target is under 0.2 ms a frame.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "EngDevice.h"
#include "EngDeviceDX9.h"
#include "EngFont.h"
#include "EngGlobals.h"
#include "MWin.h"
#include "PlatD3dExecutor.h"

namespace
{
void GuiFrame(benchmark::State &state)
{
    EngDeviceSetMainType(ENG_DEVICE_DX9);
    PlatD3dSetExecutorFactory(PlatD3dRecorderFactory);
    EngDeviceDX9AllowNoWindow(true);
    EngScreenSettings.windowed = 1;
    EngScreenSettings.width = 640;
    EngScreenSettings.height = 480;
    EngScreenSettings.scaleToScreenX = EngScreenSettings.scaleToScreenY = 1.0f;
    EngScreenSettings.widthCorrection = EngScreenSettings.heightCorrection = 1.0f;
    {
        EngDevice device(nullptr);
        if (!device.Create(true, 640, 480, 32, 60))
        {
            state.SkipWithError("no device");
        }
        else
        {
            PlatD3dRecorder *recorder = PlatD3dLastRecorder();
            if (recorder)
                recorder->keepVertices = false;
            EngFont font;
            const float px = 72.0f / 150.0f;
            std::string fontFile = std::string(PLINX_DATA_DIR) + "/VeraBd.ttf";
            font.CreateFromFontFile(fontFile.c_str(), 0, 0, 20, 32, 255, nullptr, 0, px, px, 8, 14.4f, 0, 0, 0, 0, 1);
            MWin *mwin = new MWin(nullptr);
            mwin->GetFonts()->AddUserFontPointer("Main", &font);
            std::string sheet = std::string(PLINX_DATA_DIR) + "/PlinxButtons.tga";
            MWinTextures *tex = mwin->GetTextures();
            tex->AddTexture("Buttons", sheet.c_str(), 1, 2);
            tex->AddStandardTextureButton(MWIN_STD_WIN_BACK, "StdWinBack", "Buttons", 0, 0, 0.25f, 0.25f, "", 0, 0,
                                          0, 0, "", 0, 0, 0, 0, "", 0, 0, 0, 0);
            tex->SetTexButDrawStyle("StdWinBack", 2, 0.14f, 24, 2, 0.14f, 18);
            tex->AddStandardTextureButton(MWIN_STD_PUSH_BUTTON, "StdPushButton", "Buttons", 0, 0.511f, 0.25f, 0.748f,
                                          "Buttons", 0.25f, 0.511f, 0.5f, 0.748f, "Buttons", 0.5f, 0.511f, 0.75f,
                                          0.748f, "Buttons", 0.75f, 0.511f, 1.0f, 0.748f);
            tex->SetTexButDrawStyle("StdPushButton", 2, 0.11f, 12, 1, 0, 16);
            mwin->Startup();
            MWinCollection *collection = mwin->GetDesktop()->AddCollection("Bench");
            _MWinWindowCreateInfo info = {};
            info.x = 10;
            info.y = 10;
            info.w = 620;
            info.h = 460;
            strcpy(info.font, "Main");
            MWinWindow *window = collection->AddWindow("MainWin", &info);
            auto fire = [](MWin *, _MWinButtonCallbackInfo *, int, int) {};
            for (int i = 0; i < 40; i++)
            {
                char id[16];
                snprintf(id, sizeof id, "B%d", i);
                MWinButton *button = window->AddButton(id, MWIN_BUTTON_PUSH, "", id, 10.0f + 150.0f * (i % 4),
                                                       10.0f + 44.0f * (i / 4), 140, 38, fire, i, 0);
                button->SetFont("Main");
            }
            mwin->CreateGraphicsObjects();
            int frame = 0;
            for (auto _ : state)
            {
                mwin->Tick();
                mwin->HandleMouseMoveDesign(20.0f + (float)(frame * 7 % 600), 20.0f + (float)(frame * 3 % 440));
                device.BeginRendering();
                mwin->RenderMain();
                device.EndRendering();
                if (recorder)
                    recorder->Clear();
                frame++;
            }
            delete mwin;
            font.Destroy();
        }
    }
    PlatD3dSetExecutorFactory(nullptr);
    EngDeviceDX9AllowNoWindow(false);
    EngDeviceSetMainType(ENG_DEVICE_NONE);
}
} // namespace

BENCHMARK(GuiFrame)->Unit(benchmark::kMicrosecond);
