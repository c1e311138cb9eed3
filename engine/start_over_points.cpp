#include "engine/start_over_points.h"

#include <algorithm>

#include "ui/list_texts.h"

std::string hourPointText(const ActionRecord& first) {
    return formatActionDate(first.date) + " " + formatActionHour(first.time);
}

std::string programStartText(const ActionRecord& first) {
    return std::string(first.programName) + " " + bootPointText(first);
}

std::string bootPointText(const ActionRecord& marker) {
    return formatActionDate(marker.date) + " " + formatActionTime(marker.time);
}

int32_t pointOfEntry(std::span<const int32_t> points, int entry) {
    if (entry < 0 || size_t(entry) >= points.size()) return -1;
    return points[points.size() - 1 - size_t(entry)];
}

bool isStartOverSetName(std::string_view markerText) {
    if (markerText.empty() || markerText.size() > 8) return false;
    return std::none_of(markerText.begin(), markerText.end(),
                        [](char c) { return c == '\\' || c == '/' || c == ':' || c == '\0'; });
}
