// The compact records held to the old string records: the same histories
// loaded, merged, undone, cut at the front and saved through both give the
// same bytes, every time.

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "base/text.h"
#include "database/action_list.h"
#include "database/merge_reports.h"
#include "tests/database/string_record_oracle.h"

namespace {

class RandomHistory {
public:
    explicit RandomHistory(uint32_t seed) : random_(seed) {}

    size_t below(size_t n) { return n == 0 ? 0 : size_t(random_() % n); }

    // Texts of any bytes, zero included, mostly short; now and then longer
    // than a block of the text store.
    std::string text(size_t most = 40) {
        std::string out(below(4) == 0 ? 0 : below(most), '\0');
        for (char& c : out) c = char(below(3) == 0 ? below(256) : 'a' + below(26));
        if (below(2000) == 0) out.assign((1 << 20) + below(5000), char('a' + below(26)));
        return out;
    }

    // A program's path from a few, as a history's records mostly share them.
    std::string programPath() { return below(10) ? "c:\\program files\\app" + std::to_string(below(6)) + ".exe" : text(); }

    // A list file of random records, slots and undone values included.
    std::string listFile(size_t count) {
        std::vector<StringRecord> records(count);
        for (StringRecord& r : records) {
            setFieldText(r.programName, text(9).substr(0, 8));
            r.programPath = programPath();
            r.processId = int32_t(random_());
            r.kind = int32_t(below(16));
            r.date = uint16_t(random_());
            r.time = uint16_t(random_());
            r.source = int32_t(below(3));
            r.dataA = text();
            r.dataB = text();
            r.dataC = text();
            for (int32_t& slot : r.slots) slot = below(3) ? int32_t(below(3)) : int32_t(random_());
            r.slots[3] = below(4) == 0 ? int32_t(below(3)) : 0;
        }
        return serializeStringRecords(records);
    }

    void reports(std::vector<FileReportEntry>& files, std::vector<RegistryReportEntry>& registry) {
        uint16_t time = 0;
        for (size_t n = below(30); n-- > 0;) {
            FileReportEntry entry;
            setFieldText(entry.programName, "app" + std::to_string(below(6)));
            entry.programPath = programPath();
            entry.processId = uint32_t(random_());
            entry.date = 0x5000;
            entry.time = time += uint16_t(below(3));
            entry.size = uint32_t(random_());
            entry.extra = uint32_t(random_());
            entry.kind = int32_t(below(10));
            entry.path = text();
            entry.otherPath = text();
            setFieldText(entry.markerText, "boot");
            files.push_back(entry);
        }
        time = 0;
        for (size_t n = below(30); n-- > 0;) {
            RegistryReportEntry entry;
            setFieldText(entry.programName, "regedit");
            entry.programPath = programPath();
            entry.processId = uint32_t(random_());
            entry.kind = int32_t(10 + below(5));
            entry.valueType = uint32_t(below(12));
            entry.date = 0x5000;
            entry.time = time += uint16_t(below(3));
            entry.oldData = text();
            entry.newData = text();
            entry.registryPath = text();
            registry.push_back(entry);
        }
    }

private:
    std::mt19937 random_;
};

TEST(CompactStore, LoadsMergesUndoesAndSavesEveryByteAsTheStringRecordsDid) {
    for (uint32_t seed = 1; seed <= 60; ++seed) {
        SCOPED_TRACE(seed);
        RandomHistory history(seed);
        std::string file = history.listFile(history.below(300));
        // Now and then a list cut short, which loads as damaged in both.
        if (history.below(5) == 0 && !file.empty()) file.resize(history.below(file.size()));

        ParsedActionList compact = parseActionList(file);
        StringRecordList strings = parseStringRecords(file);
        ASSERT_EQ(compact.damaged, strings.damaged);
        ASSERT_EQ(serializeActionList(readableActionRecords(file)), serializeStringRecords(readableStringRecords(file)));
        ASSERT_EQ(serializeActionList(compact.records), serializeStringRecords(strings.records));

        for (int round = 0; round < 6; ++round) {
            std::vector<FileReportEntry> files;
            std::vector<RegistryReportEntry> registry;
            history.reports(files, registry);
            mergeIntoStringRecords(files, registry, strings.records);
            mergeReports(std::move(files), std::move(registry), compact.records);
            ASSERT_EQ(compact.records.size(), strings.records.size());
            for (size_t n = history.below(10); n-- > 0 && !compact.records.empty();) {
                size_t index = history.below(compact.records.size());
                int32_t undone = int32_t(1 + history.below(2));
                compact.records[index].setUndone(undone);
                strings.records[index].slots[3] = undone;
            }
            if (history.below(4) == 0) {
                size_t front = history.below(compact.records.size() + 1);
                compact.records.erase(compact.records.begin(), compact.records.begin() + ptrdiff_t(front));
                strings.records.erase(strings.records.begin(), strings.records.begin() + ptrdiff_t(front));
            }
            const std::string saved = serializeActionList(compact.records);
            ASSERT_EQ(saved, serializeStringRecords(strings.records));
            // What the next start loads from that save.
            compact = parseActionList(saved);
            strings = parseStringRecords(saved);
            ASSERT_FALSE(compact.damaged);
            ASSERT_EQ(serializeActionList(compact.records), serializeStringRecords(strings.records));
        }
    }
}

TEST(RecordText, KeepsAnyBytesAndSharesAnInternedProgramPath) {
    const std::string bytes("a\0b\xff", 4);
    const std::string longText((1 << 20) + 17, 'x');
    for (const std::string& text : {std::string(), bytes, longText}) {
        RecordText stored(text);
        EXPECT_EQ(stored.view(), text);
        EXPECT_EQ(stored.c_str()[stored.size()], '\0');
        EXPECT_EQ(stored.empty(), text.empty());
    }
    RecordText first = RecordText::interned("c:\\windows\\notepad.exe");
    RecordText other = RecordText::interned("c:\\windows\\regedit.exe");
    RecordText again = RecordText::interned(std::string("c:\\windows\\notepad.exe"));
    EXPECT_EQ(std::memcmp(&first, &again, sizeof first), 0);
    EXPECT_NE(std::memcmp(&first, &other, sizeof first), 0);
    EXPECT_EQ(again, "c:\\windows\\notepad.exe");
}

TEST(RecordText, SharesShortTextsAndTheRegistryPathsOfLoadedRecords) {
    auto same = [](const RecordText& a, const RecordText& b) { return std::memcmp(&a, &b, sizeof a) == 0; };
    const std::string dword("\1\0\0\0", 4), path = "c:\\docs\\a report of many words.doc";
    EXPECT_TRUE(same(RecordText(dword), RecordText(dword)));
    EXPECT_FALSE(same(RecordText(path), RecordText(path)));
    ActionRecord registry, file;
    registry.source = sourceRegistryReport;
    file.source = sourceFileReport;
    registry.dataC = file.dataC = "hkcu\\software\\vendor\\program\\settings\\value";
    std::vector<ActionRecord> loaded = parseActionList(serializeActionList({registry, registry, file, file})).records;
    ASSERT_EQ(loaded.size(), 4u);
    EXPECT_TRUE(same(loaded[0].dataC, loaded[1].dataC));
    EXPECT_FALSE(same(loaded[2].dataC, loaded[3].dataC));
    EXPECT_EQ(loaded[3].dataC, registry.dataC);
}

TEST(RecordText, StoresTextsMadeInAScratchScopeApartAndFreesThem) {
    RecordText shared("kept");
    const size_t before = recordTextBytesStored();
    {
        RecordTextScratch scratch;
        std::vector<ActionRecord> readable = readableActionRecords(serializeActionList(std::vector<ActionRecord>(
            1000, [] {
                ActionRecord record;
                record.dataA = std::string(2000, 'q');
                return record;
            }())));
        ASSERT_EQ(readable.size(), 1000u);
        EXPECT_EQ(readable.back().dataA, std::string(2000, 'q'));
        EXPECT_EQ(shared, "kept");
    }
    EXPECT_EQ(recordTextBytesStored(), before);
    EXPECT_EQ(shared, "kept");
}

}  // namespace
