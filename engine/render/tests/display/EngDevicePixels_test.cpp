// What the OpenGL device draws, read back from its off-screen back buffer (needs a
// display: run under Xvfb): clears, a point-filtered texture in exact quadrants, the
// dimming, the crop, a ratioed viewport and every blending type against its expected
// pixel.
#include "../DeviceFixture.h"

#include <cmath>
#include <vector>

#include "EngVertexBufferDX9.h"

namespace
{

using devicetest::DeviceTest;

class EngDevicePixelsTest : public DeviceTest
{
protected:
    bool UseGL() const override { return true; }

    void Open(int width, int height)
    {
        ASSERT_TRUE(MakeDevice(width, height)) << LogText();
        this->width = width;
        this->height = height;
        ASSERT_TRUE(device->BeginRendering());
    }
    void TearDown() override
    {
        quad.Release();
        DeviceTest::TearDown();
    }
    std::vector<uint32_t> Read()
    {
        std::vector<uint32_t> pixels((size_t)width * height);
        EXPECT_EQ(PlatD3dDeviceReadBackBuffer(EngDeviceDX9GetD3dDevice(), pixels.data(), width, height),
                  PLAT_D3D_OK);
        return pixels;
    }
    void Clear(float r, float g, float b)
    {
        device->SetClearColour(r, g, b);
        device->ClearScreenAndZBuffer();
    }
    // A quad of one colour over the whole screen in pixels.
    void DrawColouredScreen(float r, float g, float b, float a)
    {
        ASSERT_TRUE(quad.Create(EVBT_POS_COL_2D, nullptr));
        quad.SetPositions(0, 0, (float)width, (float)height);
        quad.SetColour(r, g, b, a);
        quad.Draw();
    }
    // Pixels of `pixels` inside [x0, x1) x [y0, y1) equal to `inside`, the others to `outside`.
    void ExpectRect(const std::vector<uint32_t> &pixels, int x0, int y0, int x1, int y1, uint32_t inside,
                    uint32_t outside)
    {
        int wrong = 0;
        for (int y = 0; y < height; y++)
            for (int x = 0; x < width; x++)
            {
                bool in = x >= x0 && x < x1 && y >= y0 && y < y1;
                if (pixels[(size_t)y * width + x] != (in ? inside : outside) && wrong++ < 5)
                    ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << pixels[(size_t)y * width + x];
            }
        EXPECT_EQ(wrong, 0);
    }

    int width = 0, height = 0;
    EngVertexBufferDX9 quad{"pixels"};
};

TEST_F(EngDevicePixelsTest, ClearFillsTheBackBuffer)
{
    Open(64, 48);
    Clear(1.0f, 0.5f, 0.0f);
    ExpectRect(Read(), 0, 0, 64, 48, 0xFFFF7F00u, 0);
}

TEST_F(EngDevicePixelsTest, PointFilteredTextureFillsExactQuadrants)
{
    Open(640, 480);
    PlatD3dTexture *texture = nullptr;
    ASSERT_EQ(PlatD3dxCreateTexture(EngDeviceDX9GetD3dDevice(), 2, 2, 1, 0, PLAT_FMT_X8R8G8B8, PLAT_POOL_MANAGED,
                                    &texture),
              PLAT_D3D_OK);
    PlatD3dLockedRect locked;
    ASSERT_EQ(PlatD3dTextureLockRect(texture, 0, &locked, nullptr, 0), PLAT_D3D_OK);
    // X8 texels: the alpha byte is ignored (sampled as 1).
    const uint32_t texels[4] = {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0x00FFFFFFu};
    for (int y = 0; y < 2; y++)
        memcpy((uint8_t *)locked.bits + y * locked.pitch, &texels[y * 2], 8);
    PlatD3dTextureUnlockRect(texture, 0);

    Clear(0, 0, 0);
    device->PrepareFor2D(true);
    device->SetTextureQuality(0);
    device->EnableBlendingType(0);
    ASSERT_TRUE(quad.Create(EVBT_POS_TEX_2D, nullptr));
    quad.SetDxTexture(texture);
    quad.SetPositions(0, 0, 640, 480);
    // Half a texel in on every side, as textures position their coordinates.
    quad.SetTextureCoordinates(0.25f, 0.25f, 0.75f, 0.75f);
    quad.Draw();
    device->RestoreAfter2D();
    std::vector<uint32_t> pixels = Read();
    int wrong = 0;
    for (int y = 0; y < 480; y++)
        for (int x = 0; x < 640; x++)
        {
            uint32_t expected = 0xFF000000u | texels[(y < 240 ? 0 : 2) + (x < 320 ? 0 : 1)];
            if (pixels[(size_t)y * 640 + x] != expected && wrong++ < 5)
                ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << pixels[(size_t)y * 640 + x];
        }
    EXPECT_EQ(wrong, 0);
    quad.Release();
    PlatD3dTextureRelease(texture);
}

TEST_F(EngDevicePixelsTest, DimmingHalvesTheFrameAndLeavesBlendingAsItWas)
{
    Open(64, 48);
    Clear(200 / 255.0f, 100 / 255.0f, 50 / 255.0f);
    device->EnableBlendingType(10);
    EngDimScreen(0.5f);
    std::vector<uint32_t> pixels = Read();
    uint32_t pixel = pixels[10 * 64 + 10];
    EXPECT_NEAR((int)((pixel >> 16) & 0xFF), 100, 1);
    EXPECT_NEAR((int)((pixel >> 8) & 0xFF), 50, 1);
    EXPECT_NEAR((int)(pixel & 0xFF), 25, 1);
    bool enabled = false;
    int source = 0, destination = 0;
    device->GetBlendingState(&enabled, &source, &destination);
    EXPECT_TRUE(enabled);
    EXPECT_EQ(source, PLAT_BLEND_ONE);
    EXPECT_EQ(destination, PLAT_BLEND_ONE);

    // Beyond the range: 2 draws opaque black, -1 nothing.
    Clear(1, 1, 1);
    EngDimScreen(-1.0f);
    EXPECT_EQ(Read()[0], 0xFFFFFFFFu);
    EngDimScreen(2.0f);
    EXPECT_EQ(Read()[0], 0xFF000000u);
}

TEST_F(EngDevicePixelsTest, CropLeavesPixelsOutsideUntouched)
{
    Open(640, 480);
    Clear(0, 0, 1);
    device->TurnOnCrop(100, 100, 200, 100);
    DrawColouredScreen(1, 0, 0, 1);
    device->TurnOffCrop();
    ExpectRect(Read(), 100, 100, 300, 200, 0xFFFF0000u, 0xFF0000FFu);
}

TEST_F(EngDevicePixelsTest, RatioedViewportCoversItsPixels)
{
    Open(1280, 960);
    Clear(0, 0, 0);
    const float rect[4] = {0, 0, 320, 240};
    device->SetViewportToRatioedRect(rect);
    device->PrepareFor2D(true);
    // A world quad over the whole of clip space: -1..1 both ways.
    ASSERT_TRUE(quad.Create(EVBT_POS_COL, nullptr));
    quad.SetPositions(-1, -1, 2, 2);
    quad.SetColour(0, 1, 0, 1);
    quad.Draw();
    device->RestoreAfter2D();
    device->SetViewportFullScreen();
    ExpectRect(Read(), 0, 0, 640, 480, 0xFF00FF00u, 0xFF000000u);
}

TEST_F(EngDevicePixelsTest, CounterClockwiseFacesAreCulledUnlessTwoSided)
{
    Open(64, 48);
    device->PrepareFor2D(true);
    ASSERT_TRUE(quad.Create(EVBT_POS_COL, nullptr));
    quad.SetColour(1, 1, 0, 1);
    _Vector3d a = {-1, -1, 0}, b = {1, 1, 0};
    const struct
    {
        bool rectangle; // SetPositions: clockwise on the screen; the corner form: counter-clockwise
        bool twoSided;
        uint32_t pixel;
    } cases[] = {{true, false, 0xFFFFFF00u}, {false, false, 0xFF000000u}, {false, true, 0xFFFFFF00u}};
    for (const auto &c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.rectangle << c.twoSided);
        Clear(0, 0, 0);
        device->SetTwoSidedPolygons(c.twoSided);
        if (c.rectangle)
            quad.SetPositions(-1, -1, 2, 2);
        else
            quad.SetPositions3dVec3(0, &a, &b);
        quad.Draw();
        EXPECT_EQ(Read()[20 * 64 + 30], c.pixel);
    }
    device->SetTwoSidedPolygons(false);
    device->RestoreAfter2D();
}

TEST_F(EngDevicePixelsTest, LightingWithoutLightsShowsTheEmissiveColour)
{
    Open(64, 48);
    Clear(0, 0, 0);
    device->PrepareFor2D(false);
    ASSERT_TRUE(device->IsLightingOn());
    ASSERT_TRUE(quad.Create(EVBT_POS_COL, nullptr));
    quad.SetPositions(-1, -1, 2, 2);
    quad.SetColour(1, 0, 0, 1);
    // Text draws this way: the material's emissive colour, the vertex colour unused.
    PlatD3dDevice *d3d = EngDeviceDX9GetD3dDevice();
    PlatD3dMaterial material = {};
    material.diffuse = {1, 1, 1, 1};
    material.emissive = {0, 0, 1, 1};
    PlatD3dDeviceSetMaterial(d3d, &material);
    PlatD3dDeviceSetRenderState(d3d, PLAT_RS_DIFFUSEMATERIALSOURCE, PLAT_MCS_MATERIAL);
    quad.Draw();
    EXPECT_EQ(Read()[20 * 64 + 30], 0xFF0000FFu);
    // The white default material has no emissive part: lit and unlit differ.
    Back()->SetMaterialToDefault();
    PlatD3dDeviceSetRenderState(d3d, PLAT_RS_DIFFUSEMATERIALSOURCE, PLAT_MCS_COLOR1);
    quad.Draw();
    EXPECT_EQ(Read()[20 * 64 + 30], 0xFF000000u);
    device->TurnOffLighting();
    quad.Draw();
    EXPECT_EQ(Read()[20 * 64 + 30], 0xFFFF0000u);
    device->RestoreAfter2D();
}

// Source S over destination D, each factor as the device defines it; the back buffer
// has no alpha, so the destination alpha is 1.
float Factor(int factor, const float s[4], const float d[3], int channel)
{
    float destinationAlpha = 1.0f;
    switch (factor)
    {
    case PLAT_BLEND_ZERO:
        return 0.0f;
    case PLAT_BLEND_ONE:
        return 1.0f;
    case PLAT_BLEND_SRCCOLOR:
        return s[channel];
    case PLAT_BLEND_INVSRCCOLOR:
        return 1.0f - s[channel];
    case PLAT_BLEND_SRCALPHA:
        return s[3];
    case PLAT_BLEND_INVSRCALPHA:
        return 1.0f - s[3];
    case PLAT_BLEND_DESTALPHA:
        return destinationAlpha;
    case PLAT_BLEND_INVDESTALPHA:
        return 1.0f - destinationAlpha;
    case PLAT_BLEND_DESTCOLOR:
        return d[channel];
    case PLAT_BLEND_INVDESTCOLOR:
        return 1.0f - d[channel];
    case PLAT_BLEND_SRCALPHASAT:
        return std::min(s[3], 1.0f - destinationAlpha);
    }
    return -1.0f;
}

TEST_F(EngDevicePixelsTest, EveryBlendingPairGivesItsPixel)
{
    Open(16, 16);
    const uint8_t sourceBytes[4] = {204, 51, 153, 64}, destinationBytes[3] = {102, 153, 230};
    float s[4], d[3];
    for (int i = 0; i < 4; i++)
        s[i] = sourceBytes[i] / 255.0f;
    for (int i = 0; i < 3; i++)
        d[i] = destinationBytes[i] / 255.0f;
    // The 19 types, then the factor pairs pictures and particles pass by slot.
    std::vector<std::pair<int, int>> pairs;
    for (int type = 0; type < ENG_BLEND_TYPE_COUNT; type++)
        pairs.push_back({type, -1});
    const int slotPairs[][2] = {{4, 9}, {4, 7}, {4, 10}, {7, 5}, {7, 4}, {7, 1}, {7, 2}, {4, 6}, {8, 1}, {6, 2},
                                {0, 3}, {10, 5}};
    for (const auto &pair : slotPairs)
        pairs.push_back({EngBlendFactors[pair[0]], EngBlendFactors[pair[1]]});
    for (const auto &pair : pairs)
    {
        SCOPED_TRACE(testing::Message() << pair.first << "," << pair.second);
        Clear(d[0], d[1], d[2]);
        int source, destination;
        if (pair.second < 0)
        {
            device->EnableBlendingType(pair.first);
            device->GetBlendingState(nullptr, &source, &destination);
        }
        else
        {
            source = pair.first;
            destination = pair.second;
            device->EnableBlending(source, destination);
        }
        DrawColouredScreen(s[0], s[1], s[2], s[3]);
        uint32_t pixel = Read()[5 * 16 + 5];
        for (int channel = 0; channel < 3; channel++)
        {
            float expected = s[channel] * Factor(source, s, d, channel) + d[channel] * Factor(destination, s, d, channel);
            int expectedByte = (int)std::lround(std::min(1.0f, std::max(0.0f, expected)) * 255.0f);
            int actual = (int)((pixel >> (16 - 8 * channel)) & 0xFF);
            EXPECT_NEAR(actual, expectedByte, 1) << "channel " << channel;
        }
        quad.Release();
    }
    device->DisableBlending();
}

} // namespace
