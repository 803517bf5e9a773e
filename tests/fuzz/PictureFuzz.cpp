// libFuzzer target for the route of the user's background pictures: the checked decoding (JPEG,
// PNG, BMP), the reduction of pictures larger than the bounds or the screen, the changes before
// the upload with the flags the program uses (flip, NTSC-safe colours, power-of-two sides,
// reduction to the texture limit) and the mipmap chain.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "../host/MipmapCheck.h"
#include "assets/SoilLoader.h"

namespace {

void Check(const std::uint8_t* data, std::size_t size, const nerith::PictureLimits& limits) {
    nerith::SoilImage image;
    if (!nerith::DecodeCheckedPicture(data, size, limits, image)) return;
    const int side = limits.maxSide;
    if (image.width < 1 || image.height < 1 || image.width > side || image.height > side || image.channels < 1 ||
        image.channels > 4 ||
        image.pixels.size() != static_cast<std::size_t>(image.width) * image.height * image.channels)
        std::abort();
    nerith::PrepareSoilImage(image, 178, side, false);
    if ((image.width & (image.width - 1)) || (image.height & (image.height - 1)) || image.width > side ||
        image.height > side)
        std::abort();
    // The chain the upload uses against the direct box filter, level by level.
    if (FirstChainMismatch(image) != 0) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A small texture limit keeps each run quick; the pixel bound is the program's. Inputs of an
    // odd length are shown on a small screen instead: every picture beyond 32 x 32 is reduced
    // (JPEGs decoded at 1/2 to 1/8).
    if (size % 2 == 0) Check(data, size, {1024, 48LL * 1024 * 1024});
    else Check(data, size, {256, 48LL * 1024 * 1024, 32, 24});
    return 0;
}
