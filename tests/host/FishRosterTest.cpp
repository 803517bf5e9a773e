// The fish roster: how counts become live fish slots, and the dialog's working roster.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Random.h"
#include "fish/FishRoster.h"
#include "settings/MemoryProfile.h"
#include "settings/Settings.h"

namespace {

TEST(FishRosterSlots, SpeciesOwnConsecutiveSlotsInOrder) {
    // A hand-edited negative count owns no slot and takes none from the others.
    const struct {
        int counts[SpeciesCount];
        int live;
        std::vector<int> species;  // of slots 0, 1, ...
    } cases[] = {
        {{}, 0, {-1}},
        {{2, 0, 3}, 5, {0, 0, 2, 2, 2, -1}},
        {{3, 0, 3}, 6, {0, 0, 0, 2, 2, 2, -1}},  // one more of species 0: slot 2 changes its skin
        {{-3, 2, 1}, 3, {1, 1, 2, -1}},
        {{0, 0, 0, 15, 0, 0, 0, 10}, 20, {3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 7, 7, 7, 7, 7}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.live);
        EXPECT_EQ(liveCount(c.counts), c.live);
        for (size_t s = 0; s < c.species.size(); ++s)
            EXPECT_EQ(speciesOfSlot(c.counts, int(s)), c.species[s]) << s;
        EXPECT_EQ(speciesOfSlot(c.counts, -1), -1);
    }
    int full[SpeciesCount];
    for (int& c : full) c = 20;
    EXPECT_EQ(liveCount(full), 20);
}

// Loading refreshes the total, which hand-edited counts must not overflow; saving writes the
// counts as they are and hands them, clamped, to the live roster.
TEST(FishRoster, LoadTotalsAndSaveUpdatesTheLiveRoster) {
    const Settings saved = gSettings;
    MemoryProfile file;
    file.set("Fish Number", "Fish0", "3");
    file.set("Fish Number", "Fish2", "-2");
    file.set("Fish Number", "Fish19", "25");
    FishRoster roster;
    roster.load(file);
    EXPECT_EQ(roster.total, 26);
    EXPECT_TRUE(file.writes().empty());
    roster.save(file);
    EXPECT_EQ(file.writes().size(), 20u);
    EXPECT_EQ(file.value("Fish Number", "Fish19"), "25");
    EXPECT_EQ(gSettings.fishCounts[19], 20) << "clamped in the live roster";
    EXPECT_EQ(gSettings.fishCounts[2], -2);
    gSettings = saved;

    for (int i = 0; i < 20; ++i) file.set("Fish Number", ("Fish" + std::to_string(i)).c_str(), "2147483647");
    roster.load(file);
    EXPECT_EQ(roster.total, 2147483647);
}

// Add and remove from a preset roster: species, its count and another species' count before,
// then the count and the total after.
TEST(FishRoster, AddAndRemoveKeepTheirLimits) {
    const struct {
        bool add;
        int species, before, otherBefore, after, total;
    } cases[] = {
        {true, 3, 0, 0, 1, 1},        {true, 5, 18, 2, 18, 20},     // twenty fish: no more
        {true, 0, 0, 20, 0, 20},      // not even for a species with none
        {true, 1, 40, -30, 20, -10},  // a hand-edited count above 20 comes back to 20
        {true, 0, 2147483647, 0, 2147483647, 2147483647},  // no overflow
        {false, 2, 1, 0, 0, 0},       {false, 2, 0, 0, 0, 0},     // never below zero
        {false, 6, -4, 0, 0, 0},      {false, 1, -2147483647 - 1, 0, 0, 0},
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
    // Species outside the table (no selection, the grid's empty band) are FishGridTest's.
}

int alwaysOdd() { return 32767; }

// (Clearing shows in test_fish_dialog.sh.)
TEST(FishRoster, RandomizeGivesZeroOrOneAndNeverTwenty) {
    FishRoster roster;
    roster.selected = 4;
    nerith::resetRandForTesting();
    roster.randomize();
    // 41 18467 6334 26500 19169 15724 11478 29358 26962 24464 5705 28145 ...
    EXPECT_EQ(std::vector<int>(roster.counts, roster.counts + 5), (std::vector<int>{1, 1, 0, 0, 1}));
    EXPECT_EQ(roster.selected, -1);

    // Twenty odd draws: the twentieth species is left out.
    roster.randomize(alwaysOdd);
    for (int j = 0; j < 19; ++j) EXPECT_EQ(roster.counts[j], 1);
    EXPECT_EQ(roster.counts[19], 0);
    EXPECT_EQ(roster.totalText(), "Total: 19   (Max:20)");
}

}  // namespace
