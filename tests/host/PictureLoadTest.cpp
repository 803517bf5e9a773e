// The user's pictures through the checked SOIL route: what is refused before decoding, how larger
// pictures are reduced, the pictures decoded on the worker, and that removed pictures give their
// textures back. (Missing and unreadable ones: tests/e2e/test_faults.sh.)
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "OsMesa.h"
#include "TestBmp.h"
#include "assets/SoilLoader.h"
#include "backgrounds/PictureCycle.h"
#include "backgrounds/PictureTextures.h"

namespace {

using testbmp::Bytes;

// w x h pixels of `channels` channels with some structure.
Bytes Pattern(int w, int h, int channels) {
    Bytes pixels(static_cast<size_t>(w) * h * channels);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<unsigned char>((i * 7919u) >> 3);
    return pixels;
}

Bytes Png(int w, int h) { return testbmp::Png(w, h, 3, Pattern(w, h, 3)); }

// A baseline JPEG in memory; quality above 90 keeps the colour planes at full size.
Bytes Jpeg(int w, int h, int channels, int quality) {
    Bytes out;
    auto append = [](void* context, void* data, int size) {
        auto* bytes = static_cast<std::uint8_t*>(data);
        static_cast<Bytes*>(context)->insert(static_cast<Bytes*>(context)->end(), bytes, bytes + size);
    };
    // Red across, green down, blue in squares of 9 x 7 that the blocks cut.
    Bytes pixels(static_cast<size_t>(w) * h * channels);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < channels; ++c)
                pixels[(static_cast<size_t>(y) * w + x) * channels + c] = static_cast<std::uint8_t>(
                    20 + (c == 0 ? x * 180 / w : c == 1 ? y * 180 / h : 90) + (x / 9 + y / 7) % 2 * (c == 2 ? 60 : 20));
    EXPECT_NE(stbi_write_jpg_to_func(append, &out, w, h, channels, pixels.data(), quality), 0);
    return out;
}

// A file of the fuzzer's seeds, among them the inputs that once broke the decoders.
Bytes Seed(const char* name) {
    return testbmp::ReadFile(std::string(NERITH_SOURCE_DIR) + "/tests/fuzz/picture_seeds/" + name);
}

bool Decodes(const Bytes& bytes, const nerith::PictureLimits& limits = {}, nerith::SoilImage* out = nullptr) {
    nerith::SoilImage image;
    return nerith::DecodeCheckedPicture(bytes.data(), bytes.size(), limits, out ? *out : image);
}

bool PowerOfTwo(int side) { return side > 0 && (side & (side - 1)) == 0; }

TEST(PictureRoute, RefusesBrokenPicturesAndReducesLargeOnes) {
    auto colour = [](int x, int y) { return testbmp::Bgr{7, std::uint8_t(x), std::uint8_t(y)}; };
    const struct {
        const char* what;
        Bytes bytes;
        int w, h;
    } pictures[] = {{"png", Png(96, 64), 96, 64},
                    {"bmp", testbmp::Make24(96, 64, colour), 96, 64},
                    {"baseline jpeg", Seed("baseline.jpg"), 16, 8},
                    {"progressive jpeg", Seed("progressive.jpg"), 16, 8},
                    {"reduced progressive jpeg", Seed("progressive_64x48.jpg"), 64, 48}};
    for (const auto& p : pictures) {
        nerith::SoilImage image;
        EXPECT_TRUE(Decodes(p.bytes, {}, &image)) << p.what;
        EXPECT_EQ(image.width, p.w) << p.what;
        // Cut short: the decoders would fill the rest with black.
        const Bytes part(p.bytes.begin(), p.bytes.begin() + static_cast<long>(p.bytes.size() * 2 / 3));
        EXPECT_FALSE(Decodes(part)) << p.what << " truncated";
        // Larger than a bound: reduced to power-of-two sides within it.
        const nerith::PictureLimits narrow{p.w - 1, 1 << 20}, small{0, p.w * p.h - 1};
        for (const auto& limits : {narrow, small}) {
            ASSERT_TRUE(Decodes(p.bytes, limits, &image)) << p.what;
            EXPECT_TRUE(PowerOfTwo(image.width) && PowerOfTwo(image.height)) << p.what;
            EXPECT_LT(image.width, p.w) << p.what;
            EXPECT_LE(static_cast<long long>(image.width) * image.height, limits.maxPixels) << p.what;
        }
        EXPECT_TRUE(Decodes(p.bytes, {p.w, p.w * p.h}, &image)) << p.what << " at the bounds";
        EXPECT_EQ(image.width, p.w) << p.what << " at the bounds";
        // More memory than a decoding may take.
        nerith::PictureLimits tight = narrow;
        tight.maxDecodeBytes = static_cast<long long>(p.bytes.size());
        EXPECT_FALSE(Decodes(p.bytes, tight)) << p.what << " beyond the memory";
    }
    EXPECT_FALSE(Decodes(Bytes()));  // (a text file named .jpg: tests/e2e/test_faults.sh)

    // Found by the fuzzer: Huffman tables with more than 256 codes, and a scan that decodes with a
    // table never defined, would overwrite or read past the decoder's tables; a component whose
    // quantization table no segment defined was dequantized with what an earlier picture left in
    // memory; DC coefficients beyond 16 bits overflowed an int in the decoder, and so did its bit
    // count when a progressive scan read on past a marker (then shifting by 32); a BMP header
    // with sides near 2^31 overflowed the reckoning of its memory.
    for (const char* name : {"huffman_counts_1.jpg", "huffman_counts_2.jpg", "huffman_undefined.jpg",
                             "quant_undefined.jpg", "dc_overflow.jpg", "bits_past_marker.jpg",
                             "bmp_huge_sides.bmp"}) {
        const Bytes bytes = Seed(name);
        ASSERT_FALSE(bytes.empty()) << name;
        EXPECT_FALSE(Decodes(bytes)) << name;
    }

    // A 310-byte PNG with a data chunk that declares about 2 GB (the decoder would reserve them).
    EXPECT_FALSE(Decodes(Seed("chunk_length.png")));

    // Headers that claim 20000 x 20000 over 8 x 8 pixels of data: refused before a pixel is
    // decoded, as far too short for their size.
    Bytes huge = Png(8, 8);
    const unsigned char side[4] = {0, 0, 0x4E, 0x20};  // 20000, big-endian
    std::copy(side, side + 4, huge.begin() + 16);
    std::copy(side, side + 4, huge.begin() + 20);
    Bytes hugeJpeg = Seed("baseline.jpg");
    for (std::size_t i = 0; i + 8 < hugeJpeg.size(); ++i)
        if (hugeJpeg[i] == 0xFF && hugeJpeg[i + 1] == 0xC0) {
            std::copy(side + 2, side + 4, hugeJpeg.begin() + static_cast<long>(i) + 5);
            std::copy(side + 2, side + 4, hugeJpeg.begin() + static_cast<long>(i) + 7);
        }
    for (const Bytes* claim : {&huge, &hugeJpeg}) {
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(Decodes(*claim, {16384, 48LL << 20}));
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
    }
}

// A JPEG larger than the screen needs is decoded at 1/2, 1/4 or 1/8 straight from its blocks; it
// comes out as the whole picture reduced does, within the rounding of the two routes (the colour
// planes there are sampled where the whole decoding interpolates them).
TEST(PictureRoute, ReducedJpegsMatchTheWholePictureReduced) {
    const struct {
        const char* what;
        Bytes bytes;
    } jpegs[] = {{"4:2:0", Jpeg(96, 64, 3, 80)},
                 {"4:4:4", Jpeg(96, 64, 3, 95)},
                 {"grey", Jpeg(96, 64, 1, 90)},
                 {"progressive", Seed("progressive_64x48.jpg")}};
    for (const auto& j : jpegs) {
        nerith::SoilImage whole;
        ASSERT_TRUE(Decodes(j.bytes, {}, &whole)) << j.what;
        for (int scale : {2, 4, 8}) {
            nerith::PictureLimits screen;
            screen.coverWidth = whole.width / scale;
            screen.coverHeight = whole.height / scale;
            nerith::SoilImage reduced;
            ASSERT_TRUE(Decodes(j.bytes, screen, &reduced)) << j.what << " 1/" << scale;
            const nerith::SoilImage expected = nerith::SoilResample(
                nerith::SoilMipmapLevel(whole, scale, scale), reduced.width, reduced.height);
            ASSERT_EQ(reduced.pixels.size(), expected.pixels.size()) << j.what << " 1/" << scale;
            long total = 0;
            int largest = 0;
            for (std::size_t i = 0; i < reduced.pixels.size(); ++i) {
                const int d = std::abs(reduced.pixels[i] - expected.pixels[i]);
                total += d;
                largest = std::max(largest, d);
            }
            const double mean = double(total) / reduced.pixels.size();
            EXPECT_LT(mean, 1.0) << j.what << " 1/" << scale << " largest " << largest;
            EXPECT_LE(largest, 16) << j.what << " 1/" << scale << " mean " << mean;
        }
    }
}

// Pictures are decoded on the worker: their textures come at once, without a picture until the
// decoding is finished; one that turns out undecodable is reported and deleted, one released
// before the end is dropped.
TEST(PictureRoute, PicturesAreDecodedOnTheWorker) {
    OsMesaContext gl(16, 16);
    ASSERT_TRUE(gl.ok());
    backgrounds::SetPictureScreen(256, 192);
    const Bytes big = Jpeg(600, 400, 3, 80);
    const std::string path = testbmp::WriteFile("worker.jpg", big);
    const std::string cut = testbmp::WriteFile("worker_cut.jpg", Bytes(big.begin(), big.begin() + big.size() * 2 / 3));
    const unsigned shown = backgrounds::LoadPicture(path.c_str());
    const unsigned broken = backgrounds::LoadPicture(cut.c_str());
    const unsigned dropped = backgrounds::LoadPicture(path.c_str());
    ASSERT_TRUE(shown && broken && dropped);
    for (unsigned texture : {shown, broken, dropped}) EXPECT_FALSE(backgrounds::PictureReady(texture));
    backgrounds::ReleasePicture(dropped);
    EXPECT_EQ(backgrounds::WaitForPictures(), std::vector<unsigned>{broken});
    EXPECT_TRUE(backgrounds::PictureReady(shown));
    EXPECT_FALSE(glIsTexture(broken));
    EXPECT_FALSE(glIsTexture(dropped));
    glBindTexture(GL_TEXTURE_2D, shown);
    // Reduced for the screen: 256 x 256 (its power of two), not 1024 x 512.
    EXPECT_EQ(BoundTexLevel(GL_TEXTURE_WIDTH), 256);
    EXPECT_EQ(BoundTexLevel(GL_TEXTURE_HEIGHT), 256);
    backgrounds::ReleasePicture(shown);
    backgrounds::SetPictureScreen(0, 0);
    std::remove(path.c_str());
    std::remove(cut.c_str());
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
    EXPECT_TRUE(backgrounds::WaitForPictures().empty());
    for (int i = 0; i < cycle.pictureCount; ++i) backgrounds::ReleasePicture(cycle.pictures[i]);
    std::remove(path.c_str());
}

}  // namespace
