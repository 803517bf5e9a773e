#include "backgrounds/CustomImages.h"

#include <cstdio>

#include "backgrounds/PictureCycle.h"
#include "settings/SettingsFile.h"

namespace backgrounds {
namespace {
const char* Flag(bool on) { return on ? "1" : "0"; }
bool Checked(Profile& profile, const char* key) {
    return ParseProfileInt(profile.read(kCustomImagesSection, key)) == 1;
}
}  // namespace

std::string ImageListKey(int i) { return "ImageList" + std::to_string(i); }

void SaveCustomImages(Profile& profile, const CustomImages& images) {
    const char* s = kCustomImagesSection;
    profile.write(s, "RandomImage", Flag(images.random));
    profile.write(s, "CycImage", Flag(images.repeatAll));
    profile.write(s, "RepeatImage", Flag(images.repeatOne));
    profile.write(s, "OwnImage", Flag(images.own));
    profile.write(s, "ImageTime", images.interval.c_str());
    char count[16];
    std::snprintf(count, sizeof count, "%d", static_cast<int>(images.paths.size()));
    profile.write(s, "ImageSum", count);
    for (std::size_t i = 0; i < images.paths.size(); ++i)
        profile.write(s, ImageListKey(static_cast<int>(i)).c_str(), images.paths[i].c_str());
}

CustomImages ReadCustomImageBoxes(Profile& profile) {
    CustomImages images;
    images.random = Checked(profile, "RandomImage");
    images.repeatAll = Checked(profile, "CycImage");
    images.repeatOne = Checked(profile, "RepeatImage");
    images.own = Checked(profile, "OwnImage");
    images.interval = profile.read(kCustomImagesSection, "ImageTime");
    if (!SaneIntervalText(images.interval)) images.interval = "5";
    return images;
}

void ForEachStoredPicture(Profile& profile, const std::function<bool(const std::string&)>& add) {
    const int count = ParseProfileInt(profile.read(kCustomImagesSection, "ImageSum"));
    for (int i = 0; i < count; ++i) {
        const std::string path = profile.read(kCustomImagesSection, ImageListKey(i).c_str());
        if (path.empty() || !add(path)) return;
    }
}

}  // namespace backgrounds
