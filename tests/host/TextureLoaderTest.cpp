#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "OsMesa.h"
#include "TestBmp.h"
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

TEST_F(TextureLoader, MipmappedBuildsEveryLevelAndMakesBlackTransparent) {
    const std::string path =
        WriteFile("levels.bmp", Make24(64, 16, [](int x, int y) { return Bgr{std::uint8_t(x * 4), std::uint8_t(y * 16), 200}; }));
    GLuint texture = 0;
    ASSERT_TRUE(LoadTextureMipmapped(path.c_str(), &texture));
    for (int level = 0; level <= 6; ++level) {
        EXPECT_EQ(Level(GL_TEXTURE_WIDTH, level), std::max(64 >> level, 1)) << level;
        EXPECT_EQ(Level(GL_TEXTURE_HEIGHT, level), std::max(16 >> level, 1)) << level;
    }
    const Bytes last = BoundTexels(6);  // the average of the whole picture, opaque
    EXPECT_NEAR(last[0], 200, 1);
    EXPECT_EQ(last[3], 255);
    EXPECT_EQ(Param(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_NEAREST);
    EXPECT_EQ(Param(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(Param(GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(Param(GL_TEXTURE_WRAP_T), GL_REPEAT);

    // Pure black becomes transparent; every other colour, however dark, stays opaque.
    const Bgr colours[4] = {{0, 0, 0}, {1, 0, 0}, {0, 0, 1}, {50, 100, 200}};
    const std::string black = WriteFile("background.bmp", Make24(4, 4, [&](int x, int) { return colours[x]; }));
    ASSERT_TRUE(LoadTextureMipmapped(black.c_str(), &texture));
    const Bytes texels = BoundTexels();
    EXPECT_EQ(Bytes(texels.begin(), texels.begin() + 16),
              (Bytes{0, 0, 0, 0, 0, 0, 1, 255, 1, 0, 0, 255, 200, 100, 50, 255}));
}

// A missing file (the last row) and damaged and foreign ones: a texture name without an image, its
// filter untouched where the plain loader refuses the file.
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

        EXPECT_EQ(LoadTexture(path.c_str(), &texture), m.plainReads);
        EXPECT_EQ(BoundTexture(), texture);
        EXPECT_EQ(Level(GL_TEXTURE_WIDTH) > 0, m.plainReads);
        if (!m.plainReads) { EXPECT_EQ(Param(GL_TEXTURE_MIN_FILTER), GL_NEAREST_MIPMAP_LINEAR); }
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
    std::remove(ScratchPath("damaged.bmp").c_str());
}

}  // namespace
