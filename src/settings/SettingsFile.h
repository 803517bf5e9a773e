#pragma once
// Loading and saving the sections "Aquarium Settings" and "Fish Number" of PondelSet.ini, and the
// operations that replace the process-wide Settings record.
#include <functional>
#include <string>
#include <vector>

#include "settings/Profile.h"
#include "settings/Settings.h"

// The 27 keys of "Aquarium Settings" in load and save order.
extern const char* const kAquariumKeys[27];

// Integer parsing as atoi does it (leading blanks, optional sign, leading decimal digits, anything
// else ends the number; no digits gives 0), except that values beyond the int range saturate at
// INT_MIN / INT_MAX instead of being undefined.
int ParseProfileInt(const std::string& text);

// The check boxes of the custom sections: "1" is on, any other value off.
bool ProfileChecked(Profile& profile, const char* section, const char* key);

// A numbered list of paths as "Custom Settings" and "Custom Images" keep them: the count under
// `countKey`, the entries under `prefix` followed by 0, 1, ... Writing stores the count and every
// entry, as one save. Reading hands the entries below min(count, limit) to `add` in order, and
// stops once `add` returns false. An entry that is missing or empty before a later stored one is
// a gap: it is handed on as an empty path and the entries after it follow. Only the entries the
// file holds are read, so a count far beyond them costs nothing and adds nothing after the last.
void WritePathList(Profile& profile, const char* section, const char* countKey, const char* prefix,
                   const std::vector<std::string>& paths);
void ReadPathList(Profile& profile, const char* section, const char* countKey, const char* prefix, int limit,
                  const std::function<bool(const std::string&)>& add);

// Fills gSettings, currentViewLeftRight and currentViewNearFar from the file, writing back the
// defaults of absent keys, the forced values and the replacements for out-of-range fog and light
// values; absent fish counts become a random 0 or 1 (written back). Called once, by the view's
// scene set-up.
void LoadSettings(Profile& profile);
void LoadSettings();  // with AppProfile()

// Replaces every field of gSettings except fishCounts with the given record's.
void StoreSettings(const Settings& settings);

// Copies 20 counts into gSettings.fishCounts, lowering values above 20 to 20.
void SetFishCounts(const int counts[20]);

// Writes all 27 keys of "Aquarium Settings" in load order: booleans "1"/"0", colours "%ld" (signed
// decimal), the phases "LOCKFORE ROT"/"LOCKBACK ROT" from lockFrontPhase/lockBackPhase with "%f",
// the other integers "%d". fishCounts is not written.
void SaveAquariumSettings(Profile& profile, const Settings& settings);
void SaveAquariumSettings(const Settings& settings);  // with AppProfile()

// The key of species i in "Fish Number": "Fish" followed by i in decimal.
std::string FishKey(int species);

// Reads Fish0..Fish19 with atoi rules; a missing or non-numeric key gives 0. Nothing is clamped.
void ReadFishNumber(Profile& profile, int counts[20]);

// Writes Fish0..Fish19 in order, each count with "%d".
void WriteFishNumber(Profile& profile, const int counts[20]);
