#include <gtest/gtest.h>

#include "base/text.h"
#include "settings/data_file_extensions.h"

namespace {
using Extensions = std::vector<std::string>;

Settings settingsWith(const char* permaDel, const char* settingExts, const char* fileExts) {
    Settings settings;
    setFieldText(settings.szPermaDelExts, permaDel);
    setFieldText(settings.szSettingExts, settingExts);
    setFieldText(settings.szFileExts, fileExts);
    return settings;
}
}  // namespace

TEST(DataFileExtensions, KeepsRegistryOrderAndBlanksRemovedTypesInPlace) {
    Extensions registered{"doc", "exe", "", "txt", "Ini"};
    EXPECT_EQ(dataFileExtensionsFrom(registered, settingsWith("EXE|INI", "", "")),
              (Extensions{"doc", "", "txt", ""}));
}

TEST(DataFileExtensions, UserAdditionsFollowInUpperCaseInTheirStoredOrder) {
    Extensions registered{"doc"};
    EXPECT_EQ(dataFileExtensionsFrom(registered, settingsWith("", "", "xyz|Abc")),
              (Extensions{"doc", "XYZ", "ABC"}));
}

TEST(DataFileExtensions, AnAdditionAlsoRemovedAsSettingsIsListedOnceFromTheAdditions) {
    Extensions registered{"txt", "wri"};
    EXPECT_EQ(dataFileExtensionsFrom(registered, settingsWith("", "TXT", "txt")),
              (Extensions{"", "wri", "TXT"}));
}

TEST(DataFileExtensions, AnAdditionIsNeverBlankedByThePermanentRemovals) {
    EXPECT_EQ(dataFileExtensionsFrom({}, settingsWith("DLL", "DLL", "dll")), (Extensions{"DLL"}));
}
