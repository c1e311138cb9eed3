#pragma once
// One recorded change, or one boot marker, as the program keeps it.

#include <cstdint>
#include <string_view>
#include <type_traits>

#include "database/record_flags.h"
#include "database/record_text.h"
#include "monitor/action_kind.h"

enum RecordSource : int32_t { sourceFileReport = 1, sourceRegistryReport = 2 };

// Field order and names follow the action list file. The variable parts are
// texts in the shared text store (record_text.h) and the flag slots take a
// byte each (record_flags.h), so a record is 60 bytes and copied as bytes;
// a null buffer and an empty one mean the same to every reader. Registry
// records keep their value data in dataA and dataB as bytes, zero bytes
// included, with sizeA and sizeB as their lengths.
struct ActionRecord {
    char programName[9] = {};  // up to 8 characters; "CPL" an applet, "explorer" the shell
private:
    RecordFlags flags_;  // beside the name, in what would be padding

public:
    RecordText programPath;  // interned: a program's records share it
    int32_t processId = 0;
    int32_t kind = kindNone;
    uint16_t date = 0;  // MS-DOS date
    uint16_t time = 0;  // MS-DOS time
    int32_t source = 0;
    RecordText dataA;
    RecordText dataB;
    RecordText dataC;
    // The file's ten integer slots, in its order: these three, then the
    // seven flags below.
    int32_t sizeA = 0;
    int32_t sizeB = 0;
    int32_t valueType = 0;

    // Counts rather than yes or no: any value but 0 marks the record.
    int32_t undone() const { return flags_.get(0); }
    int32_t isSetting() const { return flags_.get(1); }
    int32_t isControlPanel() const { return flags_.get(2); }
    int32_t isExplorer() const { return flags_.get(3); }
    int32_t isBootMarker() const { return flags_.get(4); }
    int32_t isIniFile() const { return flags_.get(5); }
    int32_t isDownload() const { return flags_.get(6); }
    // All seven in file order, for a load and a save.
    RecordFlags::Values flags() const { return flags_.values(); }
    void setFlags(const RecordFlags::Values& values) { flags_.assign(values); }

    void setUndone(int32_t value) { flags_.set(0, value); }
    void setIsSetting(int32_t value) { flags_.set(1, value); }
    void setIsControlPanel(int32_t value) { flags_.set(2, value); }
    void setIsExplorer(int32_t value) { flags_.set(3, value); }
    void setIsBootMarker(int32_t value) { flags_.set(4, value); }
    void setIsIniFile(int32_t value) { flags_.set(5, value); }
    void setIsDownload(int32_t value) { flags_.set(6, value); }
};

static_assert(std::is_trivially_copyable_v<ActionRecord> && sizeof(ActionRecord) == 60);

// The label lists and dialogs show for a kind; "" for codes 0 and 6 and for
// any code outside the table, which files may well hold.
std::string_view actionKindLabel(int32_t kind);
