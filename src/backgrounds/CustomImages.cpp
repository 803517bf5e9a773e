#include "backgrounds/CustomImages.h"

#include <climits>

#include "backgrounds/PictureCycle.h"
#include "settings/SettingsFile.h"

namespace backgrounds {
namespace {
const char* Flag(bool on) { return on ? "1" : "0"; }
bool Checked(Profile& profile, const char* key) { return ProfileChecked(profile, kCustomImagesSection, key); }
}  // namespace


void SaveCustomImages(Profile& profile, const CustomImages& images) {
    const char* s = kCustomImagesSection;
    ProfileSave save(profile);
    profile.write(s, "RandomImage", Flag(images.random));
    profile.write(s, "CycImage", Flag(images.repeatAll));
    profile.write(s, "RepeatImage", Flag(images.repeatOne));
    profile.write(s, "OwnImage", Flag(images.own));
    profile.write(s, "ImageTime", images.interval.c_str());
    WritePathList(profile, s, "ImageSum", "ImageList", images.paths);
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
    ReadPathList(profile, kCustomImagesSection, "ImageSum", "ImageList", INT_MAX, add);
}

}  // namespace backgrounds
