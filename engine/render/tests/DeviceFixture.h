// The device type set and a device on an off-screen back buffer, for the device tests: with
// the recording executor and a fake display (no display needed), or with OpenGL under
// Xvfb (the pixel tests).
#pragma once
#include <gtest/gtest.h>

#include <cstring>

#include "EngDevice.h"
#include "EngDeviceDX9.h"
#include "EngGlobals.h"
#include "PlatD3dExecutor.h"
#include "Testkit.h"

namespace devicetest
{

inline void SetScreen(int width, int height)
{
    EngScreenSettings.windowed = 1;
    EngScreenSettings.width = width;
    EngScreenSettings.height = height;
    EngScreenSettings.depth = 32;
    EngScreenSettings.scaleToScreenX = width / 640.0f;
    EngScreenSettings.scaleToScreenY = height / 480.0f;
    EngScreenSettings.scaleToVirtualX = 640.0f / width;
    EngScreenSettings.scaleToVirtualY = 480.0f / height;
}

// One adapter like a desktop of 1280x1024 with a few full-screen modes; no anti-aliasing
// unless a test offers it.
inline PlatD3dFakeDisplay FakeDisplay()
{
    PlatD3dFakeDisplay display = {};
    display.adapterCount = 1;
    PlatD3dFakeAdapter &adapter = display.adapters[0];
    strcpy(adapter.description, "Fake display");
    adapter.desktop = {1280, 1024, 60, PLAT_FMT_X8R8G8B8};
    const PlatD3dDisplayMode modes[] = {{640, 480, 60, PLAT_FMT_X8R8G8B8},   {800, 600, 60, PLAT_FMT_X8R8G8B8},
                                        {800, 600, 75, PLAT_FMT_X8R8G8B8},   {1024, 768, 60, PLAT_FMT_X8R8G8B8},
                                        {1280, 1024, 60, PLAT_FMT_X8R8G8B8}, {800, 600, 60, PLAT_FMT_R5G6B5},
                                        {1024, 768, 60, PLAT_FMT_R5G6B5}};
    for (const PlatD3dDisplayMode &mode : modes)
        adapter.modes[adapter.modeCount++] = mode;
    return display;
}

class DeviceTest : public testkit::TempHomeTest
{
protected:
    // Recording executor and fake display unless a test asks for OpenGL.
    virtual bool UseGL() const { return false; }

    void SetUp() override
    {
        TempHomeTest::SetUp();
        EngDeviceSetMainType(ENG_DEVICE_DX9);
        EngDeviceSetGpuSync(false, 0, false);
        EngFrameTiming = {100.0, 60.0f, 1.0f / 60.0f};
        if (!UseGL())
        {
            PlatD3dFakeDisplay display = FakeDisplay();
            PlatD3dSetFakeDisplay(&display);
            PlatD3dSetExecutorFactory(PlatD3dRecorderFactory);
        }
        EngDeviceDX9AllowNoWindow(true);
    }

    void TearDown() override
    {
        delete device;
        device = nullptr;
        EngDeviceSetMainType(ENG_DEVICE_NONE);
        PlatD3dSetExecutorFactory(nullptr);
        PlatD3dSetFakeDisplay(nullptr);
        PlatD3dSimulateDeviceLoss(false);
        EngDeviceDX9AllowNoWindow(false);
        TempHomeTest::TearDown();
    }

    // A windowed device with a back buffer of the screen's size.
    bool MakeDevice(int width = 640, int height = 480)
    {
        SetScreen(width, height);
        device = new EngDevice(nullptr);
        if (!device->Create(true, width, height, 32, 60))
            return false;
        recorder = PlatD3dLastRecorder();
        if (recorder)
            recorder->Clear();
        return true;
    }

    EngDeviceDX9 *Back() { return EngDeviceDX9GetCurrent(); }

    EngDevice *device = nullptr;
    PlatD3dRecorder *recorder = nullptr;
};

} // namespace devicetest
