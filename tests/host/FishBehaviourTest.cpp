// Fish behaviour rules as tables: turning and tilting, the yaw reset and the direction flags. The
// long replay in FishSchoolTest checks everything else a fish does (the turn step, darting away).
#include <gtest/gtest.h>

#include "FishTestPeer.h"
#include "Random.h"
#include "fish/Fish.h"

namespace {

using P = FishTestPeer;

// The first values of the never-seeded runtime generator.
constexpr int R0 = 41;

// A fish in the middle of the standard swimming box, heading settled at `heading`.
Fish& prepare(Fish& f, float heading, float z = -70.0f) {
    f.setBounds(-50.0f, 50.0f, 15.0f, -15.0f, -80.0f, -60.0f);
    f.placeAt(0.0f, 0.0f, z);
    P::targetPitch(f) = 0.0f;
    P::pitch(f) = 0.0f;
    P::settle(f, heading);
    return f;
}

TEST(FishTurn, IgnoresANewHeadingWhileStillTurning) {
    Fish f;
    prepare(f, 100.0f);
    P::yaw(f) = 99.8f;  // 0.2 short of the target
    nerith::resetRandForTesting();
    for (int kind : {1, 0, 2, 4, 5}) f.turn(0.0f, true, kind);
    EXPECT_EQ(f.targetYaw(), 100.0f);
    EXPECT_EQ(nerith::rand(), R0) << "a refused turn draws nothing";

    P::yaw(f) = 99.9f;  // within 0.1: accepted
    f.turn(0.0f, false, 1);
    EXPECT_EQ(f.targetYaw(), 280.0f);
}

// Every turn kind from a settled heading, each with a fresh random sequence (41, 18467, ...).
TEST(FishTurn, EveryKindFromASettledHeading) {
    struct Case {
        float heading, z;
        bool flag;
        int kind;
        float amount, target;
        bool draws;
    };
    const float in = -70.0f;  // inside the turn band of kind 4
    const Case cases[] = {
        // kind 0: 41 discarded, 18467 % 170 = 107, away from the half circle
        {100, in, false, 0, 0, 207, true}, {200, in, true, 0, 0, 93, true},
        // kind 1: about by half a circle, up to 360 and wrapping past it
        {180, in, true, 1, 0, 360, false}, {200, in, true, 1, 0, 20, false},
        {-100, in, true, 1, 0, 80, false},
        // kinds 2 and 5 by 11; heading -x (30): the flag subtracts, heading +x (100): it adds; kind 7
        // by |amount| truncated, without a draw
        {30, in, false, 2, 0, 41, true}, {30, in, true, 2, 0, 19, true}, {100, in, false, 2, 0, 89, true},
        {100, in, true, 5, 0, 111, true}, {100, in, false, 7, -12.7f, 88, false},
        // kind 4: a quarter, only inside the band
        {180, in, true, 4, 0, 270, false}, {200, in, true, 4, 0, 110, false},
        {-180, in, true, 4, 0, -270, false}, {-200, in, true, 4, 0, -110, false},
        {100, -89.5f, true, 4, 0, 190, false}, {100, -90, true, 4, 0, 100, false},  // the band's edge
        {100, -75, true, 4, 0, 100, false},    {100, -60, true, 4, 0, 100, false},
        // kind 6: a U-turn chosen by flag and heading, clamped to a full circle
        {30, in, true, 6, 0, -150, false}, {30, in, false, 6, 0, 210, false}, {100, in, true, 6, 0, 280, false},
        {100, in, false, 6, 0, -80, false}, {300, in, false, 6, 0, 360, false}, {-300, in, true, 6, 0, -360, false},
        // unknown kinds change nothing
        {100, in, true, 3, 45, 100, false}, {100, in, true, 8, 45, 100, false}, {100, in, true, -1, 45, 100, false},
    };
    Fish f;
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "kind " << c.kind << " from " << c.heading << " flag " << c.flag
                                          << " z " << c.z);
        prepare(f, c.heading, c.z);
        nerith::resetRandForTesting();
        f.turn(c.amount, c.flag, c.kind);
        EXPECT_EQ(f.targetYaw(), c.target);
        if (!c.draws) { EXPECT_EQ(nerith::rand(), R0); }
    }
}

TEST(FishTilt, EveryKind) {
    struct Case {
        float from, amount;
        bool flag;
        int kind;
        float to;
    };
    const Case cases[] = {
        // kind 0: away from level by 41 % 15 + 15 = 26, the first draw of a fresh sequence
        {10, 0, false, 0, -16}, {-10, 0, false, 0, 16}, {0, 0, false, 0, 26}, {30, 0, false, 0, 4},
        // kind 3 mirrors; kind 5 steps by one up to 45
        {-33, 0, true, 3, 33}, {20, 9, true, 5, 21}, {20, 9, false, 5, 19}, {45, 0, true, 5, 45},
        {-45, 0, false, 5, -45},
        // kind 7 by the amount, clamped to 45, refused when it would pass 90 (exactly 90 is allowed)
        {10, 30, true, 7, 40}, {10, 30, false, 7, -20}, {30, 40, true, 7, 45}, {45, 50, false, 7, 45},
        {-45, 50, true, 7, -45}, {0, 90, true, 7, 45},
        // other kinds change nothing and draw nothing
        {12, 5, true, 2, 12}, {12, 5, true, 6, 12},
    };
    Fish f;
    for (const Case& c : cases) {
        P::targetPitch(f) = c.from;
        nerith::resetRandForTesting();
        f.tilt(c.amount, c.flag, c.kind);
        EXPECT_EQ(f.targetPitch(), c.to) << "kind " << c.kind << " from " << c.from << " by " << c.amount;
        if (c.kind == 2 || c.kind == 6) { EXPECT_EQ(nerith::rand(), R0) << "kind " << c.kind; }
    }
}

TEST(FishMove, YawBeyondAFullTurnIsResetNotWrapped) {
    Fish f;
    prepare(f, 0.0f);
    P::targetYaw(f) = 360.0f;
    for (const auto& c : {std::pair<float, float>{400, 180}, {-361, -180}, {360, 360}}) {
        P::yaw(f) = c.first;
        P::moveAndHitWalls(f);
        EXPECT_EQ(f.yaw(), c.second) << c.first;
    }
}

TEST(FishDirections, IntervalsIncludeTheirBounds) {
    Fish f;
    prepare(f, 0.0f);
    struct Case {
        float yaw;
        bool negX, posZ;
    };
    const Case cases[] = {{0, true, true},      {90, true, true},     {90.5f, false, true}, {180, false, true},
                          {181, false, false},  {269, false, false},  {270, true, false},   {360, true, false},
                          {-90, true, false},   {-91, false, false},  {-180, false, true},  {-269, false, true},
                          {-270, true, true},   {-360, true, true}};
    for (const Case& c : cases) {
        P::yaw(f) = c.yaw;
        P::targetYaw(f) = c.yaw;
        P::updateDirections(f);
        EXPECT_EQ(f.directions().headingNegX, c.negX) << c.yaw;
        EXPECT_EQ(f.directions().headingPosX, !c.negX) << c.yaw;
        EXPECT_EQ(f.directions().headingPosZ, c.posZ) << c.yaw;
        EXPECT_EQ(f.directions().targetNegX, c.negX) << c.yaw;
        EXPECT_EQ(f.directions().targetPosZ, c.posZ) << c.yaw;
    }
}

}  // namespace
