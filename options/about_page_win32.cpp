// Options, About page: the program's picture over the whole page.

#include <windows.h>
#include <commctrl.h>

#include "options/options_sheet_win32.h"
#include "res/resource.h"
#include "ui/dialog_toolkit_win32.h"
#include "ui/property_sheet_win32.h"

INT_PTR CALLBACK aboutPageProc(HWND page, UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        setUpPage(page);
        SetDlgItemTextA(page, IDC_ABOUT_NAME, "Undo for Windows");
        SetDlgItemTextA(page, IDC_ABOUT_LINE, "Takes back what programs did to your files and settings.");
        SetDlgItemTextA(page, IDC_ABOUT_COPYRIGHT, "Made by the Retrace developers.");
        // The page has nothing to type into; OK is where the keyboard goes.
        SetFocus(GetDlgItem(GetParent(page), IDOK));
        return FALSE;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(page, &paint);
        paintBitmap(page, dc, IDB_ABOUT);
        EndPaint(page, &paint);
        return TRUE;
    }
    case WM_NOTIFY:
        return answerPageNotification(page, lParam, nullptr, helpAboutPage);
    }
    return FALSE;
}
