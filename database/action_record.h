#pragma once
// One recorded change, or one boot marker, as the program keeps it.

#include <cstdint>
#include <string>
#include <string_view>

// Action kind codes, shared with the monitor drivers' reports.
enum ActionKind : int32_t {
    kindNone = 0,
    kindCreate = 1,
    kindDelete = 2,
    kindRename = 3,
    kindModify = 4,
    kindRecycle = 5,
    kindBootMarker = 6,
    kindCopy = 7,
    kindMove = 8,
    kindRegistryFirst = 10,
    kindRegistryLast = 14,
};

enum RecordSource : int32_t { sourceFileReport = 1, sourceRegistryReport = 2 };

// Field order and names follow the action list file. The owned buffers are
// strings: a null buffer and an empty one mean the same to every reader.
// Registry records keep their value data in dataA and dataB as bytes, zero
// bytes included, with sizeA and sizeB as their lengths.
struct ActionRecord {
    char programName[9] = {};  // up to 8 characters; "CPL" an applet, "explorer" the shell
    std::string programPath;
    int32_t processId = 0;
    int32_t kind = kindNone;
    uint16_t date = 0;  // MS-DOS date
    uint16_t time = 0;  // MS-DOS time
    int32_t source = 0;
    std::string dataA;
    std::string dataB;
    std::string dataC;
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

// The label lists and dialogs show for a kind; "" for codes 0 and 6 and for
// any code outside the table, which files may well hold.
std::string_view actionKindLabel(int32_t kind);
