// The OpenGL executor (needs a display: run under Xvfb): an anti-aliased back buffer is
// resolved for reading back, and a slanted edge gets mixed pixels; a device on a window
// of its back buffer's size draws straight into the window, where destination alpha
// still reads as 1.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <vector>

#include "PlatD3dExecutor.h"
#include "PlatWin.h"

namespace
{

// First: SDL brought up again after a GL context was made in an earlier video session
// may settle on a driver that shows nothing, and this test needs the real display.
TEST(PlatD3dGLTest, AWindowOfTheBackBuffersSizeIsDrawnIntoDirectlyAndItsAlphaReadsAsOne)
{
    PlatWindowParms windowParms = {};
    windowParms.title = "Direct";
    windowParms.x = windowParms.y = -1;
    windowParms.width = 64;
    windowParms.height = 48;
    PlatWindow *window = PlatWinCreateWindow(&windowParms);
    ASSERT_NE(window, nullptr) << PlatWinGetErrorText();
    PlatD3dFakeDisplay display = {};
    display.adapterCount = 1;
    display.adapters[0].desktop = {1280, 1024, 60, PLAT_FMT_X8R8G8B8};
    display.adapters[0].modes[0] = display.adapters[0].desktop;
    display.adapters[0].modeCount = 1;
    PlatD3dSetFakeDisplay(&display);
    PlatD3d *d3d = PlatD3dCreate(PLAT_D3D_SDK_VERSION);
    ASSERT_NE(d3d, nullptr);
    PlatD3dPresentParameters parameters = {};
    parameters.backBufferWidth = 64;
    parameters.backBufferHeight = 48;
    parameters.backBufferFormat = PLAT_FMT_X8R8G8B8;
    parameters.windowed = 1;
    parameters.deviceWindow = window;
    parameters.enableAutoDepthStencil = 1;
    parameters.autoDepthStencilFormat = PLAT_FMT_D24X8;
    PlatD3dDevice *device = nullptr;
    ASSERT_EQ(PlatD3dCreateDevice(d3d, 0, PLAT_DEVTYPE_HAL, window, 0, &parameters, &device), PLAT_D3D_OK)
        << PlatD3dGetErrorText();
    EXPECT_NE(strstr(PlatD3dDeviceGetRendererText(device), "drawing into the window"), nullptr)
        << PlatD3dDeviceGetRendererText(device);

    // White taken by the destination's alpha over black: white only when that alpha is 1.
    PlatD3dDeviceBeginScene(device);
    PlatD3dDeviceClear(device, 0, nullptr, PLAT_CLEAR_TARGET | PLAT_CLEAR_ZBUFFER, 0x00000000u, 1.0f, 0);
    PlatD3dDeviceSetRenderState(device, PLAT_RS_LIGHTING, 0);
    PlatD3dDeviceSetRenderState(device, PLAT_RS_ALPHABLENDENABLE, 1);
    PlatD3dDeviceSetRenderState(device, PLAT_RS_SRCBLEND, PLAT_BLEND_DESTALPHA);
    PlatD3dDeviceSetRenderState(device, PLAT_RS_DESTBLEND, PLAT_BLEND_ZERO);
    struct Vertex
    {
        float x, y, z, rhw;
        uint32_t colour;
    } vertices[6] = {{0, 0, 0, 1, 0xFFFFFFFFu},  {64, 0, 0, 1, 0xFFFFFFFFu},  {0, 48, 0, 1, 0xFFFFFFFFu},
                     {64, 0, 0, 1, 0xFFFFFFFFu}, {64, 48, 0, 1, 0xFFFFFFFFu}, {0, 48, 0, 1, 0xFFFFFFFFu}};
    PlatD3dDeviceSetFVF(device, PLAT_FVF_XYZRHW | PLAT_FVF_DIFFUSE);
    ASSERT_EQ(PlatD3dDeviceDrawPrimitiveUP(device, PLAT_PT_TRIANGLELIST, 2, vertices, sizeof(Vertex)), PLAT_D3D_OK);
    PlatD3dDeviceEndScene(device);
    std::vector<uint32_t> pixels(64 * 48);
    ASSERT_EQ(PlatD3dDeviceReadBackBuffer(device, pixels.data(), 64, 48), PLAT_D3D_OK);
    EXPECT_EQ(pixels[24 * 64 + 32], 0xFFFFFFFFu);
    EXPECT_EQ(PlatD3dDevicePresent(device), PLAT_D3D_OK);
    EXPECT_EQ(PlatD3dDeviceRelease(device), 0u);
    PlatD3dRelease(d3d);
    PlatD3dSetFakeDisplay(nullptr);
    PlatWinDestroyWindow(window);
}

TEST(PlatD3dGLTest, AntiAliasedBackBufferResolvesForReadBack)
{
    PlatD3dFakeDisplay display = {};
    display.adapterCount = 1;
    display.adapters[0].desktop = {1280, 1024, 60, PLAT_FMT_X8R8G8B8};
    display.adapters[0].modes[0] = display.adapters[0].desktop;
    display.adapters[0].modeCount = 1;
    display.adapters[0].multiSampleTypes = 1u << 4;
    PlatD3dSetFakeDisplay(&display);
    PlatD3d *d3d = PlatD3dCreate(PLAT_D3D_SDK_VERSION);
    ASSERT_NE(d3d, nullptr);
    PlatD3dPresentParameters parameters = {};
    parameters.backBufferWidth = 32;
    parameters.backBufferHeight = 32;
    parameters.backBufferFormat = PLAT_FMT_X8R8G8B8;
    parameters.windowed = 1;
    parameters.multiSampleType = 4;
    parameters.enableAutoDepthStencil = 1;
    parameters.autoDepthStencilFormat = PLAT_FMT_D24X8;
    PlatD3dDevice *device = nullptr;
    ASSERT_EQ(PlatD3dCreateDevice(d3d, 0, PLAT_DEVTYPE_HAL, nullptr, 0, &parameters, &device), PLAT_D3D_OK)
        << PlatD3dGetErrorText();

    PlatD3dDeviceBeginScene(device);
    PlatD3dDeviceClear(device, 0, nullptr, PLAT_CLEAR_TARGET | PLAT_CLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
    PlatD3dDeviceSetRenderState(device, PLAT_RS_LIGHTING, 0);
    // A white triangle over the lower left half, in pixels.
    struct Vertex
    {
        float x, y, z, rhw;
        uint32_t colour;
    } vertices[3] = {{0, 0, 0, 1, 0xFFFFFFFFu}, {32, 32, 0, 1, 0xFFFFFFFFu}, {0, 32, 0, 1, 0xFFFFFFFFu}};
    PlatD3dDeviceSetFVF(device, PLAT_FVF_XYZRHW | PLAT_FVF_DIFFUSE);
    ASSERT_EQ(PlatD3dDeviceDrawPrimitiveUP(device, PLAT_PT_TRIANGLELIST, 1, vertices, sizeof(Vertex)), PLAT_D3D_OK);
    PlatD3dDeviceEndScene(device);
    EXPECT_EQ(PlatD3dDevicePresent(device), PLAT_D3D_OK);

    std::vector<uint32_t> pixels(32 * 32);
    ASSERT_EQ(PlatD3dDeviceReadBackBuffer(device, pixels.data(), 32, 32), PLAT_D3D_OK);
    EXPECT_EQ(pixels[2 * 32 + 28], 0xFF000000u);
    EXPECT_EQ(pixels[28 * 32 + 2], 0xFFFFFFFFu);
    std::set<uint32_t> edge;
    for (int i = 0; i < 32; i++)
        edge.insert(pixels[i * 32 + i]);
    bool mixed = false;
    for (uint32_t pixel : edge)
        mixed = mixed || (pixel != 0xFF000000u && pixel != 0xFFFFFFFFu);
    EXPECT_TRUE(mixed);
    EXPECT_EQ(PlatD3dDeviceRelease(device), 0u);
    PlatD3dRelease(d3d);
    PlatD3dSetFakeDisplay(nullptr);
}

} // namespace

// ---- Frames drawn again only where they changed -------------------------------------------

namespace damage
{

struct Vertex
{
    float x, y, z, rhw;
    uint32_t colour;
};

void Quad(std::vector<Vertex> *out, float x, float y, float w, float h, uint32_t top, uint32_t bottom)
{
    Vertex v[6] = {{x, y, 0, 1, top},     {x + w, y, 0, 1, top},        {x, y + h, 0, 1, bottom},
                   {x + w, y, 0, 1, top}, {x + w, y + h, 0, 1, bottom}, {x, y + h, 0, 1, bottom}};
    out->insert(out->end(), v, v + 6);
}

void DrawList(PlatD3dDevice *device, const std::vector<Vertex> &vertices)
{
    ASSERT_EQ(PlatD3dDeviceDrawPrimitiveUP(device, PLAT_PT_TRIANGLELIST, (uint32_t)vertices.size() / 3,
                                           vertices.data(), sizeof(Vertex)),
              PLAT_D3D_OK);
}

// A menu in small: a shaded background, sparkles that drift each frame (one list), a
// translucent panel over their path, one of the frames with a scissored draw; each
// frame read back after it was shown.
std::vector<std::vector<uint32_t>> DrawFrames(bool whole, PlatD3dDamageStats *stats)
{
    const int width = 160, height = 120;
    if (whole)
        setenv("PLINX_DRAW_WHOLE_FRAMES", "1", 1);
    else
        unsetenv("PLINX_DRAW_WHOLE_FRAMES");
    std::vector<std::vector<uint32_t>> frames;
    PlatWindowParms windowParms = {};
    windowParms.title = "Damage";
    windowParms.x = windowParms.y = -1;
    windowParms.width = width;
    windowParms.height = height;
    PlatWindow *window = PlatWinCreateWindow(&windowParms);
    EXPECT_NE(window, nullptr) << PlatWinGetErrorText();
    PlatD3dFakeDisplay display = {};
    display.adapterCount = 1;
    display.adapters[0].desktop = {1280, 1024, 60, PLAT_FMT_X8R8G8B8};
    display.adapters[0].modes[0] = display.adapters[0].desktop;
    display.adapters[0].modeCount = 1;
    PlatD3dSetFakeDisplay(&display);
    PlatD3d *d3d = PlatD3dCreate(PLAT_D3D_SDK_VERSION);
    PlatD3dPresentParameters parameters = {};
    parameters.backBufferWidth = width;
    parameters.backBufferHeight = height;
    parameters.backBufferFormat = PLAT_FMT_X8R8G8B8;
    parameters.windowed = 1;
    parameters.deviceWindow = window;
    parameters.enableAutoDepthStencil = 1;
    parameters.autoDepthStencilFormat = PLAT_FMT_D24X8;
    PlatD3dDevice *device = nullptr;
    EXPECT_EQ(PlatD3dCreateDevice(d3d, 0, PLAT_DEVTYPE_HAL, window, 0, &parameters, &device), PLAT_D3D_OK)
        << PlatD3dGetErrorText();
    for (int frame = 0; device && frame < 8; frame++)
    {
        PlatD3dDeviceBeginScene(device);
        PlatD3dDeviceClear(device, 0, nullptr, PLAT_CLEAR_TARGET | PLAT_CLEAR_ZBUFFER, 0xFF101010u, 1.0f, 0);
        PlatD3dDeviceSetRenderState(device, PLAT_RS_LIGHTING, 0);
        PlatD3dDeviceSetRenderState(device, PLAT_RS_ZENABLE, 0);
        PlatD3dDeviceSetRenderState(device, PLAT_RS_ALPHABLENDENABLE, 1);
        PlatD3dDeviceSetRenderState(device, PLAT_RS_SRCBLEND, PLAT_BLEND_SRCALPHA);
        PlatD3dDeviceSetRenderState(device, PLAT_RS_DESTBLEND, PLAT_BLEND_INVSRCALPHA);
        PlatD3dDeviceSetFVF(device, PLAT_FVF_XYZRHW | PLAT_FVF_DIFFUSE);
        std::vector<Vertex> background, sparkles, panel, corner;
        Quad(&background, 0, 0, width, height, 0xFF203080u, 0xFF802030u);
        DrawList(device, background);
        // Frames 3 and 4 show the same picture; the others move the sparkles.
        float step = (float)(frame == 4 ? 3 : frame);
        Quad(&sparkles, 10 + 7 * step, 20 + 3 * step, 9, 9, 0xC0FFFF80u, 0x80FFFFFFu);
        Quad(&sparkles, 120 - 5 * step, 90 - 2 * step, 11.5f, 7.5f, 0x9080FFFFu, 0xE0FFFFFFu);
        Quad(&sparkles, 140, 10, 6, 6, 0xFFFFFFFFu, 0xFFFFFFFFu);
        DrawList(device, sparkles);
        Quad(&panel, 30, 30, 90, 50, 0x80000000u, 0xA0404040u);
        DrawList(device, panel);
        if (frame == 6)
        {
            PlatD3dRect clip = {0, 0, 40, 40};
            PlatD3dDeviceSetScissorRect(device, &clip);
            PlatD3dDeviceSetRenderState(device, PLAT_RS_SCISSORTESTENABLE, 1);
        }
        Quad(&corner, 20 + step, 25, 30, 30, 0x6000FF00u, 0x6000FF00u);
        DrawList(device, corner);
        PlatD3dDeviceSetRenderState(device, PLAT_RS_SCISSORTESTENABLE, 0);
        PlatD3dDeviceEndScene(device);
        EXPECT_EQ(PlatD3dDevicePresent(device), PLAT_D3D_OK);
        std::vector<uint32_t> pixels((size_t)width * height);
        EXPECT_EQ(PlatD3dDeviceReadBackBuffer(device, pixels.data(), width, height), PLAT_D3D_OK);
        frames.push_back(pixels);
    }
    *stats = {};
    if (device)
    {
        PlatD3dDeviceGetDamageStats(device, stats);
        PlatD3dDeviceRelease(device);
    }
    PlatD3dRelease(d3d);
    PlatD3dSetFakeDisplay(nullptr);
    PlatWinDestroyWindow(window);
    unsetenv("PLINX_DRAW_WHOLE_FRAMES");
    return frames;
}

} // namespace damage

TEST(PlatD3dGLTest, FramesDrawnOnlyWhereTheyChangedMatchFramesDrawnWhole)
{
    PlatD3dDamageStats wholeStats, damageStats;
    std::vector<std::vector<uint32_t>> whole = damage::DrawFrames(true, &wholeStats);
    std::vector<std::vector<uint32_t>> partial = damage::DrawFrames(false, &damageStats);
    if (damageStats.wholeFrames == 0)
        GTEST_SKIP() << "this renderer's window does not keep its pixels";
    ASSERT_EQ(whole.size(), partial.size());
    for (size_t frame = 0; frame < whole.size(); frame++)
    {
        int wrong = 0;
        for (size_t i = 0; i < whole[frame].size(); i++)
            if (whole[frame][i] != partial[frame][i] && wrong++ < 3)
                ADD_FAILURE() << "frame " << frame << " pixel " << i % 160 << "," << i / 160 << ": "
                              << std::hex << partial[frame][i] << " not " << whole[frame][i];
        EXPECT_EQ(wrong, 0) << "frame " << frame;
    }
    // The first two frames whole (the device's first states arrive with the first), the
    // repeated one not drawn, the other moves in their areas; the frames with and after
    // the scissor differ from the one before in their calls, so they are whole.
    EXPECT_EQ(damageStats.unchangedFrames, 1u);
    EXPECT_EQ(damageStats.partialFrames, 3u);
    EXPECT_EQ(damageStats.wholeFrames, 4u);
    EXPECT_LT(damageStats.lastPixels, 160u * 120u / 2u);
}
