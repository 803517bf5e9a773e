#pragma once
// The pictures of the Aquarium Settings dialog: the four background-variant previews and the
// "about" icon.
#include <vector>

#include "Icons.h"
#include "Raster.h"

namespace art {

// 13 x 5, row 0 at the top: variant 0 is the built-in picture shrunk, 1 to 3 are plain water tints.
Image makeVariantPreview(int variant, const Image& background);

// "settings_about.ico": a round blue badge with a white "i", 16 and 32 pixels.
IconFile makeAboutIcon();

}  // namespace art
