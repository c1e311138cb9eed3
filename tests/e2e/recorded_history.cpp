#include "tests/e2e/recorded_history.h"

#include "base/file_operations_win32.h"
#include "base/text.h"
#include "database/action_list.h"
#include "settings/settings_store_win32.h"
#include "tests/support/scratch_folder_win32.h"
#include "tools/monitor_standin/player_win32.h"

namespace {
void removeTree(const std::string& folder) {
    for (const std::string& name : filesIn(folder)) DeleteFileA((folder + "\\" + name).c_str());
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != "..")
                removeTree(folder + "\\" + name);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}
}  // namespace

void play(const std::string& script) {
    ParsedScript parsed = parseScript(script);
    ASSERT_FALSE(parsed.error) << parsed.error->message;
    PlayOutcome outcome = playScript(parsed.commands, bin);
    ASSERT_FALSE(outcome.error) << "line " << outcome.error->line << ": " << outcome.error->message;
}

std::vector<ActionRecord> storedHistory() {
    std::string bytes = bytesOf(bin + "\\actionlist.000").value_or("");
    std::vector<ActionRecord> records;
    for (size_t offset = 0; offset < bytes.size();) {
        auto parsed = parseRecord(bytes, offset);
        if (!parsed) return {};
        records.push_back(std::move(parsed->record));
        offset = parsed->next;
    }
    return records;
}

void RecordedHistoryTest::SetUp() {
    RetraceTest::SetUp();
    removeTree("C:\\Retrace E2E");
    CreateDirectoryA("C:\\Retrace E2E", nullptr);
    CreateDirectoryA(bin.c_str(), nullptr);
    CreateDirectoryA(docs.c_str(), nullptr);
    Settings settings;
    loadSettings(settings);
    setFieldText(settings.UndoBinPath, bin);
    setFieldText(settings.szFileExts, "DOC");  // Wine registers no document types
    saveSettings(settings);
}

void RecordedHistoryTest::TearDown() {
    RetraceTest::TearDown();
    // An undo shows the folder of what it brought back; the next test must
    // not take that window for one its own undo opened.
    while (HWND folder = FindWindowA("ExplorerWClass", nullptr)) {
        PostMessageA(folder, WM_CLOSE, 0, 0);
        if (!waitUntil([&] { return !IsWindow(folder); }, 5000)) break;
    }
    removeTree("C:\\Retrace E2E");
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Retrace E2E");
}
