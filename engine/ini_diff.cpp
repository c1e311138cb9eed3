#include "engine/ini_diff.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "base/crc32.h"
#include "base/ignore_case_hash.h"
#include "base/text.h"

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimLeadingBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    return text;
}

std::string_view trimBlanks(std::string_view text) {
    text = trimLeadingBlanks(text);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

struct Entry {
    std::string_view key;
    std::string_view value;
};

struct Section {
    std::string_view header;  // the whole line, as headers are matched
    std::string_view name;
    std::vector<Entry> entries;
};

std::vector<Section> readSections(std::string_view text) {
    std::vector<Section> sections;
    for (std::string_view line : splitLines(text)) {
        std::string_view start = trimLeadingBlanks(line);
        // The profile interface takes an indented "[" as a header too; its
        // entries must not be written into the section above it.
        if (!start.empty() && start.front() == '[') {
            std::string_view name = start.substr(1);
            sections.push_back({line, trimBlanks(name.substr(0, name.find(']'))), {}});
            continue;
        }
        if (sections.empty() || start.empty() || start.front() == ';') continue;
        // Without "=" the profile interface could only write the line back as
        // "key=", which was never there.
        size_t equals = start.find('=');
        if (equals == std::string_view::npos) continue;
        sections.back().entries.push_back({trimBlanks(start.substr(0, equals)), trimBlanks(start.substr(equals + 1))});
    }
    return sections;
}

// One section's entries by key, so each lookup is one hash, not a walk.
using EntryIndex = std::unordered_multimap<std::string_view, std::string_view, IgnoreCaseHash, IgnoreCaseEqual>;

EntryIndex indexEntries(const Section& section) {
    EntryIndex index;
    for (const Entry& entry : section.entries) index.emplace(entry.key, entry.value);
    return index;
}

bool hasEqualEntry(const EntryIndex& index, const Entry& entry) {
    auto [first, last] = index.equal_range(entry.key);
    return std::any_of(first, last, [&](const auto& other) { return other.second == entry.value; });
}

// Adds a change for each entry of `section` that has no equal in `other`
// (every entry when there is no other section).
void addChanges(std::vector<IniChange>& changes, const Section& section, const EntryIndex* other,
                IniOperation operation) {
    for (const Entry& entry : section.entries)
        if (other == nullptr || !hasEqualEntry(*other, entry))
            changes.push_back({std::string(section.name), std::string(entry.key), std::string(entry.value), operation});
}

}  // namespace

std::string_view settingsText(std::string_view bytes) { return bytes.substr(0, bytes.find('\0')); }

bool sameSettingsText(std::string_view earlier, std::string_view later) {
    earlier = settingsText(earlier);
    later = settingsText(later);
    return crc32(earlier.data(), earlier.size()) == crc32(later.data(), later.size());
}

std::vector<IniChange> diffIniTexts(std::string_view earlier, std::string_view later) {
    std::vector<Section> earlierSections = readSections(earlier);
    std::vector<Section> laterSections = readSections(later);

    // The first later section of each header; emplace keeps the first.
    std::unordered_map<std::string_view, size_t, IgnoreCaseHash, IgnoreCaseEqual> laterByHeader;
    for (size_t i = 0; i < laterSections.size(); ++i) laterByHeader.emplace(laterSections[i].header, i);
    std::unordered_set<std::string_view, IgnoreCaseHash, IgnoreCaseEqual> earlierHeaders;

    std::vector<IniChange> changes;
    for (const Section& section : earlierSections) {
        earlierHeaders.insert(section.header);
        auto found = laterByHeader.find(section.header);
        if (found == laterByHeader.end()) {
            addChanges(changes, section, nullptr, IniOperation::restore);
            continue;
        }
        const Section& laterSection = laterSections[found->second];
        EntryIndex laterEntries = indexEntries(laterSection);
        EntryIndex earlierEntries = indexEntries(section);
        addChanges(changes, section, &laterEntries, IniOperation::restore);
        addChanges(changes, laterSection, &earlierEntries, IniOperation::clear);
    }
    for (const Section& section : laterSections)
        if (!earlierHeaders.contains(section.header)) addChanges(changes, section, nullptr, IniOperation::clear);
    return changes;
}
