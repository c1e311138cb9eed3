#include "monitor/recorder_channel_win32.h"

#include <windows.h>

#include "base/paths.h"

namespace {

struct EventNames {
    const char* request;
    const char* answer;
};

EventNames namesOf(RecorderRequest request) {
    switch (request) {
    case RecorderRequest::Stop: return {recorderStopName, recorderStoppedName};
    case RecorderRequest::Start: return {recorderStartName, recorderStartedName};
    case RecorderRequest::Quit: return {recorderQuitName, nullptr};
    }
    return {};
}

}  // namespace

bool recorderRunning() {
    HANDLE running = OpenMutexA(SYNCHRONIZE, FALSE, recorderRunningName);
    if (!running) return false;
    CloseHandle(running);
    return true;
}

bool askRecorder(RecorderRequest request, unsigned milliseconds) {
    EventNames names = namesOf(request);
    HANDLE requestEvent = OpenEventA(EVENT_MODIFY_STATE, FALSE, names.request);
    if (!requestEvent) return false;
    HANDLE answer = names.answer ? OpenEventA(SYNCHRONIZE | EVENT_MODIFY_STATE, FALSE, names.answer) : nullptr;
    // An answer left over from a request that timed out must not pass for this one's.
    if (answer) ResetEvent(answer);
    bool answered = SetEvent(requestEvent) && (!names.answer || (answer && WaitForSingleObject(answer, milliseconds) == WAIT_OBJECT_0));
    if (answer) CloseHandle(answer);
    CloseHandle(requestEvent);
    return answered;
}

bool endRecorder(unsigned milliseconds) {
    HANDLE running = OpenMutexA(SYNCHRONIZE, FALSE, recorderRunningName);
    if (!running) return true;
    askRecorder(RecorderRequest::Quit);
    // The recorder holds the mutex until it ends; an ended owner leaves it abandoned.
    DWORD waited = WaitForSingleObject(running, milliseconds);
    if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) ReleaseMutex(running);
    CloseHandle(running);
    return waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

bool startRecorderBeside(const std::string& programPath) {
    if (recorderRunning()) return true;
    std::string recorder = fileBeside(programPath, recorderProgramName);
    if (GetFileAttributesA(recorder.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    std::string commandLine = "\"" + recorder + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(recorder.c_str(), commandLine.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr,
                        nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    // Its answer events exist before its set-up is done; it sets Started
    // once it is, and may end before, having found another.
    bool ready = false;
    for (int wait = 0; wait < 100 && !ready; ++wait) {
        HANDLE started = OpenEventA(SYNCHRONIZE, FALSE, recorderStartedName);
        if (started) {
            HANDLE both[] = {started, process.hProcess};
            ready = WaitForMultipleObjects(2, both, FALSE, 10000 - 100 * wait) == WAIT_OBJECT_0;
            CloseHandle(started);
            break;
        }
        if (WaitForSingleObject(process.hProcess, 100) == WAIT_OBJECT_0) break;
    }
    CloseHandle(process.hProcess);
    return ready;
}

bool readRecorderCounts(RecorderCounts& counts) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, recorderCountsKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    visitRecorderCounts(counts, [&](const char* name, uint32_t& field) {
        DWORD value = 0, size = sizeof value;
        if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS)
            field = value;
    });
    RegCloseKey(key);
    return true;
}
