// Triangle lists: vertex layouts, design-space corners, colours and refusals.
#include <gtest/gtest.h>

#include "EngTriangleList.h"
#include "RenderTestkit.h"

namespace
{
class TriangleListTest : public rendertest::RenderTest
{
protected:
    EngTriangleList triangles;
};
} // namespace

TEST_F(TriangleListTest, LayoutsStartWhiteWithTheirCorners)
{
    struct Row
    {
        int type;
        uint32_t stride;
        int colour, texture; // byte offsets, -1 none
    };
    const Row rows[] = {{2, 20, -1, 12}, {3, 32, -1, 24}, {4, 28, 24, -1},
                        {5, 24, 12, 16}, {6, 36, 24, 28}, {7, 16, 12, -1}};
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.type);
        ASSERT_TRUE(triangles.Create(row.type, nullptr, 3));
        triangles.SetTextureCoordinates_DX9(2, 0.25f, 0.25f, 0.5f, 0.5f, 0.75f, 0.75f);
        recorder->Clear();
        triangles.Draw();
        auto draws = rendertest::Draws(recorder);
        ASSERT_EQ(1u, draws.size());
        EXPECT_EQ(PLAT_PT_TRIANGLELIST, draws[0]->a);
        EXPECT_EQ(row.stride, draws[0]->c);
        ASSERT_EQ(9u, draws[0]->vertexCount);
        if (row.colour >= 0)
        {
            EXPECT_EQ(0xFFFFFFFFu, rendertest::VertexColour(draws[0], 4, row.colour));
        }
        if (row.texture >= 0)
        {
            std::vector<float> second = rendertest::VertexFloats(draws[0], 1, row.texture / 4 + 2);
            EXPECT_FLOAT_EQ(0.5f, second[row.texture / 4]);
            EXPECT_FLOAT_EQ(1.0f, second[row.texture / 4 + 1]);
            std::vector<float> set = rendertest::VertexFloats(draws[0], 7, row.texture / 4 + 2);
            EXPECT_FLOAT_EQ(0.5f, set[row.texture / 4 + 1]);
        }
    }
}

TEST_F(TriangleListTest, CornersAndColours)
{
    ASSERT_TRUE(triangles.Create(ENG_TRIANGLES_COL, nullptr, 5));
    triangles.SetPositions(0, 0, 0, 0, 640, 480, 0, 320, 0, 0.5f);
    triangles.SetColour(1, 1.0f, 0.5f, 0.0f, 2.0f);
    triangles.SetColour(5, 1, 1, 1, 1);
    EXPECT_TRUE(LogHas("Invalid Triangle 5 (num=5)"));
    triangles.SetColour(0, 1, 1, 1, -0.1f);
    EXPECT_TRUE(LogHas("Invalid values"));
    recorder->Clear();
    triangles.Draw();
    auto draws = rendertest::Draws(recorder);
    ASSERT_EQ(1u, draws.size());
    const float expected[3][3] = {{-1, 1, 0}, {1, -1, 0}, {0, 1, 0.5f}};
    for (int i = 0; i < 3; i++)
    {
        std::vector<float> corner = rendertest::VertexFloats(draws[0], i, 3);
        EXPECT_FLOAT_EQ(expected[i][0], corner[0]);
        EXPECT_FLOAT_EQ(expected[i][1], corner[1]);
        EXPECT_FLOAT_EQ(expected[i][2], corner[2]);
        EXPECT_EQ(0xFFFFFFFFu, rendertest::VertexColour(draws[0], i, 12));
        // Above 1 is full, not wrapped round.
        EXPECT_EQ(0xFFFF7F00u, rendertest::VertexColour(draws[0], 3 + i, 12));
    }
}

TEST_F(TriangleListTest, RefusedLists)
{
    EXPECT_FALSE(triangles.Create(8, nullptr, 1));
    EXPECT_TRUE(LogHas("Invalid Type: 8"));
    EXPECT_FALSE(triangles.Create(ENG_TRIANGLES_COL, nullptr, 0));
    rendertest::LogMark();
    // So many triangles that the byte size would not fit the device's sizes.
    EXPECT_FALSE(triangles.Create(ENG_TRIANGLES_NORM_COL_TEX, nullptr, 0x40000000u));
    EXPECT_EQ(2, rendertest::CountLog("Invalid num triangles"));
    EXPECT_FALSE(triangles.IsCreated());
    recorder->Clear();
    triangles.Draw();
    EXPECT_EQ(0, recorder->CountKind(PLAT_REC_DRAW));
}
