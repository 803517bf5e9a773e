#include "fish/Fish.h"

#include <cmath>

#include "GL.h"
#include "Random.h"

namespace {

constexpr float DegToRad = 0.017453292f;

float clampTo(float v, float lo, float hi) { return v < lo ? lo : (v > hi ? hi : v); }

// Whole degrees of |amount|, truncated; anything that is not a sane angle counts as 0.
int wholeDegrees(float amount) {
    float a = std::fabs(amount);
    if (!(a < 1.0e6f)) return 0;
    return static_cast<int>(a);
}

bool facesNegX(float a) {
    return (a >= 0.0f && a <= 90.0f) || (a >= 270.0f && a <= 360.0f) || (a >= -90.0f && a <= 0.0f) ||
           (a >= -360.0f && a <= -270.0f);
}

bool facesPosZ(float a) { return (a >= 0.0f && a <= 180.0f) || (a >= -360.0f && a <= -180.0f); }

}  // namespace

Fish::Fish() {
    targetPitch_ = static_cast<float>(nerith::rand() % 45);
    targetYaw_ = static_cast<float>(nerith::rand() % 180);
    finCounter_ = nerith::rand() % 15;
    nerith::rand();
    wanderCounter_ = nerith::rand() % 200;

    const float pi = 3.14159265f;
    auto setUp = [](FishOscillator& osc, float k, float step, float amplitude) {
        osc.k = k;
        osc.step = step;
        osc.amplitude = amplitude;
    };
    setUp(tailSwayOsc_, pi / 12.0f, pi / 4.0f, 0.01f);
    setUp(topFinOsc_, pi / 8.0f, pi / 6.0f, 0.02f);
    setUp(sideFinOsc_, pi / 16.0f, pi / 6.0f, 0.02f);
    setUp(smallFinOsc_, pi / 16.0f, pi / 6.0f, 0.01f);
    setUp(bottomFinOsc_, pi / 8.0f, pi / 6.0f, 0.03f);
    setUp(tailFinOsc_, pi / 8.0f, pi / 6.0f, 0.02f);
}

Fish::~Fish() = default;

void Fish::setBounds(float xMin, float xMax, float topArg, float bottomArg, float zMin, float zMax) {
    xMin_ = xMin;
    xMax_ = xMax;
    yMax_ = topArg + 10.0f;
    yMin_ = bottomArg + 5.0f;
    zMin_ = zMin;
    zMax_ = zMax;
    wallState_ = NoWall;
    length_ = ModelLength;
    width_ = ModelWidth;
    height_ = ModelHeight;
    const float hx = 0.321915f, hy = 0.0907566f, hz = 0.5f;  // half the unscaled extents
    tightBox_ = {hx, -hx, hy, -hy, hz, -hz};
    paddedBox_ = tightBox_;
    head_ = {-hx, 0.0f, 0.0f};
    tail_ = {hx, 0.0f, 0.0f};
    colliding_ = false;
}

void Fish::placeAt(float x, float y, float z) {
    x_ = x;
    y_ = y;
    z_ = z;
}

void Fish::drawAndStep(int species, FishStrips* keep) { step(species, true, keep); }

void Fish::stepWithoutDrawing(int species) { step(species, false); }

void Fish::step(int species, bool drawing, FishStrips* keep) {
    species_ = species;
    AnimationFrame frame = {};
    // Fin flapping, the oscillators and the head jitter neither read nor change what turning
    // does, so one call after turning keeps the order of the random draws.
    turnAndBend(frame);
    FishModel::advanceAnimation(*this, frame);

    if (drawing) {
        glPushMatrix();
        glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
    }
    if (pitch_ < targetPitch_) pitch_ += 1.0f;
    if (pitch_ > targetPitch_) pitch_ -= 1.0f;
    if (drawing) glRotatef(-pitch_, std::sin(yaw_ * DegToRad), -std::cos(yaw_ * DegToRad), 0.0f);

    wander();
    if (drawing) FishModel::draw(*this, frame, keep);
    moveAndHitWalls();
    updateBoxes();
    if (drawing) glPopMatrix();
}

void Fish::turnAndBend(AnimationFrame& frame) {
    const float target = targetYaw_;
    if (std::fabs(bendTarget_ - target) > 0.01f) {
        headingReached_ = false;
        bendSettled_ = false;
        bendTarget_ = target;
    }

    float e;
    const float magnitude = std::fabs(target);
    if (magnitude < 5.0f)
        e = 1.0f;
    else if (magnitude < 10.0f)
        e = 3.0f;
    else
        e = 10.0f;
    if (excited_) e = 10.0f;
    if (wallState_ == WallXMin || wallState_ == WallXMax) e = target;

    int old = bendCounter_;
    bendCounter_ = old + 1;
    if (old > 1) {
        if (!headingReached_) {
            if (yaw_ < target) {
                yaw_ += e;
                if (yaw_ > target) yaw_ = target;
            } else {
                yaw_ -= e;
                if (yaw_ < target) yaw_ = target;
            }
            headingReached_ = static_cast<int>(yaw_ - target) == 0;
        }
        bendCounter_ = 0;
    }

    if (!headingReached_) {
        const float s = std::fabs(yaw_ - bendTarget_) / 22.0f;
        for (int k = 0; k < BodyColumns; ++k) {
            float angle;
            if (yaw_ < target)
                angle = yaw_ - static_cast<float>(k) * s;
            else if (yaw_ > target)
                angle = yaw_ + static_cast<float>(k) * s;
            else
                angle = yaw_;  // already on the target: the body lies straight along it
            frame.columnAngles[k] = angle;
            columnDegrees_[k] = static_cast<int>(angle);
        }
        if (wallState_ == WallXMin || wallState_ == WallXMax) {
            for (int k = 0; k < BodyColumns; ++k) {
                frame.columnAngles[k] = target;
                columnDegrees_[k] = static_cast<int>(target);
            }
            yaw_ = targetYaw_;
        }
    } else {
        if (!bendSettled_) {
            const int f = excited_ ? 10 : 2;
            const int whole = static_cast<int>(target);
            bool changed = false;
            for (int k = 0; k < BodyColumns; ++k) {
                int d = columnDegrees_[k];
                if (static_cast<float>(d) < target) {
                    d += f;
                    if (d > whole) d = whole;
                }
                if (static_cast<float>(d) > target) {
                    d -= f;
                    if (d < whole) d = whole;
                }
                if (d != columnDegrees_[k]) changed = true;
                columnDegrees_[k] = d;
            }
            if (!changed) bendSettled_ = true;
        }
        for (int k = 0; k < BodyColumns; ++k) frame.columnAngles[k] = static_cast<float>(columnDegrees_[k]);
    }
}

void Fish::wander() {
    if (excited_ || colliding_) return;
    int old = wanderCounter_;
    wanderCounter_ = old + 1;
    if (old <= 200) return;
    wanderCounter_ = nerith::rand() % 100;
    int v = nerith::rand() % 4;
    easeSpeed(0.05f, static_cast<float>(v + 1) * 0.1f);
    if (std::fabs(yaw_ - targetYaw_) < 0.01f) {
        if (z_ > -75.0f && z_ < -60.0f) turn(0.0f, true, 0);
        if (z_ > -90.0f && z_ < -75.0f) turn(0.0f, false, 0);
        tilt(0.0f, false, 0);
    }
}

void Fish::updateDirections() {
    dir_.headingNegX = facesNegX(yaw_);
    dir_.headingPosX = !dir_.headingNegX;
    dir_.headingPosZ = facesPosZ(yaw_);
    dir_.headingNegZ = !dir_.headingPosZ;
    dir_.pitchUp = pitch_ > 0.0f;
    dir_.pitchDown = pitch_ < 0.0f;
    dir_.targetNegX = facesNegX(targetYaw_);
    dir_.targetPosX = !dir_.targetNegX;
    dir_.targetPosZ = facesPosZ(targetYaw_);
    dir_.targetNegZ = !dir_.targetPosZ;
    dir_.targetPitchUp = targetPitch_ > 0.0f;
    dir_.targetPitchDown = targetPitch_ < 0.0f;
}

void Fish::moveAndHitWalls() {
    if (yaw_ > 360.0f) yaw_ = 180.0f;
    if (yaw_ < -360.0f) yaw_ = -180.0f;
    updateDirections();
    if (std::fabs(yaw_ - targetYaw_) > 15.0f && (wallState_ == WallXMin || wallState_ == WallXMax)) return;

    const float c = std::cos(yaw_ * DegToRad), s = std::sin(yaw_ * DegToRad);
    if (dir_.headingNegX) {
        if (wallState_ != WallXMin) x_ -= std::fabs(c * speed_);
    } else {
        if (wallState_ != WallXMax) x_ += std::fabs(c * speed_);
    }
    if (dir_.headingPosZ) {
        if (wallState_ != WallZMax) z_ += std::fabs(s * speed_);
    } else {
        if (wallState_ != 3) z_ -= std::fabs(s * speed_);
    }
    y_ += std::sin(targetPitch_ * DegToRad) * speed_;

    wallState_ = NoWall;
    if (x_ < xMin_ + 10.0f || x_ > xMax_ - 10.0f) easeSpeed(0.01f, 0.1f);
    if (x_ < xMin_ && dir_.targetNegX) {
        turn(0.0f, false, 1);
        x_ += 0.1f;
        wallState_ = WallXMin;
    }
    if (x_ > xMax_ && dir_.targetPosX) {
        turn(0.0f, false, 1);
        x_ -= 0.1f;
        wallState_ = WallXMax;
    }
    if (z_ < zMin_ + 5.0f) easeSpeed(0.1f, 0.1f);
    if (z_ < zMin_ + 2.0f) turn(0.0f, false, 2);
    if (z_ > zMax_ - 5.0f) easeSpeed(0.01f, 0.1f);
    if (z_ > zMax_ && dir_.targetPosZ) {
        turn(0.0f, true, 2);
        wallState_ = WallZMax;
    }
    if (y_ >= yMax_) {
        tilt(0.0f, false, 3);
        y_ = yMax_;
        wallState_ = WallTop;
        easeSpeed(0.1f, 0.1f);
    }
    if (y_ <= yMin_) {
        tilt(0.0f, true, 3);
        y_ = yMin_;
        wallState_ = WallBottom;
        easeSpeed(0.1f, 0.1f);
    }
}

void Fish::updateBoxes() {
    const float h = 0.5f * length_ * size_;
    const float cy = std::cos(targetYaw_ * DegToRad), sy = std::sin(targetYaw_ * DegToRad);
    const float cp = std::cos(targetPitch_ * DegToRad), sp = std::sin(targetPitch_ * DegToRad);
    const float dx = h * std::fabs(cy * cp);
    const float dy = h * std::fabs(sp);
    const float dz = h * std::fabs(sy);
    const float ty = 0.5f * height_ * size_ * std::fabs(cp);
    const float tz = 0.5f * width_ * size_ * std::fabs(cy);

    head_.x = dir_.headingNegX ? x_ - dx : x_ + dx;
    head_.y = dir_.pitchUp ? y_ + dy : y_ - dy;
    head_.z = dir_.headingPosZ ? z_ + dz : z_ - dz;
    tail_.x = dir_.headingNegX ? x_ + dx : x_ - dx;
    tail_.y = dir_.pitchUp ? y_ - dy : y_ + dy;
    tail_.z = dir_.headingPosZ ? z_ - dz : z_ + dz;

    const float ey = dy > ty ? dy : ty;
    const float ez = dz > tz ? dz : tz;
    tightBox_ = {x_ + dx, x_ - dx, y_ + ey, y_ - ey, z_ + ez, z_ - ez};
    const float px = h, py = 0.25f * height_ * size_, pz = 0.25f * width_ * size_;
    paddedBox_ = {tightBox_.xMax + px, tightBox_.xMin - px, tightBox_.yMax + py,
                  tightBox_.yMin - py, tightBox_.zMax + pz, tightBox_.zMin - pz};
}

void Fish::easeSpeed(float step, float target) {
    if (speed_ < target)
        speed_ += step;
    else if (speed_ > target)
        speed_ -= step;
    speed_ = clampTo(speed_, 0.1f, 0.4f);
}

void Fish::turn(float amount, bool flag, int kind) {
    if (std::fabs(yaw_ - targetYaw_) > 0.1f) return;
    float t = targetYaw_;
    const bool add = (!flag && dir_.headingNegX) || (flag && !dir_.headingNegX);
    auto bySignRule = [&](int d) { t = add ? t + static_cast<float>(d) : t - static_cast<float>(d); };
    switch (kind) {
    case 0: {
        nerith::rand();
        const int r = nerith::rand() % 170;
        t = t > 180.0f ? t - static_cast<float>(r) : t + static_cast<float>(r);
        break;
    }
    case 1:
        t = t > 180.0f ? t - 180.0f : t + 180.0f;
        break;
    case 2:
        bySignRule(nerith::rand() % 15);
        break;
    case 4:
        if (inTurnBand()) {
            if (t > 0.0f && t <= 180.0f)
                t += 90.0f;
            else if (t > 180.0f)
                t -= 90.0f;
            else if (t >= -180.0f && t <= 0.0f)
                t -= 90.0f;
            else
                t += 90.0f;
        }
        break;
    case 5:
        bySignRule(nerith::rand() % 10 + 10);
        break;
    case 6:
        if (flag)
            t = dir_.headingNegX ? t - 180.0f : t + 180.0f;
        else
            t = dir_.headingNegX ? t + 180.0f : t - 180.0f;
        break;
    case 7:
        bySignRule(wholeDegrees(amount));
        break;
    default:
        break;
    }
    targetYaw_ = clampTo(t, -360.0f, 360.0f);
}

void Fish::tilt(float amount, bool flag, int kind) {
    float p = targetPitch_;
    switch (kind) {
    case 0: {
        const int r = nerith::rand() % 15 + 15;
        p = p > 0.0f ? p - static_cast<float>(r) : p + static_cast<float>(r);
        break;
    }
    case 3:
        p = -p;
        break;
    case 5:
        p = flag ? p + 1.0f : p - 1.0f;
        break;
    case 7:
        if (!(std::fabs(amount) < 1.0e6f)) return;
        if (p + amount > 90.0f || p - amount < -90.0f) return;
        p = flag ? p + amount : p - amount;
        break;
    default:
        break;
    }
    targetPitch_ = clampTo(p, -45.0f, 45.0f);
}

void Fish::setExcited(bool excited) { excited_ = excited; }

void Fish::resize(float amount, bool grow) {
    size_ = clampTo(grow ? size_ + amount : size_ - amount, 4.0f, 10.0f);
}

bool Fish::inTurnBand() const { return (z_ > -75.0f && z_ < -60.0f) || (z_ > -90.0f && z_ < -75.0f); }

void Fish::touch() {
    if (inTurnBand()) turn(0.0f, true, 4);
    easeSpeed(0.4f, 0.4f);
}
