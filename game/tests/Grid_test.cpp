// The grid floor: cell centres and neighbours by row parity, the layout the cells give,
// and the cell queries at and beyond the grid's edges.
#include <cmath>

#include "GameTestkit.h"
#include "Grid.h"

using gametest::GameTest;

class GridTest : public GameTest
{
};

TEST_F(GridTest, CellCentresByRowParity)
{
    struct Case
    {
        int columns, column, row;
        float x, y;
    } cases[] = {
        {4, 1, 0, -0.0975f, -0.9025f},   {4, 2, 1, 0.09425f, -0.7855f},    {4, 3, 13, 0.22425f, 0.6185f},
        {9, 0, 0, -0.5525f, -0.9025f},   {9, 8, 1, 0.54925f, -0.7855f},    {9, 4, 2, -0.0325f, -0.6685f},
        {22, 0, 0, -1.3975f, -0.9025f},  {22, 21, 13, 1.39425f, 0.6185f},  {22, 20, 0, 1.2025f, -0.9025f},
        {22, 11, 7, 0.09425f, -0.0835f},
    };
    for (const Case &c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.columns << " columns, cell " << c.column << "," << c.row);
        StartGrid(GAME_TYPE_STRATEGIC, c.columns, {});
        const _GridCell &cell = GameState.grid[c.column][c.row];
        EXPECT_NEAR(cell.x, c.x, 1e-5f);
        EXPECT_NEAR(cell.y, c.y, 1e-5f);
        EXPECT_EQ(cell.rowParity, c.row % 2);
    }
}

TEST_F(GridTest, NeighboursByRowParity)
{
    struct Case
    {
        int columns, column, row, index, neighbourColumn, neighbourRow;
        bool inside;
    } cases[] = {
        // An even row's neighbours lean left, an odd row's lean right.
        {9, 2, 2, 0, 1, 1, true}, {9, 2, 2, 1, 2, 1, true}, {9, 2, 2, 2, 1, 2, true},
        {9, 2, 2, 3, 3, 2, true}, {9, 2, 2, 4, 1, 3, true}, {9, 2, 2, 5, 2, 3, true},
        {9, 2, 3, 0, 2, 2, true}, {9, 2, 3, 1, 3, 2, true}, {9, 2, 3, 2, 1, 3, true},
        {9, 2, 3, 3, 3, 3, true}, {9, 2, 3, 4, 2, 4, true}, {9, 2, 3, 5, 3, 4, true},
        {4, 3, 1, 1, 4, 0, false}, {4, 0, 0, 0, -1, -1, false}, {9, 8, 12, 3, 9, 12, false},
        {9, 4, 13, 4, 4, 14, false}, {22, 21, 13, 5, 22, 14, false}, {22, 20, 13, 1, 21, 12, true},
    };
    for (const Case &c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.columns << " columns, cell " << c.column << "," << c.row << " #" << c.index);
        GameState.gridColumns = c.columns;
        int column, row;
        EXPECT_EQ(GridGetNeighbour(c.column, c.row, c.index, &column, &row), c.inside);
        EXPECT_EQ(column, c.neighbourColumn);
        EXPECT_EQ(row, c.neighbourRow);
    }
}

// Every neighbour the table gives really touches the cell: centres 2 to 2.1 radii apart.

TEST_F(GridTest, NeighbourTableMatchesTheGeometry)
{
    for (int columns : {4, 9, 22})
    {
        SCOPED_TRACE(columns);
        StartGrid(GAME_TYPE_STRATEGIC, columns, {});
        const float r = GameState.ballRadius;
        for (int column = 0; column < columns; column++)
        {
            for (int row = 0; row < GRID_ROWS; row++)
            {
                for (int i = 0; i < 6; i++)
                {
                    int column2, row2;
                    if (!GridGetNeighbour(column, row, i, &column2, &row2))
                        continue;
                    const _GridCell &a = GameState.grid[column][row];
                    const _GridCell &b = GameState.grid[column2][row2];
                    float distance = hypotf(a.x - b.x, a.y - b.y);
                    ASSERT_GE(distance, 2.0f * r * 0.9999f);
                    ASSERT_LE(distance, 2.1f * r);
                }
            }
        }
    }
}

TEST_F(GridTest, WallsAndStepLimits)
{
    struct Case
    {
        int columns;
        float leftWall, rightWall, fieldScale;
    } cases[] = {
        {4, -0.1625f, 0.15925f, 1.0f},
        {9, -0.4875f, 0.48425f, 1.0f},
        {22, -1.3325f, 1.32925f, 1.8f / 2.66175f},
    };
    for (const Case &c : cases)
    {
        SCOPED_TRACE(c.columns);
        StartGrid(GAME_TYPE_STRATEGIC, c.columns, {});
        const _GameState &gs = GameState;
        EXPECT_NEAR(gs.leftWall, c.leftWall, 1e-5f);
        EXPECT_NEAR(gs.rightWall, c.rightWall, 1e-5f);
        EXPECT_NEAR(gs.fieldScale, c.fieldScale, 1e-5f);
        EXPECT_NEAR(gs.topY, -0.9675f, 1e-5f);
        EXPECT_NEAR(gs.stepLimitX, 0.13f, 1e-6f);
        EXPECT_NEAR(gs.stepLimitY, 0.117f, 1e-6f);
    }
}

TEST_F(GridTest, GridQueriesOutsideTheGrid)
{
    StartGrid(GAME_TYPE_STRATEGIC, 10, {"1......5"});
    int column, row;
    EXPECT_FALSE(GridGetPosition(0.0f, 0.95f, &column, &row));
    EXPECT_EQ(column, -1);
    EXPECT_EQ(row, -1);
    EXPECT_FALSE(GridIsBallAt(5.0f, -0.9f));
    EXPECT_FALSE(GridIsFreeLandingCell(0, 0)); // border column
    EXPECT_FALSE(GridIsFreeLandingCell(9, 0));
    EXPECT_TRUE(GridIsFreeLandingCell(2, 0));
    EXPECT_FALSE(GridIsFreeLandingCell(4, 3)); // no neighbour
}
