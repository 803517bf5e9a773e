#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>

#include "FeedbackCapture.h"
#include "OsMesa.h"
#include "Random.h"
#include "RippleReference.h"
#include "scene/RippleSurface.h"

namespace {

const int Size = RippleSurface::GridSize;

bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Runs one Animate and checks it against the plain sweep; returns the number of vertices that
// are away from rest.
int AnimateAndCompare(RippleSurface& surface) {
    RippleCoords expected;
    ReferenceAnimate(surface, expected);
    surface.Animate();
    int moved = 0;
    for (int n = 0; n < Size; ++n) {
        for (int k = 0; k < Size; ++k) {
            const RippleSurface::GridVertex& v = surface.Vertex(n, k);
            EXPECT_TRUE(SameBits(v.s, expected.s[n][k])) << "s at " << n << "," << k << ": " << v.s
                                                         << " vs " << expected.s[n][k];
            EXPECT_TRUE(SameBits(v.t, expected.t[n][k])) << "t at " << n << "," << k << ": " << v.t
                                                         << " vs " << expected.t[n][k];
            if (v.s != v.s0 || v.t != v.t0) ++moved;
        }
    }
    return moved;
}

bool AtRest(const RippleSurface& surface) {
    for (int n = 0; n < Size; ++n)
        for (int k = 0; k < Size; ++k) {
            const RippleSurface::GridVertex& v = surface.Vertex(n, k);
            if (v.s != v.s0 || v.t != v.t0) return false;
        }
    return true;
}

}  // namespace

TEST(RippleSurfaceTables, AmplitudeFollowsTheTellingRows) {
    const struct {
        int phase;
        double value;
    } rows[] = {{0, 0.0},         {1, 0.00000296058},   {2, 0.000131057},
                {55, 0.0999838},  {115, 0.0000150262},  {169, 0.0624766},
                {228, 0.00000115624}, {254, 0.0185598}, {255, 0.0}};
    for (const auto& row : rows) EXPECT_NEAR(RippleSurface::Amplitude(row.phase), row.value, 0.0005) << row.phase;
    EXPECT_EQ(RippleSurface::Amplitude(0), 0.0);
    EXPECT_EQ(RippleSurface::Amplitude(255), 0.0);

    // Three crests of falling height, with troughs close to zero between them.
    for (int i = 1; i < 255; ++i) EXPECT_GE(RippleSurface::Amplitude(i), 0.0);
    EXPECT_GT(RippleSurface::Amplitude(55), RippleSurface::Amplitude(40));
    EXPECT_GT(RippleSurface::Amplitude(55), RippleSurface::Amplitude(70));
    EXPECT_GT(RippleSurface::Amplitude(169), RippleSurface::Amplitude(150));
    EXPECT_GT(RippleSurface::Amplitude(169), RippleSurface::Amplitude(190));
    EXPECT_GT(RippleSurface::Amplitude(55), RippleSurface::Amplitude(169));
    EXPECT_GT(RippleSurface::Amplitude(169), RippleSurface::Amplitude(254));
    EXPECT_LT(RippleSurface::Amplitude(115), 0.0001);
    EXPECT_LT(RippleSurface::Amplitude(228), 0.0001);
}

TEST(RippleSurfaceTables, DirectionsAreUnitVectorsAndDistancesInRippleUnits) {
    const RippleSurface::Direction& origin = RippleSurface::DirectionAt(0, 0);
    EXPECT_EQ(origin.un, 0.0);
    EXPECT_EQ(origin.uk, 0.0);
    EXPECT_EQ(origin.distance, 0);

    EXPECT_EQ(RippleSurface::DirectionAt(1, 0).distance, 25);
    EXPECT_EQ(RippleSurface::DirectionAt(31, 0).distance, 800);
    EXPECT_EQ(RippleSurface::DirectionAt(0, 31).distance, 800);
    EXPECT_EQ(RippleSurface::DirectionAt(31, 31).distance, 1131);
    EXPECT_EQ(RippleSurface::DirectionAt(31, 0).un, 1.0);
    EXPECT_EQ(RippleSurface::DirectionAt(31, 0).uk, 0.0);

    // Components are kept to six significant digits.
    EXPECT_EQ(RippleSurface::DirectionAt(1, 1).un, 0.707107);
    EXPECT_EQ(RippleSurface::DirectionAt(1, 2).uk, 0.894427);
    EXPECT_EQ(RippleSurface::DirectionAt(3, 4).un, 0.6);
    EXPECT_EQ(RippleSurface::DirectionAt(3, 4).uk, 0.8);
    EXPECT_EQ(RippleSurface::DirectionAt(3, 4).distance, 129);  // 5 * 800 / 31 = 129.03

    for (int a = 0; a < Size; ++a)
        for (int b = 0; b < Size; ++b) {
            if (a == 0 && b == 0) continue;
            const RippleSurface::Direction& e = RippleSurface::DirectionAt(a, b);
            EXPECT_NEAR(e.un * e.un + e.uk * e.uk, 1.0, 1e-5);
        }
}

TEST(RippleSurface, ResizeLaysOutTheGridAndFreesEverySlot) {
    RippleSurface surface;
    surface.Resize(1024, 768);
    EXPECT_EQ(surface.Width(), 1024);
    EXPECT_EQ(surface.Height(), 768);
    EXPECT_EQ(surface.Diagonal(), 1280);
    for (int i = 0; i < RippleSurface::SlotCount; ++i) {
        EXPECT_TRUE(surface.SlotFree(i));
        EXPECT_EQ(surface.Age(i), 1280 + 256);
        EXPECT_EQ(surface.CentreColumn(i), 0);
        EXPECT_EQ(surface.CentreRow(i), 0);
    }
    EXPECT_FLOAT_EQ(surface.Vertex(0, 0).x, -1.0f);
    EXPECT_FLOAT_EQ(surface.Vertex(0, 0).y, -1.0f);
    EXPECT_FLOAT_EQ(surface.Vertex(31, 31).x, 1.0f);
    EXPECT_FLOAT_EQ(surface.Vertex(31, 0).y, -1.0f);
    EXPECT_FLOAT_EQ(surface.Vertex(10, 20).s0, 10.0f / 31.0f);
    EXPECT_FLOAT_EQ(surface.Vertex(10, 20).t0, 20.0f / 31.0f);
    EXPECT_EQ(surface.Vertex(10, 20).s, surface.Vertex(10, 20).s0);

    // Resizing a rippling surface puts it back at rest.
    surface.StartRipple(512, 384);
    for (int i = 0; i < 60; ++i) surface.Animate();
    EXPECT_FALSE(AtRest(surface));
    surface.Resize(1280, 1024);
    EXPECT_TRUE(AtRest(surface));
    EXPECT_TRUE(surface.SlotFree(0));
}

TEST(RippleSurface, RippleAtTheCentreOf1024x768LivesFor153Frames) {
    RippleSurface surface;
    surface.Resize(1024, 768);
    surface.StartRipple(512, 384);
    EXPECT_EQ(surface.CentreColumn(0), 16);
    EXPECT_EQ(surface.CentreRow(0), 16);
    EXPECT_EQ(surface.Age(0), 4);
    EXPECT_EQ(surface.MaxAge(0), 153);
    EXPECT_FALSE(surface.SlotFree(0));

    // The next start takes the next slot; the slot frees itself when its age reaches 153.
    surface.StartRipple(0, 0);
    EXPECT_EQ(surface.CentreColumn(1), 0);
    EXPECT_EQ(surface.MaxAge(1), static_cast<int>(1024.0f * std::sqrt(2048.0f) / 32.0f + 42.0f) / 5);
    for (int i = 0; i < 148; ++i) surface.Animate();
    EXPECT_EQ(surface.Age(0), 152);
    EXPECT_FALSE(surface.SlotFree(0));
    surface.Animate();
    EXPECT_TRUE(surface.SlotFree(0));
    surface.StartRipple(100, 700);
    EXPECT_EQ(surface.CentreColumn(0), 3);
    EXPECT_EQ(surface.CentreRow(0), 29);
    EXPECT_EQ(surface.Age(0), 4);
}

TEST(RippleSurface, StartWithEveryRippleBusyChangesNothing) {
    RippleSurface surface;
    surface.Resize(1024, 768);
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

TEST(RippleSurface, PointsOnOrBeyondTheEdgeStartAtTheNearestEdgeCell) {
    RippleSurface surface;
    surface.Resize(1024, 768);
    surface.StartRipple(1024, 768);  // e.g. a click on the top pixel row gives y = height
    EXPECT_EQ(surface.CentreColumn(0), 31);
    EXPECT_EQ(surface.CentreRow(0), 31);
    surface.StartRipple(-40, -1);
    EXPECT_EQ(surface.CentreColumn(1), 0);
    EXPECT_EQ(surface.CentreRow(1), 0);
    surface.StartRipple(2000000000, 384);
    EXPECT_EQ(surface.CentreColumn(2), 31);
    EXPECT_EQ(surface.CentreRow(2), 16);
    EXPECT_EQ(surface.MaxAge(2), static_cast<int>(1024.0f * std::sqrt(31.0f * 31 + 16 * 16) / 32.0f + 42.0f) / 5);
    // The table lookups stay inside the grid.
    for (int i = 0; i < 300; ++i) AnimateAndCompare(surface);

    // A surface without area (a minimised window) takes no ripples.
    surface.Resize(0, 1);
    surface.StartRipple(0, 0);
    surface.StartRipple(5, 0);
    for (int i = 0; i < RippleSurface::SlotCount; ++i) EXPECT_TRUE(surface.SlotFree(i));
    EXPECT_EQ(surface.CentreColumn(0), 0);
    AnimateAndCompare(surface);
}

TEST(RippleSurface, UndistortedRightAfterResizeWhenTheDiagonalIsLongEnough) {
    RippleSurface surface;
    for (auto size : {std::make_pair(1024, 768), std::make_pair(800, 800), std::make_pair(1920, 1080)}) {
        surface.Resize(size.first, size.second);
        ASSERT_GE(surface.Diagonal(), 1131);
        surface.Animate();
        EXPECT_TRUE(AtRest(surface)) << size.first << "x" << size.second;
    }
}

TEST(RippleSurface, FreedSlotsPushTheFarCornerOfASmallSurface) {
    RippleSurface surface;
    // Diagonal 932: every slot sits at the corner (0, 0), and one frame later its phase at the far
    // corner (distance 1131) is 932 + 256 + 1 - 1131 = 58, near the first crest.
    surface.Resize(800, 480);
    surface.Animate();
    const RippleSurface::GridVertex& far = surface.Vertex(31, 31);
    EXPECT_NE(far.s, far.s0);
    EXPECT_NE(far.t, far.t0);
    const RippleSurface::GridVertex& near = surface.Vertex(0, 0);
    EXPECT_EQ(near.s, near.s0);
    EXPECT_EQ(near.t, near.t0);
    // A corner ripple pushes outward from its centre.
    EXPECT_GT(far.s, far.s0);
    EXPECT_GT(far.t, far.t0);
}

TEST(RippleSurface, FastAnimateMatchesThePlainSweepInTheFrameLoop) {
    nerith::resetRandForTesting();
    RippleSurface surface;
    surface.Resize(1024, 768);
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
}

TEST(RippleSurface, FastAnimateMatchesThePlainSweepWithOldAndFreedSlots) {
    // A small surface: after Resize every slot is old, centred on (0, 0), and still pushing.
    nerith::resetRandForTesting();
    RippleSurface surface;
    for (auto size : {std::make_pair(320, 200), std::make_pair(640, 480), std::make_pair(97, 1000)}) {
        surface.Resize(size.first, size.second);
        for (int frame = 0; frame < 320; ++frame) {  // two lifetimes of a slot
            if (frame % 3 == 0) surface.StartRipple(nerith::rand() % (size.first + 1), nerith::rand() % (size.second + 1));
            AnimateAndCompare(surface);
            if (HasFailure()) return;
        }
    }
}

TEST(RippleSurface, DrawSendsTheGridWithItsCurrentTextureCoordinates) {
    OsMesaContext gl(256, 256);
    ASSERT_TRUE(gl.ok());
    glViewport(0, 0, 256, 256);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1, 1, -1, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    RippleSurface surface;
    surface.Resize(1024, 768);
    surface.StartRipple(512, 384);
    surface.StartRipple(300, 200);
    for (int i = 0; i < 80; ++i) surface.Animate();
    ASSERT_FALSE(AtRest(surface));

    const std::vector<FeedbackPolygon> polygons = CapturePolygons([&] { surface.Draw(); });
    ASSERT_FALSE(polygons.empty());
    // Cells may arrive split into triangles; together they must tile the window exactly once.
    double area = 0.0;
    int checked = 0;
    for (const FeedbackPolygon& p : polygons) {
        for (size_t i = 0; i < p.vertices.size(); ++i) {
            const FeedbackVertex& a = p.vertices[i];
            const FeedbackVertex& b = p.vertices[(i + 1) % p.vertices.size()];
            area += 0.5 * (a.x * b.y - b.x * a.y);
            // Window position back to the grid vertex, whose texture coordinates it must carry.
            const int n = static_cast<int>(std::lround(a.x / 256.0 * 31.0));
            const int k = static_cast<int>(std::lround(a.y / 256.0 * 31.0));
            ASSERT_NEAR(a.x, n * 256.0 / 31.0, 0.01);
            ASSERT_NEAR(a.y, k * 256.0 / 31.0, 0.01);
            EXPECT_NEAR(a.s, surface.Vertex(n, k).s, 1e-6);
            EXPECT_NEAR(a.t, surface.Vertex(n, k).t, 1e-6);
            EXPECT_EQ(a.z, 0.5f);
            ++checked;
        }
    }
    // The whole window covered once, every cell wound clockwise.
    EXPECT_NEAR(area, -256.0 * 256.0, 1.0);
    EXPECT_GE(checked, 31 * 31 * 4);
}
