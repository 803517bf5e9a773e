#include "scene/FoodPellet.h"

#include <cmath>

#include "Random.h"

namespace {

// rand() - rand(), the left operand drawn first.
int randomDifference() {
    int a = nerith::rand();
    int b = nerith::rand();
    return a - b;
}

}  // namespace

FoodPellet::FoodPellet() = default;

FoodPellet::~FoodPellet() = default;

void FoodPellet::CompileDisc() {
    displayList_ = glGenLists(1);
    glNewList(displayList_, GL_COMPILE);
    glPushMatrix();
    glDisable(GL_TEXTURE_2D);
    glColor3ub(243, 225, 159);
    glBegin(GL_TRIANGLE_FAN);
    for (int k = 0; k < 500; ++k) {
        float a = static_cast<float>(k) * 0.01256637f;
        glVertex2f(std::cos(a) * 0.3f, std::sin(a) * 0.15f);
    }
    glEnd();
    glColor3ub(255, 255, 255);
    glEnable(GL_TEXTURE_2D);
    glPopMatrix();
    glEndList();
}

void FoodPellet::Randomize() {
    offsetX_ = static_cast<float>(randomDifference()) * 0.000042115542f;
    offsetY_ = 1.0f;
    offsetZ_ = static_cast<float>(randomDifference()) * 0.000011597033f;
    tilt_ = static_cast<float>(randomDifference()) * 0.0054933317f;
    float spin = static_cast<float>(randomDifference()) * 0.0054933317f;
    spin_ = spin + static_cast<float>(randomDifference()) * 0.0054933317f;
    sinkSpeed_ = static_cast<float>(nerith::rand() % 10) * 0.0005f + 0.005f;
    visible_ = 1.0f;
    // Where the disc will first be drawn, so that a pellet dropped this frame is not taken to be
    // at the world origin before its first Draw.
    refreshWorldPosition();
}

void FoodPellet::Drop(float x, float y, float z) {
    anchorX_ = x;
    anchorY_ = y;
    anchorZ_ = z;
    Randomize();
}

void FoodPellet::refreshWorldPosition() {
    worldX_ = anchorX_ + offsetX_;
    worldY_ = anchorY_ + (offsetY_ - 0.2f);
    worldZ_ = anchorZ_ + offsetZ_;
}

void FoodPellet::Draw() {
    glTranslatef(anchorX_, anchorY_, anchorZ_);
    glPushMatrix();
    const bool drawn = static_cast<int>(visible_) != 0;
    if (drawn) {
        glPushMatrix();
        glRotatef(spin_, 0.0f, 1.0f, 0.0f);
        glTranslatef(offsetX_, offsetY_ - 0.2f, offsetZ_);
        glRotatef(tilt_, 1.0f, 0.0f, 0.0f);
        glCallList(displayList_);
        glPopMatrix();
        refreshWorldPosition();
    }
    glPopMatrix();
    if (!drawn) active_ = false;
    Step();
}

void FoodPellet::Step() {
    if (offsetY_ > -10.0f) {
        offsetX_ += static_cast<float>(randomDifference()) * 0.00000006103702f;
        offsetY_ -= sinkSpeed_;
        offsetZ_ += static_cast<float>(randomDifference()) * 0.00000006103702f;
        tilt_ += 0.4f;
        spin_ += 2.0f;
    } else {
        offsetY_ = -40.0f;
        tilt_ -= static_cast<float>(nerith::rand()) * 0.000006103702f;
        spin_ += static_cast<float>(nerith::rand()) * 0.00003051851f;
        visible_ = 0.0f;
    }
}

void FoodPellet::Nudge(float dx, float dy, float dz) {
    offsetX_ += dx;
    offsetY_ += dy;
    offsetZ_ += dz;
}
