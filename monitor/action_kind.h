#pragma once
// The kind codes of the monitors' report entries, which the action list
// keeps as the kinds of its records.

#include <cstdint>

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
