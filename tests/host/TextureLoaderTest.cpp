#include <gtest/gtest.h>

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
    static GLuint Bound() {
        GLint name = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
        return static_cast<GLuint>(name);
    }
    // Level `level` of the bound texture as tightly packed RGBA.
    static Bytes Texels(int level = 0) {
        Bytes out(static_cast<std::size_t>(Level(GL_TEXTURE_WIDTH, level)) * Level(GL_TEXTURE_HEIGHT, level) * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, level, GL_RGBA, GL_UNSIGNED_BYTE, out.data());
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        return out;
    }
    static Bytes Rgba(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a, std::size_t count) {
        Bytes out;
        for (std::size_t i = 0; i < count; ++i) out.insert(out.end(), {r, g, b, a});
        return out;
    }

    OsMesaContext gl_;
};

// ---- Plain loader --------------------------------------------------------------------------

TEST_F(TextureLoader, PlainFitsSizesToPowersOfTwoUpTo512) {
    struct Case {
        int width, height, textureWidth, textureHeight;
    } cases[] = {{100, 60, 128, 64}, {600, 300, 512, 512}, {1, 1, 2, 2}, {1024, 16, 512, 16}, {3, 5, 4, 8}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        const std::string path =
            WriteFile("fit.bmp", Make24(c.width, c.height, [](int, int) { return Bgr{30, 120, 210}; }));
        GLuint texture = 0;
        EXPECT_TRUE(LoadTexture(path.c_str(), &texture));
        EXPECT_NE(texture, 0u);
        EXPECT_EQ(Bound(), texture);
        EXPECT_EQ(Level(GL_TEXTURE_WIDTH), c.textureWidth);
        EXPECT_EQ(Level(GL_TEXTURE_HEIGHT), c.textureHeight);
        EXPECT_EQ(Level(GL_TEXTURE_WIDTH, 1), 0);  // no mipmaps
        // One colour stays that colour through the resampling, blue-green-red turned around.
        const std::size_t count = static_cast<std::size_t>(c.textureWidth) * c.textureHeight;
        EXPECT_EQ(Texels(), Rgba(210, 120, 30, 255, count));
        EXPECT_EQ(Param(GL_TEXTURE_MIN_FILTER), GL_LINEAR);
        EXPECT_EQ(Param(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    }
}

TEST_F(TextureLoader, PlainUploadsA24BitPowerOfTwoPictureAsItIs) {
    auto colour = [](int x, int y) { return Bgr{std::uint8_t(x), std::uint8_t(y), std::uint8_t(x ^ y)}; };
    const std::string path = WriteFile("as_is.bmp", Make24(256, 256, colour));
    GLuint texture = 0;
    ASSERT_TRUE(LoadTexture(path.c_str(), &texture));
    EXPECT_EQ(Level(GL_TEXTURE_WIDTH), 256);
    EXPECT_EQ(Level(GL_TEXTURE_HEIGHT), 256);
    EXPECT_EQ(Level(GL_TEXTURE_ALPHA_SIZE), 0);  // 3 components
    const Bytes texels = Texels();
    for (int y = 0; y < 256; y += 5)
        for (int x = 0; x < 256; x += 3) {
            const std::uint8_t* t = &texels[(static_cast<std::size_t>(y) * 256 + x) * 4];
            const Bgr c = colour(x, y);
            ASSERT_EQ(Bytes(t, t + 4), (Bytes{c[2], c[1], c[0], 255})) << x << "," << y;
        }
}

TEST_F(TextureLoader, PlainExpandsAn8BitPictureThroughItsPalette) {
    std::vector<Bgr> palette(256);
    for (int i = 0; i < 256; ++i) palette[i] = {std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(i / 2)};
    auto index = [](int x, int y) { return std::uint8_t(x + 7 * y); };
    const std::string path = WriteFile("eight.bmp", Make8(256, 256, palette, 0, index));
    GLuint texture = 0;
    ASSERT_TRUE(LoadTexture(path.c_str(), &texture));
    EXPECT_EQ(Level(GL_TEXTURE_WIDTH), 256);
    EXPECT_EQ(Level(GL_TEXTURE_HEIGHT), 256);
    const Bytes texels = Texels();
    for (int y = 0; y < 256; y += 7)
        for (int x = 0; x < 256; x += 5) {
            const std::uint8_t* t = &texels[(static_cast<std::size_t>(y) * 256 + x) * 4];
            const Bgr c = palette[index(x, y)];
            ASSERT_EQ(Bytes(t, t + 4), (Bytes{c[2], c[1], c[0], 255})) << x << "," << y;
        }
}

TEST_F(TextureLoader, PlainResamplesAnOddSized8BitPicture) {
    const std::string path =
        WriteFile("eight_odd.bmp", Make8(5, 3, {{0, 0, 0}, {40, 80, 160}}, 2, [](int, int) { return std::uint8_t(1); }));
    GLuint texture = 0;
    ASSERT_TRUE(LoadTexture(path.c_str(), &texture));
    EXPECT_EQ(Level(GL_TEXTURE_WIDTH), 8);
    EXPECT_EQ(Level(GL_TEXTURE_HEIGHT), 4);
    EXPECT_EQ(Texels(), Rgba(160, 80, 40, 255, 32));
}

TEST_F(TextureLoader, PlainKeepsTheAlphaOf32BitPictures) {
    auto colour = [](int x, int y) { return Bgra{std::uint8_t(x), std::uint8_t(y), 9, std::uint8_t(16 * x + y)}; };
    const std::string path = WriteFile("alpha.bmp", Make32(16, 8, colour));
    GLuint texture = 0;
    ASSERT_TRUE(LoadTexture(path.c_str(), &texture));
    EXPECT_EQ(Level(GL_TEXTURE_WIDTH), 16);
    EXPECT_EQ(Level(GL_TEXTURE_HEIGHT), 8);
    const Bytes texels = Texels();
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x) {
            const std::uint8_t* t = &texels[(static_cast<std::size_t>(y) * 16 + x) * 4];
            const Bgra c = colour(x, y);
            ASSERT_EQ(Bytes(t, t + 4), (Bytes{c[2], c[1], c[0], c[3]})) << x << "," << y;
        }

    const std::string odd = WriteFile("alpha_odd.bmp", Make32(3, 3, [](int, int) { return Bgra{1, 2, 3, 77}; }));
    ASSERT_TRUE(LoadTexture(odd.c_str(), &texture));
    EXPECT_EQ(Level(GL_TEXTURE_WIDTH), 4);
    EXPECT_EQ(Texels(), Rgba(3, 2, 1, 77, 16));
}

TEST_F(TextureLoader, PlainLeavesAMissingOrForeignFileWithoutAnImage) {
    Bytes notBmp = Make24(4, 4, [](int, int) { return Bgr{1, 2, 3}; });
    notBmp[1] = 'X';
    const std::string paths[] = {WriteFile("not_bm.bmp", notBmp), ScratchPath("does_not_exist.bmp")};
    for (const std::string& path : paths) {
        GLuint texture = 0;
        EXPECT_FALSE(LoadTexture(path.c_str(), &texture));
        EXPECT_NE(texture, 0u);
        EXPECT_EQ(Bound(), texture);
        EXPECT_EQ(Level(GL_TEXTURE_WIDTH), 0);
        EXPECT_EQ(Param(GL_TEXTURE_MIN_FILTER), GL_NEAREST_MIPMAP_LINEAR);  // untouched default
    }
}

TEST_F(TextureLoader, PlainLeavesThePixelStoreAsItFoundIt) {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const std::string path = WriteFile("store.bmp", Make24(1, 1, [](int, int) { return Bgr{5, 6, 7}; }));
    GLuint texture = 0;
    ASSERT_TRUE(LoadTexture(path.c_str(), &texture));
    EXPECT_EQ(Texels(), Rgba(7, 6, 5, 255, 4));
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 1);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
}

// ---- Mipmapped loader ----------------------------------------------------------------------

TEST_F(TextureLoader, MipmappedMakesBlackTransparentAndKeepsOtherColours) {
    const Bgr colours[4] = {{0, 0, 0}, {1, 0, 0}, {0, 0, 1}, {50, 100, 200}};
    const std::string path = WriteFile("background.bmp", Make24(4, 4, [&](int x, int) { return colours[x]; }));
    GLuint texture = 0;
    ASSERT_TRUE(LoadTextureMipmapped(path.c_str(), &texture));
    EXPECT_NE(texture, 0u);
    EXPECT_EQ(Bound(), texture);
    const Bytes texels = Texels();
    ASSERT_EQ(texels.size(), 64u);
    EXPECT_EQ(Bytes(texels.begin(), texels.begin() + 16),
              (Bytes{0, 0, 0, 0, 0, 0, 1, 255, 1, 0, 0, 255, 200, 100, 50, 255}));
}

TEST_F(TextureLoader, MipmappedBuildsEveryLevel) {
    const std::string path =
        WriteFile("levels.bmp", Make24(64, 16, [](int x, int y) { return Bgr{std::uint8_t(x * 4), std::uint8_t(y * 16), 200}; }));
    GLuint texture = 0;
    ASSERT_TRUE(LoadTextureMipmapped(path.c_str(), &texture));
    int width = 64, height = 16, level = 0;
    for (; width >= 1 || height >= 1; ++level, width /= 2, height /= 2) {
        SCOPED_TRACE(level);
        EXPECT_EQ(Level(GL_TEXTURE_WIDTH, level), width > 1 ? width : 1);
        EXPECT_EQ(Level(GL_TEXTURE_HEIGHT, level), height > 1 ? height : 1);
        if (width <= 1 && height <= 1) break;
    }
    EXPECT_EQ(level, 6);
    const Bytes last = Texels(6);  // the average of the whole picture, opaque
    EXPECT_NEAR(last[0], 200, 1);
    EXPECT_EQ(last[3], 255);
    EXPECT_EQ(Param(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_NEAREST);
    EXPECT_EQ(Param(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(Param(GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(Param(GL_TEXTURE_WRAP_T), GL_REPEAT);
}

TEST_F(TextureLoader, MipmappedLeavesAMissingOrForeignFileWithoutAnImage) {
    Bytes notBmp = Make24(4, 4, [](int, int) { return Bgr{1, 2, 3}; });
    notBmp[0] = 'P';
    const std::string paths[] = {WriteFile("not_bm_bg.bmp", notBmp), ScratchPath("no_background.bmp")};
    for (const std::string& path : paths) {
        GLuint texture = 0;
        EXPECT_FALSE(LoadTextureMipmapped(path.c_str(), &texture));
        EXPECT_NE(texture, 0u);
        EXPECT_EQ(Bound(), texture);
        EXPECT_EQ(Level(GL_TEXTURE_WIDTH), 0);
    }
}

// ---- Damaged files -------------------------------------------------------------------------

TEST_F(TextureLoader, DamagedFilesLeaveTexturesWithoutAnImage) {
    for (const Malformed& m : MalformedCorpus()) {
        SCOPED_TRACE(m.name);
        const std::string path = WriteFile("damaged.bmp", m.bytes);
        GLuint texture = 0;
        EXPECT_FALSE(LoadTextureMipmapped(path.c_str(), &texture));
        EXPECT_EQ(Bound(), texture);
        EXPECT_EQ(Level(GL_TEXTURE_WIDTH), 0);

        EXPECT_EQ(LoadTexture(path.c_str(), &texture), m.plainReads);
        EXPECT_EQ(Bound(), texture);
        EXPECT_EQ(Level(GL_TEXTURE_WIDTH) > 0, m.plainReads);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
    std::remove(ScratchPath("damaged.bmp").c_str());
}

// ---- Blank texture -------------------------------------------------------------------------

TEST_F(TextureLoader, BlankTextureIs128SquareOfZeros) {
    const GLuint texture = CreateBlankTexture();
    ASSERT_NE(texture, 0u);
    glBindTexture(GL_TEXTURE_2D, texture);
    EXPECT_EQ(Level(GL_TEXTURE_WIDTH), 128);
    EXPECT_EQ(Level(GL_TEXTURE_HEIGHT), 128);
    EXPECT_EQ(Texels(), Bytes(128 * 128 * 4, 0));
    EXPECT_EQ(Param(GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(Param(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_NE(CreateBlankTexture(), texture);
}

}  // namespace
