#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "database/action_list.h"
#include "database/derive_flags.h"
#include "record_builder.h"

namespace {
const DerivedFlagInputs inputs{{"DOC", "", "txt"}, "IEXPLORE|Netscape"};

ActionRecord derived(ActionRecord record, const DerivedFlagInputs& with = inputs) {
    std::vector<ActionRecord> records{std::move(record)};
    deriveFlags(records, with);
    return records[0];
}
}  // namespace

TEST(IsSettingsFileChange, SortsModifiesOfSettingsFilesIntoTheirClasses) {
    using enum SettingsFileClass;
    struct { const char* path; int32_t kind; SettingsFileClass result; } cases[] = {
        {"c:\\windows\\win.ini", kindModify, profile},
        {"C:\\WINDOWS\\SYSTEM.INI", kindModify, profile},
        {"c:\\msdos.sys", kindModify, profile},
        {"c:\\config.sys", kindModify, wholeFile},
        {"C:\\AUTOEXEC.BAT", kindModify, wholeFile},
        {"c:\\windows\\win.ini", kindCreate, none},
        {"c:\\config.sys", kindCreate, none},
        {"win.ini", kindModify, none},               // no backslash
        {"c:\\windows\\msdos", kindModify, none},     // no dot
        {"c:\\my.ini\\readme", kindModify, none},     // the dot is in the folder
        {"c:\\docs\\old.config.sys", kindModify, none},
        {"c:\\docs\\notes.ini.txt", kindModify, none},
        {"", kindModify, none},
    };
    for (auto& c : cases) EXPECT_EQ(isSettingsFileChange(c.path, c.kind), c.result) << c.path;
}

TEST(HasDataExtension, MatchesTheTextAfterTheLastDotAgainstTheNonEmptyExtensions) {
    DataExtensionSet extensions(inputs.dataFileExtensions);
    struct { const char* path; bool result; } cases[] = {
        {"c:\\docs\\a.doc", true},   {"C:\\DOCS\\A.TXT", true},     {"c:\\docs\\a.Doc", true},
        {"c:\\docs\\a.docx", false}, {"c:\\docs\\a.doc.bak", false}, {"c:\\docs\\readme", false},
        {"c:\\docs\\a.", false},     {"", false},                    {"c:\\my.doc\\readme", false},
        {"doc", false},              {".doc", true},
    };
    for (auto& c : cases) EXPECT_EQ(hasDataExtension(c.path, extensions), c.result) << c.path;
}

TEST(DeriveFlags, MarksAModifyOfWinIniAsAProfileSetting) {
    ActionRecord record = derived(RecordBuilder("notepad", 5, kindModify).paths("c:\\windows\\win.ini"));
    EXPECT_EQ(record.isSetting(), 2);  // a settings file, and no data extension
    EXPECT_EQ(record.isIniFile(), 1);
}

TEST(DeriveFlags, MarksAModifyOfConfigSysAsAWholeFileSetting) {
    ActionRecord record = derived(RecordBuilder("notepad", 5, kindModify).paths("c:\\config.sys"));
    EXPECT_EQ(record.isSetting(), 2);
    EXPECT_EQ(record.isIniFile(), 0);
}

TEST(DeriveFlags, LetsOnlyTheExtensionDecideForACreateOfASettingsFile) {
    EXPECT_EQ(derived(RecordBuilder("notepad", 5, kindCreate).paths("c:\\config.sys")).isSetting(), 1);
    DerivedFlagInputs sysIsData{{"SYS"}, ""};
    EXPECT_EQ(derived(RecordBuilder("notepad", 5, kindCreate).paths("c:\\config.sys"), sysIsData).isSetting(), 0);
    EXPECT_EQ(derived(RecordBuilder("notepad", 5, kindModify).paths("c:\\config.sys"), sysIsData).isSetting(), 1);
}

TEST(DeriveFlags, CountsAPathWithoutAnExtensionAsASetting) {
    EXPECT_NE(derived(RecordBuilder("explorer", 5, kindDelete).paths("c:\\docs\\readme")).isSetting(), 0);
    EXPECT_EQ(derived(RecordBuilder("explorer", 5, kindDelete).paths("c:\\docs\\readme.txt")).isSetting(), 0);
}

TEST(DeriveFlags, GivesARegistryChangeByTheControlPanelTwo) {
    ActionRecord record = derived(RecordBuilder("cpl", 5, 10).paths("\1", "\2"));
    EXPECT_EQ(record.isSetting(), 2);
    EXPECT_EQ(record.isControlPanel(), 1);
    EXPECT_EQ(derived(RecordBuilder("regedit", 5, 12)).isSetting(), 1);
    // A Control Panel file record: the name, the missing extension.
    EXPECT_EQ(derived(RecordBuilder("CPL", 5, kindModify).paths("c:\\windows\\control.ini")).isSetting(), 3);
}

TEST(DeriveFlags, NamesTheShellTheControlPanelAndBootMarkers) {
    struct { const char* name; int32_t kind; int explorer, controlPanel, bootMarker; } cases[] = {
        {"explorer", kindCreate, 1, 0, 0}, {"EXPLORER", kindCreate, 1, 0, 0}, {"myexplor", kindCreate, 0, 0, 0},
        {"xexplore", kindCreate, 0, 0, 0}, {"cpl", kindCreate, 0, 1, 0},      {"cplx", kindCreate, 0, 0, 0},
        {"", kindBootMarker, 0, 0, 1},
    };
    for (auto& c : cases) {
        ActionRecord record = derived(RecordBuilder(c.name, 5, c.kind).paths("c:\\a.doc"));
        EXPECT_EQ(record.isExplorer(), c.explorer) << c.name;
        EXPECT_EQ(record.isControlPanel(), c.controlPanel) << c.name;
        EXPECT_EQ(record.isBootMarker(), c.bootMarker) << c.name;
    }
    ActionRecord explorer9{};
    std::memcpy(explorer9.programName, "xexplorer", 9);  // a name that fills the field
    EXPECT_EQ(derived(explorer9).isExplorer(), 1);
}

TEST(DeriveFlags, MarksCreatesByEitherDownloadProgramInAnyCase) {
    struct { const char* name; int32_t kind; const char* modules; int download; } cases[] = {
        {"iexplore", kindCreate, "IEXPLORE|Netscape", 1}, {"NETSCAPE", kindCreate, "IEXPLORE|Netscape", 1},
        {"netscap", kindCreate, "IEXPLORE|Netscape", 0},  {"iexplore", kindModify, "IEXPLORE|Netscape", 0},
        {"iexplore", kindCopy, "IEXPLORE|Netscape", 0},   {"iexplore", kindCreate, "", 0},
        {"", kindCreate, "IEXPLORE||", 0},
    };
    for (auto& c : cases) {
        DerivedFlagInputs with{{}, c.modules};
        EXPECT_EQ(derived(RecordBuilder(c.name, 5, c.kind).paths("c:\\a.zip"), with).isDownload(), c.download)
            << c.name << ' ' << c.modules;
    }
    ActionRecord fromRegistry = RecordBuilder("iexplore", 5, kindCreate);
    fromRegistry.source = sourceRegistryReport;
    EXPECT_EQ(derived(fromRegistry).isDownload(), 0);
}

TEST(DeriveFlags, RecomputesEverySlotButNeverClearsIsIniFile) {
    ActionRecord stale = RecordBuilder("notepad", 5, kindCreate).paths("c:\\a.doc");
    for (auto set : {&ActionRecord::setIsSetting, &ActionRecord::setIsControlPanel, &ActionRecord::setIsExplorer,
                     &ActionRecord::setIsBootMarker, &ActionRecord::setIsDownload})
        (stale.*set)(7);
    stale.setIsIniFile(1);
    ActionRecord record = derived(stale);
    EXPECT_EQ(record.isSetting() + record.isControlPanel() + record.isExplorer() + record.isBootMarker() + record.isDownload(),
              0);
    EXPECT_EQ(record.isIniFile(), 1);
}

TEST(DeriveFlags, RetiresARecycleThatALaterDeleteOfTheSamePathSupersedes) {
    std::vector<ActionRecord> records{
        RecordBuilder("explorer", 5, kindRecycle).paths("c:\\docs\\a.doc"),
        RecordBuilder("explorer", 5, kindRecycle).paths("c:\\docs\\b.doc"),
        RecordBuilder("explorer", 5, kindDelete).paths("c:\\docs\\c.doc"),
        RecordBuilder("explorer", 5, kindRecycle).paths("c:\\docs\\c.doc"),  // deleted before, not after
        RecordBuilder("explorer", 5, kindRecycle).paths("c:\\docs\\d.doc").undone(),
        RecordBuilder("explorer", 6, kindDelete).paths("C:\\DOCS\\A.DOC"),
        RecordBuilder("explorer", 6, kindDelete).paths("c:\\docs\\d.doc"),
        RecordBuilder("explorer", 6, kindModify).paths("c:\\docs\\b.doc"),
    };
    LastDeleteIndex lastDeletes = indexLastDeletes(records);
    std::vector<int32_t> superseded;
    for (size_t j = 0; j < records.size(); ++j) superseded.push_back(isSupersededRecycle(records, j, lastDeletes));
    EXPECT_EQ(superseded, (std::vector<int32_t>{1, 0, 0, 0, 1, 0, 0, 0}));

    deriveFlags(records, inputs);
    EXPECT_EQ(records[0].undone(), 1);
    EXPECT_EQ(records[1].undone(), 0);
    EXPECT_EQ(records[3].undone(), 0);
    EXPECT_EQ(records[4].undone(), 2);
    deriveFlags(records, inputs);  // each rebuild adds its count again
    EXPECT_EQ(records[0].undone(), 2);
}

namespace {
// A random record over a few paths, so Recycles, Deletes of the same files
// in any case, settings files and downloads all come up.
ActionRecord randomRecord(std::mt19937& random) {
    static const char* const programs[] = {"NOTEPAD", "explorer", "CPL", "IEXPLORE", "netscape"};
    static const char* const paths[] = {"c:\\docs\\a.doc", "C:\\DOCS\\A.DOC", "c:\\docs\\b.txt", "c:\\win.ini",
                                        "c:\\config.sys", "c:\\docs\\plain"};
    static const int32_t kinds[] = {kindCreate, kindDelete,     kindModify,           kindRecycle,
                                    kindRecycle, kindBootMarker, kindRegistryFirst, kindCopy};
    RecordBuilder builder(programs[random() % 5], int32_t(random() % 3), kinds[random() % 8]);
    builder.paths(paths[random() % 6]).at(int(random() % 24), int(random() % 60));
    return builder;
}
}  // namespace

// A history grows by a few records at a time, is sometimes undone in part or
// cut at its front, and now and then the inputs change; after every step the
// deriver leaves the records as deriveFlags over the whole list does.
TEST(FlagDeriver, LeavesAGrowingHistoryAsDerivingItWholeAtEveryRebuildDoes) {
    const DerivedFlagInputs otherInputs{{"TXT"}, "NOTEPAD"};
    for (unsigned seed = 1; seed <= 200; ++seed) {
        std::mt19937 random(seed);
        std::vector<ActionRecord> whole, grown;
        FlagDeriver deriver;
        const DerivedFlagInputs* current = &inputs;
        for (int step = 0; step < 12; ++step) {
            for (unsigned count = random() % 6; count > 0; --count) {
                ActionRecord record = randomRecord(random);
                whole.push_back(record);
                grown.push_back(record);
            }
            if (!whole.empty() && random() % 4 == 0) {
                size_t undone = random() % whole.size();
                whole[undone].setUndone(1);
                grown[undone].setUndone(1);
            }
            if (random() % 8 == 0) current = current == &inputs ? &otherInputs : &inputs;
            deriveFlags(whole, *current);
            deriver.derive(grown, *current);
            if (whole.size() > 1 && random() % 6 == 0) {
                size_t dropped = 1 + random() % (whole.size() - 1);
                whole.erase(whole.begin(), whole.begin() + ptrdiff_t(dropped));
                grown.erase(grown.begin(), grown.begin() + ptrdiff_t(dropped));
                deriver.droppedFront(grown, dropped);
            }
            ASSERT_EQ(serializeActionList(grown), serializeActionList(whole)) << "seed " << seed << " step " << step;
        }
    }
}

TEST(FlagDeriver, DerivesAListReplacedWholesaleAfresh) {
    FlagDeriver deriver;
    std::vector<ActionRecord> first{RecordBuilder("NOTEPAD", 1, kindRecycle).paths("c:\\a.doc"),
                                    RecordBuilder("NOTEPAD", 1, kindDelete).paths("c:\\a.doc")};
    deriver.derive(first, inputs);
    std::vector<ActionRecord> loaded{RecordBuilder("CPL", 2, kindCreate).paths("c:\\b.txt"),
                                     RecordBuilder("CPL", 2, kindCreate).paths("c:\\c.txt"),
                                     RecordBuilder("explorer", 3, kindCopy).paths("c:\\d.doc")};
    std::vector<ActionRecord> expected = loaded;
    deriveFlags(expected, inputs);
    deriver.derive(loaded, inputs);
    EXPECT_EQ(serializeActionList(loaded), serializeActionList(expected));
}
