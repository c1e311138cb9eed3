#include <gtest/gtest.h>

#include "database/action_record.h"

TEST(ActionKindLabel, NamesTheFileKindsAndGivesNothingForAnyOtherCode) {
    EXPECT_EQ(actionKindLabel(kindCreate), "Create");
    EXPECT_EQ(actionKindLabel(kindRecycle), "Delete");
    EXPECT_EQ(actionKindLabel(kindMove), "Move");
    for (int32_t code : {0, 6, 9, 10, -1, 1 << 30, INT32_MIN}) EXPECT_EQ(actionKindLabel(code), "") << code;
}
