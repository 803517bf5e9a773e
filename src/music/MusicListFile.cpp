#include "music/MusicListFile.h"

#include "music/TrackChoice.h"
#include "settings/SettingsFile.h"

namespace {
const char* const S = kCustomSettingsSection;
const char* Flag(bool on) { return on ? "1" : "0"; }
}  // namespace

MusicListFile LoadMusicList(Profile& profile) {
    MusicListFile file;
    file.random = ProfileChecked(profile, S, "RandomMusic");
    file.repeatAll = ProfileChecked(profile, S, "CycMusic");
    file.repeatOne = ProfileChecked(profile, S, "RepeatMusic");
    file.ownMusic = ProfileChecked(profile, S, "OwnMusic");
    ReadPathList(profile, S, "MusicSum", "MusicList", kMaxStoredTracks, [&](const std::string& path) {
        file.paths.push_back(path);
        return true;
    });
    return file;
}

void SaveMusicList(Profile& profile, const MusicListFile& file) {
    ProfileSave save(profile);
    profile.write(S, "RandomMusic", Flag(file.random));
    profile.write(S, "CycMusic", Flag(file.repeatAll));
    profile.write(S, "RepeatMusic", Flag(file.repeatOne));
    profile.write(S, "OwnMusic", Flag(file.ownMusic));
    WritePathList(profile, S, "MusicSum", "MusicList", file.paths);
}

int PlayModeOf(const MusicListFile& file) {
    if (file.random) return RandomOrder;
    if (file.repeatAll) return RepeatAll;
    return RepeatOne;
}
