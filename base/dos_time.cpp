#include "base/dos_time.h"

#include <algorithm>

namespace {
// Days from 1 March of year 0 of the proleptic Gregorian calendar; the year
// begins in March so that the leap day falls at its end.
int32_t daysFromCivil(int32_t year, int32_t month, int32_t day) {
    if (month <= 2) --year;
    int32_t era = year / 400;
    int32_t yearOfEra = year - era * 400;
    int32_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    int32_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra;
}

const int32_t firstDay = daysFromCivil(1980, 1, 1);
}  // namespace

int32_t dosDayNumber(uint16_t date) {
    DosDate d = decodeDosDate(date);
    return daysFromCivil(d.year, std::clamp(d.month, 1, 12), d.day) - firstDay;
}

int32_t dosSecondOfDay(uint16_t time) {
    DosTime t = decodeDosTime(time);
    return t.hours * 3600 + t.minutes * 60 + t.seconds;
}

int compareDosMoments(uint16_t date1, uint16_t time1, uint16_t date2, uint16_t time2) {
    if (date1 != date2) {
        int32_t day1 = dosDayNumber(date1), day2 = dosDayNumber(date2);
        if (day1 != day2) return day1 < day2 ? -1 : 1;
    }
    int32_t second1 = dosSecondOfDay(time1), second2 = dosSecondOfDay(time2);
    return second1 < second2 ? -1 : second1 > second2 ? 1 : 0;
}
