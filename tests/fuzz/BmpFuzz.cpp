// libFuzzer target for the BMP decoding of the texture loaders. Build and run with `make fuzz`.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "assets/Bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    nerith::RgbaImage image;
    if (nerith::DecodeMipmappedBmp(data, size, image)) {
        if (image.width < 1 || image.height < 1 ||
            image.rgba.size() != 4u * static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height))
            std::abort();
        // Every pixel is opaque exactly when it is not black.
        for (std::size_t i = 0; i < image.rgba.size(); i += 4) {
            const bool black = (image.rgba[i] | image.rgba[i + 1] | image.rgba[i + 2]) == 0;
            if (image.rgba[i + 3] != (black ? 0 : 255)) std::abort();
        }
    }
    nerith::BmpPicture picture;
    if (nerith::DecodePlainBmp(data, size, picture)) {
        const int bits = picture.bitsPerPixel == 32 ? 32 : 24;
        if (picture.pixels.size() != nerith::BmpRowStride(bits, picture.width) * static_cast<std::size_t>(picture.height))
            std::abort();
    }
    return 0;
}
