#include "settings/options_sheet_win32.h"

#include "browse/property_sheet_win32.h"
#include "res/resource.h"
#include "settings/options_rules.h"
#include "settings/settings_lists.h"

void showOptionsSheet() {
    static constexpr SheetPage pages[] = {
        {IDD_SETTINGS_PAGE, settingsPageProc},
        {IDD_IGNORE_GROUPS_PAGE, ignoreGroupsPageProc},
        {IDD_IGNORE_FILES_PAGE, ignoreFilesPageProc},
        {IDD_FILE_LIST_PAGE, fileListPageProc},
        {IDD_INFORMATION_PAGE, informationPageProc},
        {IDD_ABOUT_PAGE, aboutPageProc},
    };
    runPropertySheet("Retrace Options", pages);
}

bool storeListOrTell(HWND page, std::span<char> field, std::span<const std::string> items, const char* title) {
    auto joined = joinListFor(items, field.size());
    if (!joined) {
        MessageBoxA(page, "The list is too long to be saved. Remove some of its items, then press OK again.", title,
                    MB_OK | MB_ICONWARNING);
        return false;
    }
    setFieldText(field, *joined);
    return true;
}
