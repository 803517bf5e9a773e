#pragma once
// Icons, cursors and the species picture.
#include <string>
#include <vector>

#include "Art.h"

namespace art {

struct IconPictureData {
    ImageA image;
    int hotX, hotY;
};

struct IconFile {
    std::string name;  // "menu_feed.ico", "cur_touch.cur", ...
    bool cursor;
    std::vector<IconPictureData> pictures;
};

// The application icon, the eight popup-menu icons, the music switch pictures and the eight mode
// cursors.
std::vector<IconFile> makeIcons();

// 500 x 512: the twenty species in a 5 x 4 grid of 100 x 90 cells starting at (2, 2), on a pale
// ground, with an empty band below the grid. Row 0 is the top. With `scale` 2 the same picture
// drawn at 1000 x 1024, for screens set above 100 %.
Image makeSpeciesPicture(const std::vector<Image>& skins, int scale = 1);

}  // namespace art
