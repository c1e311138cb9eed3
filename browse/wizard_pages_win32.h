#pragma once
// The pages of the Retrace Wizard as its frame runs them. Each page is a row
// of a table: its template, its list and columns, what it shows when it
// becomes the current page, and where Next and Back lead. What the pages
// share (radio choices, the chosen row, the undo of the selection) is here.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "ui/list_view_win32.h"

// The pages by their place in the wizard, which is what navigation uses.
enum WizardPageIndex : int {
    pageWelcome,
    pageTask,
    pageUndoKind,
    pageFindHow,
    pageByFileName,
    pageByProgram,
    pageProgramFiles,
    pageConfirmFiles,
    pageSettingsPrograms,
    pageProgramSessions,
    pageConfirmSettings,
    pageApplets,
    pageAppletSessions,
    pageConfirmApplet,
    pageStartOver,
    pageHours,
    pageProgramStarts,
    pageBoots,
    pageConfirmStartOver,
    pageFindFile,
    pageFoundFiles,
    pageDone,
    wizardPageCount
};

// Where Next or Back leads: a page index, or one of these.
inline constexpr int sheetsOwnMove = -1;  // the sheet's default: the next or the previous page
inline constexpr int stayOnPage = -2;     // nothing that leads on is chosen

struct WizardPage {
    int templateId;
    int back = sheetsOwnMove;
    int (*next)(HWND page) = nullptr;  // null: the sheet's own move
    int listId = 0;                    // 0: the page has no list
    std::span<const ListColumn> columns = {};
    // Each time the page becomes current, once its list has been emptied.
    void (*activate)(HWND page) = nullptr;
    void (*doubleClick)(HWND page, int row) = nullptr;  // a row of the list
    void (*details)(HWND page) = nullptr;               // button 1, "Details"
    // The frame's title while the page shows, when it names what the page
    // lists; null: the page's own title.
    std::string (*title)() = nullptr;
};

// The table in page order, one part per branch.
std::span<const WizardPage> openingPages();       // pageWelcome to pageFindHow
std::span<const WizardPage> fileUndoPages();      // pageByFileName to pageConfirmFiles
std::span<const WizardPage> settingsUndoPages();  // pageSettingsPrograms to pageConfirmApplet
std::span<const WizardPage> startOverPages();     // pageStartOver to pageConfirmStartOver
std::span<const WizardPage> findPages();          // pageFindFile and pageFoundFiles
std::span<const WizardPage> donePages();          // pageDone

// Columns that pages of several branches show.
inline constexpr ListColumn programColumns[] = {{"Program", 180}, {"Date", 80}, {"Time", 500}};

// A radio button of a page that chooses where Next leads.
struct RadioChoice {
    int controlId;
    int page;
};

// Checks the first choice and clears the others.
void checkFirstChoice(HWND page, std::span<const RadioChoice> choices);

// The page of the first checked choice; stayOnPage when none is checked.
int chosenPage(HWND page, std::span<const RadioChoice> choices);

// The hidden value of the first selected row of the list; nothing when no
// row is selected.
std::optional<int32_t> chosenRowValue(HWND page, int listId);

// The store holds the chosen row's value alone, or nothing.
void selectChosenRow(HWND page, int listId);

// Undoes the records not undone yet, in the order given, and saves the
// action list at once: a crash before the wizard closes must not lose
// what was undone.
void undoRecords(std::span<const int32_t> indices);

// Undoes the records of the selection, when it holds any, after forgetting
// the last redo.
void undoSelection();

// A confirmation page's Next: the records become the selection, which is
// undone; the wizard goes on to its last page.
int undoAndFinish(std::span<const int32_t> records);

// Closes the wizard, which then ends with WizardEnd::FileHistoryAsked.
void closeForFileHistory(HWND page);
