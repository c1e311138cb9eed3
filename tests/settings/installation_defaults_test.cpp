// The installation writes the settings key from res/install/defaults.reg; a
// record the program fills from a key with values missing falls back to the
// record's own defaults. The two must never drift apart.

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "base/text.h"
#include "settings/settings.h"

namespace {

// Values of a REGEDIT4 file: name to the text after "=" with string escapes undone.
std::map<std::string, std::string> readRegValues(const std::string& path) {
    std::ifstream file(path);
    std::map<std::string, std::string> values;
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() < 2 || line[0] != '"') continue;
        size_t nameEnd = line.find("\"=");
        std::string value = line.substr(nameEnd + 2);
        if (value.front() == '"') {
            std::string unescaped;
            for (size_t i = 1; i + 1 < value.size(); ++i) {
                if (value[i] == '\\') ++i;
                unescaped += value[i];
            }
            value = unescaped;
        }
        values[line.substr(1, nameEnd - 1)] = value;
    }
    return values;
}

struct DefaultsChecker {
    std::map<std::string, std::string>& values;

    void number(const char* name, const uint32_t& field) {
        char expected[32];
        std::snprintf(expected, sizeof expected, "dword:%08x", unsigned(field));
        EXPECT_EQ(values[name], expected) << name;
        values.erase(name);
    }
    void text(const char* name, std::span<const char> field, SettingsAccess) {
        EXPECT_EQ(values[name], fieldText(field)) << name;
        values.erase(name);
    }
};

}  // namespace

TEST(InstallationDefaults, TheRegFileHoldsEveryValueOfTheRecordWithItsDefault) {
    auto values = readRegValues(RETRACE_SOURCE_DIR "/res/install/defaults.reg");
    ASSERT_FALSE(values.empty());
    const Settings defaults;
    visitSettingsFields(defaults, DefaultsChecker{values});
    EXPECT_TRUE(values.empty()) << "values the record does not know: " << values.begin()->first;
}

TEST(InstallationDefaults, AreUsableAsTheyStand) {
    const Settings defaults;
    EXPECT_TRUE(defaults.EnableDriver);
    EXPECT_GE(defaults.UndoMenuSize, 1u);
    EXPECT_LE(defaults.UndoMenuSize, 10u);
    EXPECT_GE(defaults.UndoBinSize, 1000000u);
    EXPECT_TRUE(defaults.LargeFileSize == 0 || defaults.LargeFileSize >= 250000);
    EXPECT_STRNE(defaults.UndoBinPath, "");
    EXPECT_STREQ(defaults.UndoBinPathNew, "");
}
