#include "tests/support/faulty_disk_win32.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <map>

namespace {

struct Strike {
    Fault fault = Fault::None;
    int at = 0;
    std::vector<std::string> calls;
};
Strike strike;

enum class Verdict {
    Go,
    Fail,      // do nothing, answer failure
    HalfFail,  // a write: write half, answer failure
    Lie,       // do it, answer failure
};

// The verdict on the call now made. `needsSpace`: it writes or makes a file.
Verdict judge(const char* name, bool needsSpace) {
    strike.calls.push_back(name);
    const int call = int(strike.calls.size());
    const bool first = call == strike.at;
    switch (strike.fault) {
    case Fault::None: return Verdict::Go;
    case Fault::FailOne: return first ? Verdict::Fail : Verdict::Go;
    case Fault::LieOne: return first ? Verdict::Lie : Verdict::Go;
    case Fault::Cut: return call < strike.at ? Verdict::Go : first ? Verdict::HalfFail : Verdict::Fail;
    case Fault::DiskFull:
        if (call < strike.at || !needsSpace) return Verdict::Go;
        return first ? Verdict::HalfFail : Verdict::Fail;
    }
    return Verdict::Go;
}

DWORD failureCode() { return strike.fault == Fault::DiskFull ? ERROR_DISK_FULL : ERROR_NOT_READY; }

// The real functions, as the import table held them.
decltype(&CreateFileA) realCreateFileA;
decltype(&WriteFile) realWriteFile;
decltype(&FlushFileBuffers) realFlushFileBuffers;
decltype(&MoveFileA) realMoveFileA;
decltype(&MoveFileExA) realMoveFileExA;
decltype(&DeleteFileA) realDeleteFileA;
decltype(&SHFileOperationA) realSHFileOperationA;

// A verdict on a call without bytes to write: Fail and HalfFail do nothing.
template <class Call>
BOOL carryOut(const char* name, bool needsSpace, Call call) {
    Verdict verdict = judge(name, needsSpace);
    if (verdict == Verdict::Fail || verdict == Verdict::HalfFail) {
        SetLastError(failureCode());
        return FALSE;
    }
    BOOL done = call();
    if (verdict != Verdict::Lie) return done;
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

HANDLE WINAPI faultyCreateFileA(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                DWORD disposition, DWORD flags, HANDLE templateFile) {
    auto open = [&] { return realCreateFileA(path, access, share, security, disposition, flags, templateFile); };
    if (!(access & (GENERIC_WRITE | GENERIC_ALL)) && disposition == OPEN_EXISTING) return open();
    HANDLE file = INVALID_HANDLE_VALUE;
    if (!carryOut("CreateFileA", true, [&] { return (file = open()) != INVALID_HANDLE_VALUE; })) {
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);  // a lie: made, then said otherwise
        return INVALID_HANDLE_VALUE;
    }
    return file;
}

BOOL WINAPI faultyWriteFile(HANDLE file, LPCVOID data, DWORD count, LPDWORD written, LPOVERLAPPED overlapped) {
    Verdict verdict = judge("WriteFile", true);
    if (verdict == Verdict::Go) return realWriteFile(file, data, count, written, overlapped);
    if (written) *written = 0;
    if (verdict == Verdict::HalfFail) realWriteFile(file, data, count / 2, written, overlapped);
    if (verdict == Verdict::Lie) realWriteFile(file, data, count, written, overlapped);
    SetLastError(failureCode());
    return FALSE;
}

BOOL WINAPI faultyFlushFileBuffers(HANDLE file) {
    return carryOut("FlushFileBuffers", false, [&] { return realFlushFileBuffers(file); });
}

BOOL WINAPI faultyMoveFileA(LPCSTR from, LPCSTR to) {
    return carryOut("MoveFileA", false, [&] { return realMoveFileA(from, to); });
}

BOOL WINAPI faultyMoveFileExA(LPCSTR from, LPCSTR to, DWORD flags) {
    return carryOut("MoveFileExA", false, [&] { return realMoveFileExA(from, to, flags); });
}

BOOL WINAPI faultyDeleteFileA(LPCSTR path) {
    return carryOut("DeleteFileA", false, [&] { return realDeleteFileA(path); });
}

int WINAPI faultySHFileOperationA(LPSHFILEOPSTRUCTA operation) {
    BOOL done = carryOut("SHFileOperationA", false, [&] { return realSHFileOperationA(operation) == 0; });
    return done ? 0 : ERROR_ACCESS_DENIED;
}

struct Hook {
    const char* name;
    void* faulty;
    void** real;
};
const Hook hooks[] = {
    {"CreateFileA", reinterpret_cast<void*>(faultyCreateFileA), reinterpret_cast<void**>(&realCreateFileA)},
    {"WriteFile", reinterpret_cast<void*>(faultyWriteFile), reinterpret_cast<void**>(&realWriteFile)},
    {"FlushFileBuffers", reinterpret_cast<void*>(faultyFlushFileBuffers),
     reinterpret_cast<void**>(&realFlushFileBuffers)},
    {"MoveFileA", reinterpret_cast<void*>(faultyMoveFileA), reinterpret_cast<void**>(&realMoveFileA)},
    {"MoveFileExA", reinterpret_cast<void*>(faultyMoveFileExA), reinterpret_cast<void**>(&realMoveFileExA)},
    {"DeleteFileA", reinterpret_cast<void*>(faultyDeleteFileA), reinterpret_cast<void**>(&realDeleteFileA)},
    {"SHFileOperationA", reinterpret_cast<void*>(faultySHFileOperationA),
     reinterpret_cast<void**>(&realSHFileOperationA)},
};

void setSlot(void** slot, void* value) {
    DWORD protection;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
    *slot = value;
    VirtualProtect(slot, sizeof *slot, protection, &protection);
}

// Points the import table's slots of the hooked functions at the faulty
// ones (`install`), or back at the real ones.
void redirectImports(bool install) {
    auto* base = reinterpret_cast<uint8_t*>(GetModuleHandleA(nullptr));
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* library = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); library->Name;
         ++library) {
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            for (const Hook& hook : hooks) {
                if (std::strcmp(reinterpret_cast<const char*>(byName->Name), hook.name) != 0) continue;
                void** slot = reinterpret_cast<void**>(&slots->u1.Function);
                if (install) *hook.real = *slot;
                setSlot(slot, install ? hook.faulty : *hook.real);
            }
        }
    }
}

const char* faultName(Fault fault) {
    switch (fault) {
    case Fault::None: return "none";
    case Fault::DiskFull: return "disk full";
    case Fault::Cut: return "cut";
    case Fault::FailOne: return "fails";
    case Fault::LieOne: return "lies";
    }
    return "";
}

}  // namespace

FaultyDisk::FaultyDisk(Fault fault, int at) {
    strike = {fault, at, {}};
    redirectImports(true);
}

FaultyDisk::~FaultyDisk() { redirectImports(false); }

const std::vector<std::string>& FaultyDisk::calls() const { return strike.calls; }

std::vector<FaultCase> faultCases(const std::function<void()>& setUp, const std::function<void()>& act,
                                  std::initializer_list<Fault> faults) {
    setUp();
    std::vector<std::string> calls;
    {
        FaultyDisk counting;
        act();
        calls = counting.calls();
    }
    std::vector<FaultCase> cases;
    for (size_t at = 1; at <= calls.size(); ++at)
        for (Fault fault : faults) cases.push_back({fault, int(at), calls[at - 1]});
    return cases;
}

std::string describe(const FaultCase& faultCase) {
    return std::string(faultName(faultCase.fault)) + " at " + std::to_string(faultCase.at) + " (" + faultCase.call +
           ")";
}

void runFaultMatrix(const char* title, const std::function<void()>& setUp, const std::function<void()>& act,
                    const std::function<void()>& check, std::initializer_list<Fault> faults) {
    std::map<int, std::string> rows;
    for (const FaultCase& faultCase : faultCases(setUp, act, faults)) {
        SCOPED_TRACE(describe(faultCase));
        setUp();
        {
            FaultyDisk disk(faultCase.fault, faultCase.at);
            act();
        }
        int partsBefore = testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count();
        check();
        bool held = testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count() == partsBefore;
        std::string& row = rows[faultCase.at];
        if (row.empty()) row = std::to_string(faultCase.at) + " " + faultCase.call + ":";
        row += std::string(" ") + faultName(faultCase.fault) + (held ? " held" : " FAILED") + ",";
    }
    std::printf("[ faults   ] %s\n", title);
    for (auto& [at, row] : rows) std::printf("[ faults   ]   %s\n", row.substr(0, row.size() - 1).c_str());
}
