// The timedemo's closing line against frame times whose figures are known:
// the median and the 95th percentile are nearest-rank (the smallest time
// that at least half, or 95 %, of the frames reach), so a rank one off
// either way changes the line.
#include "app/frame_input.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

namespace {

// 1, 2, ..., count milliseconds, in a shuffled order.
std::vector<double> shuffledMilliseconds(int count) {
    std::vector<double> times(static_cast<std::size_t>(count));
    std::iota(times.begin(), times.end(), 1.0);
    std::shuffle(times.begin(), times.end(), std::mt19937(7));
    return times;
}

TEST(TimedemoReport, MedianAndPercentileAreTheNearestRanks) {
    // 20 frames: ranks 10 and 19 exactly.
    EXPECT_EQ(timedemoReport(shuffledMilliseconds(20), 4.0),
              "Timedemo: 20 frames in 4.000 s, 5.00 frames/s; frame times median 10.00 ms, "
              "95th percentile 19.00 ms, worst 20.00 ms");
    // 21 frames: 10.5 and 19.95 round up to ranks 11 and 20.
    EXPECT_EQ(timedemoReport(shuffledMilliseconds(21), 2.0),
              "Timedemo: 21 frames in 2.000 s, 10.50 frames/s; frame times median 11.00 ms, "
              "95th percentile 20.00 ms, worst 21.00 ms");
    // 40 frames: ranks 20 and 38, two below the worst.
    EXPECT_EQ(timedemoReport(shuffledMilliseconds(40), 8.0),
              "Timedemo: 40 frames in 8.000 s, 5.00 frames/s; frame times median 20.00 ms, "
              "95th percentile 38.00 ms, worst 40.00 ms");
}

TEST(TimedemoReport, OneFrameIsEveryFigureAndNoFramesAreZero) {
    EXPECT_EQ(timedemoReport({7.25}, 0.5),
              "Timedemo: 1 frames in 0.500 s, 2.00 frames/s; frame times median 7.25 ms, "
              "95th percentile 7.25 ms, worst 7.25 ms");
    EXPECT_EQ(timedemoReport({}, 0.0),
              "Timedemo: 0 frames in 0.000 s, 0.00 frames/s; frame times median 0.00 ms, "
              "95th percentile 0.00 ms, worst 0.00 ms");
}

}  // namespace
