#pragma once
// Saving "Aquarium Settings" from the settings dialog without rewriting what did not change, and
// the dialog's tolerant reading of the two phase keys.
#include <string>

#include "settings/Profile.h"
#include "settings/Settings.h"

// The 27 texts SaveAquariumSettings would write for `values`, in key order (kAquariumKeys).
void FormatAquariumSection(const Settings& values, std::string texts[27]);

// Writes the section key by key, skipping every key whose text equals what this writer wrote for
// it last time. The first save after construction (or Reset) writes all 27 keys, so every key
// takes the dialog's own format once. A rewrite of the file is where a power cut or a kill can
// leave it truncated; keys that did not change are not rewritten at all.
class AquariumSectionWriter {
public:
    // Returns how many keys were written.
    int Save(Profile& profile, const Settings& values);
    // The next save writes every key again.
    void Reset() { saved_ = false; }

private:
    std::string last_[27];
    bool saved_ = false;
};

// A phase value as atof reads it, except that text giving no finite float value ("nan", "inf",
// "1e39", a thousand digits) reads as 0: the phase is then written back as "0.000000" rather than
// as text no reader can use.
float ParsePhase(const std::string& text);
