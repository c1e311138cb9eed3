#include "engine/restore_name.h"

#include "base/paths.h"

namespace {
constexpr size_t kLongestPath = 259;
}

std::string makeRestoreName(std::string_view path, std::string_view suffix,
                            const std::function<bool(const std::string&)>& exists) {
    // Without a suffix no further name could ever be tried.
    if (suffix.empty()) return exists(std::string(path)) ? std::string() : std::string(path);
    PathStem parts = splitExtension(path);
    std::string stem(parts.stem);
    std::string name;
    for (;;) {
        stem += suffix;
        name = stem + std::string(parts.extension);
        if (name.size() > kLongestPath) return {};
        if (!exists(name)) return name;
    }
}
