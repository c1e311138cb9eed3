#pragma once
// The registry monitor's report, "regreport.000": one entry per registry
// change, with the value's data before and after it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

inline constexpr size_t maxRegistryPathLength = 511;

// What each registry kind means to the monitors that write the report.
enum RegistryKind : int32_t {
    kindRegistryChangeValue = 10,  // a value that existed was set
    kindRegistryNewValue = 11,     // a value was set that did not exist
    kindRegistryDeleteValue = 12,
    kindRegistryCreateKey = 13,  // key-level kinds report the key's path with a closing backslash
    kindRegistryDeleteKey = 14,
};

struct RegistryReportEntry {
    char programName[9] = {};
    std::string programPath;  // at most 259 characters
    uint32_t processId = 0;
    int32_t kind = 0;  // 10 to 14
    uint32_t valueType = 0;
    uint32_t unused = 0;  // read, carried, not used
    uint16_t date = 0;
    uint16_t time = 0;
    std::string oldData;  // bytes by length, zero bytes included
    std::string newData;
    std::string registryPath;  // at most 511 characters
};

// The entries in file order; names and paths in lower case (paths up to
// their first zero byte), data unchanged.
// Reading stops at an entry that does not fit in the bytes left; an entry
// whose paths are too long is skipped by its lengths.
std::vector<RegistryReportEntry> parseRegistryReport(std::string_view bytes, size_t* wholeBytes = nullptr);

// One entry as the monitor writes it: 44 + LA + LB + LC + LD bytes.
std::string serializeRegistryReportEntry(const RegistryReportEntry& entry);

// Whether the reader takes the entry whole: a registry path within 511
// characters and a program path within 259.
bool fitsRegistryReport(const RegistryReportEntry& entry);
