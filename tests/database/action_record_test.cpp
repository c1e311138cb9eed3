#include <gtest/gtest.h>

#include <cstring>

#include "database/action_record.h"

TEST(ActionKindLabel, NamesTheFileKindsAndGivesNothingForAnyOtherCode) {
    EXPECT_EQ(actionKindLabel(kindCreate), "Create");
    EXPECT_EQ(actionKindLabel(kindRecycle), "Delete");
    EXPECT_EQ(actionKindLabel(kindMove), "Move");
    for (int32_t code : {0, 6, 9, 10, -1, 1 << 30, INT32_MIN}) EXPECT_EQ(actionKindLabel(code), "") << code;
}

// A flag holds any int32 a file gives it, the byte that marks the wide form
// included, and goes back to a byte each once every value fits again.
TEST(RecordFlags, HoldAnyValueAndEqualFlagsAreEqualBytes) {
    const int32_t values[] = {0, 1, 2, -1, INT8_MAX, INT8_MIN, INT8_MAX + 1, INT8_MIN - 1, INT32_MAX, INT32_MIN};
    for (size_t slot = 0; slot < RecordFlags::count; ++slot) {
        for (int32_t value : values) {
            SCOPED_TRACE(testing::Message() << "slot " << slot << " value " << value);
            RecordFlags flags;
            const size_t neighbour = (slot + 1) % RecordFlags::count;
            flags.set(neighbour, 5);
            flags.set(slot, value);
            const RecordFlags copy = flags;
            for (size_t other = 0; other < RecordFlags::count; ++other)
                EXPECT_EQ(copy.get(other), other == slot ? value : other == neighbour ? 5 : 0) << other;

            flags.set(slot, 0);
            flags.set(neighbour, 0);
            const RecordFlags fresh;
            EXPECT_EQ(std::memcmp(&flags, &fresh, sizeof flags), 0);
            EXPECT_EQ(copy.get(slot), value) << "a copy keeps its own values";
        }
    }
}
