// The device stand-in through the recorder and a fake display: references held by live
// resources, simulated loss, the back buffer's limits and the display snapshot.
#include <gtest/gtest.h>

#include <cstring>

#include "PlatD3dExecutor.h"

namespace
{

PlatD3dFakeDisplay OneAdapter()
{
    PlatD3dFakeDisplay display = {};
    display.adapterCount = 1;
    PlatD3dFakeAdapter &adapter = display.adapters[0];
    strcpy(adapter.description, "Fake adapter");
    adapter.desktop = {1280, 1024, 60, PLAT_FMT_X8R8G8B8};
    adapter.modes[adapter.modeCount++] = {640, 480, 60, PLAT_FMT_X8R8G8B8};
    adapter.modes[adapter.modeCount++] = {1280, 1024, 60, PLAT_FMT_X8R8G8B8};
    adapter.modes[adapter.modeCount++] = {800, 600, 60, PLAT_FMT_R5G6B5};
    adapter.multiSampleTypes = 1u << 4;
    return display;
}

class PlatD3dDeviceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        PlatD3dFakeDisplay display = OneAdapter();
        PlatD3dSetFakeDisplay(&display);
        PlatD3dSetExecutorFactory(PlatD3dRecorderFactory);
        d3d = PlatD3dCreate(PLAT_D3D_SDK_VERSION);
        ASSERT_NE(d3d, nullptr);
    }
    void TearDown() override
    {
        PlatD3dRelease(d3d);
        PlatD3dSetExecutorFactory(nullptr);
        PlatD3dSetFakeDisplay(nullptr);
        PlatD3dSimulateDeviceLoss(false);
    }
    PlatD3dDevice *MakeDevice(uint32_t width = 320, uint32_t height = 240)
    {
        PlatD3dPresentParameters parameters = {};
        parameters.backBufferWidth = width;
        parameters.backBufferHeight = height;
        parameters.backBufferFormat = PLAT_FMT_X8R8G8B8;
        parameters.windowed = 1;
        parameters.enableAutoDepthStencil = 1;
        parameters.autoDepthStencilFormat = PLAT_FMT_D24X8;
        PlatD3dDevice *device = nullptr;
        EXPECT_EQ(PlatD3dCreateDevice(d3d, 0, PLAT_DEVTYPE_HAL, nullptr, 0, &parameters, &device), PLAT_D3D_OK);
        return device;
    }
    PlatD3d *d3d = nullptr;
};

TEST_F(PlatD3dDeviceTest, DisplaySnapshotListsModesByFormat)
{
    EXPECT_EQ(PlatD3dGetAdapterCount(d3d), 1u);
    EXPECT_EQ(PlatD3dGetAdapterModeCount(d3d, 0, PLAT_FMT_X8R8G8B8), 2u);
    EXPECT_EQ(PlatD3dGetAdapterModeCount(d3d, 0, PLAT_FMT_R5G6B5), 1u);
    PlatD3dDisplayMode mode;
    ASSERT_EQ(PlatD3dEnumAdapterModes(d3d, 0, PLAT_FMT_X8R8G8B8, 1, &mode), PLAT_D3D_OK);
    EXPECT_EQ(mode.width, 1280u);
    EXPECT_NE(PlatD3dEnumAdapterModes(d3d, 0, PLAT_FMT_X8R8G8B8, 2, &mode), PLAT_D3D_OK);
    uint32_t levels = 9;
    EXPECT_EQ(PlatD3dCheckDeviceMultiSampleType(d3d, 0, PLAT_DEVTYPE_HAL, PLAT_FMT_X8R8G8B8, true, 4, &levels),
              PLAT_D3D_OK);
    EXPECT_EQ(levels, 1u);
    EXPECT_EQ(PlatD3dCheckDeviceMultiSampleType(d3d, 0, PLAT_DEVTYPE_HAL, PLAT_FMT_X8R8G8B8, true, 2, &levels),
              PLAT_D3DERR_NOTAVAILABLE);
    PlatD3dCaps caps;
    EXPECT_EQ(PlatD3dGetDeviceCaps(d3d, 0, PLAT_DEVTYPE_REF, &caps), PLAT_D3DERR_NOTAVAILABLE);
}

TEST_F(PlatD3dDeviceTest, FullScreenNeedsAModeAndMultisampleMustBeOffered)
{
    PlatD3dPresentParameters parameters = {};
    parameters.backBufferWidth = 1024;
    parameters.backBufferHeight = 768;
    parameters.windowed = 0;
    PlatD3dDevice *device = nullptr;
    EXPECT_EQ(PlatD3dCreateDevice(d3d, 0, PLAT_DEVTYPE_HAL, nullptr, 0, &parameters, &device),
              PLAT_D3DERR_INVALIDCALL);
    parameters.windowed = 1;
    parameters.multiSampleType = 2;
    EXPECT_EQ(PlatD3dCreateDevice(d3d, 0, PLAT_DEVTYPE_HAL, nullptr, 0, &parameters, &device),
              PLAT_D3DERR_INVALIDCALL);
    EXPECT_EQ(device, nullptr);
}

TEST_F(PlatD3dDeviceTest, LiveResourcesKeepReferencesAndTheDevice)
{
    PlatD3dDevice *device = MakeDevice();
    PlatD3dTexture *texture = nullptr;
    ASSERT_EQ(PlatD3dxCreateTexture(device, 8, 8, 1, 0, PLAT_FMT_A8R8G8B8, PLAT_POOL_MANAGED, &texture),
              PLAT_D3D_OK);
    PlatD3dVertexBuffer *buffer = nullptr;
    ASSERT_EQ(PlatD3dDeviceCreateVertexBuffer(device, 80, PLAT_USAGE_WRITEONLY, PLAT_FVF_XYZ | PLAT_FVF_TEX1,
                                              PLAT_POOL_MANAGED, &buffer),
              PLAT_D3D_OK);
    PlatD3dVertexBufferRelease(buffer);
    PlatD3dDeviceSetTexture(device, 0, texture);
    // The device is released with the texture alive: one reference is left, and the
    // texture stays usable until it goes too.
    EXPECT_EQ(PlatD3dDeviceRelease(device), 1u);
    PlatD3dLockedRect locked;
    EXPECT_EQ(PlatD3dTextureLockRect(texture, 0, &locked, nullptr, 0), PLAT_D3D_OK);
    EXPECT_EQ(PlatD3dTextureUnlockRect(texture, 0), PLAT_D3D_OK);
    EXPECT_EQ(PlatD3dTextureRelease(texture), 0u);
}

TEST_F(PlatD3dDeviceTest, SimulatedLossReportsLostThenRestorable)
{
    PlatD3dDevice *device = MakeDevice();
    EXPECT_EQ(PlatD3dDevicePresent(device), PLAT_D3D_OK);
    PlatD3dSimulateDeviceLoss(true);
    EXPECT_EQ(PlatD3dDevicePresent(device), PLAT_D3DERR_DEVICELOST);
    EXPECT_EQ(PlatD3dDeviceTestCooperativeLevel(device), PLAT_D3DERR_DEVICELOST);
    PlatD3dSimulateDeviceLoss(false);
    EXPECT_EQ(PlatD3dDeviceTestCooperativeLevel(device), PLAT_D3DERR_DEVICENOTRESET);
    EXPECT_EQ(PlatD3dDevicePresent(device), PLAT_D3DERR_DEVICELOST);
    EXPECT_EQ(PlatD3dDeviceRelease(device), 0u);
}

TEST_F(PlatD3dDeviceTest, ChecksKeepCallsInsideTheBuffers)
{
    PlatD3dDevice *device = MakeDevice(320, 240);
    struct Case
    {
        PlatD3dViewport viewport;
        PlatResult result;
    } cases[] = {
        {{0, 0, 320, 240, 0, 1}, PLAT_D3D_OK},
        {{160, 120, 160, 120, 0, 1}, PLAT_D3D_OK},
        {{160, 120, 161, 120, 0, 1}, PLAT_D3DERR_INVALIDCALL},
        {{0, 0, 0, 10, 0, 1}, PLAT_D3DERR_INVALIDCALL},
        {{0, 0, 10, 10, 0.5f, 0.25f}, PLAT_D3DERR_INVALIDCALL},
    };
    for (const Case &c : cases)
    {
        SCOPED_TRACE(c.viewport.width);
        EXPECT_EQ(PlatD3dDeviceSetViewport(device, &c.viewport), c.result);
    }
    // A draw reading past the end of its buffer is refused.
    PlatD3dVertexBuffer *buffer = nullptr;
    ASSERT_EQ(PlatD3dDeviceCreateVertexBuffer(device, 4 * 20, 0, PLAT_FVF_XYZ | PLAT_FVF_TEX1, PLAT_POOL_MANAGED,
                                              &buffer),
              PLAT_D3D_OK);
    PlatD3dDeviceBeginScene(device);
    PlatD3dDeviceSetFVF(device, PLAT_FVF_XYZ | PLAT_FVF_TEX1);
    PlatD3dDeviceSetStreamSource(device, 0, buffer, 0, 20);
    EXPECT_EQ(PlatD3dDeviceDrawPrimitive(device, PLAT_PT_TRIANGLESTRIP, 0, 2), PLAT_D3D_OK);
    EXPECT_EQ(PlatD3dDeviceDrawPrimitive(device, PLAT_PT_TRIANGLESTRIP, 1, 2), PLAT_D3DERR_INVALIDCALL);
    PlatD3dDeviceEndScene(device);
    PlatD3dVertexBufferRelease(buffer);
    PlatD3dDeviceRelease(device);
}

TEST(PlatD3dx, MatricesRefuseDegenerateInput)
{
    PlatMatrix matrix;
    PlatVector3 eye = {1, 2, 3}, up = {0, 0, 1};
    EXPECT_EQ(PlatD3dxMatrixPerspectiveFovRH(&matrix, 0.785f, 1.0f, 0.0f, 100.0f), nullptr);
    EXPECT_EQ(PlatD3dxMatrixPerspectiveFovRH(&matrix, 0.785f, 1.0f, 5.0f, 5.0f), nullptr);
    EXPECT_EQ(PlatD3dxMatrixLookAtRH(&matrix, &eye, &eye, &up), nullptr);
    EXPECT_NE(PlatD3dxMatrixPerspectiveFovRH(&matrix, 0.785f, 1.0f, 0.01f, 100.0f), nullptr);
    // A point on the near plane has depth 0, on the far plane depth 1.
    for (float z : {-0.01f, -100.0f})
    {
        float w = -z;
        float depth = z * matrix.m[10] + matrix.m[14];
        EXPECT_NEAR(depth / w, z == -0.01f ? 0.0f : 1.0f, 1e-5f);
    }
}

} // namespace
