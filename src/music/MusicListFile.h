#pragma once
// The section "Custom Settings" of the settings file: the play-mode boxes, the own-music switch
// and the user's music list.
#include <string>
#include <vector>

#include "settings/Profile.h"

struct MusicListFile {
    bool random = false;     // "RandomMusic"
    bool repeatAll = false;  // "CycMusic"
    bool repeatOne = false;  // "RepeatMusic"
    bool ownMusic = false;   // "OwnMusic"
    std::vector<std::string> paths;  // "MusicSum", "MusicList0", "MusicList1", ...
};

// More entries than this are never read, whatever "MusicSum" claims.
constexpr int kMaxStoredTracks = 100000;

// Reads the section. A box counts as checked only for exactly 1. The list holds the "MusicSum"
// entries (no more than kMaxStoredTracks) up to the last one stored; an entry missing or empty
// before it is an empty path (an empty row), so nothing after a gap is lost. A hand-edited huge
// count costs no more than the entries that really exist.
MusicListFile LoadMusicList(Profile& profile);

// Writes the section in its fixed key order, as one save: the four boxes as "1" or "0",
// "MusicSum", then one "MusicList<i>" per entry.
void SaveMusicList(Profile& profile, const MusicListFile& file);

// The play mode the boxes give: the first checked of Random, Repeat All, Repeat One; Repeat One
// when none is checked.
int PlayModeOf(const MusicListFile& file);
