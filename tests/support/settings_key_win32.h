#pragma once
// Sets up the settings key of the test machine's registry.

#include <map>
#include <string>

#include "settings/settings.h"

// Replaces the settings key with the installation defaults, every value of
// the record written (szDownloadModules included, which the program never
// writes itself).
void installDefaultSettingsKey();

void deleteSettingsKey();

void deleteSettingsValue(const char* name);

// Every value of a record as text, by name, so records compare field by field.
std::map<std::string, std::string> settingsAsMap(const Settings& settings);
