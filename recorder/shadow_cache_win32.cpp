#include "recorder/shadow_cache_win32.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "base/paths.h"
#include "base/whole_file_win32.h"
#include "monitor/saved_copy.h"
#include "recorder/path_map.h"
#include "recorder/saved_state.h"

namespace {

// A handful of files per folder: Wine looks through a whole folder for
// every file it creates there.
constexpr uint32_t folderCount = 256;

constexpr std::string_view indexMagic = "RetraceShadowIndex1";

void deleteTree(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName, path = folder + "\\" + name;
            if (name == "." || name == "..") continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                deleteTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

}  // namespace

std::optional<std::string> readWithoutHolding(const std::string& path) {
    std::string bytes;
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (readFileQuietly(path, bytes)) return bytes;
        if (GetLastError() != ERROR_SHARING_VIOLATION) return std::nullopt;
        Sleep(10 << attempt);
    }
    return std::nullopt;
}

ShadowCache::ShadowCache(std::string folder, uint64_t undoBinSize) : folder_(std::move(folder)), budget_(undoBinSize) {
    std::string index;
    if (readFileQuietly(folder_ + "\\index", index) && takeOver(index)) return;
    held_.clear();
    budget_ = ShadowBudget(undoBinSize);
    deleteTree(folder_);
    SHCreateDirectoryExA(nullptr, folder_.c_str(), nullptr);
    for (uint32_t index = 0; index < folderCount; ++index) {
        char name[8];
        std::snprintf(name, sizeof name, "\\%02X", index);
        CreateDirectoryA((folder_ + name).c_str(), nullptr);
    }
}

// The index's copies that are still there, within the budget; the numbers
// of new copies go on after the highest.
bool ShadowCache::takeOver(std::string_view index) {
    StateReader in(index, indexMagic);
    for (uint64_t count = in.nextNumber().value_or(0); count > 0 && in.ok(); --count) {
        std::optional<std::string> path = in.nextText();
        Held held;
        held.file = folder_ + in.nextText().value_or("");
        held.bytes = in.nextNumber().value_or(0);
        uint64_t shadowClass = in.nextNumber().value_or(0);
        held.shadowClass = shadowClass <= uint64_t(ShadowClass::Document) ? ShadowClass(shadowClass) : ShadowClass::None;
        uint32_t number = uint32_t(in.nextNumber().value_or(0));
        if (!path || GetFileAttributesA(held.file.c_str()) == INVALID_FILE_ATTRIBUTES ||
            !budget_.take(held.shadowClass, held.bytes))
            continue;
        next_ = std::max(next_, number + 1);
        held_[*path] = std::move(held);
    }
    return in.atEnd();
}

void ShadowCache::keep() const {
    StateWriter out(indexMagic);
    out.addNumber(held_.size());
    for (const auto& [path, held] : held_) {
        out.addText(path);
        out.addText(std::string_view(held.file).substr(folder_.size()));
        out.addNumber(held.bytes);
        out.addNumber(uint64_t(held.shadowClass));
        out.addNumber(std::strtoul(fileNameOf(held.file).data(), nullptr, 16));
    }
    std::string index = folder_ + "\\index", fresh = index + ".new";
    if (writeFileWhole(fresh, out.bytes(), CREATE_ALWAYS))
        MoveFileExA(fresh.c_str(), index.c_str(), MOVEFILE_REPLACE_EXISTING);
}

std::string ShadowCache::freshFile() {
    char name[24];
    uint32_t number = next_++;
    std::snprintf(name, sizeof name, "\\%02X\\%08X.sav", number % folderCount, number);
    return folder_ + name;
}

void ShadowCache::refresh(const std::string& path, uint64_t size) {
    forget(path);
    ShadowClass shadowClass = shadowClassOf(path, size);
    if (shadowClass == ShadowClass::None) return;
    std::optional<std::string> content = readWithoutHolding(path);
    if (!content) return;
    std::string encoded = encodeSavedCopy(*content);
    if (!budget_.take(shadowClass, encoded.size())) return;
    Held held{freshFile(), encoded.size(), shadowClass};
    if (!writeFileWhole(held.file, encoded, CREATE_ALWAYS)) {
        budget_.give(shadowClass, held.bytes);
        return;
    }
    held_[path] = std::move(held);
}

void ShadowCache::forget(const std::string& path) {
    for (auto found : entriesWithin(held_, path)) {
        DeleteFileA(found->second.file.c_str());
        budget_.give(found->second.shadowClass, found->second.bytes);
        held_.erase(found);
    }
}

void ShadowCache::rename(const std::string& from, const std::string& to) {
    std::vector<std::pair<std::string, Held>> moved;
    for (auto it : entriesWithin(held_, from)) {
        moved.emplace_back(to + it->first.substr(from.size()), std::move(it->second));
        held_.erase(it);
    }
    for (auto& [path, held] : moved) {
        forget(path);
        held_[path] = std::move(held);
    }
}

std::optional<std::string> ShadowCache::copyOf(const std::string& path) const {
    auto found = held_.find(path);
    if (found == held_.end()) return std::nullopt;
    return readWithoutHolding(found->second.file);
}
