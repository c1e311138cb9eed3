#pragma once
// Fault injection for every write the program makes. While a FaultyDisk
// lives, the calls that change files, made by this test program through its
// import table (opening a file to write, writing, flushing, moving,
// deleting, recycling), are counted, and the chosen one fails. The program's
// code is the one that ships: only the test program's import table is
// redirected, and put back after.

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

enum class Fault {
    None,      // count only
    DiskFull,  // from the chosen call on, every write and new file fails for want of
               // space; a write struck first writes half its bytes
    Cut,       // the power goes at the chosen call: it and every later one do nothing
               // (a write struck first writes half its bytes) and fail
    FailOne,   // the chosen call alone fails and does nothing
    LieOne,    // the chosen call is carried out but answers failure
};

class FaultyDisk {
public:
    // `at` counts the calls from 1.
    explicit FaultyDisk(Fault fault = Fault::None, int at = 0);
    ~FaultyDisk();
    FaultyDisk(const FaultyDisk&) = delete;
    FaultyDisk& operator=(const FaultyDisk&) = delete;

    // The calls counted so far by name, "WriteFile", "DeleteFileA", ...
    const std::vector<std::string>& calls() const;
};

struct FaultCase {
    Fault fault;
    int at;
    std::string call;  // the name of the call struck
};

// Every case of a write: each fault at each call that `act`, run once after
// `setUp`, makes when nothing fails.
std::vector<FaultCase> faultCases(const std::function<void()>& setUp, const std::function<void()>& act,
                                  std::initializer_list<Fault> faults);

// "cut at 2 (WriteFile)", for a test's trace and the matrix it prints.
std::string describe(const FaultCase& faultCase);

// Runs every case, each from a fresh `setUp`, then `check`s what the disk
// holds, and prints the matrix: each call struck, and under each fault
// whether every check held.
void runFaultMatrix(const char* title, const std::function<void()>& setUp, const std::function<void()>& act,
                    const std::function<void()>& check, std::initializer_list<Fault> faults);
