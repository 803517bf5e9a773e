#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Message.h"
#include "scene/TerrainGrid.h"

namespace {

std::vector<std::string> shown;

void Capture(const char* text, const char* caption) { shown.push_back(std::string(caption) + ": " + text); }

// A grid, and the messages shown while it lives.
class TerrainGridTest : public testing::Test {
protected:
    TerrainGridTest() : previous(nerith::SetMessageHandler(Capture)) { shown.clear(); }
    ~TerrainGridTest() override { nerith::SetMessageHandler(previous); }
    nerith::MessageHandler previous;
    TerrainGrid grid;
};

}  // namespace

// The grid of the 1024 x 768 tank places the bubble column: the whole-frame checksums show it.
// Vertex (i, j) of a grid of `rows` rows stands cos(0.1 (i + j)) x (rows - j) x 2 factor / rows high.
TEST_F(TerrainGridTest, OddWidthHalvesTowardZero) {
    grid.Build(7, 4, 3);
    EXPECT_EQ(grid.Columns(), 7);
    EXPECT_EQ(grid.HeightFactor(), 3);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(grid.Vertex(0, 0).z, -4.0f);  // rows from the back
    EXPECT_FLOAT_EQ(grid.Vertex(0, 0).y, 6.0f);
    EXPECT_EQ(grid.Vertex(0, 0).x, -3.0f);
    EXPECT_EQ(grid.Vertex(6, 2).x, 3.0f);
    EXPECT_FLOAT_EQ(grid.Vertex(6, 2).y, 2.09012008f);
}

TEST_F(TerrainGridTest, MapSizeErrorOnlyAboveAMillionVertices) {
    grid.Build(1000, 1000, 1);
    EXPECT_TRUE(shown.empty());
    EXPECT_FLOAT_EQ(grid.Vertex(999, 998).y, 0.000829404686f);

    grid.Build(1001, 1000, 1);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "ERROR: MAP SIZE ERROR");

    shown.clear();
    grid.Build(2000, 2000, 1);
    EXPECT_EQ(shown.size(), 1u);
    // The part that fits was built; nothing beyond it (ASan watches the storage's edges).
    EXPECT_EQ(grid.Vertex(999, 999).x, 999.0f - 1000.0f);
    EXPECT_EQ(grid.Vertex(999, 999).z, 999.0f - 2000.0f);
    EXPECT_FLOAT_EQ(grid.Vertex(999, 999).y, 0.304282963f);
}

TEST_F(TerrainGridTest, BuildsThatFitTheCountButNotTheShapeStayInTheirCells) {
    // 20,000 vertices, but twice as many columns as the storage has.
    grid.Build(2000, 10, 1);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(grid.Vertex(999, 3).x, 999.0f - 1000.0f);
    EXPECT_EQ(grid.Vertex(1500, 3).x, 0.0f);  // outside the storage

    // One column far deeper than a column holds must not run into the next column.
    grid.Build(3, 5000, 1);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(grid.Vertex(1, 0).x, 0.0f);
    EXPECT_EQ(grid.Vertex(1, 0).z, -5000.0f);
    EXPECT_FLOAT_EQ(grid.Vertex(1, 0).y, 1.99000835f);
    EXPECT_EQ(grid.Vertex(0, 999).z, 999.0f - 5000.0f);
    EXPECT_EQ(grid.Vertex(0, 1000).x, 0.0f);
    EXPECT_EQ(grid.Vertex(-1, 0).z, 0.0f);
}

TEST_F(TerrainGridTest, DegenerateSizesBuildNothing) {
    grid.Build(98, 50, 1);
    const TerrainGrid::Point before = grid.Vertex(3, 3);
    grid.Build(0, 50, 1);
    grid.Build(98, 1, 1);
    grid.Build(98, 0, 1);
    grid.Build(-98, -50, 1);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(grid.Vertex(3, 3).y, before.y);
}
