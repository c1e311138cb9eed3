#pragma once
// The Start Over set: the system files the monitor saves at every boot, into
// the SO folder of the Undo Bin under the boot marker's text and an
// extension of three letters, in the order they are brought back.

#include <array>

struct StartOverFile {
    const char* extension;
    bool inWindowsFolder;  // else `file` is a whole path
    const char* file;
};

inline constexpr std::array<StartOverFile, 8> startOverSet{{
    {"WIN", true, "win.ini"},
    {"SYS", true, "system.ini"},
    {"PRO", true, "protocol.ini"},
    {"AUT", false, "c:\\autoexec.bat"},
    {"CON", false, "c:\\config.sys"},
    {"MSD", false, "c:\\msdos.sys"},
    {"USE", true, "user.dat"},
    {"SYD", true, "system.dat"},
}};
