#include <gtest/gtest.h>

#include "Random.h"

TEST(Random, ReplaysTheMicrosoftRuntimeSequence) {
    nerith::resetRandForTesting();
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
    for (int value : expected) EXPECT_EQ(nerith::rand(), value);
}

TEST(Random, StaysInRangeAndRestartsWhenReset) {
    nerith::resetRandForTesting();
    for (int i = 0; i < 100000; ++i) {
        int r = nerith::rand();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, 32767);
    }
    nerith::resetRandForTesting();
    EXPECT_EQ(nerith::rand(), 41);
}
