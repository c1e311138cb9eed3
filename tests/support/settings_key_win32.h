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

// The settings key as a standard user finds it where the installation has
// not opened it to the Users group: readable by all, writable by none, for
// the object's life. Wine checks a key's access list as Windows does.
class ReadOnlySettingsKey {
public:
    ReadOnlySettingsKey();
    ~ReadOnlySettingsKey();
    ReadOnlySettingsKey(const ReadOnlySettingsKey&) = delete;
    ReadOnlySettingsKey& operator=(const ReadOnlySettingsKey&) = delete;
};

// Every value of a record as text, by name, so records compare field by field.
std::map<std::string, std::string> settingsAsMap(const Settings& settings);
