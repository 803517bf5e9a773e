#pragma once
// Decoding of the user's own pictures (JPEG, PNG, BMP) with stb_image: the way SOIL decodes them,
// made safe for hostile files, and with photos larger than the texture limit reduced while they
// are decoded instead of being held at full size.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace nerith {

// A decoded picture as SOIL handles it: rows top to bottom, `channels` bytes per pixel
// (1 grey, 2 grey and alpha, 3 RGB, 4 RGBA), no row padding.
struct SoilImage {
    int width = 0;
    int height = 0;
    int channels = 0;
    std::vector<std::uint8_t> pixels;
};

// Bounds for pictures that come from the user's files.
struct PictureLimits {
    // Larger pictures are reduced to fit these. A side of 0 stands for the current context's
    // GL_MAX_TEXTURE_SIZE.
    int maxSide = 0;
    long long maxPixels = 48LL * 1024 * 1024;
    // The screen the picture is shown on: a picture whose texture would be larger than the one
    // that covers it is reduced too. 0 x 0: only the bounds count.
    int coverWidth = 0, coverHeight = 0;
    // Memory the decoding of a reduced picture may take, its file included; a picture that would
    // need more is refused.
    long long maxDecodeBytes = 768LL * 1024 * 1024;
};

// Decodes a picture held in memory as SOIL_LOAD_AUTO does. A picture within the bounds whose
// texture (power-of-two sides) is no larger than the one that covers the screen comes out whole,
// as SOIL has it. Any other comes out at the power-of-two size its texture is given: each side
// SOIL's, but no larger than the power of two that covers the screen's side, halved while above
// the side bound, the longer one halved while the pixels are above theirs. A JPEG is decoded for
// that straight at 1/2, 1/4 or 1/8 (each 8 x 8 block averaged as it is decoded, no plane of the
// whole size held); other pictures are decoded whole and box-filtered; what remains is bilinear.
// Refuses (false), before decoding any pixel: a file whose header or tables the decoder would
// mishandle, a reduced picture whose file is far too short for its size or whose decoding would
// need more than limits.maxDecodeBytes; after decoding: a file that ends before its pixel data
// does (a truncated file, which the decoders would otherwise fill with black).
bool DecodeCheckedPicture(const std::uint8_t* data, std::size_t size, const PictureLimits& limits, SoilImage& out);

// The checks DecodeCheckedPicture makes before it decodes a pixel: false when it would refuse the
// picture already.
bool CheckPicture(const std::uint8_t* data, std::size_t size, const PictureLimits& limits);

// Reads the file at `path` into `bytes`; false when it cannot be read, is empty or is larger than
// limits.maxDecodeBytes.
bool ReadPictureFile(const char* path, const PictureLimits& limits, std::vector<std::uint8_t>& bytes);

// The file at `path` decoded as SOIL does, without any bound: `channels` 1 to 4 converts it to
// that many channels, 0 keeps its own.
bool DecodeSoilFile(const char* path, int channels, SoilImage& out);

}  // namespace nerith
