// The scenery's rules: the bubble count, where the ripples of the background picture start, and
// the built-in bubble sprite. How the scenery looks is in the whole-frame checksums (FrameChecksumTest).
#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <memory>
#include <string>

#include "OsMesa.h"
#include "Random.h"
#include "assets/ResourcePack.h"
#include "scene/Scenery.h"

namespace {

Settings PictureShown() {
    Settings s{};
    s.showTerra = 1;
    s.backgroundVariant = 0;
    s.bubbleSetting = 100;
    return s;
}

const PicturePlane Plane = LayoutFor(1024, 768).picture;

}  // namespace

TEST(Scenery, BubbleCountKeepsToThePool) {
    const int cases[][2] = {{100, 100}, {200, 0}, {0, 200}, {250, 0}, {-5, 200}, {INT_MIN, 200}, {INT_MAX, 0}};
    for (const auto& c : cases) EXPECT_EQ(BubbleCountFor(c[0]), c[1]) << c[0];
}

TEST(Scenery, BackgroundPictureStartsOneRippleOnTheRowAboveTheMiddle) {
    OsMesaContext gl;
    ASSERT_TRUE(gl.ok());
    std::unique_ptr<RippleSurface> surface(CreateBackgroundPicture(1024, 768));  // its size shows below
    EXPECT_TRUE(surface->SlotFree(0));

    // Frame 1: 41 is thrown away, 18467 % 9 = 8 picks +200: (712, 484) is cell (22, 20).
    nerith::resetRandForTesting();
    DrawBackgroundPicture(PictureShown(), surface.get(), 0, Plane, 1024, 768);
    EXPECT_EQ(surface->CentreColumn(0), 22);
    EXPECT_EQ(surface->CentreRow(0), 20);
    EXPECT_EQ(surface->Age(0), 5);  // started at 4, then advanced
    EXPECT_EQ(surface->MaxAge(0), 198);
    EXPECT_TRUE(surface->SlotFree(1));
    // Frame 2: 6334 is thrown away, 26500 % 9 = 4 picks 0: (512, 484) is cell (16, 20).
    DrawBackgroundPicture(PictureShown(), surface.get(), 0, Plane, 1024, 768);
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
        DrawBackgroundPicture(s, surface.get(), 0, Plane, 1024, 768);
        EXPECT_TRUE(surface->SlotFree(2));
        EXPECT_EQ(surface->Age(0), 6);
        EXPECT_EQ(nerith::rand(), 41);
    }
    EXPECT_FALSE(BackgroundPictureShown(variant));
    EXPECT_FALSE(BackgroundPictureShown(noTerra));
    DrawBackgroundPicture(PictureShown(), nullptr, 0, Plane, 1024, 768);
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
    EXPECT_EQ(BoundTexture(), sprite);
    EXPECT_GT(BoundTexLevel(GL_TEXTURE_WIDTH), 0);

    // Without the entry the name exists but holds no image.
    ResourcePack::SetHostFolders(work, work);
    EXPECT_NE(LoadBubbleSprite(), sprite);
    EXPECT_EQ(BoundTexLevel(GL_TEXTURE_WIDTH), 0);

    ResourcePack::SetHostFolders("", "");
    EXPECT_EQ(rmdir(folderTemplate), 0) << "work files left behind";
}
