#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "Random.h"
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

std::vector<std::string> writesOf(const MemoryProfile& p, const char* key) {
    std::vector<std::string> values;
    for (const auto& w : p.writes())
        if (w.section == kAqua && w.key == key) values.push_back(w.value);
    return values;
}

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        gSettings = Settings{};
        currentViewLeftRight = currentViewNearFar = 0;
        nerith::resetRandForTesting();
    }
    void TearDown() override {
        SetAppProfile(nullptr);
        gSettings = Settings{};
    }
    MemoryProfile file;
};

TEST_F(SettingsFileTest, KeyTableIsTheLoadAndSaveOrder) {
    for (int i = 0; i < 27; ++i) EXPECT_STREQ(kAquariumKeys[i], kDefaults[i].key) << i;

    LoadSettings(file);
    std::vector<std::string> reads;
    for (const auto& r : file.reads()) reads.push_back(r.key);
    ASSERT_EQ(reads.size(), 47u);
    for (int i = 0; i < 27; ++i) EXPECT_EQ(reads[i], kAquariumKeys[i]);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(reads[27 + i], "Fish" + std::to_string(i));
    EXPECT_EQ(file.reads()[26].section, kAqua);
    EXPECT_EQ(file.reads()[27].section, kFish);

    file.clearLog();
    SaveAquariumSettings(file, gSettings);
    ASSERT_EQ(file.writes().size(), 27u);
    for (int i = 0; i < 27; ++i) {
        EXPECT_EQ(file.writes()[i].section, kAqua);
        EXPECT_EQ(file.writes()[i].key, kAquariumKeys[i]);
    }
}

TEST_F(SettingsFileTest, MissingFileGetsEveryDefaultWritten) {
    LoadSettings(file);

    EXPECT_EQ(file.keyCount(kAqua), 27u);
    for (const Expected& e : kDefaults) EXPECT_EQ(file.value(kAqua, e.key), e.text) << e.key;
    EXPECT_EQ(file.keyCount(kFish), 20u);

    // Aquarium keys first, in table order, then the fish counts.
    std::vector<std::string> keys = writtenKeys(file, kAqua);
    ASSERT_EQ(keys.size(), 27u);
    for (int i = 0; i < 27; ++i) EXPECT_EQ(keys[i], kAquariumKeys[i]);
    // Forced keys whose default differs from the forced value get both writes, forced last.
    EXPECT_EQ(writesOf(file, "Show Water"), (std::vector<std::string>{"1", "0"}));
    EXPECT_EQ(writesOf(file, "Show Light"), (std::vector<std::string>{"1", "0"}));
    EXPECT_EQ(writesOf(file, "BACK GUDING"), (std::vector<std::string>{"0", "1"}));
    EXPECT_EQ(writesOf(file, "BACK AUTOJIANBIAN"), (std::vector<std::string>{"1", "0"}));
    EXPECT_EQ(writesOf(file, "FOGNONGDU"), (std::vector<std::string>{"25"}));
    EXPECT_EQ(writesOf(file, "LIGHTQIANGDU"), (std::vector<std::string>{"0"}));
    EXPECT_EQ(writesOf(file, "YINLIANG"), (std::vector<std::string>{"32767.5"}));
    const auto& all = file.writes();
    for (int i = 0; i < 20; ++i) {
        const auto& w = all[all.size() - 20 + i];
        EXPECT_EQ(w.section, kFish);
        EXPECT_EQ(w.key, "Fish" + std::to_string(i));
    }

    // The record holds what the file says: saved again it gives the same texts.
    MemoryProfile saved;
    SaveAquariumSettings(saved, gSettings);
    for (const Expected& e : kDefaults) {  // the volume is held as an integer, the phases as floats
        const std::string key = e.key;
        const char* text = key == "YINLIANG" ? "32767" : key.find(" ROT") != std::string::npos ? "0.000000" : e.text;
        EXPECT_EQ(saved.value(kAqua, e.key), text) << e.key;
    }
    const Settings& s = gSettings;
    // Every fish count is the next draw modulo 2, in key order, written as it was used.
    nerith::resetRandForTesting();
    for (int i = 0; i < 20; ++i) {
        int expected = nerith::rand() % 2;
        EXPECT_EQ(s.fishCounts[i], expected) << i;
        EXPECT_EQ(file.value(kFish, FishKey(i).c_str()), std::to_string(expected));
    }
}

TEST_F(SettingsFileTest, CompleteFileIsReadWithoutRewritesExceptTheForcedKeys) {
    fillComplete(file);
    file.set(kAqua, "VIEWSLEFTRIGHT", "1234");
    file.set(kAqua, "VIEWSNEARFAR", "567");
    file.set(kAqua, "BACK COLOR2", "-1");
    LoadSettings(file);

    std::vector<std::string> keys = writtenKeys(file, kAqua);
    EXPECT_EQ(keys, (std::vector<std::string>{"Show Water", "Show Light", "Show Terra", "BACK GUDING",
                                              "BACKCOLOR", "BACK AUTOJIANBIAN"}));
    EXPECT_TRUE(writtenKeys(file, kFish).empty());
    EXPECT_EQ(nerith::rand(), 41) << "a complete file must not draw random numbers";

    EXPECT_EQ(gSettings.viewLeftRight, 1234);
    EXPECT_EQ(gSettings.viewNearFar, 567);
    EXPECT_EQ(currentViewLeftRight, 1234);
    EXPECT_EQ(currentViewNearFar, 567);
    EXPECT_EQ(gSettings.backColor2, 0xFFFFFFFFu);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(gSettings.fishCounts[i], 1);
}

TEST_F(SettingsFileTest, ForcedKeysAreRewrittenWhateverTheFileHolds) {
    const Expected forced[] = {{"Show Water", "1"}, {"Show Light", "1"}, {"Show Terra", "0"},
                               {"BACK GUDING", "0"}, {"BACKCOLOR", "255"}, {"BACK AUTOJIANBIAN", "1"}};
    fillComplete(file);
    for (const Expected& f : forced) file.set(kAqua, f.key, f.text);
    LoadSettings(file);
    const char* const after[] = {"0", "0", "1", "1", "0", "0"};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(file.value(kAqua, forced[i].key), after[i]) << forced[i].key;
    // A present key gets only the forced write.
    EXPECT_EQ(writesOf(file, "Show Water"), (std::vector<std::string>{"0"}));
    EXPECT_EQ(gSettings.showWater + gSettings.showLight + gSettings.backAuto + gSettings.backColor, 0u);
    EXPECT_EQ(gSettings.showTerra + gSettings.backFixed, 2);
}

TEST_F(SettingsFileTest, FogAndLightOutsideTheirRangesAreReplaced) {
    struct Case {
        const char* key;
        const char* text;
        const char* fileAfter;
        int loaded;
        bool rewritten;
    };
    const Case cases[] = {
        {"FOGNONGDU", "26", "25", 25, true},       {"FOGNONGDU", "-1", "25", 25, true},
        {"FOGNONGDU", "0", "0", 0, false},         {"FOGNONGDU", "25", "25", 25, false},
        {"FOGNONGDU", "fog", "fog", 0, false},     // non-numeric reads as 0, which is in range
        {"LIGHTQIANGDU", "101", "0", 0, true},     {"LIGHTQIANGDU", "-1", "0", 0, true},
        {"LIGHTQIANGDU", "100", "100", 100, false}, {"LIGHTQIANGDU", "37", "37", 37, false},
    };
    for (const Case& c : cases) {
        MemoryProfile p;
        fillComplete(p);
        p.set(kAqua, c.key, c.text);
        gSettings = Settings{};
        LoadSettings(p);
        SCOPED_TRACE(std::string(c.key) + " = " + c.text);
        int loaded = std::string(c.key) == "FOGNONGDU" ? gSettings.fogDensity : gSettings.lightIntensity;
        EXPECT_EQ(loaded, c.loaded);
        EXPECT_EQ(p.value(kAqua, c.key), c.fileAfter);
        EXPECT_EQ(writesOf(p, c.key).size(), c.rewritten ? 1u : 0u);
    }
}

TEST_F(SettingsFileTest, ValuesParseAsIntegersAndOddTextIsLeftInTheFile) {
    fillComplete(file);
    file.set(kAqua, "LOCKFORE ROT", "123.400002");
    file.set(kAqua, "LOCKBACK ROT", "-7.9");
    file.set(kAqua, "FRONTCOLOR", "abc");
    file.set(kAqua, "YINLIANG", "32767.5");
    file.set(kAqua, "QIPAONUM", "");  // empty counts as absent
    LoadSettings(file);

    EXPECT_EQ(gSettings.lockFrontPhase, 123.0f);
    EXPECT_EQ(gSettings.lockBackPhase, -7.0f);
    EXPECT_EQ(gSettings.frontColor, 0u);
    EXPECT_EQ(gSettings.volume, 32767);
    EXPECT_EQ(gSettings.bubbleSetting, 100);
    EXPECT_EQ(file.value(kAqua, "LOCKFORE ROT"), "123.400002");
    EXPECT_EQ(file.value(kAqua, "FRONTCOLOR"), "abc");
    EXPECT_TRUE(writesOf(file, "FRONTCOLOR").empty());
    EXPECT_TRUE(writesOf(file, "LOCKFORE ROT").empty());
    EXPECT_EQ(writesOf(file, "QIPAONUM"), (std::vector<std::string>{"100"}));
}

TEST_F(SettingsFileTest, FishCountsAreClampedInMemoryOnly) {
    fillComplete(file);
    file.set(kFish, "Fish3", "35");
    file.set(kFish, "Fish4", "-2");
    file.set(kFish, "Fish5", "20");
    file.set(kFish, "Fish6", "many");
    file.set(kFish, "Fish7", "99999999999");
    LoadSettings(file);

    EXPECT_EQ(gSettings.fishCounts[3], 20);
    EXPECT_EQ(file.value(kFish, "Fish3"), "35");
    EXPECT_EQ(gSettings.fishCounts[4], -2);
    EXPECT_EQ(gSettings.fishCounts[5], 20);
    EXPECT_EQ(gSettings.fishCounts[6], 0);
    EXPECT_EQ(gSettings.fishCounts[7], 20);
    EXPECT_TRUE(writtenKeys(file, kFish).empty());
}

TEST_F(SettingsFileTest, OnlyAbsentFishKeysDrawRandomNumbers) {
    fillComplete(file);
    const int absent[] = {1, 2, 7, 8, 9, 19};
    for (int i : absent) file.set(kFish, FishKey(i).c_str(), "");
    file.set(kFish, "Fish0", "4");
    LoadSettings(file);

    nerith::resetRandForTesting();
    std::vector<std::string> fishWrites;
    for (const auto& w : file.writes())
        if (w.section == kFish) fishWrites.push_back(w.key);
    ASSERT_EQ(fishWrites.size(), 6u);
    for (int n = 0; n < 6; ++n) {
        int i = absent[n];
        int expected = nerith::rand() % 2;
        EXPECT_EQ(fishWrites[n], FishKey(i));
        EXPECT_EQ(gSettings.fishCounts[i], expected) << i;
        EXPECT_EQ(file.value(kFish, FishKey(i).c_str()), std::to_string(expected));
    }
    EXPECT_EQ(gSettings.fishCounts[0], 4);
    EXPECT_EQ(gSettings.fishCounts[3], 1);
}

TEST_F(SettingsFileTest, SaveWritesEveryFieldInItsFormat) {
    Settings s{};
    s.showWater = 1;
    s.showTerra = 5;  // any non-zero flag is "1"
    s.frontColor = 0x00FFFFFF;
    s.frontColor1 = 0x0000FF00;
    s.frontColor2 = 0xFFFFFFFF;
    s.lockFrontPhase = 123.4f;
    s.lockBackPhase = -0.5f;
    s.backColor1 = 0x80000000;
    s.volume = 65535;
    s.bubbleSetting = 200;
    s.backgroundVariant = 3;
    s.fogDensity = 12;
    s.lightIntensity = -4;
    s.autoViews = 1;
    s.viewLeftRight = 7000;
    s.viewNearFar = 2000;
    for (int i = 0; i < 20; ++i) s.fishCounts[i] = 9;
    SaveAquariumSettings(file, s);

    const Expected saved[] = {
        {"Show Water", "1"},         {"Show Light", "0"},          {"Show Terra", "1"},
        {"FRONTCOLOR", "16777215"},  {"FRONT COLOR1", "65280"},    {"FRONT COLOR2", "-1"},
        {"BACK COLOR1", "-2147483648"}, {"LOCKFORE ROT", "123.400002"}, {"LOCKBACK ROT", "-0.500000"},
        {"YINLIANG", "65535"},       {"QIPAONUM", "200"},          {"BACKGROUND", "3"},
        {"FOGNONGDU", "12"},         {"LIGHTQIANGDU", "-4"},       {"CHECK VIEWS", "1"},
        {"VIEWSLEFTRIGHT", "7000"},  {"VIEWSNEARFAR", "2000"},
    };
    for (const Expected& e : saved) EXPECT_EQ(file.value(kAqua, e.key), e.text) << e.key;
    EXPECT_EQ(file.keyCount(kFish), 0u);

    // What was saved loads back (phases keep their integer part only).
    LoadSettings(file);
    EXPECT_EQ(gSettings.frontColor2, 0xFFFFFFFFu);
    EXPECT_EQ(gSettings.backColor1, 0x80000000u);
    EXPECT_EQ(gSettings.lockFrontPhase, 123.0f);
    EXPECT_EQ(gSettings.lockBackPhase, 0.0f);
    EXPECT_EQ(gSettings.volume, 65535);
}

TEST_F(SettingsFileTest, StoreSettingsKeepsTheFishCountsAndSetFishCountsOnlyThem) {
    for (int i = 0; i < 20; ++i) gSettings.fishCounts[i] = i;
    Settings s{};
    s.backColor = 0x123456;
    s.viewNearFar = 99;
    for (int i = 0; i < 20; ++i) s.fishCounts[i] = 7;
    StoreSettings(s);
    EXPECT_EQ(gSettings.backColor, 0x123456u);
    EXPECT_EQ(gSettings.viewNearFar, 99);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(gSettings.fishCounts[i], i);

    int counts[20];
    for (int i = 0; i < 20; ++i) counts[i] = i;
    counts[0] = 21;
    counts[1] = INT_MAX;
    counts[2] = -3;
    SetFishCounts(counts);
    const int expected[4] = {20, 20, -3, 3};
    for (int i = 0; i < 20; ++i) EXPECT_EQ(gSettings.fishCounts[i], i < 4 ? expected[i] : i) << i;
    EXPECT_EQ(gSettings.viewNearFar, 99);
}

TEST_F(SettingsFileTest, FishNumberSectionHelpers) {
    int counts[20];
    for (int i = 0; i < 20; ++i) counts[i] = i % 3;
    counts[19] = 35;
    WriteFishNumber(file, counts);
    ASSERT_EQ(file.writes().size(), 20u);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(file.writes()[i].section, kFish);
        EXPECT_EQ(file.writes()[i].key, "Fish" + std::to_string(i));
    }
    EXPECT_EQ(file.value(kFish, "Fish19"), "35");

    file.set(kFish, "Fish4", "x");
    file.set(kFish, "Fish5", "");
    int back[20];
    ReadFishNumber(file, back);
    EXPECT_EQ(back[4], 0);
    EXPECT_EQ(back[5], 0);
    EXPECT_EQ(back[19], 35);  // reading does not clamp
    EXPECT_EQ(back[2], 2);
    EXPECT_EQ(file.writes().size(), 20u);

    MemoryProfile empty;
    ReadFishNumber(empty, back);
    for (int v : back) EXPECT_EQ(v, 0);
}

TEST_F(SettingsFileTest, NoArgumentFormsUseTheInstalledProfile) {
    SetAppProfile(&file);
    EXPECT_EQ(&AppProfile(), &file);
    LoadSettings();
    EXPECT_EQ(file.keyCount(kAqua), 27u);
    EXPECT_EQ(file.keyCount(kFish), 20u);

    file.clearLog();
    SaveAquariumSettings(gSettings);
    int counts[20] = {};
    WriteFishNumber(counts);
    ReadFishNumber(counts);
    EXPECT_EQ(file.writes().size(), 47u);
    EXPECT_EQ(file.reads().size(), 20u);

    EXPECT_EQ(SetAppProfile(nullptr), &file);
    EXPECT_NE(&AppProfile(), &file);
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
    p.set("S", "Long", std::string(300, 'x'));  // a long path comes back whole
    EXPECT_EQ(p.read("S", "Long").size(), 300u);
    p.set("S", "Long", std::string(40000, 'x'));
    EXPECT_EQ(p.read("S", "Long").size(), kMaxProfileValue);
    p.write("S", "Empty", "");
    EXPECT_TRUE(p.has("S", "Empty"));
    EXPECT_EQ(p.read("S", "Empty"), "");
    EXPECT_EQ(p.writes().size(), 2u);
    EXPECT_EQ(p.reads().size(), 5u);
}

}  // namespace
