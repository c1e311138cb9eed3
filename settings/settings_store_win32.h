#pragma once
// The settings key under HKEY_LOCAL_MACHINE. Nothing is cached: every user
// loads a fresh record, changes what it needs and saves the whole record.

#include "settings/settings.h"

// Fills the record from the key. A missing key or value leaves the field as
// the caller had it, so a default-constructed record falls back to the
// installation defaults.
void loadSettings(Settings& settings);

// Writes every field but szDownloadModules back (nothing when the key cannot
// be opened), then stops logging and starts it again under the new values.
void saveSettings(const Settings& settings);

// Start-up: a folder chosen for the Undo Bin in the Options sheet becomes the
// Undo Bin. The settings are saved whether or not anything changed.
void applyPendingBinMove();

// Shows "<message>\n\nReboot Now?" and restarts Windows on Yes.
void offerReboot(const char* message);

// Asks Windows to restart, with the privilege that takes.
void requestReboot();
