#pragma once
// Shared by the unit tests and the picture fuzzer: the upload's mipmap chain against the direct
// box filter.
#include "assets/SoilLoader.h"

// The first level at which the chain of `image` differs from SoilMipmapLevel (size or texels),
// -1 when the chain does not end at one pixel, 0 when all agree.
inline int FirstChainMismatch(const nerith::SoilImage& image) {
    nerith::SoilMipmapChain chain(image);
    nerith::SoilImage mip{image.width, image.height, image.channels, {}};
    int level = 0;
    while (chain.Next(mip)) {
        ++level;
        const nerith::SoilImage direct = nerith::SoilMipmapLevel(image, 1 << level, 1 << level);
        if (mip.width != direct.width || mip.height != direct.height || mip.pixels != direct.pixels) return level;
    }
    return mip.width == 1 && mip.height == 1 ? 0 : -1;
}
