#include <gtest/gtest.h>

#include "base/dos_time.h"

TEST(DosTime, DecodesEachFieldFromItsOwnBits) {
    // 19 March 1998, 22:48:50: year 18 in bits 9-15, month in 5-8, day in 0-4.
    uint16_t date = 18 << 9 | 3 << 5 | 19;
    uint16_t time = 22 << 11 | 48 << 5 | 25;
    DosDate d = decodeDosDate(date);
    DosTime t = decodeDosTime(time);
    EXPECT_EQ(d.year, 1998);
    EXPECT_EQ(d.month, 3);
    EXPECT_EQ(d.day, 19);
    EXPECT_EQ(t.hours, 22);
    EXPECT_EQ(t.minutes, 48);
    EXPECT_EQ(t.seconds, 50);
    EXPECT_EQ(encodeDosDate(1998, 3, 19), date);
    EXPECT_EQ(encodeDosTime(22, 48, 50), time);
    EXPECT_EQ(decodeDosDate(0xFFFF).year, 2107);
}

TEST(DosTime, CountsCalendarDaysFromTheFirstOfJanuary1980) {
    struct { int year, month, day; int32_t number; } cases[] = {
        {1980, 1, 1, 0},
        {1980, 2, 29, 59},
        {1980, 3, 1, 60},  // 1980 is a leap year
        {1981, 1, 1, 366},
        {2000, 3, 1, 7365},   // 2000 is a leap year
        {2100, 3, 1, 43889},  // 2100 is none: 28 February comes just before
        {2100, 2, 28, 43888},
    };
    for (auto& c : cases)
        EXPECT_EQ(dosDayNumber(encodeDosDate(c.year, c.month, c.day)), c.number) << c.year << '-' << c.month;
}

TEST(DosTime, ComparesByCalendarDayThenBySecondOfTheDay) {
    struct { uint16_t date1, time1, date2, time2; int order; } cases[] = {
        {encodeDosDate(1998, 12, 31), encodeDosTime(23, 59, 58), encodeDosDate(1999, 1, 1), 0, -1},
        {encodeDosDate(1998, 1, 31), 0, encodeDosDate(1998, 2, 1), 0, -1},
        {encodeDosDate(1998, 2, 1), 0, encodeDosDate(1998, 1, 2), 0, 1},
        {encodeDosDate(1998, 3, 19), encodeDosTime(10, 0, 0), encodeDosDate(1998, 3, 19), encodeDosTime(10, 0, 0), 0},
        {encodeDosDate(1998, 3, 19), encodeDosTime(10, 0, 2), encodeDosDate(1998, 3, 19), encodeDosTime(10, 0, 0), 1},
        {encodeDosDate(1998, 3, 19), encodeDosTime(9, 59, 58), encodeDosDate(1998, 3, 19), encodeDosTime(10, 0, 0), -1},
        // Minute 63, which no clock writes, is past 11:00 by the seconds, not before it as the words are.
        {0, uint16_t(10 << 11 | 63 << 5), 0, encodeDosTime(11, 0, 0), 1},
        // The 31st of April is the 1st of May.
        {encodeDosDate(1998, 4, 31), 0, encodeDosDate(1998, 5, 1), 0, 0},
    };
    for (auto& c : cases) {
        int order = compareDosMoments(c.date1, c.time1, c.date2, c.time2);
        EXPECT_EQ((order > 0) - (order < 0), c.order) << c.date1 << ' ' << c.time1;
        int reverse = compareDosMoments(c.date2, c.time2, c.date1, c.time1);
        EXPECT_EQ((reverse > 0) - (reverse < 0), -c.order);
    }
}

TEST(DosTime, GivesMonthsOutsideTheCalendarAPlaceInTime) {
    EXPECT_EQ(dosDayNumber(encodeDosDate(1998, 0, 1)), dosDayNumber(encodeDosDate(1998, 1, 1)));
    EXPECT_EQ(dosDayNumber(encodeDosDate(1998, 15, 1)), dosDayNumber(encodeDosDate(1998, 12, 1)));
    EXPECT_EQ(dosDayNumber(encodeDosDate(1998, 3, 0)), dosDayNumber(encodeDosDate(1998, 2, 28)));
}
