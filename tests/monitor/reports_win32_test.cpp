// The two report readers against real files in an Undo Bin of their own.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <fstream>
#include <future>

#include "base/text.h"
#include "database/merge_reports.h"
#include "monitor/reports_win32.h"
#include "settings/settings_store_win32.h"
#include "tests/support/settings_key_win32.h"
#include "tests/support/window_search_win32.h"

namespace {

std::string lowerCase(std::string text) {
    for (char& c : text) c = char(tolower(uint8_t(c)));
    return text;
}

void writeFile(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

// Runs `read` on a thread of its own and answers the "Error!" box it may
// show; the box's text, or "" when none came.
template <class Result>
std::string errorBoxShownBy(std::future<Result>& read) {
    std::string text;
    while (read.wait_for(std::chrono::milliseconds(25)) != std::future_status::ready)
        if (HWND box = FindWindowA("#32770", "Error!")) {
            // A box caught as it is made has no text yet: looked at again.
            text = messageBoxText(box);
            if (!text.empty()) PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
    return text;
}

class Reports : public testing::Test {
protected:
    void SetUp() override {
        installDefaultSettingsKey();
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        bin = std::string(temp) + "Retrace Reports Bin";
        CreateDirectoryA(bin.c_str(), nullptr);
        useBin(bin);
    }

    void TearDown() override {
        for (const char* name : {"\\filereport.000", "\\regreport.000", "\\Letter.DOC"})
            DeleteFileA((bin + name).c_str());
        RemoveDirectoryA(bin.c_str());
        installDefaultSettingsKey();
    }

    static void useBin(const std::string& folder) {
        Settings settings;
        loadSettings(settings);
        setFieldText(settings.UndoBinPath, folder);
        saveSettings(settings);
    }

    std::string bin;
};

FileReportEntry fileEntry(int32_t kind, const std::string& path, const char* program, uint32_t size = 0) {
    FileReportEntry e;
    e.kind = kind;
    e.path = path;
    std::strncpy(e.programName, program, 8);
    e.programPath = "C:\\Windows\\" + std::string(program) + ".exe";
    e.size = size;
    return e;
}

}  // namespace

TEST_F(Reports, ThePathsFollowTheUndoBinFolderOfTheMoment) {
    EXPECT_EQ(fileReportPath(), bin + "\\filereport.000");
    EXPECT_EQ(registryReportPath(), bin + "\\regreport.000");
    useBin("D:\\Elsewhere");
    EXPECT_EQ(fileReportPath(), "D:\\Elsewhere\\filereport.000");
    EXPECT_EQ(registryReportPath(), "D:\\Elsewhere\\regreport.000");
}

TEST_F(Reports, TheFileReportIsReadAndProcessedAgainstTheHistoryAndTheDisk) {
    writeFile(bin + "\\Letter.DOC", std::string(1234, 'x'));
    FileReportEntry deleted = fileEntry(kindDelete, "C:\\RECYCLED\\DC7.DOC", "explorer", 99);
    deleted.otherPath = bin + "\\saved.und";
    writeFile(fileReportPath(), serializeFileReportEntry(fileEntry(kindCreate, bin + "\\Letter.DOC", "EXPLORER")) +
                                    serializeFileReportEntry(deleted));
    ActionRecord recycled;
    recycled.kind = kindRecycle;
    recycled.dataA = "C:\\Docs\\Old Letter.doc";
    recycled.dataC = "C:\\Recycled\\DC7.doc";

    FileReport report = readFileReport(recycledFrom(std::span(&recycled, 1)));

    EXPECT_EQ(report.status, FileReadStatus::Read);
    ASSERT_EQ(report.entries.size(), 2u);
    EXPECT_EQ(report.entries[0].kind, kindCopy);
    EXPECT_EQ(report.entries[0].path, lowerCase(bin + "\\letter.doc"));
    EXPECT_EQ(report.entries[0].size, 1234u);  // from the disk: the report said 0
    EXPECT_EQ(report.entries[1].path, "C:\\Docs\\Old Letter.doc");
    EXPECT_EQ(report.entries[1].size, 99u);
}

TEST_F(Reports, TheRegistryReportIsReadWithItsDataWhole) {
    RegistryReportEntry e;
    std::strncpy(e.programName, "REGEDIT", 8);
    e.programPath = "C:\\Windows\\REGEDIT.EXE";
    e.kind = 11;
    e.valueType = REG_DWORD;
    e.oldData = std::string("\x01\x00\x00\x00", 4);
    e.newData = std::string("\x00\x00\x02\x00", 4);
    e.registryPath = "HKCU\\Software\\Test\\Value";
    writeFile(registryReportPath(), serializeRegistryReportEntry(e) + serializeRegistryReportEntry(e));

    RegistryReport report = readRegistryReport();

    EXPECT_EQ(report.status, FileReadStatus::Read);
    ASSERT_EQ(report.entries.size(), 2u);
    EXPECT_EQ(report.entries[1].oldData, e.oldData);
    EXPECT_EQ(report.entries[1].newData, e.newData);
    EXPECT_EQ(report.entries[1].registryPath, "hkcu\\software\\test\\value");
    EXPECT_STREQ(report.entries[1].programName, "regedit");
}

TEST_F(Reports, MissingOrEmptyReportsGiveNoEntriesAndNoMessage) {
    writeFile(registryReportPath(), "");
    auto fileRead = std::async(std::launch::async, [] { return readFileReport({}); });
    EXPECT_EQ(errorBoxShownBy(fileRead), "");
    auto registryRead = std::async(std::launch::async, [] { return readRegistryReport(); });
    EXPECT_EQ(errorBoxShownBy(registryRead), "");

    FileReport file = fileRead.get();
    RegistryReport registry = registryRead.get();
    EXPECT_EQ(file.status, FileReadStatus::Missing);
    EXPECT_TRUE(file.entries.empty());
    EXPECT_EQ(registry.status, FileReadStatus::Missing);
    EXPECT_TRUE(registry.entries.empty());
}

TEST_F(Reports, AReportThatCannotBeOpenedSaysSoAndIsMarkedUnreadable) {
    writeFile(fileReportPath(), serializeFileReportEntry(fileEntry(kindCreate, "C:\\a.txt", "notepad", 5)));
    writeFile(registryReportPath(), "some bytes");
    HANDLE fileLock = CreateFileA(fileReportPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    HANDLE registryLock =
        CreateFileA(registryReportPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(fileLock, INVALID_HANDLE_VALUE);
    ASSERT_NE(registryLock, INVALID_HANDLE_VALUE);

    auto fileRead = std::async(std::launch::async, [] { return readFileReport({}); });
    EXPECT_EQ(errorBoxShownBy(fileRead), "Unable to open data file.");
    auto registryRead = std::async(std::launch::async, [] { return readRegistryReport(); });
    EXPECT_EQ(errorBoxShownBy(registryRead), "Unable to open data file.");
    CloseHandle(fileLock);
    CloseHandle(registryLock);

    FileReport file = fileRead.get();
    RegistryReport registry = registryRead.get();
    EXPECT_EQ(file.status, FileReadStatus::Unreadable);
    EXPECT_TRUE(file.entries.empty());
    EXPECT_EQ(registry.status, FileReadStatus::Unreadable);
    EXPECT_TRUE(registry.entries.empty());
}
