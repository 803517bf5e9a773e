#pragma once
// The whole scene as the view builds and renders it, for tests and benchmarks: the same set-up
// steps and the same per-frame calls in the same order, with made-up textures instead of the
// built-in art, through an off-screen context of the screen's size.
#include <cstdint>
#include <vector>

#include "Checksum.h"
#include "OsMesa.h"
#include "Random.h"
#include "assets/TextureLoader.h"
#include "fish/School.h"
#include "scene/Scenery.h"
#include "settings/Settings.h"
#include "view/FrameRender.h"
#include "view/Picking.h"
#include "scene/ViewLayout.h"

class FrameScene {
public:
    // `picture`: a BMP file to show as the background picture (the built-in one, say) instead of
    // the made-up one, loaded as the view loads it.
    FrameScene(int width, int height, const Settings& settings, const char* picture = nullptr)
        : gl_(width, height), settings_(settings), width_(width), height_(height) {
        if (!gl_.ok()) return;
        InitSceneState();
        layout_ = LayoutFor(width, height);
        tank_ = layout_.tank;
        background_ = MakeTestTexture(256, 256, GL_LINEAR, [](int x, int y, std::uint8_t* t) {
            t[0] = static_cast<std::uint8_t>(x);
            t[1] = static_cast<std::uint8_t>(y);
            t[2] = static_cast<std::uint8_t>((x ^ y) * 3);
            t[3] = 255;
        });
        std::vector<std::uint8_t> texels(256 * 256 * 4);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        gluBuild2DMipmaps(GL_TEXTURE_2D, 4, 256, 256, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
        if (picture) LoadTextureMipmapped(picture, &background_);
        for (int j = 0; j < SpeciesCount; ++j) {
            skins_[j] = MakeTestTexture(64, 64, GL_LINEAR, [j](int x, int y, std::uint8_t* t) {
                t[0] = static_cast<std::uint8_t>(j * 12 + x * 2);
                t[1] = static_cast<std::uint8_t>(((x / 8 + y / 8) % 2) * 120 + j * 5);
                t[2] = static_cast<std::uint8_t>(255 - y * 3);
                t[3] = 255;
            });
        }
        emitter_ = SetUpTerrainAndBubbles(terrain_, bubbles_, tank_, &BubbleSprite, settings_.bubbleSetting);
        school_.placeFish(layout_);
        PlaceProbeStrips(layout_, columns_, rows_);
        picture_ = CreateBackgroundPicture(width, height);
        school_.setUpPellets();
        InitFog();
    }
    ~FrameScene() { delete picture_; }

    bool ok() const { return gl_.ok(); }
    School& school() { return school_; }

    // A feed click at (x, y) in client pixels, resolved by the following frames.
    void Click(int x, int y) {
        mouseX_ = x;
        mouseY_ = y;
        feedRequest_ = true;
    }

    // One frame, as the view renders it (without the presentation).
    void Render() {
        ApplyFrameProjection(width_, height_);
        ApplyFrameCamera(-5.0f);
        glViewport(0, 0, width_, height_);
        const PixelRect cover = BackgroundPictureShown(settings_) && picture_
                                    ? PictureCover(width_, height_, -5.0f, layout_.picture)
                                    : PixelRect();
        const bool clearColour = ColourClearNeeded(settings_, layout_.wall, cover, width_, height_, -5.0f);
        glClear(clearColour ? GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT : GL_DEPTH_BUFFER_BIT);
        ApplyFrameLight(settings_);
        wall_.Draw(settings_, layout_.wall, cover);
        DrawFishAndPicture(school_, settings_, skins_, FeedFishCmd, picture_, background_, layout_.picture, width_,
                           height_, [](const char*) {});
        DrawBubbleColumn(bubbles_, emitter_, settings_.bubbleSetting);
        glDisable(GL_LIGHTING);
        school_.pelletPass();
        ProbeSweep(pick_, FeedFishCmd, mouseX_, mouseY_, feedRequest_, false, false, columns_, rows_, layout_,
                   school_);
        glFinish();
    }

    // FNV-1a over the colour buffer.
    std::uint64_t PixelChecksum() {
        std::vector<std::uint8_t> pixels(static_cast<size_t>(width_) * height_ * 4);
        glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        Checksum sum;
        sum.bytes(pixels.data(), pixels.size());
        return sum.h;
    }

private:
    // The view is built before anything else draws a random number; its fish draw the first ones.
    struct FreshRandom {
        FreshRandom() { nerith::resetRandForTesting(); }
    };

    static unsigned BubbleSprite() {
        return MakeTestTexture(32, 32, GL_LINEAR, [](int x, int y, std::uint8_t* t) {
            const int dx = x - 16, dy = y - 16, d = dx * dx + dy * dy;
            t[0] = 200;
            t[1] = 220;
            t[2] = 255;
            t[3] = static_cast<std::uint8_t>(d < 256 ? 255 - d : 0);
        });
    }

    FreshRandom fresh_;
    OsMesaContext gl_;
    Settings settings_;
    int width_, height_;
    SceneLayout layout_ = {};
    TankBox tank_ = {};
    GLuint background_ = 0;
    GLuint skins_[SpeciesCount] = {};
    TerrainGrid terrain_;
    BubbleSystem bubbles_;
    BubbleEmitter emitter_ = {0, 0, 0};
    School school_;
    ProbePoint columns_[ProbeColumnCount] = {};
    ProbePoint rows_[ProbeRowCount] = {};
    RippleSurface* picture_ = nullptr;
    BackWall wall_;
    PickState pick_;
    int mouseX_ = 0, mouseY_ = 0;
    bool feedRequest_ = false;
};

// The settings of the full load: one fish of each species, all 200 bubbles, the solid black back
// layer the loader switches on, the built-in picture shown.
inline Settings FullLoadSettings() {
    Settings s = {};
    s.showTerra = 1;
    s.backFixed = 1;
    for (int& c : s.fishCounts) c = 1;
    return s;
}
