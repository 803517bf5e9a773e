#include "assets/Bmp.h"

#include <cstring>

namespace nerith {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::uint32_t kUncompressed = 0;  // BI_RGB

std::uint16_t ReadU16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t ReadU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::int32_t ReadS32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(ReadU32(p));
}

// The fields both loaders need, read from the info header at `info`.
struct InfoHeader {
    std::int32_t width;
    std::int32_t height;
    std::uint16_t bitsPerPixel;
    std::uint32_t compression;
    std::uint32_t imageSize;
    std::uint32_t coloursUsed;
};

InfoHeader ReadInfoHeader(const std::uint8_t* info) {
    InfoHeader h;
    h.width = ReadS32(info + 4);
    h.height = ReadS32(info + 8);
    h.bitsPerPixel = ReadU16(info + 14);
    h.compression = ReadU32(info + 16);
    h.imageSize = ReadU32(info + 20);
    h.coloursUsed = ReadU32(info + 32);
    return h;
}

bool IsSupported(const InfoHeader& h) {
    if (h.width < 1 || h.width > kMaxBmpDimension) return false;
    if (h.height < 1 || h.height > kMaxBmpDimension) return false;
    if (h.bitsPerPixel != 8 && h.bitsPerPixel != 24 && h.bitsPerPixel != 32) return false;
    return h.compression == kUncompressed;
}

bool HasSignature(const std::uint8_t* file, std::size_t size) {
    return size >= 2 && file[0] == 'B' && file[1] == 'M';
}

}  // namespace

std::size_t BmpRowStride(int bitsPerPixel, int width) {
    return (static_cast<std::size_t>(bitsPerPixel) * static_cast<std::size_t>(width) + 31) / 32 * 4;
}

bool DecodeMipmappedBmp(const std::uint8_t* file, std::size_t size, RgbaImage& out) {
    if (!file || size < kFileHeaderSize + kInfoHeaderSize || !HasSignature(file, size)) return false;
    const std::uint32_t offset = ReadU32(file + 10);
    const InfoHeader h = ReadInfoHeader(file + kFileHeaderSize);
    if (!IsSupported(h)) return false;

    // A size of 0 is legal for uncompressed pictures: the rows then tell the size.
    std::uint64_t dataSize = h.imageSize;
    if (dataSize == 0) dataSize = BmpRowStride(h.bitsPerPixel, h.width) * static_cast<std::uint64_t>(h.height);
    if (offset > size || dataSize > size - offset) return false;

    // The data is one run of 3-byte pixels; the texture takes the first width x height of them.
    const std::uint64_t pixelCount = static_cast<std::uint64_t>(h.width) * static_cast<std::uint64_t>(h.height);
    if (dataSize / 3 < pixelCount) return false;

    out.width = h.width;
    out.height = h.height;
    out.rgba.assign(static_cast<std::size_t>(pixelCount) * 4, 0);
    const std::uint8_t* src = file + offset;
    std::uint8_t* dst = out.rgba.data();
    for (std::uint64_t i = 0; i < pixelCount; ++i, src += 3, dst += 4) {
        const std::uint8_t blue = src[0], green = src[1], red = src[2];
        dst[0] = red;
        dst[1] = green;
        dst[2] = blue;
        dst[3] = (red | green | blue) ? 255 : 0;
    }
    return true;
}

bool DecodePlainBmp(const std::uint8_t* file, std::size_t size, BmpPicture& out) {
    // The rest of the file after the file header; the info header starts it.
    if (!file || size < kFileHeaderSize + 1 || !HasSignature(file, size)) return false;
    const std::uint8_t* body = file + kFileHeaderSize;
    const std::size_t bodySize = size - kFileHeaderSize;
    if (bodySize < kInfoHeaderSize) return false;
    const InfoHeader h = ReadInfoHeader(body);
    if (!IsSupported(h)) return false;

    std::uint64_t pixelStart = kInfoHeaderSize;
    std::uint32_t colours = 0;
    if (h.bitsPerPixel == 8) {
        if (h.coloursUsed > 256) return false;
        colours = h.coloursUsed == 0 ? 256 : h.coloursUsed;
        pixelStart += 4ull * colours;
    }
    const std::size_t stride = BmpRowStride(h.bitsPerPixel, h.width);
    const std::uint64_t dataSize = static_cast<std::uint64_t>(stride) * static_cast<std::uint64_t>(h.height);
    if (pixelStart > bodySize || dataSize > bodySize - pixelStart) return false;

    out.width = h.width;
    out.height = h.height;
    out.bitsPerPixel = h.bitsPerPixel;
    const std::uint8_t* src = body + pixelStart;
    if (h.bitsPerPixel != 8) {
        out.pixels.assign(src, src + dataSize);
        return true;
    }

    // Expand through the palette (blue, green, red, reserved) into padded blue-green-red rows.
    const std::uint8_t* palette = body + kInfoHeaderSize;
    const std::size_t dstStride = BmpRowStride(24, h.width);
    out.pixels.assign(dstStride * static_cast<std::size_t>(h.height), 0);
    for (int y = 0; y < h.height; ++y) {
        const std::uint8_t* srcRow = src + static_cast<std::size_t>(y) * stride;
        std::uint8_t* dstRow = out.pixels.data() + static_cast<std::size_t>(y) * dstStride;
        for (int x = 0; x < h.width; ++x) {
            const std::uint32_t index = srcRow[x];
            if (index < colours) std::memcpy(dstRow + 3 * x, palette + 4 * index, 3);
        }
    }
    return true;
}

int FitTextureSize(int size, int limit) {
    const int wanted = size < limit ? size : limit;
    int target = 2;
    while (target < wanted) target *= 2;
    return target;
}

}  // namespace nerith
