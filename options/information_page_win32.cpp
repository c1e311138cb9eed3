// Options, Information page: links to help and updates, and the version.

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <array>
#include <string>
#include <string_view>

#include "base/file_operations_win32.h"
#include "base/paths.h"
#include "base/text.h"
#include "base/whole_file_win32.h"
#include "monitor/recorder_channel_win32.h"
#include "options/options_rules.h"
#include "options/options_sheet_win32.h"
#include "res/resource.h"
#include "ui/dialog_toolkit_win32.h"
#include "ui/property_sheet_win32.h"

namespace {

constexpr int linkButtons[] = {IDC_HOME_PAGE, IDC_TECH_SUPPORT, IDC_FAQ};

// The links of the three buttons and the update program, for as long as
// the page lives.
struct InformationLinks {
    std::array<std::string, 3> links;
    std::string updateProgram;
};

std::string besideProgram(std::string_view name) {
    char program[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    return fileBeside(program, name);
}

void openLink(const std::string& link) {
    if (!link.empty()) ShellExecuteA(nullptr, nullptr, link.c_str(), nullptr, nullptr, SW_SHOW);
}

void initialise(HWND page) {
    setUpPage(page);
    auto* state = new InformationLinks;
    SetWindowLongPtrA(page, DWLP_USER, LONG_PTR(state));
    const WholeFile software = readWholeFile(besideProgram("software.txt"));
    const std::vector<std::string_view> lines = splitLines(software.bytes);
    // A button without its line would do nothing: it is shown greyed instead.
    for (size_t button = 0; button < state->links.size(); ++button) {
        state->links[button] = informationLink(lines, button);
        EnableWindow(GetDlgItem(page, linkButtons[button]), !state->links[button].empty());
    }
    state->updateProgram = besideProgram("vorlup.exe");
    EnableWindow(GetDlgItem(page, IDC_ONLINE_UPDATE), fileExists(state->updateProgram));
    char version[MAX_PATH] = "";
    GetPrivateProfileStringA("startup", "Version", "1.1", version, MAX_PATH, besideProgram("version.dat").c_str());
    SetDlgItemTextA(page, IDC_VERSION, versionLine(version).c_str());
    // Where the change recorder does the drivers' work, what it could not
    // capture whole is said here rather than found out at an undo.
    RecorderCounts counts;
    if (readRecorderCounts(counts)) SetDlgItemTextA(page, IDC_RECORDER_COUNTS, recorderCountsText(counts).c_str());
}

void onCommand(HWND page, int controlId) {
    const auto* state = reinterpret_cast<const InformationLinks*>(GetWindowLongPtrA(page, DWLP_USER));
    if (!state) return;
    for (size_t button = 0; button < state->links.size(); ++button)
        if (controlId == linkButtons[button]) openLink(state->links[button]);
    if (controlId == IDC_ONLINE_UPDATE) openLink(state->updateProgram);
}

}  // namespace

INT_PTR CALLBACK informationPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        initialise(page);
        return TRUE;
    case WM_DESTROY:
        delete reinterpret_cast<InformationLinks*>(GetWindowLongPtrA(page, DWLP_USER));
        SetWindowLongPtrA(page, DWLP_USER, 0);
        return FALSE;
    case WM_COMMAND:
        onCommand(page, LOWORD(wParam));
        return TRUE;
    case WM_NOTIFY:
        return answerPageNotification(page, lParam, nullptr, helpInformationPage);
    }
    return FALSE;
}
