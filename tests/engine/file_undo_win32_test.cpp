// File undo on real files: every kind, and how each one fails.

#include "engine/file_undo_win32.h"

#include <windows.h>

#include <future>

#include "engine/file_transfer_win32.h"
#include "engine/redo_list.h"
#include "engine/undo_progress.h"
#include "tests/engine/engine_fixture_win32.h"
#include "tests/engine/sample_content.h"
#include "tests/support/faulty_disk_win32.h"
#include "tools/monitor_standin/recycle_bin_win32.h"
#include "ui/application_win32.h"
#include "ui/busy_indicator_win32.h"

namespace {

const std::string undoErrorText =
    "Unable to Undo the file. This happens when the file has been changed after the action the Undo was attempted on.";

class FileUndo : public EngineTest {
protected:
    // Undoes the record and answers the result path; `failures` is the
    // number of "Undo Error" boxes it must show.
    std::string undo(int index, size_t failures = 0) {
        MessageBoxAnswerer answerer("Undo Error");
        std::string result = undoAction(index);
        std::vector<std::string> texts = answerer.texts();
        EXPECT_EQ(texts.size(), failures);
        for (const std::string& text : texts) EXPECT_EQ(text, undoErrorText);
        EXPECT_EQ(actionList[index].undone(), 1) << "marked undone, whatever happened";
        return result;
    }
};

FILETIME lastWriteOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

}  // namespace

TEST_F(FileUndo, AModifyComesBackBesideTheFileAndASecondOneBesideThat) {
    putFile(doc("report.doc"), "third draft");
    int second = record(kindModify, doc("report.doc"), "", savedCopy("00000002.sav", "second draft"));
    int first = record(kindModify, doc("report.doc"), "", savedCopy("00000001.sav", textLike(100000)));

    EXPECT_EQ(undo(second), doc("report.undo.doc"));
    EXPECT_EQ(undo(first), doc("report.undo.undo.doc"));

    EXPECT_EQ(contentOf(doc("report.doc")), "third draft");
    EXPECT_EQ(contentOf(doc("report.undo.doc")), "second draft");
    EXPECT_EQ(contentOf(doc("report.undo.undo.doc")), textLike(100000));
}

TEST_F(FileUndo, AListOfUndosPassesOverRecordsAlreadyUndoneAndIndicesOutsideTheList) {
    putFile(doc("report.doc"), "third draft");
    int modify = record(kindModify, doc("report.doc"), "", savedCopy("00000002.sav", "second draft"));
    const int32_t twice[] = {modify, -1, modify, actionCount()};

    undoActions(twice);

    EXPECT_EQ(contentOf(doc("report.undo.doc")), "second draft");
    EXPECT_EQ(GetFileAttributesA(doc("report.undo.undo.doc").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(FileUndo, ADeleteComesBackUnderTheRestoreNameEvenWhenItsOwnNameIsFree) {
    int deleted = record(kindDelete, doc("report.doc"), "", savedCopy("00000003.sav", "the letter"));
    int readme = record(kindDelete, doc("README"), "", savedCopy("00000004.sav", "read me"));

    EXPECT_EQ(undo(deleted), doc("report.undo.doc"));
    EXPECT_EQ(undo(readme), doc("README.undo"));

    EXPECT_FALSE(exists(doc("report.doc")));
    EXPECT_EQ(contentOf(doc("report.undo.doc")), "the letter");
    EXPECT_EQ(contentOf(doc("README.undo")), "read me");
}

TEST_F(FileUndo, ARestoreMakesTheFoldersTheFileWasIn) {
    std::string gone = docs + "\\Old\\Letters\\letter.txt";
    EXPECT_EQ(undo(record(kindDelete, gone, "", savedCopy("00000005.sav", "Dear Sam,"))),
              docs + "\\Old\\Letters\\letter.undo.txt");
    EXPECT_EQ(contentOf(docs + "\\Old\\Letters\\letter.undo.txt"), "Dear Sam,");
}

TEST_F(FileUndo, ASavedCopyOfNothingGivesAnEmptyRestoreFile) {
    EXPECT_EQ(undo(record(kindModify, doc("empty.txt"), "", savedCopy("00000006.sav", ""))), doc("empty.undo.txt"));
    EXPECT_EQ(contentOf(doc("empty.undo.txt")), "");
}

TEST_F(FileUndo, AMissingOrDamagedSavedCopyFailsWithTheMessage) {
    // Missing: nothing is begun and there is nothing to show.
    EXPECT_EQ(undo(record(kindDelete, doc("a.doc"), "", bin + "\\missing.sav"), 1), "");
    EXPECT_FALSE(exists(doc("a.undo.doc")));

    // Damaged in its second block: what was begun stays, and the undo fails.
    std::string copy = encodeSavedCopy(textLike(50000), BlockMethod::Compressed, 20000);
    copy[copy.size() - 100] ^= 0x5A;
    copy[copy.size() - 2000] ^= 0x5A;
    putFile(bin + "\\damaged.sav", copy);
    EXPECT_EQ(undo(record(kindModify, doc("b.doc"), "", bin + "\\damaged.sav"), 1), doc("b.undo.doc"));
    EXPECT_TRUE(exists(doc("b.undo.doc")));

    // A copy that claims more than its blocks hold.
    std::string cut = encodeSavedCopy("abcdef");
    cut[0] = 7;
    putFile(bin + "\\cut.sav", cut);
    undo(record(kindModify, doc("c.doc"), "", bin + "\\cut.sav"), 1);
}

TEST_F(FileUndo, ARenameOrMoveOnOneDriveGoesBackUnlessTheOldNameIsTaken) {
    putFile(doc("new name.doc"), "renamed");
    makeFolder(doc("Sent"));
    putFile(doc("Sent\\moved.doc"), "moved");
    EXPECT_EQ(undo(record(kindRename, doc("old name.doc"), doc("new name.doc"))), doc("old name.doc"));
    EXPECT_EQ(undo(record(kindMove, doc("moved.doc"), doc("Sent\\moved.doc"))), doc("moved.doc"));
    EXPECT_EQ(contentOf(doc("old name.doc")), "renamed");
    EXPECT_EQ(contentOf(doc("moved.doc")), "moved");
    EXPECT_FALSE(exists(doc("new name.doc")));
    EXPECT_FALSE(exists(doc("Sent\\moved.doc")));

    putFile(doc("taken.doc"), "someone else's");
    putFile(doc("later.doc"), "mine");
    putFile(doc("Sent\\taken.doc"), "mine too");
    undo(record(kindRename, doc("taken.doc"), doc("later.doc")), 1);
    undo(record(kindMove, doc("taken.doc"), doc("Sent\\taken.doc")), 1);
    EXPECT_EQ(contentOf(doc("taken.doc")), "someone else's");
    EXPECT_EQ(contentOf(doc("later.doc")), "mine");
    EXPECT_EQ(contentOf(doc("Sent\\taken.doc")), "mine too");
}

TEST_F(FileUndo, AMoveBetweenDrivesIsCopiedBackWholeThenItsSourceDeleted) {
    // "c:" and "C:" differ as bytes, so this counts as two drives.
    std::string lowerDrive = docs;
    lowerDrive[0] = char(tolower(lowerDrive[0]));
    std::string upperDrive = docs;
    upperDrive[0] = char(toupper(upperDrive[0]));
    makeFolder(doc("Archive"));
    std::string content = randomBytes(3 * 1024 * 1024 + 17);
    putFile(upperDrive + "\\Archive\\video.avi", content);
    FILETIME written = lastWriteOf(upperDrive + "\\Archive\\video.avi");

    EXPECT_EQ(undo(record(kindMove, lowerDrive + "\\video.avi", upperDrive + "\\Archive\\video.avi")),
              lowerDrive + "\\video.avi");
    EXPECT_EQ(contentOf(doc("video.avi")), content);
    FILETIME restored = lastWriteOf(doc("video.avi"));
    EXPECT_EQ(CompareFileTime(&written, &restored), 0) << "the file keeps its date";
    EXPECT_FALSE(exists(doc("Archive\\video.avi")));

    // When the old name is taken the copy is refused and the source stays.
    putFile(upperDrive + "\\Archive\\clip.avi", "clip");
    putFile(doc("clip.avi"), "another clip");
    undo(record(kindMove, lowerDrive + "\\clip.avi", upperDrive + "\\Archive\\clip.avi"), 1);
    EXPECT_EQ(contentOf(doc("clip.avi")), "another clip");
    EXPECT_EQ(contentOf(doc("Archive\\clip.avi")), "clip");
}

TEST_F(FileUndo, ACreateOrCopyGoesToTheRecycleBinAndShowsNothing) {
    std::string recycleBin = recycleBinFilesFolder();
    ASSERT_FALSE(recycleBin.empty());
    putFile(doc("created by retrace test.doc"), "new");
    putFile(doc("copied by retrace test.doc"), "copy");

    EXPECT_EQ(undo(record(kindCreate, doc("created by retrace test.doc"))), "");
    EXPECT_EQ(undo(record(kindCopy, doc("copied by retrace test.doc"))), "");

    EXPECT_FALSE(exists(doc("created by retrace test.doc")));
    EXPECT_FALSE(exists(doc("copied by retrace test.doc")));
    EXPECT_EQ(contentOf(recycleBin + "\\created by retrace test.doc"), "new");
    EXPECT_EQ(contentOf(recycleBin + "\\copied by retrace test.doc"), "copy");
    eraseRecycledFile(recycleBin + "\\created by retrace test.doc");
    eraseRecycledFile(recycleBin + "\\copied by retrace test.doc");

    // A file that is gone already has nothing left to take away: no
    // question of the shell, no failure.
    MessageBoxAnswerer refuse("Confirm file deletion", IDNO);
    undo(record(kindCreate, doc("never there.doc")), 0);
    undo(record(kindCopy, doc("never copied.doc")), 0);
    EXPECT_TRUE(refuse.texts().empty());
}

TEST_F(FileUndo, AListCountsItsFilesOnThePanelAndNamesThoseThatFailedInOneMessage) {
    appInstance = GetModuleHandleA(nullptr);
    startBusyIndicator();
    HWND panel = busyPanel();
    ASSERT_NE(panel, nullptr);
    putFile(doc("taken.doc"), "took the old name since");
    putFile(doc("moved.doc"), "moved");
    // In the order undone: newest first.
    const std::vector<int32_t> newestFirst = {
        record(kindRename, doc("kept.doc"), doc("moved.doc")),
        record(kindModify, doc("gone.doc"), "", bin + "\\missing.sav"),
        record(kindBootMarker, "586569e0"),
        record(kindRename, doc("taken.doc"), doc("elsewhere.doc")),
        record(kindCreate, doc("never there.doc")),
    };
    // The one message comes once every file is done; the hidden panel
    // keeps the last count it showed.
    std::future<std::string> shown = std::async(std::launch::async, [] {
        HWND box = waitForWindow("#32770", "Undo Error");
        std::string text = messageBoxText(box);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        return text;
    });
    const size_t redoBefore = redoList.size();
    undoActions(newestFirst);
    EXPECT_EQ(shown.get(), undoFailuresText(std::vector<std::string>{doc("gone.doc"), doc("taken.doc")}));
    EXPECT_EQ(busyPanelText(panel), "Undoing 4 of 4: never there.doc...") << "the boot marker counts no file";
    EXPECT_FALSE(IsWindowVisible(panel));
    EXPECT_EQ(contentOf(doc("kept.doc")), "moved");
    for (int32_t index : newestFirst) EXPECT_EQ(actionList[index].undone(), 1);
    for (size_t entry = redoBefore; entry < redoList.size(); ++entry)
        EXPECT_NE(redoList[entry].record.kind, kindBootMarker) << "a boot marker is never redone";
}

TEST_F(FileUndo, ARecycledFileIsCopiedOutOfTheBinEvenWhenEmptyUnlessItsNameIsTaken) {
    std::string recycled = scratch / "Recycled";
    makeFolder(recycled);
    putFile(recycled + "\\DC1.doc", "recycled letter");
    EXPECT_EQ(undo(record(kindRecycle, doc("letter.doc"), "", recycled + "\\DC1.doc")), doc("letter.doc"));
    EXPECT_EQ(contentOf(doc("letter.doc")), "recycled letter");
    EXPECT_FALSE(exists(recycled + "\\DC1.doc"));

    // An empty file is a file: it comes back too.
    putFile(recycled + "\\DC2.txt", "");
    EXPECT_EQ(undo(record(kindRecycle, doc("empty.txt"), "", recycled + "\\DC2.txt")), doc("empty.txt"));
    EXPECT_FALSE(exists(recycled + "\\DC2.txt"));
    EXPECT_TRUE(exists(doc("empty.txt")));
    EXPECT_EQ(contentOf(doc("empty.txt")), "");

    // A file that took the name since is never written over.
    putFile(recycled + "\\DC3.doc", "old");
    putFile(doc("notes.doc"), "new");
    undo(record(kindRecycle, doc("notes.doc"), "", recycled + "\\DC3.doc"), 1);
    EXPECT_EQ(contentOf(doc("notes.doc")), "new");
    EXPECT_EQ(contentOf(recycled + "\\DC3.doc"), "old");
}

TEST_F(FileUndo, AnUndoStruckAtAnyCallNeverLosesTheSavedCopyTheFileOrWhatItCopiesBack) {
    const std::string earlier = textLike(50000);
    const std::string savedBytes = encodeSavedCopy(earlier, BlockMethod::Compressed, 20000);
    const std::string content = randomBytes((1 << 20) + 99);  // two pieces of a copy
    const std::string recycled = doc("Recycled\\DC1.doc");
    std::string lowerDrive = docs;
    lowerDrive[0] = char(tolower(lowerDrive[0]));  // "c:" against "C:": a move between drives
    runFaultMatrix(
        "undoing a Modify, a Recycle and a Move between drives",
        [&] {
            startAfresh();
            putFile(doc("report.doc"), "now");
            putFile(bin + "\\00000001.sav", savedBytes);
            putFile(recycled, content);
            putFile(doc("Archive\\video.avi"), content);
            record(kindModify, doc("report.doc"), "", bin + "\\00000001.sav");
            record(kindRecycle, doc("letter.doc"), "", recycled);
            record(kindMove, lowerDrive + "\\video.avi", doc("Archive\\video.avi"));
        },
        [] {
            MessageBoxAnswerer answerer("Undo Error");
            for (int index = actionCount() - 1; index >= 0; --index) undoAction(index);
        },
        [&] {
            EXPECT_EQ(contentOf(bin + "\\00000001.sav"), savedBytes);
            EXPECT_EQ(contentOf(doc("report.doc")), "now");
            EXPECT_TRUE(contentOf(recycled) == content || contentOf(doc("letter.doc")) == content);
            EXPECT_TRUE(contentOf(doc("Archive\\video.avi")) == content || contentOf(doc("video.avi")) == content);
        },
        {Fault::Cut, Fault::DiskFull, Fault::FailOne, Fault::LieOne});
}

TEST_F(FileUndo, BootMarkersAndUnknownKindsFailWithTheMessage) {
    for (int32_t kind : {int32_t(kindBootMarker), int32_t(kindNone), 9, 99}) EXPECT_EQ(undo(record(kind, doc("x")), 1), "");
}

TEST_F(FileUndo, NamesTheFileOnTheBusyPanelWhileItWorksAndHidesThePanelAfter) {
    appInstance = GetModuleHandleA(nullptr);
    startBusyIndicator();
    HWND panel = busyPanel();
    ASSERT_NE(panel, nullptr);
    // The failure message comes while the undo still works: the panel is up then.
    std::future<std::string> shown = std::async(std::launch::async, [panel] {
        HWND box = waitForWindow("#32770", "Undo Error");
        std::string text = IsWindowVisible(panel) ? busyPanelText(panel) : "<hidden>";
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        return text;
    });
    undoAction(record(99, doc("Letters\\mystery.doc")));
    EXPECT_EQ(shown.get(), "Undoing mystery.doc...");
    EXPECT_FALSE(IsWindowVisible(panel));
}

TEST_F(FileUndo, RegistryRecordsGoToTheSettingsUndoAndNeverShowTheFileMessage) {
    ActionRecord registry = RecordBuilder("regedit", 5, 10).paths(std::string("\0\0\0\0", 4));
    registry.sizeA = 4;
    registry.valueType = REG_DWORD;
    registry.dataC = "hkcu\\software\\retrace engine test\\value";
    actionList.push_back(registry);
    EXPECT_EQ(undo(actionCount() - 1), "");
    EXPECT_TRUE(redoList.empty()) << "settings undos cannot be redone";
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Retrace Engine Test");
}

TEST(CopyWholeFile, CopiesEveryPieceAndNeverWritesOverAFileUnlessAskedTo) {
    ScratchFolder folder("Retrace Copy Test");
    std::string content = randomBytes((1 << 20) * 2 + 12345, 7);
    putFile(folder / "source.bin", content);

    EXPECT_TRUE(copyWholeFile(folder / "source.bin", folder / "Deep\\Down\\copy.bin", ExistingFile::Keep));
    EXPECT_EQ(contentOf(folder / "Deep\\Down\\copy.bin"), content);

    putFile(folder / "taken.bin", "taken");
    EXPECT_FALSE(copyWholeFile(folder / "source.bin", folder / "taken.bin", ExistingFile::Keep));
    EXPECT_EQ(contentOf(folder / "taken.bin"), "taken");
    EXPECT_TRUE(copyWholeFile(folder / "source.bin", folder / "taken.bin", ExistingFile::Replace));
    EXPECT_EQ(contentOf(folder / "taken.bin"), content);

    putFile(folder / "empty.bin", "");
    EXPECT_TRUE(copyWholeFile(folder / "empty.bin", folder / "empty copy.bin", ExistingFile::Keep));
    EXPECT_TRUE(exists(folder / "empty copy.bin"));
    EXPECT_EQ(contentOf(folder / "empty copy.bin"), "");
    EXPECT_FALSE(copyWholeFile(folder / "missing.bin", folder / "missing copy.bin", ExistingFile::Keep));
    EXPECT_FALSE(exists(folder / "missing copy.bin"));
}
