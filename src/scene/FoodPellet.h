#pragma once
// A food pellet: a small flat yellowish disc that sinks slowly, tumbling and spinning, until it
// reaches the bottom or a fish eats it. The view keeps ten slots; a slot is active while its
// pellet is in use.
#include "GL.h"

class FoodPellet {
public:
    FoodPellet();
    virtual ~FoodPellet();

    // Compiles the disc (a 0.6 x 0.3 ellipse) into this slot's display list. Once per slot.
    void CompileDisc();

    // New random offset, tilt, spin and sink speed; shown again (visible 1.0).
    void Randomize();
    // Moves the anchor to (x, y, z) and re-randomises; the active flag stays as it is.
    void Drop(float x, float y, float z);

    void SetActive(bool active) { active_ = active; }
    bool IsActive() const { return active_; }

    // Translates to the anchor (the caller saves and restores the matrix around this call),
    // draws the disc if visible and refreshes the world position; frees the slot if the pellet
    // was not visible; then advances it one frame.
    void Draw();
    // One frame of sinking and tumbling; at the bottom the pellet stops showing.
    void Step();
    // Adds (dx, dy, dz) to the offset.
    void Nudge(float dx, float dy, float dz);
    // The pellet has been eaten: it stops showing and its slot frees itself on the next Draw.
    void Hide() { visible_ = 0.0f; }

    // Where the pellet is: anchor + (offset x, offset y - 0.2, offset z), without the spin.
    float WorldX() const { return worldX_; }
    float WorldY() const { return worldY_; }
    float WorldZ() const { return worldZ_; }
    float Visible() const { return visible_; }

    float OffsetX() const { return offsetX_; }
    float OffsetY() const { return offsetY_; }
    float OffsetZ() const { return offsetZ_; }
    float Tilt() const { return tilt_; }
    float Spin() const { return spin_; }
    float SinkSpeed() const { return sinkSpeed_; }
    float AnchorX() const { return anchorX_; }
    float AnchorY() const { return anchorY_; }
    float AnchorZ() const { return anchorZ_; }
    GLuint DisplayList() const { return displayList_; }

private:
    void refreshWorldPosition();

    float offsetX_ = 0.0f, offsetY_ = 1.0f, offsetZ_ = 0.0f;
    float tilt_ = 0.0f;
    float spin_ = 0.0f;
    float sinkSpeed_ = 0.005f;
    float visible_ = 1.0f;
    GLuint displayList_ = 0;
    float worldX_ = 0.0f, worldY_ = 0.0f, worldZ_ = 0.0f;
    float anchorX_ = 0.0f, anchorY_ = 0.0f, anchorZ_ = -70.0f;
    bool active_ = false;
};
