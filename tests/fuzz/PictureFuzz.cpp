// libFuzzer target for the route of the user's background pictures: the checked decoding (JPEG,
// PNG, BMP) and the changes before the upload with the flags the program uses (flip, NTSC-safe
// colours, power-of-two sides, reduction to the texture limit) and the mipmap chain.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "../host/MipmapCheck.h"
#include "assets/SoilLoader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A small texture limit keeps each run quick; the pixel bound is the program's.
    const nerith::PictureLimits limits{1024, 48LL * 1024 * 1024};
    nerith::SoilImage image;
    if (!nerith::DecodeCheckedPicture(data, size, limits, image)) return 0;
    if (image.width < 1 || image.height < 1 || image.width > 1024 || image.height > 1024 || image.channels < 1 ||
        image.channels > 4 ||
        image.pixels.size() != static_cast<std::size_t>(image.width) * image.height * image.channels)
        std::abort();
    nerith::PrepareSoilImage(image, 178, 1024, false);
    if ((image.width & (image.width - 1)) || (image.height & (image.height - 1)) || image.width > 1024 ||
        image.height > 1024)
        std::abort();
    // The chain the upload uses against the direct box filter, level by level.
    if (FirstChainMismatch(image) != 0) std::abort();
    return 0;
}
