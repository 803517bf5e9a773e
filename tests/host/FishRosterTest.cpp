// The fish roster: how counts become live fish slots, and the dialog's working roster.
#include <gtest/gtest.h>

#include "Random.h"
#include "fish/FishRoster.h"
#include "settings/MemoryProfile.h"
#include "settings/Profile.h"
#include "settings/Settings.h"

namespace {

TEST(FishRosterSlots, SpeciesOwnConsecutiveSlotsInOrder) {
    const int counts[SpeciesCount] = {2, 0, 3};
    EXPECT_EQ(liveCount(counts), 5);
    const int expected[6] = {0, 0, 2, 2, 2, -1};
    for (int s = 0; s < 6; ++s) EXPECT_EQ(speciesOfSlot(counts, s), expected[s]) << "slot " << s;

    const int raised[SpeciesCount] = {3, 0, 3};
    EXPECT_EQ(speciesOfSlot(raised, 2), 0) << "slot 2 changes from skin 2 to skin 0";
    EXPECT_EQ(speciesOfSlot(raised, 5), 2) << "slot 5 comes to life with skin 2";

    const int other[SpeciesCount] = {3, 0, 2};
    for (int s = 0; s < 3; ++s) EXPECT_EQ(speciesOfSlot(other, s), 0);
    for (int s = 3; s < 5; ++s) EXPECT_EQ(speciesOfSlot(other, s), 2);
}

TEST(FishRosterSlots, NoFishMoreThanTwentyAndNegativeCounts) {
    const int none[SpeciesCount] = {};
    EXPECT_EQ(liveCount(none), 0);
    EXPECT_EQ(speciesOfSlot(none, 0), -1);

    int many[SpeciesCount] = {};
    many[3] = 15;
    many[7] = 10;
    EXPECT_EQ(liveCount(many), 20);
    EXPECT_EQ(speciesOfSlot(many, 14), 3);
    EXPECT_EQ(speciesOfSlot(many, 19), 7);
    for (int j = 0; j < SpeciesCount; ++j) many[j] = 20;
    EXPECT_EQ(liveCount(many), 20);

    // A hand-edited negative count owns no slot and takes none from the others.
    const int negative[SpeciesCount] = {-3, 2, 1};
    EXPECT_EQ(liveCount(negative), 3);
    EXPECT_EQ(speciesOfSlot(negative, 0), 1);
    EXPECT_EQ(speciesOfSlot(negative, 1), 1);
    EXPECT_EQ(speciesOfSlot(negative, 2), 2);
    EXPECT_EQ(speciesOfSlot(negative, 3), -1);
    EXPECT_EQ(speciesOfSlot(negative, -1), -1);
}

TEST(FishRoster, LoadReadsEveryKeyWithAtoiRules) {
    MemoryProfile file;
    file.set("Fish Number", "Fish0", "3");
    file.set("Fish Number", "Fish1", "abc");
    file.set("Fish Number", "Fish2", "-2");
    file.set("Fish Number", "Fish5", "25");
    file.set("Fish Number", "Fish19", "4 fish");
    FishRoster roster;
    roster.load(file);
    EXPECT_EQ(roster.counts[0], 3);
    EXPECT_EQ(roster.counts[1], 0);
    EXPECT_EQ(roster.counts[2], -2);
    EXPECT_EQ(roster.counts[3], 0);
    EXPECT_EQ(roster.counts[5], 25);
    EXPECT_EQ(roster.counts[19], 4);
    EXPECT_EQ(roster.total, 30);
    ASSERT_EQ(file.reads().size(), 20u);
    EXPECT_EQ(file.reads()[7].key, "Fish7");
    EXPECT_TRUE(file.writes().empty());
}

TEST(FishRoster, SaveWritesTheSectionAndUpdatesTheLiveRoster) {
    const Settings saved = gSettings;
    MemoryProfile file;
    FishRoster roster;
    roster.counts[0] = 2;
    roster.counts[4] = 25;
    roster.counts[19] = 1;
    roster.save(file);
    ASSERT_EQ(file.writes().size(), 20u);
    EXPECT_EQ(file.value("Fish Number", "Fish0"), "2");
    EXPECT_EQ(file.value("Fish Number", "Fish4"), "25");
    EXPECT_EQ(file.value("Fish Number", "Fish7"), "0");
    EXPECT_EQ(file.writes()[19].key, "Fish19");
    EXPECT_EQ(gSettings.fishCounts[0], 2);
    EXPECT_EQ(gSettings.fishCounts[4], 20) << "clamped in the live roster";
    EXPECT_EQ(gSettings.fishCounts[19], 1);
    gSettings = saved;
}

// Add and remove from a preset roster: species, its count and another species' count before,
// then the count and the total after.
TEST(FishRoster, AddAndRemoveKeepTheirLimits) {
    const struct {
        bool add;
        int species, before, otherBefore, after, total;
    } cases[] = {
        {true, 3, 0, 0, 1, 1},        {true, 3, 1, 0, 2, 2},
        {true, 5, 18, 2, 18, 20},     // twenty fish: no more
        {true, 0, 0, 20, 0, 20},      // not even for a species with none
        {true, 1, 40, -30, 20, -10},  // a hand-edited count above 20 comes back to 20
        {true, 0, 2147483647, 0, 2147483647, 2147483647},  // no overflow
        {false, 2, 1, 0, 0, 0},       {false, 2, 0, 0, 0, 0},     // never below zero
        {false, 6, -4, 0, 0, 0},      {false, 6, 3, 0, 2, 2},
        {false, 1, -2147483647 - 1, 0, 0, 0},
    };
    for (const auto& c : cases) {
        FishRoster roster;
        roster.counts[c.species] = c.before;
        roster.counts[c.species == 7 ? 8 : 7] = c.otherBefore;
        roster.total = c.before + c.otherBefore;
        c.add ? roster.add(c.species) : roster.remove(c.species);
        EXPECT_EQ(roster.counts[c.species], c.after) << c.add << " " << c.species << " from " << c.before;
        EXPECT_EQ(roster.total, c.total) << c.add << " " << c.species << " from " << c.before;
    }
    FishRoster roster;  // species outside the table change nothing
    roster.counts[6] = 3;
    for (int species : {-1, 20, 57}) {
        roster.add(species);
        roster.remove(species);
    }
    EXPECT_EQ(roster.counts[6], 3);
}

int alwaysOdd() { return 32767; }

TEST(FishRoster, RandomizeGivesZeroOrOneAndNeverTwenty) {
    FishRoster roster;
    roster.selected = 4;
    nerith::resetRandForTesting();
    roster.randomize();
    // 41 18467 6334 26500 19169 15724 11478 29358 26962 24464 5705 28145 ...
    EXPECT_EQ(roster.counts[0], 1);
    EXPECT_EQ(roster.counts[1], 1);
    EXPECT_EQ(roster.counts[2], 0);
    EXPECT_EQ(roster.counts[3], 0);
    EXPECT_EQ(roster.counts[4], 1);
    EXPECT_EQ(roster.selected, -1);
    int sum = 0;
    for (int c : roster.counts) sum += c;
    EXPECT_EQ(roster.total, sum);

    // Twenty odd draws: the twentieth species is left out.
    roster.randomize(alwaysOdd);
    for (int j = 0; j < 19; ++j) EXPECT_EQ(roster.counts[j], 1);
    EXPECT_EQ(roster.counts[19], 0);
    EXPECT_EQ(roster.total, 19);

    for (int n = 0; n < 20000; ++n) {
        roster.randomize();
        ASSERT_LT(roster.total, 20);
        for (int c : roster.counts) ASSERT_TRUE(c == 0 || c == 1);
    }
}

TEST(FishRoster, ClearAndTheTotalLabel) {
    FishRoster roster;
    for (int i = 0; i < 14; ++i) roster.add(i % 3);
    EXPECT_EQ(roster.totalText(), "Total: 14   (Max:20)");
    roster.clear();
    EXPECT_EQ(roster.total, 0);
    for (int c : roster.counts) EXPECT_EQ(c, 0);
    EXPECT_EQ(roster.totalText(), "Total: 0   (Max:20)");
}

TEST(FishRoster, HugeHandEditedCountsDoNotOverflowTheTotal) {
    MemoryProfile file;
    for (int i = 0; i < 20; ++i) file.set("Fish Number", ("Fish" + std::to_string(i)).c_str(), "2147483647");
    FishRoster roster;
    roster.load(file);
    EXPECT_EQ(roster.total, 2147483647);
}

}  // namespace
