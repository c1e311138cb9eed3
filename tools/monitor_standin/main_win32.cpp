// retrace-monitor: plays a script of user-level changes and records them
// into the Undo Bin that the settings name, as the change monitors would.

#include <cstdio>
#include <fstream>
#include <sstream>

#include "settings/settings_store_win32.h"
#include "tools/monitor_standin/player_win32.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: retrace-monitor <script>\n");
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "retrace-monitor: cannot read %s\n", argv[1]);
        return 2;
    }
    std::stringstream text;
    text << file.rdbuf();

    // The whole script is checked before anything is played.
    ParsedScript parsed = parseScript(text.str());
    if (parsed.error) {
        std::fprintf(stderr, "%s:%d: %s\n", argv[1], parsed.error->line, parsed.error->message.c_str());
        return 1;
    }
    Settings settings;
    loadSettings(settings);
    PlayOutcome outcome = playScript(parsed.commands, settings.UndoBinPath);
    std::printf("%d entries recorded in %s\n", outcome.entries, settings.UndoBinPath);
    if (outcome.error) {
        std::fprintf(stderr, "%s:%d: %s\n", argv[1], outcome.error->line, outcome.error->message.c_str());
        return 1;
    }
    return 0;
}
