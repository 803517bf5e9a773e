#pragma once
// Windows BMP decoding for the two texture loaders. Pure functions over the bytes of a whole
// file: they check every header field against the real file size and either fill the result
// or return false, in which case the loader leaves its texture without an image.
//
// Accepted: the 14-byte file header with "BM", an info header of at least 40 bytes, width and
// height from 1 to kMaxBmpDimension (bottom-up rows), 8, 24 or 32 bits per pixel, no
// compression (BI_RGB). Anything else is refused.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace nerith {

constexpr int kMaxBmpDimension = 16384;

// Bytes per stored row for `bitsPerPixel` and `width`: rows are padded to 4 bytes.
std::size_t BmpRowStride(int bitsPerPixel, int width);

// The picture for the mipmapped loader, ready for gluBuild2DMipmaps: width x height pixels of
// red, green, blue, alpha.
struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
};

// Reads the pixel data from the file header's offset, as many bytes as the info header's
// pixel-data size (or, when that field is 0, the size the rows take), and treats it as one run
// of 3-byte blue-green-red pixels without regard to row padding. Each pixel becomes red, green,
// blue and an alpha of 255, or 0 when all three colours are 0. Refused when the data does not
// lie inside the file or holds fewer than width x height pixels.
bool DecodeMipmappedBmp(const std::uint8_t* file, std::size_t size, RgbaImage& out);

// The picture for the plain loader, in the layout its upload takes: bottom-up rows padded to
// 4 bytes, blue-green-red for 8- and 24-bit files (8-bit pixels expanded through the palette;
// an index past the palette gives black), blue-green-red-alpha for 32-bit files.
struct BmpPicture {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;  // of the file: 8, 24 or 32
    std::vector<std::uint8_t> pixels;
};

// The pixel data is taken to start right after the 40-byte info header (after the palette for
// 8-bit files: 4 x colours-used bytes, 1024 when colours-used is 0); the pixel-data offset of
// the file header is not consulted. Refused when the palette or the rows reach past the file.
bool DecodePlainBmp(const std::uint8_t* file, std::size_t size, BmpPicture& out);

// The texture side for a picture side of `size` pixels under `limit`: the smallest power of
// two not below min(size, limit), at least 2.
int FitTextureSize(int size, int limit);

}  // namespace nerith
