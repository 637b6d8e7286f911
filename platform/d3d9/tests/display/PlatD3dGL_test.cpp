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
