#include "scene/Scenery.h"

#include <algorithm>
#include <cmath>
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

namespace {

// Pixels per unit along x and y of the current model-view plane z = 0, when OpenGL maps that plane
// onto the screen by a scale alone (the plane faces the camera squarely); false otherwise.
bool PlanePixelScale(double* pixelsX, double* pixelsY) {
    GLdouble model[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    // Clip coordinates of (0, 0), (1, 0) and (0, 1).
    double clip[3][4];
    const double points[3][2] = {{0.0, 0.0}, {1.0, 0.0}, {0.0, 1.0}};
    for (int p = 0; p < 3; ++p) {
        double eye[4];
        for (int r = 0; r < 4; ++r) eye[r] = model[r] * points[p][0] + model[4 + r] * points[p][1] + model[12 + r];
        for (int r = 0; r < 4; ++r)
            clip[p][r] = projection[r] * eye[0] + projection[4 + r] * eye[1] + projection[8 + r] * eye[2] +
                         projection[12 + r] * eye[3];
    }
    const double w = clip[0][3];
    if (!(w > 0.0) || clip[1][3] != w || clip[2][3] != w || clip[1][1] != clip[0][1] || clip[2][0] != clip[0][0])
        return false;
    *pixelsX = std::fabs(clip[1][0] - clip[0][0]) / w * viewport[2] / 2.0;
    *pixelsY = std::fabs(clip[2][1] - clip[0][1]) / w * viewport[3] / 2.0;
    return true;
}

// The filter state UseOneLevelOnly changed, to be put back after drawing.
struct SampledLevel {
    GLint minFilter = 0;  // 0: nothing changed
    GLint baseLevel = 0;
    void Restore() const {
        if (!minFilter) return;
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
        if (baseLevel) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
    }
};

// Where OpenGL would sample one and the same mipmap level at every pixel of the picture, that
// level alone is sampled with the single-level filter of the same kind: the same texels and
// weights, without choosing a level for every pixel (which a software rasteriser pays for).
// Under 0.95 texels per pixel nothing is minified, so the first level is all there is. A filter
// that takes the nearest level takes level k where the scale lies between 2^(k - 0.5) and
// 2^(k + 0.5); a margin of an eighth of a level each side covers the estimates renderers make,
// which the scale's range allows for. Level k > 0 is made the texture's base level (OpenGL 1.2).
SampledLevel UseOneLevelOnly(const RippleSurface& surface) {
    SampledLevel changed;
    GLint minFilter = 0, magFilter = 0, width = 0, height = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
    if (minFilter == magFilter) return changed;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    double pixelsX = 0.0, pixelsY = 0.0;
    if (width <= 0 || height <= 0 || !PlanePixelScale(&pixelsX, &pixelsY)) return changed;
    const RippleSurface::TexelScale scale = surface.TexelsPerPixel(pixelsX, pixelsY, width, height);
    const bool nearestLevel = (minFilter == GL_LINEAR_MIPMAP_NEAREST && magFilter == GL_LINEAR) ||
                              (minFilter == GL_NEAREST_MIPMAP_NEAREST && magFilter == GL_NEAREST);
    int level = -1;
    if (scale.most < 0.95) {
        level = 0;
    } else if (nearestLevel) {
        const double margin = 0.125;
        const int largest = std::max(width, height);
        for (int k = 0; (largest >> k) > 0; ++k) {
            const bool above = k == 0 || scale.least > std::exp2(k - 0.5 + margin);
            if (above && scale.most < std::exp2(k + 0.5 - margin)) level = k;
        }
    }
    static const bool baseLevels = GlVersionAtLeast(1, 2);  // one driver for every context
    if (level < 0 || (level > 0 && !baseLevels)) return changed;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, magFilter);
    if (level > 0) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, level);
    changed.minFilter = minFilter;
    changed.baseLevel = level;
    return changed;
}

}  // namespace

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
    glTranslatef(0.0f, 0.0f, PicturePlaneZ);
    glScalef(plane.scaleX, plane.scaleY, 1.0f);
    nerith::rand();  // drawn and discarded
    const int o = offsets[nerith::rand() % 9];
    surface->StartRipple(screenWidth / 2 + o, screenHeight / 2 + 100);
    // The side strips stretch the edge columns across, so OpenGL picks their levels apart from the grid's.
    surface->DrawSideStrips(plane.coverX / plane.scaleX);
    const SampledLevel sampled = UseOneLevelOnly(*surface);
    surface->Draw();
    sampled.Restore();
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
