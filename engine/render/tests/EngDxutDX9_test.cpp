// Settings matching and the display-mode list against a fake display: the closest
// full-screen mode, anti-aliasing that must be offered, the vsync mapping, adapter
// descriptions, the mode list's anti-aliasing texts and the result checker.
#include "DeviceFixture.h"

#include "EngDxutDX9.h"
#include "EngResModes.h"
#include "EngUtilsDX9.h"

namespace
{

using devicetest::DeviceTest;

class EngDxutTest : public DeviceTest
{
protected:
    void Enumerate(const PlatD3dFakeDisplay &display)
    {
        PlatD3dSetFakeDisplay(&display);
        d3d = PlatD3dCreate(PLAT_D3D_SDK_VERSION);
        ASSERT_TRUE(DxutEnumerationInit());
        ASSERT_EQ(DxutEnumerationDoEnumerate(d3d, nullptr), PLAT_D3D_OK);
    }
    void TearDown() override
    {
        DxutEnumerationCleanup();
        if (d3d)
            PlatD3dRelease(d3d);
        DeviceTest::TearDown();
    }
    // The engine's wish: adapter and windowing kept, size closest, anti-aliasing kept.
    PlatResult Find(bool windowed, uint32_t width, uint32_t height, uint32_t multiSample, _DXUTDeviceSettings *out)
    {
        _DXUTMatchOptions options = {};
        options.adapterOrdinal = DXUTMT_PRESERVE_INPUT;
        options.windowed = DXUTMT_PRESERVE_INPUT;
        options.resolution = DXUTMT_CLOSEST_TO_INPUT;
        options.multiSample = DXUTMT_PRESERVE_INPUT;
        _DXUTDeviceSettings wanted = {};
        wanted.pp.windowed = windowed;
        wanted.pp.backBufferWidth = width;
        wanted.pp.backBufferHeight = height;
        wanted.pp.multiSampleType = multiSample;
        return DXUTFindValidDeviceSettings(out, &wanted, &options);
    }
    PlatD3d *d3d = nullptr;
};

TEST_F(EngDxutTest, FullScreenTakesTheClosestModeAndWindowedTheWish)
{
    Enumerate(devicetest::FakeDisplay());
    struct Case
    {
        bool windowed;
        uint32_t width, height, expectWidth, expectHeight;
    } cases[] = {
        {false, 1024, 768, 1024, 768}, {false, 850, 620, 800, 600}, {false, 1000, 600, 1024, 768},
        {true, 1000, 600, 1000, 600},  {true, 2000, 600, 1280, 600},
    };
    for (const Case &c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.windowed << " " << c.width << "x" << c.height);
        _DXUTDeviceSettings found = {};
        ASSERT_EQ(Find(c.windowed, c.width, c.height, 0, &found), PLAT_D3D_OK);
        EXPECT_EQ(found.pp.backBufferWidth, c.expectWidth);
        EXPECT_EQ(found.pp.backBufferHeight, c.expectHeight);
        EXPECT_EQ(found.pp.windowed, c.windowed ? 1 : 0);
        EXPECT_EQ(found.adapterFormat, PLAT_FMT_X8R8G8B8);
    }
}

TEST_F(EngDxutTest, AntiAliasingMustBeOffered)
{
    PlatD3dFakeDisplay display = devicetest::FakeDisplay();
    Enumerate(display);
    _DXUTDeviceSettings found = {};
    EXPECT_EQ(Find(true, 800, 600, 4, &found), DXUTERR_NOCOMPATIBLEDEVICES);
    DxutEnumerationCleanup();
    PlatD3dRelease(d3d);
    display.adapters[0].multiSampleTypes = 1u << 4;
    Enumerate(display);
    ASSERT_EQ(Find(true, 800, 600, 4, &found), PLAT_D3D_OK);
    EXPECT_EQ(found.pp.multiSampleType, 4u);
}

TEST_F(EngDxutTest, VerticalSyncPicksThePresentationInterval)
{
    Enumerate(devicetest::FakeDisplay());
    const struct
    {
        int vsync;
        uint32_t interval;
    } cases[] = {{0, PLAT_PRESENT_INTERVAL_DEFAULT}, {1, PLAT_PRESENT_INTERVAL_DEFAULT},
                 {2, PLAT_PRESENT_INTERVAL_IMMEDIATE}};
    for (const auto &c : cases)
    {
        SCOPED_TRACE(c.vsync);
        EngScreenSettings.verticalSync = c.vsync;
        _DXUTDeviceSettings found = {};
        ASSERT_EQ(Find(true, 640, 480, 0, &found), PLAT_D3D_OK);
        EXPECT_EQ(found.pp.presentationInterval, c.interval);
    }
    EngScreenSettings.verticalSync = 0;
}

TEST_F(EngDxutTest, IdenticalAdaptersGetNumberedDescriptionsThatFit)
{
    PlatD3dFakeDisplay display = devicetest::FakeDisplay();
    display.adapterCount = 2;
    display.adapters[1] = display.adapters[0];
    // Descriptions as long as the identifier allows: the numbered text is cut to fit.
    for (int i = 0; i < 2; i++)
    {
        memset(display.adapters[i].description, 'x', 511);
        display.adapters[i].description[511] = 0;
    }
    Enumerate(display);
    for (uint32_t ordinal = 0; ordinal < 2; ordinal++)
    {
        _DxutEnumAdapterInfo *adapter = nullptr;
        ASSERT_TRUE(DxutEnumerationGetAdapterInfoNew(ordinal, &adapter));
        std::string unique = adapter->uniqueDescription;
        EXPECT_EQ(unique.size(), 255u);
        EXPECT_EQ(unique.substr(unique.size() - 5), " (#" + std::to_string(ordinal) + ")");
    }
}

TEST_F(EngDxutTest, ModeListKeepsSizesAndDepthsWithTheirAntiAliasing)
{
    PlatD3dFakeDisplay display = devicetest::FakeDisplay();
    display.adapters[0].multiSampleTypes = (1u << 2) | (1u << 4);
    PlatD3dSetFakeDisplay(&display);
    EngResModes modes;
    ASSERT_TRUE(modes.IsSetup());
    // 4 sizes at 32 bits (800x600 listed once for two refresh rates), 2 at 16 bits;
    // deepest and largest first.
    ASSERT_EQ(modes.GetNumModes(), 6);
    EXPECT_EQ(modes.GetMode(0)->width, 1280);
    EXPECT_EQ(modes.GetMode(5)->depth, 16);
    _EngResMode *mode = modes.GetMode(0);
    ASSERT_EQ(mode->numAntiAliasing, 3);
    EXPECT_STREQ(EngResModesGetMultiSampleText(mode->antiAliasing[0]), "Off");
    EXPECT_STREQ(EngResModesGetMultiSampleText(mode->antiAliasing[2]), "4x4");

    int32_t width = 800, height = 600, depth = 32;
    ASSERT_TRUE(modes.GetClosestFullScreenModeToMode(&width, &height, &depth, nullptr));
    EXPECT_EQ(width, 800);
    EXPECT_EQ(depth, 32);
    // Each bit of depth weighs 10000: 1280x1024 at 20 bits goes to a 16-bit mode.
    width = 1280, height = 1024, depth = 20;
    ASSERT_TRUE(modes.GetClosestFullScreenModeToMode(&width, &height, &depth, nullptr));
    EXPECT_EQ(depth, 16);
    EXPECT_EQ(width, 1024);
}

TEST(EngResModesText, AntiAliasingTexts)
{
    const struct
    {
        int32_t pair[2];
        const char *text;
    } cases[] = {{{4, 0}, "4x4"}, {{4, 2}, "4x4 Level 3"}, {{1, 0}, "Level 1"}, {{17, 0}, "?"}, {{0, 3}, "Off"}};
    for (const auto &c : cases)
        EXPECT_STREQ(EngResModesGetMultiSampleText(c.pair), c.text);
    EXPECT_STREQ(EngResModesGetMultiSampleText(nullptr), "(error)");
}

TEST_F(EngDxutTest, ResultCheckerNamesTheOperation)
{
    EXPECT_TRUE(EngUtilsDX9_CheckResult("Owner", "Op", PLAT_D3D_OK));
    EXPECT_FALSE(EngUtilsDX9_CheckResult("Owner", "Op", 1));
    EXPECT_TRUE(LogHas("( Owner )    Op: Unknown error <0x1>"));
    EXPECT_FALSE(EngUtilsDX9_CheckResult("Owner", "Lock", PLAT_D3DOK_NOAUTOGEN));
    EXPECT_TRUE(LogHas("Lock: This is a success code."));
}

} // namespace
