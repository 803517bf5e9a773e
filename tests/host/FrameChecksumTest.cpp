// Whole frames, pixel for pixel: a fixed run of frames of the full scene (the shared random
// sequence from its start, a feed click, pellets falling and being eaten) rendered through an
// off-screen context. The checksums were taken from the immediate-mode drawing the scene started
// with; however the drawing is done, it must give the same pixels.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "FrameScene.h"

namespace {

struct Run {
    const char* name;
    int width, height;
    Settings settings;
    int clickFrame, clickX, clickY;  // a feed click and two pellets before this frame (0: none)
    int frames;
    std::vector<std::pair<int, std::uint64_t>> expected;  // frame (1 = the first), checksum
    bool builtInPicture = false;  // the built-in background picture instead of the made-up one
};

Settings WallSettings() {
    Settings s = {};
    s.backGradual = 1;
    s.backColor1 = 0x00FF8000;
    s.backColor2 = 0x000040FF;
    s.backAuto = 1;
    s.lockBackPhase = 300.0f;
    s.fishCounts[0] = 3;
    s.fishCounts[2] = 2;
    s.bubbleSetting = 150;
    s.lightIntensity = 30;
    return s;
}

void Check(const Run& run) {
    const std::string picture = std::string(NERITH_ART_DIR) + "/BackGround0.bmp";
    FrameScene scene(run.width, run.height, run.settings, run.builtInPicture ? picture.c_str() : nullptr);
    ASSERT_TRUE(scene.ok());
    size_t next = 0;
    for (int frame = 1; frame <= run.frames; ++frame) {
        if (frame == run.clickFrame) {
            scene.Click(run.clickX, run.clickY);
            // Two pellets dropped as resolved clicks drop them, so that the pellet pass draws.
            scene.school().dropPellet(-6.0f, 4.0f);
            scene.school().dropPellet(10.0f, -3.0f);
        }
        scene.Render();
        if (next < run.expected.size() && run.expected[next].first == frame) {
            const std::uint64_t sum = scene.PixelChecksum();
            EXPECT_EQ(sum, run.expected[next].second)
                << run.name << " frame " << frame << ": 0x" << std::hex << sum;
            ++next;
        }
    }
    EXPECT_EQ(next, run.expected.size());
}

TEST(FrameChecksum, FullLoadAtTheBenchmarkSize) {
    Check({"full load 1024x768", 1024, 768, FullLoadSettings(), 3, 500, 420, 30,
           {{1, 0x8e556234368d0383ull},
            {2, 0x01041c30a3d16956ull},
            {8, 0xa17a2a7d6bbd964cull},
            {30, 0xbba90f6df09a6cb0ull}}});
}

// The built-in picture (1024 x 512, mipmapped, the nearest level chosen): about one texel a pixel
// at 1024 x 768, where only its first level is ever sampled; minified at 320 x 240, where the
// other levels are.
TEST(FrameChecksum, BuiltInPictureAtOneTexelAPixelAndMinified) {
    Check({"built-in picture 1024x768", 1024, 768, FullLoadSettings(), 3, 500, 420, 30,
           {{2, 0x7bef699eb9a5ac24ull}, {8, 0x7c20207c7c978318ull}, {30, 0xb4e6204061e65699ull}}, true});
    Check({"built-in picture 320x240", 320, 240, FullLoadSettings(), 3, 160, 140, 30,
           {{2, 0x037675c2d0970cc1ull}, {8, 0x1b1c2a04cba841a6ull}, {30, 0x0a1df7162dcad48eull}}, true});
}

// A fish moved behind the picture's plane is hidden by it where they overlap (the frame then
// draws the fish before the picture, not after it).
TEST(FrameChecksum, AFishBehindThePictureStaysBehindIt) {
    FrameScene scene(1024, 768, FullLoadSettings());
    ASSERT_TRUE(scene.ok());
    const std::pair<int, std::uint64_t> expected[] = {{2, 0xd08a070afa6c0e2aull}, {6, 0x9d357c27d1a38ce1ull}};
    size_t next = 0;
    for (int frame = 1; frame <= 6; ++frame) {
        if (frame == 2) scene.school().fish(0).placeAt(0.0f, 0.0f, -125.0f);
        scene.Render();
        if (frame == expected[next].first) {
            const std::uint64_t sum = scene.PixelChecksum();
            EXPECT_EQ(sum, expected[next].second) << "frame " << frame << ": 0x" << std::hex << sum;
            ++next;
        }
    }
}

TEST(FrameChecksum, WallLayersWithoutThePictureOnAnUnlistedScreen) {
    Check({"walls 640x480", 640, 480, WallSettings(), 0, 0, 0, 12,
           {{1, 0x2a910ab38bc2c383ull}, {12, 0x536a79de1080d4abull}}});
}

// The picture's certain cover at the listed screen sizes: columns and rows as the frustum and the
// picture's scale put them (the checksums above prove that leaving the wall out there changes no
// pixel at 1024 x 768).
TEST(PictureCover, ListedScreens) {
    const struct {
        int width, height;
        std::vector<int> cover;  // x0, x1, y0, y1
    } rows[] = {
        {1024, 768, {2, 1022, 0, 768}},    // 53.1 of 53.33 across: two columns either side show the wall
        {1920, 1080, {0, 1920, 0, 1080}},  // 110 is far wider than the screen
        {1280, 1024, {2, 1278, 0, 1024}},  // 49.9 of 50 across, 40 of 40 up
        {1366, 768, {2, 1364, 0, 768}},    // 71 of 71.1 across
    };
    for (const auto& r : rows) {
        const float scale = BackgroundScaleFor(ResolutionIndexFor(r.width, r.height));
        const PixelRect c = PictureCover(r.width, r.height, -5.0f, scale);
        EXPECT_EQ((std::vector<int>{c.x0, c.x1, c.y0, c.y1}), r.cover) << r.width;
    }
    // An eye behind the picture plane sees none of it.
    EXPECT_TRUE(PictureCover(1024, 768, -120.0f, 53.1f).Empty());
}

// The colour buffer is cleared only where neither the picture nor the wall gives every pixel its
// colour (the checksums above prove that leaving it out changes no pixel at 1024 x 768).
TEST(PictureCover, ColourClearOnlyWhereNothingCoversTheScreen) {
    Settings wall = FullLoadSettings(), bare = FullLoadSettings(), none = FullLoadSettings();
    bare.backFixed = 0;  // the picture alone
    none.backFixed = 0;
    none.showTerra = 0;
    const struct {
        int width, height;
        const Settings* settings;
        bool clear;
    } rows[] = {
        {1024, 768, &wall, false},  // the wall fills the two columns either side of the picture
        {1024, 768, &bare, true},
        {1024, 768, &none, true},
        {1920, 1080, &bare, false},  // the picture alone covers the screen
        {1920, 1080, &none, true},
        {2560, 1440, &wall, true},   // 1024 x 768's tank on a wider screen: the wall falls short
    };
    for (const auto& r : rows) {
        const bool shown = BackgroundPictureShown(*r.settings);
        const PixelRect cover =
            shown ? PictureCover(r.width, r.height, -5.0f, BackgroundScaleFor(ResolutionIndexFor(r.width, r.height)))
                  : PixelRect();
        EXPECT_EQ(ColourClearNeeded(*r.settings, TankBoxFor(r.width, r.height), cover, r.width, r.height, -5.0f),
                  r.clear)
            << r.width << " x " << r.height;
    }
}

}  // namespace
