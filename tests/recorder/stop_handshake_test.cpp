// A tray click in the middle of a burst, played on one clock: the recorder
// writes a burst of changes with saved copies, each entry in two writes,
// while Retrace asks it to stop, waits at most two seconds for the answer,
// takes in what the report holds, and deletes the report and sweeps the bin
// only once answered. Whatever the recorder does, no change may be lost or
// taken in twice, and no saved copy a record names may be swept.

#include "recorder/logging_state.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "monitor/file_report.h"

namespace {

enum class Answering {
    BetweenEntries,  // as the recorder does: at once, the rest of the batch staged
    AfterTheBatch,   // as a recorder did that finished its batch first
    Never,           // hung, yet still writing
};

constexpr int askWaitMilliseconds = 2000;

std::string binCopy(int change) { return "c:\\bin\\" + std::to_string(change) + ".sav"; }

struct Disk {
    std::string report;
    std::set<std::string> bin, staging;
};

// The recorder, one millisecond at a time: half an entry each.
struct RecorderModel {
    Answering answering = Answering::BetweenEntries;
    LoggingState state{true};
    int nextChange = 0, burst = 0;
    std::string halfWritten;  // the entry's second half, for the next millisecond
    std::vector<std::pair<int, std::string>> waiting;  // change and staged copy
    bool stopAsked = false, startAsked = false, stopAnswered = false;

    bool batchOpen() const { return nextChange < burst || !halfWritten.empty(); }

    void tick(Disk& disk) {
        if (!halfWritten.empty()) {
            disk.report += halfWritten;
            halfWritten.clear();
            return;
        }
        const bool mayAnswer = answering == Answering::BetweenEntries || (answering == Answering::AfterTheBatch && !batchOpen());
        if (stopAsked && mayAnswer) {
            state.stop(true);
            stopAsked = false;
            stopAnswered = true;
        } else if (startAsked && !stopAsked && mayAnswer && !batchOpen()) {
            state.start();
            startAsked = false;
            for (auto& [change, staged] : waiting) {
                disk.staging.erase(staged);
                disk.bin.insert(binCopy(change));
                append(disk, change, binCopy(change));
            }
            waiting.clear();
        }
        if (nextChange >= burst) return;
        const int change = nextChange++;
        if (state.place() == EntryPlace::Bin) {
            disk.bin.insert(binCopy(change));
            std::string entry = entryFor(change, binCopy(change));
            disk.report += entry.substr(0, entry.size() / 2);
            halfWritten = entry.substr(entry.size() / 2);
        } else {
            std::string staged = "c:\\bin\\staging\\" + std::to_string(change) + ".sav";
            disk.staging.insert(staged);
            waiting.emplace_back(change, staged);
        }
    }

    static std::string entryFor(int change, const std::string& copy) {
        FileReportEntry entry;
        entry.path = "c:\\work\\file" + std::to_string(change) + ".doc";
        entry.kind = kindModify;
        entry.otherPath = copy;
        return serializeFileReportEntry(entry);
    }
    static void append(Disk& disk, int change, const std::string& copy) { disk.report += entryFor(change, copy); }
};

struct Timeline {
    Disk disk;
    RecorderModel recorder;
    bool recorderRunning = true;
    int now = 0;
    size_t takenIn = 0;
    std::vector<FileReportEntry> actions;
    std::vector<int> answerTimes;

    void wait(int milliseconds) {
        for (int end = now + milliseconds; now < end; ++now)
            if (recorderRunning) recorder.tick(disk);
    }

    // One tray click, as the rebuild makes it.
    void click() {
        bool answered = !recorderRunning;
        if (recorderRunning) {
            recorder.stopAnswered = false;
            recorder.stopAsked = true;
            const int asked = now;
            while (!recorder.stopAnswered && now - asked < askWaitMilliseconds) wait(1);
            answered = recorder.stopAnswered;
            if (answered) answerTimes.push_back(now - asked);
        }
        size_t from = takenIn <= disk.report.size() ? takenIn : 0, whole = 0;
        for (FileReportEntry& entry : parseFileReport(std::string_view(disk.report).substr(from), &whole))
            actions.push_back(std::move(entry));
        if (answered) {
            disk.report.clear();
            takenIn = 0;
            std::set<std::string> named;
            for (const FileReportEntry& action : actions) named.insert(action.otherPath);
            std::erase_if(disk.bin, [&](const std::string& copy) { return !named.contains(copy); });
        } else {
            takenIn = from + whole;
        }
        if (recorderRunning) recorder.startAsked = true;
    }
};

}  // namespace

TEST(StopHandshake, ABurstClickedIntoIsTakenInWholeOnceWithEveryCopyWhateverTheRecorderAnswers) {
    const int burst = 4000;
    for (Answering answering : {Answering::BetweenEntries, Answering::AfterTheBatch, Answering::Never}) {
        SCOPED_TRACE(int(answering));
        Timeline timeline;
        timeline.recorder.answering = answering;
        timeline.recorder.burst = burst;
        timeline.wait(301);  // the click comes, and the reading ends, halfway through an entry
        timeline.click();
        timeline.wait(2 * burst + 1000);  // the burst ends, the start is taken
        timeline.recorderRunning = answering != Answering::Never;  // a hung recorder is ended
        timeline.click();
        timeline.recorderRunning = false;  // UNLOAD
        timeline.click();

        std::map<std::string, int> taken;
        for (const FileReportEntry& action : timeline.actions) {
            ++taken[action.path];
            EXPECT_TRUE(timeline.disk.bin.contains(action.otherPath)) << action.path << " " << action.otherPath;
        }
        EXPECT_EQ(taken.size(), size_t(burst));
        for (auto& [path, times] : taken) EXPECT_EQ(times, 1) << path;
        EXPECT_TRUE(timeline.disk.staging.empty());
        EXPECT_TRUE(timeline.recorder.waiting.empty());
        if (answering == Answering::BetweenEntries) {
            ASSERT_EQ(timeline.answerTimes.size(), 2u);
            for (int answer : timeline.answerTimes) EXPECT_LE(answer, 100);
        }
    }
}

TEST(StopHandshake, StoppedWithMonitoringOffNothingIsKeptAndStartingLogsIntoTheBinAgain) {
    LoggingState state(true);
    EXPECT_EQ(state.place(), EntryPlace::Bin);
    state.stop(true);
    EXPECT_EQ(state.place(), EntryPlace::Staging);
    state.stop(false);
    EXPECT_EQ(state.place(), EntryPlace::Nowhere);
    state.start();
    EXPECT_EQ(state.place(), EntryPlace::Bin);
    EXPECT_EQ(LoggingState(false).place(), EntryPlace::Nowhere);
}
