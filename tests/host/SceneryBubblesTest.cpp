#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "Checksum.h"
#include "FeedbackCapture.h"
#include "OsMesa.h"
#include "Random.h"
#include "scene/ParticleSystem.h"

namespace {

bool SameParticle(const Particle& a, const Particle& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::vector<Particle> Snapshot(const BubbleSystem& bubbles) {
    std::vector<Particle> all;
    for (int i = 0; i < bubbles.PoolSize(); ++i) all.push_back(bubbles.At(i));
    return all;
}

int loaderCalls = 0;
unsigned FakeSprite() {
    ++loaderCalls;
    nerith::rand();  // a loader may draw as well (the long run's checksum counts this draw)
    return 77;
}

}  // namespace

// 3000 frames of rising, fading and reseeding folded into one checksum; meanwhile a reseeded
// bubble keeps its size and may start faster than any first one.
TEST(BubbleSystem, ALongRunMatchesItsChecksum) {
    nerith::resetRandForTesting();
    loaderCalls = 0;
    BubbleSystem bubbles;
    bubbles.SetSpriteLoader(FakeSprite);
    ASSERT_TRUE(bubbles.Init(200));
    EXPECT_EQ(bubbles.Count(), 200);
    EXPECT_EQ(bubbles.SpriteTexture(), 77u);
    EXPECT_EQ(loaderCalls, 1);
    Checksum sum;
    for (int i = 0; i < 200; ++i) sum.add(bubbles.At(i));
    const float initialTopSpeed = 8999 * 0.000042f * 0.33333334f;
    int reseeds = 0;
    float fastest = 0.0f;
    for (int frame = 0; frame < 3000; ++frame) {
        const std::vector<Particle> before = Snapshot(bubbles);
        bubbles.Update();
        for (int i = 0; i < 200; ++i) {
            const Particle& now = bubbles.At(i);
            sum.add(now);
            if (now.y < before[i].y || now.life > before[i].life) {
                ++reseeds;
                ASSERT_EQ(now.size, before[i].size);
                fastest = std::max(fastest, now.vy);
            }
        }
    }
    EXPECT_GT(reseeds, 1000);
    EXPECT_GT(fastest, initialTopSpeed);
    EXPECT_EQ(sum.h, 0x453fc03ed9f131f5ull) << "long run " << std::hex << sum.h;
}

TEST(BubbleSystem, ACountOutsideThePoolIsLimitedToIt) {
    OsMesaContext gl;
    ASSERT_TRUE(gl.ok());
    BubbleSystem bubbles;
    ASSERT_TRUE(bubbles.Init(200));

    // None drawn: nothing moves and no random numbers are drawn.
    std::vector<Particle> before = Snapshot(bubbles);
    for (int count : {0, -50}) {
        nerith::resetRandForTesting();
        bubbles.Draw(count);
        EXPECT_EQ(bubbles.Count(), 0);
        EXPECT_EQ(nerith::rand(), 41);
        for (int i = 0; i < 200; ++i) EXPECT_TRUE(SameParticle(bubbles.At(i), before[i]));
    }

    // Asking for more than the pool draws and moves all 200, no more.
    bubbles.Draw(205);
    EXPECT_EQ(bubbles.Count(), 200);
    for (int i = 0; i < 200; ++i) EXPECT_FALSE(SameParticle(bubbles.At(i), before[i])) << i;

    // Only the first `count` move; the rest resume later from where they were left.
    before = Snapshot(bubbles);
    bubbles.Draw(30);
    EXPECT_EQ(bubbles.Count(), 30);
    for (int i = 0; i < 200; ++i) EXPECT_EQ(SameParticle(bubbles.At(i), before[i]), i >= 30) << i;

    // No pool draws nothing.
    BubbleSystem none;
    EXPECT_FALSE(none.Init(-1));
    nerith::resetRandForTesting();
    EXPECT_TRUE(CapturePolygons([&] { none.Draw(200); }).empty());
    EXPECT_EQ(none.Count(), 0);
    EXPECT_EQ(nerith::rand(), 41);
    ASSERT_TRUE(none.Init(5));
    EXPECT_EQ(none.SpriteTexture(), 0u) << "without a loader the sprite stays 0";
}
