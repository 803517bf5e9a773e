#pragma once
// Reaches into a Fish to set up the states the behaviour tests start from.
#include "fish/Fish.h"

class FishTestPeer {
public:
    static float& yaw(Fish& f) { return f.yaw_; }
    static float& targetYaw(Fish& f) { return f.targetYaw_; }
    static float& pitch(Fish& f) { return f.pitch_; }
    static float& targetPitch(Fish& f) { return f.targetPitch_; }
    static float& speed(Fish& f) { return f.speed_; }
    static float& size(Fish& f) { return f.size_; }
    static float& x(Fish& f) { return f.x_; }
    static float& y(Fish& f) { return f.y_; }
    static float& z(Fish& f) { return f.z_; }
    static int& wallState(Fish& f) { return f.wallState_; }
    static bool& excited(Fish& f) { return f.excited_; }
    static int& bendCounter(Fish& f) { return f.bendCounter_; }
    static bool& headingReached(Fish& f) { return f.headingReached_; }
    static bool& bendSettled(Fish& f) { return f.bendSettled_; }
    static int* columnDegrees(Fish& f) { return f.columnDegrees_; }
    static float& bendTarget(Fish& f) { return f.bendTarget_; }
    static int& wanderCounter(Fish& f) { return f.wanderCounter_; }
    static int& finCounter(Fish& f) { return f.finCounter_; }
    static bool& finFlat(Fish& f) { return f.finFlat_; }
    static float& headJitter(Fish& f) { return f.headJitter_; }
    static FishOscillator& tailSway(Fish& f) { return f.tailSwayOsc_; }
    static FishOscillator& topFin(Fish& f) { return f.topFinOsc_; }
    static FishOscillator& tailFin(Fish& f) { return f.tailFinOsc_; }
    static void updateDirections(Fish& f) { f.updateDirections(); }
    static void turnAndBend(Fish& f, AnimationFrame& frame) { f.turnAndBend(frame); }
    static void moveAndHitWalls(Fish& f) { f.moveAndHitWalls(); }
    static void wander(Fish& f) { f.wander(); }
    static void updateBoxes(Fish& f) { f.updateBoxes(); }
    static float xMin(Fish& f) { return f.xMin_; }
    static float xMax(Fish& f) { return f.xMax_; }
    static float yMin(Fish& f) { return f.yMin_; }
    static float yMax(Fish& f) { return f.yMax_; }

    // A fish in the middle of the tank, heading settled at `yaw`, nothing pending.
    static void settle(Fish& f, float heading) {
        f.yaw_ = f.targetYaw_ = f.bendTarget_ = heading;
        f.headingReached_ = f.bendSettled_ = true;
        for (int& d : f.columnDegrees_) d = static_cast<int>(heading);
        f.updateDirections();
    }
};
