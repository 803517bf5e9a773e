// The user-music choices (next row, end of a track, skipping unplayable files), the stored music
// list and the wave device volume.
#include <gtest/gtest.h>

#include <vector>

#include "DeviceVolume.h"
#include "Random.h"
#include "music/MusicListFile.h"
#include "music/TrackChoice.h"
#include "settings/MemoryProfile.h"

namespace {
constexpr int Rand = -2;  // the row of the first draw of the never-seeded generator: 41 % 5 = 1
}

TEST(MusicChoice, TableOfModesStatesAndSelections) {
    struct Case {
        int mode;
        bool playing, userPick;
        int selected, current, expected;
    } cases[] = {
        // Repeat One: the clicked or selected row, else the open one, else the fallback (4).
        {RepeatOne, true, true, 3, 2, 3},    {RepeatOne, true, false, 3, 2, 2},
        {RepeatOne, false, false, 3, 2, 3},  {RepeatOne, false, false, -1, 2, 4},
        {RepeatOne, false, true, 3, -1, 3},
        // Repeat All: the next row, wrapping; row 0 after a stop (going on is heard in test_music.sh).
        {RepeatAll, true, false, -1, 4, 0},  {RepeatAll, false, false, 1, 2, 1},
        {RepeatAll, false, false, -1, 2, 0},
        // Random: a draw whenever no row decides.
        {RandomOrder, true, true, 3, 2, 3},  {RandomOrder, true, false, 3, 2, Rand},
        {RandomOrder, false, false, 3, 2, 3}, {RandomOrder, false, false, -1, 2, Rand},
    };
    for (const Case& c : cases) {
        nerith::resetRandForTesting();
        const int row = ChooseTrack(c.mode, c.playing, c.userPick, c.selected, 5, c.current, 4);
        const bool drew = nerith::rand() != 41;
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " playing " << c.playing << " pick "
                                        << c.userPick << " sel " << c.selected);
        EXPECT_EQ(row, c.expected == Rand ? 1 : c.expected);
        EXPECT_EQ(drew, c.expected == Rand);
    }
    nerith::resetRandForTesting();
    EXPECT_EQ(ChooseTrack(RandomOrder, true, false, -1, 0, -1, 0), -1);  // empty list: no draw
    EXPECT_EQ(nerith::rand(), 41);
}

TEST(MusicChoice, TrackEndsAtItsLengthOrWhenStoppedWithinOnePoll) {
    struct Case {
        int position, length;
        bool stopped, ended;
    } cases[] = {
        {5000, 5000, false, true}, {5040, 5000, false, true},  {4990, 5000, false, false},
        {4990, 5000, true, true},  {4700, 5000, true, false},  {0, 0, true, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TrackEnded(c.position, c.length, c.stopped, 200), c.ended)
            << c.position << "/" << c.length << " stopped " << c.stopped;
}

TEST(MusicChoice, UnplayableFilesAreSkippedExceptInRepeatOne) {
    std::vector<bool> playable = {false, false, false, true, false};
    std::vector<int> tried;
    auto open = [&](int row) { tried.push_back(row); return static_cast<bool>(playable[row]); };

    // (Repeat All going on past a missing file is heard in test_music.sh.)
    EXPECT_EQ(OpenPlayableTrack(4, RandomOrder, 5, open), 3);  // wraps round
    EXPECT_EQ(tried, (std::vector<int>{4, 0, 1, 2, 3}));
    tried.clear();
    EXPECT_EQ(OpenPlayableTrack(1, RepeatOne, 5, open), -1);
    EXPECT_EQ(tried, (std::vector<int>{1}));
    tried.clear();
    playable[3] = false;  // nothing plays: every row is tried once, then it gives up
    EXPECT_EQ(OpenPlayableTrack(2, RepeatAll, 5, open), -1);
    EXPECT_EQ(tried, (std::vector<int>{2, 3, 4, 0, 1}));
}

TEST(MusicVolume, SliderPositionToBothChannels) {
    struct Case {
        int setting;
        unsigned value;
    } cases[] = {
        {0, 0xFFFFFFFFu},   {65535, 0u},      {32767, 0x80008000u},
        {-1, 0u},           {65536, 0xFFFFFFFFu}, {100000, 31071u * 65537u},  // low 16 bits kept
    };
    for (const Case& c : cases) EXPECT_EQ(DeviceVolumeValue(c.setting), c.value) << c.setting;
}

// (Reading the stored list, gaps and hostile counts: PathList in SettingsFileTest and test_music.sh.)
TEST(MusicListFile, OnlyExactlyOneIsOwnMusicAndTheModeIsKept) {
    MemoryProfile ini;
    ini.set(kCustomSettingsSection, "RandomMusic", "1");
    ini.set(kCustomSettingsSection, "RepeatMusic", "1");
    ini.set(kCustomSettingsSection, "OwnMusic", "2");
    const MusicListFile file = LoadMusicList(ini);
    EXPECT_FALSE(file.ownMusic);
    EXPECT_EQ(PlayModeOf(file), RandomOrder);
    MemoryProfile out;  // (the list, its count, OwnMusic and CycMusic are read back in test_music.sh)
    SaveMusicList(out, file);
    EXPECT_EQ(out.value(kCustomSettingsSection, "RandomMusic"), "1");
    EXPECT_EQ(out.value(kCustomSettingsSection, "RepeatMusic"), "1");
}
