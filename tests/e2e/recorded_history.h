#pragma once
// End-to-end tests over a history the monitor stand-in records: an Undo Bin
// and a documents folder of their own, emptied before and after each test.

#include <string>
#include <vector>

#include "base/text.h"
#include "database/action_record.h"
#include "tests/e2e/retrace_fixture.h"

inline const std::string bin = "C:\\Retrace E2E\\Bin";
inline const std::string docs = "C:\\Retrace E2E\\Docs";

// Plays a stand-in script into the test's Undo Bin; fails the test on a fault.
void play(const std::string& script);

// The records of the action list file as they are on disk, undone ones included.
std::vector<ActionRecord> storedHistory();

class RecordedHistoryTest : public RetraceTest {
protected:
    void SetUp() override;
    void TearDown() override;
};
