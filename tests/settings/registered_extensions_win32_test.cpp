// The File List built from file types registered under HKEY_CLASSES_ROOT.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "base/text.h"
#include "settings/registered_extensions_win32.h"
#include "settings/settings_store_win32.h"
#include "tests/support/settings_key_win32.h"

namespace {

void registerType(const char* extension, const char* typeName, bool withOpenCommand) {
    RegSetValueA(HKEY_CLASSES_ROOT, extension, REG_SZ, typeName, 0);
    if (withOpenCommand) {
        std::string command = std::string(typeName) + "\\shell\\open\\command";
        RegSetValueA(HKEY_CLASSES_ROOT, command.c_str(), REG_SZ, "notepad.exe \"%1\"", 0);
    }
}

void unregisterType(const char* extension, const char* typeName) {
    RegDeleteTreeA(HKEY_CLASSES_ROOT, extension);
    RegDeleteTreeA(HKEY_CLASSES_ROOT, typeName);
}

size_t countOf(const std::vector<std::string>& list, const std::string& item) {
    return size_t(std::ranges::count_if(list, [&](auto& entry) { return equalsIgnoreCase(entry, item); }));
}

class RegisteredExtensions : public testing::Test {
protected:
    void SetUp() override {
        installDefaultSettingsKey();
        registerType(".rtxdoc", "Retrace.TestDocument", true);
        registerType(".rtxbare", "Retrace.TestBare", false);
        registerType(".rtxperm", "Retrace.TestPermanent", true);
        registerType(".rtxset", "Retrace.TestSetting", true);
        RegSetValueA(HKEY_CLASSES_ROOT, ".rtxnotype", REG_SZ, "", 0);
    }
    void TearDown() override {
        unregisterType(".rtxdoc", "Retrace.TestDocument");
        unregisterType(".rtxbare", "Retrace.TestBare");
        unregisterType(".rtxperm", "Retrace.TestPermanent");
        unregisterType(".rtxset", "Retrace.TestSetting");
        RegDeleteTreeA(HKEY_CLASSES_ROOT, ".rtxnotype");
        installDefaultSettingsKey();
    }
    static void setLists(const char* permaDel, const char* settingExts, const char* fileExts) {
        Settings settings;
        loadSettings(settings);
        setFieldText(settings.szPermaDelExts, permaDel);
        setFieldText(settings.szSettingExts, settingExts);
        setFieldText(settings.szFileExts, fileExts);
        saveSettings(settings);
    }
};

}  // namespace

TEST_F(RegisteredExtensions, OnlyTypesWithAnOpenCommandAreDataFiles) {
    setLists("", "", "");
    auto list = buildDataFileExtensions();
    EXPECT_EQ(countOf(list, "rtxdoc"), 1u);
    EXPECT_EQ(countOf(list, "rtxbare"), 0u);
    EXPECT_EQ(countOf(list, "rtxnotype"), 0u);
    EXPECT_EQ(countOf(list, "rtxperm"), 1u);
}

TEST_F(RegisteredExtensions, RemovedTypesBlankAndUserAdditionsComeLastInUpperCase) {
    setLists("EXE|RTXPERM", "rtxset", "rtxbare|RtxSet");
    auto list = buildDataFileExtensions();
    EXPECT_EQ(countOf(list, "rtxperm"), 0u);
    EXPECT_EQ(countOf(list, "rtxdoc"), 1u);
    ASSERT_GE(list.size(), 2u);
    EXPECT_EQ(list[list.size() - 2], "RTXBARE");
    EXPECT_EQ(list.back(), "RTXSET");
    EXPECT_EQ(countOf(list, "rtxset"), 1u);  // once, from the additions
    EXPECT_TRUE(std::ranges::any_of(list, [](auto& entry) { return entry.empty(); }));
}

TEST_F(RegisteredExtensions, TheWalkEndsPastTheLastSubkey) {
    bool end = false;
    registeredExtensionAt(0, end);
    EXPECT_FALSE(end);
    registeredExtensionAt(1000000, end);
    EXPECT_TRUE(end);
}
