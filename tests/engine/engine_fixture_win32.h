#pragma once
// Undo and redo against real folders: documents in a scratch folder, the
// Undo Bin beside them named by the settings, and records in actionList.

#include <gtest/gtest.h>

#include "database/action_list.h"
#include "engine/redo_list.h"
#include "engine/redo_win32.h"
#include "monitor/saved_copy.h"
#include "monitor/saved_copy_reader.h"
#include "tests/database/record_builder.h"
#include "tests/support/scratch_folder_win32.h"
#include "tests/support/settings_key_win32.h"
#include "tests/support/window_search_win32.h"

class EngineTest : public testing::Test {
protected:
    EngineTest() : scratch("Retrace Engine Test"), bin(scratch / "Undo Bin"), docs(scratch / "Docs") {}

    void SetUp() override {
        installDefaultSettingsKey();
        useUndoBin(bin);
        makeFolder(bin);
        makeFolder(docs);
        actionList.clear();
        clearRedo();
    }

    void TearDown() override {
        actionList.clear();
        redoList.clear();
        installDefaultSettingsKey();
    }

    static void makeFolder(const std::string& path) { CreateDirectoryA(path.c_str(), nullptr); }

    // Back to the state SetUp leaves, with empty folders, for the next case
    // of a fault matrix.
    void startAfresh() {
        deleteTree(bin);
        deleteTree(docs);
        SetUp();
    }

    std::string doc(const std::string& name) const { return docs + "\\" + name; }

    // A saved copy of `content` in the Undo Bin, as the file monitor keeps one.
    std::string savedCopy(const std::string& name, const std::string& content) const {
        std::string path = bin + "\\" + name;
        putFile(path, encodeSavedCopy(content));
        return path;
    }

    // Appends a file record and answers its index.
    static int record(int32_t kind, std::string a, std::string b = {}, std::string c = {}) {
        ActionRecord added = RecordBuilder("winword", 77, kind).paths(std::move(a), std::move(b));
        added.dataC = std::move(c);
        added.source = sourceFileReport;  // whatever the kind
        actionList.push_back(added);
        return actionCount() - 1;
    }

    std::string redoFolder() const { return bin + "\\Redo"; }

    ScratchFolder scratch;
    const std::string bin;
    const std::string docs;
};
