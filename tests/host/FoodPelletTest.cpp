// Food pellets: dropping, being eaten, and the world position that the fish steer by. The random
// drop, tumbling and sinking are in the school's long replay (FishSchoolTest), the drawn disc in
// the whole-frame checksums (FrameChecksumTest).
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
    int polygons = 0;
    float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
    float r = 0, g = 0, b = 0;
    float centreX() const { return 0.5f * (minX + maxX); }
    float centreY() const { return 0.5f * (minY + maxY); }
};

// Runs `draw` in feedback mode with an orthographic view where one window pixel is 1/12.8 unit
// around the origin (x and y from -10 to 10 over 256 pixels) and returns what it drew, in units.
template <class Draw>
Extent feedbackExtent(Draw draw) {
    glViewport(0, 0, 256, 256);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-10, 10, -10, 10, -200, 200);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    Extent e;
    for (const FeedbackPolygon& poly : CapturePolygons([&] {
             glPushMatrix();
             draw();
             glPopMatrix();
         })) {
        for (const FeedbackVertex& v : poly.vertices) {
            const float x = v.x / 12.8f - 10.0f, y = v.y / 12.8f - 10.0f;
            e.minX = std::min(e.minX, x), e.maxX = std::max(e.maxX, x);
            e.minY = std::min(e.minY, y), e.maxY = std::max(e.maxY, y);
            e.r = v.r, e.g = v.g, e.b = v.b;
        }
        ++e.polygons;
    }
    return e;
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
    EXPECT_EQ(p.AnchorX(), -8.0f);
    EXPECT_EQ(p.Visible(), 1.0f);
    EXPECT_EQ(p.OffsetY(), 1.0f);
    // Until its first draw the pellet is where it will be drawn, not at the world origin.
    EXPECT_FLOAT_EQ(p.WorldX(), -8.0f + p.OffsetX());
    EXPECT_FLOAT_EQ(p.WorldY(), 1.8f);
    EXPECT_FLOAT_EQ(p.WorldZ(), -70.0f + p.OffsetZ());
}

TEST(FoodPellet, HiddenPelletIsNotDrawnAndFreesItsSlotOnTheNextDraw) {
    OsMesaContext gl;
    ASSERT_TRUE(gl.ok());
    FoodPellet p;
    p.CompileDisc();
    p.Drop(0.0f, 0.0f, -70.0f);
    p.SetActive(true);
    Extent shown = feedbackExtent([&] { p.Draw(); });
    EXPECT_EQ(shown.polygons, 498);
    EXPECT_TRUE(p.IsActive());
    p.Hide();
    const float worldY = p.WorldY();
    p.Nudge(0.0f, 1.0f, 0.0f);
    Extent hidden = feedbackExtent([&] { p.Draw(); });
    EXPECT_EQ(hidden.polygons, 0);
    EXPECT_FALSE(p.IsActive());
    EXPECT_EQ(p.WorldY(), worldY) << "a pellet that is not drawn keeps its last position";
}

TEST(FoodPellet, WorldPositionLeavesOutTheSpin) {
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
    Extent e = feedbackExtent([&] { p.Draw(); });
    // The disc: anchor + the offset turned about y by the spin.
    EXPECT_NEAR(e.centreX(), 1.0f + ox * std::cos(spin) + oz * std::sin(spin), 0.02f);
    EXPECT_NEAR(e.centreY(), -2.0f + oy, 0.02f);
    // The world position: anchor + the offset, unturned.
    EXPECT_FLOAT_EQ(p.WorldX(), 1.0f + ox);
    EXPECT_FLOAT_EQ(p.WorldY(), -2.0f + oy);
    EXPECT_FLOAT_EQ(p.WorldZ(), -70.0f + oz);
    EXPECT_GT(std::fabs(e.centreX() - p.WorldX()), 0.5f);
}

}  // namespace
