// The classic rand sequence: its first values, its range and its reset.
#include "game/classic_rand.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

std::vector<int> draw(int count) {
    std::vector<int> values;
    for (int i = 0; i < count; ++i) {
        values.push_back(classicRand());
    }
    return values;
}

TEST(ClassicRandTest, StartsWithTheClassicSequenceAndResetsToIt) {
    resetClassicRand();
    const std::vector<int> expected{41,    18467, 6334,  26500, 19169, 15724,
                                    11478, 29358, 26962, 24464, 5705,  28145};
    EXPECT_EQ(draw(12), expected);
    resetClassicRand();
    EXPECT_EQ(draw(4), (std::vector<int>{41, 18467, 6334, 26500}));
}

TEST(ClassicRandTest, StaysWithinFifteenBitsAndCoversThemAcrossTheStateWrap) {
    resetClassicRand();
    int lowest = 32767;
    int highest = 0;
    for (int value : draw(200000)) {
        lowest = std::min(lowest, value);
        highest = std::max(highest, value);
    }
    EXPECT_EQ(lowest, 0);
    EXPECT_EQ(highest, 32767);
    resetClassicRand();
}

}  // namespace
