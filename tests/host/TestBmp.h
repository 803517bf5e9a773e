#pragma once
// Builds BMP (on the host also PNG) files in memory for the loader tests; reads and writes files.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#if __has_include(<stb_image_write.h>)  // on the host: PNG and JPEG files for the SOIL tests
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#include <stb_image_write.h>
#pragma GCC diagnostic pop
#endif

namespace testbmp {

using Bytes = std::vector<std::uint8_t>;
using Bgr = std::array<std::uint8_t, 3>;
using Bgra = std::array<std::uint8_t, 4>;

inline void PutU16(Bytes& b, std::size_t at, std::uint16_t v) {
    for (int i = 0; i < 2; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

inline void PutU32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

inline std::size_t RowStride(int bits, int width) { return (static_cast<std::size_t>(bits) * width + 31) / 32 * 4; }

// Byte offsets of the header fields in the whole file.
enum Field : std::size_t {
    kOffBits = 10,
    kWidth = 18,
    kHeight = 22,
    kBitCount = 28,
    kCompression = 30,
    kSizeImage = 34,
    kClrUsed = 46,
};

// A file header, a 40-byte info header, `palette` (4 bytes each) and `pixels`.
inline Bytes Assemble(int width, int height, int bits, const Bytes& palette, const Bytes& pixels,
                      std::uint32_t coloursUsed = 0) {
    Bytes b(54, 0);
    PutU16(b, 0, 'B' | 'M' << 8);
    const std::uint32_t offset = static_cast<std::uint32_t>(54 + palette.size());
    PutU32(b, 2, static_cast<std::uint32_t>(offset + pixels.size()));
    PutU32(b, kOffBits, offset);
    PutU32(b, 14, 40);
    PutU32(b, kWidth, static_cast<std::uint32_t>(width));
    PutU32(b, kHeight, static_cast<std::uint32_t>(height));
    PutU16(b, 26, 1);
    PutU16(b, kBitCount, static_cast<std::uint16_t>(bits));
    PutU32(b, kSizeImage, static_cast<std::uint32_t>(pixels.size()));
    PutU32(b, kClrUsed, coloursUsed);
    b.insert(b.end(), palette.begin(), palette.end());
    b.insert(b.end(), pixels.begin(), pixels.end());
    return b;
}

// A 24- or 32-bit picture; `colour(x, y)` gives blue, green, red (and alpha) with y counted from
// the bottom row.
template <std::size_t N>
Bytes MakeDirect(int width, int height, const std::function<std::array<std::uint8_t, N>(int, int)>& colour) {
    const std::size_t stride = RowStride(8 * N, width);
    Bytes pixels(stride * height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::array<std::uint8_t, N> c = colour(x, y);
            std::copy(c.begin(), c.end(), pixels.begin() + y * stride + N * x);
        }
    return Assemble(width, height, 8 * N, {}, pixels);
}
inline Bytes Make24(int w, int h, const std::function<Bgr(int, int)>& c) { return MakeDirect<3>(w, h, c); }
inline Bytes Make32(int w, int h, const std::function<Bgra(int, int)>& c) { return MakeDirect<4>(w, h, c); }

// An 8-bit picture with `palette` (blue, green, red; reserved written as 0) and
// colours-used `coloursUsed`; `index(x, y)` gives each pixel's palette index.
inline Bytes Make8(int width, int height, const std::vector<Bgr>& palette, std::uint32_t coloursUsed,
                   const std::function<std::uint8_t(int, int)>& index) {
    Bytes pal;
    for (const Bgr& c : palette) pal.insert(pal.end(), {c[0], c[1], c[2], 0});
    const std::size_t stride = RowStride(8, width);
    Bytes pixels(stride * height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixels[y * stride + x] = index(x, y);
    return Assemble(width, height, 8, pal, pixels, coloursUsed);
}

// A damaged file. The plain loader never consults the pixel-data size and offset, so damage to
// those alone leaves it a readable picture (`plainReads`).
struct Malformed {
    std::string name;
    Bytes bytes;
    bool plainReads = false;
};

// Files that the loaders must refuse.
inline std::vector<Malformed> MalformedCorpus() {
    const Bytes good24 = Make24(4, 3, [](int x, int y) { return Bgr{std::uint8_t(x), std::uint8_t(y), 9}; });
    const Bytes good8 = Make8(4, 3, {{1, 2, 3}, {4, 5, 6}}, 2, [](int x, int) { return std::uint8_t(x & 1); });
    std::vector<Malformed> corpus;
    auto add = [&](const std::string& name, Bytes b) { corpus.push_back({name, std::move(b), false}); };
    auto with = [&](const char* name, Bytes b, std::size_t at, std::uint32_t value) {
        PutU32(b, at, value);
        const bool plainReads = at == kSizeImage || at == kOffBits;
        corpus.push_back({name, std::move(b), plainReads});
    };
    auto with16 = [&](const std::string& name, Bytes b, std::size_t at, std::uint16_t value) {
        PutU16(b, at, value);
        add(name, std::move(b));
    };
    // Every other cut of a good file is refused by both decoders in BmpTest.
    add("empty", Bytes{});
    add("one_byte", Bytes{'B'});
    add("truncated_pixels", Bytes(good24.begin(), good24.end() - 1));
    with16("wrong_signature", good24, 0, 'M' | 'B' << 8);
    with("negative_width", good24, kWidth, static_cast<std::uint32_t>(-4));
    with("negative_height", good24, kHeight, static_cast<std::uint32_t>(-3));
    with("zero_width", good24, kWidth, 0);
    with("zero_height", good24, kHeight, 0);
    with("huge_width", good24, kWidth, 0x7fffffff);
    with("huge_height", good24, kHeight, 0x40000000);
    with("most_negative_width", good24, kWidth, 0x80000000u);
    with("width_past_the_rows", good24, kWidth, 5);
    with("height_past_the_rows", good24, kHeight, 4);
    with("lying_size_huge", good24, kSizeImage, 0xffffffffu);
    with("lying_size_small", good24, kSizeImage, 35);
    with("lying_size_past_end", good24, kSizeImage, 37);
    Bytes cut(good24.begin(), good24.end() - 1);
    PutU32(cut, kSizeImage, 0);
    add("size_zero_rows_truncated", cut);
    with("lying_offset_huge", good24, kOffBits, 0xfffffff0u);
    with("lying_offset_past_end", good24, kOffBits, 55);
    with("palette_count_beyond_file", good8, kClrUsed, 200);
    with("palette_count_zero_means_256", good8, kClrUsed, 0);
    with("palette_count_overflow", good8, kClrUsed, 0x40000001u);
    with("palette_count_above_256", good8, kClrUsed, 257);
    for (int bits : {0, 1, 4, 16, 48}) with16("bits_" + std::to_string(bits), good24, kBitCount, bits);
    with("compressed_rle8", good8, kCompression, 1);
    with("compressed_bitfields", good24, kCompression, 3);
    with("compressed_jpeg", good24, kCompression, 4);
    return corpus;
}

// A scratch folder for one test binary run.
inline std::string ScratchPath(const std::string& name) {
    return testing::TempDir() + "nerith_texture_" + name;
}

inline Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    EXPECT_TRUE(out) << path;
}

// Writes `bytes` to ScratchPath(name) and returns that path.
inline std::string WriteFile(const std::string& name, const Bytes& bytes) {
    WriteBytes(ScratchPath(name), bytes);
    return ScratchPath(name);
}

#ifdef INCLUDE_STB_IMAGE_WRITE_H
// `pixels` (rows top-down, `channels` bytes each) as a PNG file in memory.
inline Bytes Png(int width, int height, int channels, const Bytes& pixels) {
    Bytes out;
    auto append = [](void* context, void* data, int size) {
        auto* bytes = static_cast<std::uint8_t*>(data);
        static_cast<Bytes*>(context)->insert(static_cast<Bytes*>(context)->end(), bytes, bytes + size);
    };
    const int stride = width * channels;
    EXPECT_NE(stbi_write_png_to_func(append, &out, width, height, channels, pixels.data(), stride), 0);
    return out;
}
#endif

}  // namespace testbmp
