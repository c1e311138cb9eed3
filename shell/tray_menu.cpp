#include "shell/tray_menu.h"

#include <algorithm>
#include <array>

#include "base/paths.h"
#include "res/resource.h"
#include "ui/list_texts.h"

namespace {

constexpr std::array<std::string_view, 9> programVerbs{"",       "Create", "Delete", "Rename", "Modify",
                                                       "Delete", "",       "Copy",   "Move"};
constexpr std::array<std::string_view, 9> explorerVerbs{"",       "Create", "Delete", "Rename", "Replace",
                                                        "Delete", "",       "Copy",   "Move"};
constexpr size_t placeLimit = 20;

std::string_view verbFrom(const std::array<std::string_view, 9>& verbs, int32_t kind) {
    return kind >= 0 && size_t(kind) < verbs.size() ? verbs[size_t(kind)] : std::string_view{};
}

std::string lowerFirst(std::string_view verb) {
    std::string lowered(verb);
    if (!lowered.empty() && lowered[0] >= 'A' && lowered[0] <= 'Z') lowered[0] = char(lowered[0] + 32);
    return lowered;
}

// A menu shows "&" as a mnemonic underline, so a file named "Tom & Jerry"
// needs it doubled; a label too long for a menu is cut.
std::string menuText(std::string_view label) {
    std::string cut(label.substr(0, longestMenuLabel));
    if (label.size() > longestMenuLabel) cut.replace(longestMenuLabel - 3, 3, "...");
    std::string text;
    for (char c : cut) {
        if (c == '&') text += '&';
        text += c;
    }
    return text;
}

TrayMenuItem command(std::string_view text, unsigned id, bool greyed = false) {
    return {TrayMenuItem::Type::Command, menuText(text), id, greyed, {}};
}

TrayMenuItem separator() { return {TrayMenuItem::Type::Separator, "", 0, false, {}}; }

// "Undo Programs", "Undo Files" or "Undo Control Panel": the newest entries, newest first, then
// "More..."; a greyed plain item when the list is empty.
TrayMenuItem section(std::string_view title, const std::vector<std::string>& labels, uint32_t menuSize,
                     unsigned firstId, unsigned moreId) {
    if (labels.empty()) return command(title, firstId, true);
    TrayMenuItem submenu{TrayMenuItem::Type::Submenu, std::string(title), 0, false, {}};
    size_t shown = std::min<size_t>({labels.size(), menuSize, entriesPerSection});
    for (size_t k = 0; k < shown; ++k)
        submenu.items.push_back(command(labels[labels.size() - 1 - k], firstId + unsigned(k)));
    submenu.items.push_back(separator());
    submenu.items.push_back(command("More...", moreId));
    return submenu;
}

}  // namespace

std::string_view programVerb(int32_t kind) { return verbFrom(programVerbs, kind); }

std::string_view explorerVerb(int32_t kind) { return verbFrom(explorerVerbs, kind); }

std::string abbreviatePath(std::string_view text, size_t limit) {
    if (text.size() <= limit) return std::string(text);
    size_t lastBackslash = text.rfind('\\');
    if (lastBackslash == std::string_view::npos) return std::string(text.substr(0, limit)) + "...";
    return std::string(text.substr(0, 3)) + "..." + std::string(text.substr(lastBackslash));
}

std::string programEntryLabel(const ProgramEntry& entry) { return displayCase(entry.programName); }

std::string appletEntryLabel(std::string_view appletPath) { return displayCase(fileNameOf(appletPath)); }

std::string fileEntryLabel(const FileActionGroup& group, std::span<const ActionRecord> records,
                           const std::function<bool(const std::string&)>& isFolder) {
    if (group.actions.empty()) return "";
    const ActionRecord& first = records[size_t(group.actions.front())];
    std::string place = group.actions.size() == 1 ? first.dataA : folderOf(first.dataA, isFolder);
    place = abbreviatePath(place, placeLimit);
    if (!first.isExplorer())
        return displayCase(first.programName) + " " + lowerFirst(programVerb(first.kind)) + " of " + place;
    if (group.actions.size() == 1) return std::string(explorerVerb(first.kind)) + " of " + place;
    return std::string(explorerVerb(first.kind)) + " {" + std::to_string(group.actions.size()) + "} from " +
           place;
}

std::string redoLabel(const ActionRecord& first, int redoCount,
                      const std::function<bool(const std::string&)>& isFolder) {
    std::string verb(programVerb(first.kind));
    if (redoCount == 1) return std::string(first.programName) + " " + verb + " of " + abbreviatePath(first.dataA, placeLimit);
    return std::string(first.programName) + " " + verb + "s (" + std::to_string(redoCount) + ") from " +
           abbreviatePath(folderOf(first.dataA, isFolder), placeLimit);
}

int entryIndexOfCommand(unsigned identifier, unsigned firstIdentifier, size_t count) {
    if (identifier < firstIdentifier || identifier - firstIdentifier >= count) return -1;
    return int(count - 1 - (identifier - firstIdentifier));
}

std::vector<TrayMenuItem> trayMenuLayout(const TrayMenuInputs& inputs) {
    std::vector<TrayMenuItem> menu{{TrayMenuItem::Type::Banner, "", 0, false, {}}};
    // Without records the menu holds only the commands every form has.
    if (inputs.actionCount > 0) {
        menu.push_back(separator());
        menu.push_back(section("Undo Programs", inputs.programLabels, inputs.menuSize, IDM_PROGRAM_FIRST,
                               IDM_PROGRAM_MORE));
        menu.push_back(section("Undo Files", inputs.fileLabels, inputs.menuSize, IDM_FILE_FIRST, IDM_FILE_MORE));
        menu.push_back(section("Undo Control Panel", inputs.appletLabels, inputs.menuSize, IDM_APPLET_FIRST,
                               IDM_APPLET_MORE));
        menu.push_back(separator());
        menu.push_back(inputs.redo ? command("Redo " + *inputs.redo, IDM_REDO) : command("Redo", IDM_REDO, true));
        menu.push_back(separator());
        menu.push_back(command("Find...", IDM_FIND));
        menu.push_back(command("Start Over...", IDM_START_OVER));
        menu.push_back(command("Wizard...", IDM_WIZARD));
        menu.push_back(separator());
    }
    menu.push_back(command("Help...", IDM_HELP));
    menu.push_back(command("Options...", IDM_OPTIONS));
    menu.push_back(separator());
    menu.push_back(command(inputs.monitoring ? "Disable" : "Enable", IDM_TOGGLE_MONITORING));
    menu.push_back(command("Unload", IDM_UNLOAD));
    return menu;
}
