// Food pellets: dropping, hiding, and the world position that the fish steer by (the rest: the
// school's long replay and the whole-frame checksums).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "FeedbackCapture.h"
#include "OsMesa.h"
#include "Random.h"
#include "scene/FoodPellet.h"

namespace {

struct Extent {
    int polygons;
    float centreX, centreY;
};

// The pellet drawn in feedback mode, x and y from -10 to 10 over 256 pixels: how many polygons,
// and the centre of all they cover, in units.
Extent DrawnExtent(FoodPellet& pellet) {
    glViewport(0, 0, 256, 256);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-10, 10, -10, 10, -200, 200);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const std::vector<FeedbackPolygon> polygons = CapturePolygons([&] { pellet.Draw(); });
    float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
    for (const FeedbackPolygon& poly : polygons)
        for (const FeedbackVertex& v : poly.vertices) {
            minX = std::min(minX, v.x), maxX = std::max(maxX, v.x);
            minY = std::min(minY, v.y), maxY = std::max(maxY, v.y);
        }
    return {int(polygons.size()), (minX + maxX) / 25.6f - 10.0f, (minY + maxY) / 25.6f - 10.0f};
}

TEST(FoodPellet, DropMovesTheAnchorButNotTheActiveFlag) {
    FoodPellet p;  // a new slot is free, at the drop depth
    EXPECT_FALSE(p.IsActive());
    EXPECT_EQ(p.AnchorZ(), -70.0f);
    p.Drop(4.0f, 3.0f, -70.0f);
    EXPECT_FALSE(p.IsActive());
    p.SetActive(true);
    p.Hide();
    p.Drop(-8.0f, 1.0f, -70.0f);
    EXPECT_TRUE(p.IsActive());
    EXPECT_EQ(p.Visible(), 1.0f);  // shown again
    // Until its first draw the pellet is where it will be drawn, not at the world origin.
    EXPECT_FLOAT_EQ(p.WorldY(), 1.8f);
    EXPECT_FLOAT_EQ(p.WorldZ(), -70.0f + p.OffsetZ());
}

// A hidden pellet is not drawn, keeps its last position and frees its slot on the next draw. A
// shown one is drawn turned by its spin about the anchor, but its world position leaves the spin
// out: the fish steer by where it would be unturned.
TEST(FoodPellet, DrawHonoursHidingAndTheWorldPositionLeavesOutTheSpin) {
    OsMesaContext gl;
    ASSERT_TRUE(gl.ok());
    FoodPellet p;
    p.CompileDisc();
    nerith::resetRandForTesting();
    p.Drop(1.0f, -2.0f, -70.0f);
    p.Nudge(3.0f, 0.0f, 0.0f);  // well off the anchor, so the spin carries the disc round it
    p.SetActive(true);
    const float ox = p.OffsetX(), oy = p.OffsetY() - 0.2f, oz = p.OffsetZ();
    const float spin = p.Spin() * 0.017453292f;
    const Extent e = DrawnExtent(p);
    EXPECT_TRUE(p.IsActive());
    EXPECT_NEAR(e.centreX, 1.0f + ox * std::cos(spin) + oz * std::sin(spin), 0.02f);
    EXPECT_NEAR(e.centreY, -2.0f + oy, 0.02f);
    EXPECT_FLOAT_EQ(p.WorldX(), 1.0f + ox);
    EXPECT_FLOAT_EQ(p.WorldY(), -2.0f + oy);
    EXPECT_FLOAT_EQ(p.WorldZ(), -70.0f + oz);
    EXPECT_GT(std::fabs(e.centreX - p.WorldX()), 0.5f);

    p.Hide();
    const float worldY = p.WorldY();
    p.Nudge(0.0f, 1.0f, 0.0f);
    EXPECT_EQ(DrawnExtent(p).polygons, 0);
    EXPECT_FALSE(p.IsActive());
    EXPECT_EQ(p.WorldY(), worldY) << "a pellet that is not drawn keeps its last position";
}

}  // namespace
