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
// corner goes out once per area, by the scissor.
TEST(PlatD3dDamageCutTest, DrawsOfOneColourAreCutToTheAreasAndShadedOnesScissored)
{
    struct Case
    {
        const char *name;
        uint32_t otherColour; // of the moving quad's last corner
        uint32_t zEnable;
        bool turnedBackground; // its outer edges slanted: a cut would shorten them
        size_t draws, scissors;
        uint64_t cut, scissored;
    } cases[] = {
        {"one colour", ~0u, 0, false, 1, 2, 2, 0},
        {"shaded", 0xFF102030u, 0, false, 2, 3, 1, 1},
        {"depth tested", ~0u, 1, false, 3, 4, 0, 2},
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
            moving[4].colour = row.otherColour;
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

} // namespace
