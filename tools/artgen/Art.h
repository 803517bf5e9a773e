#pragma once
// The pictures and sounds that the art generator makes.
#include <cstdint>
#include <vector>

#include "Raster.h"

namespace art {

constexpr int kSpeciesCount = 20;

// 2048 x 1024, row 0 at the top of the picture.
Image makeBackground();

// 512 x 256 skin of species i; row 0 is the first stored row (t = 0).
Image makeFishSkin(int species);
// A side view of a fish wearing `skin`, straight alpha, about w x h, facing left.
ImageA drawFishSideView(const Image& skin, int species, int w, int h);

// The bubble sprite, `size` x `size`.
Image makeBubble(int size);

// Interleaved 16-bit stereo samples of the music loop at `sampleRate`.
std::vector<std::int16_t> makeMusic(int sampleRate);

}  // namespace art
