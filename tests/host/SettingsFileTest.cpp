#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "Random.h"
#include "backgrounds/CustomImages.h"
#include "music/MusicListFile.h"
#include "settings/AquariumSectionWriter.h"
#include "settings/MemoryProfile.h"
#include "settings/SettingsFile.h"

namespace {

const char* const kAqua = "Aquarium Settings";
const char* const kFish = "Fish Number";

// The key table with the text a missing file ends up holding for each key.
struct Expected {
    const char* key;
    const char* text;
};
const Expected kDefaults[27] = {
    {"Show Water", "0"},        {"Show Light", "0"},      {"Show Terra", "1"},
    {"FRONT GUDING", "1"},      {"FRONTCOLOR", "16777215"}, {"FRONT MANJIANBIAN", "0"},
    {"FRONT COLOR1", "16777215"}, {"FRONT COLOR2", "16777215"}, {"FRONT AUTOJIANBIAN", "0"},
    {"CHECK LOCKFORE", "0"},    {"LOCKFORE ROT", "0"},    {"BACK GUDING", "1"},
    {"BACKCOLOR", "0"},         {"BACK MANJIANBIAN", "0"}, {"BACK COLOR1", "65280"},
    {"BACK COLOR2", "0"},       {"BACK AUTOJIANBIAN", "0"}, {"CHECK LOCKBACK", "0"},
    {"LOCKBACK ROT", "0"},      {"YINLIANG", "32767.5"},  {"QIPAONUM", "100"},
    {"BACKGROUND", "0"},        {"FOGNONGDU", "25"},      {"LIGHTQIANGDU", "0"},
    {"CHECK VIEWS", "1"},       {"VIEWSLEFTRIGHT", "0"},  {"VIEWSNEARFAR", "0"},
};

// A file in which every key is present with its default text and every fish count is 1.
void fillComplete(MemoryProfile& p) {
    for (const Expected& e : kDefaults) p.set(kAqua, e.key, e.text);
    for (int i = 0; i < 20; ++i) p.set(kFish, FishKey(i).c_str(), "1");
}

// Keys of the writes to one section, with runs of the same key collapsed.
std::vector<std::string> writtenKeys(const MemoryProfile& p, const char* section) {
    std::vector<std::string> keys;
    for (const auto& w : p.writes())
        if (w.section == section && (keys.empty() || keys.back() != w.key)) keys.push_back(w.key);
    return keys;
}

// The texts written to one key, in order, separated by commas.
std::string writesOf(const MemoryProfile& p, const char* section, const char* key) {
    std::string values;
    for (const auto& w : p.writes())
        if (w.section == section && w.key == key) values += (values.empty() ? "" : ",") + w.value;
    return values;
}

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        gSettings = Settings{};
        currentViewLeftRight = currentViewNearFar = 0;
        nerith::resetRandForTesting();
    }
    void TearDown() override { gSettings = Settings{}; }
    MemoryProfile file;
};

TEST_F(SettingsFileTest, MissingFileGetsEveryDefaultWrittenInTableOrder) {
    LoadSettings(file);
    std::vector<std::string> keys;
    for (const Expected& e : kDefaults) keys.push_back(e.key);
    EXPECT_EQ(writtenKeys(file, kAqua), keys);
    for (const Expected& e : kDefaults) EXPECT_EQ(file.value(kAqua, e.key), e.text) << e.key;
    EXPECT_EQ(file.keyCount(kFish), 20u);  // drawn as OnlyAbsentFishKeysDrawRandomNumbers shows
    EXPECT_EQ(file.writes().back().key, "Fish19");  // the fish section after the aquarium's

    // The record holds what the file says: saved again, in table order, it gives the same texts.
    MemoryProfile saved;
    SaveAquariumSettings(saved, gSettings);
    EXPECT_EQ(writtenKeys(saved, kAqua), keys);
    for (const Expected& e : kDefaults) {  // the volume is held as an integer, the phases as floats
        const std::string key = e.key;
        const char* text = key == "YINLIANG" ? "32767" : key.find(" ROT") != std::string::npos ? "0.000000" : e.text;
        EXPECT_EQ(saved.value(kAqua, e.key), text) << e.key;
    }
}

TEST_F(SettingsFileTest, CompleteFileIsReadWithoutRewritesExceptTheForcedKeys) {
    fillComplete(file);
    file.set(kAqua, "VIEWSLEFTRIGHT", "1234");
    file.set(kAqua, "VIEWSNEARFAR", "567");
    LoadSettings(file);
    EXPECT_EQ(writtenKeys(file, kAqua), (std::vector<std::string>{"Show Water", "Show Light", "Show Terra",
                                                                  "BACK GUDING", "BACKCOLOR", "BACK AUTOJIANBIAN"}));
    EXPECT_TRUE(writtenKeys(file, kFish).empty());
    EXPECT_EQ(nerith::rand(), 41) << "a complete file must not draw random numbers";
    EXPECT_EQ(currentViewLeftRight, 1234);
    EXPECT_EQ(currentViewNearFar, 567);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(gSettings.fishCounts[i], 1);
}

// One key changed in an otherwise complete file: what the record holds afterwards (as a save
// writes it, or the fish count), what the file says, and what was written to that key.
TEST_F(SettingsFileTest, OneKeyInACompleteFile) {
    const struct {
        const char *section, *key, *text, *loaded, *fileAfter, *writes;
    } cases[] = {
        // Forced keys are rewritten whatever the file holds, with one write.
        {kAqua, "Show Water", "1", "0", "0", "0"},         {kAqua, "Show Light", "1", "0", "0", "0"},
        {kAqua, "Show Terra", "0", "1", "1", "1"},         {kAqua, "BACK GUDING", "0", "1", "1", "1"},
        {kAqua, "BACKCOLOR", "255", "0", "0", "0"},        {kAqua, "BACK AUTOJIANBIAN", "1", "0", "0", "0"},
        // Fog and light outside their ranges are replaced; non-numeric text reads as 0, in range.
        {kAqua, "FOGNONGDU", "26", "25", "25", "25"},      {kAqua, "FOGNONGDU", "-1", "25", "25", "25"},
        {kAqua, "FOGNONGDU", "0", "0", "0", ""},           {kAqua, "FOGNONGDU", "fog", "0", "fog", ""},
        {kAqua, "LIGHTQIANGDU", "101", "0", "0", "0"},     {kAqua, "LIGHTQIANGDU", "-1", "0", "0", "0"},
        {kAqua, "LIGHTQIANGDU", "100", "100", "100", ""},
        // Values parse as integers; odd text is left in the file; empty counts as absent.
        {kAqua, "LOCKFORE ROT", "123.400002", "123.000000", "123.400002", ""},
        {kAqua, "LOCKBACK ROT", "-7.9", "-7.000000", "-7.9", ""},
        {kAqua, "FRONTCOLOR", "abc", "0", "abc", ""},      {kAqua, "YINLIANG", "32767.5", "32767", "32767.5", ""},
        {kAqua, "QIPAONUM", "", "100", "100", "100"},      {kAqua, "BACK COLOR2", "-1", "-1", "-1", ""},
        {kAqua, "BACK COLOR1", "-2147483648", "-2147483648", "-2147483648", ""},
        {kAqua, "LOCKBACK ROT", "-0.500000", "0.000000", "-0.500000", ""},
        // Fish counts are clamped in memory only.
        {kFish, "Fish4", "-2", "-2", "-2", ""},            {kFish, "Fish6", "many", "0", "many", ""},
        {kFish, "Fish5", "20", "20", "20", ""}, {kFish, "Fish7", "99999999999", "20", "99999999999", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.key) + " = " + c.text);
        MemoryProfile p;
        fillComplete(p);
        p.set(c.section, c.key, c.text);
        gSettings = Settings{};
        LoadSettings(p);
        MemoryProfile saved;
        SaveAquariumSettings(saved, gSettings);
        const std::string loaded = c.section == kFish ? std::to_string(gSettings.fishCounts[std::atoi(c.key + 4)])
                                                      : saved.value(kAqua, c.key);
        EXPECT_EQ(loaded, c.loaded);
        EXPECT_EQ(p.value(c.section, c.key), c.fileAfter);
        EXPECT_EQ(writesOf(p, c.section, c.key), c.writes);
    }
}

TEST_F(SettingsFileTest, OnlyAbsentFishKeysDrawRandomNumbers) {
    fillComplete(file);
    const int ids[] = {1, 2, 7, 8, 9, 19};
    std::vector<std::string> absent;
    for (int i : ids) {
        absent.push_back(FishKey(i));
        file.set(kFish, absent.back().c_str(), "");
    }
    file.set(kFish, "Fish0", "4");
    LoadSettings(file);
    EXPECT_EQ(writtenKeys(file, kFish), absent);
    for (int i : ids) {
        EXPECT_TRUE(gSettings.fishCounts[i] == 0 || gSettings.fishCounts[i] == 1) << i;
        EXPECT_EQ(file.value(kFish, FishKey(i).c_str()), std::to_string(gSettings.fishCounts[i]));
    }
    EXPECT_EQ(gSettings.fishCounts[0], 4);
    EXPECT_EQ(gSettings.fishCounts[3], 1);
}

// The formats at their edges that no load above leads to. (Bubbles, volume, fog, the front colour
// and the picture variant are written by the settings dialog in its tests and end to end.)
TEST_F(SettingsFileTest, SaveWritesEveryFieldInItsFormat) {
    Settings s{};
    s.showTerra = 5;  // any non-zero flag is "1"
    s.frontColor2 = 0xFFFFFFFF;
    s.lockFrontPhase = 123.4f;
    s.lockBackPhase = -0.5f;
    s.viewLeftRight = 7000;
    for (int i = 0; i < 20; ++i) s.fishCounts[i] = 9;
    SaveAquariumSettings(file, s);
    const Expected saved[] = {{"Show Terra", "1"}, {"FRONT COLOR2", "-1"}, {"LOCKFORE ROT", "123.400002"},
                              {"LOCKBACK ROT", "-0.500000"}, {"VIEWSLEFTRIGHT", "7000"}};
    for (const Expected& e : saved) EXPECT_EQ(file.value(kAqua, e.key), e.text) << e.key;
    EXPECT_EQ(file.keyCount(kFish), 0u);
}

TEST_F(SettingsFileTest, StoreSettingsKeepsTheFishCountsAndSetFishCountsClampsOnlyThem) {
    int counts[20];
    for (int i = 0; i < 20; ++i) gSettings.fishCounts[i] = counts[i] = i;
    Settings s{};
    s.viewNearFar = 99;
    for (int i = 0; i < 20; ++i) s.fishCounts[i] = 7;
    StoreSettings(s);
    EXPECT_EQ(gSettings.viewNearFar, 99);
    EXPECT_EQ(gSettings.fishCounts[3], 3);
    counts[0] = 21;  // (a negative count stays: FishRosterTest)
    counts[1] = INT_MAX;
    SetFishCounts(counts);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(gSettings.fishCounts[i], i < 2 ? 20 : i) << i;
    EXPECT_EQ(gSettings.viewNearFar, 99);
}

// Each of these writes its keys as one save, so the real file is looked over once for all of them.
TEST_F(SettingsFileTest, EverySaveOfASectionIsOneSave) {
    const int counts[20] = {};
    AquariumSectionWriter writer;
    const std::function<void(Profile&)> saves[] = {
        [](Profile& p) { LoadSettings(p); },
        [](Profile& p) { SaveAquariumSettings(p, gSettings); },
        [&](Profile& p) { writer.Save(p, gSettings); },
        [&](Profile& p) { WriteFishNumber(p, counts); },
        [](Profile& p) { SaveMusicList(p, MusicListFile{false, true, false, true, {"C:\\a.wav", "", "C:\\c.mp3"}}); },
        [](Profile& p) { backgrounds::SaveCustomImages(p, backgrounds::CustomImages{true, false, false, true, "5", {"C:\\x.jpg"}}); },
    };
    for (const auto& save : saves) {
        MemoryProfile p;
        save(p);
        EXPECT_GT(p.writes().size(), 1u);
        EXPECT_EQ(p.saves(), 1);
    }
}

// The numbered lists of music and pictures: what a stored list hands on, in order ("" is a gap).
TEST(PathList, EveryStoredEntryWithinTheCountComesBack) {
    const struct {
        const char* count;
        std::vector<std::pair<const char*, const char*>> stored;  // key, value
        int limit, acceptFirst;
        std::vector<std::string> handed;
    } cases[] = {
        // A missing or empty entry inside the count is a gap; the entries after it still come.
        {"3", {{"L0", "a"}, {"L2", "c"}}, 100, 100, {"a", "", "c"}},
        {"4", {{"L1", ""}, {"L3", "d"}}, 100, 100, {"", "", "", "d"}},
        // Nothing comes after the last stored entry, however large the count.
        {"100000", {{"L0", "a"}, {"L1", "b"}, {"L5", ""}}, 100000, 100, {"a", "b"}},
        {"2147483647", {{"L0", "a"}, {"L4", "e"}}, 100000, 100, {"a", "", "", "", "e"}},
        // The count and the limit bound the reading; a key the writer would not spell is no entry.
        {"2", {{"L0", "a"}, {"L1", "b"}, {"L2", "c"}}, 100, 100, {"a", "b"}},
        {"5", {{"L0", "a"}, {"L4", "e"}}, 3, 100, {"a"}},
        {"3", {{"l0", "a"}, {"L01", "x"}, {"L+2", "y"}, {"L", "z"}, {"L2", "c"}}, 100, 100, {"a", "", "c"}},
        // `add` refusing one ends the reading after it.
        {"12", {{"L0", "a"}, {"L1", "b"}, {"L3", "d"}, {"L4", "e"}}, 100, 2, {"a", "b", ""}},
    };
    for (const auto& c : cases) {
        MemoryProfile p;
        p.set("S", "Sum", c.count);
        std::string stored;
        for (const auto& kv : c.stored) {
            p.set("S", kv.first, kv.second);
            stored += std::string(" ") + kv.first + "=" + kv.second;
        }
        std::vector<std::string> handed;
        ReadPathList(p, "S", "Sum", "L", c.limit, [&](const std::string& path) {
            handed.push_back(path);
            return static_cast<int>(handed.size()) <= c.acceptFirst;
        });
        EXPECT_EQ(handed, c.handed) << "Sum=" << c.count << stored;
        EXPECT_LE(p.reads().size(), 2u) << "Sum=" << c.count << stored;  // the count and the section
    }
}

TEST(ParseProfileInt, FollowsAtoiAndSaturates) {
    const struct {
        const char* text;
        int value;
    } cases[] = {{"32767.5", 32767}, {"  -12x", -12}, {"+7", 7}, {"abc", 0}, {"", 0}, {"-", 0}, {"1 2", 1},
                 {"2147483647", INT_MAX}, {"-2147483648", INT_MIN}, {"2147483648", INT_MAX},
                 {"-2147483649", INT_MIN}, {"999999999999999999999999", INT_MAX}};
    for (const auto& c : cases) EXPECT_EQ(ParseProfileInt(c.text), c.value) << c.text;
}

TEST(MemoryProfile, BehavesLikeAPrivateProfileFile) {
    MemoryProfile p;
    EXPECT_EQ(p.read("S", "K"), "");
    p.write("Aquarium Settings", "YINLIANG", "5");
    EXPECT_EQ(p.read("aquarium settings", "yinliang"), "5");
    EXPECT_EQ(p.keyCount("AQUARIUM SETTINGS"), 1u);
    p.set("S", "Long", std::string(40000, 'x'));  // as long as a Windows profile value may be
    EXPECT_EQ(p.read("S", "Long").size(), kMaxProfileValue);
    p.write("S", "Empty", "");
    EXPECT_TRUE(p.has("S", "Empty"));
    EXPECT_EQ(p.read("S", "Empty"), "");
}

}  // namespace
