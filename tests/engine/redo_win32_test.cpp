// Redo on real files: what each undo keeps, and repeating what it took back.

#include "engine/redo_win32.h"

#include <windows.h>

#include <algorithm>

#include "base/file_operations_win32.h"
#include "engine/file_undo_win32.h"
#include "tests/engine/engine_fixture_win32.h"
#include "tests/support/faulty_disk_win32.h"
#include "tools/monitor_standin/recycle_bin_win32.h"

namespace {

class Redo : public EngineTest {
protected:
    // Undoes the records given newest first, as the confirmation dialogs do.
    void undoAll(std::initializer_list<int> indices) {
        MessageBoxAnswerer answerer("Undo Error");
        for (int index : indices) undoAction(index);
        EXPECT_TRUE(answerer.texts().empty());
    }

    // The records redo put back at the end of actionList, by kind and path.
    std::vector<std::string> returned(size_t before) const {
        std::vector<std::string> records;
        for (size_t i = before; i < actionList.size(); ++i) {
            EXPECT_EQ(actionList[i].undone(), 0);
            records.push_back(std::to_string(actionList[i].kind) + " " + actionList[i].dataA);
        }
        return records;
    }

    std::vector<std::string> redoFolderFiles() const { return filesIn(redoFolder()); }
};

}  // namespace

TEST_F(Redo, ACreateKeptInTheRedoFolderComesBackAndTheFolderIsEmptiedAfter) {
    putFile(doc("retrace redo created.doc"), "created");
    int created = record(kindCreate, doc("retrace redo created.doc"));
    undoAll({created});
    EXPECT_FALSE(exists(doc("retrace redo created.doc")));
    EXPECT_EQ(redoCount(), 1);
    EXPECT_EQ(contentOf(redoFolder() + "\\retrace redo created.doc"), "created");

    size_t before = actionList.size();
    redoLastUndo();
    EXPECT_EQ(contentOf(doc("retrace redo created.doc")), "created");
    EXPECT_EQ(returned(before), std::vector<std::string>{"1 " + doc("retrace redo created.doc")});
    EXPECT_EQ(redoCount(), 0);
    EXPECT_TRUE(redoFolderFiles().empty());
    eraseRecycledFile(recycleBinFilesFolder() + "\\retrace redo created.doc");
}

TEST_F(Redo, ACreateOfAnEmptyFileComesBackToo) {
    putFile(doc("retrace redo empty.txt"), "");
    undoAll({record(kindCreate, doc("retrace redo empty.txt"))});
    size_t before = actionList.size();
    redoLastUndo();
    EXPECT_TRUE(exists(doc("retrace redo empty.txt")));
    EXPECT_EQ(contentOf(doc("retrace redo empty.txt")), "");
    EXPECT_EQ(returned(before), std::vector<std::string>{"1 " + doc("retrace redo empty.txt")});
    eraseRecycledFile(recycleBinFilesFolder() + "\\retrace redo empty.txt");
}

TEST_F(Redo, ACreateWhoseNameWasTakenSinceIsDroppedAndTheNewFileKept) {
    putFile(doc("retrace redo taken.doc"), "created");
    undoAll({record(kindCreate, doc("retrace redo taken.doc"))});
    putFile(doc("retrace redo taken.doc"), "someone else's");

    size_t before = actionList.size();
    redoLastUndo();
    EXPECT_EQ(contentOf(doc("retrace redo taken.doc")), "someone else's");
    EXPECT_EQ(actionList.size(), before);
    EXPECT_TRUE(redoFolderFiles().empty());
    eraseRecycledFile(recycleBinFilesFolder() + "\\retrace redo taken.doc");
}

TEST_F(Redo, AnUndoBeforeTheRedoFolderExistsStillKeepsWhatRedoNeeds) {
    RemoveDirectoryA(redoFolder().c_str());
    putFile(doc("retrace redo early.doc"), "early");
    undoAll({record(kindCreate, doc("retrace redo early.doc"))});
    redoLastUndo();
    EXPECT_EQ(contentOf(doc("retrace redo early.doc")), "early");
    eraseRecycledFile(recycleBinFilesFolder() + "\\retrace redo early.doc");
}

TEST_F(Redo, TwoFilesOfOneNameInTwoFoldersEachGetTheirOwnContentBack) {
    makeFolder(doc("A"));
    makeFolder(doc("B"));
    putFile(doc("A\\retrace same.txt"), "from A");
    putFile(doc("B\\retrace same.txt"), "from B");
    int first = record(kindCreate, doc("A\\retrace same.txt"));
    int second = record(kindCreate, doc("B\\retrace same.txt"));
    undoAll({second, first});
    EXPECT_EQ(redoFolderFiles().size(), 2u);

    redoLastUndo();
    EXPECT_EQ(contentOf(doc("A\\retrace same.txt")), "from A");
    EXPECT_EQ(contentOf(doc("B\\retrace same.txt")), "from B");
    std::string recycleBin = recycleBinFilesFolder();
    for (const std::string& name : filesIn(recycleBin))
        if (name.rfind("retrace same", 0) == 0) eraseRecycledFile(recycleBin + "\\" + name);
}

TEST_F(Redo, ADeleteOrModifyTakesAwayExactlyTheRestoreFileAndGetsItsSavedCopyBack) {
    std::string deletedCopy = savedCopy("00000010.sav", "deleted letter");
    std::string modifiedCopy = savedCopy("00000011.sav", "first draft");
    putFile(doc("report.doc"), "second draft");
    int deleted = record(kindDelete, doc("letter.doc"), "", deletedCopy);
    int modified = record(kindModify, doc("report.doc"), "", modifiedCopy);
    undoAll({modified, deleted});
    ASSERT_TRUE(exists(doc("letter.undo.doc")));
    ASSERT_TRUE(exists(doc("report.undo.doc")));

    // Meanwhile a new file takes the deleted one's name, and the bin's
    // upkeep sweeps the saved copies of the undone records.
    putFile(doc("letter.doc"), "a new letter");
    putFile(doc("report.undo.undo.doc"), "not the undo's");
    DeleteFileA(deletedCopy.c_str());
    DeleteFileA(modifiedCopy.c_str());

    size_t before = actionList.size();
    redoLastUndo();
    EXPECT_FALSE(exists(doc("letter.undo.doc")));
    EXPECT_FALSE(exists(doc("report.undo.doc")));
    EXPECT_EQ(contentOf(doc("letter.doc")), "a new letter");
    EXPECT_EQ(contentOf(doc("report.doc")), "second draft");
    EXPECT_EQ(contentOf(doc("report.undo.undo.doc")), "not the undo's");
    EXPECT_EQ(returned(before), (std::vector<std::string>{"2 " + doc("letter.doc"), "4 " + doc("report.doc")}));
    EXPECT_EQ(decodeSavedCopy(contentOf(deletedCopy)), "deleted letter");
    EXPECT_EQ(decodeSavedCopy(contentOf(modifiedCopy)), "first draft");
}

TEST_F(Redo, ARedoStruckAtAnyCallNeverLosesTheOnlyCopyOfWhatItBringsBack) {
    const std::string copy = bin + "\\00000010.sav";
    auto returned = [&](int32_t kind) {
        return std::any_of(actionList.begin(), actionList.end(),
                           [&](const ActionRecord& r) { return r.kind == kind && r.undone() == 0; });
    };
    runFaultMatrix(
        "redoing a Delete whose saved copy was swept, and a Create",
        [&] {
            startAfresh();
            int deleted = record(kindDelete, doc("letter.doc"), "", savedCopy("00000010.sav", "deleted letter"));
            putFile(doc("retrace redo struck.doc"), "created");
            int created = record(kindCreate, doc("retrace redo struck.doc"));
            undoAll({created, deleted});
            DeleteFileA(copy.c_str());  // the bin's upkeep swept it: the Redo folder holds the only one
        },
        [] { redoLastUndo(); },
        [&] {
            EXPECT_TRUE(decodeSavedCopy(contentOf(copy)) == "deleted letter" ||
                        contentOf(doc("letter.undo.doc")) == "deleted letter");
            EXPECT_TRUE(!returned(kindDelete) || decodeSavedCopy(contentOf(copy)) == "deleted letter");
            EXPECT_TRUE(!returned(kindCreate) || contentOf(doc("retrace redo struck.doc")) == "created");
        },
        {Fault::Cut, Fault::DiskFull, Fault::FailOne, Fault::LieOne});
    std::string recycleBin = recycleBinFilesFolder();
    for (const std::string& name : filesIn(recycleBin))
        if (name.rfind("retrace redo struck", 0) == 0) eraseRecycledFile(recycleBin + "\\" + name);
}

TEST_F(Redo, RenamesAndMovesAreMadeAgainUnlessTheNameIsTakenThenTheyStayAway) {
    makeFolder(doc("Sent"));
    putFile(doc("draft.doc"), "renamed");
    putFile(doc("Sent\\letter.doc"), "moved");
    putFile(doc("kept.doc"), "kept");
    int renamed = record(kindRename, doc("plan.doc"), doc("draft.doc"));
    int moved = record(kindMove, doc("letter.doc"), doc("Sent\\letter.doc"));
    int blocked = record(kindRename, doc("kept old.doc"), doc("kept.doc"));
    undoAll({blocked, moved, renamed});
    putFile(doc("kept.doc"), "someone else's");

    size_t before = actionList.size();
    redoLastUndo();
    EXPECT_EQ(contentOf(doc("draft.doc")), "renamed");
    EXPECT_EQ(contentOf(doc("Sent\\letter.doc")), "moved");
    EXPECT_EQ(contentOf(doc("kept old.doc")), "kept");
    EXPECT_EQ(contentOf(doc("kept.doc")), "someone else's");
    EXPECT_EQ(returned(before), (std::vector<std::string>{"3 " + doc("plan.doc"), "8 " + doc("letter.doc")}));
}

TEST_F(Redo, ActionsThatBuiltOnOneAnotherComeBackInTheirOrder) {
    // A program creates a file, then renames it.
    putFile(doc("retrace final.doc"), "content");
    int created = record(kindCreate, doc("retrace temp.doc"));
    int renamed = record(kindRename, doc("retrace temp.doc"), doc("retrace final.doc"));
    undoAll({renamed, created});
    ASSERT_FALSE(exists(doc("retrace final.doc")));
    ASSERT_FALSE(exists(doc("retrace temp.doc")));

    size_t before = actionList.size();
    redoLastUndo();
    EXPECT_EQ(contentOf(doc("retrace final.doc")), "content");
    EXPECT_FALSE(exists(doc("retrace temp.doc")));
    EXPECT_EQ(returned(before), (std::vector<std::string>{"1 " + doc("retrace temp.doc"), "3 " + doc("retrace temp.doc")}));
    eraseRecycledFile(recycleBinFilesFolder() + "\\retrace temp.doc");
}

TEST_F(Redo, ARecycleIsRecycledAgainAndAMoveBetweenDrivesCopiedAgain) {
    std::string recycled = scratch / "Recycled";
    makeFolder(recycled);
    putFile(recycled + "\\DC1.doc", "recycled");
    std::string lowerDrive = docs;
    lowerDrive[0] = char(tolower(lowerDrive[0]));
    makeFolder(doc("Archive"));
    putFile(doc("Archive\\video.avi"), "video");
    int recycle = record(kindRecycle, doc("retrace recycled.doc"), "", recycled + "\\DC1.doc");
    int move = record(kindMove, lowerDrive + "\\video.avi", doc("Archive\\video.avi"));
    undoAll({move, recycle});
    ASSERT_EQ(contentOf(doc("retrace recycled.doc")), "recycled");
    ASSERT_EQ(contentOf(doc("video.avi")), "video");

    size_t before = actionList.size();
    redoLastUndo();
    EXPECT_FALSE(exists(doc("retrace recycled.doc")));
    EXPECT_EQ(contentOf(recycleBinFilesFolder() + "\\retrace recycled.doc"), "recycled");
    EXPECT_FALSE(exists(doc("video.avi")));
    EXPECT_EQ(contentOf(doc("Archive\\video.avi")), "video");
    EXPECT_EQ(actionList.size(), before + 2);
    eraseRecycledFile(recycleBinFilesFolder() + "\\retrace recycled.doc");
}

TEST_F(Redo, AnEmptyListChangesNothing) {
    record(kindCreate, doc("untouched.doc"));
    putFile(redoFolder() + "\\stale.doc", "left from an earlier run");
    redoLastUndo();
    EXPECT_EQ(actionList.size(), 1u);
    EXPECT_EQ(actionList[0].undone(), 0);
    EXPECT_TRUE(redoFolderFiles().empty());
}

TEST_F(Redo, ClearingForgetsTheListAndEmptiesTheFolderButNotItsSubfolders) {
    putFile(doc("retrace cleared.doc"), "x");
    undoAll({record(kindCreate, doc("retrace cleared.doc"))});
    makeFolder(redoFolder() + "\\Sub");
    clearRedo();
    EXPECT_EQ(redoCount(), 0);
    EXPECT_TRUE(redoFolderFiles().empty());
    EXPECT_TRUE(exists(redoFolder() + "\\Sub"));
    eraseRecycledFile(recycleBinFilesFolder() + "\\retrace cleared.doc");
}
