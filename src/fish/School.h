#pragma once
// The fish side of the aquarium view: the 20 fish slots, the 10 food pellet slots, the table of
// fish positions and the rules by which the fish steer toward food and keep clear of each other.
// The view owns one School and calls it at scene set-up and on every frame.
#include <memory>

#include "Commands.h"
#include "GL.h"
#include "fish/Fish.h"
#include "fish/FishRoster.h"
#include "scene/FoodPellet.h"

struct TankBox;
struct SceneLayout;

constexpr int FishSlotCount = 20;
constexpr int PelletSlotCount = 10;

// One entry of the FishPositionTable: a live fish's position, written every frame.
struct FishPosition {
    float x, y, z;
    int extra;            // always 0
    unsigned char flag;   // always 0
};

class School {
public:
    // Constructs the 20 fish (five rand() draws each, slot by slot), then the 10 pellets.
    School();
    virtual ~School();

    // Scene set-up: places every fish slot (the random draws of the placement, their x spread by
    // spreadX and their y by spreadY) and gives it its swimming box: -halfWidth to halfWidth
    // across, up and down from the tank's top and bottom.
    void placeFish(const TankBox& tank, float halfWidth = 50.0f, float spreadX = 1.0f, float spreadY = 1.0f);
    // The same for the view's layout.
    void placeFish(const SceneLayout& layout);
    // Scene set-up: compiles each pellet's disc and randomises it. Needs the OpenGL context.
    void setUpPellets();

    // The fish pass of one frame: every live fish (the first liveCount(fishCounts) slots) is
    // translated to and stepped, its geometry kept with the model-view matrix and the skin
    // (skinTextures[species]) it is to be drawn with; then the food steering (in the Feed Fish
    // mode), pellet nudging and avoidance rules run for it and its position goes into the table.
    // Finally the crowding rule over all live fish. drawKeptFish draws the fish afterwards, so
    // that the frame may draw something else first. Returns the number of live fish.
    int fishPass(const int fishCounts[SpeciesCount], const GLuint skinTextures[SpeciesCount], int mode);
    // The same pass without any OpenGL call (simulation only).
    int simulateFishPass(const int fishCounts[SpeciesCount], int mode);
    // Draws the fish the last fishPass kept, each as drawing it at once in the pass would have,
    // one after the other; leaves the last one's skin bound and the normal and texture coordinate
    // of its last vertex current.
    void drawKeptFish();
    // Leaves current the normal and texture coordinate that drawKeptFish will leave.
    void leaveKeptFishVertex();
    // The farthest eye-space z of the kept fish (0 when none was kept).
    float keptFishFarthestEyeZ() const;

    // The pellet pass of one frame: every active pellet is drawn (and advanced) inside its own
    // matrix push and pop. Lighting is expected to be off.
    void pelletPass();

    // A feed click at the picked tank point: the first free pellet slot is dropped at
    // (pickedX, pickedY - 2, -70) and made active. False when all ten are busy.
    bool dropPellet(float pickedX, float pickedY);

    // The steering rules of one frame.
    void steerToFood(int fishIndex);    // toward the active pellets near the head (Feed Fish mode)
    void nudgePellets(int fishIndex);   // pellets near the mouth are pulled in and eaten
    void avoidFish(int fishIndex);      // against every other slot
    void separateCloseFish();           // live fish closer than 5 on every axis

    // A pellet's bearing from its x and y, in whole degrees (0 to 90 after folding).
    static int pelletBearing(const FoodPellet& pellet);
    // The same for a point (x, y): 0 at the origin, 90 or 270 on the y axis, 0 or 180 on the x
    // axis, otherwise the angle to the x axis folded into [0, 90).
    static int bearing(float x, float y);
    // The angle between the fish's axis and the line from the fish to the pellet, in x-z.
    static float offAxisAngle(const Fish& fish, const FoodPellet& pellet);
    // The angle in degrees (0 to 90) between the line a1-a2 and the line b1-b2, each point (u, v).
    static float lineAngle(float a1u, float a1v, float a2u, float a2v, float b1u, float b1v, float b2u,
                           float b2v);

    Fish& fish(int index) { return fish_[index]; }
    const Fish& fish(int index) const { return fish_[index]; }
    FoodPellet& pellet(int index) { return pellets_[index]; }
    const FoodPellet& pellet(int index) const { return pellets_[index]; }
    const FishPosition& position(int index) const { return positions_[index]; }

    // The number of live fish in the last fish pass.
    int liveFish() const { return live_; }
    // The mouse mode of the last fish pass (the Feed Fish mode until the first pass).
    int mode() const { return mode_; }
    void setMode(int mode) { mode_ = mode; }

private:
    int pass(const int fishCounts[SpeciesCount], const GLuint* skinTextures, int mode, bool drawing);

    // One kept fish: its geometry and the skin it is drawn with.
    struct KeptFish {
        FishStrips strips;
        GLuint skin;
    };

    Fish fish_[FishSlotCount];
    FoodPellet pellets_[PelletSlotCount];
    FishPosition positions_[FishSlotCount] = {};
    int mode_ = FeedFishCmd;
    int live_ = 0;
    std::unique_ptr<KeptFish[]> kept_;  // FishSlotCount entries, made once (some 30 KB each)
    int keptCount_ = 0;
};
