#pragma once
// The section "Custom Images" of PondelSet.ini: the picture list, its mode boxes, the own-picture
// box and the interval, read once when the Custom Background dialog is created and written each
// time it is hidden.
#include <functional>
#include <string>
#include <vector>

#include "settings/Profile.h"

namespace backgrounds {

struct CustomImages {
    bool random = false;     // "RandomImage"
    bool repeatAll = false;  // "CycImage"
    bool repeatOne = false;  // "RepeatImage"
    bool own = false;        // "OwnImage"
    std::string interval;    // "ImageTime", the box's text as typed
    std::vector<std::string> paths;  // "ImageSum", "ImageList0", ...
};

// Writes the section in its order, as one save: RandomImage, CycImage, RepeatImage, OwnImage,
// ImageTime, ImageSum, then ImageList0.. for every path.
void SaveCustomImages(Profile& profile, const CustomImages& images);

// Reads the four boxes (checked only for exactly 1) and the interval text; an interval that is
// absent or not a sane number (see SaneIntervalText) reads as "5". `paths` is left empty.
CustomImages ReadCustomImageBoxes(Profile& profile);

// Hands the stored paths to `add` in list order, which returns false to stop. An entry missing
// before a later one is handed on as an empty path; nothing comes after the last stored entry, so
// a hand-edited "ImageSum" far beyond the real list costs nothing.
void ForEachStoredPicture(Profile& profile, const std::function<bool(const std::string&)>& add);

}  // namespace backgrounds
