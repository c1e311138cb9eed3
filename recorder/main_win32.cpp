// retrace-recorder's entry point. "UNLOAD" ends the running recorder and
// returns once it has gone;
// "/buffer:<bytes>" sets what each watch holds between two reads, and
// "/watch:<folder>" watches a folder besides the user's Desktop and Documents.

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "monitor/recorder_channel_win32.h"
#include "recorder/recorder_win32.h"
#include "ui/application_win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    appInstance = instance;
    RecorderOptions options;
    for (int i = 1; i < __argc; ++i) {
        std::string argument = __argv[i];
        if (argument == "UNLOAD") {
            return endRecorder() ? 0 : 1;
        }
        if (argument.rfind("/buffer:", 0) == 0) options.watchBufferBytes = DWORD(std::strtoul(argument.c_str() + 8, nullptr, 10));
        if (argument.rfind("/watch:", 0) == 0) options.extraFolders.push_back(argument.substr(7));
    }
    return runRecorder(options);
}
