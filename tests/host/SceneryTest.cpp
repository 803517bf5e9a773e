#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "OsMesa.h"
#include "Random.h"
#include "assets/ResourcePack.h"
#include "scene/Scenery.h"

namespace {

bool SameParticle(const Particle& a, const Particle& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

int spriteLoads = 0;
GLuint greenSprite = 0;

// A 4 x 4 sprite of half-transparent green, standing in for "Particle1".
unsigned LoadGreenSprite() {
    ++spriteLoads;
    greenSprite = MakeTestTexture(4, 4, GL_NEAREST, [](int, int, std::uint8_t* p) {
        p[0] = 0;
        p[1] = 255;
        p[2] = 0;
        p[3] = 128;
    });
    return greenSprite;
}

Settings PictureShown() {
    Settings s{};
    s.showTerra = 1;
    s.backgroundVariant = 0;
    s.bubbleSetting = 100;
    return s;
}

}  // namespace

TEST(Scenery, TerrainAndEmitterForA1024x768Tank) {
    const TankBox box = TankBoxFor(1024, 768);
    TerrainGrid terrain;
    BuildTerrain(terrain, box);
    EXPECT_EQ(terrain.Columns(), 98);
    EXPECT_EQ(terrain.Rows(), 50);
    EXPECT_EQ(terrain.HeightFactor(), 1);

    const BubbleEmitter e = PlaceBubbleEmitter(terrain, box);
    EXPECT_EQ(e.x, -5.0f);
    EXPECT_NEAR(e.y, -21.0 - 1.0155 - 5.0, 0.0001);
    EXPECT_EQ(e.z, -90.0f);
}

TEST(Scenery, BubbleCountKeepsToThePool) {
    const int cases[][2] = {{100, 100}, {200, 0}, {0, 200}, {250, 0}, {-5, 200}, {INT_MIN, 200}, {INT_MAX, 0}};
    for (const auto& c : cases) EXPECT_EQ(BubbleCountFor(c[0]), c[1]) << c[0];
}

TEST(Scenery, SetUpSeedsThePoolThenSpreadsTheColumnWith200Frames) {
    OsMesaContext gl(8, 8);
    ASSERT_TRUE(gl.ok());
    for (int setting : {200, 100, 0, 250, -5}) {
        nerith::resetRandForTesting();
        BubbleSystem seededOnly;
        ASSERT_TRUE(seededOnly.Init(200));

        nerith::resetRandForTesting();
        spriteLoads = 0;
        TerrainGrid terrain;
        BubbleSystem bubbles;
        const BubbleEmitter e =
            SetUpTerrainAndBubbles(terrain, bubbles, TankBoxFor(1024, 768), LoadGreenSprite, setting);
        EXPECT_EQ(e.z, -90.0f);
        EXPECT_EQ(spriteLoads, 1);
        EXPECT_EQ(bubbles.SpriteTexture(), greenSprite);
        EXPECT_EQ(bubbles.PoolSize(), 200);
        const int count = BubbleCountFor(setting);
        EXPECT_EQ(bubbles.Count(), count) << setting;
        // The bubbles in use have risen for 200 frames; the others are as first seeded.
        for (int i = 0; i < 200; ++i)
            EXPECT_EQ(SameParticle(bubbles.At(i), seededOnly.At(i)), i >= count) << setting << " " << i;
    }
}

TEST(Scenery, BackgroundPictureStartsOneRippleOnTheRowAboveTheMiddle) {
    OsMesaContext gl;
    ASSERT_TRUE(gl.ok());
    std::unique_ptr<RippleSurface> surface(CreateBackgroundPicture(1024, 768));
    EXPECT_EQ(surface->Width(), 1024);
    EXPECT_EQ(surface->Height(), 768);
    EXPECT_TRUE(surface->SlotFree(0));

    // Frame 1: 41 is thrown away, 18467 % 9 = 8 picks +200: (712, 484) is cell (22, 20).
    nerith::resetRandForTesting();
    DrawBackgroundPicture(PictureShown(), surface.get(), 0, 0, 1024, 768);
    EXPECT_EQ(surface->CentreColumn(0), 22);
    EXPECT_EQ(surface->CentreRow(0), 20);
    EXPECT_EQ(surface->Age(0), 5);  // started at 4, then advanced
    EXPECT_EQ(surface->MaxAge(0), 198);
    EXPECT_TRUE(surface->SlotFree(1));
    // Frame 2: 6334 is thrown away, 26500 % 9 = 4 picks 0: (512, 484) is cell (16, 20).
    DrawBackgroundPicture(PictureShown(), surface.get(), 0, 0, 1024, 768);
    EXPECT_EQ(surface->CentreColumn(1), 16);
    EXPECT_EQ(surface->CentreRow(1), 20);
    EXPECT_EQ(surface->Age(0), 6);
    EXPECT_EQ(nerith::rand(), 19169);

    // Switched off by either setting, or without a surface: no ripple, no random numbers.
    Settings variant = PictureShown();
    variant.backgroundVariant = 1;
    Settings noTerra = PictureShown();
    noTerra.showTerra = 0;
    for (const Settings& s : {variant, noTerra}) {
        nerith::resetRandForTesting();
        DrawBackgroundPicture(s, surface.get(), 0, 0, 1024, 768);
        EXPECT_TRUE(surface->SlotFree(2));
        EXPECT_EQ(surface->Age(0), 6);
        EXPECT_EQ(nerith::rand(), 41);
    }
    EXPECT_FALSE(BackgroundPictureShown(variant));
    EXPECT_FALSE(BackgroundPictureShown(noTerra));
    DrawBackgroundPicture(PictureShown(), nullptr, 0, 0, 1024, 768);
    EXPECT_EQ(nerith::rand(), 18467);
}

TEST(Scenery, BubbleSpriteComesFromTheResourcePackAndLeavesNoWorkFiles) {
    OsMesaContext gl(8, 8);
    ASSERT_TRUE(gl.ok());
    char folderTemplate[] = "/tmp/nerith_sprite_XXXXXX";
    ASSERT_NE(mkdtemp(folderTemplate), nullptr);
    const std::string work = std::string(folderTemplate) + "/";
    ResourcePack::SetHostFolders(NERITH_ART_DIR, work);

    const unsigned sprite = LoadBubbleSprite();
    EXPECT_NE(sprite, 0u);
    GLint bound = 0, width = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<unsigned>(bound), sprite);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_GT(width, 0);
    for (const char* file : {"Particle1.ad", "Particle1.bmp"}) {
        std::FILE* f = std::fopen((work + file).c_str(), "rb");
        EXPECT_EQ(f, nullptr) << file;
        if (f) std::fclose(f);
    }

    // Without the entry the name exists but holds no image.
    ResourcePack::SetHostFolders(work, work);
    const unsigned empty = LoadBubbleSprite();
    EXPECT_NE(empty, sprite);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(width, 0);

    ResourcePack::SetHostFolders("", "");
    rmdir(folderTemplate);
}
