// Checks of the generated built-in art (the files the art tool writes into the build's art folder).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "TestBmp.h"
#include "assets/SoilLoader.h"

namespace {

using testbmp::Bytes;

Bytes readArt(const std::string& name) { return testbmp::ReadFile(std::string(NERITH_ART_DIR) + "/" + name); }

std::uint32_t u32(const Bytes& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
unsigned u16(const Bytes& b, size_t at) { return b[at] | (b[at + 1] << 8); }

// A 24-bit BMP as the loaders read it: pixel data right after the 54 header bytes.
struct Bmp {
    int width = 0, height = 0;
    Bytes file;
    // Blue, green, red of the pixel in stored row `row` (0 = first stored row), column x.
    const unsigned char* px(int x, int row) const {
        return &file[54 + row * testbmp::RowStride(24, width) + x * 3];
    }
    double luma(int x, int row) const {
        const unsigned char* p = px(x, row);
        return (0.114 * p[0] + 0.587 * p[1] + 0.299 * p[2]) / 255.0;
    }
};

// Art file `name` as the plain loader reads it: 24 bits, uncompressed, the pixels right after the
// headers and nothing after them. Empty if it is not.
Bmp loadBmp(const std::string& name) {
    const Bytes b = readArt(name);
    if (b.size() < 54) {
        ADD_FAILURE() << name << " is missing";
        return Bmp{};
    }
    const int width = static_cast<int>(u32(b, 18)), height = static_cast<int>(u32(b, 22));
    EXPECT_TRUE(b[0] == 'B' && b[1] == 'M' && u32(b, 14) == 40 && u32(b, 30) == 0 && u16(b, 28) == 24) << name;
    EXPECT_EQ(u32(b, 10), 54u) << name;
    if (width < 1 || height < 1 || b.size() != 54 + testbmp::RowStride(24, width) * height) {
        ADD_FAILURE() << name << " is not " << width << " x " << height << " pixels and nothing more";
        return Bmp{};
    }
    return Bmp{width, height, b};
}

bool powerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

// How much finer a picture is than its half size (the mipmap a small screen takes): the mean
// distance of each luma from the mean of its 2 x 2 block, against the same for the half size. The
// art drawn at its size keeps 0.56 to 0.9; enlarged from half its size (bilinear, Catmull-Rom or
// Mitchell) it keeps 0.45 to 0.52.
double detailKeptAtFullSize(const Bmp& bmp) {
    std::vector<double> v;
    for (int row = 0; row < bmp.height; ++row)
        for (int x = 0; x < bmp.width; ++x) v.push_back(bmp.luma(x, row));
    double detail[2];
    for (int pass = 0, w = bmp.width, h = bmp.height; pass < 2; ++pass, w /= 2, h /= 2) {
        std::vector<double> means;
        double sum = 0;
        for (int y = 0; y + 1 < h; y += 2)
            for (int x = 0; x + 1 < w; x += 2) {
                const double q[4] = {v[y * w + x], v[y * w + x + 1], v[(y + 1) * w + x], v[(y + 1) * w + x + 1]};
                means.push_back((q[0] + q[1] + q[2] + q[3]) / 4);
                for (double d : q) sum += std::fabs(d - means.back());
            }
        detail[pass] = sum / (4.0 * means.size());
        v = means;
    }
    return detail[0] / std::max(detail[1], 1e-9);
}

}  // namespace

TEST(BuiltinArt, BackgroundHasTheTexelsOfLargeScreensAndSuitsTheMipmappedLoader) {
    const Bmp bg = loadBmp("BackGround0.bmp");
    // Enough texels for the picture plane of a 2560-wide screen; sides that gluBuild2DMipmaps
    // takes as they are (others it resamples first, at start-up).
    ASSERT_GE(bg.width, 2048);
    EXPECT_TRUE(powerOfTwo(bg.width) && powerOfTwo(bg.height)) << bg.width << "x" << bg.height;
    // Drawn at that size, not enlarged from the half size that small screens show.
    EXPECT_GT(detailKeptAtFullSize(bg), 0.54);
    // The mipmapped loader reads exactly the pixel-data size from the info header.
    EXPECT_EQ(u32(bg.file, 34), static_cast<std::uint32_t>(bg.width * bg.height * 3));
    // (Blue water over warm sand is checked on the real screen.) Pure black would turn transparent.
    int black = 0;
    for (int row = 0; row < bg.height; ++row)
        for (int x = 0; x < bg.width; ++x) {
            const unsigned char* p = bg.px(x, row);
            black += p[0] == 0 && p[1] == 0 && p[2] == 0;
        }
    EXPECT_EQ(black, 0);
}

TEST(BuiltinArt, SkinsHaveTheSharedLayoutAndAnEyeAndDifferClearly) {
    // Colour histograms (4 levels per channel) and mean colours of every skin, compared pairwise.
    std::vector<std::vector<double>> hist(20, std::vector<double>(64, 0.0));
    std::vector<double> meanR(20), meanG(20), meanB(20);
    for (int i = 0; i < 20; ++i) {
        SCOPED_TRACE(i);
        // Twice the texels of the 256 x 128 design, which the plain loader takes as they are
        // (a larger skin would be halved at start-up and waste the program's size).
        const Bmp skin = loadBmp("fish" + std::to_string(i) + ".bmp");
        ASSERT_TRUE(skin.width == 512 && skin.height == 256);
        EXPECT_GT(detailKeptAtFullSize(skin), 0.54);
        const double sx = skin.width / 256.0, sy = skin.height / 128.0;  // texels per design texel
        auto at = [&](double s, double t) {  // mean luma of the 2 x 2 texels round (s, t)
            const int x = static_cast<int>(s * skin.width - 0.5), row = static_cast<int>(t * skin.height - 0.5);
            return (skin.luma(x, row) + skin.luma(x + 1, row) + skin.luma(x, row + 1) + skin.luma(x + 1, row + 1)) / 4;
        };
        // The pupil sits at s = 0.10, t = 0.20: much darker than the body.
        const double pupil = at(0.10, 0.20);
        EXPECT_LT(pupil, 0.12);
        double body = 0;
        int samples = 0;
        for (int row = 2; row < 62; row += 4)
            for (int x = 40; x < 170; x += 4, ++samples) body += skin.luma(static_cast<int>(x * sx), static_cast<int>(row * sy));
        EXPECT_GT(body / samples, pupil + 0.12);
        const double n = static_cast<double>(skin.width) * skin.height;
        for (int row = 0; row < skin.height; ++row)
            for (int x = 0; x < skin.width; ++x) {
                const unsigned char* p = skin.px(x, row);
                hist[i][(p[2] / 64) * 16 + (p[1] / 64) * 4 + p[0] / 64] += 1.0 / n;
                meanR[i] += p[2] / n; meanG[i] += p[1] / n; meanB[i] += p[0] / n;
            }
    }
    for (int i = 0; i < 20; ++i)
        for (int j = i + 1; j < 20; ++j) {
            double l1 = 0;
            for (int k = 0; k < 64; ++k) l1 += std::fabs(hist[i][k] - hist[j][k]);
            double dm = std::sqrt(std::pow(meanR[i] - meanR[j], 2) + std::pow(meanG[i] - meanG[j], 2) +
                                  std::pow(meanB[i] - meanB[j], 2));
            EXPECT_GT(l1 + dm / 255.0, 0.4) << "skins " << i << " and " << j << " look alike";
        }
}

TEST(BuiltinArt, BubbleSpriteIsADarkDiscWithABrightRim) {
    const Bmp bubble = loadBmp("Particle1.bmp");
    ASSERT_TRUE(bubble.width == 32 && bubble.height == 32);  // a power of two: no resampling
    const int n = bubble.width, c = n / 2;
    // Drawn additively: black corners vanish; the rim and the highlight outshine the middle.
    EXPECT_EQ(bubble.luma(0, 0) + bubble.luma(n - 1, 0) + bubble.luma(0, n - 1) + bubble.luma(n - 1, n - 1), 0.0);
    double rim = 0;
    for (int x = 0; x < n; ++x) rim = std::max(rim, bubble.luma(x, c));
    EXPECT_LT(bubble.luma(c, c), 0.35);
    EXPECT_GT(rim, 0.6);  // (how much light the bubbles add shows on the real screen)
}

TEST(BuiltinArt, MusicIsASeamlessPcmLoop) {
    // The header is proven by the real program playing the loop; here, how the loop sounds.
    Bytes wav = readArt("Music.wav");
    ASSERT_GE(wav.size(), 44u);
    const unsigned channels = u16(wav, 22), rate = u32(wav, 24);
    ASSERT_TRUE(channels == 1 || channels == 2);
    const std::uint32_t dataSize = u32(wav, 40);
    ASSERT_EQ(dataSize + 44, wav.size());
    EXPECT_LT(wav.size(), 2621440u);
    const size_t frames = dataSize / (2 * channels);
    const double seconds = static_cast<double>(frames) / rate;
    EXPECT_GE(seconds, 20.0);
    EXPECT_LE(seconds, 40.0);

    for (unsigned ch = 0; ch < channels; ++ch) {
        SCOPED_TRACE(ch);
        std::vector<int> s(frames);
        double mean = 0;
        int peak = 0;
        for (size_t i = 0; i < frames; ++i) {
            s[i] = static_cast<std::int16_t>(u16(wav, 44 + (i * channels + ch) * 2));
            mean += s[i];
            peak = std::max(peak, std::abs(s[i]));
        }
        mean /= frames;
        EXPECT_LT(std::fabs(mean), 100.0) << "no DC offset";
        EXPECT_LT(peak, 32000) << "no clipping";
        // The jump from the last sample back to the first is no bigger than ordinary steps.
        std::vector<int> steps;
        for (size_t i = 1; i < frames; ++i) steps.push_back(std::abs(s[i] - s[i - 1]));
        std::nth_element(steps.begin(), steps.begin() + steps.size() * 99 / 100, steps.end());
        const int p99 = steps[steps.size() * 99 / 100];
        EXPECT_LE(std::abs(s[0] - s[frames - 1]), p99);
        // And the slope carries on across the join (no kink).
        int slopeEnd = s[frames - 1] - s[frames - 2], slopeStart = s[1] - s[0];
        EXPECT_LE(std::abs(slopeStart - slopeEnd), p99);
        // The loop does not fade to silence at either end.
        double head = 0, tail = 0;
        for (size_t i = 0; i < static_cast<size_t>(rate) / 4; ++i) {
            head += std::abs(s[i]);
            tail += std::abs(s[frames - 1 - i]);
        }
        EXPECT_GT(head / (rate / 4), 300.0);
        EXPECT_GT(tail / (rate / 4), 300.0);
    }
}

namespace {

// One picture of an .ico or .cur file: its directory entry and its 32-bit pixels.
struct IconImage {
    int width = 0, height = 0, hotX = 0, hotY = 0;
    std::vector<std::uint32_t> argb;  // top-down
    int alpha(int x, int y) const { return argb[static_cast<size_t>(y) * width + x] >> 24; }
};

// The pictures of an .ico (type 1) or .cur (type 2) file, each a 32-bit BITMAPINFOHEADER image with
// the height doubled for the mask (Windows reads them: SaverResourcesWinTest); none if it is not so.
std::vector<IconImage> parseIconFile(const Bytes& b, unsigned type) {
    std::vector<IconImage> out;
    if (b.size() < 6 || u16(b, 0) != 0 || u16(b, 2) != type) return out;
    for (size_t e = 6; e < 6 + 16u * u16(b, 4) && e + 16 <= b.size(); e += 16) {
        IconImage im{b[e] ? b[e] : 256, b[e + 1] ? b[e + 1] : 256, int(u16(b, e + 4)), int(u16(b, e + 6)), {}};
        const size_t offset = u32(b, e + 12);
        if (offset + 40 + size_t(im.width) * im.height * 4 > b.size() || u32(b, offset) != 40 ||
            int(u32(b, offset + 4)) != im.width || int(u32(b, offset + 8)) != 2 * im.height || u16(b, offset + 14) != 32)
            return {};
        for (int row = im.height - 1; row >= 0; --row)  // stored bottom-up
            for (int x = 0; x < im.width; ++x) im.argb.push_back(u32(b, offset + 40 + (size_t(row) * im.width + x) * 4));
        out.push_back(im);
    }
    return out;
}

bool hasSize(const std::vector<IconImage>& images, int size) {
    for (const IconImage& im : images)
        if (im.width == size && im.height == size) return true;
    return false;
}

}  // namespace

TEST(BuiltinArt, IconsHaveTheSizesTheMenuAndTheFrameUse) {
    const std::vector<IconImage> app = parseIconFile(readArt("icon_app.ico"), 1);
    for (int size : {16, 32, 48}) EXPECT_TRUE(hasSize(app, size)) << size;
    const char* menus[] = {"menu_feed.ico",  "menu_touch.ico", "menu_zoomin.ico",     "menu_zoomout.ico",
                           "menu_fish.ico",  "menu_music.ico", "menu_background.ico", "menu_exit.ico"};
    std::vector<std::vector<std::uint32_t>> pictures24;
    for (const char* name : menus) {
        SCOPED_TRACE(name);
        const std::vector<IconImage> images = parseIconFile(readArt(name), 1);
        for (int size : {24, 32}) EXPECT_TRUE(hasSize(images, size)) << size;
        for (const IconImage& im : images) {
            auto opaque = [](std::uint32_t argb) { return argb >> 24 > 128; };  // mostly opaque
            const double share =
                std::count_if(im.argb.begin(), im.argb.end(), opaque) / static_cast<double>(im.argb.size());
            EXPECT_GT(share, 0.2) << im.width;  // something is drawn
            EXPECT_LT(share, 0.95) << im.width; // on a transparent ground
            if (im.width == 24) pictures24.push_back(im.argb);
        }
    }
    // Eight different pictures.
    for (size_t i = 0; i < pictures24.size(); ++i)
        for (size_t j = i + 1; j < pictures24.size(); ++j) EXPECT_NE(pictures24[i], pictures24[j]) << i << " " << j;
}

TEST(BuiltinArt, CursorsAreThirtyTwoPixelsWithTheHotSpotOnThePicture) {
    const char* cursors[] = {"cur_touch.cur",  "cur_touch_held.cur",  "cur_feed.cur",    "cur_feed_held.cur",
                             "cur_zoomin.cur", "cur_zoomin_held.cur", "cur_zoomout.cur", "cur_zoomout_held.cur"};
    std::vector<std::vector<std::uint32_t>> pictures;
    for (const char* name : cursors) {
        SCOPED_TRACE(name);
        const std::vector<IconImage> images = parseIconFile(readArt(name), 2);
        ASSERT_EQ(images.size(), 1u);
        const IconImage& im = images[0];
        ASSERT_TRUE(im.width == 32 && im.height == 32 && im.hotX < 32 && im.hotY < 32);
        // The hot spot lies on (or right next to) a drawn pixel.
        int nearby = 0;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                int x = im.hotX + dx, y = im.hotY + dy;
                if (x >= 0 && y >= 0 && x < 32 && y < 32) nearby = std::max(nearby, im.alpha(x, y));
            }
        EXPECT_GT(nearby, 128);
        pictures.push_back(im.argb);
    }
    // Each held cursor differs from its button-up twin.
    for (size_t i = 0; i < pictures.size(); i += 2) EXPECT_NE(pictures[i], pictures[i + 1]) << cursors[i];
}

TEST(BuiltinArt, SpeciesPictureFillsTheFishDialog) {
    const Bmp pic = loadBmp("species.bmp");
    ASSERT_TRUE(pic.width == 500 && pic.height == 512);
    // Stored rows run bottom-up: the grid (top 362 rows on screen) is busy, the band below is plain.
    auto rowSpread = [&](int screenY) {
        double lo = 1, hi = 0;
        for (int x = 0; x < 500; ++x) {
            double l = pic.luma(x, 511 - screenY);
            lo = std::min(lo, l);
            hi = std::max(hi, l);
        }
        return hi - lo;
    };
    for (int i = 0; i < 4; ++i) EXPECT_GT(rowSpread(90 * i + 47), 0.3) << "row of cells " << i;
    for (int y = 370; y < 512; y += 10) EXPECT_LT(rowSpread(y), 0.05) << y;

    // The picture for screens above 100 % is the same one drawn twice as large: shrunk back by
    // averaging 2 x 2 blocks it matches the small one, so its cells lie where the dialog scales them.
    // It goes into the program as a PNG (the picture's stored rows run top-down there).
    std::ifstream in(std::string(NERITH_ART_DIR) + "/species2x.png", std::ios::binary);
    const std::vector<std::uint8_t> png((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    nerith::SoilImage big;
    ASSERT_TRUE(nerith::DecodeCheckedPicture(png.data(), png.size(), nerith::PictureLimits{4096}, big));
    ASSERT_EQ(big.width, 1000);
    ASSERT_EQ(big.height, 1024);
    ASSERT_EQ(big.channels, 3);
    EXPECT_LT(png.size(), 1500u * 1024);
    auto luma = [&](int x, int storedRow) {
        const std::uint8_t* p = &big.pixels[(static_cast<size_t>(1023 - storedRow) * 1000 + x) * 3];
        return (0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2]) / 255;
    };
    double sum = 0;
    int far = 0;
    for (int row = 0; row < 512; ++row)
        for (int x = 0; x < 500; ++x) {
            const double shrunk = (luma(2 * x, 2 * row) + luma(2 * x + 1, 2 * row) + luma(2 * x, 2 * row + 1) +
                                   luma(2 * x + 1, 2 * row + 1)) / 4;
            const double d = std::fabs(shrunk - pic.luma(x, row));
            sum += d;
            far += d > 0.25;
        }
    EXPECT_LT(sum / (500 * 512), 0.02);
    EXPECT_LT(far, 500 * 512 / 200);
}
