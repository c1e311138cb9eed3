#include "tests/e2e/menu_probe/menu_listing.h"

namespace {

struct Flag {
    char letter;
    bool MenuItemView::*field;
};
constexpr Flag flags[] = {
    {'S', &MenuItemView::separator}, {'B', &MenuItemView::bitmap},   {'P', &MenuItemView::opensSubmenu},
    {'G', &MenuItemView::greyed},    {'X', &MenuItemView::disabled}, {'C', &MenuItemView::checked},
    {'D', &MenuItemView::isDefault},
};

void writeItems(const std::vector<MenuItemView>& items, size_t depth, std::string& out) {
    for (const MenuItemView& item : items) {
        out.append(2 * depth, ' ');
        out += std::to_string(item.id) + '|';
        for (const Flag& flag : flags)
            if (item.*flag.field) out += flag.letter;
        out += '|';
        for (char c : item.text) {
            if (c == '\\') out += "\\\\";
            else if (c == '\n') out += "\\n";
            else if (c == '\r') out += "\\r";
            else out += c;
        }
        out += '\n';
        writeItems(item.submenu, depth + 1, out);
    }
}

std::optional<uint32_t> readId(std::string_view digits) {
    if (digits.empty() || digits.size() > 10) return std::nullopt;
    uint64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + uint64_t(c - '0');
    }
    if (value > UINT32_MAX) return std::nullopt;
    return uint32_t(value);
}

std::optional<std::string> unescape(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size()) return std::nullopt;
        if (text[i] == '\\') out += '\\';
        else if (text[i] == 'n') out += '\n';
        else if (text[i] == 'r') out += '\r';
        else return std::nullopt;
    }
    return out;
}

// One line without its indentation and line feed.
std::optional<MenuItemView> readItem(std::string_view line) {
    size_t idEnd = line.find('|');
    if (idEnd == std::string_view::npos) return std::nullopt;
    size_t flagsEnd = line.find('|', idEnd + 1);
    if (flagsEnd == std::string_view::npos) return std::nullopt;

    MenuItemView item;
    std::optional<uint32_t> id = readId(line.substr(0, idEnd));
    if (!id) return std::nullopt;
    item.id = *id;
    for (char letter : line.substr(idEnd + 1, flagsEnd - idEnd - 1)) {
        const Flag* flag = nullptr;
        for (const Flag& known : flags)
            if (known.letter == letter) flag = &known;
        if (!flag) return std::nullopt;
        item.*flag->field = true;
    }
    std::optional<std::string> text = unescape(line.substr(flagsEnd + 1));
    if (!text) return std::nullopt;
    item.text = std::move(*text);
    return item;
}

bool appendKeysToChoose(const std::vector<MenuItemView>& items, uint32_t id, std::vector<MenuKey>& keys) {
    size_t downs = 0;
    for (const MenuItemView& item : items) {
        if (item.separator) continue;
        const size_t mark = keys.size();
        keys.insert(keys.end(), downs, MenuKey::Down);
        if (item.opensSubmenu) {
            keys.push_back(MenuKey::Right);
            if (appendKeysToChoose(item.submenu, id, keys)) return true;
        } else if (item.id == id) {
            keys.push_back(MenuKey::Return);
            return true;
        }
        keys.resize(mark);
        ++downs;
    }
    return false;
}

}  // namespace

std::string writeMenuListing(const std::vector<MenuItemView>& items) {
    std::string out;
    writeItems(items, 0, out);
    return out;
}

std::optional<std::vector<MenuItemView>> readMenuListing(std::string_view listing) {
    std::vector<MenuItemView> items;
    // open[d] receives the items of depth d: the top menu, then the submenu
    // of the last item read at each depth that opens one.
    std::vector<std::vector<MenuItemView>*> open{&items};
    while (!listing.empty()) {
        size_t end = listing.find('\n');
        if (end == std::string_view::npos) return std::nullopt;  // cut short
        std::string_view line = listing.substr(0, end);
        listing.remove_prefix(end + 1);

        size_t spaces = line.find_first_not_of(' ');
        if (spaces == std::string_view::npos || spaces % 2 != 0) return std::nullopt;
        size_t depth = spaces / 2;
        if (depth >= open.size()) return std::nullopt;
        std::optional<MenuItemView> item = readItem(line.substr(spaces));
        if (!item) return std::nullopt;

        open.resize(depth + 1);
        open[depth]->push_back(std::move(*item));
        if (open[depth]->back().opensSubmenu) open.push_back(&open[depth]->back().submenu);
    }
    return items;
}

const MenuItemView* findMenuItem(const std::vector<MenuItemView>& items, uint32_t id) {
    for (const MenuItemView& item : items) {
        if (item.separator) continue;
        if (item.opensSubmenu) {
            if (const MenuItemView* found = findMenuItem(item.submenu, id)) return found;
        } else if (item.id == id) {
            return &item;
        }
    }
    return nullptr;
}

std::vector<MenuKey> menuKeysToChoose(const std::vector<MenuItemView>& items, uint32_t id) {
    std::vector<MenuKey> keys{MenuKey::Home};
    if (!appendKeysToChoose(items, id, keys)) keys.clear();
    return keys;
}
