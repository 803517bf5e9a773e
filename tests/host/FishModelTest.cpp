// The fish mesh: what one draw emits (counted through OpenGL feedback), how it scales, the stored
// data against the skin layout, and the oscillators, fin flapping and head jitter.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "Checksum.h"
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

// Any change of the stored mesh shows in its checksum; the conventions below say what a deliberate
// new mesh must keep.
TEST(FishModelData, StoredMeshMatchesItsChecksum) {
    Checksum sum;
    sum.bytes(FishMeshParts, sizeof FishMeshParts);
    sum.bytes(FishMeshVertices, sizeof(MeshVertex) * FishMeshVertexCount);
    sum.bytes(TopFinColumns, sizeof TopFinColumns);
    sum.bytes(BottomFinColumns, sizeof BottomFinColumns);
    EXPECT_EQ(sum.h, 0x2ca6f880e2241d8bull) << std::hex << sum.h;
    int next = 0;
    for (const MeshPart& part : FishMeshParts) {
        EXPECT_EQ(part.first, next);
        next += part.rows * part.columns;
    }
    EXPECT_EQ(next, FishMeshVertexCount);
}

TEST(FishModelData, ModelSpaceConventions) {
    float minX = 1e9f, maxX = -1e9f;
    for (int i = 0; i < FishMeshVertexCount; ++i) {
        const MeshVertex& v = FishMeshVertices[i];
        const float length = std::sqrt(v.nx * v.nx + v.ny * v.ny + v.nz * v.nz);
        EXPECT_NEAR(length, 1.0f, 1e-4) << "vertex " << i;
        EXPECT_LE(v.y, 0.0f) << "the stored side is -y, vertex " << i;
        EXPECT_LE(v.ny, 1e-6f) << "normals of the stored side face -y, vertex " << i;
        EXPECT_TRUE(v.s >= 0 && v.s <= 1 && v.t >= 0 && v.t <= 1) << "inside the skin, vertex " << i;
        minX = std::min(minX, v.x);
        maxX = std::max(maxX, v.x);
    }
    EXPECT_NEAR(FishMeshVertices[0].x, -0.45f, 1e-6);  // the snout
    EXPECT_EQ(minX, -0.45f);
    EXPECT_GT(maxX - minX, 0.8f);  // about one unit with the tail fin
    EXPECT_LT(maxX - minX, 1.1f);
}

// ---- Animation --------------------------------------------------------------------------------

// A long run of the oscillators, fin flapping and head jitter from a fresh random sequence, folded
// into one checksum; meanwhile the front of the body stays still and the jitter within its limits.
TEST(FishAnimation, ALongRunMatchesItsChecksumAndKeepsItsLimits) {
    nerith::resetRandForTesting();
    Fish fish;
    AnimationFrame frame = {};
    Checksum sum;
    float lowest = 1, highest = -1;
    bool swayed = false, spread = false;
    for (int n = 0; n < 20000; ++n) {
        P::targetPitch(fish) = (n / 500) % 2 ? 10.0f : -10.0f;
        P::size(fish) = 4.0f + (n / 3000);
        FishModel::advanceAnimation(fish, frame);
        for (int i = 0; i <= 15; ++i) ASSERT_EQ(frame.tailSway[i], 0.0f) << "column " << i;
        ASSERT_GE(frame.headJitter, -0.008f);
        ASSERT_LE(frame.headJitter, 0.008f);
        lowest = std::min(lowest, frame.headJitter);
        highest = std::max(highest, frame.headJitter);
        swayed |= frame.tailSway[22] != 0.0f;
        spread |= frame.finSpreadA[5] != 0.0f;
        sum.add(frame);
    }
    EXPECT_EQ(lowest, -0.008f);
    EXPECT_EQ(highest, 0.008f);
    EXPECT_TRUE(swayed && spread);
    EXPECT_EQ(sum.h, 0x7dc79c67b210722bull) << std::hex << sum.h;
}

TEST(FishAnimation, PhaseAdvancesEveryThirdFrameAndRestartsAtZero) {
    FishOscillator osc;
    osc.step = 0.5235987f;
    osc.advance();
    osc.advance();
    EXPECT_EQ(osc.phase, 0.0f);
    osc.advance();
    EXPECT_FLOAT_EQ(osc.phase, 0.5235987f);
    osc.phase = 6.0f;
    osc.counter = 2;
    osc.advance();  // 6.5236 is past 6.283185: back to 0, not to 0.2404
    EXPECT_EQ(osc.phase, 0.0f);
    osc.phase = 6.283185f;  // not past it: kept
    osc.counter = 0;
    osc.advance();
    EXPECT_EQ(osc.phase, 6.283185f);
}

}  // namespace
