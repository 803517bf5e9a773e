#pragma once
// Particle pools, and the column of rising bubbles drawn as additively blended sprites.
#include <memory>

struct Particle {
    float x, y, z;           // position in the column's local frame
    float vx, vy, vz;        // velocity, added to the position once per frame
    float ax, ay, az;        // acceleration; only ay is applied
    float life;              // remaining life, starts at 200
    float fade;              // life lost per frame
    float size;              // half the side of the sprite square
    float red, green, blue;  // 0..254, drawn at every seeding; the sprite is drawn in its own colours
};

class ParticleSystem {
public:
    ParticleSystem() = default;
    ParticleSystem(const ParticleSystem&) = delete;
    ParticleSystem& operator=(const ParticleSystem&) = delete;
    virtual ~ParticleSystem() = default;

    // Allocates `count` records with position, velocity and acceleration zeroed and makes them
    // all in use. Returns false, leaving no pool, when the allocation fails or count is negative.
    virtual bool Init(int count);

    // Advances the particles in use by one frame.
    virtual void Update() = 0;

    int Count() const { return count_; }
    int PoolSize() const { return poolSize_; }
    const Particle& At(int i) const { return particles_[i]; }

protected:
    // Sets the count in use, limited to 0 .. PoolSize().
    void SetCount(int count);

    int count_ = 0;
    std::unique_ptr<Particle[]> particles_;
    int poolSize_ = 0;
};

class BubbleSystem : public ParticleSystem {
public:
    // Loads the sprite picture ("Particle1" of the resource pack) into a new texture and returns
    // its name.
    using SpriteLoader = unsigned (*)();

    // The loader Init calls after seeding; none leaves the sprite texture 0.
    void SetSpriteLoader(SpriteLoader loader) { spriteLoader_ = loader; }

    // Allocates and seeds the pool, then loads the sprite.
    bool Init(int count) override;

    // Moves the first Count() particles one frame; re-seeds those that left the column.
    void Update() override;

    // Sets the count in use (limited to the pool), draws that many sprites with the sprite
    // texture bound, then runs Update.
    void Draw(int count);

    // Draw without the drawing: the same count, the same random draws for the display jitter and
    // the same Update, and no OpenGL call. For frames nobody will see.
    void Advance(int count);

    unsigned SpriteTexture() const { return spriteTexture_; }

private:
    unsigned spriteTexture_ = 0;
    SpriteLoader spriteLoader_ = nullptr;
};
