// Fish behaviour: construction, turning and tilting, speed and size, the bend of the body, wandering,
// movement and the walls, and the boxes used by the steering rules.
#include <gtest/gtest.h>

#include <cmath>

#include "FishTestPeer.h"
#include "Random.h"
#include "fish/Fish.h"

namespace {

using P = FishTestPeer;

// The first values of the never-seeded runtime generator.
constexpr int R0 = 41, R1 = 18467;

// A fish in the middle of the standard swimming box, heading settled at `heading`.
Fish& prepare(Fish& f, float heading, float x = 0.0f, float y = 0.0f, float z = -70.0f) {
    f.setBounds(-50.0f, 50.0f, 15.0f, -15.0f, -80.0f, -60.0f);
    f.placeAt(x, y, z);
    P::targetPitch(f) = 0.0f;
    P::pitch(f) = 0.0f;
    P::settle(f, heading);
    return f;
}

TEST(FishConstruction, DrawsFiveRandomNumbersInOrder) {
    nerith::resetRandForTesting();
    Fish a;  // draws 41, 18467, 6334, 26500 (discarded), 19169
    Fish b;  // draws 15724, 11478, 29358, 26962 (discarded), 24464
    EXPECT_EQ(a.targetPitch(), 41.0f);     // 41 % 45
    EXPECT_EQ(a.targetYaw(), 107.0f);      // 18467 % 180
    EXPECT_EQ(P::finCounter(a), 4);        // 6334 % 15
    EXPECT_EQ(P::wanderCounter(a), 169);   // 19169 % 200
    EXPECT_EQ(b.targetPitch(), 19.0f);
    EXPECT_EQ(b.targetYaw(), 138.0f);
    EXPECT_EQ(P::finCounter(b), 3);
    EXPECT_EQ(P::wanderCounter(b), 64);
    EXPECT_EQ(nerith::rand(), 5705);  // exactly ten draws so far

    EXPECT_EQ(a.size(), 7.0f);
    EXPECT_EQ(a.speed(), 0.2f);
    EXPECT_EQ(a.yaw(), 0.0f);
    EXPECT_EQ(a.pitch(), 0.0f);
    EXPECT_TRUE(a.finFlat());
    EXPECT_FALSE(a.excited());
    EXPECT_FALSE(a.colliding());
}

TEST(FishConstruction, SetBoundsGivesTheBandAndSmallBoxesAtTheOrigin) {
    Fish f;
    f.placeAt(10.0f, 5.0f, -70.0f);
    f.setBounds(-50.0f, 50.0f, 21.0f - 6.0f, -21.0f + 6.0f, -80.0f, -60.0f);
    EXPECT_EQ(P::yMax(f), 25.0f);
    EXPECT_EQ(P::yMin(f), -10.0f);
    EXPECT_EQ(P::xMin(f), -50.0f);
    EXPECT_EQ(P::xMax(f), 50.0f);
    EXPECT_EQ(f.wallState(), NoWall);
    EXPECT_FLOAT_EQ(f.paddedBox().xMax, 0.321915f);
    EXPECT_FLOAT_EQ(f.paddedBox().yMin, -0.0907566f);
    EXPECT_FLOAT_EQ(f.paddedBox().zMax, 0.5f);
    EXPECT_FLOAT_EQ(f.tightBox().xMin, -0.321915f);
    EXPECT_LT(std::fabs(f.head().x), 1.0f);
    EXPECT_FALSE(f.colliding());
}

TEST(FishTurn, IgnoresANewHeadingWhileStillTurning) {
    Fish f;
    prepare(f, 100.0f);
    P::yaw(f) = 99.8f;  // 0.2 short of the target
    f.turn(0.0f, false, 1);
    EXPECT_EQ(f.targetYaw(), 100.0f);
    nerith::resetRandForTesting();
    f.turn(0.0f, false, 0);
    f.turn(0.0f, false, 2);
    f.turn(0.0f, false, 5);
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
        // kind 1: about by half a circle
        {100, in, true, 1, 0, 280, false}, {180, in, true, 1, 0, 360, false}, {200, in, true, 1, 0, 20, false},
        {-100, in, true, 1, 0, 80, false}, {300, in, true, 1, 0, 120, false},
        // kinds 2 and 5 by 11; heading -x (30): the flag subtracts, heading +x (100): it adds
        {30, in, false, 2, 0, 41, true}, {30, in, true, 2, 0, 19, true}, {100, in, false, 2, 0, 89, true},
        {100, in, true, 2, 0, 111, true}, {100, in, true, 5, 0, 111, true},
        // kind 7: |amount| truncated, no draw
        {100, in, false, 7, -12.7f, 88, false},
        // kind 4: a quarter, only inside the band
        {100, in, true, 4, 0, 190, false}, {180, in, true, 4, 0, 270, false}, {200, in, true, 4, 0, 110, false},
        {0, in, true, 4, 0, -90, false}, {-180, in, true, 4, 0, -270, false}, {-200, in, true, 4, 0, -110, false},
        {100, -75, true, 4, 0, 100, false}, {100, -60, true, 4, 0, 100, false},
        {100, -90, true, 4, 0, 100, false}, {100, -95, true, 4, 0, 100, false},
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
        prepare(f, c.heading, 0.0f, 0.0f, c.z);
        nerith::resetRandForTesting();
        f.turn(c.amount, c.flag, c.kind);
        EXPECT_EQ(f.targetYaw(), c.target);
        if (!c.draws) EXPECT_EQ(nerith::rand(), R0);
    }
    prepare(f, 100.0f, 0.0f, 0.0f, -89.5f);
    EXPECT_TRUE(f.inTurnBand());
    prepare(f, 100.0f, 0.0f, 0.0f, -90.0f);
    EXPECT_FALSE(f.inTurnBand());
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
        {20, 0, false, 3, -20}, {-33, 0, true, 3, 33}, {20, 9, true, 5, 21}, {20, 9, false, 5, 19},
        {45, 0, true, 5, 45}, {-45, 0, false, 5, -45},
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
        if (c.kind == 2 || c.kind == 6) EXPECT_EQ(nerith::rand(), R0) << "kind " << c.kind;
    }
}

TEST(FishTilt, IsNotGuardedByTheTurn) {
    Fish f;
    prepare(f, 100.0f);
    P::yaw(f) = 20.0f;
    P::targetPitch(f) = 5.0f;
    f.tilt(0.0f, true, 5);
    EXPECT_EQ(f.targetPitch(), 6.0f);
}

TEST(FishSpeed, EaseStepsAndClamps) {
    Fish f;
    P::speed(f) = 0.2f;
    f.easeSpeed(0.05f, 0.4f);
    EXPECT_FLOAT_EQ(f.speed(), 0.25f);
    f.easeSpeed(0.05f, 0.1f);
    EXPECT_FLOAT_EQ(f.speed(), 0.2f);
    f.easeSpeed(0.5f, 0.3f);
    EXPECT_EQ(f.speed(), 0.4f);
    f.easeSpeed(0.5f, 0.1f);
    EXPECT_EQ(f.speed(), 0.1f);
    f.easeSpeed(0.01f, 0.1f);
    EXPECT_EQ(f.speed(), 0.1f);
}

TEST(FishTouch, DartsAwayInsideTheBandAndAlwaysEndsAtFullSpeed) {
    Fish f;
    prepare(f, 100.0f);
    P::speed(f) = 0.1f;
    f.touch();
    EXPECT_EQ(f.targetYaw(), 190.0f);
    EXPECT_EQ(f.speed(), 0.4f);
    f.touch();  // still turning: the heading stays, the speed too
    EXPECT_EQ(f.targetYaw(), 190.0f);
    EXPECT_EQ(f.speed(), 0.4f);

    prepare(f, 100.0f, 0.0f, 0.0f, -75.0f);  // outside the band
    P::speed(f) = 0.25f;
    f.touch();
    EXPECT_EQ(f.targetYaw(), 100.0f);
    EXPECT_EQ(f.speed(), 0.4f);
}

TEST(FishSize, ResizeClampsAndTheBoxesFollow) {
    Fish f;
    prepare(f, 0.0f);
    P::size(f) = 9.0f;
    f.resize(2.0f, true);
    EXPECT_EQ(f.size(), 10.0f);
    P::size(f) = 5.0f;
    f.resize(2.0f, false);
    EXPECT_EQ(f.size(), 4.0f);
    P::size(f) = 7.0f;
    f.resize(2.0f, true);
    f.resize(2.0f, true);
    f.resize(2.0f, true);
    EXPECT_EQ(f.size(), 10.0f);

    P::size(f) = 4.0f;
    P::updateBoxes(f);
    const float small = f.paddedBox().xMax - f.paddedBox().xMin;
    P::size(f) = 10.0f;
    P::updateBoxes(f);
    const float large = f.paddedBox().xMax - f.paddedBox().xMin;
    EXPECT_FLOAT_EQ(large / small, 2.5f);
}

TEST(FishBoxes, HeadingAlongMinusX) {
    Fish f;
    prepare(f, 0.0f, 3.0f, 2.0f, -70.0f);
    P::updateBoxes(f);
    const float h = 0.5f * 0.64383f * 7.0f, ty = 0.5f * 0.181513f * 7.0f, tz = 0.5f * 7.0f;
    EXPECT_FLOAT_EQ(f.head().x, 3.0f - h);
    EXPECT_FLOAT_EQ(f.tail().x, 3.0f + h);
    EXPECT_FLOAT_EQ(f.head().y, 2.0f);
    EXPECT_FLOAT_EQ(f.head().z, -70.0f);
    EXPECT_FLOAT_EQ(f.tightBox().xMax, 3.0f + h);
    EXPECT_FLOAT_EQ(f.tightBox().yMax, 2.0f + ty);
    EXPECT_FLOAT_EQ(f.tightBox().zMin, -70.0f - tz);
    EXPECT_FLOAT_EQ(f.paddedBox().xMin, 3.0f - 2.0f * h);
    EXPECT_FLOAT_EQ(f.paddedBox().yMax, 2.0f + ty + 0.25f * 0.181513f * 7.0f);
    EXPECT_FLOAT_EQ(f.paddedBox().zMax, -70.0f + tz + 0.25f * 7.0f);
}

TEST(FishBoxes, HeadFollowsHeadingAndPitch) {
    Fish f;
    prepare(f, 135.0f);  // heading +x and +z
    P::targetPitch(f) = 30.0f;
    P::pitch(f) = 10.0f;
    P::updateDirections(f);
    P::updateBoxes(f);
    EXPECT_GT(f.head().x, f.x());
    EXPECT_GT(f.head().y, f.y());
    EXPECT_GT(f.head().z, f.z());
    EXPECT_LT(f.tail().x, f.x());
    EXPECT_LT(f.tail().y, f.y());
    EXPECT_LT(f.tail().z, f.z());
    const float h = 0.5f * 0.64383f * 7.0f;
    EXPECT_NEAR(f.head().y - f.y(), h * 0.5f, 1e-4f);  // h |sin 30|
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

// ---- Turning and the bend of the body ---------------------------------------------------------

struct BendRun {
    Fish fish;
    AnimationFrame frame = {};
    void step() {
        frame = {};
        P::turnAndBend(fish, frame);
    }
};

TEST(FishBend, TurnsEveryThirdFrameWhileTheTailTrails) {
    BendRun run;
    prepare(run.fish, 0.0f);
    P::bendCounter(run.fish) = 0;
    P::targetYaw(run.fish) = 30.0f;

    run.step();  // frame 1: the bend is laid out, yaw has not moved
    EXPECT_FALSE(P::headingReached(run.fish));
    EXPECT_EQ(run.fish.yaw(), 0.0f);
    EXPECT_EQ(run.frame.columnAngles[0], 0.0f);
    EXPECT_FLOAT_EQ(run.frame.columnAngles[22], -30.0f);
    run.step();
    EXPECT_EQ(run.fish.yaw(), 0.0f);
    run.step();  // frame 3: yaw moves by 10
    EXPECT_EQ(run.fish.yaw(), 10.0f);
    EXPECT_EQ(run.frame.columnAngles[0], 10.0f);
    EXPECT_FLOAT_EQ(run.frame.columnAngles[22], -10.0f);  // lags by what yaw is short, on the far side
    EXPECT_EQ(P::columnDegrees(run.fish)[22], -10);
    for (int i = 0; i < 3; ++i) run.step();
    EXPECT_EQ(run.fish.yaw(), 20.0f);
    EXPECT_FLOAT_EQ(run.frame.columnAngles[22], 10.0f);
    EXPECT_EQ(P::columnDegrees(run.fish)[22], 10);
    for (int i = 0; i < 3; ++i) run.step();  // frame 9: the heading is reached
    EXPECT_EQ(run.fish.yaw(), 30.0f);
    EXPECT_TRUE(P::headingReached(run.fish));
    EXPECT_FALSE(P::bendSettled(run.fish));
    // The body straightens from its last bent layout (yaw 20) by 2 degrees per column per frame.
    EXPECT_EQ(run.frame.columnAngles[22], 12.0f);
    EXPECT_EQ(run.frame.columnAngles[0], 22.0f);
    int frames = 9;
    while (!P::bendSettled(run.fish) && frames < 100) {
        run.step();
        ++frames;
    }
    EXPECT_EQ(frames, 19);  // 12 -> 30 takes nine more frames, the tenth finds nothing to change
    for (float a : run.frame.columnAngles) EXPECT_EQ(a, 30.0f);
}

TEST(FishBend, TurnStepDependsOnTheTarget) {
    auto yawAfterOneTurnStep = [](float target, bool excited) {
        BendRun run;
        prepare(run.fish, 0.0f);
        P::bendCounter(run.fish) = 2;
        P::excited(run.fish) = excited;
        P::targetYaw(run.fish) = target;
        run.step();
        return run.fish.yaw();
    };
    EXPECT_EQ(yawAfterOneTurnStep(4.0f, false), 1.0f);
    EXPECT_EQ(yawAfterOneTurnStep(-4.0f, false), -1.0f);
    EXPECT_EQ(yawAfterOneTurnStep(7.0f, false), 3.0f);
    EXPECT_EQ(yawAfterOneTurnStep(9.0f, false), 3.0f);
    EXPECT_EQ(yawAfterOneTurnStep(10.0f, false), 10.0f);
    EXPECT_EQ(yawAfterOneTurnStep(-50.0f, false), -10.0f);
    EXPECT_EQ(yawAfterOneTurnStep(4.0f, true), 4.0f);  // excited: 10, never past the target
    EXPECT_EQ(yawAfterOneTurnStep(50.0f, true), 10.0f);
}

TEST(FishBend, ExcitedFishStraightensTenDegreesPerFrame) {
    BendRun run;
    prepare(run.fish, 100.0f);
    P::excited(run.fish) = true;
    P::headingReached(run.fish) = true;
    P::bendSettled(run.fish) = false;
    for (int k = 0; k < BodyColumns; ++k) P::columnDegrees(run.fish)[k] = 75;
    run.step();
    EXPECT_EQ(run.frame.columnAngles[5], 85.0f);
    run.step();
    run.step();
    EXPECT_EQ(run.frame.columnAngles[5], 100.0f);  // 95 + 10, held at the target
    EXPECT_FALSE(P::bendSettled(run.fish));
    run.step();
    EXPECT_TRUE(P::bendSettled(run.fish));
}

TEST(FishBend, NewTargetReturnsToTurning) {
    BendRun run;
    prepare(run.fish, 40.0f);
    run.step();
    EXPECT_TRUE(P::headingReached(run.fish));
    P::targetYaw(run.fish) = 40.005f;  // within 0.01: nothing starts
    run.step();
    EXPECT_TRUE(P::headingReached(run.fish));
    P::targetYaw(run.fish) = 60.0f;
    run.step();
    EXPECT_FALSE(P::headingReached(run.fish));
    EXPECT_FALSE(P::bendSettled(run.fish));
    EXPECT_EQ(P::bendTarget(run.fish), 60.0f);
}

TEST(FishBend, AtTheSideWallsTheFishSnapsToItsNewHeading) {
    BendRun run;
    prepare(run.fish, 30.0f);
    P::targetYaw(run.fish) = 210.0f;
    P::wallState(run.fish) = WallXMin;
    P::bendCounter(run.fish) = 0;
    run.step();
    EXPECT_EQ(run.fish.yaw(), 210.0f);
    for (float a : run.frame.columnAngles) EXPECT_EQ(a, 210.0f);
    // Off the wall again, on the frames before the next turn step the body stays on the new
    // heading (it does not fall back to heading 0).
    P::wallState(run.fish) = NoWall;
    run.step();
    for (float a : run.frame.columnAngles) EXPECT_EQ(a, 210.0f);
    run.step();  // the turn step finds the heading reached
    EXPECT_TRUE(P::headingReached(run.fish));
    for (float a : run.frame.columnAngles) EXPECT_EQ(a, 210.0f);
}

// ---- Wandering --------------------------------------------------------------------------------

TEST(FishWander, ChangesComeAfterTheCounterPasses200) {
    Fish f;
    prepare(f, 100.0f);
    P::wanderCounter(f) = 0;
    P::speed(f) = 0.2f;
    nerith::resetRandForTesting();
    for (int i = 0; i < 201; ++i) P::wander(f);
    EXPECT_EQ(nerith::rand(), R0) << "no draw during the first 201 frames";
    nerith::resetRandForTesting();
    P::wander(f);  // frame 202: counter 41 % 100, speed toward (18467 % 4 + 1) * 0.1 = 0.4
    EXPECT_EQ(P::wanderCounter(f), 41);
    EXPECT_FLOAT_EQ(f.speed(), 0.25f);
    // Settled heading inside the upper band: turn kind 0 (two draws), then tilt kind 0.
    // 6334 discarded, 26500 % 170 = 150 -> 100 + 150; pitch 0 + (19169 % 15 + 15) = 29.
    EXPECT_EQ(f.targetYaw(), 250.0f);
    EXPECT_EQ(f.targetPitch(), 29.0f);

    P::wanderCounter(f) = 199;
    nerith::resetRandForTesting();
    P::wander(f);
    P::wander(f);
    EXPECT_EQ(nerith::rand(), R0);
    nerith::resetRandForTesting();
    P::wander(f);  // the third frame from 199 is the earliest change
    EXPECT_EQ(P::wanderCounter(f), 41);
}

TEST(FishWander, OnlyTheSpeedChangesWhileTurning) {
    Fish f;
    prepare(f, 100.0f);
    P::yaw(f) = 90.0f;
    P::wanderCounter(f) = 201;
    nerith::resetRandForTesting();
    P::wander(f);
    EXPECT_EQ(f.targetYaw(), 100.0f);
    EXPECT_EQ(f.targetPitch(), 0.0f);
    EXPECT_EQ(nerith::rand(), 6334) << "exactly two draws";
}

TEST(FishWander, ExcitedOrCollidingFishDoNotWander) {
    Fish f;
    prepare(f, 100.0f);
    P::wanderCounter(f) = 250;
    P::excited(f) = true;
    nerith::resetRandForTesting();
    P::wander(f);
    EXPECT_EQ(P::wanderCounter(f), 250);
    P::excited(f) = false;
    f.setColliding(true);
    P::wander(f);
    EXPECT_EQ(P::wanderCounter(f), 250);
    EXPECT_EQ(nerith::rand(), R0);
}

// ---- Movement and walls -----------------------------------------------------------------------

TEST(FishMove, SwimsAlongItsHeadingAndRisesWithTheTargetPitch) {
    // heading, target pitch -> where a fish at (0, 0, -70) swimming at 0.2 is one frame later
    const float any = std::nanf("");
    const float cases[][5] = {{0, 0, -0.2f, 0, -70}, {180, 0, 0.2f, 0, -70}, {90, 0, 0, 0, -69.8f},
                              {-90, 0, 0, 0, -70.2f}, {0, 30, any, 0.1f, any}};
    Fish f;
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "heading " << c[0] << " pitch " << c[1]);
        prepare(f, c[0]);
        P::targetPitch(f) = c[1];
        P::speed(f) = 0.2f;
        P::moveAndHitWalls(f);
        for (int k = 0; k < 3; ++k) {
            const float at[3] = {f.x(), f.y(), f.z()};
            if (!std::isnan(c[2 + k])) EXPECT_NEAR(at[k], c[2 + k], 1e-5f) << "axis " << k;
        }
        EXPECT_EQ(f.wallState(), NoWall);
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

TEST(FishWalls, XMinTurnsTheFishAboutAndNudgesItBack) {
    Fish f;
    prepare(f, 30.0f, -50.05f);
    P::speed(f) = 0.1f;
    P::moveAndHitWalls(f);
    EXPECT_EQ(f.targetYaw(), 210.0f);
    EXPECT_EQ(f.wallState(), WallXMin);
    EXPECT_NEAR(f.x(), -50.05f - 0.1f * std::cos(30.0f * 0.017453292f) + 0.1f, 1e-5f);
    // While the heading is far from the new target the fish holds still.
    const float x = f.x();
    P::moveAndHitWalls(f);
    EXPECT_EQ(f.x(), x);
    EXPECT_EQ(f.wallState(), WallXMin);
    // Within 15 degrees it swims again, away from the wall.
    P::yaw(f) = 200.0f;
    P::moveAndHitWalls(f);
    EXPECT_GT(f.x(), x);
    EXPECT_EQ(f.wallState(), NoWall);
}

TEST(FishWalls, XMinLeavesAFishWhoseTargetAlreadyFacesAway) {
    Fish f;
    prepare(f, 30.0f, -50.05f);
    P::targetYaw(f) = 200.0f;  // still turning toward +x
    P::moveAndHitWalls(f);
    EXPECT_EQ(f.targetYaw(), 200.0f);
    EXPECT_EQ(f.wallState(), NoWall);
    EXPECT_LT(f.x(), -50.05f);
}

TEST(FishWalls, XMaxTurnsTheFishAbout) {
    Fish f;
    prepare(f, 180.0f, 50.05f);
    P::speed(f) = 0.1f;
    P::moveAndHitWalls(f);
    EXPECT_EQ(f.targetYaw(), 360.0f);
    EXPECT_EQ(f.wallState(), WallXMax);
    EXPECT_NEAR(f.x(), 50.05f, 1e-5f);  // +0.1 swum, -0.1 nudged back
}

TEST(FishWalls, NearTheSideWallsTheFishSlowsDown) {
    Fish f;
    prepare(f, 0.0f, -41.0f);
    P::speed(f) = 0.3f;
    P::moveAndHitWalls(f);
    EXPECT_FLOAT_EQ(f.speed(), 0.29f);
    prepare(f, 0.0f, 20.0f);
    P::speed(f) = 0.3f;
    P::moveAndHitWalls(f);
    EXPECT_FLOAT_EQ(f.speed(), 0.3f);
}

TEST(FishWalls, FrontAndBackWalls) {
    Fish f;
    // Past the front (z max) while heading +z: a small random turn and the z movement stops.
    prepare(f, 100.0f, 0.0f, 0.0f, -59.9f);
    P::speed(f) = 0.3f;
    nerith::resetRandForTesting();
    P::moveAndHitWalls(f);
    EXPECT_EQ(f.wallState(), WallZMax);
    EXPECT_EQ(f.targetYaw(), 111.0f);  // heading +x, flag true: + 41 % 15
    EXPECT_FLOAT_EQ(f.speed(), 0.29f);
    P::yaw(f) = 111.0f;
    const float z = f.z();
    P::moveAndHitWalls(f);
    EXPECT_EQ(f.z(), z);
    // Near the back (z min + 2): a small random turn; within 5 the speed drops to 0.1.
    prepare(f, -100.0f, 0.0f, 0.0f, -78.5f);
    P::speed(f) = 0.3f;
    nerith::resetRandForTesting();
    P::moveAndHitWalls(f);
    EXPECT_EQ(f.targetYaw(), -111.0f);  // heading +x, flag false: - 11
    EXPECT_FLOAT_EQ(f.speed(), 0.2f);
    EXPECT_EQ(f.wallState(), NoWall);
}

TEST(FishWalls, TopAndBottomFlipThePitchAndHoldTheFishInItsBand) {
    Fish f;
    prepare(f, 0.0f, 0.0f, 24.95f);
    P::targetPitch(f) = 30.0f;
    P::speed(f) = 0.4f;
    P::moveAndHitWalls(f);
    EXPECT_EQ(f.y(), 25.0f);
    EXPECT_EQ(f.targetPitch(), -30.0f);
    EXPECT_EQ(f.wallState(), WallTop);
    EXPECT_FLOAT_EQ(f.speed(), 0.3f);

    prepare(f, 0.0f, 0.0f, -9.95f);
    P::targetPitch(f) = -20.0f;
    P::speed(f) = 0.2f;
    P::moveAndHitWalls(f);
    EXPECT_EQ(f.y(), -10.0f);
    EXPECT_EQ(f.targetPitch(), 20.0f);
    EXPECT_EQ(f.wallState(), WallBottom);
    EXPECT_FLOAT_EQ(f.speed(), 0.1f);
}

// ---- A whole step -----------------------------------------------------------------------------

TEST(FishStep, EasesPitchOneDegreePerFrame) {
    Fish f;
    prepare(f, 0.0f);
    P::wanderCounter(f) = 0;
    P::targetPitch(f) = 3.0f;
    f.stepWithoutDrawing(0);
    EXPECT_EQ(f.pitch(), 1.0f);
    f.stepWithoutDrawing(0);
    f.stepWithoutDrawing(0);
    f.stepWithoutDrawing(0);
    EXPECT_EQ(f.pitch(), 3.0f);
    P::targetPitch(f) = -1.0f;
    f.stepWithoutDrawing(5);
    EXPECT_EQ(f.pitch(), 2.0f);
    EXPECT_EQ(f.species(), 5);
}

TEST(FishStep, ADroppedOutFishKeepsItsState) {
    // A fish that is not stepped does not move; stepping resumes from where it was.
    Fish f;
    prepare(f, 0.0f, 10.0f, 5.0f, -70.0f);
    f.stepWithoutDrawing(0);
    const float x = f.x();
    EXPECT_LT(x, 10.0f);
    f.stepWithoutDrawing(0);
    EXPECT_LT(f.x(), x);
}

}  // namespace
