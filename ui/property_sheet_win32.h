#pragma once
// What the program's property sheets share: a modal sheet without owner,
// with the program's icon, no Apply button and a Help button on every page,
// centred on the screen once it is made; and how a page answers the sheet.

#include <windows.h>

#include <span>

struct SheetPage {
    int templateId;
    DLGPROC procedure;
    LPARAM argument = 0;  // the page's WM_INITDIALOG gets it as PROPSHEETPAGE::lParam
};

// A sheet shows its pages as tabs, or as a wizard that leads through them
// one at a time with Back, Next and Finish, from its start page.
struct SheetStyle {
    bool wizard = false;
    int startPage = 0;
};

// Runs the sheet until it closes. `initialised` runs once the sheet window
// exists, before any page shows.
void runPropertySheet(const char* caption, std::span<const SheetPage> pages, void (*initialised)(HWND sheet) = nullptr,
                      SheetStyle style = {});

// The argument of the page's SheetPage, from its WM_INITDIALOG lParam.
LPARAM pageArgument(LPARAM initDialogParam);

// A page's first steps: the common dialog set-up, run for the sheet it is in
// (the sheet is what a tray click should bring forward, and a page is a
// child window that must not be moved about the screen).
void setUpPage(HWND page);

// An Options page's answer to the sheet's notifications: OK runs `apply`,
// which a page without settings leaves null, and Help opens the page's topic.
// FALSE for every other notification.
INT_PTR answerPageNotification(HWND page, LPARAM notification, INT_PTR (*apply)(HWND page), int helpContext);

// Sets a notification's answer; a page's procedure then returns TRUE.
INT_PTR answerSheet(HWND page, LRESULT result);

// A page refuses the sheet's OK: the sheet stays open on this page.
INT_PTR refuseApply(HWND page);
