// A program's session as the monitors record it, taken in by the rebuild,
// undone newest first and its file undos redone; then the registry, the
// settings file and the documents themselves are looked at.

#include <algorithm>

#include "database/derived_lists.h"
#include "database/rebuild_win32.h"
#include "engine/file_undo_win32.h"
#include "tests/engine/engine_fixture_win32.h"
#include "tools/monitor_standin/player_win32.h"

namespace {

const char* const sessionKey = "Software\\Retrace Session Test";

std::string lowerCase(std::string text) {
    for (char& c : text) c = char(tolower(static_cast<unsigned char>(c)));
    return text;
}

class RecordedSession : public EngineTest {
protected:
    void TearDown() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, sessionKey);
        freeDerivedLists();
        EngineTest::TearDown();
    }

    void play(const std::string& script) {
        ParsedScript parsed = parseScript(script);
        ASSERT_FALSE(parsed.error) << parsed.error->line << ": " << parsed.error->message;
        PlayOutcome outcome = playScript(parsed.commands, bin);
        ASSERT_FALSE(outcome.error) << outcome.error->line << ": " << outcome.error->message;
    }

    // The records of the program's only session, newest first.
    static std::vector<int32_t> sessionOf(const char* program) {
        for (const ProgramEntry& entry : programList) {
            if (std::string(entry.programName) != program) continue;
            EXPECT_EQ(entry.sessions.size(), 1u);
            std::vector<int32_t> records = entry.sessions[0].settingActions;
            records.insert(records.end(), entry.sessions[0].fileActions.begin(), entry.sessions[0].fileActions.end());
            std::sort(records.rbegin(), records.rend());
            return records;
        }
        ADD_FAILURE() << "no session of " << program;
        return {};
    }

    static std::string registryText(const char* name) {
        char text[64] = "<missing>";
        DWORD size = sizeof text;
        RegGetValueA(HKEY_CURRENT_USER, sessionKey, name, RRF_RT_ANY, nullptr, text, &size);
        return text;
    }

    static bool sessionKeyExists() {
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, sessionKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
        RegCloseKey(key);
        return true;
    }
};

}  // namespace

TEST_F(RecordedSession, IsUndoneNewestFirstAndItsFileUndosRedone) {
    RegDeleteTreeA(HKEY_CURRENT_USER, sessionKey);
    putFile(scratch / "editor.ini", "[Window]\r\nWidth=640\r\nHeight=480\r\n");
    putFile(doc("letter.txt"), "Dear Sam,\r\nSee you Monday.\r\n");
    putFile(doc("old.txt"), "last year's notes");
    play("clock 2026-12-07 09:00:00\n"
         "program EDITOR \"C:\\windows\\editor.exe\" 1204\n"
         "set-value \"HKCU\\" + std::string(sessionKey) + "\\Font\" sz \"Courier New\"\n"
         "set-value \"HKCU\\" + std::string(sessionKey) + "\\Size\" dword 12\n"
         "ini \"" + scratch / "editor.ini" + "\" Window Width 800\n"
         "write \"" + doc("letter.txt") + "\" \"Dear Sam,\" \"See you Tuesday.\"\n"
         "write \"" + doc("letter.txt") + "\" \"Dear Sam,\" \"See you Wednesday.\"\n"
         "program explorer \"C:\\windows\\explorer.exe\" 88\n"
         "delete \"" + doc("old.txt") + "\"\n");
    rebuildActions();
    ASSERT_EQ(registryText("Font"), "Courier New");

    std::vector<int32_t> session = sessionOf("editor");
    ASSERT_EQ(session.size(), 6u) << "a new key, two values, the settings file and two saves";
    clearRedo();
    {
        MessageBoxAnswerer answerer("Undo Error");
        for (int32_t index : session) undoAction(index);
        EXPECT_TRUE(answerer.texts().empty());
    }

    EXPECT_FALSE(sessionKeyExists()) << "the key the program made is gone with its values";
    EXPECT_EQ(contentOf(scratch / "editor.ini"), "[Window]\r\nWidth=640\r\nHeight=480\r\n");
    EXPECT_EQ(contentOf(doc("letter.txt")), "Dear Sam,\r\nSee you Wednesday.\r\n");
    EXPECT_EQ(contentOf(doc("letter.undo.txt")), "Dear Sam,\r\nSee you Tuesday.\r\n");
    EXPECT_EQ(contentOf(doc("letter.undo.undo.txt")), "Dear Sam,\r\nSee you Monday.\r\n");
    EXPECT_EQ(redoCount(), 2) << "only the file undos can be redone";

    size_t before = actionList.size();
    redoLastUndo();
    EXPECT_FALSE(exists(doc("letter.undo.txt")));
    EXPECT_FALSE(exists(doc("letter.undo.undo.txt")));
    EXPECT_EQ(contentOf(doc("letter.txt")), "Dear Sam,\r\nSee you Wednesday.\r\n");
    EXPECT_FALSE(sessionKeyExists());
    EXPECT_EQ(contentOf(scratch / "editor.ini"), "[Window]\r\nWidth=640\r\nHeight=480\r\n");
    ASSERT_EQ(actionList.size(), before + 2);
    EXPECT_EQ(actionList[before].kind, kindModify);
    EXPECT_EQ(actionList[before + 1].kind, kindModify);

    // Explorer's delete is a file action of its own.
    ASSERT_FALSE(fileActionList.empty());
    int32_t deleted = fileActionList.back().actions.front();
    EXPECT_EQ(actionList[deleted].kind, kindDelete);
    // Paths come from the reports in lower case.
    EXPECT_EQ(undoAction(deleted), lowerCase(doc("old.undo.txt")));
    EXPECT_EQ(contentOf(doc("old.undo.txt")), "last year's notes");
    EXPECT_FALSE(exists(doc("old.txt")));
}
