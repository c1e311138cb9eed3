#pragma once
// The two change-monitor drivers: one device for files, one for the registry.
// A device that does not open keeps an invalid handle and every request to it
// is skipped, so the program runs on without that driver.

enum class StartMode {
    IfEnabled = 0,  // only when EnableDriver is set in the settings
    Always = 1,
};

void openMonitorDevices();
// True once nothing writes into the reports or the Undo Bin any more: the
// drivers were told, or no recorder runs, or the running one answered. A
// recorder that did not answer in time may still be writing.
bool stopLogging();
void startLogging(StartMode mode);
void closeMonitorDevices();
