#pragma once
// What every dialog of the program does alike: its set-up, centring, moving
// controls as it is resized, painting a bitmap, choosing a folder, and help.

#include <windows.h>

#include <span>
#include <string>
#include <vector>

// The help file's context numbers, one for each window that offers help.
enum HelpContext : int {
    helpContents = -1,
    helpSettingsPage = 2,
    helpIgnoreGroupsPage = 3,
    helpIgnoreFilesPage = 4,
    helpFileListPage = 5,
    helpInformationPage = 6,
    helpAboutPage = 7,
    helpFindCreate = 8,
    helpFindModify = 9,
    helpFindRename = 10,
    helpFindCopy = 11,
    helpFindMove = 12,
    helpFindDownload = 13,
    helpFileHistory = 14,
    helpProgramHistory = 15,
    helpAppletHistory = 16,
    helpUndoProgram = 17,
    helpConfirmFileUndo = 18,
    helpConfirmAppletUndo = 19,
    helpConfirmFileGroupUndo = 20,
    helpUndoAppletSession = 21,
    helpConfirmSessionUndo = 22,
    helpWizard = 23,
    helpUndoPreview = 25,
};

// Run by every dialog and property sheet as it initialises: records it as the
// last dialog (the one a tray click brings forward while a command runs),
// centres it on the screen and gives it the program's icon. All dialogs share
// one window class, so the icon is set for every dialog of the process.
void commonDialogSetUp(HWND window);

// The state a dialog's entry point handed to it, kept with the window from
// WM_INITDIALOG on; null for the messages that come before it.
template <typename State>
State* dialogState(HWND dialog, UINT message, LPARAM lParam) {
    if (message == WM_INITDIALOG) SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    return reinterpret_cast<State*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

// Centres the window on `other`, held inside the screen; or, without one, on
// the screen, held only at its left and top edges. Neither resizes, activates
// nor raises the window.
void centreWindow(HWND window, HWND other = nullptr);

// Keeps a control in place against the right or bottom edge of a dialog that
// was resized from `previousClient` to the new client size: moves it across
// and/or down by the change, and/or grows it by the change. A dialog calls
// this for each control on WM_SIZE, then keeps the new client rectangle.
void moveControlOnResize(HWND dialog, int controlId, const RECT& previousClient, int newWidth, int newHeight,
                         bool moveHorizontally, bool moveVertically, bool resize);

// How one control follows the edges of a resized dialog.
struct ControlAnchor {
    int controlId;
    bool moveHorizontally;
    bool moveVertically;
    bool resize;
};

// The opening of a dialog the user may resize, at WM_INITDIALOG: keeps its
// client rectangle for moveControlsOnResize first, since centring it may
// already resize it under Wine, then runs commonDialogSetUp.
void openResizableDialog(HWND dialog, RECT& previousClient);

// The whole of a dialog's WM_SIZE: moves each control as its anchor says,
// then keeps the new client rectangle in `previousClient`.
void moveControlsOnResize(HWND dialog, RECT& previousClient, LPARAM newSize, std::span<const ControlAnchor> anchors);

// Resizes a window about its top-left corner to the fractions of its width
// and height, then centres it on the screen.
void shrinkAndCentre(HWND window, double widthShare, double heightShare);

// Paints the program's bitmap resource, stretched over the whole window.
void paintBitmap(HWND window, HDC dc, int bitmapId);

// Lets the user choose a folder; empty when cancelled or when the choice is
// not a folder of the file system.
std::string browseForFolder(HWND owner, const std::string& title);

// Opens the help file beside the program at the topic of the context, or at
// its contents for helpContents; where WinHelp cannot serve, the manual's
// page for the context (help_topics.h). When the page is missing or nothing
// opens .html pages, says so and where the manual is.
void showHelp(HWND window, int context);

// Sets a one-line control's text, shortened in the middle as the shell
// shortens paths ("c:\docs\...\report.doc") when it is wider than the
// control, so that the start and the file name with its extension show.
void setShortenedText(HWND dialog, int controlId, const std::string& text);

// The text of a dialog's control, whole.
std::string dialogItemText(HWND dialog, int controlId);

// Sorted list boxes of texts, where an item equal to another but for the
// case of its letters counts as the same item.
std::vector<std::string> listBoxItems(HWND dialog, int listId);
// Adds the text unless the list holds it; returns whether it was added.
bool addListBoxItem(HWND dialog, int listId, const std::string& text);
void removeSelectedListBoxItem(HWND dialog, int listId);
