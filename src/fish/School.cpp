#include "fish/School.h"

#include <cmath>

#include "Random.h"
#include "scene/ViewLayout.h"

namespace {

constexpr double RadToDeg = 180.0 / 3.14159265358979323846;

bool overlaps(const FishBox& a, const FishBox& b) {
    return a.xMin <= b.xMax && b.xMin <= a.xMax && a.yMin <= b.yMax && b.yMin <= a.yMax && a.zMin <= b.zMax &&
           b.zMin <= a.zMax;
}

float slope(float u1, float v1, float u2, float v2) {
    const float du = u2 - u1, dv = v2 - v1;
    return std::fabs(du) <= 0.0001f ? dv * 10000.0f : dv / du;
}

}  // namespace

School::School() : kept_(new KeptFish[FishSlotCount]) {}

School::~School() = default;

void School::placeFish(const TankBox& tank, float halfWidth, float spreadX, float spreadY) {
    for (Fish& f : fish_) {
        for (int i = 0; i < 4; ++i) nerith::rand();
        const float x = static_cast<float>(nerith::rand() % 100 - 50) * spreadX;
        const float y = static_cast<float>(nerith::rand() % 30 - 15) * spreadY;
        const float z = static_cast<float>(nerith::rand() % 20 - 80);
        for (int i = 0; i < 7; ++i) nerith::rand();
        f.placeAt(x, y, z);
        f.setBounds(-halfWidth, halfWidth, tank.top - 6.0f, tank.bottom + 6.0f, -80.0f, -60.0f);
    }
}

void School::placeFish(const SceneLayout& layout) {
    placeFish(layout.tank, layout.fishHalfWidth, layout.spreadX, layout.spreadY);
}

void School::setUpPellets() {
    for (FoodPellet& p : pellets_) {
        p.CompileDisc();
        p.Randomize();
    }
}

int School::fishPass(const int fishCounts[SpeciesCount], const GLuint skinTextures[SpeciesCount], int mode) {
    return pass(fishCounts, skinTextures, mode, true);
}

int School::simulateFishPass(const int fishCounts[SpeciesCount], int mode) {
    return pass(fishCounts, nullptr, mode, false);
}

void School::drawKeptFish() {
    for (int i = 0; i < keptCount_; ++i) {
        const KeptFish& k = kept_[i];
        glPushMatrix();
        glLoadMatrixf(k.strips.modelView);
        glBindTexture(GL_TEXTURE_2D, k.skin);
        FishModel::drawStrips(k.strips);
        glPopMatrix();
    }
}

void School::leaveKeptFishVertex() {
    if (keptCount_ > 0) FishModel::leaveLastVertex(kept_[keptCount_ - 1].strips);
}

float School::keptFishFarthestEyeZ() const {
    float farthest = 0.0f;
    for (int i = 0; i < keptCount_; ++i) {
        const float z = FishModel::farthestEyeZ(kept_[i].strips);
        if (i == 0 || z < farthest) farthest = z;
    }
    return farthest;
}

int School::pass(const int fishCounts[SpeciesCount], const GLuint* skinTextures, int mode, bool drawing) {
    mode_ = mode;
    live_ = liveCount(fishCounts);
    keptCount_ = 0;
    for (int i = 0; i < live_; ++i) {
        Fish& f = fish_[i];
        const int species = speciesOfSlot(fishCounts, i);
        if (species < 0) break;  // cannot happen: every live slot has a species
        if (drawing) {
            glPushMatrix();
            glTranslatef(f.x(), f.y(), f.z());
            KeptFish& k = kept_[keptCount_++];
            k.skin = skinTextures[species];
            f.drawAndStep(species, &k.strips);
            glPopMatrix();
        } else {
            f.stepWithoutDrawing(species);
        }
        steerToFood(i);
        nudgePellets(i);
        avoidFish(i);
        positions_[i] = {f.x(), f.y(), f.z(), 0, 0};
    }
    separateCloseFish();
    return live_;
}

void School::pelletPass() {
    for (FoodPellet& p : pellets_) {
        if (!p.IsActive()) continue;
        glPushMatrix();
        p.Draw();
        glPopMatrix();
    }
}

bool School::dropPellet(float pickedX, float pickedY) {
    for (FoodPellet& p : pellets_) {
        if (p.IsActive()) continue;
        p.Drop(pickedX, pickedY - 2.0f, -70.0f);
        p.SetActive(true);
        return true;
    }
    return false;
}

void School::steerToFood(int fishIndex) {
    if (mode_ != FeedFishCmd) return;  // fish steer toward food in the feed mode only
    Fish& f = fish_[fishIndex];
    f.setExcited(false);
    for (const FoodPellet& p : pellets_) {
        if (!p.IsActive()) continue;
        const FishPoint& head = f.head();
        const FishDirections& dir = f.directions();
        if (std::fabs(head.x - p.WorldX()) < 20.0f && std::fabs(head.y - p.WorldY()) < 20.0f) {
            f.setExcited(true);
            f.easeSpeed(0.1f, 0.2f);
            const int b = pelletBearing(p);
            const float d = offAxisAngle(f, p);
            if (d < 1.0f) {
                f.tilt(static_cast<float>(b), !(head.y > p.WorldY()), 7);
            } else {
                const bool ahead =
                    (dir.headingNegX && head.x > p.WorldX()) || (dir.headingPosX && head.x < p.WorldX());
                const bool behind =
                    (dir.headingNegX && head.x < p.WorldX()) || (dir.headingPosX && head.x > p.WorldX());
                // Ahead or behind, the side to turn to is the pellet's side in z; a fixed side
                // for pellets behind would turn the fish away from half of them (and, while it
                // keeps chasing, out through the back of the tank).
                if (ahead)
                    f.turn(d, head.z > p.WorldZ(), 7);
                else if (behind)
                    f.turn(180.0f - d, head.z > p.WorldZ(), 7);
            }
        }
        if (std::fabs(head.x - p.WorldX()) < 3.0f && std::fabs(head.y - p.WorldY()) < 3.0f) f.easeSpeed(0.1f, 0.1f);
    }
}

void School::nudgePellets(int fishIndex) {
    const FishPoint& head = fish_[fishIndex].head();
    for (FoodPellet& p : pellets_) {
        if (!p.IsActive()) continue;
        const float dx = head.x - p.WorldX(), dy = head.y - p.WorldY(), dz = head.z - p.WorldZ();
        if (std::fabs(dx) < 5.0f && std::fabs(dy) < 5.0f && std::fabs(dz) < 15.0f) {
            p.Nudge(0.005f * dx, 0.005f * dy, 0.0f);
            if (std::fabs(dz) < 13.0f && p.Visible() > 0.0f) p.Hide();
        }
    }
}

void School::avoidFish(int fishIndex) {
    Fish& f = fish_[fishIndex];
    f.setColliding(false);
    for (int g = 0; g < FishSlotCount; ++g) {
        if (g == fishIndex) continue;
        Fish& o = fish_[g];
        if (!overlaps(f.paddedBox(), o.paddedBox())) continue;
        f.setColliding(true);
        o.setColliding(true);
        const float m = lineAngle(f.x(), f.y(), f.head().x, f.head().y, o.x(), o.y(), o.head().x, o.head().y);
        const float n = lineAngle(f.x(), f.z(), f.head().x, f.head().z, o.x(), o.z(), o.head().x, o.head().z);

        if (f.y() > o.y()) {
            f.tilt(0.0f, true, 5);
            o.tilt(0.0f, false, 5);
        } else {
            f.tilt(0.0f, false, 5);
            o.tilt(0.0f, true, 5);
        }

        const FishDirections& fd = f.directions();
        const FishDirections& od = o.directions();
        if (m > 50.0f || n > 50.0f) {
            if (f.z() > o.z()) {
                f.turn(0.0f, true, 5);
                o.turn(0.0f, false, 5);
            } else {
                f.turn(0.0f, false, 5);
                o.turn(0.0f, true, 5);
            }
        } else if ((fd.targetNegX && od.targetPosX) || (fd.targetPosX && od.targetNegX)) {
            if (f.size() < o.size())
                f.turn(0.0f, true, 6);
            else
                o.turn(0.0f, true, 6);
        } else if ((fd.targetNegX && f.x() > o.x()) || (fd.targetPosX && f.x() < o.x())) {
            o.easeSpeed(0.1f, f.speed() + 0.1f);
            f.easeSpeed(0.1f, o.speed() - 0.1f);
        } else {
            f.easeSpeed(0.1f, o.speed() + 0.1f);
            o.easeSpeed(0.1f, f.speed() - 0.1f);
        }
    }
}

void School::separateCloseFish() {
    for (int i = 0; i < live_; ++i) {
        for (int j = i + 1; j < live_; ++j) {
            const FishPosition& a = positions_[i];
            const FishPosition& b = positions_[j];
            if (std::fabs(a.x - b.x) < 5.0f && std::fabs(a.y - b.y) < 5.0f && std::fabs(a.z - b.z) < 5.0f)
                fish_[i].tilt(1.0f, a.y > b.y, 5);
        }
    }
}

int School::pelletBearing(const FoodPellet& pellet) { return bearing(pellet.WorldX(), pellet.WorldY()); }

int School::bearing(float x, float y) {
    if (x == 0.0f && y == 0.0f) return 0;
    if (std::fabs(x) < 0.0001f) {
        if (y < 0.0f) return 270;
        if (y > 0.0f) return 90;
    }
    if (std::fabs(y) < 0.0001f) {
        if (x > 0.0f) return 0;
        if (x < 0.0f) return 180;
    }
    int r = static_cast<int>(std::atan(std::fabs(y / x)) * RadToDeg);
    if (x > 0.0f && y < 0.0f) r += 270;
    if (x < 0.0f && y > 0.0f) r += 90;
    if (x < 0.0f && y < 0.0f) r += 180;
    if (r < 90) return r;
    if (r < 180) return 180 - r;
    if (r < 270) return 270 - r;
    return 360 - r;
}

float School::lineAngle(float a1u, float a1v, float a2u, float a2v, float b1u, float b1v, float b2u, float b2v) {
    const float s1 = slope(a1u, a1v, a2u, a2v);
    const float s2 = slope(b1u, b1v, b2u, b2v);
    const float den = 1.0f + s1 * s2;
    const double a = std::fabs(den) <= 0.0001f ? std::atan(std::fabs((s2 - s1) * 10000.0f))
                                               : std::atan(std::fabs((s2 - s1) / den));
    return static_cast<float>(a * RadToDeg);
}

float School::offAxisAngle(const Fish& fish, const FoodPellet& pellet) {
    return lineAngle(fish.x(), fish.z(), fish.head().x, fish.head().z, fish.x(), fish.z(), pellet.WorldX(),
                     pellet.WorldZ());
}
