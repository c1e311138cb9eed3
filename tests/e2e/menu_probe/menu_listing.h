#pragma once
// A pop-up menu as the tests see it, and the text that carries it out of the
// program under test: one line per item, "id|flags|text", indented by two
// spaces per submenu level, each submenu's items right under its own item.
// Flags, one letter each: S separator, B bitmap, P opens a submenu,
// G greyed, X disabled, C checked, D default item. In the text a backslash,
// a line feed and a carriage return are written as \\, \n and \r.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct MenuItemView {
    std::string text;      // empty for separators and plain bitmaps
    uint32_t id = 0;       // 0 for an item that opens a submenu: the system keeps the submenu's handle there
    bool separator = false;  // with greyed, disabled, checked and isDefault clear
    bool bitmap = false;   // drawn from a bitmap, with or without a text
    bool opensSubmenu = false;
    bool greyed = false;
    bool disabled = false;
    bool checked = false;
    bool isDefault = false;
    std::vector<MenuItemView> submenu;

    bool operator==(const MenuItemView&) const = default;
};

std::string writeMenuListing(const std::vector<MenuItemView>& items);

// The items of a listing, or nothing when a line is not one writeMenuListing
// makes: a missing field, an unknown flag or escape, an identifier that is no
// 32-bit number, an odd indentation, or items under one that opens no submenu.
std::optional<std::vector<MenuItemView>> readMenuListing(std::string_view listing);

// The first item with the identifier, depth first, or nothing. Separators and
// items that open a submenu are passed over: they choose nothing.
const MenuItemView* findMenuItem(const std::vector<MenuItemView>& items, uint32_t id);

// The keys that choose that item in a menu just opened, as the menu loop
// reads them: Home selects the first item that is no separator, Down the next
// one, Right opens the selected item's submenu at its first such item, Return
// chooses. Empty when findMenuItem finds no item.
enum class MenuKey { Home, Down, Right, Return };
std::vector<MenuKey> menuKeysToChoose(const std::vector<MenuItemView>& items, uint32_t id);
