#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "OsMesa.h"
#include "TestBmp.h"
#include "assets/Bmp.h"
#include "assets/TextureLoader.h"

using namespace testbmp;

namespace {

class TextureLoader : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(gl_.ok()); }

    static GLint Level(GLenum what, int level = 0) { return BoundTexLevel(what, level); }
    static GLint Param(GLenum what) { return BoundTexParam(what); }
    // Loads `bmp` with the plain loader: a w x h texture whose texel (x, y) is rgba(x, y).
    template <class F>
    static void ExpectPlain(const Bytes& bmp, int w, int h, F rgba) {
        const std::string path = WriteFile("plain.bmp", bmp);
        GLuint texture = 0;
        ASSERT_TRUE(LoadTexture(path.c_str(), &texture));
        EXPECT_EQ(BoundTexture(), texture);
        ASSERT_EQ(Level(GL_TEXTURE_WIDTH), w);
        ASSERT_EQ(Level(GL_TEXTURE_HEIGHT), h);
        const Bytes texels = BoundTexels();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const std::uint8_t* t = &texels[(static_cast<std::size_t>(y) * w + x) * 4];
                ASSERT_EQ(Bytes(t, t + 4), rgba(x, y)) << x << "," << y;
            }
    }

    OsMesaContext gl_;
};

TEST_F(TextureLoader, PlainFitsSizesToPowersOfTwoUpTo512) {
    struct Case {
        int width, height, textureWidth, textureHeight;
    } cases[] = {{100, 60, 128, 64}, {600, 300, 512, 512}, {1, 1, 2, 2}, {1024, 16, 512, 16}, {3, 5, 4, 8}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        // One colour stays that colour through the resampling, blue-green-red turned around.
        ExpectPlain(Make24(c.width, c.height, [](int, int) { return Bgr{30, 120, 210}; }), c.textureWidth,
                    c.textureHeight, [](int, int) { return Bytes{210, 120, 30, 255}; });
        EXPECT_EQ(Level(GL_TEXTURE_WIDTH, 1), 0);  // no mipmaps
        EXPECT_EQ(Level(GL_TEXTURE_ALPHA_SIZE), 0);  // 3 components
        EXPECT_EQ(Param(GL_TEXTURE_MIN_FILTER), GL_LINEAR);
        EXPECT_EQ(Param(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    }
}

TEST_F(TextureLoader, PlainUploadsEveryDepthAsStored) {
    std::vector<Bgr> palette(256);
    for (int i = 0; i < 256; ++i) palette[i] = {std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(i / 2)};
    auto index = [](int x, int y) { return std::uint8_t(x + 7 * y); };
    ExpectPlain(Make8(256, 256, palette, 0, index), 256, 256, [&](int x, int y) {
        const Bgr c = palette[index(x, y)];
        return Bytes{c[2], c[1], c[0], 255};
    });

    auto withAlpha = [](int x, int y) { return Bgra{std::uint8_t(x), std::uint8_t(y), 9, std::uint8_t(16 * x + y)}; };
    ExpectPlain(Make32(16, 8, withAlpha), 16, 8, [&](int x, int y) {
        const Bgra c = withAlpha(x, y);
        return Bytes{c[2], c[1], c[0], c[3]};
    });
    ExpectPlain(Make32(3, 3, [](int, int) { return Bgra{1, 2, 3, 77}; }), 4, 4,
                [](int, int) { return Bytes{3, 2, 1, 77}; });

    // The pixel store is left as it was found.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    ExpectPlain(Make24(1, 1, [](int, int) { return Bgr{5, 6, 7}; }), 2, 2, [](int, int) { return Bytes{7, 6, 5, 255}; });
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 1);
}

// (Its levels are compared with gluBuild2DMipmaps's below.)
TEST_F(TextureLoader, MipmappedRepeatsAndMakesBlackTransparent) {
    GLuint texture = 0;
    // Pure black becomes transparent; every other colour, however dark, stays opaque.
    const Bgr colours[4] = {{0, 0, 0}, {1, 0, 0}, {0, 0, 1}, {50, 100, 200}};
    const std::string black = WriteFile("background.bmp", Make24(4, 4, [&](int x, int) { return colours[x]; }));
    ASSERT_TRUE(LoadTextureMipmapped(black.c_str(), &texture));
    EXPECT_EQ(Param(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_NEAREST);
    EXPECT_EQ(Param(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(Param(GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(Param(GL_TEXTURE_WRAP_T), GL_REPEAT);
    const Bytes texels = BoundTexels();
    EXPECT_EQ(Bytes(texels.begin(), texels.begin() + 16),
              (Bytes{0, 0, 0, 0, 0, 0, 1, 255, 1, 0, 0, 255, 200, 100, 50, 255}));
}

// Every level as gluBuild2DMipmaps makes it from the same picture: the loader halves pictures with
// power-of-two sides itself (faster), and leaves the others to gluBuild2DMipmaps.
TEST_F(TextureLoader, MipmappedLevelsAreThoseOfGluBuild2DMipmaps) {
    const int shapes[][2] = {{64, 16}, {1, 8}, {16, 1}, {2, 2}, {512, 256}, {6, 3}};
    for (const auto& shape : shapes) {
        const int w = shape[0], h = shape[1];
        SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
        const Bytes bmp = Make24(w, h, [](int x, int y) {
            const unsigned n = static_cast<unsigned>(x * 7919 + y * 104729) * 2654435761u;
            return Bgr{std::uint8_t(n >> 24), std::uint8_t(n >> 16), std::uint8_t(n >> 8)};
        });
        GLuint loaded = 0, reference = 0;
        ASSERT_TRUE(LoadTextureMipmapped(WriteFile("levels.bmp", bmp).c_str(), &loaded));
        nerith::RgbaImage picture;
        ASSERT_TRUE(nerith::DecodeMipmappedBmp(bmp.data(), bmp.size(), picture));
        glGenTextures(1, &reference);
        glBindTexture(GL_TEXTURE_2D, reference);
        ASSERT_EQ(gluBuild2DMipmaps(GL_TEXTURE_2D, 4, w, h, GL_RGBA, GL_UNSIGNED_BYTE, picture.rgba.data()), 0);
        for (int level = 0;; ++level) {
            glBindTexture(GL_TEXTURE_2D, reference);
            const GLint width = Level(GL_TEXTURE_WIDTH, level), height = Level(GL_TEXTURE_HEIGHT, level);
            const Bytes expected = width > 0 ? BoundTexels(level) : Bytes();
            glBindTexture(GL_TEXTURE_2D, loaded);
            ASSERT_EQ(Level(GL_TEXTURE_WIDTH, level), width) << level;
            ASSERT_EQ(Level(GL_TEXTURE_HEIGHT, level), height) << level;
            if (width == 0) break;
            ASSERT_EQ(BoundTexels(level), expected) << level;
        }
    }
}

// The skins' route: LoadTexture's level 0, then a level for every halving down to 1 x 1 in which
// each texel is the mean of its block of level 0 (row padding never mixed in, alpha kept).
TEST_F(TextureLoader, SkinsGetLevelZeroAsPlainAndEveryMipmapBelowIt) {
    std::vector<Bgr> palette = {{0, 0, 0}, {250, 250, 250}};
    const struct {
        const char* name;
        Bytes bmp;
        int width, height;
        Bytes mean;  // of the whole picture, red green blue alpha
    } rows[] = {
        // One-texel stripes of black and white: every level below 0 is an even grey.
        {"stripes 512x256", Make24(512, 256, [](int x, int) { return x % 2 ? Bgr{255, 255, 255} : Bgr{1, 1, 1}; }),
         512, 256, {128, 128, 128, 255}},
        // Rows of 6 bytes padded to 8: the padding must not darken the mean.
        {"2x8 24-bit", Make24(2, 8, [](int, int y) { return Bgr{40, 80, std::uint8_t(y < 4 ? 100 : 200)}; }), 2, 8,
         {150, 80, 40, 255}},
        {"8-bit, resampled", Make8(4, 4, palette, 2, [](int x, int) { return std::uint8_t(x / 2); }), 4, 4,
         {125, 125, 125, 255}},
        {"32-bit", Make32(8, 2, [](int x, int) { return Bgra{10, 20, 30, std::uint8_t(x < 4 ? 0 : 200)}; }), 8, 2,
         {30, 20, 10, 100}},
        {"600x300 capped", Make24(600, 300, [](int, int) { return Bgr{30, 120, 210}; }), 512, 512,
         {210, 120, 30, 255}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string path = WriteFile("skin.bmp", row.bmp);
        GLuint plain = 0, skin = 0;
        ASSERT_TRUE(LoadTexture(path.c_str(), &plain));
        const Bytes plainTexels = BoundTexels();
        glPixelStorei(GL_UNPACK_ALIGNMENT, 2);
        ASSERT_TRUE(LoadSkinTexture(path.c_str(), &skin));
        EXPECT_EQ(BoundTexture(), skin);
        EXPECT_EQ(BoundTexels(), plainTexels);
        GLint alignment = 0;
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
        EXPECT_EQ(alignment, 2);  // the pixel store is left as it was found
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);

        int level = 0, w = row.width, h = row.height;
        while (w > 1 || h > 1) {
            ++level;
            w = std::max(w / 2, 1);
            h = std::max(h / 2, 1);
            ASSERT_EQ(Level(GL_TEXTURE_WIDTH, level), w) << level;
            ASSERT_EQ(Level(GL_TEXTURE_HEIGHT, level), h) << level;
        }
        EXPECT_EQ(Level(GL_TEXTURE_WIDTH, level + 1), 0);
        const Bytes last = BoundTexels(level);
        for (int c = 0; c < 4; ++c) EXPECT_NEAR(last[c], row.mean[c], 1) << c;
        if (row.width == 512 && row.height == 256) {
            const Bytes first = BoundTexels(1);
            EXPECT_EQ(*std::min_element(first.begin(), first.end()), 128);
            EXPECT_EQ(*std::max_element(first.begin(), first.end()), 255);  // grey and opaque
        }
        EXPECT_EQ(Param(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
        EXPECT_EQ(Param(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
        GLfloat bias = 0;
        glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_LOD_BIAS, &bias);
        EXPECT_EQ(bias, -1.0f);  // one level finer than the footprint: small fish stay crisp
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}

// A missing file (the last row) and damaged and foreign ones: a texture name without an image, its
// filter untouched where the plain loader (and the skins' route, which reads as it does) refuses
// the file.
TEST_F(TextureLoader, MissingAndDamagedFilesLeaveTexturesWithoutAnImage) {
    std::vector<Malformed> files = MalformedCorpus();
    files.push_back({"missing", {}, false});
    for (const Malformed& m : files) {
        SCOPED_TRACE(m.name);
        const bool missing = &m == &files.back();
        const std::string path = missing ? ScratchPath("missing.bmp") : WriteFile("damaged.bmp", m.bytes);
        GLuint texture = 0;
        EXPECT_FALSE(LoadTextureMipmapped(path.c_str(), &texture));
        EXPECT_NE(texture, 0u);
        EXPECT_EQ(BoundTexture(), texture);
        EXPECT_EQ(Level(GL_TEXTURE_WIDTH), 0);

        for (auto load : {LoadTexture, LoadSkinTexture}) {
            EXPECT_EQ(load(path.c_str(), &texture), m.plainReads);
            EXPECT_EQ(BoundTexture(), texture);
            EXPECT_EQ(Level(GL_TEXTURE_WIDTH) > 0, m.plainReads);
            if (!m.plainReads) { EXPECT_EQ(Param(GL_TEXTURE_MIN_FILTER), GL_NEAREST_MIPMAP_LINEAR); }
        }
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
    std::remove(ScratchPath("damaged.bmp").c_str());
}

}  // namespace
