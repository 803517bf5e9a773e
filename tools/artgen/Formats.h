#pragma once
// File formats written by the art generator: BMP, WAVE, ICO and CUR, built in memory.
#include <cstdint>
#include <string>
#include <vector>

#include "Raster.h"

namespace art {

using Bytes = std::vector<std::uint8_t>;

// 24-bit BMP. With `topDown` the image's row 0 is the top of the picture (written last, as BMP
// rows go bottom-up); otherwise row 0 is written first (the first stored row). Rows are padded
// to 4 bytes as BMP requires. Pixel data starts at offset 54.
Bytes encodeBmp24(const Image& image, bool topDown);

// PNG, 24 bits a pixel, row 0 at the top (compressed: for pictures that go into the program as
// they are and are decoded when shown).
Bytes encodePng(const Image& image);

// 16-bit PCM WAVE.
Bytes encodeWav16(const std::vector<std::int16_t>& samples, int channels, int sampleRate);

// One picture of an icon or cursor, top-down, straight alpha.
struct IconPicture {
    const ImageA* image;
    int hotX = 0, hotY = 0;  // cursors only
};
// .ico (cursor = false) or .cur (cursor = true) with 32-bit pictures and their AND masks.
Bytes encodeIcon(const std::vector<IconPicture>& pictures, bool cursor);

bool writeFile(const std::string& path, const Bytes& bytes);

// 8-bit value of a 0..1 channel, rounded.
inline std::uint8_t to8(float v) { return static_cast<std::uint8_t>(clamp01(v) * 255.0f + 0.5f); }

}  // namespace art
