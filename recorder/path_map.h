#pragma once
// Maps keyed by paths in IgnoreCaseLess order, which keeps a folder's
// entries together after the folder's own.

#include <string_view>
#include <vector>

#include "base/text.h"
#include "recorder/ignore_rules.h"

// The entries for `folder` itself and for everything below it, in order.
template <class Map>
auto entriesWithin(Map& map, std::string_view folder) {
    std::vector<decltype(map.begin())> found;
    for (auto it = map.lower_bound(folder);
         it != map.end() && equalsIgnoreCase(std::string_view(it->first).substr(0, folder.size()), folder); ++it)
        if (isWithin(it->first, folder)) found.push_back(it);
    return found;
}
