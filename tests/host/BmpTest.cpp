#include <gtest/gtest.h>

#include "TestBmp.h"
#include "assets/Bmp.h"

using namespace testbmp;

namespace {

bool Mipmapped(const Bytes& b, nerith::RgbaImage& out) { return nerith::DecodeMipmappedBmp(b.data(), b.size(), out); }
bool Plain(const Bytes& b, nerith::BmpPicture& out) { return nerith::DecodePlainBmp(b.data(), b.size(), out); }

}  // namespace

TEST(BmpFit, RoundsUpToPowersOfTwoUnderTheLimit) {
    const int cases[][3] = {{100, 512, 128}, {60, 512, 64},  {600, 512, 512}, {300, 512, 512},
                            {256, 512, 256}, {257, 512, 512}, {1, 512, 2},    {2, 512, 2},
                            {3, 512, 4},     {600, 256, 256}, {16384, 512, 512}};
    for (const auto& c : cases) EXPECT_EQ(nerith::FitTextureSize(c[0], c[1]), c[2]) << c[0] << " under " << c[1];
}

TEST(BmpMipmapped, ReadsPaddedRowsAsOneRunOfPixels) {
    // Width 2: each 6-byte row is followed by 2 bytes of padding, which the run takes in.
    Bytes file = Make24(2, 2, [](int x, int y) { return Bgr{std::uint8_t(10 + x + 2 * y), 0, 0}; });
    file[54 + 6] = 7;  // first padding byte of the bottom row
    nerith::RgbaImage image;
    ASSERT_TRUE(Mipmapped(file, image));
    // Pixels 0 and 1 are the bottom row; pixel 2 starts in the padding and runs into the top row.
    EXPECT_EQ(image.rgba[2], 10);
    EXPECT_EQ(image.rgba[6], 11);
    EXPECT_EQ(image.rgba[10], 7);
    EXPECT_EQ(image.rgba[11], 255);
    EXPECT_EQ(image.rgba[8], 12);  // the top row's first blue byte lands in pixel 2's red
    EXPECT_EQ(image.rgba[12], 13);
}

TEST(BmpMipmapped, FollowsThePixelDataOffset) {
    Bytes file = Make24(4, 1, [](int x, int) { return Bgr{std::uint8_t(x + 1), 0, 0}; });
    file.insert(file.begin() + 54, {9, 9, 9, 9, 9, 9});  // six bytes of gap before the pixels
    PutU32(file, kOffBits, 60);
    nerith::RgbaImage image;
    ASSERT_TRUE(Mipmapped(file, image));
    EXPECT_EQ(image.rgba[2], 1);
    EXPECT_EQ(image.rgba[14], 4);
}

TEST(BmpMipmapped, TakesTheSizeFromTheRowsWhenTheSizeFieldIsZero) {
    Bytes file = Make24(3, 2, [](int, int) { return Bgr{1, 2, 3}; });
    PutU32(file, kSizeImage, 0);
    nerith::RgbaImage image;
    ASSERT_TRUE(Mipmapped(file, image));
    EXPECT_EQ(image.rgba.size(), 3u * 2u * 4u);
}

// 24-, 32- and 8-bit pictures (palettes of a few colours and of 256 when the count is 0) are read
// through the texture loader in TextureLoaderTest, the ignored offset and size in its damaged files.
TEST(BmpPlain, PaintsIndicesPastThePaletteBlack) {
    const Bytes file = Make8(4, 1, {{10, 20, 30}, {40, 50, 60}}, 2, [](int x, int) { return std::uint8_t(x * 100); });
    nerith::BmpPicture picture;
    ASSERT_TRUE(Plain(file, picture));
    EXPECT_EQ(Bytes(picture.pixels.begin(), picture.pixels.begin() + 3), (Bytes{10, 20, 30}));
    EXPECT_EQ(Bytes(picture.pixels.begin() + 3, picture.pixels.begin() + 12), Bytes(9, 0));
}

// Random damage to the headers is the business of the fuzzer (its smoke run is one of the tests).
TEST(BmpMalformed, EveryTruncationOfAValidFileIsRefused) {
    const Bytes files[] = {
        Make24(5, 3, [](int x, int y) { return Bgr{std::uint8_t(x), std::uint8_t(y), 1}; }),
        Make32(3, 2, [](int x, int y) { return Bgra{std::uint8_t(x), std::uint8_t(y), 1, 2}; }),
        Make8(5, 2, {{1, 2, 3}, {4, 5, 6}}, 2, [](int x, int) { return std::uint8_t(x & 1); }),
    };
    for (const Bytes& file : files) {
        nerith::RgbaImage image;
        nerith::BmpPicture picture;
        EXPECT_TRUE(Plain(file, picture));
        for (std::size_t length = 0; length < file.size(); ++length) {
            const Bytes cut(file.begin(), file.begin() + length);
            EXPECT_FALSE(Mipmapped(cut, image)) << length;
            EXPECT_FALSE(Plain(cut, picture)) << length;
        }
    }
}
