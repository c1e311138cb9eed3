#pragma once
// The settings key under HKEY_LOCAL_MACHINE. Nothing is cached: every user
// loads a fresh record, changes what it needs and saves the whole record.

#include <windows.h>

#include <functional>

#include "settings/settings.h"

// Fills the record from the key. A missing key or value leaves the field as
// the caller had it, so a default-constructed record falls back to the
// installation defaults. The Undo Bin folders come with their environment
// variables expanded for the user the program runs as; a save writes a
// folder back as the key wrote it while it stands for the same folder.
void loadSettings(Settings& settings);

// What became of a save: stored; no key to store it in, as before the
// installation; or a key the user may not write, as a standard user finds
// it where the installation has not opened it to the Users group.
enum class SettingsSave { Stored, NoKey, Refused };

// Writes every field but szDownloadModules back, then runs what
// whenSettingsSaved gave. When the key is missing or refuses writing,
// nothing is written.
SettingsSave saveSettings(const Settings& settings);

// Given once at start-up by the program that runs the monitors, which then
// log again under the values the key holds after every save.
void whenSettingsSaved(std::function<void()> afterSave);

// saveSettings, for a change the user asked for: a refusal is told plainly,
// and then the caller carries out nothing that goes with the change. False
// only for a refusal.
bool saveSettingsOrTell(HWND owner, const Settings& settings);

// Start-up: a folder chosen for the Undo Bin in the Options sheet becomes the
// Undo Bin. The settings are saved whether or not anything changed.
void applyPendingBinMove();

// Shows "<message>\n\nReboot Now?" and restarts Windows on Yes.
void offerReboot(const char* message);

// Asks Windows to restart, with the privilege that takes.
void requestReboot();
