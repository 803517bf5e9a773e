// Our SOIL_load_OGL_texture against the real libSOIL (opened with dlopen, so that the two never
// meet at link time), both under OSMesa; the library's one GLX call is answered from OSMesa below.
// With S3TC in the driver both store DXT, each with its own encoder, and texels compare loosely;
// scripts/test.sh runs this again without it, where the texels must match exactly.
#include <GL/osmesa.h>
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "GL.h"
#include "OsMesa.h"
#include "TestBmp.h"
#include "assets/SoilLoader.h"

extern "C" void* glXGetProcAddressARB(const unsigned char* name) {
    return reinterpret_cast<void*>(OSMesaGetProcAddress(reinterpret_cast<const char*>(name)));
}

namespace {

using testbmp::Bytes;
using LoadFunction = unsigned int (*)(const char*, int, unsigned int, unsigned int);

constexpr unsigned int kBackgroundFlags =
    SOIL_FLAG_MIPMAPS | SOIL_FLAG_INVERT_Y | SOIL_FLAG_COMPRESS_TO_DXT | SOIL_FLAG_NTSC_SAFE_RGB;

struct Texture {
    unsigned int name = 0;
    GLint internalFormat = 0;
    GLint compressed = 0;
    std::vector<std::pair<int, int>> levelSizes;
    std::vector<Bytes> levels;  // RGBA texels of every level
};

Texture Describe(unsigned int name) {
    Texture t;
    t.name = name;
    if (!name) return t;
    glBindTexture(GL_TEXTURE_2D, name);
    t.internalFormat = BoundTexLevel(GL_TEXTURE_INTERNAL_FORMAT);
    t.compressed = BoundTexLevel(GL_TEXTURE_COMPRESSED);
    for (int level = 0; BoundTexLevel(GL_TEXTURE_WIDTH, level) > 0; ++level) {
        t.levelSizes.emplace_back(BoundTexLevel(GL_TEXTURE_WIDTH, level),
                                  BoundTexLevel(GL_TEXTURE_HEIGHT, level));
        t.levels.push_back(BoundTexels(level));
    }
    return t;
}

// The largest and the mean difference of two runs of texels (256 if their sizes differ).
std::pair<int, double> Compare(const Bytes& a, const Bytes& b) {
    if (a.size() != b.size() || a.empty()) return {256, 256};
    int largest = 0;
    long total = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        largest = std::max(largest, std::abs(a[i] - b[i]));
        total += std::abs(a[i] - b[i]);
    }
    return {largest, double(total) / a.size()};
}

// A picture with smooth areas, edges and some fine detail.
Bytes Pattern(int width, int height, int channels) {
    Bytes p(static_cast<std::size_t>(width) * height * channels);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < channels; ++c) {
                int v = (x * 255 / width + y * 97 / height + c * 60) % 256;
                if (((x / 4) + (y / 3)) % 5 == 0) v = 255 - v;
                p[(static_cast<std::size_t>(y) * width + x) * channels + c] = static_cast<std::uint8_t>(v);
            }
    return p;
}

class SoilCompare : public testing::Test {
protected:
    static void SetUpTestSuite() {
        library_ = dlopen(NERITH_REAL_SOIL, RTLD_NOW | RTLD_LOCAL);
        if (library_) real_ = reinterpret_cast<LoadFunction>(dlsym(library_, "SOIL_load_OGL_texture"));
    }

    void SetUp() override {
        ASSERT_NE(library_, nullptr) << dlerror();
        ASSERT_NE(real_, nullptr);
        ASSERT_TRUE(gl_.ok());
        const char* list = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
        s3tc_ = list && std::strstr(list, "GL_EXT_texture_compression_s3tc");
    }

    static std::string Png(const std::string& name, int width, int height, int channels) {
        const Bytes png = testbmp::Png(width, height, channels, Pattern(width, height, channels));
        return testbmp::WriteFile(name, png);
    }
    // Loads `path` through both: sizes, formats and levels agree exactly; uncompressed, so do the
    // texels of every level (within `lossyLimit`) but on levels whose rows are not a multiple of 4
    // bytes, which libSOIL reads skewed (see below); compressed, level 0 on average.
    void ExpectSame(const std::string& path, unsigned int flags, int lossyLimit = 0) {
        SCOPED_TRACE(path + " flags " + std::to_string(flags));
        const Texture theirs = Describe(real_(path.c_str(), SOIL_LOAD_AUTO, SOIL_CREATE_NEW_ID, flags));
        const Texture ours = Describe(SOIL_load_OGL_texture(path.c_str(), SOIL_LOAD_AUTO, SOIL_CREATE_NEW_ID, flags));
        ASSERT_NE(theirs.name, 0u);
        ASSERT_NE(ours.name, 0u);
        EXPECT_EQ(ours.internalFormat, theirs.internalFormat);
        EXPECT_EQ(ours.compressed, theirs.compressed);
        ASSERT_EQ(ours.levelSizes, theirs.levelSizes);
        if (ours.compressed) {
            const auto [largest, mean] = Compare(ours.levels[0], theirs.levels[0]);
            EXPECT_LT(mean, 10.0) << "largest " << largest;
            return;
        }
        const int channels = ChannelsOf(ours.internalFormat);
        for (std::size_t level = 0; level < ours.levels.size(); ++level) {
            const auto [width, height] = ours.levelSizes[level];
            if ((width * channels) % 4 != 0 && height > 1) continue;
            const auto [largest, mean] = Compare(ours.levels[level], theirs.levels[level]);
            EXPECT_LE(largest, lossyLimit) << "level " << level << ", mean " << mean;
        }
    }

    OsMesaContext gl_{64, 64};
    bool s3tc_ = false;
    static void* library_;
    static LoadFunction real_;
};

void* SoilCompare::library_ = nullptr;
LoadFunction SoilCompare::real_ = nullptr;

TEST_F(SoilCompare, PicturesOfEveryFormatAndChannelCount) {
    ExpectSame(Png("cmp_rgb.png", 37, 23, 3), kBackgroundFlags);
    ExpectSame(Png("cmp_rgba.png", 20, 12, 4), kBackgroundFlags);
    ExpectSame(Png("cmp_grey.png", 9, 7, 1), kBackgroundFlags);
    ExpectSame(Png("cmp_grey_alpha.png", 6, 5, 2), kBackgroundFlags);
    ExpectSame(Png("cmp_pot.png", 32, 16, 3), kBackgroundFlags);
    auto colour = [](int x, int y) {
        return testbmp::Bgr{std::uint8_t(x * 19), std::uint8_t(y * 23), std::uint8_t((x * y) % 256)};
    };
    ExpectSame(testbmp::WriteFile("cmp_pic.bmp", testbmp::Make24(13, 11, colour)), kBackgroundFlags);
    const std::string jpg = testbmp::ScratchPath("cmp_pic.jpg");
    const Bytes pixels = Pattern(40, 30, 3);
    ASSERT_NE(stbi_write_jpg(jpg.c_str(), 40, 30, 3, pixels.data(), 90), 0);
    // The libraries carry different generations of the JPEG decoder, which round a step apart here and there.
    ExpectSame(jpg, kBackgroundFlags, 1);
}

TEST_F(SoilCompare, SingleFlags) {
    const std::string path = Png("cmp_flags.png", 20, 10, 3);
    for (unsigned int flags : {0u, unsigned(SOIL_FLAG_POWER_OF_TWO), unsigned(SOIL_FLAG_INVERT_Y),
                               unsigned(SOIL_FLAG_NTSC_SAFE_RGB), unsigned(SOIL_FLAG_MIPMAPS),
                               unsigned(SOIL_FLAG_TEXTURE_REPEATS)})
        ExpectSame(path, flags);
}

TEST_F(SoilCompare, OursKeepsRowsThatAreNotAMultipleOfFourBytes) {
    // 19 RGB pixels make 57-byte rows: libSOIL's texture comes out skewed, ours holds the picture.
    const std::string path = Png("cmp_odd_rows.png", 19, 10, 3);
    const Texture theirs = Describe(real_(path.c_str(), SOIL_LOAD_AUTO, SOIL_CREATE_NEW_ID, 0));
    const Texture ours = Describe(SOIL_load_OGL_texture(path.c_str(), SOIL_LOAD_AUTO, SOIL_CREATE_NEW_ID, 0));
    ASSERT_EQ(ours.levelSizes, theirs.levelSizes);
    ASSERT_EQ(ours.levelSizes[0], std::make_pair(19, 10));
    const Bytes rgb = Pattern(19, 10, 3);
    Bytes expected;
    for (std::size_t i = 0; i < rgb.size(); i += 3) expected.insert(expected.end(), {rgb[i], rgb[i + 1], rgb[i + 2], 255});
    EXPECT_EQ(ours.levels[0], expected);
    EXPECT_NE(theirs.levels[0], expected);
}

TEST_F(SoilCompare, BothFailOnMissingAndUndecodableFiles) {
    const Bytes garbage{0xFF, 0xD8, 0xFF, 1, 2, 3, 4, 5, 6, 7};
    const std::string paths[] = {testbmp::ScratchPath("cmp_missing.png"),
                                 testbmp::WriteFile("cmp_garbage.jpg", garbage)};
    for (const std::string& path : paths)
        for (LoadFunction load : {real_, &SOIL_load_OGL_texture})
            EXPECT_EQ(load(path.c_str(), SOIL_LOAD_AUTO, SOIL_CREATE_NEW_ID, kBackgroundFlags), 0u) << path;
}

TEST_F(SoilCompare, StoresDxtExactlyWhenTheGlOffersS3tc) {
    const Texture ours = Describe(SOIL_load_OGL_texture(Png("cmp_mode.png", 8, 8, 3).c_str(), SOIL_LOAD_AUTO,
                                                        SOIL_CREATE_NEW_ID, kBackgroundFlags));
    EXPECT_EQ(ours.compressed != 0, s3tc_);
    RecordProperty("s3tc", s3tc_ ? "yes" : "no");
}

}  // namespace
