#include "monitor/report_writer_win32.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>

#include "base/whole_file_win32.h"
#include "monitor/saved_copy.h"
#include "monitor/start_over_set.h"

namespace {

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A saved copy cut short is no copy: it goes again.
bool writeFile(const std::string& path, std::string_view bytes, DWORD disposition) {
    if (writeFileWhole(path, bytes, disposition)) return true;
    DeleteFileA(path.c_str());
    return false;
}

bool appendToFile(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr) && written == bytes.size();
    CloseHandle(file);
    return ok;
}

// Tries fresh names in `folder` until `take` succeeds with one; a failure
// other than a taken name ends the search.
template <class Take>
std::string firstFreeName(const std::string& folder, uint32_t& nextNumber, Take take) {
    for (int attempt = 0; attempt < 1000; ++attempt) {
        char name[16];
        std::snprintf(name, sizeof name, "%08X.sav", unsigned(nextNumber++));
        std::string path = folder + "\\" + name;
        if (take(path)) return path;
        DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return {};
    }
    return {};
}

}  // namespace

ReportWriter::ReportWriter(std::string binFolder) : bin_(std::move(binFolder)), nextCopyNumber_(GetTickCount()) {
    while (bin_.size() > 3 && bin_.ends_with('\\')) bin_.pop_back();
    SHCreateDirectoryExA(nullptr, bin_.c_str(), nullptr);
}

AppendResult ReportWriter::appendFile(const FileReportEntry& entry) {
    if (!fitsFileReport(entry)) return AppendResult::DoesNotFit;
    return appendToReport("filereport.000", serializeFileReportEntry(entry));
}

AppendResult ReportWriter::appendRegistry(const RegistryReportEntry& entry) {
    if (!fitsRegistryReport(entry)) return AppendResult::DoesNotFit;
    return appendToReport("regreport.000", serializeRegistryReportEntry(entry));
}

AppendResult ReportWriter::appendToReport(const char* report, const std::string& bytes) {
    return appendToFile(bin_ + "\\" + report, bytes) ? AppendResult::Written : AppendResult::Failed;
}

std::string ReportWriter::saveCopy(std::string_view content, const std::string& folder) {
    return saveEncodedCopy(encodeSavedCopy(content), folder);
}

std::string ReportWriter::saveEncodedCopy(std::string_view encoded, const std::string& folder) {
    return firstFreeName(folder.empty() ? bin_ : folder, nextCopyNumber_,
                         [&](const std::string& path) { return writeFile(path, encoded, CREATE_NEW); });
}

std::string ReportWriter::adoptCopy(const std::string& savedCopy) {
    return firstFreeName(bin_, nextCopyNumber_,
                         [&](const std::string& path) { return MoveFileA(savedCopy.c_str(), path.c_str()) != 0; });
}

AppendResult ReportWriter::appendBootMarker(uint16_t date, uint16_t time, std::string marker) {
    if (marker.empty()) marker = bootMarkerText(date, time);
    if (!saveStartOverSet(marker)) return AppendResult::Failed;
    FileReportEntry entry;
    entry.date = date;
    entry.time = time;
    entry.kind = kindBootMarker;
    std::strncpy(entry.markerText, marker.c_str(), 8);
    return appendFile(entry);
}

bool ReportWriter::saveStartOverSet(const std::string& marker) {
    char windows[MAX_PATH];
    UINT length = GetWindowsDirectoryA(windows, sizeof windows);
    if (length == 0 || length >= sizeof windows) return false;
    std::string folder = bin_ + "\\SO";
    CreateDirectoryA(folder.c_str(), nullptr);
    for (auto& file : startOverSet) {
        std::string path = file.inWindowsFolder ? std::string(windows) + "\\" + file.file : file.file;
        std::string content;
        if (!exists(path) || !readFileQuietly(path, content)) continue;
        if (!writeFile(folder + "\\" + marker + "." + file.extension, encodeSavedCopy(content), CREATE_ALWAYS))
            return false;
    }
    return true;
}
