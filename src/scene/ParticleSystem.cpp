#include "scene/ParticleSystem.h"

#include <new>

#include "GL.h"
#include "Random.h"

namespace {

const float Rise = 0.00083333329f;  // upward acceleration per frame

constexpr int SpriteBatch = 200;  // sprites handed to OpenGL per draw call (the whole column)

// (rand() mod 9000) - (rand() mod 9000), the first draw first.
int Spread9000() {
    const int a = nerith::rand() % 9000;
    const int b = nerith::rand() % 9000;
    return a - b;
}

// The acceleration and a full life, common to both seedings.
void SeedRiseAndLife(Particle& p) {
    p.ax = 0.0f;
    p.ay = Rise;
    p.az = 0.0f;
    p.life = 200.0f;
}

void DrawColour(Particle& p) {
    p.red = static_cast<float>(nerith::rand() % 255);
    p.green = static_cast<float>(nerith::rand() % 255);
    p.blue = static_cast<float>(nerith::rand() % 255);
}

void SeedNew(Particle& p) {
    p.x = static_cast<float>(nerith::rand() % 9) * 0.005f;
    p.y = static_cast<float>(nerith::rand() % 9) * 0.005f - 1.0f;
    p.z = static_cast<float>(nerith::rand() % 6) * 0.005f;
    p.vx = static_cast<float>(Spread9000()) * 0.000007f;
    p.vy = static_cast<float>(nerith::rand() % 9000) * 0.000042f * 0.33333334f;
    p.vz = static_cast<float>(nerith::rand() % 9000) * 0.000001f;
    SeedRiseAndLife(p);
    p.size = static_cast<float>(nerith::rand() % 10 + 1) * 0.1f;
    p.fade = static_cast<float>(nerith::rand() % 50) * 0.05f;
    DrawColour(p);
}

// A bubble that left the column starts again at the bottom, three times as fast at most; it
// keeps its size.
void Reseed(Particle& p) {
    p.x = static_cast<float>(nerith::rand() % 9) * 0.005f;
    p.y = static_cast<float>(nerith::rand() % 9) * 0.005f - 1.0f;
    p.z = static_cast<float>(nerith::rand() % 9000) * 0.000001f;
    p.vx = static_cast<float>(Spread9000()) * 0.000007f;
    p.vy = static_cast<float>(nerith::rand() % 9000) * 0.000042f;
    p.vz = static_cast<float>(nerith::rand() % 90000) * 0.000001f;
    SeedRiseAndLife(p);
    p.fade = static_cast<float>(nerith::rand() % 50) * 0.05f;
    DrawColour(p);
}

}  // namespace

bool ParticleSystem::Init(int count) {
    particles_.reset();
    poolSize_ = 0;
    count_ = 0;
    if (count < 0) return false;
    particles_.reset(new (std::nothrow) Particle[count]);
    if (!particles_) return false;
    for (int i = 0; i < count; ++i) particles_[i] = Particle{};
    poolSize_ = count;
    count_ = count;
    return true;
}

void ParticleSystem::SetCount(int count) {
    count_ = count < 0 ? 0 : count > poolSize_ ? poolSize_ : count;
}

bool BubbleSystem::Init(int count) {
    if (!ParticleSystem::Init(count)) return false;
    for (int i = 0; i < poolSize_; ++i) SeedNew(particles_[i]);
    if (spriteLoader_) spriteTexture_ = spriteLoader_();
    return true;
}

void BubbleSystem::Update() {
    for (int i = 0; i < count_; ++i) {
        Particle& p = particles_[i];
        p.x += p.vx;
        p.y += p.vy;
        p.z += p.vz;
        p.vy += p.ay;
        p.life -= p.fade;
        if (p.y <= -25.0f || p.y >= 130.0f || p.life <= 0.0f) Reseed(p);
    }
}

void BubbleSystem::Draw(int count) {
    SetCount(count);
    glBindTexture(GL_TEXTURE_2D, spriteTexture_);
    // One quad per particle, all of them in one array (texture coordinate, then position, as
    // glInterleavedArrays(GL_T2F_V3F) reads them) and one draw call.
    struct SpriteVertex {
        float s, t, x, y, z;
    };
    SpriteVertex quads[4 * SpriteBatch];
    int n = 0;
    auto flush = [&] {
        if (n == 0) return;
        glInterleavedArrays(GL_T2F_V3F, 0, quads);
        glDrawArrays(GL_QUADS, 0, n);
        glDisableClientState(GL_VERTEX_ARRAY);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoord2f(0.0f, 1.0f);  // the last corner's, as immediate-mode drawing leaves it
        n = 0;
    };
    for (int i = 0; i < count_; ++i) {
        const Particle& p = particles_[i];
        // The jitter only moves the sprite on screen; the particle stays where it is.
        const float x = p.x + static_cast<float>(nerith::rand() % 20) * 0.01f;
        const float y = p.y;
        const float z = p.z + static_cast<float>(nerith::rand() % 20) * 0.01f;
        const float s = p.size;
        quads[n++] = {0.0f, 0.0f, x - s, y - s, z};
        quads[n++] = {1.0f, 0.0f, x - s, y + s, z};
        quads[n++] = {1.0f, 1.0f, x + s, y + s, z};
        quads[n++] = {0.0f, 1.0f, x + s, y - s, z};
        if (n == 4 * SpriteBatch) flush();
    }
    flush();
    Update();
}

void BubbleSystem::Advance(int count) {
    SetCount(count);
    for (int i = 0; i < count_; ++i) {
        nerith::rand();  // the jitter of x
        nerith::rand();  // and of z
    }
    Update();
}
