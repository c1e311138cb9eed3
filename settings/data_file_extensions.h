#pragma once
// The File List: the file types whose files count as the user's documents.

#include <span>
#include <string>
#include <vector>

#include "settings/settings.h"

// Builds the data-file extension list from the extensions registered with an
// open command (in the registry's order, without their dots) and the
// settings. Extensions in szPermaDelExts or szSettingExts stay in their places
// as empty entries; the items of szFileExts follow in upper case, after the
// removals, so the user's own additions are never blanked.
std::vector<std::string> dataFileExtensionsFrom(std::span<const std::string> registered,
                                                const Settings& settings);
