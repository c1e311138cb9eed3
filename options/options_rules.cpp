#include "options/options_rules.h"

#include <algorithm>
#include <limits>

#include "base/text.h"
#include "database/undo_bin.h"

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::string_view withoutTrailingBackslashes(std::string_view path) {
    while (path.ends_with('\\')) path.remove_suffix(1);
    return path;
}

bool sameFolder(std::string_view a, std::string_view b) {
    return equalsIgnoreCase(withoutTrailingBackslashes(a), withoutTrailingBackslashes(b));
}
}  // namespace

uint64_t typedNumber(std::string_view text) {
    text = trimmed(text);
    if (text.empty()) return 0;
    uint64_t number = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return 0;
        const uint64_t digit = uint64_t(c - '0');
        if (number > (std::numeric_limits<uint64_t>::max() - digit) / 10) return std::numeric_limits<uint64_t>::max();
        number = number * 10 + digit;
    }
    return number;
}

uint32_t menuSizeFromTyped(std::string_view text) { return uint32_t(std::clamp<uint64_t>(typedNumber(text), 1, 10)); }

uint32_t binSizeFromTyped(std::string_view text) {
    return uint32_t(std::clamp<uint64_t>(typedNumber(text), 1, largestBinMbytes) * 1000000);
}

std::optional<uint32_t> largeFileSizeFromTyped(std::string_view text) {
    const uint64_t kbytes = typedNumber(text);
    if (kbytes < smallestIgnoredKbytes) return std::nullopt;
    return uint32_t(std::min<uint64_t>(kbytes, std::numeric_limits<uint32_t>::max() / 1000) * 1000);
}

std::string customListFromTyped(std::string_view typed) {
    std::string stored;
    std::string piece;
    auto endPiece = [&] {
        if (piece.empty()) return;
        if (!stored.empty()) stored += '|';
        stored += piece;
        piece.clear();
    };
    for (char c : typed) {
        if (c == ',' || isBlank(c))
            endPiece();
        else
            piece += c;
    }
    endPiece();
    return stored;
}

std::string customListForShow(std::string_view stored) {
    std::string shown(stored);
    std::ranges::replace(shown, '|', ',');
    return shown;
}

std::optional<std::string> joinListFor(std::span<const std::string> items, size_t capacity) {
    std::string joined;
    for (const std::string& item : items) {
        if (!joined.empty()) joined += '|';
        joined += item;
    }
    if (joined.size() + 1 > capacity) return std::nullopt;
    return joined;
}

bool listHolds(std::span<const std::string> items, std::string_view text) {
    return std::ranges::any_of(items, [&](const std::string& item) { return equalsIgnoreCase(item, text); });
}

FileListChoice fileListChoice(std::span<const std::string> registered, std::string_view permaDelExts,
                              std::span<const std::string> listed) {
    FileListChoice choice;
    std::vector<std::string> unmatched(listed.begin(), listed.end());
    for (const std::string& extension : registered) {
        if (extension.empty() || inNameList(permaDelExts, extension)) continue;
        auto match = std::ranges::find_if(unmatched, [&](const std::string& item) { return equalsIgnoreCase(item, extension); });
        if (match != unmatched.end())
            unmatched.erase(match);
        else if (!listHolds(choice.settingExts, extension))
            choice.settingExts.push_back(extension);
    }
    choice.fileExts = std::move(unmatched);
    return choice;
}

BinFolderChoice chooseBinFolder(std::string_view typed, const Settings& settings, const FolderState& state) {
    typed = trimmed(typed);
    if (typed.empty()) return BinFolderChoice::Keep;
    if (sameFolder(typed, fieldText(settings.UndoBinPath)))
        return fieldText(settings.UndoBinPathNew).empty() ? BinFolderChoice::Keep : BinFolderChoice::CancelMove;
    if (isUnsafeBinFolder(typed)) return BinFolderChoice::RefuseRoot;
    if (state.holdsFiles && !state.holdsActionList) return BinFolderChoice::RefuseFull;
    return BinFolderChoice::Move;
}

std::string binFolderRefusal(BinFolderChoice choice, std::string_view folder) {
    const std::string why =
        "Retrace deletes the files in its Undo Bin that it no longer needs, so the Undo Bin must be a new or "
        "empty folder.";
    if (choice == BinFolderChoice::RefuseRoot)
        return "The Undo Bin cannot be the root of a drive.\n\n" + why;
    if (choice == BinFolderChoice::RefuseFull)
        return "The folder " + std::string(folder) + " already holds files.\n\n" + why;
    return {};
}

std::string versionLine(std::string_view version) { return "Current Version " + std::string(version); }

std::string informationLink(std::span<const std::string_view> lines, size_t button) {
    const size_t line = button + 2;
    return line < lines.size() ? std::string(lines[line]) : std::string();
}
