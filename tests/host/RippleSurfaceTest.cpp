#include <gtest/gtest.h>

#include <cmath>

#include <cstring>
#include <memory>

#include "Random.h"
#include "RippleReference.h"
#include "scene/RippleSurface.h"

namespace {

const int Size = RippleSurface::GridSize;

bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The number of vertices away from rest.
int Moved(const RippleSurface& surface) {
    int moved = 0;
    for (int n = 0; n < Size; ++n)
        for (int k = 0; k < Size; ++k) {
            const RippleSurface::GridVertex& v = surface.Vertex(n, k);
            moved += v.s != v.s0 || v.t != v.t0;
        }
    return moved;
}

// Runs one Animate and checks it bit for bit against the plain sweep; returns Moved().
int AnimateAndCompare(RippleSurface& surface) {
    RippleCoords expected;
    ReferenceAnimate(surface, expected);
    surface.Animate();
    for (int n = 0; n < Size; ++n)
        for (int k = 0; k < Size; ++k) {
            const float s = surface.Vertex(n, k).s, t = surface.Vertex(n, k).t;
            EXPECT_TRUE(SameBits(s, expected.s[n][k]) && SameBits(t, expected.t[n][k])) << n << "," << k;
        }
    return Moved(surface);
}

// A 1024 x 768 surface, right after Resize.
class Ripples : public testing::Test {
protected:
    Ripples() { surface.Resize(1024, 768); }
    RippleSurface surface;
};

}  // namespace

TEST(RippleSurfaceTables, AmplitudeFollowsTheTellingRows) {
    const struct {
        int phase;
        double value;
    } rows[] = {{55, 0.0999838}, {169, 0.0624766}, {254, 0.0185598}};  // three crests of falling height
    for (const auto& row : rows) EXPECT_NEAR(RippleSurface::Amplitude(row.phase), row.value, 0.0005) << row.phase;
    // Exactly zero at both ends, close to zero in the troughs between the crests, never below.
    EXPECT_EQ(RippleSurface::Amplitude(0), 0.0);
    EXPECT_EQ(RippleSurface::Amplitude(255), 0.0);
    for (int i = 1; i < 255; ++i) EXPECT_GE(RippleSurface::Amplitude(i), 0.0) << i;
    for (int trough : {1, 115, 228}) EXPECT_LT(RippleSurface::Amplitude(trough), 0.0001) << trough;
}

TEST(RippleSurfaceTables, DirectionsAreUnitVectorsAndDistancesInRippleUnits) {
    // Components are kept to six significant digits; distances are 800 / 31 ripple units per cell.
    const struct {
        int a, b;
        double un, uk;
        int distance;
    } rows[] = {{0, 0, 0.0, 0.0, 0}, {0, 31, 0.0, 1.0, 800}, {1, 2, 0.447214, 0.894427, 57},
                {31, 31, 0.707107, 0.707107, 1131}};
    for (const auto& r : rows) {
        const RippleSurface::Direction& e = RippleSurface::DirectionAt(r.a, r.b);
        EXPECT_TRUE(e.un == r.un && e.uk == r.uk && e.distance == r.distance) << r.a << "," << r.b;
    }
    for (int a = 0; a < Size; ++a)
        for (int b = 0; b < Size; ++b) {
            if (a == 0 && b == 0) continue;
            const RippleSurface::Direction& e = RippleSurface::DirectionAt(a, b);
            EXPECT_NEAR(e.un * e.un + e.uk * e.uk, 1.0, 1e-5);
        }
}

TEST_F(Ripples, ResizeLaysOutTheGridAndFreesEverySlot) {
    for (int i = 0; i < RippleSurface::SlotCount; ++i) {
        EXPECT_TRUE(surface.SlotFree(i));
        EXPECT_EQ(surface.Age(i), 1280 + 256);  // the diagonal and a whole wave: at rest
    }
    EXPECT_EQ(Moved(surface), 0);  // where the vertices lie shows in the whole-frame checksums

    // Resizing a rippling surface puts it back at rest.
    surface.StartRipple(512, 384);
    for (int i = 0; i < 60; ++i) surface.Animate();
    EXPECT_GT(Moved(surface), 0);
    surface.Resize(1280, 1024);
    EXPECT_EQ(Moved(surface), 0);
    EXPECT_TRUE(surface.SlotFree(0));
}

// The texel scale from which the picture's mipmap level is chosen: at rest the texture's size over
// the grid's pixels, the larger of the two ways; a ripple squeezes the texture in places.
TEST_F(Ripples, TexelsPerPixelAtRestAndRippling) {
    const struct {
        double pixelsX, pixelsY;  // per grid unit (the grid spans two)
        int texWidth, texHeight;
        double least, most;       // at rest
    } rows[] = {
        {512, 384, 2048, 1024, 2.0, 2.0},          // the built-in picture across a 1024 x 768 screen
        {512, 384, 256, 256, 1.0 / 3, 1.0 / 3},    // magnified both ways: the taller of the two
        {160, 120, 2048, 1024, 6.4, 6.4},          // a 320 x 240 screen
        {512, 100, 1024, 512, 2.56, 2.56},         // squeezed in height only
    };
    for (const auto& r : rows) {
        const RippleSurface::TexelScale scale = surface.TexelsPerPixel(r.pixelsX, r.pixelsY, r.texWidth, r.texHeight);
        EXPECT_NEAR(scale.least, r.least, 1e-4) << r.pixelsX << " x " << r.pixelsY;
        EXPECT_NEAR(scale.most, r.most, 1e-4) << r.pixelsX << " x " << r.pixelsY;
    }
    // Rippling, the scale spreads either way, and stays within the second level's range at 1024 x 768
    // (the built-in picture's checksums).
    surface.StartRipple(512, 384);
    for (int i = 0; i < 60; ++i) surface.Animate();
    const RippleSurface::TexelScale rippling = surface.TexelsPerPixel(512, 384, 2048, 1024);
    EXPECT_LT(rippling.least, 1.999);
    EXPECT_GT(rippling.most, 2.001);
    EXPECT_GT(rippling.least, std::exp2(0.625));
    EXPECT_LT(rippling.most, std::exp2(1.375));
}

TEST_F(Ripples, RippleAtTheCentreOf1024x768LivesFor153Frames) {
    surface.StartRipple(512, 384);
    EXPECT_EQ(surface.CentreColumn(0), 16);
    EXPECT_EQ(surface.CentreRow(0), 16);
    EXPECT_EQ(surface.Age(0), 4);
    EXPECT_EQ(surface.MaxAge(0), 153);
    EXPECT_FALSE(surface.SlotFree(0));

    // The next start takes the next slot; the slot frees itself when its age reaches 153.
    surface.StartRipple(0, 0);
    EXPECT_EQ(surface.CentreColumn(1), 0);
    EXPECT_EQ(surface.MaxAge(1), 298);  // (1024 x 45.25 / 32 + 42) / 5
    for (int i = 0; i < 148; ++i) surface.Animate();
    EXPECT_EQ(surface.Age(0), 152);
    EXPECT_FALSE(surface.SlotFree(0));
    surface.Animate();
    EXPECT_TRUE(surface.SlotFree(0));
    surface.StartRipple(100, 700);
    EXPECT_EQ(surface.Age(0), 4);  // the freed slot is taken again
}

TEST_F(Ripples, StartWithEveryRippleBusyChangesNothing) {
    for (int i = 0; i < RippleSurface::SlotCount; ++i) surface.StartRipple(10 * i, 7 * i);
    for (int i = 0; i < RippleSurface::SlotCount; ++i) ASSERT_FALSE(surface.SlotFree(i));

    std::unique_ptr<RippleSurface> before(new RippleSurface(surface));
    surface.StartRipple(512, 384);
    for (int i = 0; i < RippleSurface::SlotCount; ++i) {
        EXPECT_EQ(surface.CentreColumn(i), before->CentreColumn(i));
        EXPECT_EQ(surface.CentreRow(i), before->CentreRow(i));
        EXPECT_EQ(surface.Age(i), before->Age(i));
        EXPECT_EQ(surface.MaxAge(i), before->MaxAge(i));
    }
}

TEST_F(Ripples, PointsOnOrBeyondTheEdgeStartAtTheNearestEdgeCell) {
    surface.StartRipple(1024, 768);  // e.g. a click on the top pixel row gives y = height
    EXPECT_EQ(surface.CentreColumn(0), 31);
    EXPECT_EQ(surface.CentreRow(0), 31);
    surface.StartRipple(-40, -1);
    EXPECT_EQ(surface.CentreColumn(1), 0);
    EXPECT_EQ(surface.CentreRow(1), 0);
    surface.StartRipple(2000000000, 384);
    EXPECT_EQ(surface.CentreColumn(2), 31);
    EXPECT_EQ(surface.CentreRow(2), 16);
    EXPECT_EQ(surface.MaxAge(2), 231);  // (1024 x 34.89 / 32 + 42) / 5
    // The table lookups stay inside the grid.
    for (int i = 0; i < 300; ++i) AnimateAndCompare(surface);

    // A surface without area (a minimised window) takes no ripples.
    surface.Resize(0, 1);
    surface.StartRipple(5, 0);
    for (int i = 0; i < RippleSurface::SlotCount; ++i) EXPECT_TRUE(surface.SlotFree(i));
    AnimateAndCompare(surface);
}

// Small surfaces included: right after Resize every free slot sits old at the corner (0, 0), so
// on a small one the far corner is still near a crest and is pushed, as the plain sweep does.
TEST_F(Ripples, FastAnimateMatchesThePlainSweep) {
    nerith::resetRandForTesting();
    const int offsets[9] = {-200, -150, -100, -50, 0, 50, 100, 150, 200};
    int movedFrames = 0;
    for (int frame = 0; frame < 600; ++frame) {
        nerith::rand();
        surface.StartRipple(512 + offsets[nerith::rand() % 9], 384 + 100);
        if (frame % 37 == 0) surface.StartRipple(nerith::rand() % 1025, nerith::rand() % 769);
        if (AnimateAndCompare(surface) > 0) ++movedFrames;
        if (HasFailure()) return;
    }
    EXPECT_GT(movedFrames, 500);
    for (auto size : {std::make_pair(320, 200), std::make_pair(640, 480), std::make_pair(97, 1000)}) {
        surface.Resize(size.first, size.second);
        for (int frame = 0; frame < 320; ++frame) {  // two lifetimes of a slot
            if (frame % 3 == 0) surface.StartRipple(nerith::rand() % (size.first + 1), nerith::rand() % (size.second + 1));
            AnimateAndCompare(surface);
            if (HasFailure()) return;
        }
    }
}

