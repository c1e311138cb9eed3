#include "engine/file_steps.h"

namespace {
using Operation = FileStep::Operation;

FileStep moveStep(const std::string& from, const std::string& to) {
    return {onSameDrive(from, to) ? Operation::Move : Operation::CopyThenDelete, from, to};
}
}  // namespace

bool onSameDrive(std::string_view a, std::string_view b) { return !a.empty() && !b.empty() && a[0] == b[0]; }

FileStep undoStep(const ActionRecord& record) {
    switch (record.kind) {
    case kindCreate:
    case kindCopy: return {Operation::Recycle, record.dataA, {}};
    case kindDelete:
    case kindModify: return {Operation::RestoreBeside, record.dataC, record.dataA};
    case kindRename: return {Operation::Move, record.dataB, record.dataA};
    case kindRecycle: return {Operation::CopyThenDelete, record.dataC, record.dataA};
    case kindMove: return moveStep(record.dataB, record.dataA);
    default: return {};
    }
}

FileStep redoStep(const RedoEntry& entry) {
    const ActionRecord& record = entry.record;
    switch (record.kind) {
    case kindCreate:
    case kindCopy:
        if (entry.keptPath.empty()) return {};
        return {Operation::Copy, entry.keptPath, record.dataA};
    case kindDelete:
    case kindModify:
        if (entry.restorePath.empty()) return {};
        return {Operation::Delete, entry.restorePath, {}};
    case kindRename: return {Operation::Move, record.dataA, record.dataB};
    case kindRecycle: return {Operation::Recycle, record.dataA, {}};
    case kindMove: return moveStep(record.dataA, record.dataB);
    default: return {};
    }
}
