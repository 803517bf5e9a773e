#include <gtest/gtest.h>

#include "Random.h"

TEST(Random, ReplaysTheMicrosoftRuntimeSequenceInRangeAndRestartsWhenReset) {
    nerith::resetRandForTesting();
    for (int value : {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464}) EXPECT_EQ(nerith::rand(), value);
    for (int i = 0; i < 100000; ++i) {
        const int r = nerith::rand();
        ASSERT_TRUE(r >= 0 && r <= 32767) << r;
    }
    nerith::resetRandForTesting();
    EXPECT_EQ(nerith::rand(), 41);
}
