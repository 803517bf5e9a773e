#include <gtest/gtest.h>

#include <unistd.h>

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

// 64 x 64 test picture: red grows to the right, green grows upward, blue alternates every texel
// column so that the smallest shift of the texture coordinates shows.
GLuint MakeTestPicture() {
    return MakeTestTexture(64, 64, GL_LINEAR, [](int x, int y, std::uint8_t* p) {
        p[0] = static_cast<std::uint8_t>(4 * x + 2);
        p[1] = static_cast<std::uint8_t>(4 * y + 2);
        p[2] = (x % 2) ? 255 : 0;
        p[3] = 255;
    });
}

// The frame's projection and camera for a 1024 x 768 screen, drawn into the test viewport.
void FrameViewFor1024x768(int viewport) {
    glViewport(0, 0, viewport, viewport);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-0.4 * 1024 / 768, 0.4 * 1024 / 768, -0.4, 0.4, 1, 1000);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0, 0, -10, 0, 0, -500, 0, 1, 0);
}

Settings PictureShown() {
    Settings s{};
    s.showTerra = 1;
    s.backgroundVariant = 0;
    s.bubbleSetting = 100;
    return s;
}

std::vector<std::uint8_t> ReadColour(int size) {
    std::vector<std::uint8_t> pixels(static_cast<size_t>(size) * size * 4);
    glReadPixels(0, 0, size, size, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
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

TEST(Scenery, BackgroundPictureAppearsAndMovesFromFrameToFrame) {
    const int size = 256;
    OsMesaContext gl(size, size);
    ASSERT_TRUE(gl.ok());
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glColor4f(1, 1, 1, 1);
    glClearColor(0, 0, 0, 0);
    const GLuint picture = MakeTestPicture();
    glBindTexture(GL_TEXTURE_2D, 0);
    std::unique_ptr<RippleSurface> surface(CreateBackgroundPicture(1024, 768));
    FrameViewFor1024x768(size);
    GLdouble modelview[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);

    auto frame = [&] {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        DrawBackgroundPicture(PictureShown(), surface.get(), picture, 0, 1024, 768);
        return ReadColour(size);
    };
    auto at = [&](const std::vector<std::uint8_t>& image, int x, int y, int channel) {
        return static_cast<int>(image[static_cast<size_t>(y * size + x) * 4 + channel]);
    };

    // The first frame shows the picture at rest, filling the view: 53.1 x 40 units at z = -110.
    std::vector<std::uint8_t> previous = frame();
    EXPECT_NEAR(at(previous, 128, 128, 0), 128, 4);
    EXPECT_NEAR(at(previous, 64, 128, 0), 64, 4);
    EXPECT_NEAR(at(previous, 192, 128, 0), 192, 4);
    EXPECT_NEAR(at(previous, 128, 64, 1), 64, 4);
    EXPECT_NEAR(at(previous, 128, 192, 1), 192, 4);
    EXPECT_EQ(at(previous, 128, 128, 3), 255);

    // The matrix is restored and the picture's texture left bound.
    GLdouble after[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, after);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(after[i], modelview[i]);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), picture);

    // Once the ripples have spread, every frame differs from the one before, yet the picture
    // stays where it was.
    int changedFrames = 0;
    for (int i = 1; i <= 240; ++i) {
        std::vector<std::uint8_t> image = frame();
        if (i > 40 && image != previous) ++changedFrames;
        previous.swap(image);
    }
    EXPECT_EQ(changedFrames, 200);
    EXPECT_NEAR(at(previous, 64, 128, 0), 64, 12);
    EXPECT_NEAR(at(previous, 128, 192, 1), 192, 12);
}

TEST(Scenery, BubblesAddLightOverWhatIsDrawnAndWriteNoDepth) {
    const int size = 256;
    OsMesaContext gl(size, size);
    ASSERT_TRUE(gl.ok());
    glEnable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
    nerith::resetRandForTesting();
    BubbleSystem bubbles;
    bubbles.SetSpriteLoader(LoadGreenSprite);
    ASSERT_TRUE(bubbles.Init(BubblePoolSize));
    const Particle p = bubbles.At(0);

    // An emitter that puts the column at the origin; one unit is 64 pixels around bubble 0.
    const BubbleEmitter emitter = {-5.0f, 25.0f, 60.0f};
    glViewport(0, 0, size, size);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(p.x - 2, p.x + 2, p.y - 2, p.y + 2, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    // The frame's state before the pass: depth test and fog on, ordinary blending.
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_FOG);
    glFogi(GL_FOG_MODE, GL_EXP);
    glFogf(GL_FOG_DENSITY, 0.5f);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glClearColor(0, 0, 0, 1);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    // A dark red wall in front of the bubbles.
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_FOG);
    glColor4f(0.6f, 0.0f, 0.0f, 1.0f);
    glBegin(GL_QUADS);
    glVertex3f(p.x - 2, p.y - 2, 5);
    glVertex3f(p.x + 2, p.y - 2, 5);
    glVertex3f(p.x + 2, p.y + 2, 5);
    glVertex3f(p.x - 2, p.y + 2, 5);
    glEnd();
    glEnable(GL_FOG);
    glEnable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
    // A spot that bubble 0 covers whatever its jitter, and a corner no bubble reaches.
    const int bx = 128 + static_cast<int>(0.095f * 64), by = 128;
    GLfloat wallDepth = 0.0f;
    glReadPixels(bx, by, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &wallDepth);
    ASSERT_LT(wallDepth, 0.5f);

    GLdouble modelview[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    DrawBubbleColumn(bubbles, emitter, BubblePoolSize - 1);  // one bubble
    EXPECT_EQ(bubbles.Count(), 1);

    // Green light added on top of the red wall, at the sprite's alpha: additive, unfogged, and
    // drawn through the wall because the depth test was off.
    const OsMesaContext::Rgba c = gl.pixel(bx, by);
    EXPECT_NEAR(c.r, 153, 2);
    EXPECT_NEAR(c.g, 128, 3);
    EXPECT_EQ(c.b, 0);
    const OsMesaContext::Rgba corner = gl.pixel(2, 250);
    EXPECT_NEAR(corner.r, 153, 2);
    EXPECT_EQ(corner.g, 0);

    // No depth written.
    std::vector<GLfloat> depth(static_cast<size_t>(size) * size);
    glReadPixels(0, 0, size, size, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
    for (GLfloat d : depth) ASSERT_EQ(d, wallDepth);

    // State afterwards: blending off, depth test on, fog off, additive blend function, matrix
    // restored.
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_FOG));
    GLint src = 0, dst = 0;
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    EXPECT_EQ(src, GL_SRC_ALPHA);
    EXPECT_EQ(dst, GL_ONE);
    GLdouble after[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, after);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(after[i], modelview[i]);

    // The whole pool over black, many bubbles overlapping: light only ever adds up.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    DrawBubbleColumn(bubbles, emitter, 0);
    EXPECT_EQ(bubbles.Count(), 200);
    const std::vector<std::uint8_t> image = ReadColour(size);
    int brightest = 0;
    for (size_t i = 0; i < image.size(); i += 4) {
        EXPECT_EQ(image[i], 0);
        EXPECT_EQ(image[i + 2], 0);
        brightest = std::max<int>(brightest, image[i + 1]);
    }
    EXPECT_EQ(brightest, 255);  // several half-bright sprites on one spot saturate
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
