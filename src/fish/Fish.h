#pragma once
// One swimming fish: position, heading, pitch, speed, size and the state of its body animation.
//
// Angles are degrees. World axes: x to the right, y up, z toward the viewer. A fish with yaw 0
// faces -x; its direction of travel in (x, z) is (-cos yaw, +sin yaw). Pitch above 0 is nose up.
#include "fish/FishModel.h"

// The twelve direction flags, recomputed from yaw, pitch and the targets on every step.
struct FishDirections {
    bool headingNegX = false, headingPosX = false;
    bool headingPosZ = false, headingNegZ = false;
    bool pitchUp = false, pitchDown = false;
    bool targetNegX = false, targetPosX = false;
    bool targetPosZ = false, targetNegZ = false;
    bool targetPitchUp = false, targetPitchDown = false;
};

// An axis-aligned box in the order x max, x min, y max, y min, z max, z min.
struct FishBox {
    float xMax, xMin, yMax, yMin, zMax, zMin;
};

struct FishPoint {
    float x, y, z;
};

// Which wall the last step ran into.
enum FishWall { NoWall = 0, WallXMin = 1, WallXMax = 2, WallZMax = 4, WallTop = 5, WallBottom = 6 };

class Fish {
public:
    // Draws rand() five times: targetPitch, targetYaw, finCounter, one discarded, wanderCounter.
    Fish();
    virtual ~Fish();

    // The swimming box: y runs from bottomArg + 5 to topArg + 10. Also resets the model extents
    // and puts small unscaled boxes and the body axis around the origin.
    void setBounds(float xMin, float xMax, float topArg, float bottomArg, float zMin, float zMax);

    // One step of the fish, drawn into the current matrix (which the caller has translated to
    // the fish's position, with the species' skin bound), or with `keep` kept there for drawing later.
    void drawAndStep(int species, FishStrips* keep = nullptr);
    // The same step without any OpenGL call, for simulation without a context.
    void stepWithoutDrawing(int species);

    // One step of `step` toward `target`, then speed clamped to [0.1, 0.4].
    void easeSpeed(float step, float target);
    // Chooses a new target heading. Ignored while yaw is more than 0.1 from the current target.
    void turn(float amount, bool flag, int kind);
    // Chooses a new target pitch.
    void tilt(float amount, bool flag, int kind);
    void setExcited(bool excited);
    // size +/- amount, clamped to [4, 10].
    void resize(float amount, bool grow);
    // -75 < z < -60 or -90 < z < -75.
    bool inTurnBand() const;
    // Darts away: a quarter turn inside the turn band, then full speed.
    void touch();

    // Puts the fish at a point (the scene set-up places every fish once).
    void placeAt(float x, float y, float z);

    float x() const { return x_; }
    float y() const { return y_; }
    float z() const { return z_; }
    float size() const { return size_; }
    float speed() const { return speed_; }
    float yaw() const { return yaw_; }
    float pitch() const { return pitch_; }
    float targetYaw() const { return targetYaw_; }
    float targetPitch() const { return targetPitch_; }
    bool excited() const { return excited_; }
    bool colliding() const { return colliding_; }
    void setColliding(bool colliding) { colliding_ = colliding; }
    int wallState() const { return wallState_; }
    int species() const { return species_; }
    const FishDirections& directions() const { return dir_; }
    const FishPoint& head() const { return head_; }
    const FishPoint& tail() const { return tail_; }
    const FishBox& tightBox() const { return tightBox_; }
    const FishBox& paddedBox() const { return paddedBox_; }
    bool finFlat() const { return finFlat_; }
    float headJitter() const { return headJitter_; }

    // Unscaled extents of the mesh.
    static constexpr float ModelLength = 0.64383f;
    static constexpr float ModelWidth = 1.0f;
    static constexpr float ModelHeight = 0.181513f;

private:
    friend class FishModel;
    friend class FishTestPeer;

    void step(int species, bool drawing, FishStrips* keep = nullptr);
    void turnAndBend(AnimationFrame& frame);
    void wander();
    void moveAndHitWalls();
    void updateDirections();
    void updateBoxes();

    float size_ = 7.0f;
    bool finFlat_ = true;
    float speed_ = 0.2f;
    float targetPitch_ = 0.0f;
    float targetYaw_ = 0.0f;
    float pitch_ = 0.0f;
    bool excited_ = false;
    float yaw_ = 0.0f;
    int bendCounter_ = 0;
    bool headingReached_ = false;
    bool bendSettled_ = false;
    int columnDegrees_[BodyColumns] = {};
    float bendTarget_ = 0.0f;

    // Animation state (fin flapping, oscillators, head jitter).
    FishOscillator tailSwayOsc_, topFinOsc_, sideFinOsc_, smallFinOsc_, bottomFinOsc_, tailFinOsc_;
    int finCounter_ = 0;
    float finSpread_ = 0.003f;
    float headJitter_ = 0.0f;
    float jitterStep_ = 0.002f;
    float jitterLimit_ = 0.008f;

    float x_ = 0.0f, y_ = 0.0f, z_ = 0.0f;
    FishDirections dir_;
    float xMin_ = 0.0f, xMax_ = 0.0f, yMax_ = 0.0f, yMin_ = 0.0f, zMin_ = 0.0f, zMax_ = 0.0f;
    int wallState_ = NoWall;
    int wanderCounter_ = 0;
    float length_ = ModelLength, width_ = ModelWidth, height_ = ModelHeight;
    FishBox tightBox_ = {};
    FishBox paddedBox_ = {};
    FishPoint head_ = {}, tail_ = {};
    bool colliding_ = false;
    int species_ = 0;
};
