// Saving "Aquarium Settings" key by key only where the text changed, and the tolerant phase reading.
#include <gtest/gtest.h>

#include <string>

#include "settings/AquariumSectionWriter.h"
#include "settings/MemoryProfile.h"
#include "settings/SettingsFile.h"

namespace {

Settings Sample() {
    Settings s = {};
    s.showTerra = 1;
    s.frontColor = 0x00FFFFFF;
    s.backFixed = 1;
    s.backColor1 = 0x00FF0000;  // blue: a COLORREF above 2^23 stays positive
    s.volume = 32767;
    s.bubbleSetting = 100;
    s.fogDensity = 25;
    s.autoViews = 1;
    return s;
}

}  // namespace

TEST(AquariumSectionWriter, FirstSaveWritesAllKeysInOrderThenOnlyChangedOnes) {
    MemoryProfile file;
    AquariumSectionWriter writer;
    Settings s = Sample();

    EXPECT_EQ(writer.Save(file, s), 27);
    ASSERT_EQ(file.writes().size(), 27u);
    for (int i = 0; i < 27; ++i) EXPECT_EQ(file.writes()[i].key, kAquariumKeys[i]);
    EXPECT_EQ(file.value("Aquarium Settings", "LOCKFORE ROT"), "0.000000");
    EXPECT_EQ(file.value("Aquarium Settings", "BACK COLOR1"), "16711680");
    EXPECT_EQ(file.value("Aquarium Settings", "FRONTCOLOR"), "16777215");

    file.clearLog();
    EXPECT_EQ(writer.Save(file, s), 0);  // nothing changed: the file is not touched at all
    EXPECT_TRUE(file.writes().empty());

    s.bubbleSetting = 200;
    s.lockBackPhase = 1.5f;
    EXPECT_EQ(writer.Save(file, s), 2);
    ASSERT_EQ(file.writes().size(), 2u);
    EXPECT_EQ(file.writes()[0].key, "LOCKBACK ROT");
    EXPECT_EQ(file.writes()[0].value, "1.500000");
    EXPECT_EQ(file.writes()[1].key, "QIPAONUM");
    EXPECT_EQ(file.writes()[1].value, "200");

    file.clearLog();
    writer.Reset();
    EXPECT_EQ(writer.Save(file, s), 27);
}

TEST(AquariumSectionWriter, PhaseReadingSurvivesHostileText) {
    const struct {
        std::string text;
        float phase;
    } cases[] = {
        {"123.400002", 123.400002f}, {"-2.5", -2.5f}, {"0", 0.0f},    {"", 0.0f},
        {"abc", 0.0f},               {"nan", 0.0f},   {"-inf", 0.0f}, {"1e39", 0.0f},
        {"-1e39", 0.0f},             {std::string(1000, '9'), 0.0f},  {"3e38", 3e38f},
    };
    for (const auto& c : cases) EXPECT_EQ(ParsePhase(c.text), c.phase) << c.text.substr(0, 20);
}
