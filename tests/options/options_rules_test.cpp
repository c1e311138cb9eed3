// What the Options pages make of what the user typed.

#include <gtest/gtest.h>

#include "base/text.h"
#include "options/options_rules.h"

TEST(OptionsRules, TypedNumbersAreBroughtIntoTheirBoundsAndNeverWrap) {
    struct {
        const char* typed;
        uint32_t menuSize;
        uint32_t binSize;
        std::optional<uint32_t> largeFileSize;
    } cases[] = {
        {"0", 1, 1000000, std::nullopt},
        {"25", 10, 25000000, std::nullopt},
        {" 7 ", 7, 7000000, std::nullopt},
        {"abc", 1, 1000000, std::nullopt},
        {"", 1, 1000000, std::nullopt},
        {"-5", 1, 1000000, std::nullopt},
        {"249", 10, 249000000, std::nullopt},
        {"250", 10, 250000000, 250000},
        {"4294", 10, 4294000000u, 4294000},
        // 4,295 Mbytes would wrap to 32,704 bytes.
        {"4295", 10, 4294000000u, 4295000},
        {"4294967", 10, 4294000000u, 4294967000u},
        {"4294968", 10, 4294000000u, 4294967000u},
        {"99999999999999999999999", 10, 4294000000u, 4294967000u},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(menuSizeFromTyped(c.typed), c.menuSize) << c.typed;
        EXPECT_EQ(binSizeFromTyped(c.typed), c.binSize) << c.typed;
        EXPECT_EQ(largeFileSizeFromTyped(c.typed), c.largeFileSize) << c.typed;
    }
}

TEST(OptionsRules, TheCustomListIsCutAtCommasAndSpacesAndShownWithCommas) {
    struct {
        const char* typed;
        const char* stored;
    } cases[] = {
        {"bal, ppt,dbf", "bal|ppt|dbf"},
        {" ,, bal ,,", "bal"},
        {"", ""},
        {"a b\tc", "a|b|c"},
    };
    for (const auto& c : cases) EXPECT_EQ(customListFromTyped(c.typed), c.stored) << c.typed;
    EXPECT_EQ(customListForShow("bal|ppt|dbf"), "bal,ppt,dbf");
}

TEST(OptionsRules, AJoinedListIsRefusedWhenItDoesNotFitItsFieldWithTheTerminator) {
    const std::vector<std::string> items{"abc", "de"};
    EXPECT_EQ(joinListFor(items, 7), "abc|de");
    EXPECT_EQ(joinListFor(items, 6), std::nullopt);
    EXPECT_EQ(joinListFor({}, 1), "");
}

TEST(OptionsRules, TheFileListStoresRemovedRegisteredTypesAndAddedUnregisteredOnes) {
    const std::vector<std::string> registered{"TXT", "", "DOC", "EXE", "BMP"};
    struct {
        std::vector<std::string> listed;
        std::vector<std::string> settingExts;
        std::vector<std::string> fileExts;
    } cases[] = {
        {{"bmp", "doc", "txt"}, {}, {}},
        {{"bmp", "doc"}, {"TXT"}, {}},
        {{"ABC", "bmp", "doc", "txt"}, {}, {"ABC"}},
        // A type also in szPermaDelExts is never listed, so never removed.
        {{}, {"TXT", "DOC", "BMP"}, {}},
    };
    for (const auto& c : cases) {
        FileListChoice choice = fileListChoice(registered, "EXE|DLL", c.listed);
        EXPECT_EQ(choice.settingExts, c.settingExts);
        EXPECT_EQ(choice.fileExts, c.fileExts);
    }
}

TEST(OptionsRules, OnlyANewOrEmptyFolderOrAnUndoBinBecomesTheUndoBin) {
    Settings plain;
    setFieldText(plain.UndoBinPath, "C:\\Retrace\\Undo Bin");
    Settings moving = plain;
    setFieldText(moving.UndoBinPathNew, "D:\\Bin");
    const FolderState fresh{}, full{true, false}, bin{true, true};
    struct {
        const char* typed;
        const Settings& settings;
        FolderState state;
        BinFolderChoice choice;
    } cases[] = {
        {"c:\\retrace\\UNDO BIN", plain, full, BinFolderChoice::Keep},
        {"c:\\retrace\\undo bin\\", plain, full, BinFolderChoice::Keep},
        {"", plain, fresh, BinFolderChoice::Keep},
        {"C:\\Retrace\\Undo Bin", moving, full, BinFolderChoice::CancelMove},
        {"D:\\New Bin", plain, fresh, BinFolderChoice::Move},
        {"D:\\Old Bin", plain, bin, BinFolderChoice::Move},
        {"C:\\My Documents", plain, full, BinFolderChoice::RefuseFull},
        {"C:\\", plain, fresh, BinFolderChoice::RefuseRoot},
        {"D:", plain, full, BinFolderChoice::RefuseRoot},
    };
    for (const auto& c : cases) EXPECT_EQ(chooseBinFolder(c.typed, c.settings, c.state), c.choice) << c.typed;
    EXPECT_EQ(binFolderRefusal(BinFolderChoice::Move, "D:\\Bin"), "");
    EXPECT_NE(binFolderRefusal(BinFolderChoice::RefuseFull, "C:\\My Documents").find("C:\\My Documents"),
              std::string::npos);
}

TEST(OptionsRules, InformationButtonsLinkTheThirdToFifthLinesWhenThereAreAny) {
    const std::vector<std::string_view> lines{"Retrace", "Undo for Windows", "https://home", "mailto:help"};
    EXPECT_EQ(informationLink(lines, 0), "https://home");
    EXPECT_EQ(informationLink(lines, 1), "mailto:help");
    EXPECT_EQ(informationLink(lines, 2), "");
    EXPECT_EQ(versionLine("1.1"), "Current Version 1.1");
}
