#include "database/action_record.h"

#include <array>

std::string_view actionKindLabel(int32_t kind) {
    static constexpr std::array<std::string_view, 9> labels{"",       "Create", "Delete", "Rename", "Modify",
                                                            "Delete", "",       "Copy",   "Move"};
    return kind >= 0 && size_t(kind) < labels.size() ? labels[size_t(kind)] : std::string_view{};
}
