// The fish mesh: what one draw emits (counted through OpenGL feedback), how it scales, the stored
// data against the skin layout, and the oscillators, fin flapping and head jitter.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "FeedbackCapture.h"
#include "FishTestPeer.h"
#include "OsMesa.h"
#include "Random.h"
#include "fish/Fish.h"
#include "fish/FishModel.h"

namespace {

using P = FishTestPeer;

// Draws one fish in feedback mode and returns the triangles' vertices (three per triangle);
// `polygons` receives the number of polygons.
std::vector<FeedbackVertex> feedback(const Fish& fish, const AnimationFrame& frame, int* polygons = nullptr) {
    const std::vector<FeedbackPolygon> drawn = CapturePolygons([&] { FishModel::draw(fish, frame); });
    std::vector<FeedbackVertex> out;
    for (const FeedbackPolygon& p : drawn)
        for (size_t t = 1; t + 1 < p.vertices.size(); ++t)  // as a fan of triangles
            out.insert(out.end(), {p.vertices[0], p.vertices[t], p.vertices[t + 1]});
    if (polygons) *polygons = static_cast<int>(drawn.size());
    return out;
}

// Orthographic view of +-20 units, nothing clipped, identity model-view.
void plainView() {
    glViewport(0, 0, 256, 256);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-20, 20, -20, 20, -20, 20);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
}

// A fish of the given size with one frame of animation and a straight body.
AnimationFrame animate(Fish& fish, float size) {
    P::size(fish) = size;
    AnimationFrame frame = {};
    for (int i = 0; i < 5; ++i) FishModel::advanceAnimation(fish, frame);
    return frame;
}

// An off-screen context with the plain view.
class FishModelMesh : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(gl.ok());
        plainView();
    }
    OsMesaContext gl;
};

constexpr int StripCount = 5 * 2 + 3 * 2 + 2 * 2 + 1 + 2 + 2 + 1 + 1 + 2 * 2;  // 31

TEST_F(FishModelMesh, EmitsNineHundredEightyTwoVerticesAndLeavesTheMatrixAsItFoundIt) {
    glTranslatef(1, 2, 3);
    GLfloat before[16], after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, before);
    Fish fish;
    AnimationFrame frame = animate(fish, 7.0f);
    int polygons = 0;
    std::vector<FeedbackVertex> tris = feedback(fish, frame, &polygons);
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    EXPECT_EQ(depth, 1);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(before[i], after[i]);
    const int triangles = static_cast<int>(tris.size() / 3);
    // A quad strip of v vertices gives v - 2 triangles, so the strips emitted
    // triangles + 2 x strips vertices.
    EXPECT_EQ(triangles, 920);
    EXPECT_EQ(triangles + 2 * StripCount, FishVerticesPerFrame);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(FishModelMesh, SizeFourAndSizeTenHaveTheSameShape) {
    Fish small, large;
    AnimationFrame fs = animate(small, 4.0f);
    AnimationFrame fl = animate(large, 10.0f);
    fs.headJitter = fl.headJitter = 0.0f;  // the head jitter is an absolute shift
    for (int c = 0; c < BodyColumns; ++c) fs.columnAngles[c] = fl.columnAngles[c] = 12.0f - c;
    std::vector<FeedbackVertex> a = feedback(small, fs);
    std::vector<FeedbackVertex> b = feedback(large, fl);
    ASSERT_EQ(a.size(), b.size());
    // Window coordinates around the centre of the 256-pixel viewport; depth around 0.5.
    double worst = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        worst = std::max(worst, std::fabs((b[i].x - 128.0) - 2.5 * (a[i].x - 128.0)));
        worst = std::max(worst, std::fabs((b[i].y - 128.0) - 2.5 * (a[i].y - 128.0)));
        worst = std::max(worst, 256.0 * std::fabs((b[i].z - 0.5) - 2.5 * (a[i].z - 0.5)));
    }
    EXPECT_LT(worst, 0.01);
}

TEST_F(FishModelMesh, ColumnAnglesTurnTheBody) {
    Fish fish;
    AnimationFrame frame = animate(fish, 10.0f);
    auto extent = [&](float angle, float& minX, float& maxX, float& minY, float& maxY) {
        for (float& a : frame.columnAngles) a = angle;
        std::vector<FeedbackVertex> v = feedback(fish, frame);
        minX = minY = 1e9f;
        maxX = maxY = -1e9f;
        for (const FeedbackVertex& p : v) {
            minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
            minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
        }
    };
    float x0, x1, y0, y1, u0, u1, w0, w1;
    extent(0.0f, x0, x1, y0, y1);
    extent(90.0f, u0, u1, w0, w1);
    // Straight, the fish lies along x with the snout at -x (about -0.45 model units);
    // turned by 90 degrees about z it lies along y with the snout at -y.
    EXPECT_NEAR((x0 - 128.0f) / 6.4f, -4.5f, 0.2f);
    EXPECT_GT(x1 - x0, y1 - y0);
    EXPECT_NEAR((w0 - 128.0f) / 6.4f, -4.5f, 0.2f);
    EXPECT_NEAR(w1 - w0, x1 - x0, 1.0f);
}

TEST_F(FishModelMesh, MirroredHalvesUseTheStoredNormals) {
    // A directional light from +x, -y, +z: a normal mirrored in y would be lit differently.
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT1);
    GLfloat dir[4] = {1, -1, 1, 0}, white[4] = {1, 1, 1, 1}, none[4] = {0, 0, 0, 1};
    glLightfv(GL_LIGHT1, GL_POSITION, dir);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT1, GL_AMBIENT, none);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, none);
    glEnable(GL_COLOR_MATERIAL);
    glColor4f(1, 1, 1, 1);
    Fish fish;
    AnimationFrame frame = animate(fish, 7.0f);
    std::vector<FeedbackVertex> v = feedback(fish, frame);
    glDisable(GL_LIGHTING);
    // The body comes first: 5 strips of 44 triangles on the stored side, then the mirrored side.
    const size_t perSide = 5 * 44 * 3;
    ASSERT_GE(v.size(), 2 * perSide);
    int differing = 0;
    float brightest = 0;
    for (size_t i = 0; i < perSide; ++i) {
        const FeedbackVertex& s = v[i];
        const FeedbackVertex& m = v[i + perSide];
        if (s.r != m.r || s.g != m.g || s.b != m.b) ++differing;
        brightest = std::max(brightest, s.r);
        // Same x and z, y mirrored about the (swaying) centre line.
        EXPECT_NEAR(s.x, m.x, 1e-3);
    }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(brightest, 0.5f);  // the stored side faces the light
}

TEST_F(FishModelMesh, MatrixIsTheOneGlRotateBuilds) {
    glMatrixMode(GL_MODELVIEW);
    const float cases[][4] = {{0, 0, 0, 1}, {30, 0, 0, 1}, {-135.5f, 0, 0, 1}, {720, 0, 0, 1},
                              {45, 1, 2, 3}, {10, 0, 0, 5}, {60, 0, 0, 0}};
    for (const auto& c : cases) {
        glLoadIdentity();
        glRotatef(c[0], c[1], c[2], c[3]);
        GLfloat expected[16], ours[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, expected);
        FishModel::rotationMatrix(c[0], c[1], c[2], c[3], ours);
        for (int i = 0; i < 16; ++i) EXPECT_NEAR(ours[i], expected[i], 1e-6) << c[0] << " entry " << i;
    }
}

// ---- The stored data against the conventions and the skin layout -------------------------------

TEST(FishModelData, PartsCoverTheVerticesInOrder) {
    const int expected[FishPartCount][2] = {{6, 23}, {4, 8}, {3, 6}, {2, 40}, {2, 19}, {2, 8}, {2, 28}, {2, 31}, {3, 9}};
    int next = 0;
    for (int p = 0; p < FishPartCount; ++p) {
        EXPECT_EQ(FishMeshParts[p].rows, expected[p][0]);
        EXPECT_EQ(FishMeshParts[p].columns, expected[p][1]);
        EXPECT_EQ(FishMeshParts[p].first, next);
        next += FishMeshParts[p].rows * FishMeshParts[p].columns;
    }
    EXPECT_EQ(next, FishMeshVertexCount);
    EXPECT_EQ(TopFinColumns[25], 20);
    EXPECT_EQ(TopFinColumns[26], 21);
    EXPECT_EQ(BottomFinColumns[7], 16);
    EXPECT_EQ(BottomFinColumns[8], 18);
    for (int c : BottomFinColumns) EXPECT_NE(c, 17);
}

TEST(FishModelData, TextureCoordinatesFollowTheSkinLayout) {
    struct Region {
        float s0, s1, t0, t1;
    };
    const Region regions[FishPartCount] = {
        {0.0f, 0.70f, 0.0f, 0.5f},   // Body
        {0.75f, 1.0f, 0.5f, 1.0f},   // LongFinPairB
        {0.75f, 1.0f, 0.5f, 1.0f},   // LongFinPairA
        {0.0f, 0.25f, 0.5f, 1.0f},   // TopFin
        {0.50f, 0.75f, 0.5f, 1.0f},  // SideFinPair
        {0.75f, 1.0f, 0.5f, 1.0f},   // SmallFinPair
        {0.25f, 0.50f, 0.5f, 1.0f},  // BottomFin
        {0.70f, 1.0f, 0.0f, 0.5f},   // TailFin
        {0.0f, 0.18f, 0.0f, 0.5f},   // HeadPlates
    };
    for (int p = 0; p < FishPartCount; ++p) {
        const MeshPart& part = FishMeshParts[p];
        for (int i = 0; i < part.rows * part.columns; ++i) {
            const MeshVertex& v = FishMeshVertices[part.first + i];
            EXPECT_GE(v.s, regions[p].s0) << "part " << p << " vertex " << i;
            EXPECT_LE(v.s, regions[p].s1) << "part " << p << " vertex " << i;
            EXPECT_GE(v.t, regions[p].t0) << "part " << p << " vertex " << i;
            EXPECT_LE(v.t, regions[p].t1) << "part " << p << " vertex " << i;
        }
    }
    // The body runs from the snout (s 0) to the tail base (s 0.7), top (t 0) to belly (t 0.5).
    const MeshPart& body = FishMeshParts[Body];
    EXPECT_EQ(FishMeshVertices[0].s, 0.0f);
    EXPECT_NEAR(FishMeshVertices[body.columns - 1].s, 0.70f, 1e-6);
    EXPECT_EQ(FishMeshVertices[0].t, 0.0f);
    EXPECT_NEAR(FishMeshVertices[(body.rows - 1) * body.columns].t, 0.5f, 1e-6);
    // Fin strips: t 0.5 where the fin meets the body.
    EXPECT_EQ(FishMeshVertices[FishMeshParts[TopFin].first].t, 0.5f);
    EXPECT_EQ(FishMeshVertices[FishMeshParts[TopFin].first + 40].t, 1.0f);
    EXPECT_EQ(FishMeshVertices[FishMeshParts[SideFinPair].first].t, 1.0f);  // row 0 is the free edge
    EXPECT_EQ(FishMeshVertices[FishMeshParts[TailFin].first].s, 1.0f);      // row 0 the trailing edge
}

TEST(FishModelData, ModelSpaceConventions) {
    float minX = 1e9f, maxX = -1e9f;
    for (int i = 0; i < FishMeshVertexCount; ++i) {
        const MeshVertex& v = FishMeshVertices[i];
        const float length = std::sqrt(v.nx * v.nx + v.ny * v.ny + v.nz * v.nz);
        EXPECT_NEAR(length, 1.0f, 1e-4) << "vertex " << i;
        EXPECT_LE(v.y, 0.0f) << "the stored side is -y, vertex " << i;
        EXPECT_LE(v.ny, 1e-6f) << "normals of the stored side face -y, vertex " << i;
        minX = std::min(minX, v.x);
        maxX = std::max(maxX, v.x);
    }
    EXPECT_NEAR(FishMeshVertices[0].x, -0.45f, 1e-6);  // the snout
    EXPECT_EQ(minX, -0.45f);
    EXPECT_GT(maxX - minX, 0.8f);  // about one unit with the tail fin
    EXPECT_LT(maxX - minX, 1.1f);
}

// ---- Animation --------------------------------------------------------------------------------

TEST(FishAnimation, TailSwayLeavesTheFrontOfTheBodyStill) {
    Fish fish;
    AnimationFrame frame = {};
    bool moved = false;
    for (int n = 0; n < 300; ++n) {
        FishModel::advanceAnimation(fish, frame);
        for (int i = 0; i <= 15; ++i) ASSERT_EQ(frame.tailSway[i], 0.0f) << "column " << i;
        for (int i = 16; i < BodyColumns; ++i) moved = moved || frame.tailSway[i] != 0.0f;
    }
    EXPECT_TRUE(moved);
    // The sine takes the column index itself: column 22 at phase 0.
    P::tailSway(fish).phase = 0.0f;
    P::tailSway(fish).counter = 0;
    FishModel::runOscillators(fish, frame);
    EXPECT_FLOAT_EQ(frame.tailSway[22], 7.0f * 0.01f * std::sin(22.0f * 0.2617994f) * 7.0f);
}

TEST(FishAnimation, PhaseAdvancesEveryThirdFrameAndRestartsAtZero) {
    FishOscillator osc;
    osc.step = 0.5235987f;
    osc.advance();
    osc.advance();
    EXPECT_EQ(osc.phase, 0.0f);
    osc.advance();
    EXPECT_FLOAT_EQ(osc.phase, 0.5235987f);
    EXPECT_EQ(osc.counter, 0);
    osc.phase = 6.0f;
    osc.counter = 2;
    osc.advance();  // 6.5236 is past 6.283185: back to 0, not to 0.2404
    EXPECT_EQ(osc.phase, 0.0f);
    osc.phase = 6.283185f;  // not past it: kept
    osc.counter = 0;
    osc.advance();
    EXPECT_EQ(osc.phase, 6.283185f);
}

TEST(FishAnimation, RipplesScaleWithSize) {
    Fish fish;
    AnimationFrame frame = {};
    P::topFin(fish).phase = 1.0f;
    P::tailFin(fish).phase = 1.0f;
    FishModel::runOscillators(fish, frame);
    EXPECT_FLOAT_EQ(frame.topFinRipple[3], std::sin(3 * 0.3926991f + 1.0f) * 7.0f * 0.02f);
    EXPECT_FLOAT_EQ(frame.tailFinRipple[30], std::sin(30 * 0.3926991f + 1.0f) * 7.0f * 0.02f);
    EXPECT_EQ(frame.smallFinRipple[0], 0.0f);
    EXPECT_FLOAT_EQ(frame.bottomFinRipple[0], 0.0f);
}

TEST(FishAnimation, FinsFlapBetweenFlatAndSpread) {
    Fish fish;
    P::finCounter(fish) = 0;
    P::finFlat(fish) = true;
    AnimationFrame frame = {};
    for (int n = 1; n <= 52; ++n) {
        FishModel::flapFins(fish, frame);
        for (float v : frame.finSpreadA) ASSERT_EQ(v, 0.0f) << "frame " << n;
        for (float v : frame.finSpreadB) ASSERT_EQ(v, 0.0f) << "frame " << n;
    }
    EXPECT_FALSE(fish.finFlat()) << "the 52nd frame toggles";
    nerith::resetRandForTesting();
    P::finCounter(fish) = 51;
    P::finFlat(fish) = false;
    FishModel::flapFins(fish, frame);
    EXPECT_FLOAT_EQ(frame.finSpreadA[5], 0.003f * 7.0f * 5.0f);
    EXPECT_FLOAT_EQ(frame.finSpreadB[4], 0.003f * 7.0f * 4.0f);
    EXPECT_EQ(frame.finSpreadA[0], 0.0f);
    EXPECT_TRUE(fish.finFlat());
    EXPECT_EQ(P::finCounter(fish), 41 % 25);
}

TEST(FishAnimation, HeadJitterStaysWithinItsLimits) {
    Fish fish;
    AnimationFrame frame = {};
    float lowest = 1, highest = -1;
    for (int n = 0; n < 20000; ++n) {
        P::targetPitch(fish) = (n / 500) % 2 ? 10.0f : -10.0f;
        FishModel::jitterHead(fish, frame);
        ASSERT_GE(frame.headJitter, -0.008f);
        ASSERT_LE(frame.headJitter, 0.008f);
        lowest = std::min(lowest, frame.headJitter);
        highest = std::max(highest, frame.headJitter);
    }
    EXPECT_EQ(lowest, -0.008f);
    EXPECT_EQ(highest, 0.008f);
}

TEST(FishAnimation, HeadJitterDrawsTwiceInOrder) {
    Fish fish;
    P::headJitter(fish) = 0.0f;
    P::targetPitch(fish) = 5.0f;
    AnimationFrame frame = {};
    nerith::resetRandForTesting();
    FishModel::jitterHead(fish, frame);  // up 0.002; 41 % 10 = 1 is no 0, 18467 % 10 = 7 no 1
    EXPECT_FLOAT_EQ(frame.headJitter, 0.002f);
    EXPECT_EQ(nerith::rand(), 6334);
    // Next draws 26500 (% 10 = 0: up twice the step) and 19169 (% 10 = 9).
    P::headJitter(fish) = 0.0f;
    FishModel::jitterHead(fish, frame);
    EXPECT_FLOAT_EQ(frame.headJitter, 0.006f);
    // Not above 0: down; 15724 % 10 = 4, 11478 % 10 = 8.
    P::headJitter(fish) = 0.0f;
    P::targetPitch(fish) = 0.0f;
    FishModel::jitterHead(fish, frame);
    EXPECT_FLOAT_EQ(frame.headJitter, -0.002f);
}

}  // namespace
