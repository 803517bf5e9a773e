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
            {2, 0xb5d3c4a764c86e1eull},
            {8, 0xaa361125f41ca4d6ull},
            {30, 0x9e20a0fe3d80b620ull}}});
}

// The built-in picture (2048 x 1024, mipmapped, the nearest level chosen): about two texels a
// pixel at 1024 x 768, where its second level is sampled; minified further at 320 x 240.
TEST(FrameChecksum, BuiltInPictureAtOneTexelAPixelAndMinified) {
    Check({"built-in picture 1024x768", 1024, 768, FullLoadSettings(), 3, 500, 420, 30,
           {{2, 0x522018a67bd69b75ull}, {8, 0x7f0e3571e19750a6ull}, {30, 0x671c3b26ab3e5ab3ull}}, true});
    Check({"built-in picture 320x240", 320, 240, FullLoadSettings(), 3, 160, 140, 30,
           {{2, 0x48311a510132745full}, {8, 0x30407e24fd476f8eull}, {30, 0x5dddca4b62b77568ull}}, true});
}

// A fish moved behind the picture's plane is hidden by it where they overlap (the frame then
// draws the fish before the picture, not after it).
TEST(FrameChecksum, AFishBehindThePictureStaysBehindIt) {
    FrameScene scene(1024, 768, FullLoadSettings());
    ASSERT_TRUE(scene.ok());
    const std::pair<int, std::uint64_t> expected[] = {{2, 0x27d83e373f6d4a76ull}, {6, 0xbc9e65dad7a83ea3ull}};
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

// The picture's certain cover: the whole screen at the listed sizes too, where the table's scale
// once left a column or two of the wall showing at each side (the picture's edges now stretch over
// them; the checksums above show that nothing else moved). An eye behind the picture plane sees
// none of it.
TEST(PictureCover, ListedScreensAreCoveredWhole) {
    for (const auto& [w, h] : {std::pair(1024, 768), std::pair(1920, 1080), std::pair(1280, 1024),
                               std::pair(1366, 768)}) {
        const PixelRect c = PictureCover(w, h, -5.0f, LayoutFor(w, h).picture);
        EXPECT_EQ((std::vector<int>{c.x0, c.x1, c.y0, c.y1}), (std::vector<int>{0, w, 0, h})) << w;
    }
    EXPECT_TRUE(PictureCover(1024, 768, -120.0f, LayoutFor(1024, 768).picture).Empty());
}

// The colour buffer is cleared only where neither the picture nor the wall gives every pixel its
// colour (the checksums above prove that leaving it out changes no pixel at 1024 x 768).
TEST(PictureCover, ColourClearOnlyWhereNothingCoversTheScreen) {
    Settings both = FullLoadSettings(), picture = FullLoadSettings(), wall = FullLoadSettings(),
             none = FullLoadSettings();
    picture.backFixed = 0;
    wall.showTerra = 0;
    none.backFixed = 0;
    none.showTerra = 0;
    const struct {
        int width, height;
        const Settings* settings;
        bool clear;
    } rows[] = {
        {1024, 768, &both, false},   {1024, 768, &picture, false}, {1024, 768, &none, true},
        {2560, 1440, &wall, false},  {1080, 1920, &wall, false},   {3440, 1440, &picture, false},
        {1920, 1080, &none, true},
    };
    for (const auto& r : rows) {
        const SceneLayout layout = LayoutFor(r.width, r.height);
        const PixelRect cover =
            BackgroundPictureShown(*r.settings) ? PictureCover(r.width, r.height, -5.0f, layout.picture) : PixelRect();
        EXPECT_EQ(ColourClearNeeded(*r.settings, layout.wall, cover, r.width, r.height, -5.0f), r.clear)
            << r.width << " x " << r.height;
    }
}

}  // namespace
