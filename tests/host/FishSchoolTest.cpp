// The fish side of the view: placement, the per-frame fish and pellet passes, the steering rules,
// and a long run of the whole school.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "OsMesa.h"
#include "FishTestPeer.h"
#include "Random.h"
#include "fish/School.h"
#include "scene/ViewLayout.h"

namespace {

using P = FishTestPeer;

const TankBox Tank = {-54.0f, 54.0f, 21.0f, -21.0f, -50.0f, 0.0f};

// Puts fish `i` at a point, heading settled, boxes computed, nothing pending.
Fish& put(School& school, int i, float x, float y, float z, float heading) {
    Fish& f = school.fish(i);
    f.setBounds(-50.0f, 50.0f, 15.0f, -15.0f, -80.0f, -60.0f);
    f.placeAt(x, y, z);
    P::targetPitch(f) = 0.0f;
    P::pitch(f) = 0.0f;
    P::wanderCounter(f) = 0;
    P::settle(f, heading);
    P::updateBoxes(f);
    return f;
}

TEST(FishSchool, PlacementDrawsFourteenNumbersPerSlotAfterTheConstructors) {
    nerith::resetRandForTesting();
    School school;  // 20 fish x 5 draws
    school.placeFish(Tank);
    EXPECT_EQ(school.fish(0).x(), -46.0f);
    EXPECT_EQ(school.fish(0).y(), -15.0f);
    EXPECT_EQ(school.fish(0).z(), -63.0f);
    EXPECT_EQ(school.fish(1).x(), 47.0f);
    EXPECT_EQ(school.fish(1).y(), -3.0f);
    EXPECT_EQ(school.fish(1).z(), -74.0f);
    EXPECT_EQ(school.fish(19).x(), 4.0f);
    EXPECT_EQ(school.fish(19).y(), 5.0f);
    EXPECT_EQ(school.fish(19).z(), -75.0f);
    EXPECT_EQ(school.fish(19).targetPitch(), 28.0f);
    EXPECT_EQ(school.fish(19).targetYaw(), 98.0f);
    // The swimming box from the tank: y from bottom + 11 to top + 4.
    EXPECT_EQ(P::yMin(school.fish(7)), -10.0f);
    EXPECT_EQ(P::yMax(school.fish(7)), 25.0f);
    EXPECT_EQ(P::xMin(school.fish(7)), -50.0f);
    EXPECT_EQ(P::xMax(school.fish(7)), 50.0f);
}

TEST(FishSchool, DropFillsTheFirstFreeSlotAndRefusesAnEleventh) {
    School school;
    for (int i = 0; i < 10; ++i) EXPECT_TRUE(school.dropPellet(float(i), 5.0f));
    EXPECT_FALSE(school.dropPellet(20.0f, 5.0f));
    for (int i = 0; i < 10; ++i) {
        EXPECT_TRUE(school.pellet(i).IsActive());
        EXPECT_EQ(school.pellet(i).AnchorX(), float(i));
        EXPECT_EQ(school.pellet(i).AnchorY(), 3.0f);
        EXPECT_EQ(school.pellet(i).AnchorZ(), -70.0f);
    }
    school.pellet(4).SetActive(false);
    EXPECT_TRUE(school.dropPellet(30.0f, 0.0f));
    EXPECT_EQ(school.pellet(4).AnchorX(), 30.0f);
}

TEST(FishSchoolRules, Bearing) {
    // Quadrants fold back into 0..90: 53 + 270 -> 360 - 323, 53 + 90 -> 180 - 143, 53 + 180 -> 270 - 233.
    const struct {
        float dx, dz;
        int degrees;
    } cases[] = {{0, 0, 0},  {0, 5, 90},  {0.00005f, -5, 270}, {5, 0, 0},   {-5, 0.00005f, 180},
                 {3, 4, 53}, {4, 3, 36},  {3, -4, 37},         {-3, 4, 37}, {-3, -4, 37}};
    for (const auto& c : cases) EXPECT_EQ(School::bearing(c.dx, c.dz), c.degrees) << c.dx << ", " << c.dz;
}

TEST(FishSchoolRules, LineAngle) {
    EXPECT_NEAR(School::lineAngle(0, 0, 1, 0, 0, 0, 1, 1), 45.0f, 1e-4);
    EXPECT_NEAR(School::lineAngle(0, 0, 1, 1, 0, 0, 1, 0), 45.0f, 1e-4);
    EXPECT_NEAR(School::lineAngle(0, 0, 2, 1, 5, 5, 9, 7), 0.0f, 1e-4);  // parallel
    // A vertical line has slope dz * 10000.
    EXPECT_NEAR(School::lineAngle(0, 0, 1, 0, 0, 0, 0, 1), std::atan(10000.0) * 180.0 / M_PI, 1e-4);
    // Perpendicular slopes 1 and -1: the denominator vanishes.
    EXPECT_NEAR(School::lineAngle(0, 0, 1, 1, 0, 0, 1, -1), std::atan(20000.0) * 180.0 / M_PI, 1e-4);
    // Slopes 0.5 and -2 are perpendicular too.
    EXPECT_NEAR(School::lineAngle(0, 0, 2, 1, 0, 0, -1, 2), std::atan(2.5 * 10000.0) * 180.0 / M_PI, 1e-3);
}

TEST(FishSchoolRules, OffAxisAngleIsMeasuredFromTheFishAxisInXZ) {
    School school;
    Fish& f = put(school, 0, 0.0f, 0.0f, -70.0f, 0.0f);  // head at (-2.25, 0, -70)
    nerith::resetRandForTesting();
    school.pellet(0).Drop(-10.0f, 3.0f, -65.0f);
    const FoodPellet& p = school.pellet(0);
    const double expected = std::atan(std::fabs((p.WorldZ() + 70.0) / p.WorldX())) * 180.0 / M_PI;
    EXPECT_NEAR(School::offAxisAngle(f, p), expected, 1e-3);
    EXPECT_GT(School::offAxisAngle(f, p), 20.0f);
    EXPECT_LT(School::offAxisAngle(f, p), 30.0f);
}

TEST(FishSchoolRules, SteerToFoodTurnsTowardAPelletAhead) {
    School school;
    Fish& f = put(school, 0, 0.0f, 0.0f, -70.0f, 0.0f);
    P::speed(f) = 0.4f;
    school.pellet(0).Drop(-10.0f, 3.0f, -65.0f);
    school.pellet(0).SetActive(true);
    school.setMode(FeedFishCmd);
    const float d = School::offAxisAngle(f, school.pellet(0));
    school.steerToFood(0);
    EXPECT_TRUE(f.excited());
    EXPECT_FLOAT_EQ(f.speed(), 0.3f);
    // Ahead in x, nearer the viewer than the head: turn toward +z (yaw grows from 0).
    EXPECT_EQ(f.targetYaw(), float(int(d)));
    EXPECT_GT(f.targetYaw(), 20.0f);
}

TEST(FishSchoolRules, SteerToFoodTurnsAboutForAPelletBehind) {
    // Heading -x, the pellet behind at +x. The turn of 180 - d goes to the pellet's side in z.
    for (float pelletZ : {-72.0f, -67.0f}) {
        School school;
        Fish& f = put(school, 0, 0.0f, 0.0f, -70.0f, 0.0f);
        school.pellet(0).Drop(10.0f, 3.0f, pelletZ);
        school.pellet(0).SetActive(true);
        school.setMode(FeedFishCmd);
        const FoodPellet& p = school.pellet(0);
        const float d = School::offAxisAngle(f, p);
        school.steerToFood(0);
        const float turn = float(int(180.0f - d));
        const float expected = f.head().z > p.WorldZ() ? -turn : turn;
        EXPECT_EQ(f.targetYaw(), expected) << "pellet at z " << pelletZ;
        // The new heading points at the pellet: +x, and toward its side in z.
        const float yaw = f.targetYaw() * 0.017453292f;
        EXPECT_GT(-std::cos(yaw), 0.0f);
        EXPECT_EQ(std::sin(yaw) > 0.0f, p.WorldZ() > f.z()) << "pellet at z " << pelletZ;
    }
}

TEST(FishSchoolRules, SteerToFoodTiltsTowardAPelletOnTheAxis) {
    School school;
    school.pellet(0).Drop(-10.0f, 5.0f, -70.0f);
    school.pellet(0).SetActive(true);
    const FoodPellet& p = school.pellet(0);
    // The fish on the pellet's z: the pellet lies on the fish's axis line in x-z.
    Fish& f = put(school, 0, 0.0f, 0.0f, p.WorldZ(), 0.0f);
    P::targetPitch(f) = -20.0f;
    school.setMode(FeedFishCmd);
    ASSERT_LT(School::offAxisAngle(f, p), 1.0f);
    const int b = School::pelletBearing(p);
    ASSERT_GT(b, 50);
    ASSERT_LT(b, 70);
    school.steerToFood(0);
    EXPECT_EQ(f.targetPitch(), -20.0f + float(b)) << "the head is below the pellet: up by the bearing";
    EXPECT_EQ(f.targetYaw(), 0.0f);
    EXPECT_TRUE(f.excited());
    // The tilt is refused when either direction would pass 90, whichever way it goes.
    P::targetPitch(f) = -30.0f;
    school.steerToFood(0);
    EXPECT_EQ(f.targetPitch(), -30.0f);
    // From a target pitch of 45 the same tilt would pass 90: refused.
    P::targetPitch(f) = 45.0f;
    school.steerToFood(0);
    EXPECT_EQ(f.targetPitch(), 45.0f);
}

TEST(FishSchoolRules, SteerToFoodOnlyInTheFeedMode) {
    School school;
    Fish& f = put(school, 0, 0.0f, 0.0f, -70.0f, 0.0f);
    school.pellet(0).Drop(-10.0f, 3.0f, -65.0f);
    school.pellet(0).SetActive(true);
    P::excited(f) = true;
    school.setMode(TouchFishCmd);
    school.steerToFood(0);
    EXPECT_TRUE(f.excited()) << "other modes leave the excitement as it was";
    EXPECT_EQ(f.targetYaw(), 0.0f);
    school.setMode(FeedFishCmd);
    school.pellet(0).SetActive(false);
    school.steerToFood(0);
    EXPECT_FALSE(f.excited());
}

TEST(FishSchoolRules, SteerToFoodIgnoresFarPellets) {
    School school;
    Fish& f = put(school, 0, 0.0f, 0.0f, -70.0f, 0.0f);
    school.pellet(0).Drop(-30.0f, 3.0f, -65.0f);
    school.pellet(0).SetActive(true);
    school.setMode(FeedFishCmd);
    school.steerToFood(0);
    EXPECT_FALSE(f.excited());
    EXPECT_EQ(f.targetYaw(), 0.0f);
}

TEST(FishSchoolRules, PelletAtTheMouthIsPulledInAndEaten) {
    OsMesaContext gl;
    ASSERT_TRUE(gl.ok());
    School school;
    school.setUpPellets();
    Fish& f = put(school, 0, 0.0f, 0.0f, -70.0f, 0.0f);
    school.pellet(0).Drop(f.head().x - 1.0f, f.head().y + 2.0f, -70.0f);
    school.pellet(0).SetActive(true);
    const FoodPellet& p = school.pellet(0);
    const float dx = f.head().x - p.WorldX(), dy = f.head().y - p.WorldY();
    const float ox = p.OffsetX(), oy = p.OffsetY(), oz = p.OffsetZ();
    school.nudgePellets(0);
    EXPECT_FLOAT_EQ(p.OffsetX(), ox + 0.005f * dx);
    EXPECT_FLOAT_EQ(p.OffsetY(), oy + 0.005f * dy);
    EXPECT_EQ(p.OffsetZ(), oz);
    EXPECT_EQ(p.Visible(), 0.0f);
    EXPECT_TRUE(p.IsActive()) << "the slot frees itself at its next Draw";
    school.pelletPass();
    EXPECT_FALSE(p.IsActive());
    EXPECT_TRUE(school.dropPellet(0.0f, 0.0f));
    EXPECT_EQ(school.pellet(0).Visible(), 1.0f);
}

TEST(FishSchoolRules, PelletNearButNotAtTheMouthIsOnlyPulled) {
    School school;
    Fish& f = put(school, 0, 0.0f, 0.0f, -70.0f, 0.0f);
    // 14 units behind the head in z: pulled (within 15) but not eaten (13 or more).
    nerith::resetRandForTesting();
    school.pellet(0).Drop(f.head().x, f.head().y, -70.0f - 14.0f + 0.233866f);
    school.pellet(0).SetActive(true);
    const float dz = f.head().z - school.pellet(0).WorldZ();
    ASSERT_GT(std::fabs(dz), 13.0f);
    ASSERT_LT(std::fabs(dz), 15.0f);
    const float ox = school.pellet(0).OffsetX();
    school.nudgePellets(0);
    EXPECT_NE(school.pellet(0).OffsetX(), ox);
    EXPECT_EQ(school.pellet(0).Visible(), 1.0f);
    // Far away in x: untouched.
    put(school, 1, 40.0f, 0.0f, -70.0f, 0.0f);
    const float before = school.pellet(0).OffsetX();
    school.nudgePellets(1);
    EXPECT_EQ(school.pellet(0).OffsetX(), before);
}

TEST(FishSchoolRules, CrossingFishTurnApartAndTiltApart) {
    School school;
    Fish& f = put(school, 0, 0.0f, 0.0f, -70.0f, 0.0f);   // heading -x
    Fish& g = put(school, 1, 1.0f, 0.0f, -70.0f, 90.0f);  // heading +z
    nerith::resetRandForTesting();
    school.avoidFish(0);
    EXPECT_TRUE(f.colliding());
    EXPECT_TRUE(g.colliding());
    EXPECT_EQ(f.targetPitch(), -1.0f);  // not higher: F down, G up
    EXPECT_EQ(g.targetPitch(), 1.0f);
    // Same z: F turn (0, false, 5): heading -x adds 41 % 10 + 10; G turn (0, true, 5): heading -x
    // (yaw 90) subtracts 18467 % 10 + 10.
    EXPECT_EQ(f.targetYaw(), 11.0f);
    EXPECT_EQ(g.targetYaw(), 73.0f);
}

TEST(FishSchoolRules, OppositeParallelFishMakeOneUTurn) {
    School school;
    Fish& f = put(school, 0, 0.0f, 0.0f, -70.0f, 0.0f);    // target -x
    Fish& g = put(school, 1, 1.0f, 0.0f, -70.0f, 180.0f);  // target +x
    school.avoidFish(0);
    EXPECT_EQ(f.targetYaw(), 0.0f);
    EXPECT_EQ(g.targetYaw(), 360.0f) << "equal sizes: G turns (heading +x, flag true: +180)";

    Fish& f2 = put(school, 0, 0.0f, 0.0f, -70.0f, 0.0f);
    put(school, 1, 1.0f, 0.0f, -70.0f, 180.0f);
    P::size(f2) = 5.0f;
    P::updateBoxes(f2);
    school.avoidFish(0);
    EXPECT_EQ(f2.targetYaw(), -180.0f) << "the smaller fish turns";
    EXPECT_EQ(school.fish(1).targetYaw(), 180.0f);
}

TEST(FishSchoolRules, SameWayTheFishBehindSpeedsTheOneAheadUp) {
    School school;
    Fish& f = put(school, 0, 2.0f, 0.0f, -70.0f, 0.0f);  // heading -x, behind G
    Fish& g = put(school, 1, 0.0f, 0.0f, -70.0f, 0.0f);
    P::speed(f) = 0.3f;
    P::speed(g) = 0.1f;
    school.avoidFish(0);
    EXPECT_FLOAT_EQ(g.speed(), 0.2f);  // toward F + 0.1 = 0.4
    EXPECT_FLOAT_EQ(f.speed(), 0.2f);  // toward G's new speed - 0.1 = 0.1

    Fish& a = put(school, 0, 0.0f, 0.0f, -70.0f, 0.0f);  // ahead of B
    Fish& b = put(school, 1, 2.0f, 0.0f, -70.0f, 0.0f);
    P::speed(a) = 0.1f;
    P::speed(b) = 0.3f;
    school.avoidFish(0);
    EXPECT_FLOAT_EQ(a.speed(), 0.2f);  // toward B + 0.1
    EXPECT_FLOAT_EQ(b.speed(), 0.2f);  // toward A's new speed - 0.1
}

TEST(FishSchoolRules, DistantAndNeverSteppedFishAreLeftAlone) {
    School school;
    Fish& f = put(school, 0, 0.0f, 0.0f, -70.0f, 0.0f);
    put(school, 1, 30.0f, 0.0f, -70.0f, 0.0f);
    school.fish(2).setBounds(-50.0f, 50.0f, 15.0f, -15.0f, -80.0f, -60.0f);  // boxes at the origin
    f.setColliding(true);
    school.avoidFish(0);
    EXPECT_FALSE(f.colliding());
    EXPECT_FALSE(school.fish(1).colliding());
    EXPECT_EQ(f.targetPitch(), 0.0f);
}

TEST(FishSchoolRules, CloseFishSeparateVertically) {
    School school;
    const int counts[SpeciesCount] = {3};
    put(school, 0, 0.0f, 3.0f, -70.0f, 0.0f);
    put(school, 1, 0.0f, 0.0f, -70.0f, 0.0f);
    put(school, 2, 30.0f, -4.0f, -70.0f, 0.0f);
    school.simulateFishPass(counts, TouchFishCmd);
    EXPECT_EQ(school.fish(0).targetPitch(), 1.0f) << "the higher fish of the pair tilts up";
    EXPECT_EQ(school.fish(1).targetPitch(), 0.0f) << "the second fish of the pair is not changed";
    EXPECT_EQ(school.fish(2).targetPitch(), 0.0f);

    School lower;
    put(lower, 0, 0.0f, -3.0f, -70.0f, 0.0f);
    put(lower, 1, 0.0f, 0.0f, -70.0f, 0.0f);
    const int two[SpeciesCount] = {1, 1};
    lower.simulateFishPass(two, TouchFishCmd);
    EXPECT_EQ(lower.fish(0).targetPitch(), -1.0f);
}

TEST(FishSchoolPass, SlotsWearTheirSpeciesSkinAndOnlyLiveFishMove) {
    OsMesaContext gl;
    ASSERT_TRUE(gl.ok());
    School school;
    school.placeFish(Tank);
    const int counts[SpeciesCount] = {2, 0, 3};
    GLuint skins[SpeciesCount];
    for (int j = 0; j < SpeciesCount; ++j) skins[j] = 100 + j;
    const float x5 = school.fish(5).x();
    GLint depthBefore = 0, depthAfter = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthBefore);
    EXPECT_EQ(school.fishPass(counts, skins, FeedFishCmd), 5);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthAfter);
    EXPECT_EQ(depthBefore, depthAfter);
    const int species[5] = {0, 0, 2, 2, 2};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(school.fish(i).species(), species[i]) << "slot " << i;
        EXPECT_EQ(school.position(i).x, school.fish(i).x());
        EXPECT_EQ(school.position(i).z, school.fish(i).z());
        EXPECT_EQ(school.position(i).extra, 0);
    }
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, 102);
    EXPECT_EQ(school.fish(5).x(), x5);
    EXPECT_EQ(school.liveFish(), 5);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    // Raising species 0 to 3: slot 2 now wears skin 0 and slot 5 comes to life with skin 2.
    const int more[SpeciesCount] = {3, 0, 3};
    school.fishPass(more, skins, FeedFishCmd);
    EXPECT_EQ(school.fish(2).species(), 0);
    EXPECT_EQ(school.fish(5).species(), 2);
    EXPECT_NE(school.fish(5).x(), x5);
}

TEST(FishSchoolPass, NoLiveFishMeansNoFishWork) {
    School school;
    school.placeFish(Tank);
    const int none[SpeciesCount] = {};
    const float x = school.fish(0).x();
    nerith::resetRandForTesting();
    EXPECT_EQ(school.simulateFishPass(none, FeedFishCmd), 0);
    EXPECT_EQ(school.fish(0).x(), x);
    EXPECT_EQ(nerith::rand(), 41);
}

// A long run of the whole school with pellets dropped now and then, mode changes, touches and
// zooms: the fish must stay within their limits.
TEST(FishSchoolSoak, ALongRunKeepsEveryFishWithinItsLimits) {
    const int frames = 12000;  // 240,000 fish steps
    OsMesaContext gl(32, 32);
    ASSERT_TRUE(gl.ok());
    School school;
    school.placeFish(Tank);
    school.setUpPellets();
    const int counts[SpeciesCount] = {2, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    unsigned state = 12345;  // the test's own generator, so the fish's sequence is the product's
    auto next = [&state](unsigned n) {
        state = state * 1103515245u + 12345u;
        return (state >> 16) % n;
    };
    int mode = FeedFishCmd;
    int eaten = 0, drops = 0;
    float minX = 1e9f, maxX = -1e9f, minZ = 1e9f, maxZ = -1e9f;
    for (int frame = 0; frame < frames; ++frame) {
        if (next(40) == 0 && school.dropPellet(float(next(100)) - 50.0f, float(next(40)) - 20.0f)) ++drops;
        if (next(3000) == 0) mode = next(4) == 0 ? TouchFishCmd : FeedFishCmd;
        if (next(500) == 0) school.fish(int(next(20))).touch();
        if (next(700) == 0) school.fish(int(next(20))).resize(2.0f, next(2) == 0);
        school.simulateFishPass(counts, mode);
        for (int i = 0; i < FishSlotCount; ++i) {
            const Fish& f = school.fish(i);
            auto in = [](float v, float lo, float hi) { return v >= lo && v <= hi; };
            ASSERT_TRUE(in(f.speed(), 0.1f, 0.4f) && in(f.targetYaw(), -360, 360) && in(f.yaw(), -360, 360) &&
                        in(f.targetPitch(), -45, 45) && in(f.y(), -10, 25) && in(f.size(), 4, 10))
                << "fish " << i << " frame " << frame << ": speed " << f.speed() << " yaw " << f.yaw() << " -> "
                << f.targetYaw() << " pitch -> " << f.targetPitch() << " y " << f.y() << " size " << f.size();
            const float values[] = {f.x(), f.y(), f.z(), f.yaw(), f.pitch(), f.head().x, f.head().y, f.head().z,
                                    f.paddedBox().xMax, f.paddedBox().zMin, f.headJitter()};
            for (float v : values) ASSERT_TRUE(std::isfinite(v)) << "fish " << i << " frame " << frame;
            minX = std::min(minX, f.x()), maxX = std::max(maxX, f.x());
            minZ = std::min(minZ, f.z()), maxZ = std::max(maxZ, f.z());
        }
        for (int p = 0; p < PelletSlotCount; ++p)
            if (school.pellet(p).IsActive() && school.pellet(p).Visible() == 0.0f && school.pellet(p).OffsetY() > -10.0f)
                ++eaten;
        school.pelletPass();
    }
    // There is no hard stop at the walls, but the walls turn the fish back: nobody strays far
    // (a slow turn near heading 0 or a few small random turns at the back let a fish overshoot).
    EXPECT_GT(minX, -75.0f);
    EXPECT_LT(maxX, 75.0f);
    EXPECT_GT(minZ, -130.0f);
    EXPECT_LT(maxZ, -40.0f);
    std::printf("x %.2f .. %.2f, z %.2f .. %.2f, %d drops, %d eaten\n", minX, maxX, minZ, maxZ, drops, eaten);
    EXPECT_GT(drops, 100);
    EXPECT_GT(eaten, 0) << "some pellets were eaten";
}

}  // namespace
