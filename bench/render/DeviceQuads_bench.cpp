// The device's cost per frame of 2,000 textured quads (each repositioned, as moving
// sprites are), through the recording executor (the engine and device layers alone) and
// through OpenGL on an off-screen back buffer (waiting for the frame to finish). The
// counter "quads_per_s" is the drawing rate; frames of 1/60 s hold 2,000 quads when it
// is above 120,000.
#include <benchmark/benchmark.h>

#include <vector>

#include "EngDevice.h"
#include "EngDeviceDX9.h"
#include "EngGlobals.h"
#include "EngVertexBufferDX9.h"
#include "PlatD3dExecutor.h"

namespace
{
const int QUADS = 2000;

void DrawQuads(benchmark::State &state, bool useGL)
{
    EngDeviceSetMainType(ENG_DEVICE_DX9);
    if (!useGL)
    {
        PlatD3dSetExecutorFactory(PlatD3dRecorderFactory);
    }
    EngDeviceDX9AllowNoWindow(true);
    EngScreenSettings.windowed = 1;
    EngScreenSettings.width = 640;
    EngScreenSettings.height = 480;
    EngScreenSettings.scaleToScreenX = EngScreenSettings.scaleToScreenY = 1.0f;
    EngDevice device(nullptr);
    if (!device.Create(true, 640, 480, 32, 60))
    {
        state.SkipWithError("no device");
        PlatD3dSetExecutorFactory(nullptr);
        EngDeviceSetMainType(ENG_DEVICE_NONE);
        return;
    }
    PlatD3dRecorder *recorder = PlatD3dLastRecorder();
    if (recorder)
        recorder->keepVertices = false;
    PlatD3dDevice *d3dDevice = EngDeviceDX9GetD3dDevice();
    PlatD3dTexture *texture = nullptr;
    PlatD3dxCreateTexture(d3dDevice, 64, 64, 1, 0, PLAT_FMT_A8R8G8B8, PLAT_POOL_MANAGED, &texture);
    std::vector<EngVertexBufferDX9> quads(QUADS);
    for (EngVertexBufferDX9 &quad : quads)
    {
        quad.Create(EVBT_POS_TEX_2D, nullptr);
        quad.SetDxTexture(texture);
    }
    PlatD3dQuery *query = nullptr;
    PlatD3dDeviceCreateQuery(d3dDevice, PLAT_QUERYTYPE_EVENT, &query);
    int frame = 0;
    for (auto _ : state)
    {
        device.BeginRendering();
        device.ClearScreenAndZBuffer();
        device.PrepareFor2D(true);
        device.EnableBlendingType(0);
        for (int i = 0; i < QUADS; i++)
        {
            float x = (float)((i * 37 + frame) % 600), y = (float)((i * 13 + frame) % 440);
            quads[i].SetPositions(x, y, 32, 32);
            quads[i].Draw();
        }
        device.DisableBlending();
        device.RestoreAfter2D();
        device.EndRendering();
        device.SwapBuffers();
        PlatD3dQueryIssue(query, PLAT_ISSUE_END);
        while (PlatD3dQueryGetData(query, nullptr, 0, PLAT_GETDATA_FLUSH) == PLAT_D3D_FALSE)
        {
        }
        if (recorder)
            recorder->Clear();
        frame++;
    }
    state.counters["quads_per_s"] = benchmark::Counter((double)QUADS * state.iterations(), benchmark::Counter::kIsRate);
    PlatD3dQueryRelease(query);
    quads.clear();
    PlatD3dTextureRelease(texture);
    device.Destroy();
    PlatD3dSetExecutorFactory(nullptr);
    EngDeviceDX9AllowNoWindow(false);
}

void BM_QuadsRecorder(benchmark::State &state)
{
    DrawQuads(state, false);
}

void BM_QuadsOpenGL(benchmark::State &state)
{
    DrawQuads(state, true);
}
} // namespace

BENCHMARK(BM_QuadsRecorder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuadsOpenGL)->Unit(benchmark::kMillisecond)->UseRealTime();
