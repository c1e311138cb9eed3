#include "engine/file_steps.h"

#include <gtest/gtest.h>

#include "tests/database/record_builder.h"

namespace {
using Operation = FileStep::Operation;

ActionRecord fileRecord(int32_t kind, std::string a, std::string b = {}, std::string c = {}) {
    ActionRecord record = RecordBuilder("winword", 7, kind).paths(std::move(a), std::move(b));
    record.dataC = std::move(c);
    return record;
}

void expectStep(const FileStep& step, Operation operation, const std::string& from, const std::string& to) {
    EXPECT_EQ(step.operation, operation);
    EXPECT_EQ(step.from, from);
    EXPECT_EQ(step.to, to);
}
}  // namespace

TEST(OnSameDrive, ComparesTheFirstBytesWithCaseCounting) {
    EXPECT_TRUE(onSameDrive("C:\\a\\x.doc", "C:\\b\\x.doc"));
    EXPECT_FALSE(onSameDrive("c:\\a\\x.doc", "C:\\b\\x.doc"));
    EXPECT_FALSE(onSameDrive("C:\\a\\x.doc", "D:\\a\\x.doc"));
    EXPECT_FALSE(onSameDrive("", ""));
}

TEST(UndoStep, PutsEachKindOfFileActionBack) {
    const std::string saved = "C:\\Bin\\00000001.sav";
    expectStep(undoStep(fileRecord(kindCreate, "C:\\new.doc")), Operation::Recycle, "C:\\new.doc", "");
    expectStep(undoStep(fileRecord(kindCopy, "C:\\copy.doc")), Operation::Recycle, "C:\\copy.doc", "");
    expectStep(undoStep(fileRecord(kindDelete, "C:\\gone.doc", "", saved)), Operation::RestoreBeside, saved,
               "C:\\gone.doc");
    expectStep(undoStep(fileRecord(kindModify, "C:\\report.doc", "", saved)), Operation::RestoreBeside, saved,
               "C:\\report.doc");
    expectStep(undoStep(fileRecord(kindRename, "C:\\old.doc", "C:\\new.doc")), Operation::Move, "C:\\new.doc",
               "C:\\old.doc");
    expectStep(undoStep(fileRecord(kindRecycle, "C:\\x.doc", "", "C:\\RECYCLED\\DC1.DOC")), Operation::CopyThenDelete,
               "C:\\RECYCLED\\DC1.DOC", "C:\\x.doc");
    expectStep(undoStep(fileRecord(kindMove, "C:\\a\\x.doc", "C:\\b\\x.doc")), Operation::Move, "C:\\b\\x.doc",
               "C:\\a\\x.doc");
    expectStep(undoStep(fileRecord(kindMove, "c:\\a\\x.doc", "C:\\b\\x.doc")), Operation::CopyThenDelete,
               "C:\\b\\x.doc", "c:\\a\\x.doc");
    for (int32_t kind : {int32_t(kindNone), int32_t(kindBootMarker), 9, 10, 14, -1})
        EXPECT_EQ(undoStep(fileRecord(kind, "C:\\x.doc")).operation, Operation::Nothing) << kind;
}

TEST(RedoStep, RepeatsTheActionAndTakesAwayOnlyWhatTheUndoMade) {
    auto entry = [](ActionRecord record, std::string kept = {}, std::string restore = {}) {
        return RedoEntry{std::move(record), std::move(kept), std::move(restore)};
    };
    const std::string kept = "C:\\Bin\\Redo\\new.doc";
    expectStep(redoStep(entry(fileRecord(kindCreate, "C:\\new.doc"), kept)), Operation::Copy, kept, "C:\\new.doc");
    expectStep(redoStep(entry(fileRecord(kindCopy, "C:\\new.doc"), kept)), Operation::Copy, kept, "C:\\new.doc");
    expectStep(redoStep(entry(fileRecord(kindModify, "C:\\r.doc"), kept, "C:\\r.undo.doc")), Operation::Delete,
               "C:\\r.undo.doc", "");
    // Never the file that holds the original name now: it may be a new one.
    expectStep(redoStep(entry(fileRecord(kindDelete, "C:\\r.doc"), kept, "C:\\r.undo.undo.doc")), Operation::Delete,
               "C:\\r.undo.undo.doc", "");
    expectStep(redoStep(entry(fileRecord(kindRename, "C:\\old.doc", "C:\\new.doc"))), Operation::Move, "C:\\old.doc",
               "C:\\new.doc");
    expectStep(redoStep(entry(fileRecord(kindRecycle, "C:\\x.doc", "", "C:\\RECYCLED\\DC1.DOC"))), Operation::Recycle,
               "C:\\x.doc", "");
    expectStep(redoStep(entry(fileRecord(kindMove, "C:\\a\\x.doc", "D:\\x.doc"))), Operation::CopyThenDelete,
               "C:\\a\\x.doc", "D:\\x.doc");
    expectStep(redoStep(entry(fileRecord(kindMove, "C:\\a\\x.doc", "C:\\b\\x.doc"))), Operation::Move, "C:\\a\\x.doc",
               "C:\\b\\x.doc");
    // Nothing kept, no restore file written, or no kind to repeat: the entry cannot be redone.
    EXPECT_EQ(redoStep(entry(fileRecord(kindCreate, "C:\\new.doc"))).operation, Operation::Nothing);
    EXPECT_EQ(redoStep(entry(fileRecord(kindModify, "C:\\r.doc"), kept)).operation, Operation::Nothing);
    EXPECT_EQ(redoStep(entry(fileRecord(kindBootMarker, "BOOT0001"))).operation, Operation::Nothing);
}
