#pragma once
// MS-DOS date and time words, as the monitor drivers stamp every change.
// Date: day in bits 0-4, month in bits 5-8, year - 1980 in bits 9-15.
// Time: seconds / 2 in bits 0-4, minutes in bits 5-10, hours in bits 11-15.

#include <cstdint>

struct DosDate {
    int year;  // 1980 to 2107
    int month;
    int day;
};

struct DosTime {
    int hours;
    int minutes;
    int seconds;  // always even
};

constexpr DosDate decodeDosDate(uint16_t date) {
    return {1980 + (date >> 9), (date >> 5) & 0x0F, date & 0x1F};
}

constexpr DosTime decodeDosTime(uint16_t time) {
    return {time >> 11, (time >> 5) & 0x3F, 2 * (time & 0x1F)};
}

constexpr uint16_t encodeDosDate(int year, int month, int day) {
    return uint16_t((year - 1980) << 9 | month << 5 | day);
}

constexpr uint16_t encodeDosTime(int hours, int minutes, int seconds) {
    return uint16_t(hours << 11 | minutes << 5 | seconds / 2);
}

// Days since 1 January 1980. A word holds fields no clock writes (month 0 or
// 13 to 15, day 0, 31 April); the month is held to 1..12 and the day counts
// on from the month's start, so every word still has its place in time.
int32_t dosDayNumber(uint16_t date);

// hours * 3600 + minutes * 60 + seconds, as the words say, even past 23:59:59.
int32_t dosSecondOfDay(uint16_t time);

// Negative, zero or positive as the first moment is earlier than, the same
// second as, or later than the second: by calendar day, then by second of day.
int compareDosMoments(uint16_t date1, uint16_t time1, uint16_t date2, uint16_t time2);
