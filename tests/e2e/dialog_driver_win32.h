#pragma once
// Works Retrace's dialogs from outside, as a person would: opens them by
// the main window's commands, reads their controls and lists, picks rows,
// presses buttons.

#include <windows.h>

#include <string>
#include <vector>

// A dialog of that caption, once it shows; null when none shows in time.
HWND waitForDialog(const char* caption, DWORD milliseconds = 10000);

// Sends the main window a command as the tray menu does, then waits for the
// dialog of that caption.
HWND openByCommand(HWND mainWindow, unsigned command, const char* caption);

// Whether the window has gone within the time.
bool waitForClose(HWND window, DWORD milliseconds = 10000);

std::string windowText(HWND window);
std::string controlText(HWND dialog, int controlId);
bool controlShown(HWND dialog, int controlId);
bool controlEnabled(HWND dialog, int controlId);

// The message box a window owns, once it shows: a dialog's question may
// carry the dialog's own title.
HWND waitForMessageBoxOf(HWND owner, DWORD milliseconds = 10000);

// Clicks a button. The click is posted, so a message box it opens does not
// hold the caller.
void pressButton(HWND dialog, int buttonId);

// Replaces the text of an edit control, as typing over it would.
void typeText(HWND dialog, int controlId, const std::string& text);
bool buttonChecked(HWND dialog, int buttonId);

// The texts of a list box, top to bottom; and selecting one by its text.
std::vector<std::string> listBoxTexts(HWND dialog, int listId);
void selectListBoxText(HWND dialog, int listId, const std::string& text);

// The entries of a combo box's list, top to bottom; choosing one as a click
// in the list would; and the chosen one's place, -1 for none.
std::vector<std::string> comboBoxTexts(HWND dialog, int comboId);
void chooseComboBoxEntry(HWND dialog, int comboId, int index);
int comboBoxChoice(HWND dialog, int comboId);

// Property sheets. A sheet's OK, Cancel and Help are its own buttons
// (pressButton on the sheet); its pages are child dialogs, made when first
// shown. Shows the page at that index, as a click on its tab would, and
// returns it once it shows; null when it does not.
HWND showSheetPage(HWND sheet, int index);

// The index of the page a sheet shows now, -1 when none; and the page at
// that index once it shows, or null when it does not show in time.
int currentSheetPage(HWND sheet);
HWND waitForSheetPage(HWND sheet, int index, DWORD milliseconds = 10000);

// Presses a sheet's button as the page's own keys would: PSBTN_BACK,
// PSBTN_NEXT, PSBTN_FINISH, PSBTN_CANCEL. Posted, like pressButton.
void pressSheetButton(HWND sheet, int button);

// A report-view list of another process's dialog.
class DialogList {
public:
    DialogList(HWND dialog, int listId);
    ~DialogList();
    DialogList(const DialogList&) = delete;
    DialogList& operator=(const DialogList&) = delete;

    int rowCount() const;
    std::vector<std::string> headers() const;
    std::string cell(int row, int column) const;
    std::vector<std::string> column(int column) const;
    // The row whose first cell is that text, or -1.
    int rowOf(const std::string& firstCell) const;
    std::vector<int> selectedRows() const;
    // The index of the row's image in the list's small image list, -1 for
    // none; and whether the list has such an image list.
    int image(int row) const;
    bool hasSmallImages() const;

    // Selects or deselects one row, as a Ctrl+click would.
    void setSelected(int row, bool selected) const;
    // A click on the row, or on empty space below the rows for -1.
    void clickRow(int row) const;
    // A double click on the row's first column, with the pointer there.
    void doubleClickRow(int row) const;
    void clickHeader(int column) const;

private:
    POINT rowPoint(int row) const;
    HWND list_;
    HANDLE process_;
};
