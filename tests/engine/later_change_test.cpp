#include "engine/later_change.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/database/record_builder.h"

namespace {

const char* const kWinIni = "c:\\windows\\win.ini";

ActionRecord iniChange(const char* program, std::string path, std::string savedCopy) {
    ActionRecord record = RecordBuilder(program, 12, kindModify).paths(std::move(path));
    record.dataC = std::move(savedCopy);
    record.setIsIniFile(1);
    return record;
}

ActionRecord explorerChange(std::string path) {
    ActionRecord record = iniChange("explorer", std::move(path), "c:\\bin\\e.000");
    record.setIsExplorer(1);
    return record;
}

}  // namespace

TEST(LaterChangeOf, TakesTheFirstLaterRecordOfTheSameFileWithoutRegardToCase) {
    std::vector<ActionRecord> records{
        iniChange("writer", kWinIni, "c:\\bin\\0.000"),
        iniChange("writer", "c:\\windows\\system.ini", "c:\\bin\\1.000"),
        iniChange("sheet", "C:\\WINDOWS\\WIN.INI", "c:\\bin\\2.000"),
        iniChange("writer", kWinIni, "c:\\bin\\3.000"),
    };
    EXPECT_EQ(laterChangeOf(records, 0), 2u);
    EXPECT_EQ(laterChangeOf(records, 2), 3u);
    EXPECT_EQ(laterChangeOf(records, 1), std::nullopt);
    EXPECT_EQ(laterChangeOf(records, 3), std::nullopt);
}

TEST(LaterChangeOf, PassesOverExplorerAndMsgsrv32ButCountsUndoneRecords) {
    std::vector<ActionRecord> records{
        iniChange("writer", kWinIni, "c:\\bin\\0.000"), iniChange("msgsrv32", kWinIni, "c:\\bin\\1.000"),
        iniChange("MSGSRV32", kWinIni, "c:\\bin\\2.000"), explorerChange(kWinIni),
        iniChange("writer", kWinIni, "c:\\bin\\4.000"),
    };
    EXPECT_EQ(laterChangeOf(records, 0), 4u);
    records[4].setUndone(1);
    EXPECT_EQ(laterChangeOf(records, 0), 4u);
    records[4].setIsExplorer(1);
    EXPECT_EQ(laterChangeOf(records, 0), std::nullopt);
}

TEST(LaterChangeOf, PassesOverRegistryRecordsWhoseDataSpellsThePath) {
    ActionRecord registry = RecordBuilder("writer", 12, 10);
    registry.dataA = kWinIni;
    registry.sizeA = int32_t(registry.dataA.size());
    registry.dataC = "hkcu\\software\\acme\\last";
    std::vector<ActionRecord> records{iniChange("writer", kWinIni, "c:\\bin\\0.000"), registry};
    EXPECT_EQ(laterChangeOf(records, 0), std::nullopt);
}

TEST(LaterChangeOf, FindsNothingForAnIndexOutsideTheList) {
    std::vector<ActionRecord> records{iniChange("writer", kWinIni, "c:\\bin\\0.000")};
    EXPECT_EQ(laterChangeOf(records, 1), std::nullopt);
    EXPECT_EQ(laterChangeOf({}, 0), std::nullopt);
}
