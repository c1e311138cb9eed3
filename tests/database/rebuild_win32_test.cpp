// The rebuild against a real Undo Bin: what reaches the disk when its writes fail.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "database/action_list.h"
#include "database/action_list_file_win32.h"
#include "database/rebuild_win32.h"
#include "monitor/file_report.h"
#include "monitor/registry_report.h"
#include "tests/support/faulty_disk_win32.h"
#include "tests/support/scratch_folder_win32.h"
#include "tests/support/settings_key_win32.h"

namespace {

FileReportEntry created(const std::string& path) {
    FileReportEntry entry;
    std::strcpy(entry.programName, "NOTEPAD");
    entry.kind = kindCreate;
    entry.path = path;
    return entry;
}

size_t recordsOnDisk(const std::string& list) {
    ParsedActionList parsed = parseActionList(contentOf(list));
    return parsed.damaged ? 0 : parsed.records.size();
}

}  // namespace

TEST(Rebuild, AWriteStruckAtAnyCallNeverLosesAReportsRecordNorTakesItInTwice) {
    ScratchFolder bin("Retrace Rebuild Bin");
    const std::string list = bin / "actionlist.000";
    const std::string fileReport = bin / "filereport.000";
    const std::string registryReport = bin / "regreport.000";
    RegistryReportEntry value;
    value.kind = 11;
    value.registryPath = "HKCU\\Software\\Acme\\Font";
    runFaultMatrix(
        "rebuilding: saving the list, then deleting the reports",
        [&] {
            installDefaultSettingsKey();
            useUndoBin(bin.path());
            putFile(list, serializeActionList({ActionRecord{}, ActionRecord{}}));
            ASSERT_EQ(loadActionList(), ActionListLoad::Loaded);
            putFile(fileReport, serializeFileReportEntry(created("c:\\a.txt")) +
                                    serializeFileReportEntry(created("c:\\b.txt")));
            putFile(registryReport, serializeRegistryReportEntry(value));
        },
        [] { rebuildActions(); },
        [&] {
            // Either the list holds the reports' records, or the reports are still there.
            size_t records = recordsOnDisk(list);
            EXPECT_TRUE(records == 5 || (records == 2 && exists(fileReport) && exists(registryReport))) << records;
            // The program runs on: the next rebuild settles what this one could not.
            rebuildActions();
            EXPECT_EQ(recordsOnDisk(list), 5u);
            EXPECT_FALSE(exists(fileReport));
            EXPECT_FALSE(exists(registryReport));
        },
        {Fault::Cut, Fault::DiskFull, Fault::FailOne, Fault::LieOne});
    actionList.clear();
    installDefaultSettingsKey();
}
