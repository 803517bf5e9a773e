// Food pellets: the disc, the random drop, sinking to the bottom, being eaten, and the world
// position that the fish steer by.
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

TEST(FoodPellet, RandomizeDrawsElevenNumbersInOrder) {
    FoodPellet p;
    nerith::resetRandForTesting();
    p.Randomize();
    EXPECT_FLOAT_EQ(p.OffsetX(), (41 - 18467) * 0.000042115542f);
    EXPECT_EQ(p.OffsetY(), 1.0f);
    EXPECT_FLOAT_EQ(p.OffsetZ(), (6334 - 26500) * 0.000011597033f);
    EXPECT_FLOAT_EQ(p.Tilt(), (19169 - 15724) * 0.0054933317f);
    EXPECT_FLOAT_EQ(p.Spin(), (11478 - 29358) * 0.0054933317f + (26962 - 24464) * 0.0054933317f);
    EXPECT_FLOAT_EQ(p.SinkSpeed(), 5705 % 10 * 0.0005f + 0.005f);
    EXPECT_EQ(p.Visible(), 1.0f);
    EXPECT_EQ(nerith::rand(), 28145);
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

TEST(FoodPellet, DiscIsAYellowishEllipse) {
    OsMesaContext gl;
    ASSERT_TRUE(gl.ok());
    FoodPellet p;
    p.CompileDisc();
    ASSERT_NE(p.DisplayList(), 0u);
    glEnable(GL_TEXTURE_2D);
    glColor4f(0.5f, 0.5f, 0.5f, 1.0f);
    Extent e = feedbackExtent([&] { glCallList(p.DisplayList()); });
    EXPECT_EQ(e.polygons, 498);  // a fan of 500 rim vertices
    EXPECT_NEAR(e.maxX, 0.3f, 0.01f);
    EXPECT_NEAR(e.minX, -0.3f, 0.01f);
    EXPECT_NEAR(e.maxY, 0.15f, 0.01f);
    EXPECT_NEAR(e.minY, -0.15f, 0.01f);
    EXPECT_NEAR(e.r, 243 / 255.0f, 1e-3f);
    EXPECT_NEAR(e.g, 225 / 255.0f, 1e-3f);
    EXPECT_NEAR(e.b, 159 / 255.0f, 1e-3f);
    // Afterwards texturing is on again and the colour is white.
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(colour[0], 1.0f);
    EXPECT_EQ(colour[2], 1.0f);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(FoodPellet, SinksToTheBottomAndFreesItsSlot) {
    OsMesaContext gl(16, 16);
    ASSERT_TRUE(gl.ok());
    FoodPellet p;
    p.CompileDisc();
    p.Drop(2.0f, 3.0f, -70.0f);
    p.SetActive(true);
    const float sink = p.SinkSpeed();
    glPushMatrix();
    p.Draw();
    glPopMatrix();
    EXPECT_FLOAT_EQ(p.WorldY(), 3.0f + 0.8f) << "drawn where it was dropped, then one step down";
    EXPECT_FLOAT_EQ(p.OffsetY(), 1.0f - sink);
    int draws = 1;
    float lastY = p.WorldY();
    while (p.IsActive() && draws < 5000) {
        glPushMatrix();
        p.Draw();
        glPopMatrix();
        if (p.IsActive() && p.Visible() > 0.0f) lastY = p.WorldY();
        ++draws;
    }
    EXPECT_FALSE(p.IsActive());
    const int expected = static_cast<int>(std::ceil(11.0f / sink)) + 2;
    EXPECT_NEAR(draws, expected, 3) << "sink speed " << sink;
    EXPECT_NEAR(lastY, 3.0f - 10.2f, 0.02f);
    EXPECT_EQ(p.Visible(), 0.0f);
    EXPECT_EQ(p.OffsetY(), -40.0f);
}

TEST(FoodPellet, StepTumblesWhileSinkingAndStopsAtTheBottom) {
    FoodPellet p;
    p.Randomize();
    const float tilt = p.Tilt(), spin = p.Spin(), y = p.OffsetY();
    nerith::resetRandForTesting();
    p.Step();
    EXPECT_FLOAT_EQ(p.Tilt(), tilt + 0.4f);
    EXPECT_FLOAT_EQ(p.Spin(), spin + 2.0f);
    EXPECT_FLOAT_EQ(p.OffsetY(), y - p.SinkSpeed());
    EXPECT_EQ(nerith::rand(), 19169) << "two drifts of two draws each";
    p.Nudge(0.0f, -20.0f, 0.0f);
    nerith::resetRandForTesting();
    const float tilt2 = p.Tilt(), spin2 = p.Spin();
    p.Step();
    EXPECT_EQ(p.OffsetY(), -40.0f);
    EXPECT_EQ(p.Visible(), 0.0f);
    EXPECT_FLOAT_EQ(p.Tilt(), tilt2 - 41 * 0.000006103702f);
    EXPECT_FLOAT_EQ(p.Spin(), spin2 + 18467 * 0.00003051851f);
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
