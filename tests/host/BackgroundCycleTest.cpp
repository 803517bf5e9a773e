#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "Random.h"
#include "backgrounds/CustomImages.h"
#include "backgrounds/PictureCycle.h"
#include "settings/MemoryProfile.h"

using namespace backgrounds;

namespace {

// A list of `count` pictures named 101, 102, ...
PictureCycle List(int count, bool cycling, int mode, unsigned current) {
    PictureCycle c;
    for (int i = 0; i < count; ++i) c.Append(101 + i);
    c.cycling = cycling;
    c.mode = mode;
    c.currentPicture = current;
    return c;
}

TEST(BackgroundPick, Table) {
    struct Case {
        const char* what;
        int count;
        bool cycling;
        int mode;
        unsigned current;
        bool user;
        int index;
        unsigned expected;
        int onRow;
    };
    const Case cases[] = {
        {"empty list", 0, true, RepeatOne, 0, false, 0, NoPicture, -1},
        {"empty list, user", 0, true, RepeatAll, 0, true, 0, NoPicture, -1},
        {"cycling off", 3, false, RepeatOne, 102, false, 0, NoPicture, -1},
        {"cycling off, user", 3, false, RepeatAll, 0, true, 2, NoPicture, -1},
        {"one: keeps the current", 3, true, RepeatOne, 103, false, 0, 103, -1},
        {"one: nothing shown yet", 3, true, RepeatOne, 0, false, 0, 101, -1},
        {"one: after an empty pick", 3, true, RepeatOne, NoPicture, false, 0, 101, -1},
        {"all: slot 1 when nothing holds it", 3, true, RepeatAll, 0, false, 0, 102, -1},
        {"all: slot 1 modulo one picture", 1, true, RepeatAll, NoPicture, false, 0, 101, -1},
        {"user choice, random", 3, true, RandomOrder, 101, true, 1, 102, 1},
    };
    for (const Case& k : cases) {
        const PictureCycle c = List(k.count, k.cycling, k.mode, k.current);
        int onRow = 99;
        EXPECT_EQ(c.Pick(k.index, k.user, &onRow), k.expected) << k.what;
        EXPECT_EQ(onRow, k.onRow) << k.what;
    }
}

TEST(BackgroundPick, RandomDrawsTheSharedGenerator) {
    nerith::resetRandForTesting();
    const PictureCycle c = List(3, true, RandomOrder, 0);
    // rand(): 41, 18467, 6334 -> modulo 3: 2, 2, 1.
    for (unsigned e : {103u, 103u, 102u}) EXPECT_EQ(c.Pick(0, false), e);
    EXPECT_EQ(nerith::rand(), 26500);  // exactly one draw per pick
    nerith::resetRandForTesting();
}

// The ticks (counted from 1) on which a new picture is picked during the first `n` ticks.
std::vector<int> PickTicks(int intervalSeconds, int n) {
    PictureCycle c = List(3, true, RepeatAll, 0);
    c.StartCycling();
    std::vector<int> at;
    for (int t = 1; t <= n; ++t)
        if (c.Tick(intervalSeconds)) at.push_back(t);
    return at;
}

TEST(BackgroundTicks, IntervalInFifthsOfASecond) {
    EXPECT_EQ(PickTicks(5, 100), (std::vector<int>{1, 26, 51, 76}));
    EXPECT_EQ(PickTicks(0, 4), (std::vector<int>{1, 2, 3, 4}));
    // The largest sane interval: no overflow in ticks x 200 against seconds x 1000.
    EXPECT_FALSE(TickDue(4999994, 999999));
    EXPECT_TRUE(TickDue(4999995, 999999));
    EXPECT_TRUE(TickDue(INT_MAX, 999999));
}

TEST(BackgroundTicks, IntervalText) {
    const struct {
        const char* text;
        int seconds;
        bool sane;
    } cases[] = {{"", 0, false},   {"0", 0, true},     {"999999", 999999, true}, {"-5", 5, false},
                 {"abc", 5, false}, {"12abc", 5, false}, {"99999999999", 5, false}};
    for (const auto& k : cases) {
        EXPECT_EQ(ParseInterval(k.text), k.seconds) << k.text;
        EXPECT_EQ(SaneIntervalText(k.text), k.sane) << k.text;
    }
}

TEST(BackgroundRemove, LaterSlotsMoveForward) {
    PictureCycle c = List(5, true, RepeatOne, 103);
    EXPECT_EQ(c.RemoveRow(1), 102u);
    EXPECT_EQ(c.pictureCount, 4);
    EXPECT_EQ((std::vector<unsigned>(c.pictures, c.pictures + 6)), (std::vector<unsigned>{101, 103, 104, 105, 0, 0}));
    EXPECT_EQ(c.RemoveRow(3), 105u);
    EXPECT_EQ(c.RemoveRow(3), 0u);  // no such row
    EXPECT_EQ(c.pictureCount, 3);
    // Re-picked while cycling: row 0, marked "ON".
    EXPECT_EQ(c.RepickAfterRemoval(), 0);
    EXPECT_EQ(c.currentPicture, 101u);
    // Not cycling: the empty pick.
    c.StopCycling();
    EXPECT_EQ(c.RepickAfterRemoval(), -1);
    EXPECT_EQ(c.currentPicture, NoPicture);
    // The last one gone: every slot and the current picture are cleared.
    for (int i = 0; i < 3; ++i) c.RemoveRow(0);
    EXPECT_EQ(c.RepickAfterRemoval(), -1);
    EXPECT_EQ(c.currentPicture, 0u);
    // Full: the eleventh is refused.
    PictureCycle full = List(10, true, RepeatOne, 0);
    EXPECT_FALSE(full.Append(999));
    EXPECT_EQ(full.pictureCount, 10);
}

TEST(BackgroundTexture, BuiltInUnlessOneOfOursIsShown) {
    PictureCycle c = List(2, true, RepeatOne, 102);
    EXPECT_EQ(TextureToDraw(false, c, 7), 7u);
    for (unsigned none : {0u, NoPicture, 555u}) {
        c.currentPicture = none;
        EXPECT_EQ(TextureToDraw(true, c, 7), 7u) << none;
    }
}

// ---- The section "Custom Images" -----------------------------------------------------------

const char* const kImages = "Custom Images";

// (Reading the stored list, gaps and hostile counts: PathList in SettingsFileTest.)
TEST(CustomImagesSection, BoxesAndInterval) {
    const struct {
        const char* stored;  // nullptr: absent
        const char* box;
    } intervals[] = {{nullptr, "5"}, {"0", "0"}, {"-5", "5"}};  // the rest as ParseInterval above
    for (const auto& k : intervals) {
        MemoryProfile p;
        if (k.stored) p.set(kImages, "ImageTime", k.stored);
        EXPECT_EQ(ReadCustomImageBoxes(p).interval, k.box) << (k.stored ? k.stored : "(absent)");
    }
    MemoryProfile p;
    p.set(kImages, "RandomImage", "2");
    p.set(kImages, "CycImage", "1");
    p.set(kImages, "RepeatImage", "0");
    p.set(kImages, "OwnImage", "1.5");
    const CustomImages boxes = ReadCustomImageBoxes(p);
    EXPECT_FALSE(boxes.random);
    EXPECT_TRUE(boxes.repeatAll);
    EXPECT_FALSE(boxes.repeatOne);
    EXPECT_TRUE(boxes.own);  // atoi("1.5") is 1
}

TEST(CustomImagesSection, SavesInOrder) {
    MemoryProfile p;
    SaveCustomImages(p, CustomImages{false, true, false, true, "12", {"C:\\x.jpg", "D:\\y.bmp"}});
    std::vector<std::string> written;
    for (const auto& w : p.writes()) written.push_back(w.key + "=" + w.value);
    EXPECT_EQ(written, (std::vector<std::string>{"RandomImage=0", "CycImage=1", "RepeatImage=0", "OwnImage=1",
                                                 "ImageTime=12", "ImageSum=2", "ImageList0=C:\\x.jpg",
                                                 "ImageList1=D:\\y.bmp"}));
}

}  // namespace
