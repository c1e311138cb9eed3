#pragma once
// Action records for tests, built field by field.

#include <string>

#include "base/dos_time.h"
#include "base/text.h"
#include "database/action_record.h"

struct RecordBuilder {
    ActionRecord record;

    RecordBuilder(std::string_view program, int32_t processId, int32_t kind) {
        setFieldText(record.programName, program);
        record.processId = processId;
        record.kind = kind;
        record.source = kind >= kindRegistryFirst ? sourceRegistryReport : sourceFileReport;
    }
    RecordBuilder& paths(std::string a, std::string b = {}) {
        record.dataA = std::move(a);
        record.dataB = std::move(b);
        return *this;
    }
    RecordBuilder& programPath(std::string path) {
        record.programPath = std::move(path);
        return *this;
    }
    RecordBuilder& at(int hours, int minutes, int year = 1998, int month = 3, int day = 19) {
        record.date = encodeDosDate(year, month, day);
        record.time = encodeDosTime(hours, minutes, 0);
        return *this;
    }
    RecordBuilder& undone(int32_t value = 1) {
        record.setUndone(value);
        return *this;
    }
    operator ActionRecord() const { return record; }
};

inline ActionRecord bootMarker() { return RecordBuilder("", 0, kindBootMarker).paths("BOOT0001"); }
