#include "settings/data_file_extensions.h"

#include "base/text.h"

namespace {
void blankListed(std::vector<std::string>& extensions, std::string_view list) {
    for (const std::string& item : splitList(list)) {
        for (std::string& extension : extensions)
            if (equalsIgnoreCase(extension, item)) extension.clear();
    }
}
}  // namespace

std::vector<std::string> dataFileExtensionsFrom(std::span<const std::string> registered,
                                                const Settings& settings) {
    std::vector<std::string> extensions;
    for (const std::string& extension : registered)
        if (!extension.empty()) extensions.push_back(extension);
    blankListed(extensions, fieldText(settings.szPermaDelExts));
    blankListed(extensions, fieldText(settings.szSettingExts));
    for (const std::string& item : splitList(fieldText(settings.szFileExts)))
        extensions.push_back(toUpperAscii(item));
    return extensions;
}
