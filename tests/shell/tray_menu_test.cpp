
#include <algorithm>

#include <gtest/gtest.h>

#include "res/resource.h"
#include "shell/tray_menu.h"

namespace {

const auto nothingIsAFolder = [](const std::string&) { return false; };

ActionRecord record(const char* program, int32_t kind, const char* path, bool explorer = false) {
    ActionRecord r;
    std::snprintf(r.programName, sizeof r.programName, "%s", program);
    r.kind = kind;
    r.dataA = path;
    r.setIsExplorer(explorer);
    return r;
}

using Type = TrayMenuItem::Type;

// The menu as one line per item: texts, identifiers, greyed marks and submenus.
std::string describe(const std::vector<TrayMenuItem>& items) {
    std::string text;
    for (const TrayMenuItem& item : items) {
        switch (item.type) {
        case Type::Banner: text += "[banner]"; break;
        case Type::Separator: text += "---"; break;
        case Type::Command: text += item.text + "=" + std::to_string(item.id) + (item.greyed ? "(grey)" : ""); break;
        case Type::Submenu: text += item.text + "{" + describe(item.items) + "}"; break;
        }
        text += ";";
    }
    return text;
}

TrayMenuInputs withEntries(int programs, int files, uint32_t menuSize) {
    TrayMenuInputs inputs;
    inputs.actionCount = 99;
    inputs.menuSize = menuSize;
    for (int i = 0; i < programs; ++i) inputs.programLabels.push_back("P" + std::to_string(i));
    for (int i = 0; i < files; ++i) inputs.fileLabels.push_back("F" + std::to_string(i));
    return inputs;
}

}  // namespace

TEST(MenuVerbs, ExplorerReplacesAndCodesOutsideTheTablesGiveNothing) {
    EXPECT_EQ(programVerb(kindModify), "Modify");
    EXPECT_EQ(explorerVerb(kindModify), "Replace");
    EXPECT_EQ(programVerb(kindRecycle), "Delete");
    EXPECT_EQ(explorerVerb(kindMove), "Move");
    for (int32_t code : {0, 6, 9, 10, 14, -1, INT32_MIN, INT32_MAX}) {
        EXPECT_EQ(programVerb(code), "") << code;
        EXPECT_EQ(explorerVerb(code), "") << code;
    }
}

TEST(AbbreviatePath, KeepsShortTextsAndShortensLongOnesAroundTheLastPart) {
    struct { const char* text; const char* expected; } cases[] = {
        {"C:\\Program Files\\Acme\\readme.txt", "C:\\...\\readme.txt"},
        {"C:\\Docs\\readme.txt", "C:\\Docs\\readme.txt"},           // 18 characters
        {"C:\\Docs\\abcdefghij.t", "C:\\Docs\\abcdefghij.t"},       // exactly 20
        {"C:\\Docs\\abcdefghijk.t", "C:\\...\\abcdefghijk.t"},      // 21
        {"C:\\A\\a very long file name indeed.txt", "C:\\...\\a very long file name indeed.txt"},
        {"no backslash in this long text", "no backslash in this..."},
        {"", ""},
    };
    for (auto& c : cases) EXPECT_EQ(abbreviatePath(c.text, 20), c.expected) << c.text;
}

TEST(FileEntryLabel, NamesTheProgramAndItsVerbOrExplorersVerbAndCount) {
    std::vector<ActionRecord> records{
        record("NOTEPAD", kindModify, "C:\\Program Files\\Acme\\readme.txt"),
        record("explorer", kindModify, "C:\\Program Files\\Acme\\readme.txt", true),
        record("explorer", kindDelete, "C:\\Users\\Ann\\AppData\\Local\\Temp\\a.tmp", true),
        record("explorer", kindDelete, "C:\\Users\\Ann\\AppData\\Local\\Temp\\b.tmp", true),
        record("explorer", kindDelete, "C:\\Users\\Ann\\AppData\\Local\\Temp\\c.tmp", true),
    };
    EXPECT_EQ(fileEntryLabel({{0}}, records, nothingIsAFolder), "Notepad modify of C:\\...\\readme.txt");
    EXPECT_EQ(fileEntryLabel({{1}}, records, nothingIsAFolder), "Replace of C:\\...\\readme.txt");
    EXPECT_EQ(fileEntryLabel({{2, 3, 4}}, records, nothingIsAFolder), "Delete {3} from C:\\...\\Temp");
}

TEST(ProgramEntryLabel, ShowsTheNameWithOnlyItsFirstLetterInUpperCase) {
    ProgramEntry entry;
    std::snprintf(entry.programName, sizeof entry.programName, "NOTEPAD");
    EXPECT_EQ(programEntryLabel(entry), "Notepad");
    EXPECT_EQ(appletEntryLabel("C:\\WINDOWS\\SYSTEM\\DESK.CPL"), "Desk.cpl");
}

TEST(RedoLabel, KeepsTheStoredCaseOfTheNameAndCountsSeveralRecords) {
    ActionRecord first = record("NOTEPAD", kindDelete, "C:\\Docs\\Letters\\a.txt");
    EXPECT_EQ(redoLabel(first, 1, nothingIsAFolder), "NOTEPAD Delete of C:\\...\\a.txt");
    EXPECT_EQ(redoLabel(first, 3, nothingIsAFolder), "NOTEPAD Deletes (3) from C:\\Docs\\Letters");
}

TEST(TrayMenuLayout, WithoutRecordsOffersOnlyTheFixedCommands) {
    TrayMenuInputs inputs;
    EXPECT_EQ(describe(trayMenuLayout(inputs)), "[banner];Help...=1025;Options...=1026;---;Disable=1027;Unload=1136;");
    inputs.monitoring = false;
    EXPECT_EQ(describe(trayMenuLayout(inputs)), "[banner];Help...=1025;Options...=1026;---;Enable=1027;Unload=1136;");
}

TEST(TrayMenuLayout, ListsTheNewestEntriesFirstWithTheirIdentifiersAndMore) {
    TrayMenuInputs inputs = withEntries(2, 7, 5);
    EXPECT_EQ(describe(trayMenuLayout(inputs)),
              "[banner];---;"
              "Undo Programs{P1=1030;P0=1031;---;More...=1040;};"
              "Undo Files{F6=1041;F5=1042;F4=1043;F3=1044;F2=1045;---;More...=1051;};"
              "Undo Control Panel=1052(grey);"
              "---;Redo=1021(grey);---;Find...=1022;Start Over...=1023;Wizard...=1024;---;"
              "Help...=1025;Options...=1026;---;Disable=1027;Unload=1136;");
    inputs.appletLabels = {"Main.cpl", "Desk.cpl"};
    EXPECT_EQ(describe({trayMenuLayout(inputs)[4]}), "Undo Control Panel{Desk.cpl=1052;Main.cpl=1053;---;More...=1062;};");
}

TEST(TrayMenuLayout, AnEmptySectionIsAGreyedItemAndRedoNamesWhatItRedoes) {
    TrayMenuInputs inputs = withEntries(0, 1, 5);
    inputs.redo = "NOTEPAD Delete of C:\\a.txt";
    auto menu = trayMenuLayout(inputs);
    EXPECT_EQ(describe({menu[2]}), "Undo Programs=1030(grey);");
    EXPECT_EQ(describe({menu[3]}), "Undo Files{F0=1041;---;More...=1051;};");
    EXPECT_EQ(describe({menu[6]}), "Redo NOTEPAD Delete of C:\\a.txt=1021;");
}

TEST(TrayMenuLayout, AMenuSizeOfZeroLeavesMoreAndOneAboveTenStaysWithinTheIdentifiers) {
    EXPECT_EQ(describe({trayMenuLayout(withEntries(3, 0, 0))[2]}), "Undo Programs{---;More...=1040;};");
    auto large = trayMenuLayout(withEntries(15, 15, 40));
    EXPECT_EQ(large[2].items.size(), 12u);  // ten entries, a separator, More...
    EXPECT_EQ(large[2].items[9].id, unsigned(IDM_PROGRAM_LAST));
    EXPECT_EQ(large[2].items[11].id, unsigned(IDM_PROGRAM_MORE));
    EXPECT_EQ(large[3].items[9].id, unsigned(IDM_FILE_LAST));
}

TEST(TrayMenuLayout, TheNewestTenLabelsGiveTheMenuThatAllOfThemGive) {
    for (uint32_t menuSize : {0u, 1u, 5u, 10u, 11u})
        for (size_t entries : {1, 9, 10, 11, 500}) {
            TrayMenuInputs all;
            all.actionCount = 99;
            all.menuSize = menuSize;
            for (size_t i = 0; i < entries; ++i) all.programLabels.push_back(std::to_string(i));
            all.fileLabels = all.programLabels;
            TrayMenuInputs newest = all;
            for (auto* labels : {&newest.programLabels, &newest.fileLabels})
                labels->erase(labels->begin(), labels->end() - std::min<ptrdiff_t>(ptrdiff_t(labels->size()),
                                                                                      ptrdiff_t(entriesPerSection)));
            EXPECT_EQ(describe(trayMenuLayout(newest)), describe(trayMenuLayout(all))) << menuSize << " " << entries;
        }
}

TEST(TrayMenuLayout, LabelsShowAmpersandsAsTheyAreAndTooLongOnesAreCut) {
    TrayMenuInputs inputs = withEntries(0, 0, 5);
    inputs.fileLabels = {"Notepad modify of C:\\...\\Tom & Jerry.txt", std::string(300, 'x')};
    auto files = trayMenuLayout(inputs)[3].items;
    EXPECT_EQ(files[0].text.size(), longestMenuLabel);
    EXPECT_EQ(files[0].text.substr(longestMenuLabel - 3), "...");
    EXPECT_EQ(files[1].text, "Notepad modify of C:\\...\\Tom && Jerry.txt");
}

TEST(TrayMenu, AnEntryCommandNamesTheNewestEntriesFirstAndNothingBeyondTheCollection) {
    struct {
        unsigned identifier;
        size_t count;
        int expected;
    } cases[] = {{1030, 3, 2}, {1032, 3, 0}, {1033, 3, -1}, {1029, 3, -1}, {1041, 0, -1}, {1039, 12, 2}};
    for (const auto& c : cases)
        EXPECT_EQ(entryIndexOfCommand(c.identifier, c.identifier >= 1041 ? 1041 : 1030, c.count), c.expected)
            << c.identifier << " of " << c.count;
}
