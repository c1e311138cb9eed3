// The settings store against the real registry of the test machine.

#include <gtest/gtest.h>
#include <windows.h>

#include "base/text.h"
#include "settings/settings_store_win32.h"
#include "tests/support/settings_key_win32.h"

namespace {

// A record whose every field differs from the installation defaults.
struct DistinctFiller {
    uint32_t next = 7;
    void number(const char*, uint32_t& field) { field = next++; }
    void text(const char* name, std::span<char> field, SettingsAccess) {
        setFieldText(field, std::string("C:\\value of ") + name);
    }
};

Settings distinctSettings() {
    Settings settings;
    visitSettingsFields(settings, DistinctFiller{});
    return settings;
}

void writeRawValue(const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key;
    ASSERT_EQ(RegOpenKeyA(HKEY_LOCAL_MACHINE, settingsKeyPath, &key), ERROR_SUCCESS);
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

class SettingsStore : public testing::Test {
protected:
    void SetUp() override { installDefaultSettingsKey(); }
    void TearDown() override { installDefaultSettingsKey(); }
};

}  // namespace

TEST_F(SettingsStore, EveryFieldButTheDownloadListRoundTripsThroughSaveAndLoad) {
    const Settings saved = distinctSettings();
    EXPECT_EQ(saveSettings(saved), SettingsSave::Stored);

    Settings loaded = distinctSettings();
    setFieldText(loaded.szDownloadModules, "not read");
    visitSettingsFields(loaded, DistinctFiller{500});  // every field differs from `saved`
    loadSettings(loaded);

    auto expected = settingsAsMap(saved);
    expected["szDownloadModules"] = Settings{}.szDownloadModules;  // read only: the installed value
    EXPECT_EQ(settingsAsMap(loaded), expected);
}

TEST_F(SettingsStore, AMissingKeyLeavesEveryFieldAndSavingDoesNotCreateIt) {
    deleteSettingsKey();
    const Settings before = distinctSettings();
    Settings loaded = before;
    loadSettings(loaded);
    EXPECT_EQ(settingsAsMap(loaded), settingsAsMap(before));

    EXPECT_EQ(saveSettings(before), SettingsSave::NoKey);
    HKEY key;
    EXPECT_NE(RegOpenKeyA(HKEY_LOCAL_MACHINE, settingsKeyPath, &key), ERROR_SUCCESS);
}

TEST_F(SettingsStore, AMissingValueLeavesItsFieldAsItWas) {
    deleteSettingsValue("UndoBinSize");
    deleteSettingsValue("szIgnorePaths");
    Settings loaded;
    loaded.UndoBinSize = 1234;
    setFieldText(loaded.szIgnorePaths, "C:\\kept");
    loadSettings(loaded);
    EXPECT_EQ(loaded.UndoBinSize, 1234u);
    EXPECT_STREQ(loaded.szIgnorePaths, "C:\\kept");
    EXPECT_STREQ(loaded.szIgnoreTemp, "TMP");  // the others are read
}

TEST_F(SettingsStore, ATextTooLongForItsFieldIsLeftOutAndAFullFieldIsTerminated) {
    std::string tooLong(300, 'x');
    writeRawValue("UndoBinPath", REG_SZ, tooLong.c_str(), DWORD(tooLong.size() + 1));
    std::string unterminated(260, 'y');  // fills the field with no NUL
    writeRawValue("szFileExts", REG_BINARY, unterminated.data(), DWORD(unterminated.size()));

    Settings loaded;
    setFieldText(loaded.UndoBinPath, "C:\\Before");
    loadSettings(loaded);
    EXPECT_STREQ(loaded.UndoBinPath, "C:\\Before");
    EXPECT_EQ(std::string(loaded.szFileExts), std::string(259, 'y'));
}

TEST_F(SettingsStore, APendingBinMoveTakesTheNewFolderAndClearsIt) {
    Settings settings;
    setFieldText(settings.UndoBinPathNew, "D:\\New Bin");
    saveSettings(settings);

    applyPendingBinMove();

    Settings loaded;
    loadSettings(loaded);
    EXPECT_STREQ(loaded.UndoBinPath, "D:\\New Bin");
    EXPECT_STREQ(loaded.UndoBinPathNew, "");
}

TEST_F(SettingsStore, NoPendingBinMoveChangesNothingButStillSaves) {
    deleteSettingsValue("IgnoreNews");  // a save writes it back

    applyPendingBinMove();

    Settings loaded = distinctSettings();
    loadSettings(loaded);
    char defaultBin[MAX_PATH] = "";  // the installation's, as this user reads it
    ExpandEnvironmentStringsA(Settings{}.UndoBinPath, defaultBin, sizeof defaultBin);
    EXPECT_STREQ(loaded.UndoBinPath, defaultBin);
    EXPECT_STREQ(loaded.UndoBinPathNew, "");
    EXPECT_EQ(loaded.IgnoreNews, Settings{}.IgnoreNews);
}

TEST_F(SettingsStore, TheBinFoldersAreReadExpandedAndSavedAsWrittenWhileTheyStandForTheSameFolder) {
    auto stored = [](const char* name) {
        char text[MAX_PATH] = "";
        DWORD size = sizeof text;
        RegGetValueA(HKEY_LOCAL_MACHINE, settingsKeyPath, name, RRF_RT_REG_SZ, nullptr, text, &size);
        return std::string(text);
    };
    SetEnvironmentVariableA("RETRACE_TEST_PROFILE", "C:\\Users\\Ann");
    const char written[] = "%RETRACE_TEST_PROFILE%\\Undo Bin";
    writeRawValue("UndoBinPath", REG_SZ, written, sizeof written);
    writeRawValue("UndoBinPathNew", REG_SZ, written, sizeof written);

    Settings loaded;
    loadSettings(loaded);
    EXPECT_STREQ(loaded.UndoBinPath, "C:\\Users\\Ann\\Undo Bin");
    EXPECT_STREQ(loaded.UndoBinPathNew, "C:\\Users\\Ann\\Undo Bin");
    saveSettings(loaded);
    EXPECT_EQ(stored("UndoBinPath"), written);

    applyPendingBinMove();  // the folder it stood for, as written
    EXPECT_EQ(stored("UndoBinPath"), written);
    EXPECT_EQ(stored("UndoBinPathNew"), "");

    setFieldText(loaded.UndoBinPath, "D:\\Chosen Bin");  // as the Options sheet stores a folder
    saveSettings(loaded);
    EXPECT_EQ(stored("UndoBinPath"), "D:\\Chosen Bin");

    SetEnvironmentVariableA("RETRACE_TEST_PROFILE", "C:\\Users\\Ben");  // another person reads their own
    writeRawValue("UndoBinPath", REG_SZ, written, sizeof written);
    loadSettings(loaded);
    EXPECT_STREQ(loaded.UndoBinPath, "C:\\Users\\Ben\\Undo Bin");
    SetEnvironmentVariableA("RETRACE_TEST_PROFILE", nullptr);
}
