#include "browse/wizard_selection.h"

#include <algorithm>

#include "engine/session_undo.h"

WizardSelection wizardSelection;

std::vector<int32_t> selectionList(const WizardSelection& store) {
    const size_t inSlots = std::min(size_t(std::max(store.count, 0)), wizardSlotCount);
    std::vector<int32_t> entries(store.slots.begin(), store.slots.begin() + ptrdiff_t(inSlots));
    entries.insert(entries.end(), store.beyondSlots.begin(), store.beyondSlots.end());
    return entries;
}

void setSelectionList(WizardSelection& store, std::span<const int32_t> entries) {
    const size_t inSlots = std::min(entries.size(), wizardSlotCount);
    std::copy_n(entries.begin(), inSlots, store.slots.begin());
    store.beyondSlots.assign(entries.begin() + ptrdiff_t(inSlots), entries.end());
    store.count = int32_t(entries.size());
}

namespace {
void emptyList(WizardSelection& store) {
    store.count = 0;
    store.beyondSlots.clear();
}

int32_t& rememberedEntry(WizardSelection& store, WizardEntryKind kind) {
    return kind == WizardEntryKind::Applet ? store.rememberedApplet : store.rememberedProgram;
}
}  // namespace

void selectOnly(WizardSelection& store, std::optional<int32_t> chosen) {
    store.slots.fill(0);
    emptyList(store);
    if (chosen) setSelectionList(store, std::span(&*chosen, 1));
}

void chooseEntry(WizardSelection& store, std::optional<int32_t> chosen) {
    emptyList(store);
    if (chosen) setSelectionList(store, std::span(&*chosen, 1));
}

std::optional<int32_t> entryToList(WizardSelection& store, WizardEntryKind kind) {
    if (store.count == 0) return std::nullopt;
    rememberedEntry(store, kind) = store.slots[0];
    return store.slots[0];
}

void chooseSession(WizardSelection& store, WizardEntryKind kind, std::optional<int32_t> chosen,
                   uint32_t listsGeneration) {
    store.slots[0] = rememberedEntry(store, kind);
    emptyList(store);
    if (!chosen) return;
    store.slots[1] = *chosen;
    store.sessionOwner = {kind, store.slots[0], listsGeneration};
}

std::optional<SessionChoice> sessionChoice(const WizardSelection& store, WizardEntryKind kind,
                                           uint32_t listsGeneration) {
    const SessionOwner& owner = store.sessionOwner;
    if (owner.kind != kind || owner.entry != store.slots[0] || owner.listsGeneration != listsGeneration)
        return std::nullopt;
    return SessionChoice{store.slots[0], store.slots[1]};
}

namespace {
template <typename Entry>
std::span<const ProgramSession> sessionsAt(std::span<const Entry> entries, int32_t index) {
    if (index < 0 || size_t(index) >= entries.size()) return {};
    return entries[size_t(index)].sessions;
}
}  // namespace

std::span<const ProgramSession> sessionsOf(std::span<const ProgramEntry> programs, int32_t index) {
    return sessionsAt(programs, index);
}

std::span<const ProgramSession> sessionsOf(std::span<const AppletEntry> applets, int32_t index) {
    return sessionsAt(applets, index);
}

std::vector<int32_t> settingsUndoOrder(std::span<const ProgramSession> sessions, int32_t oldestChosen) {
    if (oldestChosen < 0 || size_t(oldestChosen) >= sessions.size()) return {};
    return programSessionsUndoOrder(sessions, size_t(oldestChosen), SessionPart::SettingsOnly);
}

void chooseStartOverPoint(WizardSelection& store, StartOverPoint point, std::optional<int32_t> position) {
    store.slots.fill(-1);
    if (position) store.slots[size_t(point)] = *position;
}

std::span<const int32_t> pointsOf(const ActionIndex& index, StartOverPoint point) {
    switch (point) {
    case StartOverPoint::Hour:
        return index.hourStarts;
    case StartOverPoint::ProgramStart:
        return index.programStarts;
    case StartOverPoint::Boot:
        return index.bootMarkers;
    }
    return {};
}

std::optional<StartOverChoice> startOverChoice(const WizardSelection& store, const ActionIndex& index) {
    for (StartOverPoint point : {StartOverPoint::Hour, StartOverPoint::ProgramStart, StartOverPoint::Boot}) {
        const int32_t position = store.slots[size_t(point)];
        if (position == -1) continue;
        if (position < 0 || size_t(position) >= pointsOf(index, point).size()) return std::nullopt;
        return StartOverChoice{point, size_t(position)};
    }
    return std::nullopt;
}

std::vector<int32_t> startOverRecords(const ActionIndex& index, StartOverChoice choice) {
    std::span<const int32_t> points = pointsOf(index, choice.point);
    std::vector<int32_t> records;
    for (size_t position = points.size(); position-- > choice.position;) records.push_back(points[position]);
    return records;
}

void chooseFoundKind(WizardSelection& store, int32_t kind, bool downloads) {
    store.slots.fill(0);
    store.slots[0] = kind;
    store.slots[1] = downloads ? 1 : 0;
}
