#include "monitor/monitor_devices_win32.h"

#include <windows.h>

#include "base/text.h"
#include "monitor/bin_lock_win32.h"
#include "monitor/recorder_channel_win32.h"
#include "settings/settings_store_win32.h"

namespace {

constexpr DWORD stopLoggingCode = 0x1000;
constexpr DWORD startLoggingCode = 0x1001;

// Requests go to the file monitor first, then to the registry monitor.
HANDLE fileMonitor = INVALID_HANDLE_VALUE;
HANDLE registryMonitor = INVALID_HANDLE_VALUE;

HANDLE openDevice(const char* name) {
    return CreateFileA(name, 0, 0, nullptr, 0, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
}

HANDLE openDevice(const char* name, const char* legacyName) {
    HANDLE device = openDevice(name);
    return device != INVALID_HANDLE_VALUE ? device : openDevice(legacyName);
}

// Where neither driver opens, the change recorder does their work, and the
// requests go to it instead. That holds before the devices are opened too,
// so a recorder that already runs pauses for the first rebuild as well,
// rather than append to a report the rebuild is reading and deleting.
bool noDeviceOpen() { return fileMonitor == INVALID_HANDLE_VALUE && registryMonitor == INVALID_HANDLE_VALUE; }

// Set once the devices were found missing: from then on a recorder that is
// not running is started again when logging starts.
bool recorderWanted = false;

void startRecorder() {
    char program[MAX_PATH] = "";
    if (GetModuleFileNameA(nullptr, program, MAX_PATH) > 0) startRecorderBeside(program);
}

void sendToBoth(DWORD code) {
    for (HANDLE device : {fileMonitor, registryMonitor}) {
        if (device == INVALID_HANDLE_VALUE) continue;
        DWORD returned = 0;
        DeviceIoControl(device, code, nullptr, 0, nullptr, 0, &returned, nullptr);
    }
}

}  // namespace

void openMonitorDevices() {
    fileMonitor = openDevice("\\\\.\\VIRODU", "\\\\.\\VIRODU.VXD");
    registryMonitor = openDevice("\\\\.\\RIVEZIZ", "\\\\.\\RIVEZIZ.VXD");
    recorderWanted = noDeviceOpen();
    if (recorderWanted) startRecorder();
}

bool stopLogging() {
    if (noDeviceOpen()) {
        if (recorderRunning()) return askRecorder(RecorderRequest::Stop);
        // None of this session's, but one of another session may write here.
        Settings settings;
        loadSettings(settings);
        return !binRecorderLockTaken(std::string(fieldText(settings.UndoBinPath)));
    }
    sendToBoth(stopLoggingCode);
    return true;
}

void startLogging(StartMode mode) {
    if (mode == StartMode::IfEnabled) {
        Settings settings;
        loadSettings(settings);
        if (!settings.EnableDriver) return;
    }
    if (noDeviceOpen()) {
        // A recorder started now begins logging by itself.
        if (recorderWanted && !recorderRunning())
            startRecorder();
        else
            askRecorder(RecorderRequest::Start);
    } else
        sendToBoth(startLoggingCode);
}

void closeMonitorDevices() {
    for (HANDLE* device : {&fileMonitor, &registryMonitor}) {
        if (*device != INVALID_HANDLE_VALUE) CloseHandle(*device);
        *device = INVALID_HANDLE_VALUE;
    }
}
