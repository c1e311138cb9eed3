#include "options/options_sheet_win32.h"

#include "base/text.h"
#include "options/options_rules.h"
#include "res/resource.h"
#include "ui/property_sheet_win32.h"

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
