// The fish side of the view: the pellet slots, the steering geometry, the drawing pass, and a long
// replay of the whole school whose state is folded into one checksum.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "Checksum.h"
#include "OsMesa.h"
#include "FishTestPeer.h"
#include "Random.h"
#include "fish/School.h"
#include "scene/ViewLayout.h"

namespace {

using P = FishTestPeer;

const TankBox Tank = {-54.0f, 54.0f, 21.0f, -21.0f, -50.0f, 0.0f};

// (Drops into the first free slot are in the replay's checksum below, the eleventh drop refused
// and the drop height in PickingTest's feed clicks.)
TEST(FishSchoolRules, BearingAndLineAngle) {
    // Quadrants fold back into 0..90: 53 + 270 -> 360 - 323, 53 + 90 -> 180 - 143, 53 + 180 -> 270 - 233.
    const struct {
        float dx, dz;
        int degrees;
    } cases[] = {{0, 0, 0},  {0, 5, 90},  {0.00005f, -5, 270}, {-5, 0.00005f, 180},
                 {3, 4, 53}, {3, -4, 37}, {-3, 4, 37},         {-3, -4, 37}};
    for (const auto& c : cases) EXPECT_EQ(School::bearing(c.dx, c.dz), c.degrees) << c.dx << ", " << c.dz;

    const double deg = 180.0 / M_PI;
    const struct {
        float l[8];
        double angle;
    } lines[] = {
        {{0, 0, 2, 1, 5, 5, 9, 7}, 0.0},                            // parallel
        {{0, 0, 1, 0, 0, 0, 0, 1}, std::atan(10000.0) * deg},      // vertical: slope dz * 10000
        {{0, 0, 1, 1, 0, 0, 1, -1}, std::atan(20000.0) * deg},     // perpendicular: no division by 0
    };
    for (const auto& c : lines)
        EXPECT_NEAR(School::lineAngle(c.l[0], c.l[1], c.l[2], c.l[3], c.l[4], c.l[5], c.l[6], c.l[7]), c.angle, 1e-3);
}

TEST(FishSchoolRules, TiltTowardFoodIsRefusedPastNinety) {
    School school;
    school.pellet(0).Drop(-10.0f, 5.0f, -70.0f);
    school.pellet(0).SetActive(true);
    const FoodPellet& p = school.pellet(0);
    Fish& f = school.fish(0);
    f.setBounds(-50.0f, 50.0f, 15.0f, -15.0f, -80.0f, -60.0f);
    f.placeAt(0.0f, 0.0f, p.WorldZ());  // the pellet lies on the fish's axis in x-z
    P::settle(f, 0.0f);
    P::updateBoxes(f);
    school.setMode(FeedFishCmd);
    const int b = School::pelletBearing(p);
    for (float from : {-20.0f, -30.0f, 45.0f}) {
        P::targetPitch(f) = from;
        school.steerToFood(0);
        const bool refused = std::fabs(from + b) > 90.0f || std::fabs(from - b) > 90.0f;
        EXPECT_EQ(f.targetPitch(), refused ? from : from + float(b)) << from;
    }
    EXPECT_TRUE(f.excited());
    school.setMode(TouchFishCmd);  // other modes leave the fish alone
    P::excited(f) = false;
    school.steerToFood(0);
    EXPECT_FALSE(f.excited());
}

// A long replay of the whole school from a fresh random sequence (wandering, turns, the bend, the
// walls, food, avoidance and crowding), every fish's state after every frame folded into one
// checksum; meanwhile every fish must stay within its limits.
TEST(FishSchoolReplay, ALongRunMatchesItsChecksumAndKeepsEveryFishWithinItsLimits) {
    const int frames = 12000;  // 240,000 fish steps
    OsMesaContext gl(32, 32);
    ASSERT_TRUE(gl.ok());
    nerith::resetRandForTesting();
    School school;
    school.placeFish(Tank);
    school.setUpPellets();
    const int none[SpeciesCount] = {};  // first a pass without live fish: no work, and no draws
    ASSERT_EQ(school.simulateFishPass(none, FeedFishCmd), 0);
    const int counts[SpeciesCount] = {2, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    unsigned state = 12345;  // the test's own generator, so the fish's sequence is the product's
    auto next = [&state](unsigned n) {
        state = state * 1103515245u + 12345u;
        return (state >> 16) % n;
    };
    int mode = FeedFishCmd;
    int eaten = 0, drops = 0, walls = 0, collisions = 0;
    Checksum sum;
    for (int frame = 0; frame < frames; ++frame) {
        if (next(40) == 0 && school.dropPellet(float(next(100)) - 50.0f, float(next(40)) - 20.0f)) ++drops;
        if (next(3000) == 0) mode = next(4) == 0 ? TouchFishCmd : FeedFishCmd;
        if (next(500) == 0) school.fish(int(next(20))).touch();
        if (next(700) == 0) school.fish(int(next(20))).resize(2.0f, next(2) == 0);
        school.simulateFishPass(counts, mode);
        for (int i = 0; i < FishSlotCount; ++i) {
            Fish& f = school.fish(i);
            // There is no hard stop at the walls, but the walls turn the fish back: nobody strays far.
            auto in = [](float v, float lo, float hi) { return v >= lo && v <= hi; };
            ASSERT_TRUE(in(f.speed(), 0.1f, 0.4f) && in(f.targetYaw(), -360, 360) && in(f.yaw(), -360, 360) &&
                        in(f.targetPitch(), -45, 45) && in(f.y(), -10, 25) && in(f.size(), 4, 10) &&
                        in(f.x(), -75, 75) && in(f.z(), -130, -40))
                << "fish " << i << " frame " << frame;
            const float values[] = {f.x(),        f.y(),        f.z(),       f.yaw(),        f.pitch(),
                                    f.targetYaw(), f.targetPitch(), f.speed(), f.size(),     f.headJitter(),
                                    f.head().x,   f.head().y,   f.head().z,  f.tail().x,     f.paddedBox().xMax,
                                    f.paddedBox().zMin, f.tightBox().yMin};
            for (float v : values) {
                ASSERT_TRUE(std::isfinite(v)) << "fish " << i << " frame " << frame;
                sum.add(v);
            }
            for (int k = 0; k < BodyColumns; ++k) sum.add(P::columnDegrees(f)[k]);
            sum.add(f.wallState());
            sum.add(f.excited() | f.colliding() << 1 | f.finFlat() << 2 | f.directions().headingNegX << 3 |
                    f.directions().pitchUp << 4 | f.directions().targetPosZ << 5);
            walls += f.wallState() != NoWall;
            collisions += f.colliding();
        }
        for (int p = 0; p < PelletSlotCount; ++p) {
            const FoodPellet& pel = school.pellet(p);
            if (pel.IsActive() && pel.Visible() == 0.0f && pel.OffsetY() > -10.0f) ++eaten;
            sum.add(pel.IsActive());
            for (float v : {pel.WorldX(), pel.WorldY(), pel.Tilt(), pel.Spin(), pel.OffsetZ()}) sum.add(v);
        }
        school.pelletPass();
    }
    // The replay must exercise what the checksum stands for.
    EXPECT_GT(drops, 100);
    EXPECT_GT(eaten, 0);
    EXPECT_GT(walls, 100);
    EXPECT_GT(collisions, 100);
    EXPECT_EQ(sum.h, 0x9be9e28202ac7620ull) << "the school's behaviour changed: " << std::hex << sum.h;
}

// On every shape of screen the fish swim out to both edges of the view (and up and down a portrait
// one), and none stays out of sight much longer than on the listed 1024 x 768 screen.
TEST(FishSchoolOnScreen, FishReachEveryEdgeAndComeBackAsOnTheListedScreen) {
    const int sizes[][2] = {{1024, 768}, {1536, 864}, {3440, 1440}, {5120, 1440}, {1080, 1920}, {2256, 1504}};
    const int all[SpeciesCount] = {2, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    int listedLongest = 0;
    long long listedHidden = 0;
    for (const auto& size : sizes) {
        const int w = size[0], h = size[1];
        SCOPED_TRACE(::testing::Message() << w << "x" << h);
        nerith::resetRandForTesting();
        School school;
        school.placeFish(LayoutFor(w, h));
        float left = 0, right = 0, low = 0, high = 0;  // the fish's reach, in parts of the view
        int longest = 0, out[FishSlotCount] = {};
        long long hidden = 0;
        for (int frame = 0; frame < 8000; ++frame) {
            school.simulateFishPass(all, TouchFishCmd);
            for (int i = 0; i < FishSlotCount; ++i) {
                const Fish& f = school.fish(i);
                const Extent view = VisibleAt(w, h, f.z());
                const float u = f.x() / view.halfWidth, v = f.y() / view.halfHeight;
                left = std::min(left, u);
                right = std::max(right, u);
                low = std::min(low, v);
                high = std::max(high, v);
                // Out of sight: the whole body (at most 3.3 long at the largest size) beyond the edge.
                out[i] = std::fabs(f.x()) - 1.7f > view.halfWidth ? out[i] + 1 : 0;
                longest = std::max(longest, out[i]);
                hidden += out[i] > 0;
            }
        }
        EXPECT_LT(left, -0.95f);
        EXPECT_GT(right, 0.95f);
        if (h > w) {
            EXPECT_GT(high, 0.8f);
            EXPECT_LT(low, -0.5f);
        }
        if (listedLongest == 0) {
            listedLongest = longest;
            listedHidden = hidden;
        }
        EXPECT_LE(longest, listedLongest * 5 / 4) << "the listed screen's longest: " << listedLongest;
        EXPECT_LE(hidden, listedHidden * 5 / 4) << "fish frames out of sight on the listed screen: " << listedHidden;
    }
}

}  // namespace
