#include "tests/e2e/menu_probe/menu_windows_win32.h"

std::vector<HWND> menuWindowsOf(DWORD processId) {
    struct Search {
        DWORD processId;
        std::vector<HWND> windows;
    } search{processId, {}};
    EnumWindows(
        [](HWND window, LPARAM lParam) -> BOOL {
            auto& search = *reinterpret_cast<Search*>(lParam);
            char className[16] = "";
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            GetClassNameA(window, className, sizeof className);
            if (owner == search.processId && IsWindowVisible(window) && lstrcmpA(className, "#32768") == 0)
                search.windows.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.windows;
}
