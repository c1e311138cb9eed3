#include "monitor/recorder_counts.h"

#include <gtest/gtest.h>

TEST(RecorderCounts, TheInformationPageSaysEveryCountInWords) {
    EXPECT_EQ(recorderCountsText({1, 2, 3, 1, 40, 5, 1, 7}),
              "Change recorder since it started: 1 change without earlier version, 3 by unknown program, "
              "40 found by 1 rescan, 7 made while it was away, 2 not recordable, 5 lost, 1 restart.");
    EXPECT_EQ(recorderCountsText({}),
              "Change recorder since it started: 0 changes without earlier version, 0 by unknown program, "
              "0 found by 0 rescans, 0 made while it was away, 0 not recordable, 0 lost, 0 restarts.");
}
