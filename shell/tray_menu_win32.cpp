#include "shell/tray_menu_win32.h"

#include "base/file_operations_win32.h"
#include "database/action_list.h"
#include "database/derived_lists.h"
#include "database/newest_entries.h"
#include "engine/redo_list.h"
#include "res/resource.h"
#include "settings/settings_store_win32.h"
#include "shell/tray_menu.h"
#include "ui/application_win32.h"

namespace {

// Kept from click to click, so that each click looks at the new records only.
NewestEntriesFinder newestEntries;

bool isFolderNow(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<ProgramEntry> newestPrograms() {
    return newestEntries.programs(actionList, entriesPerSection, actionListChanges);
}

std::vector<std::string> newestApplets() {
    return newestEntries.appletPaths(actionList, entriesPerSection, actionListChanges);
}

TrayMenuInputs currentMenuInputs() {
    Settings settings;
    loadSettings(settings);
    TrayMenuInputs inputs;
    inputs.actionCount = actionCount();
    inputs.menuSize = settings.UndoMenuSize;
    inputs.monitoring = settings.EnableDriver != 0;
    // The derived lists may still be in the making: the entries the menu
    // shows are found from the end of the history instead.
    for (const ProgramEntry& entry : newestPrograms())
        inputs.programLabels.push_back(programEntryLabel(entry));
    for (const FileActionGroup& group : newestFileActionGroups(actionList, entriesPerSection))
        inputs.fileLabels.push_back(fileEntryLabel(group, actionList, isFolderNow));
    for (const std::string& applet : newestApplets())
        inputs.appletLabels.push_back(appletEntryLabel(applet));
    if (!redoList.empty()) inputs.redo = redoLabel(redoList.front().record, redoCount(), isFolderNow);
    return inputs;
}

void appendItems(HMENU menu, const std::vector<TrayMenuItem>& items) {
    for (const TrayMenuItem& item : items) {
        switch (item.type) {
        case TrayMenuItem::Type::Banner: {
            static HBITMAP banner = LoadBitmapA(appInstance, MAKEINTRESOURCEA(IDB_MENU_BANNER));
            AppendMenuA(menu, MF_BITMAP, item.id, reinterpret_cast<const char*>(banner));
            break;
        }
        case TrayMenuItem::Type::Separator:
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            break;
        case TrayMenuItem::Type::Command:
            AppendMenuA(menu, MF_STRING | (item.greyed ? MF_GRAYED | MF_DISABLED : 0), item.id, item.text.c_str());
            break;
        case TrayMenuItem::Type::Submenu: {
            HMENU submenu = CreatePopupMenu();
            appendItems(submenu, item.items);
            AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(submenu), item.text.c_str());
            break;
        }
        }
    }
}

}  // namespace

HMENU buildTrayMenu() {
    HMENU menu = CreatePopupMenu();
    appendItems(menu, trayMenuLayout(currentMenuInputs()));
    SetMenuDefaultItem(menu, 0, TRUE);
    return menu;
}

void findTrayMenuEntries() {
    newestPrograms();
    newestApplets();
}
