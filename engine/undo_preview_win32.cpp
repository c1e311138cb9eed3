#include "engine/undo_preview_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "base/file_operations_win32.h"
#include "base/paths.h"
#include "database/action_list.h"
#include "engine/file_handle_win32.h"
#include "engine/file_transfer_win32.h"
#include "engine/registry_root_win32.h"
#include "engine/restore_name.h"
#include "engine/restore_win32.h"
#include "engine/saved_copy_win32.h"
#include "engine/settings_undo_win32.h"
#include "engine/undo_preview.h"
#include "res/resource.h"
#include "ui/application_win32.h"
#include "ui/dialog_toolkit_win32.h"
#include "ui/list_view_win32.h"

namespace {

constexpr ListColumn textColumns[] = {{"Line", 40}, {"", 24}, {"Comes back", 250}, {"Now", 250}};
constexpr ListColumn versionColumns[] = {{"Version", 120}, {"Size", 70}, {"Date", 70}, {"Time", 500}};
constexpr ListColumn fileColumns[] = {{"File", 250}, {"The undo", 400}};
constexpr ListColumn fileColumnsWithNotices[] = {{"File", 250}, {"Changed since", 300}, {"The undo", 400}};
constexpr ListColumn settingColumns[] = {{"Key", 220}, {"Value Name", 90}, {"Now", 90}, {"Comes Back", 200}};

// What the window shows, made before it opens.
struct PreviewContent {
    std::string words;
    std::string notice;
    std::span<const ListColumn> columns;
    std::vector<ListRow> rows;
    bool sideBySide = false;  // two texts: their columns share the width
    int openEarlierOf = -1;   // the record whose earlier version "Open earlier version" opens
};

// The start of a file as it is now, with its size and last-write time.
struct FileStart {
    bool exists = false;
    std::string bytes;
    uint32_t size = 0;
    uint16_t date = 0;
    uint16_t time = 0;
};

FileStart readFileStart(const std::string& path, size_t limit) {
    FileStart file;
    OwnedFile handle(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size;
    FILETIME written, local;
    if (!handle.isOpen() || !GetFileSizeEx(handle.get(), &size)) return file;
    file.exists = true;
    file.size = uint32_t(size.QuadPart);
    if (GetFileTime(handle.get(), nullptr, nullptr, &written) && FileTimeToLocalFileTime(&written, &local))
        FileTimeToDosDateTime(&local, &file.date, &file.time);
    file.bytes.resize(size_t(std::min<LONGLONG>(size.QuadPart, LONGLONG(limit))));
    DWORD read = 0;
    if (!ReadFile(handle.get(), file.bytes.data(), DWORD(file.bytes.size()), &read, nullptr)) read = 0;
    file.bytes.resize(read);
    return file;
}

// The earlier version a Modify, Delete or Recycle brings back: a saved copy,
// or the file in the Recycle Bin.
struct EarlierVersion {
    bool available = false;
    std::string start;
    uint32_t size = 0;
};

bool bringsBackContent(const ActionRecord& record) {
    return record.kind == kindModify || record.kind == kindDelete || record.kind == kindRecycle;
}

EarlierVersion earlierVersionOf(const ActionRecord& record, size_t limit) {
    if (record.kind == kindRecycle) {
        FileStart file = readFileStart(record.dataC, limit);
        return {file.exists, std::move(file.bytes), file.size};
    }
    SavedCopyStart copy = peekSavedCopy(record.dataC, limit);
    return {copy.complete, std::move(copy.start), copy.total};
}

bool earlierVersionAvailable(const ActionRecord& record) {
    return record.kind == kindRecycle ? fileExists(record.dataC) : savedCopyReadable(record.dataC);
}

FileNow fileNowOf(const FileStart& file) { return {file.exists, file.size, file.time}; }

std::string noticeOf(size_t index, const FileStart& fileNow) {
    const ActionRecord& record = actionList[index];
    if (bringsBackContent(record) && !earlierVersionAvailable(record)) return std::string(earlierVersionMissing);
    return changedSinceNotice(actionList, index, fileNowOf(fileNow)).value_or("");
}

std::string wordsOf(const ActionRecord& record) {
    bool restoresBeside = record.kind == kindModify || record.kind == kindDelete;
    std::string restoreName = restoresBeside ? makeRestoreName(record.dataA, restoreSuffix) : "";
    bool folderMissing = bringsBackContent(record) && !folderExists(std::string(containingFolder(record.dataA)));
    return fileUndoWords(record, restoreName, folderMissing);
}

ListRow versionRow(const char* version, uint32_t size, uint16_t date, uint16_t time, int32_t value) {
    return {{version, formatCount(size), formatActionDate(date), formatActionTime(time)}, value};
}

PreviewContent fileActionContent(size_t index) {
    const ActionRecord& record = actionList[index];
    PreviewContent content;
    FileStart now = readFileStart(pathLeftBy(record), previewReadLimit);
    content.words = wordsOf(record);
    content.notice = noticeOf(index, now);
    if (!bringsBackContent(record)) return content;
    EarlierVersion earlier = earlierVersionOf(record, previewReadLimit);
    if (!earlier.available) return content;
    content.openEarlierOf = int(index);
    if (looksLikeText(earlier.start) && looksLikeText(now.bytes)) {
        content.columns = textColumns;
        content.sideBySide = true;
        content.rows = textPreviewRows(sideBySideLines(earlier.start, now.bytes));
        if (earlier.size > previewReadLimit || now.size > previewReadLimit)
            content.words += " Only the first " + std::to_string(previewReadLimit / 1024) +
                             " KB of each version is shown.";
        return content;
    }
    // The earlier version's own time is not recorded: it was there until the action.
    content.columns = versionColumns;
    content.rows.push_back(versionRow("Comes back", earlier.size, record.date, record.time, 0));
    if (now.exists) content.rows.push_back(versionRow("Now", now.size, now.date, now.time, 1));
    return content;
}

PreviewContent fileActionsContent(std::span<const int32_t> actions) {
    PreviewContent content;
    content.words = "The undo takes back these " + std::to_string(actions.size()) + " file actions, in this order.";
    bool anyNotice = false;
    for (int32_t index : actions) {
        if (index < 0 || index >= actionCount()) continue;
        const ActionRecord& record = actionList[index];
        std::string notice = noticeOf(size_t(index), readFileStart(pathLeftBy(record), 0));
        anyNotice = anyNotice || !notice.empty();
        content.rows.push_back({{record.dataA, notice, wordsOf(record)}, index});
    }
    // The notices take a column only when there is one to show.
    content.columns = anyNotice ? std::span<const ListColumn>(fileColumnsWithNotices) : fileColumns;
    if (!anyNotice)
        for (ListRow& row : content.rows) row.cells.erase(row.cells.begin() + 1);
    return content;
}

std::optional<RegistryValueNow> registryValueNow(const KeyPath& path) {
    HKEY key;
    if (RegOpenKeyExA(rootKeyOf(path.root), path.subkey.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return std::nullopt;
    RegistryValueNow value;
    DWORD type = 0, size = 0;
    LONG status = RegQueryValueExA(key, path.valueName.c_str(), nullptr, &type, nullptr, &size);
    if (status == ERROR_SUCCESS) {
        value.data.resize(size);
        status = RegQueryValueExA(key, path.valueName.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(value.data.data()), &size);
        value.data.resize(size);
        value.type = type;
    }
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return std::nullopt;
    return value;
}

const SettingsNow settingsNow{
    registryValueNow,
    [](int32_t index) -> std::optional<SettingsNow::IniTexts> {
        std::optional<std::string> earlier = readSavedCopy(actionList[index].dataC);
        if (!earlier) return std::nullopt;
        return SettingsNow::IniTexts{std::move(*earlier), laterFileContent(index)};
    },
};

// Gives the two texts equal shares of the width the line number and mark leave.
void shareTextColumns(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_PREVIEW_LIST);
    RECT client;
    GetClientRect(list, &client);
    int used = ListView_GetColumnWidth(list, 0) + ListView_GetColumnWidth(list, 1) + GetSystemMetrics(SM_CXVSCROLL);
    int share = std::max(80, int(client.right - used) / 2);
    ListView_SetColumnWidth(list, 2, share);
    ListView_SetColumnWidth(list, 3, share);
}

// Lines that differ are tinted, in the colours of a marked text.
LRESULT tintChangedRows(HWND dialog, NMLVCUSTOMDRAW& draw) {
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
    if (!listItemText(dialog, IDC_PREVIEW_LIST, int(draw.nmcd.dwItemSpec), 1).empty())
        draw.clrTextBk = RGB(255, 236, 179);
    return CDRF_DODEFAULT;
}

std::string temporaryCopyPath(const std::string& path) {
    char folder[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + "Retrace Preview\\" + std::string(fileNameOf(path));
}

// Opens a temporary copy of the earlier version with its program; the
// saved copy and the Recycle Bin stay as they are.
void openEarlierVersion(int index) {
    if (index < 0 || index >= actionCount()) return;
    const ActionRecord& record = actionList[index];
    std::string copy = temporaryCopyPath(record.dataA);
    bool written = false;
    if (record.kind == kindRecycle) {
        written = copyWholeFile(record.dataC, copy, ExistingFile::Replace);
    } else if (std::optional<std::string> earlier = readSavedCopy(record.dataC)) {
        written = writeWholeFile(copy, *earlier);
    }
    if (written) openFileOrFolder(copy, true);
}

struct PreviewState {
    const PreviewContent& content;
    RECT previousClient{};
};

// The two lines of text above keep their size: growing with the height would
// only add space below them, and shrinking would hide them.
constexpr ControlAnchor anchors[] = {
    {IDC_PREVIEW_LIST, false, false, true},
    {IDC_PREVIEW_OPEN_EARLIER, false, true, false},
    {IDHELP, true, true, false},
    {IDCANCEL, true, true, false},
};

void initialise(HWND dialog, PreviewState& state) {
    const PreviewContent& content = state.content;
    openResizableDialog(dialog, state.previousClient);
    SetDlgItemTextA(dialog, IDC_PREVIEW_WORDS, content.words.c_str());
    SetDlgItemTextA(dialog, IDC_PREVIEW_NOTICE, content.notice.c_str());
    bool canOpen = content.openEarlierOf != -1;
    ShowWindow(GetDlgItem(dialog, IDC_PREVIEW_OPEN_EARLIER), canOpen ? SW_SHOW : SW_HIDE);
    EnableWindow(GetDlgItem(dialog, IDC_PREVIEW_OPEN_EARLIER), canOpen);
    if (content.columns.empty()) {
        ShowWindow(GetDlgItem(dialog, IDC_PREVIEW_LIST), SW_HIDE);
        shrinkAndCentre(dialog, 1.0, 0.4);
        return;
    }
    setUpList(dialog, IDC_PREVIEW_LIST, content.columns);
    appendListRows(dialog, IDC_PREVIEW_LIST, content.rows);
    if (content.sideBySide) shareTextColumns(dialog);
}

INT_PTR CALLBACK previewProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = dialogState<PreviewState>(dialog, message, lParam);
    if (!state) return FALSE;
    switch (message) {
    case WM_INITDIALOG:
        initialise(dialog, *state);
        return TRUE;
    case WM_SIZE:
        moveControlsOnResize(dialog, state->previousClient, lParam, anchors);
        if (state->content.sideBySide) shareTextColumns(dialog);
        return TRUE;
    case WM_NOTIFY: {
        auto& header = *reinterpret_cast<NMHDR*>(lParam);
        if (header.idFrom != IDC_PREVIEW_LIST || header.code != NM_CUSTOMDRAW || !state->content.sideBySide)
            return FALSE;
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, tintChangedRows(dialog, reinterpret_cast<NMLVCUSTOMDRAW&>(header)));
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_PREVIEW_OPEN_EARLIER:
            openEarlierVersion(state->content.openEarlierOf);
            return TRUE;
        case IDHELP:
            showHelp(dialog, helpUndoPreview);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        }
    }
    return FALSE;
}

void runPreview(HWND owner, const PreviewContent& content) {
    PreviewState state{content};
    DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_UNDO_PREVIEW), owner, previewProc, LPARAM(&state));
}

}  // namespace

void showFileActionsPreview(HWND owner, std::span<const int32_t> actions) {
    std::vector<int32_t> valid;
    for (int32_t index : actions)
        if (index >= 0 && index < actionCount()) valid.push_back(index);
    if (valid.empty()) return;
    runPreview(owner, valid.size() == 1 ? fileActionContent(size_t(valid.front())) : fileActionsContent(valid));
}

void showSessionPreview(HWND owner, std::span<const int32_t> order) {
    PreviewContent content;
    content.words = sessionPreviewWords(actionList, order);
    content.columns = settingColumns;
    content.rows = settingRows(actionList, order, settingsNow);
    runPreview(owner, content);
}

std::string fileUndoNotice(int actionIndex) {
    if (actionIndex < 0 || actionIndex >= actionCount()) return {};
    const ActionRecord& record = actionList[actionIndex];
    if (record.source != sourceFileReport) return {};
    return noticeOf(size_t(actionIndex), readFileStart(pathLeftBy(record), 0));
}
