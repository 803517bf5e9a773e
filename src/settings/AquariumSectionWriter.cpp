#include "settings/AquariumSectionWriter.h"

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "settings/SettingsFile.h"

namespace {

// Takes the writes of SaveAquariumSettings instead of a file, so the texts have exactly the
// formats the section always had.
class Capture : public Profile {
public:
    explicit Capture(std::string* texts) : texts_(texts) {}
    std::string read(const char*, const char*) override { return std::string(); }
    std::vector<std::pair<std::string, std::string>> entries(const char*) override { return {}; }
    void write(const char*, const char* key, const char* value) override {
        for (int i = 0; i < 27; ++i)
            if (std::strcmp(key, kAquariumKeys[i]) == 0) texts_[i] = value ? value : "";
    }

private:
    std::string* texts_;
};

}  // namespace

void FormatAquariumSection(const Settings& values, std::string texts[27]) {
    Capture capture(texts);
    SaveAquariumSettings(capture, values);
}

int AquariumSectionWriter::Save(Profile& profile, const Settings& values) {
    std::string texts[27];
    FormatAquariumSection(values, texts);
    ProfileSave save(profile);
    int written = 0;
    for (int i = 0; i < 27; ++i) {
        if (saved_ && texts[i] == last_[i]) continue;
        profile.write(kAquariumSection, kAquariumKeys[i], texts[i].c_str());
        last_[i] = texts[i];
        ++written;
    }
    saved_ = true;
    return written;
}

float ParsePhase(const std::string& text) {
    const double value = std::strtod(text.c_str(), nullptr);
    if (!std::isfinite(value) || std::fabs(value) > FLT_MAX) return 0.0f;
    return static_cast<float>(value);
}
