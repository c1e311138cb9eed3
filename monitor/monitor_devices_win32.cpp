#include "monitor/monitor_devices_win32.h"

#include <windows.h>

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
}

void stopLogging() { sendToBoth(stopLoggingCode); }

void startLogging(StartMode mode) {
    if (mode == StartMode::IfEnabled) {
        Settings settings;
        loadSettings(settings);
        if (!settings.EnableDriver) return;
    }
    sendToBoth(startLoggingCode);
}

void closeMonitorDevices() {
    for (HANDLE* device : {&fileMonitor, &registryMonitor}) {
        if (*device != INVALID_HANDLE_VALUE) CloseHandle(*device);
        *device = INVALID_HANDLE_VALUE;
    }
}
