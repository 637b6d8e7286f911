// The four-vertex quad: corner positions of both kinds, skipped rewrites, colours and
// the refused types, read from the vertices that reach the recorder's draws.
#include "DeviceFixture.h"

#include "EngVertexBufferDX9.h"

namespace
{

using devicetest::DeviceTest;

class EngVertexBufferTest : public DeviceTest
{
protected:
    void SetUp() override
    {
        DeviceTest::SetUp();
        ASSERT_TRUE(MakeDevice());
        ASSERT_TRUE(device->BeginRendering());
    }
    void TearDown() override
    {
        quad.Release();
        DeviceTest::TearDown();
    }
    // The vertices of the last draw, as floats.
    std::vector<float> Drawn()
    {
        recorder->Clear();
        quad.Draw();
        const PlatD3dRecord *draw = recorder->Last(PLAT_REC_DRAW);
        EXPECT_NE(draw, nullptr);
        if (!draw)
            return {};
        std::vector<float> floats(draw->vertices.size() / 4);
        memcpy(floats.data(), draw->vertices.data(), floats.size() * 4);
        return floats;
    }
    uint32_t DrawnColour(int vertex, int offset)
    {
        std::vector<float> floats = Drawn();
        uint32_t colour = 0;
        memcpy(&colour, (const uint8_t *)floats.data() + vertex * strideBytes + offset, 4);
        return colour;
    }
    EngVertexBufferDX9 quad{"quad"};
    int strideBytes = 0;
};

TEST_F(EngVertexBufferTest, CornersOfWorldAndPixelQuads)
{
    struct Case
    {
        _EngVertexBufferType type;
        int stride; // floats
        float corners[4][2];
    } cases[] = {
        {EVBT_POS_TEX, 5, {{10, -70}, {10, -20}, {110, -70}, {110, -20}}},
        {EVBT_POS_TEX_2D, 6, {{9.5f, 70.5f}, {9.5f, 19.5f}, {110.5f, 70.5f}, {110.5f, 19.5f}}},
    };
    for (const Case &c : cases)
    {
        SCOPED_TRACE(c.type);
        ASSERT_TRUE(quad.Create(c.type, nullptr));
        quad.SetPositions(10, 20, 100, 50);
        std::vector<float> v = Drawn();
        ASSERT_EQ(v.size(), (size_t)(4 * c.stride));
        for (int i = 0; i < 4; i++)
        {
            EXPECT_EQ(v[i * c.stride + 0], c.corners[i][0]);
            EXPECT_EQ(v[i * c.stride + 1], c.corners[i][1]);
        }
        // Texture coordinates in corner order: (0,1), (0,0), (1,1), (1,0).
        EXPECT_EQ(v[0 * c.stride + c.stride - 1], 1.0f);
        EXPECT_EQ(v[1 * c.stride + c.stride - 1], 0.0f);
        EXPECT_EQ(v[2 * c.stride + c.stride - 2], 1.0f);
    }
}

TEST_F(EngVertexBufferTest, SameValuesDoNotRewriteUnlessCornersChangedSince)
{
    ASSERT_TRUE(quad.Create(EVBT_POS_TEX, nullptr));
    quad.SetPositions(1, 2, 3, 4);
    _Vector3d a = {0, 0, 0}, b = {5, 5, 5};
    quad.SetPositions3dVec3(0, &a, &b);
    std::vector<float> v = Drawn();
    EXPECT_EQ(v[0], 5.0f);
    // The same rectangle again after 3D corners: written again.
    quad.SetPositions(1, 2, 3, 4);
    v = Drawn();
    EXPECT_EQ(v[0], 1.0f);
    EXPECT_EQ(v[1], -6.0f);
    // The same rectangle once more: skipped (the 3D corners stay kept values only).
    quad.SetPositions3dVec3(0, &a, &b);
    quad.SetPositions(1, 2, 3, 4);
    EXPECT_EQ(Drawn()[0], 1.0f);
}

TEST_F(EngVertexBufferTest, ColoursKeepAndHoldAtFullBytes)
{
    ASSERT_TRUE(quad.Create(EVBT_POS_COL_TEX, nullptr));
    strideBytes = 24;
    EXPECT_EQ(DrawnColour(0, 12), 0xFFFFFFFFu);
    quad.SetColour(0.0f, 0.5f, 1.0f, 1.0f);
    quad.SetColour(-1.0f, 0.0f, 0.0f, 0.5f);
    EXPECT_EQ(DrawnColour(3, 12), 0x7F007FFFu);
    // Above 1 is full red, not wrapped round to dark.
    quad.SetColour(1.5f, 0.0f, 0.0f, 1.0f);
    EXPECT_EQ(DrawnColour(1, 12) & 0x00FF0000u, 0x00FF0000u);
}

TEST_F(EngVertexBufferTest, RefusedTypesAndUncreatedQuads)
{
    EXPECT_FALSE(quad.Create((_EngVertexBufferType)10, nullptr));
    EXPECT_TRUE(LogHas("Invalid Type: 10"));
    quad.SetPositions(0, 0, 1, 1);
    quad.Draw();
    EXPECT_EQ(recorder->CountKind(PLAT_REC_DRAW), 0);
    ASSERT_TRUE(quad.Create(EVBT_POS_COL_2D, nullptr));
    _Vector3d a = {0, 0, 0}, b = {1, 1, 1};
    quad.SetPositions3dVec3(0, &a, &b);
    EXPECT_TRUE(LogHas("Not supported for 2D Textures (3) (could be upgraded if needed)"));
    ASSERT_TRUE(quad.Create(EVBT_POS_TEX, nullptr));
    EXPECT_TRUE(LogHas("Warning - Already created"));
}

} // namespace
