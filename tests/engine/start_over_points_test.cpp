// How Start Over shows its points, and which record an entry stands for.

#include <gtest/gtest.h>

#include "engine/start_over_points.h"
#include "tests/database/record_builder.h"

TEST(StartOverPoints, ShowTheDayWithTheHourTheMomentOrTheProgramOnATwelveHourDial) {
    ActionRecord halfPastNoon = RecordBuilder("NOTEPAD", 7, kindModify).at(12, 30, 2026, 12, 7);
    ActionRecord halfPastMidnight = RecordBuilder("NOTEPAD", 7, kindModify).at(0, 30, 1998, 3, 19);
    EXPECT_EQ(hourPointText(halfPastNoon), "12/07/26 12:00:00 PM");
    EXPECT_EQ(hourPointText(halfPastMidnight), "03/19/98 12:00:00 AM");
    EXPECT_EQ(programStartText(halfPastNoon), "NOTEPAD 12/07/26 12:30:00 PM");
    EXPECT_EQ(bootPointText(halfPastMidnight), "03/19/98 12:30:00 AM");
}

TEST(StartOverPoints, EntriesCountFromTheNewestPointAndNoneLiesOutsideTheList) {
    const int32_t points[] = {3, 9, 14};
    EXPECT_EQ(pointOfEntry(points, 0), 14);
    EXPECT_EQ(pointOfEntry(points, 2), 3);
    for (int outside : {-1, 3, 1000}) EXPECT_EQ(pointOfEntry(points, outside), -1) << outside;
    EXPECT_EQ(pointOfEntry({}, 0), -1);
}

TEST(StartOverPoints, AMarkerNamesFilesOnlyInsideTheStartOverFolder) {
    for (const char* name : {"BOOT1", "12345678", "a-b_c", ".."}) EXPECT_TRUE(isStartOverSetName(name)) << name;
    for (const char* name : {"", "123456789", "..\\..\\x", "c:x", "a/b"}) EXPECT_FALSE(isStartOverSetName(name)) << name;
}
