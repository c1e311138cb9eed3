#pragma once
// Reads and works the pop-up menu that another process tracks, as a person
// sees and uses it. The reading is done inside that process by
// menu_probe.dll, which the first read loads there; the program itself knows
// nothing of it.

#include <windows.h>

#include <optional>
#include <vector>

#include "tests/e2e/menu_probe/menu_listing.h"

// The process shows a pop-up menu.
bool menuShown(DWORD processId);

// The items of the pop-up menu that the process shows, with its submenus,
// once it shows one; nothing when none shows within the time.
std::optional<std::vector<MenuItemView>> readOpenMenu(DWORD processId, DWORD milliseconds = 10000);

// Chooses the item with the identifier, by keys, in the menu the process has
// just opened. False when no menu shows within the time or it has no such
// item; the choice itself arrives at the menu's owner later, as WM_COMMAND.
bool chooseMenuItem(DWORD processId, uint32_t id, DWORD milliseconds = 10000);

// Posts the keys to the menu the process shows, as a person would press them;
// false when it shows none.
bool pressMenuKeys(DWORD processId, const std::vector<MenuKey>& keys);

// Ends the process's pop-up menu, submenus and all, choosing nothing. True
// once no menu of the process shows, at once when none did.
bool closeOpenMenu(DWORD processId, DWORD milliseconds = 10000);

// Waits for the process to show its menu, then ends it as closeOpenMenu does;
// false when no menu shows within the time.
bool closeMenuOnceShown(DWORD processId, DWORD milliseconds = 10000);
