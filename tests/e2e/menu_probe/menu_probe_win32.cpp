// menu_probe.dll: a test loads it into the program under test, because a
// menu handle read from another process leads nowhere (menu_probe.h).

#include <windows.h>

#include <cstring>

#include "tests/e2e/menu_probe/menu_listing.h"
#include "tests/e2e/menu_probe/menu_probe.h"
#include "tests/e2e/menu_probe/menu_windows_win32.h"

namespace {

// The menus of this process's pop-up menu windows: the tracked menu and the
// submenus opened from it.
std::vector<HMENU> shownMenus() {
    std::vector<HMENU> menus;
    for (HWND window : menuWindowsOf(GetCurrentProcessId())) {
        DWORD_PTR menu = 0;
        // The window answers from the thread tracking the menu, whose menu
        // loop takes sent messages; a hung one is not waited on.
        if (SendMessageTimeoutA(window, MN_GETHMENU, 0, 0, SMTO_ABORTIFHUNG, 2000, &menu) && menu)
            menus.push_back(reinterpret_cast<HMENU>(menu));
    }
    return menus;
}

bool opens(HMENU menu, HMENU submenu) {
    for (int position = 0, count = GetMenuItemCount(menu); position < count; ++position)
        if (GetSubMenu(menu, position) == submenu) return true;
    return false;
}

// Of the menus shown, the one that no other opens.
HMENU trackedMenu() {
    std::vector<HMENU> menus = shownMenus();
    for (HMENU candidate : menus) {
        bool opened = false;
        for (HMENU other : menus) opened = opened || (other != candidate && opens(other, candidate));
        if (!opened) return candidate;
    }
    return nullptr;
}

std::string itemText(HMENU menu, int position) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    if (!GetMenuItemInfoA(menu, position, TRUE, &info) || info.cch == 0) return "";
    std::string text(info.cch + 1, '\0');
    info.dwTypeData = text.data();
    info.cch = UINT(text.size());
    if (!GetMenuItemInfoA(menu, position, TRUE, &info)) return "";
    text.resize(info.cch);
    return text;
}

// Nothing when an item cannot be read: the menu ended while being read.
std::optional<std::vector<MenuItemView>> viewOf(HMENU menu) {
    const int count = GetMenuItemCount(menu);
    if (count < 0) return std::nullopt;
    std::vector<MenuItemView> items;
    for (int position = 0; position < count; ++position) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_BITMAP;
        if (!GetMenuItemInfoA(menu, position, TRUE, &info)) return std::nullopt;
        MenuItemView item;
        item.id = info.hSubMenu ? 0 : info.wID;
        item.separator = info.fType & MFT_SEPARATOR;
        item.bitmap = (info.fType & MFT_BITMAP) || info.hbmpItem;
        item.opensSubmenu = info.hSubMenu != nullptr;
        // Wine marks separators greyed and disabled. None can be chosen,
        // whatever its state, so a separator is given with none.
        const UINT state = item.separator ? 0 : info.fState;
        item.greyed = state & MF_GRAYED;
        item.disabled = state & MF_DISABLED;
        item.checked = state & MFS_CHECKED;
        item.isDefault = state & MFS_DEFAULT;
        // An item of the old bitmap or owner-drawn type keeps a handle or the
        // owner's value where others keep their text.
        if (!item.separator && !(info.fType & (MFT_BITMAP | MFT_OWNERDRAW))) item.text = itemText(menu, position);
        if (item.opensSubmenu) {
            std::optional<std::vector<MenuItemView>> submenu = viewOf(info.hSubMenu);
            if (!submenu) return std::nullopt;
            item.submenu = std::move(*submenu);
        }
        items.push_back(std::move(item));
    }
    return items;
}

}  // namespace

extern "C" __declspec(dllexport) DWORD WINAPI listOpenMenu(void* block) {
    HMENU menu = trackedMenu();
    std::optional<std::vector<MenuItemView>> items;
    if (!menu || !(items = viewOf(menu))) return menuProbeNoOpenMenu;
    const std::string listing = writeMenuListing(*items);
    uint32_t capacity = 0;
    std::memcpy(&capacity, block, sizeof capacity);
    if (listing.size() <= capacity)
        std::memcpy(static_cast<char*>(block) + menuProbeListingOffset, listing.data(), listing.size());
    return DWORD(listing.size());
}
