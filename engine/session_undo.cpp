#include "engine/session_undo.h"

namespace {
void appendNewestFirst(const std::vector<int32_t>& actions, std::vector<int32_t>& order) {
    order.insert(order.end(), actions.rbegin(), actions.rend());
}
}  // namespace

std::vector<int32_t> programSessionsUndoOrder(std::span<const ProgramSession> sessions, size_t oldestChosen,
                                              SessionPart part) {
    std::vector<int32_t> order;
    for (size_t s = sessions.size(); s > oldestChosen; --s) {
        appendNewestFirst(sessions[s - 1].settingActions, order);
        if (part == SessionPart::SettingsAndFiles) appendNewestFirst(sessions[s - 1].fileActions, order);
    }
    return order;
}

std::vector<int32_t> appletSessionsUndoOrder(std::span<const ProgramSession> sessions, size_t oldestChosen) {
    std::vector<int32_t> order;
    for (size_t s = sessions.size(); s > oldestChosen; --s) {
        appendNewestFirst(sessions[s - 1].fileActions, order);
        appendNewestFirst(sessions[s - 1].settingActions, order);
    }
    return order;
}

int32_t sessionFirstAction(const ProgramSession& session) {
    if (!session.settingActions.empty()) return session.settingActions.front();
    if (!session.fileActions.empty()) return session.fileActions.front();
    return -1;
}

std::optional<size_t> sessionStartingWith(std::span<const ProgramSession> sessions, int32_t action) {
    if (action < 0) return std::nullopt;
    for (size_t s = 0; s < sessions.size(); ++s)
        if (sessionFirstAction(sessions[s]) == action) return s;
    return std::nullopt;
}
