#pragma once
// The tray menu as data: its items, texts and identifiers, decided from the
// derived lists. The Win32 side only turns the layout into a real menu.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "database/action_record.h"
#include "database/derived_lists.h"

// The verbs of the menu labels by action kind; "" for kinds 0 and 6 and for
// any code outside the tables, which files may well hold.
std::string_view programVerb(int32_t kind);
std::string_view explorerVerb(int32_t kind);  // "Replace" for a Modify

// A text of at most `limit` characters as it is; a longer one as its first
// three characters, "..." and the text from its last backslash on (the
// result may exceed the limit when that last part is long). Without a
// backslash, the text is cut to the limit and ends in "...".
std::string abbreviatePath(std::string_view text, size_t limit);

// "Notepad": the program's name with its first letter in upper case.
std::string programEntryLabel(const ProgramEntry& entry);

// "Desk.cpl": the file name of the applet, as the program's are shown.
std::string appletEntryLabel(std::string_view appletPath);

// "Notepad modify of C:\...\readme.txt", "Replace of C:\...\readme.txt",
// "Delete {3} from C:\...\Temp". `isFolder` says whether a path is a folder
// now, which decides the place shown for a group of several actions.
std::string fileEntryLabel(const FileActionGroup& group, std::span<const ActionRecord> records,
                           const std::function<bool(const std::string&)>& isFolder);

// What follows "Redo " in the Redo item, for the first record of the redo
// list and the number of records it holds.
std::string redoLabel(const ActionRecord& first, int redoCount,
                      const std::function<bool(const std::string&)>& isFolder);

struct TrayMenuItem {
    enum class Type { Banner, Separator, Command, Submenu };
    Type type = Type::Command;
    std::string text;  // as the menu shows it: ampersands doubled, cut to fit
    unsigned id = 0;
    bool greyed = false;
    std::vector<TrayMenuItem> items;  // a submenu's items
};

// The identifiers hold ten entries per section, so a section never shows more.
inline constexpr size_t entriesPerSection = 10;

// Label lists hold the newest entries' labels, oldest first: all of them, or
// only the last entriesPerSection, which give the same menu. A long history
// has tens of thousands of entries, and labelling a file action looks at the disk.
struct TrayMenuInputs {
    int actionCount = 0;
    std::vector<std::string> programLabels;  // programList's
    std::vector<std::string> fileLabels;     // fileActionList's
    std::vector<std::string> appletLabels;   // appletList's
    std::optional<std::string> redo;         // the redo label, when there is something to redo
    uint32_t menuSize = 5;                   // UndoMenuSize
    bool monitoring = true;                  // EnableDriver
};

// Sections list their newest entries first, at most ten (the identifiers
// hold ten per section), each entry's identifier counting from the
// section's first. The banner item comes first and is the default item.
std::vector<TrayMenuItem> trayMenuLayout(const TrayMenuInputs& inputs);

// The index in a collection of `count` entries that a section's entry
// command stands for: the section's first identifier names the newest entry,
// the next one the entry before it. -1 when no entry has that place.
int entryIndexOfCommand(unsigned identifier, unsigned firstIdentifier, size_t count);

// The longest label the menu shows; longer ones are cut and end in "...".
inline constexpr size_t longestMenuLabel = 100;
