// The fish mesh's data and its animation (how a drawn fish looks: the whole-frame checksums).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "Checksum.h"
#include "FishTestPeer.h"
#include "Random.h"
#include "fish/Fish.h"
#include "fish/FishModel.h"

namespace {

using P = FishTestPeer;

// What the stored mesh, and any new one, must keep.
TEST(FishModelData, ModelSpaceConventions) {
    int next = 0;
    for (const MeshPart& part : FishMeshParts) {
        EXPECT_EQ(part.first, next) << "the parts follow each other";
        next += part.rows * part.columns;
    }
    EXPECT_EQ(next, FishMeshVertexCount);
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

// A long run of the oscillators (each phase steps every third frame and restarts at 0 once past a
// full turn), fin flapping and head jitter from a fresh random sequence, folded into one checksum;
// meanwhile the front of the body stays still and the jitter within its limits.
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
        lowest = std::min(lowest, frame.headJitter);
        highest = std::max(highest, frame.headJitter);
        swayed |= frame.tailSway[22] != 0.0f;
        spread |= frame.finSpreadA[5] != 0.0f;
        sum.add(frame);
    }
    EXPECT_EQ(lowest, -0.008f);  // the jitter reaches its limits and never passes them
    EXPECT_EQ(highest, 0.008f);
    EXPECT_TRUE(swayed && spread);
    EXPECT_EQ(sum.h, 0x7dc79c67b210722bull) << std::hex << sum.h;
}

}  // namespace
