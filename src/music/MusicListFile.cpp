#include "music/MusicListFile.h"

#include <cstdio>
#include <cstdlib>

#include "music/TrackChoice.h"

namespace {
bool Checked(Profile& profile, const char* key) {
    return std::atoi(profile.read(kCustomSettingsSection, key).c_str()) == 1;
}
std::string ListKey(int i) {
    char key[32];
    std::snprintf(key, sizeof key, "MusicList%d", i);
    return key;
}
}  // namespace

MusicListFile LoadMusicList(Profile& profile) {
    MusicListFile file;
    file.random = Checked(profile, "RandomMusic");
    file.repeatAll = Checked(profile, "CycMusic");
    file.repeatOne = Checked(profile, "RepeatMusic");
    file.ownMusic = Checked(profile, "OwnMusic");
    int count = std::atoi(profile.read(kCustomSettingsSection, "MusicSum").c_str());
    if (count > kMaxStoredTracks) count = kMaxStoredTracks;
    for (int i = 0; i < count; ++i) {
        std::string path = profile.read(kCustomSettingsSection, ListKey(i).c_str());
        if (path.empty()) break;  // the entries that exist end here
        file.paths.push_back(path);
    }
    return file;
}

void SaveMusicList(Profile& profile, const MusicListFile& file) {
    profile.write(kCustomSettingsSection, "RandomMusic", file.random ? "1" : "0");
    profile.write(kCustomSettingsSection, "CycMusic", file.repeatAll ? "1" : "0");
    profile.write(kCustomSettingsSection, "RepeatMusic", file.repeatOne ? "1" : "0");
    profile.write(kCustomSettingsSection, "OwnMusic", file.ownMusic ? "1" : "0");
    char count[16];
    std::snprintf(count, sizeof count, "%d", static_cast<int>(file.paths.size()));
    profile.write(kCustomSettingsSection, "MusicSum", count);
    for (size_t i = 0; i < file.paths.size(); ++i)
        profile.write(kCustomSettingsSection, ListKey(static_cast<int>(i)).c_str(), file.paths[i].c_str());
}

int PlayModeOf(const MusicListFile& file) {
    if (file.random) return RandomOrder;
    if (file.repeatAll) return RepeatAll;
    return RepeatOne;
}
