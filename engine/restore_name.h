#pragma once
// The name a restored file comes back under, beside the file it restores,
// so that an undo never writes over what is there now.

#include <functional>
#include <string>
#include <string_view>

// The suffix every restore name carries.
inline constexpr std::string_view restoreSuffix = ".undo";

// The first of stem + suffix + extension, stem + suffix + suffix +
// extension, ... for which `exists` says no: C:\Docs\report.doc gives
// C:\Docs\report.undo.doc, or C:\Docs\report.undo.undo.doc when that is
// taken; C:\Docs\README gives C:\Docs\README.undo. Empty when every such
// name up to the longest path Windows can create is taken.
std::string makeRestoreName(std::string_view path, std::string_view suffix,
                            const std::function<bool(const std::string&)>& exists);
