// The user's pictures through the checked SOIL route: what is refused before decoding, and that
// removed pictures give their textures back. (Missing and unreadable ones: tests/e2e/test_faults.sh.)
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "OsMesa.h"
#include "TestBmp.h"
#include "assets/SoilLoader.h"
#include "backgrounds/PictureCycle.h"
#include "backgrounds/PictureTextures.h"

namespace {

using testbmp::Bytes;

// A w x h RGB picture with some structure, as a PNG file in memory.
Bytes Png(int w, int h) {
    Bytes rgb(static_cast<size_t>(w) * h * 3);
    for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<unsigned char>((i * 7919u) >> 3);
    return testbmp::Png(w, h, 3, rgb);
}

// A file of the fuzzer's seeds (the JPEGs come from there: the JPEG writer at hand trips UBSan).
Bytes Seed(const char* name) {
    return testbmp::ReadFile(std::string(NERITH_SOURCE_DIR) + "/tests/fuzz/picture_seeds/" + name);
}

bool Decodes(const Bytes& bytes, const nerith::PictureLimits& limits = {}) {
    nerith::SoilImage image;
    return nerith::DecodeCheckedPicture(bytes.data(), bytes.size(), limits, image);
}

TEST(PictureRoute, RefusesBrokenAndHugePictures) {
    auto colour = [](int x, int y) { return testbmp::Bgr{7, std::uint8_t(x), std::uint8_t(y)}; };
    const struct {
        const char* what;
        Bytes bytes;
        int w, h;
    } pictures[] = {{"png", Png(96, 64), 96, 64},
                    {"bmp", testbmp::Make24(96, 64, colour), 96, 64},
                    {"baseline jpeg", Seed("baseline.jpg"), 16, 8},
                    {"progressive jpeg", Seed("progressive.jpg"), 16, 8}};
    for (const auto& p : pictures) {
        EXPECT_TRUE(Decodes(p.bytes)) << p.what;
        // Cut short: the decoders would fill the rest with black.
        const Bytes half(p.bytes.begin(), p.bytes.begin() + static_cast<long>(p.bytes.size() * 2 / 3));
        EXPECT_FALSE(Decodes(half)) << p.what << " truncated";
        // Larger than the bounds, refused from the header.
        EXPECT_FALSE(Decodes(p.bytes, {p.w - 1, 1 << 20})) << p.what << " wider than the side";
        EXPECT_FALSE(Decodes(p.bytes, {0, p.w * p.h - 1})) << p.what << " more pixels";
        EXPECT_TRUE(Decodes(p.bytes, {p.w, p.w * p.h})) << p.what << " at the bounds";
    }
    EXPECT_FALSE(Decodes(Bytes()));  // (a text file named .jpg: tests/e2e/test_faults.sh)

    // Found by the fuzzer: Huffman tables with more than 256 codes, and a scan that decodes with a
    // table never defined, would overwrite or read past the decoder's tables. Refused, also behind
    // a run of 0xFF bytes before the start marker.
    for (const char* name : {"huffman_counts_1.jpg", "huffman_counts_2.jpg", "huffman_undefined.jpg"}) {
        const Bytes bytes = Seed(name);
        ASSERT_GT(bytes.size(), 100u) << name;
        EXPECT_FALSE(Decodes(bytes)) << name;
    }

    // A 310-byte PNG with a data chunk that declares about 2 GB (the decoder would reserve them).
    EXPECT_FALSE(Decodes(Seed("chunk_length.png")));

    // A PNG whose header claims 20000 x 20000: refused before a pixel is decoded.
    Bytes huge = Png(8, 8);
    const unsigned char side[4] = {0, 0, 0x4E, 0x20};  // 20000, big-endian
    std::copy(side, side + 4, huge.begin() + 16);
    std::copy(side, side + 4, huge.begin() + 20);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(Decodes(huge, {0, 48LL << 20}));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
}

TEST(PictureRoute, TexturesOfRemovedPicturesAreDeleted) {
    OsMesaContext gl(16, 16);
    ASSERT_TRUE(gl.ok());
    const std::string path = testbmp::WriteFile("picture_route.png", Png(48, 32));
    backgrounds::PictureCycle cycle;
    std::vector<unsigned> removed;
    for (int round = 0; round < 100; ++round) {
        while (cycle.pictureCount < 3) {
            const unsigned texture = backgrounds::LoadPicture(path.c_str());
            ASSERT_NE(texture, 0u);
            cycle.Append(texture);
        }
        const unsigned gone = cycle.RemoveRow(round % 3);
        backgrounds::ReleasePicture(gone);
        removed.push_back(gone);
    }
    for (unsigned name : removed) EXPECT_FALSE(glIsTexture(name)) << name;
    for (int i = 0; i < cycle.pictureCount; ++i) EXPECT_TRUE(glIsTexture(cycle.pictures[i]));
    std::remove(path.c_str());
}

}  // namespace
