#include "monitor/registry_report.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

RegistryReportEntry entry(std::string registryPath, std::string oldData = "", std::string newData = "",
                          uint32_t processId = 1) {
    RegistryReportEntry e;
    std::strcpy(e.programName, "regedit");
    e.programPath = "c:\\windows\\regedit.exe";
    e.processId = processId;
    e.kind = 10;
    e.valueType = 1;
    e.registryPath = std::move(registryPath);
    e.oldData = std::move(oldData);
    e.newData = std::move(newData);
    return e;
}

std::string encode(const std::vector<RegistryReportEntry>& entries) {
    std::string bytes;
    for (auto& e : entries) bytes += serializeRegistryReportEntry(e);
    return bytes;
}

std::vector<uint32_t> processIdsOf(const std::vector<RegistryReportEntry>& entries) {
    std::vector<uint32_t> ids;
    for (auto& e : entries) ids.push_back(e.processId);
    return ids;
}

void putLe32(std::string& bytes, size_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[offset + i] = char(value >> (8 * i));
}

const std::string dwordOne("\x01\x00\x00\x00", 4);

}  // namespace

TEST(RegistryReport, WritesTheEntryLayoutTheMonitorWrites) {
    RegistryReportEntry e = entry("HKCU\\K\\v", "ab", dwordOne, 0xA1B2C3D4);
    std::strncpy(e.programName, "CPL", 8);  // zero-padded, as a driver writes it
    e.programPath = "C:\\P";
    e.kind = 12;
    e.valueType = 4;
    e.unused = 0xCAFEBABE;
    e.date = 0x1234;
    e.time = 0x5678;
    const std::string expected(
        "CPL\0\0\0\0\0"
        "\xD4\xC3\xB2\xA1"
        "\x0C\x00\x00\x00"
        "\x04\x00\x00\x00"
        "\xBE\xBA\xFE\xCA"
        "\x34\x12\x78\x56"
        "\x02\x00\x00\x00"
        "ab"
        "\x04\x00\x00\x00"
        "\x01\x00\x00\x00"
        "\x08\x00\x00\x00"
        "HKCU\\K\\v"
        "\x04\x00\x00\x00"
        "C:\\P",
        44 + 2 + 4 + 8 + 4);
    EXPECT_EQ(serializeRegistryReportEntry(e), expected);
}

TEST(RegistryReport, ReadsBackNamesAndPathsInLowerCaseAndDataAndIntegersUnchanged) {
    RegistryReportEntry e = entry("HKLM\\Software\\Tarnwick\\Value Name", std::string("OLD\0Data", 8), dwordOne);
    std::strncpy(e.programName, "REGEDIT", 8);
    e.programPath = "C:\\WINDOWS\\REGEDIT.EXE";
    e.processId = 0xFFFFFFFF;
    e.kind = INT32_MIN;
    e.valueType = 0x80000000;
    e.unused = 0xFFFFFFFF;
    e.date = 0xFFFF;
    e.time = 0x8000;

    auto entries = parseRegistryReport(serializeRegistryReportEntry(e));
    ASSERT_EQ(entries.size(), 1u);
    const RegistryReportEntry& read = entries[0];
    EXPECT_STREQ(read.programName, "regedit");
    EXPECT_EQ(read.programPath, "c:\\windows\\regedit.exe");
    EXPECT_EQ(read.registryPath, "hklm\\software\\tarnwick\\value name");
    EXPECT_EQ(read.oldData, std::string("OLD\0Data", 8));
    EXPECT_EQ(read.newData, dwordOne);
    EXPECT_EQ(read.processId, e.processId);
    EXPECT_EQ(read.kind, e.kind);
    EXPECT_EQ(read.valueType, e.valueType);
    EXPECT_EQ(read.unused, e.unused);
    EXPECT_EQ(read.date, e.date);
    EXPECT_EQ(read.time, e.time);
}

TEST(RegistryReport, EmptyDataPartsReadAsEmpty) {
    auto entries = parseRegistryReport(serializeRegistryReportEntry(entry("hkcu\\k", "", "")));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_TRUE(entries[0].oldData.empty());
    EXPECT_TRUE(entries[0].newData.empty());
}

TEST(RegistryReport, AThirdEntryCutShortAnywhereLeavesTheFirstTwo) {
    const RegistryReportEntry third = entry("hkcu\\c", "x", "yz", 3);
    const std::string bytes = encode({entry("hkcu\\a", dwordOne, "", 1), entry("hkcu\\b", "", dwordOne, 2), third});
    const size_t firstTwo = bytes.size() - serializeRegistryReportEntry(third).size();
    for (size_t cut = firstTwo + 1; cut < bytes.size(); ++cut)
        ASSERT_EQ(processIdsOf(parseRegistryReport(std::string_view(bytes).substr(0, cut))),
                  (std::vector<uint32_t>{1, 2}))
            << cut;
    EXPECT_EQ(parseRegistryReport(bytes).size(), 3u);
}

TEST(RegistryReport, AHugeLengthEndsTheReadingWithoutReachingOutsideTheReport) {
    const RegistryReportEntry second = entry("hkcu\\b", "old", "new", 2);
    const std::string first = serializeRegistryReportEntry(entry("hkcu\\a", "", "", 1));
    const std::string bytes =
        first + serializeRegistryReportEntry(second) + serializeRegistryReportEntry(entry("hkcu\\c", "", "", 3));
    const size_t la = 28, lb = la + 4 + second.oldData.size(), lc = lb + 4 + second.newData.size(),
                 ld = lc + 4 + second.registryPath.size();
    const uint32_t hugeLengths[] = {0xFFFFFFFF, 0xFFFFFFFC, 0xFFFFFFD0, 0x80000000,
                                    uint32_t(bytes.size() - first.size())};
    for (size_t field : {la, lb, lc, ld})
        for (uint32_t length : hugeLengths) {
            std::string damaged = bytes;
            putLe32(damaged, first.size() + field, length);
            EXPECT_EQ(processIdsOf(parseRegistryReport(damaged)), std::vector<uint32_t>{1}) << field << " " << length;
        }
}

TEST(RegistryReport, AnEntryWithAPathTooLongIsSkippedAndTheEntriesBehindItAreRead) {
    struct {
        size_t registryPathLength, programPathLength;
        bool kept;
    } cases[] = {
        {511, 259, true},
        {512, 10, false},
        {10, 260, false},
        {70000, 10, false},
    };
    for (auto& c : cases) {
        RegistryReportEntry middle = entry(std::string(c.registryPathLength, 'k'), dwordOne, dwordOne, 2);
        middle.programPath = std::string(c.programPathLength, 'p');
        auto entries = parseRegistryReport(encode({entry("hkcu\\a", "", "", 1), middle, entry("hkcu\\c", "", "", 3)}));
        EXPECT_EQ(processIdsOf(entries), (c.kept ? std::vector<uint32_t>{1, 2, 3} : std::vector<uint32_t>{1, 3}))
            << c.registryPathLength << " " << c.programPathLength;
    }
}
