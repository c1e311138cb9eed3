#pragma once
// The action record as the program held it before its texts moved into the
// shared text store: every part its own std::string. Kept only to hold the
// compact records to it, load, merge and save alike.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "monitor/file_report.h"
#include "monitor/registry_report.h"

struct StringRecord {
    char programName[9] = {};
    std::string programPath;
    int32_t processId = 0, kind = 0;
    uint16_t date = 0, time = 0;
    int32_t source = 0;
    std::string dataA, dataB, dataC;
    int32_t slots[10] = {};  // sizeA to isDownload; undone is slots[3]
};

struct StringRecordList {
    std::vector<StringRecord> records;
    bool damaged = false;
};

// The list file's records, undone ones left out, or damaged and empty.
StringRecordList parseStringRecords(std::string_view bytes);
// The records in front of the first one that does not fit, undone included.
std::vector<StringRecord> readableStringRecords(std::string_view bytes);
std::string serializeStringRecords(const std::vector<StringRecord>& records);
// Both reports folded in time order, file entries first within a second.
void mergeIntoStringRecords(const std::vector<FileReportEntry>& files,
                            const std::vector<RegistryReportEntry>& registry, std::vector<StringRecord>& records);
