// The damage executor over the recorder: what reaches the inner executor when a frame
// changes in a small area, when a texture changes while a frame is drawn, and when a
// fence is waited on before the frame is shown.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "PlatD3dExecutor.h"

namespace
{

struct Vertex
{
    float x, y, z, rhw;
    uint32_t colour;
};

std::vector<Vertex> Quad(float x, float y, float w, float h)
{
    return {{x, y, 0, 1, ~0u}, {x + w, y, 0, 1, ~0u}, {x, y + h, 0, 1, ~0u},
            {x + w, y, 0, 1, ~0u}, {x + w, y + h, 0, 1, ~0u}, {x, y + h, 0, 1, ~0u}};
}

class PlatD3dDamageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        recorder = new PlatD3dRecorder();
        executor = PlatD3dCreateDamageExecutor(recorder, 320, 240);
        executor->SetViewport({0, 0, 320, 240, 0.0f, 1.0f});
        executor->SetRenderState(PLAT_RS_SCISSORTESTENABLE, 0);
    }
    void TearDown() override { delete executor; }

    void Draw(const std::vector<Vertex> &vertices)
    {
        executor->Draw(PLAT_PT_TRIANGLELIST, PLAT_FVF_XYZRHW | PLAT_FVF_DIFFUSE, sizeof(Vertex), vertices.data(),
                       (uint32_t)vertices.size());
    }
    // A screen-wide background, a texture, and a small quad at x.
    void Frame(float x)
    {
        executor->BeginScene();
        executor->SetTexture(0, 0);
        Draw(Quad(0, 0, 320, 240));
        executor->SetTexture(0, texture);
        Draw(Quad(x, 100, 10, 10));
        executor->EndScene();
    }
    std::vector<PlatD3dRecord> Sent(PlatD3dRecordKind kind)
    {
        std::vector<PlatD3dRecord> found;
        for (const PlatD3dRecord &record : recorder->records)
            if (record.kind == kind)
                found.push_back(record);
        return found;
    }

    PlatD3dRecorder *recorder = nullptr;
    PlatD3dExecutor *executor = nullptr;
    uint32_t texture = 0;
};

TEST_F(PlatD3dDamageTest, AMovedQuadRedrawsOnlyItsOldAndNewPlaceAndTheScissorIsLeftAsSet)
{
    texture = executor->CreateTexture(8, 8, PLAT_FMT_A8R8G8B8);
    // The first frame carries the set-up's states: the second is the first to compare.
    for (int frame = 0; frame < 3; frame++)
    {
        Frame(40);
        EXPECT_TRUE(executor->Present());
    }
    recorder->Clear();
    Frame(60);
    EXPECT_TRUE(executor->Present());
    PlatD3dDamageStats stats = {};
    ASSERT_TRUE(PlatD3dGetDamageStats(executor, &stats));
    EXPECT_EQ(stats.wholeFrames, 2u);
    EXPECT_EQ(stats.unchangedFrames, 1u);
    EXPECT_EQ(stats.partialFrames, 1u);
    // Two areas, the old place and the new, in whole tiles with a margin: the background
    // in each, and the quad in the new one, each cut to the part it covers; then the
    // frame's own rectangle again.
    EXPECT_EQ(stats.lastAreas, 2u);
    std::vector<PlatD3dRecord> scissors = Sent(PLAT_REC_SCISSOR);
    ASSERT_EQ(scissors.size(), 4u);
    const PlatD3dRect &before = scissors[0].rect, &after = scissors[1].rect;
    EXPECT_LE(before.left, 39);
    EXPECT_GE(before.right, 51);
    EXPECT_LE(after.left, 59);
    EXPECT_GE(after.right, 71);
    for (const PlatD3dRect *area : {&before, &after})
    {
        EXPECT_LE(area->top, 99);
        EXPECT_GE(area->bottom, 111);
        EXPECT_LE((area->right - area->left) * (area->bottom - area->top), 16 * 16);
    }
    EXPECT_EQ(Sent(PLAT_REC_DRAW).size(), 3u);
    // Afterwards the scissor is the frame's own: off, and the rectangle it last set.
    const PlatD3dRecord *enable = nullptr;
    for (const PlatD3dRecord &record : recorder->records)
        if (record.kind == PLAT_REC_RENDER_STATE && record.a == PLAT_RS_SCISSORTESTENABLE)
            enable = &record;
    ASSERT_NE(enable, nullptr);
    EXPECT_EQ(enable->b, 0u);
    EXPECT_EQ(recorder->records.back().kind, PLAT_REC_PRESENT);
}

TEST_F(PlatD3dDamageTest, ATextureChangedWhileAFrameIsDrawnSendsTheDrawsBeforeItFirst)
{
    texture = executor->CreateTexture(8, 8, PLAT_FMT_A8R8G8B8);
    std::vector<uint32_t> pixels(64, 0xFF00FF00u);
    for (int round = 0; round < 2; round++)
    {
        recorder->Clear();
        Frame(40);
        executor->UpdateTexture(texture, pixels.data());
        Frame(40);
        EXPECT_TRUE(executor->Present());
        std::vector<PlatD3dRecordKind> kinds;
        for (const PlatD3dRecord &record : recorder->records)
            if (record.kind == PLAT_REC_DRAW || record.kind == PLAT_REC_UPDATE_TEXTURE)
                kinds.push_back(record.kind);
        EXPECT_EQ(kinds, (std::vector<PlatD3dRecordKind>{PLAT_REC_DRAW, PLAT_REC_DRAW, PLAT_REC_UPDATE_TEXTURE,
                                                         PLAT_REC_DRAW, PLAT_REC_DRAW}))
            << "round " << round;
    }
    // The same calls again: still drawn whole, as the frame before went out in two parts.
    PlatD3dDamageStats stats = {};
    ASSERT_TRUE(PlatD3dGetDamageStats(executor, &stats));
    EXPECT_EQ(stats.partialFrames + stats.unchangedFrames, 0u);
}

TEST_F(PlatD3dDamageTest, WaitingOnAFenceOfTheFrameSendsItFirstAndDrawingOnAfterwardsMakesTheNextWhole)
{
    uint32_t fence = executor->CreateFence(), old = executor->CreateFence();
    for (int frame = 0; frame < 3; frame++)
    {
        recorder->Clear();
        Frame(40);
        executor->IssueFence(fence);
        // A fence of another frame does not send this one.
        EXPECT_TRUE(executor->IsFenceDone(old, false));
        EXPECT_EQ(Sent(PLAT_REC_DRAW).size(), 0u);
        EXPECT_TRUE(executor->WaitFence(fence, 1.0));
        EXPECT_EQ(Sent(PLAT_REC_DRAW).size(), frame == 2 ? 0u : 2u) << "frame " << frame;
        EXPECT_TRUE(executor->Present());
    }
    // A frame read back half-way and then drawn on goes out in two parts, and the one
    // after it, the same as the one before, is drawn whole.
    Frame(40);
    std::vector<uint32_t> pixels(320 * 240);
    executor->ReadBackBuffer(pixels.data(), 320, 240);
    Frame(40);
    EXPECT_TRUE(executor->Present());
    recorder->Clear();
    Frame(40);
    EXPECT_TRUE(executor->Present());
    EXPECT_EQ(Sent(PLAT_REC_DRAW).size(), 2u);
}

TEST_F(PlatD3dDamageTest, ADrawBornOrGoneRedrawsTheDrawsBetweenTheSameCalls)
{
    texture = executor->CreateTexture(8, 8, PLAT_FMT_A8R8G8B8);
    // The background, then a run of quads with no other call between them: two, three
    // (one born far to the right), two again.
    auto frame = [&](int quads) {
        executor->BeginScene();
        executor->SetTexture(0, 0);
        Draw(Quad(0, 0, 320, 240));
        executor->SetTexture(0, texture);
        const float xs[3] = {40, 100, 200};
        for (int q = 0; q < quads; q++)
            Draw(Quad(xs[q], 100, 10, 10));
        executor->EndScene();
        EXPECT_TRUE(executor->Present());
    };
    for (int i = 0; i < 3; i++)
        frame(2);
    for (int quads : {3, 2})
    {
        recorder->Clear();
        frame(quads);
        PlatD3dDamageStats stats = {};
        ASSERT_TRUE(PlatD3dGetDamageStats(executor, &stats));
        EXPECT_EQ(stats.wholeFrames, 2u) << quads;
        EXPECT_EQ(stats.lastAreas, 3u) << quads;
        EXPECT_LE(stats.lastPixels, 3u * 16u * 16u) << quads;
    }
}

TEST_F(PlatD3dDamageTest, TheStillStartOfAFrameIsKeptAsALayerAndItsAreasStartFromIt)
{
    recorder->keepsLayer = true;
    texture = executor->CreateTexture(8, 8, PLAT_FMT_A8R8G8B8);
    const float xs[] = {40, 44, 48, 52, 56};
    for (float x : xs)
    {
        Frame(x);
        EXPECT_TRUE(executor->Present());
    }
    // Frames 1 and 2 found the background the same: the third is drawn whole and the
    // layer kept after the background; the areas of the next start from it.
    PlatD3dDamageStats stats = {};
    ASSERT_TRUE(PlatD3dGetDamageStats(executor, &stats));
    EXPECT_EQ(recorder->CountKind(PLAT_REC_KEEP_LAYER), 1);
    EXPECT_EQ(stats.layerFrames, 1u);
    recorder->Clear();
    Frame(60);
    EXPECT_TRUE(executor->Present());
    EXPECT_EQ(Sent(PLAT_REC_RESTORE_LAYER).size(), 1u);
    // Only the quad is drawn: the background comes from the layer.
    EXPECT_EQ(Sent(PLAT_REC_DRAW).size(), 1u);
    // Another background: the layer no longer holds.
    recorder->Clear();
    executor->BeginScene();
    executor->SetTexture(0, 0);
    Draw(Quad(0, 0, 320, 200));
    executor->SetTexture(0, texture);
    Draw(Quad(64, 100, 10, 10));
    executor->EndScene();
    EXPECT_TRUE(executor->Present());
    EXPECT_EQ(Sent(PLAT_REC_RESTORE_LAYER).size(), 0u);
}

// With the depth test off, a draw whose corners share one colour goes out once, its
// triangles cut to the areas (every corner within them, where pixel centres lie on whole
// numbers), and with the cut draws next to it in one call; a draw shaded from corner to
// corner goes out once per area, by the scissor. A changed draw lies in the areas whole:
// it goes out as it is, next to the cut draws.
TEST(PlatD3dDamageCutTest, DrawsOfOneColourAreCutToTheAreasAndShadedOnesScissored)
{
    struct Case
    {
        const char *name;
        uint32_t otherColour; // of the background's last corner
        uint32_t zEnable;
        bool turnedBackground; // its outer edges slanted: a cut would shorten them
        size_t draws, scissors;
        uint64_t cut, scissored;
    } cases[] = {
        {"one colour", ~0u, 0, false, 1, 2, 2, 0},
        {"shaded", 0xFF102030u, 0, false, 3, 4, 1, 1},
        {"depth tested", ~0u, 1, false, 3, 4, 1, 1},
        {"slanted outer edges", ~0u, 0, true, 3, 4, 1, 1},
    };
    for (const Case &row : cases)
    {
        SCOPED_TRACE(row.name);
        PlatD3dRecorder *recorder = new PlatD3dRecorder();
        PlatD3dExecutor *executor = PlatD3dCreateDamageExecutor(recorder, 320, 240);
        executor->SetViewport({0, 0, 320, 240, 0.0f, 1.0f});
        executor->SetRenderState(PLAT_RS_SCISSORTESTENABLE, 0);
        executor->SetRenderState(PLAT_RS_ZENABLE, row.zEnable);
        auto frame = [&](float x) {
            executor->BeginScene();
            std::vector<Vertex> background = Quad(0, 0, 320, 240), moving = Quad(x, 100.25f, 10, 10);
            background[4].colour = row.otherColour;
            if (row.turnedBackground)
            {
                // Corners top left, top right, bottom left, top right, bottom right, bottom left.
                const float xs[6] = {-40, 340, -20, 340, 360, -20}, ys[6] = {-20, -40, 280, -40, 260, 280};
                for (int k = 0; k < 6; k++)
                {
                    background[k].x = xs[k];
                    background[k].y = ys[k];
                }
            }
            for (const std::vector<Vertex> *draw : {&background, &moving})
                executor->Draw(PLAT_PT_TRIANGLELIST, PLAT_FVF_XYZRHW | PLAT_FVF_DIFFUSE, sizeof(Vertex),
                               draw->data(), (uint32_t)draw->size());
            executor->EndScene();
            EXPECT_TRUE(executor->Present());
        };
        for (int i = 0; i < 3; i++)
            frame(40);
        recorder->Clear();
        frame(60.5f);
        PlatD3dDamageStats stats = {};
        ASSERT_TRUE(PlatD3dGetDamageStats(executor, &stats));
        EXPECT_EQ(stats.partialFrames, 1u);
        EXPECT_EQ(stats.lastAreas, 2u);
        EXPECT_EQ(stats.cutDraws, row.cut);
        EXPECT_EQ(stats.scissoredDraws, row.scissored);
        size_t draws = 0, scissors = 0;
        for (const PlatD3dRecord &record : recorder->records)
        {
            scissors += record.kind == PLAT_REC_SCISSOR;
            if (record.kind != PLAT_REC_DRAW)
                continue;
            draws++;
            // Every corner sent lies in the old place or the new, with their margins.
            for (size_t at = 0; at + sizeof(Vertex) <= record.vertices.size(); at += sizeof(Vertex))
            {
                Vertex corner;
                memcpy(&corner, record.vertices.data() + at, sizeof(corner));
                const bool old = corner.x >= 39 - 4.5f && corner.x <= 50 + 4.5f;
                const bool now = corner.x >= 59.5f - 4.5f && corner.x <= 71 + 4.5f;
                EXPECT_TRUE(old || now || row.scissored > 0) << corner.x;
                EXPECT_TRUE((corner.y >= 99 - 4.5f && corner.y <= 111 + 4.5f) || row.scissored > 0) << corner.y;
            }
        }
        // Scissors: the whole screen once for the cut draws, each area for the others,
        // and the frame's own rectangle put back at the end.
        EXPECT_EQ(draws, row.draws);
        EXPECT_EQ(scissors, row.scissors);
        delete executor;
    }
}

struct TexturedVertex
{
    float x, y, z, rhw;
    uint32_t colour;
    float u, v;
};

// A quad of two triangles as a list, its texture coordinates from (u0, v0) to (u1, v1).
std::vector<TexturedVertex> TexturedQuad(float x, float y, float w, float h, uint32_t colour, float u0 = 0,
                                         float v0 = 0, float u1 = 1, float v1 = 1)
{
    const TexturedVertex tl = {x, y, 0, 1, colour, u0, v0}, tr = {x + w, y, 0, 1, colour, u1, v0},
                         bl = {x, y + h, 0, 1, colour, u0, v1}, br = {x + w, y + h, 0, 1, colour, u1, v1};
    return {tl, tr, bl, tr, br, bl};
}

// Damage under a later draw that leaves nothing of what it covers (an opaque button over
// sparkles) is left out of the areas; a draw that may let any of it through, or that
// comes before the change, hides nothing.
TEST(PlatD3dDamageHideTest, DamageUnderALaterOpaqueDrawIsLeftOut)
{
    enum Texture
    {
        BORDERED, // see-through border, opaque inside
        HOLED,    // the same with a see-through texel in the middle
        NONE,
    };
    struct Case
    {
        const char *name;
        Texture texture;
        uint32_t colour; // of the cover's corners
        uint32_t blend, cull, zEnable, address;
        bool coverFirst;   // drawn before the moving quad
        bool turned;       // the cover's corners off the screen's axes
        float uSpan;       // texture coordinates across the cover
        bool hides;        // all of the moving quad's damage
        bool partly;       // some of it
    } cases[] = {
        {"opaque inside a see-through border", BORDERED, ~0u, 1, PLAT_CULL_NONE, 0, PLAT_TADDRESS_CLAMP, false, false, 1, true, true},
        {"untextured and opaque", NONE, ~0u, 1, PLAT_CULL_CCW, 0, PLAT_TADDRESS_CLAMP, false, false, 1, true, true},
        {"blending off, texels see-through", HOLED, 0x10FFFFFFu, 0, PLAT_CULL_NONE, 0, PLAT_TADDRESS_WRAP, false, false, 1, true, true},
        // Only the rows above the see-through texel hide.
        {"a see-through texel in the middle", HOLED, ~0u, 1, PLAT_CULL_NONE, 0, PLAT_TADDRESS_CLAMP, false, false, 1, false, true},
        {"corners' alpha below one", NONE, 0xFEFFFFFFu, 1, PLAT_CULL_NONE, 0, PLAT_TADDRESS_CLAMP, false, false, 1, false, false},
        {"culled", BORDERED, ~0u, 1, PLAT_CULL_CW, 0, PLAT_TADDRESS_CLAMP, false, false, 1, false, false},
        {"depth tested", BORDERED, ~0u, 1, PLAT_CULL_NONE, 1, PLAT_TADDRESS_CLAMP, false, false, 1, false, false},
        {"drawn before the change", BORDERED, ~0u, 1, PLAT_CULL_NONE, 0, PLAT_TADDRESS_CLAMP, true, false, 1, false, false},
        {"turned", NONE, ~0u, 1, PLAT_CULL_NONE, 0, PLAT_TADDRESS_CLAMP, false, true, 1, false, false},
        // Twice across, wrapped round: the see-through seam in the middle stays.
        {"texture wrapped round", BORDERED, ~0u, 1, PLAT_CULL_NONE, 0, PLAT_TADDRESS_WRAP, false, false, 2, false, true},
    };
    for (const Case &row : cases)
    {
        SCOPED_TRACE(row.name);
        PlatD3dRecorder *recorder = new PlatD3dRecorder();
        PlatD3dExecutor *executor = PlatD3dCreateDamageExecutor(recorder, 320, 240);
        uint32_t textures[2];
        for (int which = 0; which < 2; which++)
        {
            textures[which] = executor->CreateTexture(16, 16, PLAT_FMT_A8R8G8B8);
            uint32_t texels[16 * 16];
            for (int y = 0; y < 16; y++)
                for (int x = 0; x < 16; x++)
                {
                    const bool border = x == 0 || y == 0 || x == 15 || y == 15;
                    const bool hole = which == HOLED && x == 8 && y == 8;
                    texels[y * 16 + x] = (border || hole ? 0x80000000u : 0xFF000000u) | (uint32_t)(x * 16 + y);
                }
            executor->UpdateTexture(textures[which], texels);
        }
        // The states a device starts with, and the case's own.
        executor->SetViewport({0, 0, 320, 240, 0.0f, 1.0f});
        executor->SetScissorRect({0, 0, 320, 240});
        executor->SetMaterial({});
        const std::pair<PlatD3dRenderState, uint32_t> states[] = {
            {PLAT_RS_ZENABLE, row.zEnable},
            {PLAT_RS_ALPHABLENDENABLE, row.blend},
            {PLAT_RS_SRCBLEND, PLAT_BLEND_SRCALPHA},
            {PLAT_RS_DESTBLEND, PLAT_BLEND_INVSRCALPHA},
            {PLAT_RS_CULLMODE, row.cull},
            {PLAT_RS_LIGHTING, 0},
            {PLAT_RS_SCISSORTESTENABLE, 0},
            {PLAT_RS_DIFFUSEMATERIALSOURCE, PLAT_MCS_COLOR1},
        };
        for (const auto &[state, value] : states)
            executor->SetRenderState(state, value);
        executor->SetTextureStageState(0, PLAT_TSS_COLOROP, PLAT_TOP_MODULATE);
        executor->SetTextureStageState(0, PLAT_TSS_ALPHAOP, PLAT_TOP_MODULATE);
        executor->SetTextureStageState(0, PLAT_TSS_ALPHAARG1, PLAT_TA_TEXTURE);
        executor->SetTextureStageState(0, PLAT_TSS_ALPHAARG2, PLAT_TA_DIFFUSE);
        executor->SetSamplerState(0, PLAT_SAMP_ADDRESSU, row.address);
        executor->SetSamplerState(0, PLAT_SAMP_ADDRESSV, row.address);
        executor->SetSamplerState(0, PLAT_SAMP_MAGFILTER, PLAT_TEXF_LINEAR);
        executor->SetSamplerState(0, PLAT_SAMP_MINFILTER, PLAT_TEXF_LINEAR);
        auto frame = [&](float x) {
            executor->BeginScene();
            executor->SetTexture(0, 0);
            std::vector<Vertex> background = Quad(0, 0, 320, 240), moving = Quad(x, 104, 8, 8);
            executor->Draw(PLAT_PT_TRIANGLELIST, PLAT_FVF_XYZRHW | PLAT_FVF_DIFFUSE, sizeof(Vertex),
                           background.data(), (uint32_t)background.size());
            const uint32_t fvf = PLAT_FVF_XYZRHW | PLAT_FVF_DIFFUSE | PLAT_FVF_TEX1;
            std::vector<TexturedVertex> cover = TexturedQuad(40, 90, 60, 40, row.colour, 0, 0, row.uSpan, 1);
            if (row.turned)
                cover[1].x += 0.5f;
            auto drawCover = [&]() {
                executor->SetTexture(0, row.texture == NONE ? 0 : textures[row.texture]);
                executor->Draw(PLAT_PT_TRIANGLELIST, fvf, sizeof(TexturedVertex), cover.data(),
                               (uint32_t)cover.size());
                executor->SetTexture(0, 0);
            };
            if (row.coverFirst)
                drawCover();
            executor->Draw(PLAT_PT_TRIANGLELIST, PLAT_FVF_XYZRHW | PLAT_FVF_DIFFUSE, sizeof(Vertex), moving.data(),
                           (uint32_t)moving.size());
            if (!row.coverFirst)
                drawCover();
            executor->EndScene();
            EXPECT_TRUE(executor->Present());
        };
        for (int i = 0; i < 3; i++)
            frame(60);
        frame(64);
        PlatD3dDamageStats stats = {};
        ASSERT_TRUE(PlatD3dGetDamageStats(executor, &stats));
        // Hidden: the moving quad changes nothing on the screen, and the frame is the
        // same picture.
        EXPECT_EQ(stats.unchangedFrames, row.hides ? 2u : 1u);
        EXPECT_EQ(stats.partialFrames, row.hides ? 0u : 1u);
        EXPECT_EQ(stats.hiddenTiles > 0, row.partly);
        // Crossing the cover's see-through border: the part over the border is drawn.
        if (row.hides && row.texture == BORDERED)
        {
            frame(38);
            ASSERT_TRUE(PlatD3dGetDamageStats(executor, &stats));
            EXPECT_EQ(stats.partialFrames, 1u);
            EXPECT_GT(stats.lastPixels, 0u);
            EXPECT_LT(stats.lastPixels, 16u * 16u);
        }
        delete executor;
    }
}

} // namespace
