#include "engine/start_over_dialog_win32.h"

#include <string>
#include <vector>

#include "database/action_list.h"
#include "database/action_list_file_win32.h"
#include "database/derived_lists.h"
#include "engine/start_over_points.h"
#include "engine/start_over_win32.h"
#include "res/resource.h"
#include "settings/settings_store_win32.h"
#include "ui/application_win32.h"
#include "ui/dialog_toolkit_win32.h"

namespace {

// One way of choosing the point: its radio button, the combo box under it,
// the points it offers and how each is shown.
struct PointChoice {
    int radio;
    int combo;
    std::vector<int32_t> ActionIndex::*points;
    std::string (*text)(const ActionRecord&);
};

constexpr PointChoice choices[] = {
    {IDC_FROM_HOUR, IDC_HOUR_POINTS, &ActionIndex::hourStarts, hourPointText},
    {IDC_FROM_PROGRAM_START, IDC_PROGRAM_POINTS, &ActionIndex::programStarts, programStartText},
    {IDC_FROM_BOOT, IDC_BOOT_POINTS, &ActionIndex::bootMarkers, bootPointText},
};

const std::vector<int32_t>& pointsOf(const PointChoice& choice) { return actionIndex.*choice.points; }

// Newest first, so that entry e stands for the point count - 1 - e.
void fillPoints(HWND dialog, const PointChoice& choice) {
    const std::vector<int32_t>& points = pointsOf(choice);
    for (size_t k = points.size(); k-- > 0;) {
        std::string text = choice.text(actionList[points[k]]);
        SendDlgItemMessageA(dialog, choice.combo, CB_ADDSTRING, 0, LPARAM(text.c_str()));
    }
}

int chosenEntry(HWND dialog, const PointChoice& choice) {
    return int(SendDlgItemMessageA(dialog, choice.combo, CB_GETCURSEL, 0, 0));
}

// The checked way of choosing, when its list has a chosen entry; null when not.
const PointChoice* checkedChoice(HWND dialog) {
    for (const PointChoice& choice : choices)
        if (IsDlgButtonChecked(dialog, choice.radio) == BST_CHECKED)
            return chosenEntry(dialog, choice) >= 0 ? &choice : nullptr;
    return nullptr;
}

// "Retrace" may be pressed only while there is a point to start over from:
// a "Yes" to the question would otherwise do nothing.
void enableRetrace(HWND dialog) {
    EnableWindow(GetDlgItem(dialog, IDC_START_OVER_RETRACE), checkedChoice(dialog) != nullptr);
}

void onPointChosen(HWND dialog, const PointChoice& chosen) {
    for (const PointChoice& choice : choices) {
        CheckDlgButton(dialog, choice.radio, &choice == &chosen ? BST_CHECKED : BST_UNCHECKED);
        if (&choice != &chosen) SendDlgItemMessageA(dialog, choice.combo, CB_SETCURSEL, WPARAM(-1), 0);
    }
    enableRetrace(dialog);
}

// The point the user confirmed: the first record to undo, and whether it is
// a boot, whose system files come back too.
struct StartOverPoint {
    int firstIndex = -1;
    bool fromBoot = false;
};

// Asks once more, then ends the dialog with the point; the work is done
// once the dialog has gone.
void confirmPoint(HWND dialog, StartOverPoint& point) {
    if (MessageBoxA(dialog,
                    "Start Over will restore all possible files to the way they were. The system will then "
                    "restart.\n\nAre you sure you want to continue?",
                    "Start Over", MB_ICONWARNING | MB_YESNO) != IDYES)
        return;
    const PointChoice* choice = checkedChoice(dialog);
    if (!choice) return;
    point.firstIndex = pointOfEntry(pointsOf(*choice), chosenEntry(dialog, *choice));
    point.fromBoot = choice->radio == IDC_FROM_BOOT;
    if (point.firstIndex >= 0) EndDialog(dialog, 1);
}

INT_PTR CALLBACK startOverProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* point = dialogState<StartOverPoint>(dialog, message, lParam);
    if (!point) return FALSE;
    if (message == WM_INITDIALOG) {
        commonDialogSetUp(dialog);
        for (const PointChoice& choice : choices) fillPoints(dialog, choice);
        enableRetrace(dialog);
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    if (HIWORD(wParam) == CBN_SELCHANGE) {
        for (const PointChoice& choice : choices)
            if (LOWORD(wParam) == choice.combo && chosenEntry(dialog, choice) >= 0) onPointChosen(dialog, choice);
        return TRUE;
    }
    switch (LOWORD(wParam)) {
    case IDC_FROM_HOUR:
    case IDC_FROM_PROGRAM_START:
    case IDC_FROM_BOOT:
        enableRetrace(dialog);
        return TRUE;
    case IDOK:  // Enter presses the default button, when it may be pressed
    case IDC_START_OVER_RETRACE:
        if (checkedChoice(dialog)) confirmPoint(dialog, *point);
        return TRUE;
    case IDCANCEL:
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

void showStartOver(HWND owner) {
    StartOverPoint point;
    if (DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_START_OVER), owner, startOverProc, LPARAM(&point)) != 1)
        return;
    startOverFrom(point.firstIndex);
    if (point.fromBoot) restoreSystemFiles(point.firstIndex);
    // On disk before the restart: Windows may end this program at once.
    saveActionList();
    requestReboot();
}
