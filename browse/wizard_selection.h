#pragma once
// What the Retrace Wizard remembers of the user's choices, and the rules by
// which each page's Next writes it and the pages after read it. The store
// lives as long as the program, so one run starts from what the last one left.
//
// Its 1000 slots serve two uses. As fixed slots they hold a choice: slot 0
// a program or applet (an index into programList or appletList), slot 1 one
// of its sessions; a Start Over point in slots 0 to 2; what Find looks for
// in slots 0 and 1. As a list they hold the action list indices the next
// undo takes, `count` of them. A list longer than the slots goes on in
// `beyondSlots`: an undo is never cut short, and nothing writes past the
// last slot.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "database/derived_lists.h"

inline constexpr size_t wizardSlotCount = 1000;

enum class WizardEntryKind { None, Program, Applet };

// The entry whose session slot 1 names, and the build of the lists it was
// chosen from. Another program's or applet's page, and lists built since,
// cannot take that session for theirs.
struct SessionOwner {
    WizardEntryKind kind = WizardEntryKind::None;
    int32_t entry = -1;
    uint32_t listsGeneration = 0;
};

struct WizardSelection {
    std::array<int32_t, wizardSlotCount> slots{};
    int32_t count = 0;                 // entries of the list
    std::vector<int32_t> beyondSlots;  // the list's entries after the last slot
    int32_t rememberedProgram = 0;     // whose sessions the program sessions page last showed
    int32_t rememberedApplet = 0;      // the same for the applet sessions page
    SessionOwner sessionOwner;
};

// Process-wide; used by the main thread only.
extern WizardSelection wizardSelection;

// The list, in order.
std::vector<int32_t> selectionList(const WizardSelection& store);

// Makes `entries` the list: the first of them in the slots, the rest beyond.
void setSelectionList(WizardSelection& store, std::span<const int32_t> entries);

// Clears every slot and the list; the chosen row's value, when a row is
// chosen, becomes the only entry.
void selectOnly(WizardSelection& store, std::optional<int32_t> chosen);

// A program or applet page's Next: the list is emptied; a chosen entry goes
// to slot 0 with a count of 1, which tells the sessions page to list it.
void chooseEntry(WizardSelection& store, std::optional<int32_t> chosen);

// A sessions page as it shows: the entry to list, which it also remembers;
// nothing when no entry was chosen.
std::optional<int32_t> entryToList(WizardSelection& store, WizardEntryKind kind);

// A sessions page's Next: slot 0 names the remembered entry again and the
// list is emptied; a chosen session goes to slot 1 as the remembered entry's.
// Without one, slot 1 keeps the session chosen before.
void chooseSession(WizardSelection& store, WizardEntryKind kind, std::optional<int32_t> chosen,
                   uint32_t listsGeneration);

struct SessionChoice {
    int32_t entry;
    int32_t session;
};

// What a sessions confirmation page takes: the entry in slot 0 and the
// session in slot 1, when that session was chosen for that entry of these
// lists. The indices may still lie outside the lists.
std::optional<SessionChoice> sessionChoice(const WizardSelection& store, WizardEntryKind kind,
                                           uint32_t listsGeneration);

// The sessions of the entry at `index`; none for an index outside the list.
std::span<const ProgramSession> sessionsOf(std::span<const ProgramEntry> programs, int32_t index);
std::span<const ProgramSession> sessionsOf(std::span<const AppletEntry> applets, int32_t index);

// What undoing the sessions from the newest back to `oldestChosen` takes: each
// session's setting actions from its last to its first. Nothing for a
// session outside the list.
std::vector<int32_t> settingsUndoOrder(std::span<const ProgramSession> sessions, int32_t oldestChosen);

// The kinds of point Start Over goes back to, by the slot that holds the choice.
enum class StartOverPoint { Hour = 0, ProgramStart = 1, Boot = 2 };

// A points page's Next: every slot becomes -1, then the chosen position, if
// any, goes to the point's slot. The list's count stays.
void chooseStartOverPoint(WizardSelection& store, StartOverPoint point, std::optional<int32_t> position);

struct StartOverChoice {
    StartOverPoint point;
    size_t position;
};

// The points of one kind, ascending record indices.
std::span<const int32_t> pointsOf(const ActionIndex& index, StartOverPoint point);

// The choice in the first of slots 0 to 2 that holds one; nothing when none
// does or when its position is not in the list.
std::optional<StartOverChoice> startOverChoice(const WizardSelection& store, const ActionIndex& index);

// The records that mark the points from the newest back to the chosen one.
std::vector<int32_t> startOverRecords(const ActionIndex& index, StartOverChoice choice);

// The Find page's Next: every slot becomes 0; slot 0 holds the action kind
// sought and slot 1 is 1 for downloads.
void chooseFoundKind(WizardSelection& store, int32_t kind, bool downloads);
