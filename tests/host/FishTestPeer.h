#pragma once
// Reaches into a Fish to set up the states the behaviour tests start from.
#include "fish/Fish.h"

class FishTestPeer {
public:
    static float& yaw(Fish& f) { return f.yaw_; }
    static float& targetYaw(Fish& f) { return f.targetYaw_; }
    static float& pitch(Fish& f) { return f.pitch_; }
    static float& targetPitch(Fish& f) { return f.targetPitch_; }
    static float& size(Fish& f) { return f.size_; }
    static bool& excited(Fish& f) { return f.excited_; }
    static int* columnDegrees(Fish& f) { return f.columnDegrees_; }
    static void updateDirections(Fish& f) { f.updateDirections(); }
    static void moveAndHitWalls(Fish& f) { f.moveAndHitWalls(); }
    static void updateBoxes(Fish& f) { f.updateBoxes(); }

    // A fish in the middle of the tank, heading settled at `yaw`, nothing pending.
    static void settle(Fish& f, float heading) {
        f.yaw_ = f.targetYaw_ = f.bendTarget_ = heading;
        f.headingReached_ = f.bendSettled_ = true;
        for (int& d : f.columnDegrees_) d = static_cast<int>(heading);
        f.updateDirections();
    }
};
