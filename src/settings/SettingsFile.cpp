#include "settings/SettingsFile.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "Random.h"

const char* const kAquariumKeys[27] = {
    "Show Water",        "Show Light",     "Show Terra",      "FRONT GUDING",
    "FRONTCOLOR",        "FRONT MANJIANBIAN", "FRONT COLOR1", "FRONT COLOR2",
    "FRONT AUTOJIANBIAN", "CHECK LOCKFORE", "LOCKFORE ROT",    "BACK GUDING",
    "BACKCOLOR",         "BACK MANJIANBIAN", "BACK COLOR1",   "BACK COLOR2",
    "BACK AUTOJIANBIAN", "CHECK LOCKBACK", "LOCKBACK ROT",    "YINLIANG",
    "QIPAONUM",          "BACKGROUND",     "FOGNONGDU",       "LIGHTQIANGDU",
    "CHECK VIEWS",       "VIEWSLEFTRIGHT", "VIEWSNEARFAR",
};

int ParseProfileInt(const std::string& text) {
    const char* p = text.c_str();
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\v' || *p == '\f' || *p == '\r') ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = (*p++ == '-');
    long long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (value <= static_cast<long long>(INT_MAX) + 1) value = value * 10 + (*p - '0');
    }
    if (negative) return value > static_cast<long long>(INT_MAX) + 1 ? INT_MIN : static_cast<int>(-value);
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

bool ProfileChecked(Profile& profile, const char* section, const char* key) {
    return ParseProfileInt(profile.read(section, key)) == 1;
}

void WritePathList(Profile& profile, const char* section, const char* countKey, const char* prefix,
                   const std::vector<std::string>& paths) {
    ProfileSave save(profile);
    profile.write(section, countKey, std::to_string(paths.size()).c_str());
    for (std::size_t i = 0; i < paths.size(); ++i)
        profile.write(section, (prefix + std::to_string(i)).c_str(), paths[i].c_str());
}

namespace {

// The index of a list entry's key: `prefix` (in any case) followed by a decimal number as the
// writer spells it (no sign, no leading zero); -1 for any other key.
int EntryIndex(const std::string& key, const char* prefix) {
    const std::size_t n = std::strlen(prefix);
    if (key.size() <= n || key.size() > n + 9) return -1;
    for (std::size_t i = 0; i < n; ++i)
        if (std::tolower(static_cast<unsigned char>(key[i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
            return -1;
    if (key[n] == '0' && key.size() > n + 1) return -1;
    int index = 0;
    for (std::size_t i = n; i < key.size(); ++i) {
        if (key[i] < '0' || key[i] > '9') return -1;
        index = index * 10 + (key[i] - '0');
    }
    return index;
}

}  // namespace

void ReadPathList(Profile& profile, const char* section, const char* countKey, const char* prefix, int limit,
                  const std::function<bool(const std::string&)>& add) {
    const int stored = ParseProfileInt(profile.read(section, countKey));
    const int count = stored < limit ? stored : limit;
    if (count <= 0) return;
    // The whole section in one read: a list of a thousand entries is one look at the file.
    std::vector<std::pair<int, std::string>> held;
    for (auto& entry : profile.entries(section)) {
        const int index = EntryIndex(entry.first, prefix);
        if (index >= 0 && index < count && !entry.second.empty()) held.emplace_back(index, std::move(entry.second));
    }
    std::stable_sort(held.begin(), held.end(),
                     [](const std::pair<int, std::string>& a, const std::pair<int, std::string>& b) { return a.first < b.first; });
    int next = 0;  // the first index not handed on yet
    for (const auto& entry : held) {
        if (entry.first < next) continue;  // the same key again
        for (; next < entry.first; ++next)
            if (!add(std::string())) return;  // an entry missing or empty: a gap
        if (!add(entry.second)) return;
        next = entry.first + 1;
    }
}

namespace {

const char* const S = kAquariumSection;

// Reads a key; an absent key gets `absentText` written and parsed.
int readOr(Profile& p, const char* key, const char* absentText) {
    std::string text = p.read(S, key);
    if (text.empty()) {
        p.write(S, key, absentText);
        text = absentText;
    }
    return ParseProfileInt(text);
}

// Reads a key like readOr, then overwrites it with the forced value, which is the one used.
int readForced(Profile& p, const char* key, const char* absentText, const char* forcedText) {
    readOr(p, key, absentText);
    p.write(S, key, forcedText);
    return ParseProfileInt(forcedText);
}

// Accepts a present value within [low, high]; anything else is replaced by `fallbackText`.
int readInRange(Profile& p, const char* key, int low, int high, const char* fallbackText) {
    std::string text = p.read(S, key);
    if (!text.empty()) {
        int value = ParseProfileInt(text);
        if (value >= low && value <= high) return value;
    }
    p.write(S, key, fallbackText);
    return ParseProfileInt(fallbackText);
}

COLORREF colour(int value) { return static_cast<COLORREF>(static_cast<std::uint32_t>(value)); }

void writeInt(Profile& p, const char* key, int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    p.write(S, key, text);
}

void writeBool(Profile& p, const char* key, int value) { p.write(S, key, value ? "1" : "0"); }

void writeColour(Profile& p, const char* key, COLORREF value) {
    char text[24];
    std::snprintf(text, sizeof text, "%ld",
                  static_cast<long>(static_cast<std::int32_t>(static_cast<std::uint32_t>(value))));
    p.write(S, key, text);
}

void writePhase(Profile& p, const char* key, float value) {
    char text[64];
    std::snprintf(text, sizeof text, "%f", static_cast<double>(value));
    p.write(S, key, text);
}

}  // namespace

void LoadSettings(Profile& p) {
    ProfileSave save(p);  // the defaults and forced values go to the file as one save
    Settings& s = gSettings;
    s.showWater = readForced(p, "Show Water", "1", "0");
    s.showLight = readForced(p, "Show Light", "1", "0");
    s.showTerra = readForced(p, "Show Terra", "1", "1");
    s.frontFixed = readOr(p, "FRONT GUDING", "1");
    s.frontColor = colour(readOr(p, "FRONTCOLOR", "16777215"));
    s.frontGradual = readOr(p, "FRONT MANJIANBIAN", "0");
    s.frontColor1 = colour(readOr(p, "FRONT COLOR1", "16777215"));
    s.frontColor2 = colour(readOr(p, "FRONT COLOR2", "16777215"));
    s.frontAuto = readOr(p, "FRONT AUTOJIANBIAN", "0");
    s.lockFront = readOr(p, "CHECK LOCKFORE", "0");
    s.lockFrontPhase = static_cast<float>(readOr(p, "LOCKFORE ROT", "0"));
    s.backFixed = readForced(p, "BACK GUDING", "0", "1");
    s.backColor = colour(readForced(p, "BACKCOLOR", "0", "0"));
    s.backGradual = readOr(p, "BACK MANJIANBIAN", "0");
    s.backColor1 = colour(readOr(p, "BACK COLOR1", "65280"));
    s.backColor2 = colour(readOr(p, "BACK COLOR2", "0"));
    s.backAuto = readForced(p, "BACK AUTOJIANBIAN", "1", "0");
    s.lockBack = readOr(p, "CHECK LOCKBACK", "0");
    s.lockBackPhase = static_cast<float>(readOr(p, "LOCKBACK ROT", "0"));
    s.volume = readOr(p, "YINLIANG", "32767.5");
    s.bubbleSetting = readOr(p, "QIPAONUM", "100");
    s.backgroundVariant = readOr(p, "BACKGROUND", "0");
    s.fogDensity = readInRange(p, "FOGNONGDU", 0, 25, "25");
    s.lightIntensity = readInRange(p, "LIGHTQIANGDU", 0, 100, "0");
    s.autoViews = readOr(p, "CHECK VIEWS", "1");
    s.viewLeftRight = readOr(p, "VIEWSLEFTRIGHT", "0");
    s.viewNearFar = readOr(p, "VIEWSNEARFAR", "0");
    currentViewLeftRight = s.viewLeftRight;
    currentViewNearFar = s.viewNearFar;

    for (int i = 0; i < 20; ++i) {
        std::string key = FishKey(i);
        std::string text = p.read(kFishNumberSection, key.c_str());
        int count;
        if (!text.empty()) {
            count = ParseProfileInt(text);
        } else {
            count = nerith::rand() % 2;
            char written[16];
            std::snprintf(written, sizeof written, "%d", count);
            p.write(kFishNumberSection, key.c_str(), written);
        }
        s.fishCounts[i] = count > 20 ? 20 : count;
    }
}

void LoadSettings() { LoadSettings(AppProfile()); }

void StoreSettings(const Settings& settings) {
    int counts[20];
    for (int i = 0; i < 20; ++i) counts[i] = gSettings.fishCounts[i];
    gSettings = settings;
    for (int i = 0; i < 20; ++i) gSettings.fishCounts[i] = counts[i];
}

void SetFishCounts(const int counts[20]) {
    for (int i = 0; i < 20; ++i) gSettings.fishCounts[i] = counts[i] > 20 ? 20 : counts[i];
}

void SaveAquariumSettings(Profile& p, const Settings& s) {
    ProfileSave save(p);
    writeBool(p, "Show Water", s.showWater);
    writeBool(p, "Show Light", s.showLight);
    writeBool(p, "Show Terra", s.showTerra);
    writeBool(p, "FRONT GUDING", s.frontFixed);
    writeColour(p, "FRONTCOLOR", s.frontColor);
    writeBool(p, "FRONT MANJIANBIAN", s.frontGradual);
    writeColour(p, "FRONT COLOR1", s.frontColor1);
    writeColour(p, "FRONT COLOR2", s.frontColor2);
    writeBool(p, "FRONT AUTOJIANBIAN", s.frontAuto);
    writeBool(p, "CHECK LOCKFORE", s.lockFront);
    writePhase(p, "LOCKFORE ROT", s.lockFrontPhase);
    writeBool(p, "BACK GUDING", s.backFixed);
    writeColour(p, "BACKCOLOR", s.backColor);
    writeBool(p, "BACK MANJIANBIAN", s.backGradual);
    writeColour(p, "BACK COLOR1", s.backColor1);
    writeColour(p, "BACK COLOR2", s.backColor2);
    writeBool(p, "BACK AUTOJIANBIAN", s.backAuto);
    writeBool(p, "CHECK LOCKBACK", s.lockBack);
    writePhase(p, "LOCKBACK ROT", s.lockBackPhase);
    writeInt(p, "YINLIANG", s.volume);
    writeInt(p, "QIPAONUM", s.bubbleSetting);
    writeInt(p, "BACKGROUND", s.backgroundVariant);
    writeInt(p, "FOGNONGDU", s.fogDensity);
    writeInt(p, "LIGHTQIANGDU", s.lightIntensity);
    writeBool(p, "CHECK VIEWS", s.autoViews);
    writeInt(p, "VIEWSLEFTRIGHT", s.viewLeftRight);
    writeInt(p, "VIEWSNEARFAR", s.viewNearFar);
}

void SaveAquariumSettings(const Settings& settings) { SaveAquariumSettings(AppProfile(), settings); }

std::string FishKey(int species) { return "Fish" + std::to_string(species); }

void ReadFishNumber(Profile& p, int counts[20]) {
    for (int i = 0; i < 20; ++i) counts[i] = ParseProfileInt(p.read(kFishNumberSection, FishKey(i).c_str()));
}

void WriteFishNumber(Profile& p, const int counts[20]) {
    ProfileSave save(p);
    for (int i = 0; i < 20; ++i) {
        char text[16];
        std::snprintf(text, sizeof text, "%d", counts[i]);
        p.write(kFishNumberSection, FishKey(i).c_str(), text);
    }
}

