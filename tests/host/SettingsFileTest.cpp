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

    const Settings& s = gSettings;
    EXPECT_EQ(s.showWater, 0);
    EXPECT_EQ(s.showLight, 0);
    EXPECT_EQ(s.showTerra, 1);
    EXPECT_EQ(s.frontFixed, 1);
    EXPECT_EQ(s.frontColor, 0x00FFFFFFu);
    EXPECT_EQ(s.frontGradual, 0);
    EXPECT_EQ(s.frontColor1, 0x00FFFFFFu);
    EXPECT_EQ(s.frontColor2, 0x00FFFFFFu);
    EXPECT_EQ(s.frontAuto, 0);
    EXPECT_EQ(s.lockFront, 0);
    EXPECT_EQ(s.lockFrontPhase, 0.0f);
    EXPECT_EQ(s.backFixed, 1);
    EXPECT_EQ(s.backColor, 0u);
    EXPECT_EQ(s.backGradual, 0);
    EXPECT_EQ(s.backColor1, 0x0000FF00u);
    EXPECT_EQ(s.backColor2, 0u);
    EXPECT_EQ(s.backAuto, 0);
    EXPECT_EQ(s.lockBack, 0);
    EXPECT_EQ(s.lockBackPhase, 0.0f);
    EXPECT_EQ(s.volume, 32767);
    EXPECT_EQ(s.bubbleSetting, 100);
    EXPECT_EQ(s.backgroundVariant, 0);
    EXPECT_EQ(s.fogDensity, 25);
    EXPECT_EQ(s.lightIntensity, 0);
    EXPECT_EQ(s.autoViews, 1);
    EXPECT_EQ(s.viewLeftRight, 0);
    EXPECT_EQ(s.viewNearFar, 0);

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
    fillComplete(file);
    file.set(kAqua, "Show Water", "1");
    file.set(kAqua, "Show Light", "1");
    file.set(kAqua, "Show Terra", "0");
    file.set(kAqua, "BACK GUDING", "0");
    file.set(kAqua, "BACKCOLOR", "255");
    file.set(kAqua, "BACK AUTOJIANBIAN", "1");
    LoadSettings(file);

    EXPECT_EQ(file.value(kAqua, "Show Water"), "0");
    EXPECT_EQ(file.value(kAqua, "Show Light"), "0");
    EXPECT_EQ(file.value(kAqua, "Show Terra"), "1");
    EXPECT_EQ(file.value(kAqua, "BACK GUDING"), "1");
    EXPECT_EQ(file.value(kAqua, "BACKCOLOR"), "0");
    EXPECT_EQ(file.value(kAqua, "BACK AUTOJIANBIAN"), "0");
    // A present key gets only the forced write.
    EXPECT_EQ(writesOf(file, "Show Water"), (std::vector<std::string>{"0"}));
    EXPECT_EQ(gSettings.showWater, 0);
    EXPECT_EQ(gSettings.showLight, 0);
    EXPECT_EQ(gSettings.showTerra, 1);
    EXPECT_EQ(gSettings.backFixed, 1);
    EXPECT_EQ(gSettings.backColor, 0u);
    EXPECT_EQ(gSettings.backAuto, 0);
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

    EXPECT_EQ(file.value(kAqua, "Show Water"), "1");
    EXPECT_EQ(file.value(kAqua, "Show Light"), "0");
    EXPECT_EQ(file.value(kAqua, "Show Terra"), "1");
    EXPECT_EQ(file.value(kAqua, "FRONTCOLOR"), "16777215");
    EXPECT_EQ(file.value(kAqua, "FRONT COLOR1"), "65280");
    EXPECT_EQ(file.value(kAqua, "FRONT COLOR2"), "-1");
    EXPECT_EQ(file.value(kAqua, "BACK COLOR1"), "-2147483648");
    EXPECT_EQ(file.value(kAqua, "LOCKFORE ROT"), "123.400002");
    EXPECT_EQ(file.value(kAqua, "LOCKBACK ROT"), "-0.500000");
    EXPECT_EQ(file.value(kAqua, "YINLIANG"), "65535");
    EXPECT_EQ(file.value(kAqua, "QIPAONUM"), "200");
    EXPECT_EQ(file.value(kAqua, "BACKGROUND"), "3");
    EXPECT_EQ(file.value(kAqua, "FOGNONGDU"), "12");
    EXPECT_EQ(file.value(kAqua, "LIGHTQIANGDU"), "-4");
    EXPECT_EQ(file.value(kAqua, "CHECK VIEWS"), "1");
    EXPECT_EQ(file.value(kAqua, "VIEWSLEFTRIGHT"), "7000");
    EXPECT_EQ(file.value(kAqua, "VIEWSNEARFAR"), "2000");
    EXPECT_EQ(file.keyCount(kFish), 0u);

    // What was saved loads back (phases keep their integer part only).
    LoadSettings(file);
    EXPECT_EQ(gSettings.frontColor2, 0xFFFFFFFFu);
    EXPECT_EQ(gSettings.backColor1, 0x80000000u);
    EXPECT_EQ(gSettings.lockFrontPhase, 123.0f);
    EXPECT_EQ(gSettings.lockBackPhase, 0.0f);
    EXPECT_EQ(gSettings.volume, 65535);
}

TEST_F(SettingsFileTest, StoreSettingsReplacesAllButTheFishCounts) {
    for (int i = 0; i < 20; ++i) gSettings.fishCounts[i] = i;
    Settings s{};
    s.showTerra = 1;
    s.backColor = 0x123456;
    s.lockBackPhase = 2.5f;
    s.bubbleSetting = 150;
    s.viewNearFar = 99;
    for (int i = 0; i < 20; ++i) s.fishCounts[i] = 7;
    StoreSettings(s);

    EXPECT_EQ(gSettings.showTerra, 1);
    EXPECT_EQ(gSettings.backColor, 0x123456u);
    EXPECT_EQ(gSettings.lockBackPhase, 2.5f);
    EXPECT_EQ(gSettings.bubbleSetting, 150);
    EXPECT_EQ(gSettings.viewNearFar, 99);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(gSettings.fishCounts[i], i);
}

TEST_F(SettingsFileTest, SetFishCountsClampsAboveTwenty) {
    gSettings.volume = 5;
    int counts[20];
    for (int i = 0; i < 20; ++i) counts[i] = i;
    counts[0] = 21;
    counts[1] = INT_MAX;
    counts[2] = -3;
    counts[3] = 20;
    SetFishCounts(counts);
    EXPECT_EQ(gSettings.fishCounts[0], 20);
    EXPECT_EQ(gSettings.fishCounts[1], 20);
    EXPECT_EQ(gSettings.fishCounts[2], -3);
    EXPECT_EQ(gSettings.fishCounts[3], 20);
    for (int i = 4; i < 20; ++i) EXPECT_EQ(gSettings.fishCounts[i], i);
    EXPECT_EQ(gSettings.volume, 5);
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
    EXPECT_EQ(FishKey(0), "Fish0");
    EXPECT_EQ(FishKey(19), "Fish19");
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
    EXPECT_EQ(ParseProfileInt("32767.5"), 32767);
    EXPECT_EQ(ParseProfileInt("  -12x"), -12);
    EXPECT_EQ(ParseProfileInt("+7"), 7);
    EXPECT_EQ(ParseProfileInt("abc"), 0);
    EXPECT_EQ(ParseProfileInt(""), 0);
    EXPECT_EQ(ParseProfileInt("-"), 0);
    EXPECT_EQ(ParseProfileInt("1 2"), 1);
    EXPECT_EQ(ParseProfileInt("16777215"), 16777215);
    EXPECT_EQ(ParseProfileInt("2147483647"), INT_MAX);
    EXPECT_EQ(ParseProfileInt("-2147483648"), INT_MIN);
    EXPECT_EQ(ParseProfileInt("2147483648"), INT_MAX);
    EXPECT_EQ(ParseProfileInt("-2147483649"), INT_MIN);
    EXPECT_EQ(ParseProfileInt("999999999999999999999999"), INT_MAX);
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
