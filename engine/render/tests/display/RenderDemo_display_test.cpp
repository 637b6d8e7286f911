// One frame drawn by OpenGL (needs a display: run under Xvfb) with everything this
// library draws: a ".ttx" picture, a triangle list, a particle burst and text in three
// styles. Pixels in known places are checked, and the frame is saved as
// "render_demo.png" in the build folder for a person to look at.
#include "../RenderTestkit.h"

#include <cmath>
#include <string>
#include <vector>

#include "EngFont.h"
#include "EngParticles.h"
#include "EngPicture.h"
#include "EngTexture.h"
#include "EngTriangleList.h"

namespace
{
constexpr int kWidth = 640, kHeight = 480;

// Writes a width x height picture made by `pixel` (x, y -> 0xAARRGGBB).
template <typename F> void WritePng(const std::string &path, int width, int height, F pixel)
{
    rendertest::Image image;
    image.width = width;
    image.height = height;
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
            image.pixels.push_back(pixel(x, y));
    ASSERT_TRUE(rendertest::WriteImage(path, image));
}

uint32_t Argb(float a, float r, float g, float b)
{
    auto byte = [](float v) { return (uint32_t)std::lround(std::fmin(std::fmax(v, 0.0f), 1.0f) * 255.0f); };
    return byte(a) << 24 | byte(r) << 16 | byte(g) << 8 | byte(b);
}

class RenderDemoTest : public devicetest::DeviceTest
{
protected:
    bool UseGL() const override { return true; }

    void TearDown() override
    {
        particles.Destroy(true);
        triangles.Destroy();
        picture.Destroy();
        dot.Release();
        for (EngFont *font : {&title, &shadowed, &body})
            font->Destroy();
        DeviceTest::TearDown();
    }

    // Pixels in [x0, x1) x [y0, y1) for which `test` holds.
    template <typename F> int Count(int x0, int y0, int x1, int y1, F test) const
    {
        int count = 0;
        for (int y = y0; y < y1; y++)
            for (int x = x0; x < x1; x++)
                if (test(At(x, y)))
                    count++;
        return count;
    }
    uint32_t At(int x, int y) const { return frame[(size_t)y * kWidth + x]; }
    static int R(uint32_t c) { return (c >> 16) & 0xFF; }
    static int G(uint32_t c) { return (c >> 8) & 0xFF; }
    static int B(uint32_t c) { return c & 0xFF; }

    EngFont title, shadowed, body;
    EngPicture picture;
    EngTriangleList triangles;
    EngParticles particles;
    EngTexture dot;
    std::vector<uint32_t> frame;
};
} // namespace

TEST_F(RenderDemoTest, OneFrameOfEverything)
{
    ASSERT_TRUE(MakeDevice(kWidth, kHeight)) << LogText();
    const std::string folder = home->Path();

    // Images: a sunset gradient, a soft ring and a soft dot.
    WritePng(folder + "/sky.png", 64, 64, [](int x, int y) {
        float t = (float)y / 63.0f;
        return Argb(1, 0.25f + 0.75f * t, 0.1f + 0.45f * t, 0.45f - 0.3f * t);
    });
    WritePng(folder + "/ring.png", 64, 64, [](int x, int y) {
        float d = hypotf((float)x - 31.5f, (float)y - 31.5f) / 31.5f;
        float a = expf(-powf((d - 0.7f) / 0.12f, 2.0f));
        return Argb(a, 1.0f, 1.0f, 0.85f);
    });
    WritePng(folder + "/dot.png", 32, 32, [](int x, int y) {
        float d = hypotf((float)x - 15.5f, (float)y - 15.5f) / 15.5f;
        return Argb(fmaxf(0.0f, 1.0f - d * d), 1.0f, 1.0f, 1.0f);
    });
    testkit::WriteFile(folder + "/demo.ttx", R"({
        "Draw Area": [360, 40, 240, 180],
        "Textures": [{"Path": "", "Filename": "sky.png"}, {"Path": "", "Filename": "ring.png"}],
        "Sets": [
            {"Name": "sky", "Stages": [{"TexNum": 0, "Show": 1, "Alpha Level": 1, "Alpha Throb On": 0,
                "Alpha Throb Min Level": 0, "Alpha Throb Speed": 0, "Alpha Throb Mult": 0,
                "TC TC": [0.0078125, 0.0078125, 0.9921875, 0.9921875]}]},
            {"Name": "ring", "Stages": [{"TexNum": 1, "Show": 1, "Alpha Level": 1, "Alpha Blend Type": 1,
                "Main Area": [0.25, 0.1, 0.5, 0.8], "RotFlags": [1, 2], "RotValues": [30, 0, 90, 1],
                "Alpha Throb On": 0, "Alpha Throb Min Level": 0, "Alpha Throb Speed": 0,
                "Alpha Throb Mult": 0, "TC Default": 1, "TC Tile": [1, 1]}]}
        ]
    })");
    ASSERT_TRUE(picture.LoadFromFile(folder.c_str(), "demo", true, false)) << LogText();
    ASSERT_TRUE(picture.CreateGraphics()) << LogText();

    // Text in three styles: a big coloured title, white text with a soft drop shadow, and
    // a word-wrapped paragraph, stretched wide. Glyphs rendered at 150 dpi are shown at
    // 72 per design unit, so a size reads as its em in design units; lines are 1.2 em
    // apart with the baseline 0.8 em down.
    const float px = 72.0f / 150.0f;
    auto lineExtra = [px](float em) { return 1.2f * em - px * em; };
    auto glyphOffset = [](float em) { return 0.4f * em; };
    ASSERT_TRUE(title.CreateFromFontFile(rendertest::VeraBoldPath().c_str(), 0, 0, 40, 32, 255, nullptr, 0, px, px, glyphOffset(40),
                                         lineExtra(40), 0, 0, 0, 0, 1));
    EngFontGlyphEffects shadow = {};
    shadow.border = 2;
    shadow.extraWidth = 6;
    shadow.extraHeight = 6;
    shadow.shadowFactor0 = 0.0f;
    shadow.shadowFactor1 = 0.8f;
    shadow.blurPasses1 = 3;
    shadowed.SetGlyphEffects(&shadow);
    ASSERT_TRUE(shadowed.CreateFromFontFile(rendertest::VeraBoldPath().c_str(), 1, 0, 28, 32, 255, nullptr, 0, px, px,
                                            glyphOffset(28), lineExtra(28), 0, 0, 0, 0, 1));
    ASSERT_TRUE(body.CreateFromFontFile(rendertest::VeraBoldPath().c_str(), 0, 0, 14, 32, 255, nullptr, 0, px, px, glyphOffset(14),
                                        lineExtra(14), 0, 0, 0, 0, 1));
    title.SetColour(1.0f, 0.85f, 0.2f, 1.0f);
    body.SetColour(0.55f, 0.9f, 1.0f, 1.0f);
    body.SetScale(1.25f, 1.0f);

    // A star of coloured triangles: eight points round an octagon hub (corners clockwise
    // on the screen).
    ASSERT_TRUE(triangles.Create(ENG_TRIANGLES_COL, nullptr, 16));
    const float cx = 150, cy = 330, inner = 30, outer = 90;
    for (int i = 0; i < 8; i++)
    {
        float a0 = (float)i * 0.7853982f, a1 = a0 + 0.3926991f, a2 = a0 - 0.3926991f;
        float x1 = cx + inner * cosf(a1), y1 = cy + inner * sinf(a1), x2 = cx + inner * cosf(a2),
              y2 = cy + inner * sinf(a2);
        triangles.SetPositions(i, cx + outer * cosf(a0), cy + outer * sinf(a0), 0, x1, y1, 0, x2, y2, 0);
        triangles.SetColour(i, i % 2 ? 0.2f : 0.3f, i % 2 ? 0.8f : 0.95f, i % 2 ? 0.4f : 0.5f, 1.0f);
        triangles.SetPositions(8 + i, cx, cy, 0, x2, y2, 0, x1, y1, 0);
        triangles.SetColour(8 + i, 0.15f, 0.7f, 0.35f, 1.0f);
    }

    // A burst of glowing dots, half a second old.
    ASSERT_TRUE(dot.LoadFromFile((folder + "/dot.png").c_str(), 1, ENG_ALPHA_FROM_FILE, 0));
    srand(11);
    _EngParticleSystemParms burst = {};
    burst.emissionMode = ENG_PARTICLES_BURST;
    burst.firstCount = 160;
    burst.texture = &dot;
    burst.colourFlag = 1;
    burst.blendKind = 0;
    burst.lifetimeMin = 1.0f;
    burst.lifetimeMax = 2.0f;
    burst.speedFactor = 1.0f;
    burst.speedRange.range = {0.2f, 0.5f, 0.3f, 0.6f, 0.3f, 0.6f};
    burst.coneAngle = 180.0f;
    burst.startColour = {1.0f, 0.9f, 0.3f};
    burst.startColour2 = {1.0f, 0.5f, 0.1f};
    burst.randomStartColour = 1;
    burst.endColour = {0.9f, 0.2f, 0.1f};
    burst.startAlpha = 1.0f;
    burst.endAlpha = 0.0f;
    burst.startSize = burst.endSize = 0.06f;
    burst.spreadType = 1;
    burst.spreadMax = 0.05f;
    burst.spreadFactor = 1.0f;
    burst.emitterX = 0.45f;
    burst.emitterY = -0.45f;
    burst.twoSided = 1;
    ASSERT_TRUE(particles.Create(200, &burst, true));
    ASSERT_EQ(1, particles.Update(0.1f, 1));
    ASSERT_EQ(1, particles.Update(0.35f, 0));

    // The frame.
    ASSERT_TRUE(device->BeginRendering());
    device->SetClearColour(0.06f, 0.08f, 0.16f);
    device->ClearScreenAndZBuffer();
    device->PrepareFor2D(true);
    picture.Tick(1.0f);
    picture.Draw();
    triangles.Draw();
    particles.Render();
    EngFontPrepareForDrawing(ENG_FONT_RATIO_DESIGN);
    title.DrawString(40, 40, 0, 0, "Plinx pictures", 0);
    shadowed.DrawString(40, 110, 0, 0, "Soft shadow", 0);
    float paragraphHeight = 0;
    int lines = 0;
    body.DrawMultilineText(40, 170, 280, 100, 0, 0,
                           "Word-wrapped text flows from line to line inside its box, "
                           "and every glyph comes from a 512 x 512 sheet.",
                           1, 0, nullptr, &paragraphHeight, &lines, nullptr);
    EngFontRestoreAfterDrawing();
    device->RestoreAfter2D();
    device->EndRendering();

    frame.assign((size_t)kWidth * kHeight, 0);
    ASSERT_EQ(PLAT_D3D_OK, PlatD3dDeviceReadBackBuffer(EngDeviceDX9GetD3dDevice(), frame.data(), kWidth, kHeight));
    // The build folder is the one that holds (or will hold) Data/.
    std::string saved = std::string(PLINX_DATA_DIR);
    saved = saved.substr(0, saved.rfind('/')) + "/render_demo.png";
    WritePng(saved, kWidth, kHeight, [this](int x, int y) { return At(x, y) | 0xFF000000u; });

    // The clear colour where nothing is drawn.
    EXPECT_EQ(0xFF0F1428u, At(630, 470) | 0xFF000000u);
    // The picture fills its draw area only: the sky's top and bottom colours at its
    // edges (left of the ring), the clear colour just outside.
    uint32_t skyTop = At(370, 44), skyBottom = At(370, 214);
    EXPECT_NEAR(0x44, R(skyTop), 12);
    EXPECT_NEAR(0xFF, R(skyBottom), 12);
    EXPECT_GT(G(skyBottom), G(skyTop));
    EXPECT_EQ(At(630, 470), At(355, 100));
    EXPECT_EQ(At(630, 470), At(605, 100));
    // The ring is light and drawn over the sky, around the area's middle.
    EXPECT_GT(Count(420, 50, 540, 210, [](uint32_t c) { return R(c) > 230 && G(c) > 220 && B(c) > 170; }), 200);
    // The star's centre and one of its points are green; between the points is clear.
    EXPECT_GT(G(At(150, 330)), 160);
    EXPECT_GT(G(At(225, 330)), 180);
    EXPECT_LT(R(At(150, 330)), 100);
    EXPECT_EQ(At(630, 470), At(215, 285));
    // The burst: bright warm dots around its emitter (clip 0.45, -0.45 = 464, 348),
    // added onto the background.
    EXPECT_GT(Count(380, 270, 550, 430, [](uint32_t c) { return R(c) > 160 && R(c) > B(c) + 60; }), 150);
    // Text: yellow title, white shadowed text with dark pixels below-right of it, cyan
    // paragraph of several lines.
    EXPECT_GT(Count(40, 40, 330, 85, [](uint32_t c) { return R(c) > 200 && G(c) > 170 && B(c) < 100; }), 500);
    EXPECT_GT(Count(40, 110, 250, 145, [](uint32_t c) { return R(c) > 220 && G(c) > 220 && B(c) > 220; }), 300);
    EXPECT_GT(Count(40, 110, 260, 150, [](uint32_t c) { return R(c) < 10 && G(c) < 10 && B(c) < 20; }), 100);
    EXPECT_GE(lines, 3);
    EXPECT_GT(Count(40, 170, 330, 270, [](uint32_t c) { return B(c) > 200 && G(c) > 180 && R(c) < 170; }), 300);
}
