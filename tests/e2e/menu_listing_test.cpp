// The listing that carries a menu out of the program under test, and the
// keys that choose an item of it.

#include "tests/e2e/menu_probe/menu_listing.h"

#include <gtest/gtest.h>

namespace {

MenuItemView item(uint32_t id, std::string text) {
    MenuItemView view;
    view.id = id;
    view.text = std::move(text);
    return view;
}

MenuItemView separator() {
    MenuItemView view;
    view.separator = true;
    return view;
}

MenuItemView submenu(std::string text, std::vector<MenuItemView> items) {
    MenuItemView view = item(0, std::move(text));
    view.opensSubmenu = true;
    view.submenu = std::move(items);
    return view;
}

// A banner, a submenu holding a submenu, greyed and checked items.
std::vector<MenuItemView> trayLikeMenu() {
    MenuItemView banner;
    banner.bitmap = banner.isDefault = true;
    MenuItemView files = item(1041, "Undo Files");
    files.greyed = files.disabled = true;
    MenuItemView monitoring = item(1027, "Monitoring");
    monitoring.checked = true;
    return {banner,
            separator(),
            submenu("Undo Programs", {item(1030, "Notepad"), separator(), submenu("Older", {item(1032, "Paint")}),
                                      item(1040, "More...")}),
            files,
            separator(),
            monitoring,
            item(1136, "Unload")};
}

const char trayLikeListing[] = "0|BD|\n"
                               "0|S|\n"
                               "0|P|Undo Programs\n"
                               "  1030||Notepad\n"
                               "  0|S|\n"
                               "  0|P|Older\n"
                               "    1032||Paint\n"
                               "  1040||More...\n"
                               "1041|GX|Undo Files\n"
                               "0|S|\n"
                               "1027|C|Monitoring\n"
                               "1136||Unload\n";

}  // namespace

TEST(MenuProbeListing, WritesOneLinePerItemEachSubmenuIndentedUnderItsItem) {
    EXPECT_EQ(writeMenuListing(trayLikeMenu()), trayLikeListing);
}

TEST(MenuProbeListing, ReadsBackEveryFieldOfWhatItWrote) {
    std::vector<MenuItemView> menu = trayLikeMenu();
    MenuItemView odd = item(UINT32_MAX, "C:\\...\\a|b\tc\nd\re\\");
    odd.bitmap = odd.greyed = odd.checked = odd.isDefault = true;
    menu[2].submenu[2].submenu.push_back(odd);
    menu.push_back(submenu("Empty", {}));

    std::optional<std::vector<MenuItemView>> read = readMenuListing(writeMenuListing(menu));
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, menu);
}

TEST(MenuProbeListing, ReadsNothingFromALineItCouldNotHaveWritten) {
    const char* const listings[] = {
        "1|\n",                // no flags field
        "1\n",                 // no field at all
        "|S|\n",               // no identifier
        "x|S|\n",              // not a number
        "-1||Unload\n",        // nor is this
        "4294967296||Find\n",  // beyond 32 bits
        "1|Q|Find\n",          // an unknown flag
        "1|s|Find\n",          // flags are capitals
        "1||C:\\Temp\n",       // a backslash not doubled
        "1||Find\\\n",         // an escape cut short
        " 1||Find\n",          // odd indentation
        "\n",                  // an empty line
        "1||Find",             // cut short before its line feed
        "0|P|Programs\n    1030||Notepad\n",        // two levels down at once
        "1022||Find...\n  1030||Notepad\n",        // under an item that opens no submenu
        "0|P|Programs\n1022||Find\n  1030||Notepad\n",  // the submenu was left
    };
    for (const char* listing : listings) EXPECT_FALSE(readMenuListing(listing)) << listing;
}

TEST(MenuProbeListing, ReadsTheExtremeIdentifiersAndAnEmptyMenu) {
    std::optional<std::vector<MenuItemView>> read = readMenuListing("4294967295||Last\n0||First\n");
    ASSERT_TRUE(read);
    ASSERT_EQ(read->size(), 2u);
    EXPECT_EQ((*read)[0].id, UINT32_MAX);
    EXPECT_EQ((*read)[1].id, 0u);
    EXPECT_EQ(readMenuListing(""), std::vector<MenuItemView>{});
}

TEST(MenuProbeListing, AListingCutAnywhereButAtALineEndIsRefused) {
    const std::string listing = trayLikeListing;
    for (size_t length = 0; length < listing.size(); ++length) {
        const bool atLineEnd = length == 0 || listing[length - 1] == '\n';
        EXPECT_EQ(readMenuListing(listing.substr(0, length)).has_value(), atLineEnd) << length;
    }
}

TEST(MenuProbeListing, FindsAnItemInAnySubmenuButNoSeparatorOrSubmenuItem) {
    const std::vector<MenuItemView> menu = trayLikeMenu();
    ASSERT_NE(findMenuItem(menu, 1032), nullptr);
    EXPECT_EQ(findMenuItem(menu, 1032)->text, "Paint");
    ASSERT_NE(findMenuItem(menu, 0), nullptr);
    EXPECT_TRUE(findMenuItem(menu, 0)->bitmap);  // not the separator under it
    EXPECT_EQ(findMenuItem(menu, 1021), nullptr);

    std::vector<MenuItemView> noBanner(menu.begin() + 1, menu.end());
    EXPECT_EQ(findMenuItem(noBanner, 0), nullptr);
}

TEST(MenuProbeListing, ChoosesByHomeThenDownPastSeparatorsAndRightIntoSubmenus) {
    using enum MenuKey;
    const struct {
        uint32_t id;
        std::vector<MenuKey> keys;
    } cases[] = {
        {0, {Home, Return}},
        {1030, {Home, Down, Right, Return}},
        {1032, {Home, Down, Right, Down, Right, Return}},
        {1040, {Home, Down, Right, Down, Down, Return}},
        {1041, {Home, Down, Down, Return}},  // greyed, yet the keys reach it
        {1136, {Home, Down, Down, Down, Down, Return}},
        {1021, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(menuKeysToChoose(trayLikeMenu(), c.id), c.keys) << c.id;
}
