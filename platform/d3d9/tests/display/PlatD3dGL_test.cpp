// The OpenGL executor (needs a display: run under Xvfb): an anti-aliased back buffer is
// resolved for reading back, and a slanted edge gets mixed pixels; a device on a window
// of its back buffer's size draws straight into the window, where destination alpha
// still reads as 1; programs specialised to the texture stage draw the pixels of the
// general program.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <set>
#include <vector>

#include "PlatD3dExecutor.h"
#include "PlatD3dInternal.h"
#include "PlatWin.h"

namespace
{

// A window of a back buffer's size for a device to draw straight into.
PlatWindow *OpenWindow(const char *title, int width, int height)
{
    PlatWindowParms windowParms = {};
    windowParms.title = title;
    windowParms.x = windowParms.y = -1;
    windowParms.width = width;
    windowParms.height = height;
    PlatWindow *window = PlatWinCreateWindow(&windowParms);
    EXPECT_NE(window, nullptr) << PlatWinGetErrorText();
    return window;
}

// A GL device with a back buffer of the given size on a display of one adapter: on
// `window` when one is given, else off screen; `multiSample` samples when above 1.
struct GLDevice
{
    PlatD3d *d3d = nullptr;
    PlatD3dDevice *device = nullptr;

    bool Open(uint32_t width, uint32_t height, PlatWindow *window = nullptr, uint32_t multiSample = 0)
    {
        PlatD3dFakeDisplay display = {};
        display.adapterCount = 1;
        display.adapters[0].desktop = {1280, 1024, 60, PLAT_FMT_X8R8G8B8};
        display.adapters[0].modes[0] = display.adapters[0].desktop;
        display.adapters[0].modeCount = 1;
        if (multiSample > 1)
            display.adapters[0].multiSampleTypes = 1u << multiSample;
        PlatD3dSetFakeDisplay(&display);
        d3d = PlatD3dCreate(PLAT_D3D_SDK_VERSION);
        if (!d3d)
            return false;
        PlatD3dPresentParameters parameters = {};
        parameters.backBufferWidth = width;
        parameters.backBufferHeight = height;
        parameters.backBufferFormat = PLAT_FMT_X8R8G8B8;
        parameters.windowed = 1;
        parameters.deviceWindow = window;
        parameters.multiSampleType = multiSample;
        parameters.enableAutoDepthStencil = 1;
        parameters.autoDepthStencilFormat = PLAT_FMT_D24X8;
        PlatResult result = PlatD3dCreateDevice(d3d, 0, PLAT_DEVTYPE_HAL, window, 0, &parameters, &device);
        EXPECT_EQ(result, PLAT_D3D_OK) << PlatD3dGetErrorText();
        return result == PLAT_D3D_OK;
    }
    void Close()
    {
        if (device)
        {
            EXPECT_EQ(PlatD3dDeviceRelease(device), 0u);
        }
        if (d3d)
            PlatD3dRelease(d3d);
        device = nullptr;
        d3d = nullptr;
        PlatD3dSetFakeDisplay(nullptr);
    }
    ~GLDevice() { Close(); }
};


// First: SDL brought up again after a GL context was made in an earlier video session
// may settle on a driver that shows nothing, and this test needs the real display.
TEST(PlatD3dGLTest, AWindowOfTheBackBuffersSizeIsDrawnIntoDirectlyAndItsAlphaReadsAsOne)
{
    PlatWindow *window = OpenWindow("Direct", 64, 48);
    ASSERT_NE(window, nullptr);
    GLDevice gl;
    ASSERT_TRUE(gl.Open(64, 48, window));
    PlatD3dDevice *device = gl.device;
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
    gl.Close();
    PlatWinDestroyWindow(window);
}

TEST(PlatD3dGLTest, AntiAliasedBackBufferResolvesForReadBack)
{
    GLDevice gl;
    ASSERT_TRUE(gl.Open(32, 32, nullptr, 4));
    PlatD3dDevice *device = gl.device;

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
}

// One stage state of the table, with the render states that pick a program.
struct StageCase
{
    const char *name;
    uint32_t colourOp, colourArg1, colourArg2;
    uint32_t alphaOp, alphaArg1, alphaArg2;
    bool specular, lighting, textured;
};

// Quads over a coloured background, blended by their alpha: one pre-transformed with
// diffuse and specular colours on the left; on the right two through a perspective
// transform (moved a little for each row, so that a program used again must take the
// new matrix), the upper one lit as the row says, the lower one the other way, so that
// a second program draws with a matrix the first one took.
void DrawStageScene(PlatD3dDevice *device, PlatD3dTexture *texture, const StageCase &row, int rowIndex)
{
    PlatD3dDeviceBeginScene(device);
    PlatD3dDeviceClear(device, 0, nullptr, PLAT_CLEAR_TARGET | PLAT_CLEAR_ZBUFFER, 0xFF336699u, 1.0f, 0);
    PlatD3dDeviceSetRenderState(device, PLAT_RS_ZENABLE, 0);
    PlatD3dDeviceSetRenderState(device, PLAT_RS_CULLMODE, PLAT_CULL_NONE);
    PlatD3dDeviceSetRenderState(device, PLAT_RS_ALPHABLENDENABLE, 1);
    PlatD3dDeviceSetRenderState(device, PLAT_RS_SRCBLEND, PLAT_BLEND_SRCALPHA);
    PlatD3dDeviceSetRenderState(device, PLAT_RS_DESTBLEND, PLAT_BLEND_INVSRCALPHA);
    PlatD3dDeviceSetRenderState(device, PLAT_RS_SPECULARENABLE, row.specular ? 1 : 0);
    PlatD3dDeviceSetSamplerState(device, 0, PLAT_SAMP_MAGFILTER, PLAT_TEXF_LINEAR);
    PlatD3dDeviceSetSamplerState(device, 0, PLAT_SAMP_MINFILTER, PLAT_TEXF_LINEAR);
    PlatD3dDeviceSetTexture(device, 0, row.textured ? texture : nullptr);
    PlatD3dDeviceSetTextureStageState(device, 0, PLAT_TSS_COLOROP, row.colourOp);
    PlatD3dDeviceSetTextureStageState(device, 0, PLAT_TSS_COLORARG1, row.colourArg1);
    PlatD3dDeviceSetTextureStageState(device, 0, PLAT_TSS_COLORARG2, row.colourArg2);
    PlatD3dDeviceSetTextureStageState(device, 0, PLAT_TSS_ALPHAOP, row.alphaOp);
    PlatD3dDeviceSetTextureStageState(device, 0, PLAT_TSS_ALPHAARG1, row.alphaArg1);
    PlatD3dDeviceSetTextureStageState(device, 0, PLAT_TSS_ALPHAARG2, row.alphaArg2);

    struct ScreenVertex
    {
        float x, y, z, rhw;
        uint32_t diffuse, specular;
        float u, v;
    } screen[4] = {{1, 1, 0, 1, 0xFFFF8040u, 0xFF102030u, -0.3f, -0.2f},
                   {31, 2, 0, 1, 0x8040FF80u, 0xFF403020u, 1.6f, -0.2f},
                   {2, 31, 0, 1, 0xC08080FFu, 0xFF000000u, -0.3f, 1.4f},
                   {30, 30, 0, 1, 0x20FFFFFFu, 0xFF605040u, 1.6f, 1.4f}};
    PlatD3dDeviceSetRenderState(device, PLAT_RS_LIGHTING, 0);
    PlatD3dDeviceSetFVF(device, PLAT_FVF_XYZRHW | PLAT_FVF_DIFFUSE | PLAT_FVF_SPECULAR | PLAT_FVF_TEX1);
    EXPECT_EQ(PlatD3dDeviceDrawPrimitiveUP(device, PLAT_PT_TRIANGLESTRIP, 2, screen, sizeof(ScreenVertex)),
              PLAT_D3D_OK);

    PlatMatrix identity, projection, rotation, translation, world;
    PlatD3dxMatrixIdentity(&identity);
    PlatD3dxMatrixPerspectiveFovRH(&projection, 1.0f, 2.0f, 0.1f, 10.0f);
    PlatD3dxMatrixRotationY(&rotation, 0.6f);
    PlatD3dxMatrixTranslation(&translation, 1.0f + 0.03f * rowIndex, 0.0f, -2.0f);
    PlatD3dxMatrixMultiply(&world, &rotation, &translation);
    PlatD3dDeviceSetTransform(device, PLAT_TS_PROJECTION, &projection);
    PlatD3dDeviceSetTransform(device, PLAT_TS_VIEW, &identity);
    PlatD3dDeviceSetTransform(device, PLAT_TS_WORLD, &world);
    PlatD3dMaterial material = {};
    material.diffuse = {0.5f, 0.5f, 0.5f, 0.7f};
    material.ambient = {0.5f, 0.6f, 0.4f, 1.0f};
    material.emissive = {0.2f, 0.1f, 0.3f, 1.0f};
    PlatD3dDeviceSetMaterial(device, &material);
    PlatD3dDeviceSetRenderState(device, PLAT_RS_AMBIENT, 0xFF808080u);
    PlatD3dDeviceSetRenderState(device, PLAT_RS_DIFFUSEMATERIALSOURCE, PLAT_MCS_COLOR1);
    PlatD3dDeviceSetRenderState(device, PLAT_RS_AMBIENTMATERIALSOURCE, PLAT_MCS_MATERIAL);
    PlatD3dDeviceSetRenderState(device, PLAT_RS_EMISSIVEMATERIALSOURCE, PLAT_MCS_MATERIAL);
    PlatD3dDeviceSetRenderState(device, PLAT_RS_LIGHTING, row.lighting ? 1 : 0);
    struct WorldVertex
    {
        float x, y, z;
        uint32_t diffuse;
        float u, v;
    } world3d[4] = {{-0.6f, 0.9f, 0, 0xFFFFFFFFu, 0.0f, 0.0f},
                    {0.6f, 0.9f, 0, 0x9020A0F0u, 2.0f, 0.0f},
                    {-0.6f, 0.05f, 0, 0xE0F0A020u, 0.0f, 2.0f},
                    {0.6f, 0.05f, 0, 0x40808080u, 2.0f, 2.0f}};
    PlatD3dDeviceSetFVF(device, PLAT_FVF_XYZ | PLAT_FVF_DIFFUSE | PLAT_FVF_TEX1);
    EXPECT_EQ(PlatD3dDeviceDrawPrimitiveUP(device, PLAT_PT_TRIANGLESTRIP, 2, world3d, sizeof(WorldVertex)),
              PLAT_D3D_OK);
    for (WorldVertex &vertex : world3d)
        vertex.y -= 0.95f;
    PlatD3dDeviceSetRenderState(device, PLAT_RS_LIGHTING, row.lighting ? 0 : 1);
    EXPECT_EQ(PlatD3dDeviceDrawPrimitiveUP(device, PLAT_PT_TRIANGLESTRIP, 2, world3d, sizeof(WorldVertex)),
              PLAT_D3D_OK);
    PlatD3dDeviceEndScene(device);
}

TEST(PlatD3dGLTest, SpecialisedProgramsDrawThePixelsOfTheGeneralOne)
{
    const StageCase cases[] = {
        {"texture x diffuse, texture alpha", PLAT_TOP_MODULATE, PLAT_TA_TEXTURE, PLAT_TA_CURRENT,
         PLAT_TOP_SELECTARG1, PLAT_TA_TEXTURE, PLAT_TA_CURRENT, false, false, true},
        {"texture x diffuse, alpha multiplied", PLAT_TOP_MODULATE, PLAT_TA_TEXTURE, PLAT_TA_CURRENT,
         PLAT_TOP_MODULATE, PLAT_TA_DIFFUSE, PLAT_TA_TEXTURE, false, false, true},
        {"alpha blended by the texture's", PLAT_TOP_MODULATE, PLAT_TA_TEXTURE, PLAT_TA_CURRENT,
         PLAT_TOP_BLENDTEXTUREALPHA, PLAT_TA_DIFFUSE, PLAT_TA_TEXTURE, false, false, true},
        {"colour blended by the texture's alpha", PLAT_TOP_BLENDTEXTUREALPHA, PLAT_TA_TEXTURE, PLAT_TA_DIFFUSE,
         PLAT_TOP_SELECTARG2, PLAT_TA_TEXTURE, PLAT_TA_DIFFUSE, false, false, true},
        {"the diffuse colour under the texture's alpha", PLAT_TOP_SELECTARG2, PLAT_TA_TEXTURE, PLAT_TA_DIFFUSE,
         PLAT_TOP_MODULATE, PLAT_TA_DIFFUSE, PLAT_TA_TEXTURE, false, false, true},
        {"doubled, added", PLAT_TOP_MODULATE2X, PLAT_TA_TEXTURE, PLAT_TA_DIFFUSE, PLAT_TOP_ADD, PLAT_TA_TEXTURE,
         PLAT_TA_DIFFUSE, false, false, true},
        {"added colour, alpha left to the diffuse", PLAT_TOP_ADD, PLAT_TA_DIFFUSE, PLAT_TA_TEXTURE,
         PLAT_TOP_DISABLE, PLAT_TA_TEXTURE, PLAT_TA_DIFFUSE, false, false, true},
        {"stage off: the diffuse colour", PLAT_TOP_DISABLE, PLAT_TA_TEXTURE, PLAT_TA_CURRENT, PLAT_TOP_MODULATE,
         PLAT_TA_TEXTURE, PLAT_TA_CURRENT, false, false, true},
        {"an operation the shader lacks takes the first argument", 10, PLAT_TA_TEXTURE, PLAT_TA_DIFFUSE, 24,
         PLAT_TA_DIFFUSE, PLAT_TA_TEXTURE, false, false, true},
        {"specular added", PLAT_TOP_MODULATE, PLAT_TA_TEXTURE, PLAT_TA_CURRENT, PLAT_TOP_SELECTARG1,
         PLAT_TA_TEXTURE, PLAT_TA_CURRENT, true, false, true},
        {"lit", PLAT_TOP_MODULATE, PLAT_TA_TEXTURE, PLAT_TA_CURRENT, PLAT_TOP_MODULATE, PLAT_TA_DIFFUSE,
         PLAT_TA_TEXTURE, false, true, true},
        {"lit, specular on, no texture", PLAT_TOP_MODULATE, PLAT_TA_TEXTURE, PLAT_TA_CURRENT,
         PLAT_TOP_BLENDTEXTUREALPHA, PLAT_TA_DIFFUSE, PLAT_TA_TEXTURE, true, true, false},
        {"no texture, the arguments select it", PLAT_TOP_SELECTARG1, PLAT_TA_TEXTURE, PLAT_TA_DIFFUSE,
         PLAT_TOP_SELECTARG1, PLAT_TA_TEXTURE, PLAT_TA_DIFFUSE, false, false, false},
    };
    const int count = (int)(sizeof(cases) / sizeof(cases[0]));

    GLDevice gl;
    ASSERT_TRUE(gl.Open(64, 32));
    PlatD3dDevice *device = gl.device;
    // Colours and alphas that differ from texel to texel, so that filtering mixes them.
    PlatD3dTexture *texture = nullptr;
    ASSERT_EQ(PlatD3dDeviceCreateTexture(device, 8, 8, 1, 0, PLAT_FMT_A8R8G8B8, PLAT_POOL_MANAGED, &texture),
              PLAT_D3D_OK);
    PlatD3dLockedRect locked;
    ASSERT_EQ(PlatD3dTextureLockRect(texture, 0, &locked, nullptr, 0), PLAT_D3D_OK);
    uint32_t seed = 12345;
    for (int y = 0; y < 8; y++)
        for (int x = 0; x < 8; x++)
        {
            seed = seed * 1103515245u + 12345u;
            ((uint32_t *)((uint8_t *)locked.bits + y * locked.pitch))[x] = seed;
        }
    ASSERT_EQ(PlatD3dTextureUnlockRect(texture, 0), PLAT_D3D_OK);

    // Specialised, general, then specialised again in the other order: each program met
    // again after others drew must have caught up with the state they changed.
    uint32_t builtBefore = PlatD3dGLGetSpecialisedCount();
    std::vector<std::vector<uint32_t>> specialised(count, std::vector<uint32_t>(64 * 32));
    for (int i = 0; i < count; i++)
    {
        DrawStageScene(device, texture, cases[i], i);
        ASSERT_EQ(PlatD3dDeviceReadBackBuffer(device, specialised[i].data(), 64, 32), PLAT_D3D_OK);
    }
    EXPECT_GE(PlatD3dGLGetSpecialisedCount() - builtBefore, 10u);
    PlatD3dGLSetGeneralOnly(true);
    std::vector<uint32_t> pixels(64 * 32);
    for (int i = 0; i < count; i++)
    {
        SCOPED_TRACE(cases[i].name);
        DrawStageScene(device, texture, cases[i], i);
        ASSERT_EQ(PlatD3dDeviceReadBackBuffer(device, pixels.data(), 64, 32), PLAT_D3D_OK);
        int differing = 0;
        for (size_t p = 0; p < pixels.size(); p++)
            differing += pixels[p] != specialised[i][p];
        EXPECT_EQ(differing, 0);
        // Every quad drew: none of their places is the bare background.
        EXPECT_NE(pixels[16 * 64 + 16], 0xFF336699u);
        EXPECT_NE(pixels[8 * 64 + 48], 0xFF336699u);
        EXPECT_NE(pixels[24 * 64 + 48], 0xFF336699u);
    }
    PlatD3dGLSetGeneralOnly(false);
    for (int i = count - 1; i >= 0; i--)
    {
        SCOPED_TRACE(cases[i].name);
        DrawStageScene(device, texture, cases[i], i);
        ASSERT_EQ(PlatD3dDeviceReadBackBuffer(device, pixels.data(), 64, 32), PLAT_D3D_OK);
        EXPECT_TRUE(pixels == specialised[i]);
    }
    PlatD3dTextureRelease(texture);
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

struct TexturedVertex
{
    float x, y, z, rhw;
    uint32_t colour;
    float u, v;
};

struct WorldVertex
{
    float x, y, z;
    uint32_t colour;
    float u, v;
};

// A square of half-side `size` turned by `angle` round (cx, cy), its corners clockwise
// on the screen, its texture a little beyond its edges.
template <typename V> void Turned(V *corners, float cx, float cy, float size, float angle, uint32_t colour)
{
    const float c = cosf(angle) * size, s = sinf(angle) * size;
    const float dx[4] = {-c + s, c + s, c - s, -c - s}, dy[4] = {-s - c, s - c, s + c, -s + c};
    const float u[4] = {-0.2f, 1.3f, 1.3f, -0.2f}, v[4] = {-0.2f, -0.2f, 1.3f, 1.3f};
    for (int i = 0; i < 4; i++)
    {
        corners[i].x = cx + dx[i];
        corners[i].y = cy + dy[i];
        corners[i].z = 0;
        corners[i].colour = colour;
        corners[i].u = u[i];
        corners[i].v = v[i];
    }
}

// Turned, textured squares of one colour that move each frame: one as a fan of
// pre-transformed corners, one as a strip placed by the transforms (a flat projection
// of pixels, a turn and a move in the world matrix, the same in every frame: a frame
// whose states change is drawn whole).
void DrawTurned(PlatD3dDevice *device, PlatD3dTexture *texture, float step)
{
    PlatD3dDeviceSetRenderState(device, PLAT_RS_CULLMODE, PLAT_CULL_CCW);
    PlatD3dDeviceSetTextureStageState(device, 0, PLAT_TSS_ALPHAOP, PLAT_TOP_MODULATE);
    PlatD3dDeviceSetTextureStageState(device, 0, PLAT_TSS_ALPHAARG2, PLAT_TA_DIFFUSE);
    PlatD3dDeviceSetTexture(device, 0, texture);
    PlatD3dDeviceSetSamplerState(device, 0, PLAT_SAMP_MAGFILTER, PLAT_TEXF_LINEAR);
    PlatD3dDeviceSetSamplerState(device, 0, PLAT_SAMP_MINFILTER, PLAT_TEXF_LINEAR);
    TexturedVertex fan[4];
    Turned(fan, 120 - 2.3f * step, 98 - 1.7f * step, 13.5f, 0.3f + 0.11f * step, 0xC0FFE0A0u);
    for (TexturedVertex &corner : fan)
        corner.rhw = 1;
    PlatD3dDeviceSetFVF(device, PLAT_FVF_XYZRHW | PLAT_FVF_DIFFUSE | PLAT_FVF_TEX1);
    EXPECT_EQ(PlatD3dDeviceDrawPrimitiveUP(device, PLAT_PT_TRIANGLEFAN, 2, fan, sizeof(TexturedVertex)),
              PLAT_D3D_OK);

    PlatMatrix identity, projection, turn, move, world;
    PlatD3dxMatrixIdentity(&identity);
    PlatD3dxMatrixOrthoOffCenterLH(&projection, 0, 160, 120, 0, 0, 1);
    PlatD3dxMatrixRotationZ(&turn, -0.2f);
    PlatD3dxMatrixTranslation(&move, 40, 95, 0);
    PlatD3dxMatrixMultiply(&world, &turn, &move);
    PlatD3dDeviceSetTransform(device, PLAT_TS_PROJECTION, &projection);
    PlatD3dDeviceSetTransform(device, PLAT_TS_VIEW, &identity);
    PlatD3dDeviceSetTransform(device, PLAT_TS_WORLD, &world);
    WorldVertex square[4], strip[4];
    Turned(square, -1.9f * step, 2.6f * step, 11.25f, -0.07f * step, 0x90A0FFC0u);
    // Corners in strip order: top left, top right, bottom left, bottom right.
    strip[0] = square[0];
    strip[1] = square[1];
    strip[2] = square[3];
    strip[3] = square[2];
    PlatD3dDeviceSetFVF(device, PLAT_FVF_XYZ | PLAT_FVF_DIFFUSE | PLAT_FVF_TEX1);
    EXPECT_EQ(PlatD3dDeviceDrawPrimitiveUP(device, PLAT_PT_TRIANGLESTRIP, 2, strip, sizeof(WorldVertex)),
              PLAT_D3D_OK);
    PlatD3dDeviceSetTexture(device, 0, nullptr);
    PlatD3dDeviceSetFVF(device, PLAT_FVF_XYZRHW | PLAT_FVF_DIFFUSE);
}

// A menu in small: a shaded background, sparkles that drift each frame (one list),
// turned textured squares that move, a translucent panel over their path, one of the
// frames with a scissored draw; each frame read back after it was shown.
std::vector<std::vector<uint32_t>> DrawFrames(bool whole, PlatD3dDamageStats *stats)
{
    const int width = 160, height = 120;
    if (whole)
        setenv("PLINX_DRAW_WHOLE_FRAMES", "1", 1);
    else
        unsetenv("PLINX_DRAW_WHOLE_FRAMES");
    std::vector<std::vector<uint32_t>> frames;
    PlatWindow *window = OpenWindow("Damage", width, height);
    GLDevice gl;
    PlatD3dDevice *device = window && gl.Open(width, height, window) ? gl.device : nullptr;
    PlatD3dTexture *texture = nullptr, *button = nullptr;
    if (device)
    {
        // A button's face: opaque inside a see-through rim, each texel its own colour.
        EXPECT_EQ(PlatD3dDeviceCreateTexture(device, 16, 16, 1, 0, PLAT_FMT_A8R8G8B8, PLAT_POOL_MANAGED, &button),
                  PLAT_D3D_OK);
        PlatD3dLockedRect face;
        if (button && PlatD3dTextureLockRect(button, 0, &face, nullptr, 0) == PLAT_D3D_OK)
        {
            for (int y = 0; y < 16; y++)
                for (int x = 0; x < 16; x++)
                {
                    const bool rim = x == 0 || y == 0 || x == 15 || y == 15;
                    ((uint32_t *)((uint8_t *)face.bits + y * face.pitch))[x] =
                        (rim ? 0x70000000u : 0xFF000000u) | (uint32_t)(x * 0x0F0B00 + y * 0x11);
                }
            PlatD3dTextureUnlockRect(button, 0);
        }
        // Texels that differ from their neighbours, so that filtering mixes them.
        EXPECT_EQ(PlatD3dDeviceCreateTexture(device, 8, 8, 1, 0, PLAT_FMT_A8R8G8B8, PLAT_POOL_MANAGED, &texture),
                  PLAT_D3D_OK);
        PlatD3dLockedRect locked;
        if (texture && PlatD3dTextureLockRect(texture, 0, &locked, nullptr, 0) == PLAT_D3D_OK)
        {
            uint32_t seed = 777;
            for (int y = 0; y < 8; y++)
                for (int x = 0; x < 8; x++)
                {
                    seed = seed * 1103515245u + 12345u;
                    ((uint32_t *)((uint8_t *)locked.bits + y * locked.pitch))[x] = seed | 0x80000000u;
                }
            PlatD3dTextureUnlockRect(texture, 0);
        }
    }
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
        // The sparkles' own blending, as in a menu: the background and they do not share
        // a run of draws.
        PlatD3dDeviceSetRenderState(device, PLAT_RS_DESTBLEND, PLAT_BLEND_INVSRCALPHA);
        // Frames 3 and 4 show the same picture; the others move the sparkles.
        float step = (float)(frame == 4 ? 3 : frame);
        Quad(&sparkles, 10 + 7 * step, 20 + 3 * step, 9, 9, 0xC0FFFF80u, 0x80FFFFFFu);
        Quad(&sparkles, 120 - 5 * step, 90 - 2 * step, 11.5f, 7.5f, 0x9080FFFFu, 0xE0FFFFFFu);
        Quad(&sparkles, 140, 10, 6, 6, 0xFFFFFFFFu, 0xFFFFFFFFu);
        DrawList(device, sparkles);
        // A sparkle of its own in one of the frames drawn in areas: the draws round it
        // no longer pair with the frame before's.
        if (frame == 5)
        {
            std::vector<Vertex> born;
            Quad(&born, 132.5f, 96, 7, 7, 0xE0FFFFFFu, 0xE0FFFFFFu);
            DrawList(device, born);
        }
        DrawTurned(device, texture, step);
        // A still, see-through square of one colour on the turned squares' path: cut
        // across by their areas, each of its pieces must stay inside its own.
        std::vector<Vertex> still;
        Quad(&still, 85.5f, 70, 64, 37.5f, 0x50FF00FFu, 0x50FF00FFu);
        DrawList(device, still);
        // An opaque button over the paths of a sparkle and a turned square: what changes
        // under its inside is left out of the areas, what changes under its rim is not.
        const TexturedVertex face[6] = {{96, 74.5f, 0, 1, ~0u, 0, 0},  {144, 74.5f, 0, 1, ~0u, 1, 0},
                                        {96, 104, 0, 1, ~0u, 0, 1},    {144, 74.5f, 0, 1, ~0u, 1, 0},
                                        {144, 104, 0, 1, ~0u, 1, 1},   {96, 104, 0, 1, ~0u, 0, 1}};
        PlatD3dDeviceSetTexture(device, 0, button);
        PlatD3dDeviceSetFVF(device, PLAT_FVF_XYZRHW | PLAT_FVF_DIFFUSE | PLAT_FVF_TEX1);
        EXPECT_EQ(PlatD3dDeviceDrawPrimitiveUP(device, PLAT_PT_TRIANGLELIST, 2, face, sizeof(TexturedVertex)),
                  PLAT_D3D_OK);
        PlatD3dDeviceSetTexture(device, 0, nullptr);
        PlatD3dDeviceSetFVF(device, PLAT_FVF_XYZRHW | PLAT_FVF_DIFFUSE);
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
        PlatD3dDeviceGetDamageStats(device, stats);
    for (PlatD3dTexture *made : {texture, button})
        if (made)
            PlatD3dTextureRelease(made);
    gl.Close();
    if (window)
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
    // A triangle cut in pieces has its texture coordinates worked out again at the cuts:
    // a texel's share may round the other way in a rare pixel, one step off in a channel.
    // A piece too many or too few (a pixel blended twice or not at all) is further off,
    // or off along a whole edge.
    auto offBy = [](uint32_t a, uint32_t b) {
        int most = 0;
        for (int shift = 0; shift < 32; shift += 8)
            most = std::max(most, std::abs((int)(a >> shift & 0xFF) - (int)(b >> shift & 0xFF)));
        return most;
    };
    for (size_t frame = 0; frame < whole.size(); frame++)
    {
        int wrong = 0, rounded = 0;
        for (size_t i = 0; i < whole[frame].size(); i++)
        {
            int off = offBy(whole[frame][i], partial[frame][i]);
            rounded += off == 1;
            if (off > 1 && wrong++ < 3)
                ADD_FAILURE() << "frame " << frame << " pixel " << i % 160 << "," << i / 160 << ": "
                              << std::hex << partial[frame][i] << " not " << whole[frame][i];
        }
        EXPECT_EQ(wrong, 0) << "frame " << frame;
        EXPECT_LE(rounded, 4) << "frame " << frame;
    }
    // The first two frames whole (the device's first states arrive with the first), the
    // repeated one not drawn, the other moves in their areas; the fourth whole as well,
    // to keep the still background (the same first calls in two comparisons running),
    // and the sixth's areas start from it; the frames with and after the scissor differ
    // from the one before in their calls, so they are whole.
    EXPECT_EQ(damageStats.unchangedFrames, 1u);
    EXPECT_EQ(damageStats.partialFrames, 2u);
    EXPECT_EQ(damageStats.wholeFrames, 5u);
    EXPECT_EQ(damageStats.layerFrames, 1u);
    EXPECT_LT(damageStats.lastPixels, 160u * 120u / 2u);
    EXPECT_GT(damageStats.hiddenTiles, 0u);
    // Draws of one colour went out cut to the areas, the shaded ones by the scissor.
    EXPECT_GT(damageStats.cutDraws, 0u);
    EXPECT_GT(damageStats.scissoredDraws, 0u);
}
