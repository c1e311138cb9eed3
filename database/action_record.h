#pragma once
// One recorded change, or one boot marker, as the program keeps it.

#include <cstdint>
#include <string_view>
#include <type_traits>

#include "database/record_text.h"
#include "monitor/action_kind.h"

enum RecordSource : int32_t { sourceFileReport = 1, sourceRegistryReport = 2 };

// Field order and names follow the action list file. The variable parts are
// texts in the shared text store (record_text.h), so a record is 84 bytes
// and copied as bytes; a null buffer and an empty one mean the same to
// every reader. Registry records keep their value data in dataA and dataB
// as bytes, zero bytes included, with sizeA and sizeB as their lengths.
struct ActionRecord {
    char programName[9] = {};  // up to 8 characters; "CPL" an applet, "explorer" the shell
    RecordText programPath;    // interned: a program's records share it
    int32_t processId = 0;
    int32_t kind = kindNone;
    uint16_t date = 0;  // MS-DOS date
    uint16_t time = 0;  // MS-DOS time
    int32_t source = 0;
    RecordText dataA;
    RecordText dataB;
    RecordText dataC;
    // The ten integer slots, stored in this order.
    int32_t sizeA = 0;
    int32_t sizeB = 0;
    int32_t valueType = 0;
    int32_t undone = 0;
    int32_t isSetting = 0;
    int32_t isControlPanel = 0;
    int32_t isExplorer = 0;
    int32_t isBootMarker = 0;
    int32_t isIniFile = 0;
    int32_t isDownload = 0;
};

static_assert(std::is_trivially_copyable_v<ActionRecord> && sizeof(ActionRecord) == 84);

// The label lists and dialogs show for a kind; "" for codes 0 and 6 and for
// any code outside the table, which files may well hold.
std::string_view actionKindLabel(int32_t kind);
