#include "monitor/own_work.h"

#include <gtest/gtest.h>

TEST(OwnWork, CoversWhatIsSeenWhileRetraceWorksAndShortlyAfter) {
    struct {
        OwnWorkWindow window;
        uint64_t now;
        bool covered;
    } cases[] = {
        {{0, 0}, 5000, false},                                    // Retrace has not worked yet
        {{1, 0}, 5000, true},                                     // working for the first time
        {{2, 4000}, 9000, true},                                  // two pieces under way
        {{0, 4000}, 4000 + ownWorkGraceMilliseconds, true},       // a notice still on its way
        {{0, 4000}, 4000 + ownWorkGraceMilliseconds + 1, false},  // the person's again
    };
    for (auto& c : cases)
        EXPECT_EQ(ownWorkCovers(c.window, c.now), c.covered) << c.window.underway << " " << c.window.lastEnd << " " << c.now;
}
