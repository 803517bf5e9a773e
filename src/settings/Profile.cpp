#include "settings/Profile.h"

#include "settings/MemoryProfile.h"

const char kAquariumSection[] = "Aquarium Settings";
const char kFishNumberSection[] = "Fish Number";
const char kCustomImagesSection[] = "Custom Images";
const char kCustomSettingsSection[] = "Custom Settings";

Profile::~Profile() = default;

#ifdef _WIN32
// The real settings file, defined next to the Win32 implementation.
Profile& IniAppProfile();
#endif

namespace {

Profile* installed = nullptr;

Profile& defaultProfile() {
#ifdef _WIN32
    return IniAppProfile();
#else
    static MemoryProfile memory;
    return memory;
#endif
}

}  // namespace

Profile& AppProfile() { return installed ? *installed : defaultProfile(); }

Profile* SetAppProfile(Profile* profile) {
    Profile* previous = installed;
    installed = profile;
    return previous;
}
