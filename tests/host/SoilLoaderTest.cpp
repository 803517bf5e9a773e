#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "OsMesa.h"
#include "TestBmp.h"
#include "assets/SoilLoader.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#include <stb_image_write.h>
#pragma GCC diagnostic pop

using testbmp::Bytes;

namespace {

nerith::SoilImage Image(int width, int height, int channels, const Bytes& pixels) {
    nerith::SoilImage image;
    image.width = width;
    image.height = height;
    image.channels = channels;
    image.pixels = pixels;
    return image;
}

constexpr int kNoLimit = 1 << 20;

// ---- The changes before the upload ---------------------------------------------------------

// The NTSC scaling and the growth for mipmaps are compared texel for texel with the real library in
// tests/soil; here the branches that comparison cannot reach.
TEST(SoilPrepare, GrowsToPowerOfTwoWithoutNpotSupport) {
    nerith::SoilImage image = Image(3, 3, 1, Bytes(9, 50));
    nerith::PrepareSoilImage(image, 0, kNoLimit, true);
    EXPECT_EQ(image.width, 3);  // nothing asks for it
    nerith::PrepareSoilImage(image, 0, kNoLimit, false);
    EXPECT_EQ(image.width, 4);
    EXPECT_EQ(image.height, 4);
    EXPECT_EQ(image.pixels, Bytes(16, 50));
}

TEST(SoilPrepare, RepeatsASinglePixelColumnInsteadOfReadingPastIt) {
    nerith::SoilImage image = Image(1, 3, 2, {10, 1, 20, 2, 30, 3});
    nerith::PrepareSoilImage(image, SOIL_FLAG_POWER_OF_TWO, kNoLimit, true);
    ASSERT_EQ(image.width, 1);
    ASSERT_EQ(image.height, 4);
    // Rows at 0, 2/3, 4/3 and 2 source rows.
    EXPECT_EQ(image.pixels, (Bytes{10, 1, 17, 2, 23, 2, 30, 3}));
}

TEST(SoilPrepare, ReducesPicturesLargerThanTheLimit) {
    Bytes pixels(64 * 4);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>((i % 64) < 32 ? 10 : 30);
    nerith::SoilImage image = Image(64, 4, 1, pixels);
    nerith::PrepareSoilImage(image, 0, 16, true);
    EXPECT_EQ(image.width, 16);
    EXPECT_EQ(image.height, 4);
    EXPECT_EQ(image.pixels[0], 10);
    EXPECT_EQ(image.pixels[15], 30);
}

// ---- The texture ---------------------------------------------------------------------------

class SoilLoader : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(gl_.ok()); }

    static GLint Level(GLenum what, int level = 0) { return BoundTexLevel(what, level); }
    static GLint Param(GLenum what) { return BoundTexParam(what); }
    static Bytes Texels(int level, GLenum format) {
        const int channels = format == GL_RGBA ? 4 : format == GL_RGB ? 3 : format == GL_LUMINANCE_ALPHA ? 2 : 1;
        Bytes out(static_cast<std::size_t>(Level(GL_TEXTURE_WIDTH, level)) * Level(GL_TEXTURE_HEIGHT, level) * channels);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, level, format, GL_UNSIGNED_BYTE, out.data());
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        return out;
    }
    static std::string WritePng(const std::string& name, int width, int height, int channels, const Bytes& pixels) {
        const std::string path = testbmp::ScratchPath(name);
        EXPECT_NE(stbi_write_png(path.c_str(), width, height, channels, pixels.data(), width * channels), 0);
        return path;
    }

    OsMesaContext gl_;
};

// Sizes, formats, levels and texels are compared with the real library in tests/soil; here the
// texture parameters, narrow levels, forced channels, a given name and a null path.
TEST_F(SoilLoader, BackgroundFlagsSetTheFiltersAndClamp) {
    const std::string path = WritePng("soil_rgb.png", 5, 3, 3, Bytes(45, 7));
    const unsigned int texture = SOIL_load_OGL_texture(path.c_str(), SOIL_LOAD_AUTO, SOIL_CREATE_NEW_ID, 178);
    ASSERT_NE(texture, 0u);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<unsigned int>(bound), texture);
    EXPECT_EQ(Param(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(Param(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(Param(GL_TEXTURE_WRAP_S), GL_CLAMP);
    EXPECT_EQ(Param(GL_TEXTURE_WRAP_T), GL_CLAMP);
    EXPECT_EQ(SOIL_load_OGL_texture(nullptr, SOIL_LOAD_AUTO, SOIL_CREATE_NEW_ID, 178), 0u);
    const std::string empty = testbmp::WriteFile("soil_empty.jpg", Bytes{});
    EXPECT_EQ(SOIL_load_OGL_texture(empty.c_str(), SOIL_LOAD_AUTO, SOIL_CREATE_NEW_ID, 178), 0u);
}

TEST_F(SoilLoader, NarrowMipLevelsKeepTheirRows) {
    // A 2 x 8 RGB picture: the 1 x 4 level has 3-byte rows, which must not be read 4 bytes apart.
    Bytes pixels(2 * 8 * 3);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 2; ++x)
            for (int c = 0; c < 3; ++c) pixels[(y * 2 + x) * 3 + c] = static_cast<std::uint8_t>(y * 30 + c);
    const std::string path = WritePng("soil_narrow.png", 2, 8, 3, pixels);
    ASSERT_NE(SOIL_load_OGL_texture(path.c_str(), SOIL_LOAD_AUTO, SOIL_CREATE_NEW_ID, SOIL_FLAG_MIPMAPS), 0u);
    ASSERT_EQ(Level(GL_TEXTURE_WIDTH, 1), 1);
    ASSERT_EQ(Level(GL_TEXTURE_HEIGHT, 1), 4);
    // Each 2 x 2 block averages rows y and y+1: (60y + 30 + 2) / 4 -> 15y + 8, exact for c = 0.
    const Bytes level1 = Texels(1, GL_RGB);
    for (int row = 0; row < 4; ++row) EXPECT_EQ(level1[row * 3], row * 60 + 15) << row;
}

TEST_F(SoilLoader, ForcedChannelsAndAGivenTextureName) {
    const std::string rgba = WritePng("soil_rgba.png", 4, 4, 4, Bytes(64, 200));
    ASSERT_NE(SOIL_load_OGL_texture(rgba.c_str(), 3, SOIL_CREATE_NEW_ID, 0), 0u);
    EXPECT_EQ(Level(GL_TEXTURE_ALPHA_SIZE), 0);
    GLuint name = 0;
    glGenTextures(1, &name);
    const std::string path = WritePng("soil_reuse.png", 2, 2, 3, Bytes(12, 9));
    EXPECT_EQ(SOIL_load_OGL_texture(path.c_str(), SOIL_LOAD_AUTO, name, SOIL_FLAG_TEXTURE_REPEATS), name);
    EXPECT_EQ(Param(GL_TEXTURE_WRAP_S), GL_REPEAT);
}

}  // namespace
