// The device's life cycle through the recorder: creation through the settings matching,
// scenes, presenting, a simulated loss and its one re-creation request, the GPU sync's
// bounded wait and fall-back, and the report of graphics objects left at destruction.
#include "DeviceFixture.h"

#include "EngVertexBufferDX9.h"

namespace
{

using devicetest::DeviceTest;

int CountLog(const std::string &log, const std::string &text)
{
    int count = 0;
    for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1))
        count++;
    return count;
}

class EngDeviceLifeTest : public DeviceTest
{
};

TEST_F(EngDeviceLifeTest, CreatesThroughMatchingAndLogsTheRenderer)
{
    ASSERT_TRUE(MakeDevice(800, 600));
    EXPECT_EQ(EngMainDevice, device);
    EXPECT_TRUE(device->IsReady());
    const _DXUTDeviceSettings *settings = Back()->GetDeviceSettings();
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(settings->pp.backBufferWidth, 800u);
    EXPECT_EQ(settings->pp.backBufferFormat, PLAT_FMT_X8R8G8B8);
    EXPECT_TRUE(settings->pp.enableAutoDepthStencil);
    EXPECT_TRUE(LogHas("[DxDevices] GL renderer: Recorder, 1.0"));
    EXPECT_TRUE(LogHas("[DxDevices] CreateDevice - DONE"));
}

TEST_F(EngDeviceLifeTest, OtherDeviceTypeMakesEveryCallANoOp)
{
    EngDeviceSetMainType(ENG_DEVICE_NONE);
    device = new EngDevice(nullptr);
    EXPECT_FALSE(device->Create(true, 640, 480, 32, 60));
    EXPECT_EQ(EngMainDevice, nullptr);
    EXPECT_FALSE(device->BeginRendering());
    EXPECT_FALSE(device->IsLightingOn());
    EXPECT_EQ(device->GetPerspectiveAspect(), 0.0f);
    device->EnableBlendingType(99);
    EXPECT_FALSE(LogHas("Invalid Blending Type"));
}

PlatD3dExecutor *NoExecutor(const PlatD3dPresentParameters *)
{
    return nullptr;
}

TEST_F(EngDeviceLifeTest, AFailedCreationTellsThePlayerAndTheNextOneReusesTheBackEnd)
{
    // The device itself cannot be made (as when the graphics driver refuses).
    PlatD3dSetExecutorFactory(NoExecutor);
    devicetest::SetScreen(640, 480);
    device = new EngDevice(nullptr);
    EXPECT_FALSE(device->Create(true, 640, 480, 32, 60));
    EXPECT_EQ(EngMainDevice, nullptr);
    ASSERT_FALSE(boxes->calls.empty());
    EXPECT_EQ(boxes->calls.back().title, "EngDeviceDX9::DoChangeDevice");
    EXPECT_EQ(boxes->calls.back().text, "Error creating the Direct3D device");
    EXPECT_TRUE(LogHas("CreateDevice: This device does not support the queried technique."));
    EngDeviceDX9 *back = Back();
    ASSERT_NE(back, nullptr);

    PlatD3dSetExecutorFactory(PlatD3dRecorderFactory);
    EXPECT_TRUE(device->Create(true, 640, 480, 32, 60));
    EXPECT_EQ(Back(), back);
    EXPECT_EQ(EngMainDevice, device);
}

TEST_F(EngDeviceLifeTest, ScenesOpenAndCloseOnce)
{
    ASSERT_TRUE(MakeDevice());
    EXPECT_TRUE(device->BeginRenderingIfNotRendering());
    EXPECT_FALSE(device->BeginRenderingIfNotRendering());
    EXPECT_TRUE(device->BeginRendering());
    EXPECT_TRUE(LogHas("Already rendering"));
    device->EndRendering();
    device->EndRendering();
    EXPECT_TRUE(LogHas("Not rendering"));
    EXPECT_EQ(recorder->CountKind(PLAT_REC_BEGIN_SCENE), 2);
    EXPECT_EQ(recorder->CountKind(PLAT_REC_END_SCENE), 2);
    device->SwapBuffers();
    EXPECT_EQ(recorder->CountKind(PLAT_REC_PRESENT), 1);
}

// A main window as the device sees it: only its address and the requests it gets.
namespace
{
int s_recreationRequests = 0;
char s_fakeWindow;

EngWindow *FakeMainWindow()
{
    return reinterpret_cast<EngWindow *>(&s_fakeWindow);
}

PlatWindow *NoOsWindow(EngWindow *)
{
    return nullptr;
}

void IgnoreScreenSize(EngWindow *, int, int, int, int, int)
{
}

void CountRecreation(EngWindow *)
{
    s_recreationRequests++;
}

void IgnoreCursor(EngWindow *)
{
}

_EngTextureCursor *NoTextureCursor(EngWindow *)
{
    return nullptr;
}

const _EngDeviceWindowHost kFakeWindowHost = {FakeMainWindow, NoOsWindow,   IgnoreScreenSize,
                                              CountRecreation, IgnoreCursor, NoTextureCursor};
} // namespace

TEST_F(EngDeviceLifeTest, LossAsksForOneRecreationOnceBackAndFiveSecondsOn)
{
    s_recreationRequests = 0;
    EngDeviceSetWindowHost(&kFakeWindowHost);
    ASSERT_TRUE(MakeDevice());
    EngFrameTiming.currentTime = 100.0;
    PlatD3dSimulateDeviceLoss(true);
    device->SwapBuffers();
    EXPECT_TRUE(Back()->IsLost());
    EngFrameTiming.currentTime = 101.0;
    // A second report keeps the first loss time: the request below comes 5 s after 100.
    device->SwapBuffers();
    recorder->Clear();
    // Lost until 104; the request comes at the first frame later than 105 (loss + 5 s).
    const double times[] = {102.0, 103.0, 104.0, 105.0, 105.5};
    for (double now : times)
    {
        PlatD3dSimulateDeviceLoss(now < 104.0);
        EngFrameTiming.currentTime = now;
        EXPECT_FALSE(device->BeginRendering()) << now;
        EXPECT_EQ(CountLog(LogText(), "Re-creating device that was lost."), now < 105.5 ? 0 : 1) << now;
    }
    EXPECT_EQ(recorder->CountKind(PLAT_REC_BEGIN_SCENE), 0);
    // Until the window re-creates the device, frames go on without a second request.
    EngFrameTiming.currentTime = 120.0;
    device->BeginRendering();
    EXPECT_EQ(CountLog(LogText(), "Re-creating device that was lost."), 1);
    EXPECT_EQ(s_recreationRequests, 1);
    EngDeviceSetWindowHost(nullptr);
}

TEST_F(EngDeviceLifeTest, AGraphicsObjectLeftAtDestructionIsReported)
{
    ASSERT_TRUE(MakeDevice());
    PlatD3dTexture *texture = nullptr;
    ASSERT_EQ(PlatD3dxCreateTexture(EngDeviceDX9GetD3dDevice(), 4, 4, 1, 0, PLAT_FMT_A8R8G8B8, PLAT_POOL_MANAGED,
                                    &texture),
              PLAT_D3D_OK);
    device->Destroy();
    EXPECT_TRUE(LogHas("Graphics objects not released [1]"));
    EXPECT_EQ(EngMainDevice, nullptr);
    PlatD3dTextureRelease(texture);

    device->SwapBuffers();
    EngDeviceDX9 back(device);
    back.SwapBuffers();
    EXPECT_TRUE(LogHas("No device"));
}

// A recorder whose fences never complete, as a driver that stops answering would.
class StuckRecorder : public PlatD3dRecorder
{
public:
    bool IsFenceDone(uint32_t, bool) override { return false; }
};

PlatD3dExecutor *StuckFactory(const PlatD3dPresentParameters *)
{
    return new StuckRecorder();
}

TEST_F(EngDeviceLifeTest, EventWaitGivesUpAndFallsBackOnce)
{
    PlatD3dSetExecutorFactory(StuckFactory);
    ASSERT_TRUE(MakeDevice());
    EngDeviceDX9SetEventWaitLimit(0.01);
    EngDeviceSetGpuSync(true, 1, true);
    device->SyncWithGPU();
    EXPECT_TRUE(LogHas("Sync method 1 failed"));
    EXPECT_TRUE(LogHas("Trying method 0"));
    EXPECT_EQ(EngDeviceGetGpuSyncMethod(), 0);
    device->SyncWithGPU();
    EXPECT_EQ(EngDeviceGetGpuSyncMethod(), 0);

    // Without the fall-back flag a failure turns syncing off.
    EngDeviceSetGpuSync(true, 1, false);
    device->SyncWithGPU();
    EXPECT_EQ(EngDeviceGetGpuSyncMethod(), -1);
    EngDeviceDX9SetEventWaitLimit(0.25);
}

} // namespace
