#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "OsMesa.h"
#include "MipmapCheck.h"
#include "TestBmp.h"
#include "assets/SoilLoader.h"

using namespace testbmp;

namespace {

constexpr int kNoLimit = 1 << 20;

// ---- The changes before the upload ---------------------------------------------------------

// The NTSC scaling and the growth for mipmaps are compared texel for texel with the real library in
// tests/soil; here the branches that comparison cannot reach and the program's pictures can.
TEST(SoilPrepare, RepeatsASinglePixelColumnInsteadOfReadingPastIt) {
    nerith::SoilImage image{1, 3, 2, {10, 1, 20, 2, 30, 3}};
    nerith::PrepareSoilImage(image, SOIL_FLAG_POWER_OF_TWO, kNoLimit, true);
    ASSERT_EQ(image.width, 1);
    ASSERT_EQ(image.height, 4);
    // Rows at 0, 2/3, 4/3 and 2 source rows.
    EXPECT_EQ(image.pixels, (Bytes{10, 1, 17, 2, 23, 2, 30, 3}));
}

// The chain's levels are the direct box filter's, for square, flat and tall power-of-two pictures
// and (by the direct route) other sides; a white 4096 x 4096 picture stays white in its last
// level, whose block sum passes the range of an int.
TEST(SoilMipmapChain, GivesTheDirectLevels) {
    const int shapes[][3] = {{1, 1, 3}, {8, 8, 4}, {64, 2, 3}, {2, 32, 1}, {12, 7, 2}, {256, 128, 3}};
    for (const auto& shape : shapes) {
        nerith::SoilImage image{shape[0], shape[1], shape[2], Bytes(shape[0] * shape[1] * shape[2])};
        for (std::size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = static_cast<std::uint8_t>(i * 37 + i / 7);
        EXPECT_EQ(FirstChainMismatch(image), 0) << shape[0] << "x" << shape[1];
    }
    const nerith::SoilImage white{4096, 4096, 1, Bytes(4096 * 4096, 255)};
    nerith::SoilMipmapChain chain(white);
    nerith::SoilImage last;
    while (chain.Next(last)) {
    }
    EXPECT_EQ(last.pixels, Bytes{255});
    EXPECT_EQ(nerith::SoilMipmapLevel(white, 4096, 4096).pixels, Bytes{255});
}

TEST(SoilPrepare, ReducesPicturesLargerThanTheLimit) {
    Bytes pixels(64 * 4);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>((i % 64) < 32 ? 10 : 30);
    nerith::SoilImage image{64, 4, 1, pixels};
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

    static unsigned int Load(const std::string& path, int channels, unsigned int name, unsigned int flags) {
        return SOIL_load_OGL_texture(path.c_str(), channels, name, flags);
    }

    OsMesaContext gl_;
};

// Sizes, formats, levels and texels are compared with the real library in tests/soil; here the
// texture parameters the program's pictures get, narrow levels and a null path.
TEST_F(SoilLoader, BackgroundFlagsSetTheFiltersAndClamp) {
    const std::string path = WriteFile("soil_rgb.png", Png(5, 3, 3, Bytes(45, 7)));
    const unsigned int texture = Load(path, SOIL_LOAD_AUTO, SOIL_CREATE_NEW_ID, 178);
    ASSERT_NE(texture, 0u);
    EXPECT_EQ(BoundTexture(), texture);
    EXPECT_EQ(BoundTexParam(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(BoundTexParam(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(BoundTexParam(GL_TEXTURE_WRAP_S), GL_CLAMP);
    EXPECT_EQ(BoundTexParam(GL_TEXTURE_WRAP_T), GL_CLAMP);
    EXPECT_EQ(SOIL_load_OGL_texture(nullptr, SOIL_LOAD_AUTO, SOIL_CREATE_NEW_ID, 178), 0u);
    EXPECT_EQ(Load(WriteFile("soil_empty.jpg", Bytes{}), SOIL_LOAD_AUTO, SOIL_CREATE_NEW_ID, 178), 0u);
}

TEST_F(SoilLoader, NarrowMipLevelsKeepTheirRows) {
    // A 2 x 8 RGB picture: the 1 x 4 level has 3-byte rows, which must not be read 4 bytes apart.
    Bytes pixels(2 * 8 * 3);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(i / 6 * 30 + i % 3);
    const std::string path = WriteFile("soil_narrow.png", Png(2, 8, 3, pixels));
    ASSERT_NE(Load(path, SOIL_LOAD_AUTO, SOIL_CREATE_NEW_ID, SOIL_FLAG_MIPMAPS), 0u);
    ASSERT_EQ(BoundTexLevel(GL_TEXTURE_WIDTH, 1), 1);
    ASSERT_EQ(BoundTexLevel(GL_TEXTURE_HEIGHT, 1), 4);
    // Each 2 x 2 block averages rows y and y+1: (60y + 30 + 2) / 4 -> 15y + 8, exact for c = 0.
    const Bytes level1 = BoundTexels(1, GL_RGB);
    for (int row = 0; row < 4; ++row) EXPECT_EQ(level1[row * 3], row * 60 + 15) << row;
}

}  // namespace
