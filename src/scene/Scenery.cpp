#include "scene/Scenery.h"

#include <cstdio>
#include <string>

#include "GL.h"
#include "Random.h"
#include "assets/ResourcePack.h"
#include "assets/TextureLoader.h"

void BuildTerrain(TerrainGrid& terrain, const TankBox& box) {
    terrain.Build(static_cast<int>(box.right - box.left), -static_cast<int>(box.back), 1);
}

BubbleEmitter PlaceBubbleEmitter(const TerrainGrid& terrain, const TankBox& box) {
    const int width = static_cast<int>(box.right - box.left);
    const TerrainGrid::Point v = terrain.Vertex(width / 2 - 5, 10);
    return {v.x, box.bottom - v.y - 5.0f, v.z + box.back};
}

int BubbleCountFor(int bubbleSetting) {
    const long long count = static_cast<long long>(BubblePoolSize) - bubbleSetting;
    if (count < 0) return 0;
    if (count > BubblePoolSize) return BubblePoolSize;
    return static_cast<int>(count);
}

unsigned LoadBubbleSprite() {
    const std::string folder = ResourcePack::WorkFolder();
    const std::string name = "Particle1";
    ResourcePack::Extract(ResourcePack::kParticleId, folder, name);
    GLuint texture = 0;
    LoadTexture(ResourcePack::OutputPath(folder, name).c_str(), &texture);
    std::remove(ResourcePack::IntermediatePath(folder, name).c_str());
    std::remove(ResourcePack::OutputPath(folder, name).c_str());
    return texture;
}

void StartBubbles(BubbleSystem& bubbles, BubbleSystem::SpriteLoader spriteLoader, int bubbleSetting) {
    bubbles.SetSpriteLoader(spriteLoader);
    bubbles.Init(BubblePoolSize);
    const int count = BubbleCountFor(bubbleSetting);
    // These 200 frames of the column are never seen: the first frame clears the buffers before
    // it draws anything. Drawing them (40,000 sprites through the set-up's identity matrices,
    // most of them a quarter of the screen) used to hold the first frame back by seconds, more
    // the larger the screen. So the column only moves, with the same random draws, and is left
    // with the texture and texture coordinate its drawing would have left.
    for (int i = 0; i < BubblePoolSize; ++i) bubbles.Advance(count);
    glBindTexture(GL_TEXTURE_2D, bubbles.SpriteTexture());
    if (count > 0 && bubbles.PoolSize() > 0) glTexCoord2f(0.0f, 1.0f);
}

BubbleEmitter SetUpTerrainAndBubbles(TerrainGrid& terrain, BubbleSystem& bubbles, const TankBox& box,
                                     BubbleSystem::SpriteLoader spriteLoader, int bubbleSetting) {
    BuildTerrain(terrain, box);
    const BubbleEmitter emitter = PlaceBubbleEmitter(terrain, box);
    StartBubbles(bubbles, spriteLoader, bubbleSetting);
    return emitter;
}

RippleSurface* CreateBackgroundPicture(int screenWidth, int screenHeight) {
    RippleSurface* surface = new RippleSurface;
    surface->Resize(screenWidth, screenHeight);
    return surface;
}

bool BackgroundPictureShown(const Settings& settings) {
    return settings.backgroundVariant == 0 && settings.showTerra != 0;
}

void DrawBackgroundPicture(const Settings& settings, RippleSurface* surface, unsigned texture,
                           const PicturePlane& plane, int screenWidth, int screenHeight) {
    if (!surface || !BackgroundPictureShown(settings)) return;
    static const int offsets[9] = {-200, -150, -100, -50, 0, 50, 100, 150, 200};

    glPushMatrix();
    glBindTexture(GL_TEXTURE_2D, texture);
    glTranslatef(0.0f, 0.0f, -110.0f);
    glScalef(plane.scaleX, plane.scaleY, 1.0f);
    nerith::rand();  // drawn and discarded
    const int o = offsets[nerith::rand() % 9];
    surface->StartRipple(screenWidth / 2 + o, screenHeight / 2 + 100);
    surface->DrawSideStrips(plane.coverX / plane.scaleX);
    surface->Draw();
    surface->Animate();
    glPopMatrix();
}

void DrawBubbleColumn(BubbleSystem& bubbles, const BubbleEmitter& emitter, int bubbleSetting) {
    glPushMatrix();
    glDisable(GL_FOG);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glPushMatrix();
    glTranslatef(emitter.x + 5.0f, emitter.y - 25.0f, emitter.z - 60.0f);
    // The sprites show in the texture's own colours, whatever colour the frame left current: the
    // pick pass ends on alpha 0, which under additive blending would make every bubble vanish.
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    bubbles.Draw(BubbleCountFor(bubbleSetting));
    glPopMatrix();
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glPopMatrix();
}
