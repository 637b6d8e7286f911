// Textures: image types by name, alpha from brightness, 16-bit pixels, loading every
// supported image type, the quad's position, coordinates and colour, alpha copies, and
// a handle that lives on across a device re-creation.
#include <gtest/gtest.h>

#include <cstring>

#include "EngDebug.h"
#include "EngTexture.h"
#include "EngTextureDX9.h"
#include "EngTga.h"
#include "EngTriangleList.h"
#include "RenderTestkit.h"

using rendertest::Image;

namespace
{
// Constructed before any program object exists, as the game's global textures are.
EngTexture s_globalTexture("global_tex", 0);

class TextureTest : public rendertest::RenderTest
{
protected:
    // A pattern image file in the temporary folder.
    std::string WritePattern(const std::string &name, int width, int height)
    {
        std::string path = home->File(name);
        EXPECT_TRUE(rendertest::WriteImage(path, rendertest::Pattern(width, height)));
        return path;
    }
};
} // namespace

TEST(TextureNames, ImageTypeByExtension)
{
    struct Row
    {
        const char *name;
        _EngTextureFileExt expected;
    };
    const Row rows[] = {
        {"a.bmp", ENG_TEXTURE_EXT_BMP},  {"a.TGA", ENG_TEXTURE_EXT_TGA},   {"photo.JPEG", ENG_TEXTURE_EXT_JPG},
        {"p.Jpg", ENG_TEXTURE_EXT_JPG},  {"x.png", ENG_TEXTURE_EXT_PNG},   {"x.gif", ENG_TEXTURE_EXT_GIF},
        {"x.dds", ENG_TEXTURE_EXT_DDS},  {"x.dat", ENG_TEXTURE_EXT_PNG},   {"x.txt", ENG_TEXTURE_EXT_NONE},
        {"png", ENG_TEXTURE_EXT_NONE},   {".png", ENG_TEXTURE_EXT_PNG},    {"a.b", ENG_TEXTURE_EXT_NONE},
        {"", ENG_TEXTURE_EXT_NONE},      {"abcde", ENG_TEXTURE_EXT_NONE},  {"a.jpeg.x", ENG_TEXTURE_EXT_NONE},
        {nullptr, ENG_TEXTURE_EXT_NONE},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.name ? row.name : "(null)");
        EXPECT_EQ(row.expected, EngTextureGetFileExtFromFilename(row.name, ENG_TEXTURE_EXT_PNG));
    }
}

TEST(TextureNames, AlphaFromBrightness)
{
    struct Row
    {
        int type;
        uint8_t r, g, b;
        uint8_t alpha;
    };
    const Row rows[] = {
        {0, 10, 20, 30, 255},   {1, 10, 20, 30, 0},     {3, 10, 200, 30, 200}, {4, 40, 10, 0, 64},
        {4, 31, 0, 0, 0},       {4, 64, 0, 0, 255},     {5, 10, 0, 0, 80},     {5, 32, 0, 0, 255},
        {6, 10, 200, 30, 245},  {7, 200, 250, 250, 184}, {7, 191, 255, 255, 255}, {7, 224, 224, 224, 0},
        {8, 230, 240, 250, 200}, {8, 100, 240, 250, 255}, {9, 0, 0, 0, 255},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.type);
        EXPECT_EQ(row.alpha, EngTexture_GetPixelAlphaFromBrightness((char)row.type, row.r, row.g, row.b));
    }
}

TEST(TextureNames, SixteenBitPixels)
{
    struct Row
    {
        PlatD3dFormat format;
        uint8_t low, high;
        uint8_t r, g, b, a;
    };
    const Row rows[] = {
        {PLAT_FMT_R5G6B5, 0xFF, 0xFF, 0xF8, 0xFC, 0xF8, 255},
        {PLAT_FMT_R5G6B5, 0x1F, 0x00, 0x00, 0x00, 0xF8, 255},
        {PLAT_FMT_A1R5G5B5, 0xE0, 0x83, 0x00, 0xF8, 0x00, 255},
        {PLAT_FMT_X1R5G5B5, 0x00, 0x7C, 0xF8, 0x00, 0x00, 0},
        {PLAT_FMT_A4R4G4B4, 0x0F, 0xF0, 0x00, 0x00, 0xFF, 0xFF},
        {PLAT_FMT_A4R4G4B4, 0x80, 0x4F, 0xFF, 0x8F, 0x00, 0x4F},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE((int)row.format);
        const uint8_t pixel[2] = {row.low, row.high};
        uint8_t r, g, b, a;
        ASSERT_TRUE(EngTextureDX9_GetColPartsFromBit16(pixel, row.format, &r, &g, &b, &a));
        EXPECT_EQ(row.r, r);
        EXPECT_EQ(row.g, g);
        EXPECT_EQ(row.b, b);
        EXPECT_EQ(row.a, a);
        uint8_t packed[2];
        ASSERT_TRUE(EngTextureDX9_SetBit16FromColParts(r, g, b, a, row.format, packed));
        EXPECT_EQ(row.low, packed[0]);
        EXPECT_EQ(row.high, packed[1]);
    }
    uint8_t r, g, b, a;
    const uint8_t pixel[2] = {0, 0};
    EXPECT_FALSE(EngTextureDX9_GetColPartsFromBit16(pixel, PLAT_FMT_A8R8G8B8, &r, &g, &b, &a));
}

TEST_F(TextureTest, GlobalHandleMakesItsDeviceSideOnFirstLoad)
{
    EXPECT_EQ(nullptr, s_globalTexture.GetBackEnd());
    EXPECT_FALSE(s_globalTexture.IsLoaded());
    ASSERT_TRUE(s_globalTexture.LoadFromFile(WritePattern("g.png", 8, 8).c_str(), 1, ENG_ALPHA_FROM_FILE, 0));
    EXPECT_NE(nullptr, s_globalTexture.GetBackEnd());
    EXPECT_EQ(8, s_globalTexture.GetWidth());
    s_globalTexture.Release();
    EXPECT_FALSE(s_globalTexture.IsLoaded());
    EXPECT_NE(nullptr, s_globalTexture.GetBackEnd());
}

TEST_F(TextureTest, EveryImageTypeLoadsWithItsSizeAndTexels)
{
    const Image pattern = rendertest::Pattern(20, 12);
    struct Row
    {
        const char *name;
        bool fileAlpha; // the format keeps alpha
        int tolerance;  // per channel (lossy formats)
    };
    const Row rows[] = {{"p.png", true, 0}, {"p.tga", true, 0}, {"p.bmp", true, 0},
                        {"p.JPEG", false, 40}, {"p.Jpg", false, 40}};
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.name);
        std::string path = home->File(row.name);
        ASSERT_TRUE(rendertest::WriteImage(path, pattern));
        EngTexture texture;
        ASSERT_TRUE(texture.LoadFromFileUsingExt(path.c_str(), 1, ENG_ALPHA_FROM_FILE, ENG_TEXTURE_EXT_NONE, 0));
        ASSERT_EQ(20, texture.GetWidth());
        ASSERT_EQ(12, texture.GetHeight());
        Image texels = rendertest::Texels(&texture);
        for (int y = 0; y < 12; y++)
            for (int x = 0; x < 20; x++)
            {
                uint32_t want = pattern.At(x, y), got = texels.At(x, y);
                if (!row.fileAlpha)
                    want |= 0xFF000000u;
                for (int shift = 0; shift < 32; shift += 8)
                {
                    int difference = (int)((want >> shift) & 0xFF) - (int)((got >> shift) & 0xFF);
                    ASSERT_LE(abs(difference), row.tolerance) << "pixel " << x << "," << y;
                }
            }
    }
}

TEST_F(TextureTest, TypesWithoutLoaderAreRefusedByName)
{
    std::string png = WritePattern("p.png", 4, 4);
    struct Row
    {
        const char *name;
        _EngTextureFileExt datType;
        bool loads;
    };
    const Row rows[] = {{"p.gif", ENG_TEXTURE_EXT_NONE, false},
                        {"p.dds", ENG_TEXTURE_EXT_NONE, false},
                        {"p.dat", ENG_TEXTURE_EXT_GIF, false},
                        {"p.dat", ENG_TEXTURE_EXT_PNG, true}};
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.name);
        std::string path = home->File(row.name);
        testkit::WriteFile(path, testkit::ReadFile(png));
        EngTexture texture;
        EXPECT_EQ(row.loads, texture.LoadFromFileUsingExt(path.c_str(), 0, 0, row.datType, 0));
        EXPECT_EQ(!row.loads, LogHas("Unknown extension in file <" + path + ">"));
        DebugClearMessages();
    }
}

TEST_F(TextureTest, LoadFailuresLeaveTheHandleEmpty)
{
    EngTexture texture;
    EXPECT_FALSE(texture.LoadFromFile(home->File("missing.png").c_str(), 0, 0, 0));
    EXPECT_TRUE(LogHas("File does not exist <" + home->File("missing.png") + ">"));
    std::string broken = home->File("broken.png");
    testkit::WriteFile(broken, "not a picture");
    EXPECT_FALSE(texture.LoadFromFile(broken.c_str(), 0, 0, 0));
    EXPECT_TRUE(LogHas("Could not load <" + broken + ">"));
    EXPECT_FALSE(texture.IsLoaded());

    // A JPEG whose Huffman table claims more codes than a table holds is refused with the
    // decoder's reason in the log.
    std::string crafted = home->File("crafted.jpg");
    ASSERT_TRUE(rendertest::WriteImage(crafted, rendertest::Pattern(8, 8)));
    std::string bytes = testkit::ReadFile(crafted);
    size_t table = bytes.find("\xFF\xC4");
    ASSERT_NE(table, std::string::npos);
    bytes.replace(table + 5, 16, 16, '\xFF');
    testkit::WriteFile(crafted, bytes);
    EXPECT_FALSE(texture.LoadFromFile(crafted.c_str(), 0, 0, 0));
    EXPECT_TRUE(LogHas("Could not load <" + crafted + ">"));
    EXPECT_TRUE(LogHas("Bogus Huffman table definition"));
    EXPECT_FALSE(texture.IsLoaded());
}

TEST_F(TextureTest, DefaultCoordinatesStayHalfATexelInside)
{
    EngTexture texture;
    ASSERT_TRUE(texture.LoadFromFile(WritePattern("c.png", 100, 60).c_str(), 0, 0, 0));
    texture.PositionRatioed(0, 0, 640, 480);
    texture.Draw();
    auto draws = rendertest::Draws(recorder);
    ASSERT_EQ(1u, draws.size());
    // Corner 1 is the top-left: (tu1, tv1); corner 2 the bottom-right: (tu2, tv2).
    std::vector<float> topLeft = rendertest::VertexFloats(draws[0], 1, 5);
    std::vector<float> bottomRight = rendertest::VertexFloats(draws[0], 2, 5);
    EXPECT_FLOAT_EQ(0.5f / 100.0f, topLeft[3]);
    EXPECT_FLOAT_EQ(0.5f / 60.0f, topLeft[4]);
    EXPECT_FLOAT_EQ(1.0f - 0.5f / 100.0f, bottomRight[3]);
    EXPECT_FLOAT_EQ(1.0f - 0.5f / 60.0f, bottomRight[4]);
    // 640x480 design units fill the clip space.
    EXPECT_FLOAT_EQ(-1.0f, topLeft[0]);
    EXPECT_FLOAT_EQ(1.0f, topLeft[1]);
    EXPECT_FLOAT_EQ(1.0f, bottomRight[0]);
    EXPECT_FLOAT_EQ(-1.0f, bottomRight[1]);
}

TEST_F(TextureTest, PositionsInDeviceAndDesignUnits)
{
    EngTexture flat, screen;
    ASSERT_TRUE(flat.LoadFromFile(WritePattern("f.png", 4, 4).c_str(), 0, 0, 0));
    int width = 16, height = 16;
    ASSERT_TRUE(screen.CreateEmpty2D(&width, &height, 1));
    devicetest::SetScreen(1280, 960);

    flat.PositionRatioed(0, 0, 640, 480);
    _Dimension rect = flat.GetBackEnd()->GetQuadRectangle();
    EXPECT_FLOAT_EQ(-1.0f, rect.x);
    EXPECT_FLOAT_EQ(-1.0f, rect.y);
    EXPECT_FLOAT_EQ(2.0f, rect.w);
    EXPECT_FLOAT_EQ(2.0f, rect.h);
    screen.PositionRatioed(0, 0, 640, 480);
    rect = screen.GetBackEnd()->GetQuadRectangle();
    EXPECT_FLOAT_EQ(1280.0f, rect.w);
    EXPECT_FLOAT_EQ(960.0f, rect.h);

    // A negative design size is accepted; zero sizes, and any size not above 0 in device
    // units, change nothing.
    flat.PositionRatioed(640, 480, -320, -240);
    EXPECT_FLOAT_EQ(-1.0f, flat.GetBackEnd()->GetQuadRectangle().w);
    flat.PositionRatioed(10, 10, 0, 10);
    flat.PositionPure(0, 0, -1, 1);
    rendertest::LogMark();
    flat.PositionPure(0, 0, 1, 0);
    EXPECT_FLOAT_EQ(-1.0f, flat.GetBackEnd()->GetQuadRectangle().w);
    EXPECT_EQ(3, rendertest::CountLog("Invalid sizes"));
}

TEST_F(TextureTest, ColourMakesTheQuadColouredKeepingPlaceAndCoordinates)
{
    EngTexture texture;
    ASSERT_TRUE(texture.LoadFromFile(WritePattern("k.png", 8, 8).c_str(), 0, 0, 0));
    texture.PositionRatioed(320, 240, 160, 120);
    texture.SetColour(1, 1, 1, 1);
    EXPECT_FALSE(texture.GetBackEnd()->IsColoured());
    texture.DrawWithTextureCoordinates(0.25f, 0.5f, 0.75f, 1.0f);
    texture.SetColour(1, 1, 1, 0.5f);
    EXPECT_TRUE(texture.GetBackEnd()->IsColoured());
    texture.Draw();
    // A colour above 1 is full, not wrapped round to dark.
    texture.DrawWithColour(1.5f, 0.0f, 0.25f, 1.0f);

    auto draws = rendertest::Draws(recorder);
    ASSERT_EQ(3u, draws.size());
    EXPECT_EQ(20u, draws[0]->c);
    ASSERT_EQ(24u, draws[1]->c);
    for (int corner = 0; corner < 4; corner++)
    {
        std::vector<float> plain = rendertest::VertexFloats(draws[0], corner, 5);
        std::vector<float> coloured = rendertest::VertexFloats(draws[1], corner, 6);
        EXPECT_FLOAT_EQ(plain[0], coloured[0]);
        EXPECT_FLOAT_EQ(plain[1], coloured[1]);
        EXPECT_FLOAT_EQ(plain[3], coloured[4]);
        EXPECT_FLOAT_EQ(plain[4], coloured[5]);
        EXPECT_EQ(0x7FFFFFFFu, rendertest::VertexColour(draws[1], corner, 12));
        EXPECT_EQ(0xFFFF003Fu, rendertest::VertexColour(draws[2], corner, 12));
    }
}

TEST_F(TextureTest, AlphaChannelFromBrightnessOnLoad)
{
    Image image;
    image.width = 3;
    image.height = 1;
    image.pixels = {0xFF102030, 0xFFC8C8C8, 0xFF000000};
    std::string path = home->File("bright.png");
    ASSERT_TRUE(rendertest::WriteImage(path, image));
    EngTexture brightest, fromFile, opaque;
    ASSERT_TRUE(brightest.LoadFromFile(path.c_str(), 1, ENG_ALPHA_BRIGHTEST, 0));
    ASSERT_TRUE(fromFile.LoadFromFile(path.c_str(), 1, ENG_ALPHA_FROM_FILE, 0));
    ASSERT_TRUE(opaque.LoadFromFile(path.c_str(), 0, ENG_ALPHA_BRIGHTEST, 0));
    Image texels = rendertest::Texels(&brightest);
    EXPECT_EQ(0x30102030u, texels.At(0, 0));
    EXPECT_EQ(0xC8C8C8C8u, texels.At(1, 0));
    EXPECT_EQ(0x00000000u, texels.At(2, 0));
    EXPECT_EQ(0xFF000000u, rendertest::Texels(&fromFile).At(2, 0));
    EXPECT_EQ(0xFF000000u, rendertest::Texels(&opaque).At(2, 0));
}

TEST_F(TextureTest, AlphaCopyScalesAndStaysInsideBothTextures)
{
    EngTexture from, to;
    ASSERT_TRUE(from.LoadFromFile(WritePattern("from.png", 64, 64).c_str(), 1, ENG_ALPHA_FROM_FILE, 0));
    int width = 128, height = 128;
    ASSERT_TRUE(to.CreateEmpty(&width, &height, 1));
    ASSERT_TRUE(to.CopyAlphaChannelFromAnotherTexture(&from, 0, 0, -1, -1, 0, 0, 128, 128));
    Image source = rendertest::Texels(&from), copy = rendertest::Texels(&to);
    for (int y = 0; y < 128; y++)
        for (int x = 0; x < 128; x++)
            ASSERT_EQ(source.At(x / 2, y / 2) >> 24, copy.At(x, y) >> 24) << x << "," << y;

    // A source rectangle partly left of and above the texture: only pixels with a source
    // inside it are written, and nothing is read from before the pixels.
    ASSERT_TRUE(to.CreateEmpty(&width, &height, 1));
    ASSERT_TRUE(to.CopyAlphaChannelFromAnotherTexture(&from, -32, -32, 64, 64, 0, 0, 64, 64));
    copy = rendertest::Texels(&to);
    EXPECT_EQ(0u, copy.At(10, 40) >> 24);
    EXPECT_EQ(0u, copy.At(40, 10) >> 24);
    EXPECT_EQ(source.At(8, 8) >> 24, copy.At(40, 40) >> 24);

    EngTexture empty;
    EXPECT_FALSE(to.CopyAlphaChannelFromAnotherTexture(&empty, 0, 0, -1, -1, 0, 0, -1, -1));
    EXPECT_TRUE(LogHas("From texture not ok"));
    EXPECT_FALSE(to.CopyAlphaChannelFromAnotherTexture(&from, 0, 0, 0, 4, 0, 0, -1, -1));
    EXPECT_TRUE(LogHas("Invalid from sizes"));
}

TEST_F(TextureTest, HandlesLiveOnAcrossADeviceRecreation)
{
    std::string path = WritePattern("r.png", 8, 8);
    EngTexture texture;
    ASSERT_TRUE(texture.LoadFromFile(path.c_str(), 1, ENG_ALPHA_FROM_FILE, 0));
    EngTriangleList triangles;
    ASSERT_TRUE(triangles.Create(ENG_TRIANGLES_COL_TEX, &texture, 1));

    // Graphics objects released, the device made again, the texture loaded again: the
    // list made before draws the new device texture.
    texture.Release();
    triangles.Destroy();
    delete device;
    device = nullptr;
    ASSERT_EQ(nullptr, EngTextureDX9_GetD3dTexture(&texture));
    ASSERT_TRUE(MakeDevice());
    ASSERT_TRUE(device->BeginRendering());
    ASSERT_TRUE(texture.LoadFromFile(path.c_str(), 1, ENG_ALPHA_FROM_FILE, 0));
    ASSERT_TRUE(triangles.Create(ENG_TRIANGLES_COL_TEX, &texture, 1));
    texture.Release();
    ASSERT_TRUE(texture.LoadFromFile(path.c_str(), 1, ENG_ALPHA_FROM_FILE, 0));
    const PlatD3dRecord *made = recorder->Last(PLAT_REC_CREATE_TEXTURE);
    ASSERT_NE(nullptr, made);
    recorder->Clear();
    triangles.Draw();
    const PlatD3dRecord *bound = nullptr;
    for (const PlatD3dRecord &record : recorder->records)
        if (record.kind == PLAT_REC_TEXTURE && !bound)
            bound = &record;
    ASSERT_NE(nullptr, bound);
    EXPECT_EQ(made->a, bound->b);
    EXPECT_EQ(1, recorder->CountKind(PLAT_REC_DRAW));
    EXPECT_EQ(8, texture.GetWidth());
}

// A window as the device sees it: its texture cursor record and the times it was asked
// to give the system cursor back.
namespace
{
_EngTextureCursor s_cursor;
int s_systemCursorRestores = 0;
char s_fakeWindow;

EngWindow *FakeWindow()
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

void IgnoreRecreation(EngWindow *)
{
}

void CountRestore(EngWindow *)
{
    s_systemCursorRestores++;
}

_EngTextureCursor *FakeCursor(EngWindow *window)
{
    return window == FakeWindow() ? &s_cursor : nullptr;
}

const _EngDeviceWindowHost kCursorWindowHost = {FakeWindow,       NoOsWindow,   IgnoreScreenSize,
                                                IgnoreRecreation, CountRestore, FakeCursor};
} // namespace

TEST_F(TextureTest, TheWindowsTextureCursorComesAndGoesWithTheDevice)
{
    delete device;
    device = nullptr;
    EngDeviceSetWindowHost(&kCursorWindowHost);
    s_cursor = {};
    s_systemCursorRestores = 0;
    s_cursor.on = 1;
    s_cursor.visible = 1;
    snprintf(s_cursor.fileName, sizeof(s_cursor.fileName), "%s", WritePattern("cursor.png", 16, 16).c_str());
    s_cursor.size[0] = 16;
    s_cursor.size[1] = 24;
    s_cursor.hotSpot[0] = 2;
    s_cursor.hotSpot[1] = 3;
    devicetest::SetScreen(1280, 960);
    device = new EngDevice(FakeWindow());
    ASSERT_TRUE(device->Create(true, 1280, 960, 32, 60));
    ASSERT_NE(nullptr, s_cursor.texture);
    EXPECT_TRUE(s_cursor.texture->IsLoaded());
    EXPECT_EQ(32, s_cursor.scaledSize[0]);
    EXPECT_EQ(48, s_cursor.scaledSize[1]);
    EXPECT_EQ(6, s_cursor.scaledHotSpot[1]);
    delete device;
    device = nullptr;
    EXPECT_EQ(nullptr, s_cursor.texture);
    EXPECT_FALSE(LogHas("Graphics objects not released"));
    EXPECT_EQ(0, s_systemCursorRestores);

    // A cursor file that does not load leaves the system cursor.
    snprintf(s_cursor.fileName, sizeof(s_cursor.fileName), "%s", home->File("missing.png").c_str());
    device = new EngDevice(FakeWindow());
    ASSERT_TRUE(device->Create(true, 1280, 960, 32, 60));
    EXPECT_TRUE(LogHas("Could not create texture cursor <" + home->File("missing.png") + ">"));
    EXPECT_EQ(0, s_cursor.on);
    EXPECT_EQ(nullptr, s_cursor.texture);
    EXPECT_EQ(1, s_systemCursorRestores);
    delete device;
    device = nullptr;
    EngDeviceSetWindowHost(nullptr);
}

TEST_F(TextureTest, ThreePartDrawingStretchesOnlyTheMiddle)
{
    EngTexture texture;
    ASSERT_TRUE(texture.LoadFromFile(WritePattern("button.png", 32, 16).c_str(), 0, 0, 0));
    texture.PositionRatioed(100, 48, 200, 48);
    texture.DrawWithTextureCoordinates(0.0f, 0.0f, 1.0f, 1.0f);
    recorder->Clear();
    texture.DrawThreePartHorizontal(20, 0.25f, 1);
    auto draws = rendertest::Draws(recorder);
    ASSERT_EQ(3u, draws.size());
    struct Part
    {
        float left, right; // design units
        float tu1, tu2;
    };
    const Part parts[3] = {{100, 120, 0.0f, 0.25f}, {120, 280, 0.25f, 0.75f}, {280, 300, 0.75f, 1.0f}};
    for (int i = 0; i < 3; i++)
    {
        SCOPED_TRACE(i);
        // Corner 1 is the top-left, corner 2 the bottom-right.
        std::vector<float> topLeft = rendertest::VertexFloats(draws[i], 1, 5);
        std::vector<float> bottomRight = rendertest::VertexFloats(draws[i], 2, 5);
        EXPECT_NEAR(parts[i].left / 320.0f - 1.0f, topLeft[0], 1e-5);
        EXPECT_NEAR(parts[i].right / 320.0f - 1.0f, bottomRight[0], 1e-5);
        EXPECT_FLOAT_EQ(parts[i].tu1, topLeft[3]);
        EXPECT_FLOAT_EQ(parts[i].tu2, bottomRight[3]);
        EXPECT_FLOAT_EQ(1.0f, bottomRight[4]);
    }
    // The whole button's place and coordinates come back.
    _Dimension rect = texture.GetBackEnd()->GetQuadRectangle();
    EXPECT_NEAR(100.0f / 320.0f - 1.0f, rect.x, 1e-5);
    EXPECT_NEAR(200.0f / 320.0f, rect.w, 1e-5);
    float tu2 = 0;
    texture.GetBackEnd()->GetTextureCoordinates(nullptr, nullptr, &tu2, nullptr);
    EXPECT_EQ(1.0f, tu2);
}
