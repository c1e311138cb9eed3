#pragma once
// The settings record: one field per value of the settings key, shared with
// the monitor drivers. Texts are fixed, NUL-terminated buffers because their
// sizes are part of what the drivers and the registry agree on.
//
// A default-constructed record holds the installation defaults, so a value
// missing from the key leaves a sensible setting rather than a blank one.

#include <cstdint>
#include <span>
#include <string_view>

inline constexpr const char* settingsKeyPath = "SOFTWARE\\Tarnwick\\Undo";

struct Settings {
    uint32_t LoadAtStartup = 0;
    uint32_t UndoMenuSize = 5;
    uint32_t UndoBinSize = 100000000;
    char UndoBinPath[260] = "%LOCALAPPDATA%\\Retrace\\Undo Bin";  // each user's own
    char UndoBinPathNew[260] = "";
    uint32_t IgnoreGraphics = 0;
    char szIgnoreGraphics[260] = "JPG|GIF|BMP|TIF|MOV|MPG|AVI";
    uint32_t IgnoreArchives = 0;
    char szIgnoreArchives[260] = "ZIP|ARJ|RAR|ARC|TAR";
    uint32_t IgnoreBackups = 1;
    char szIgnoreBackups[260] = "BAK";
    uint32_t IgnoreTemp = 1;
    char szIgnoreTemp[260] = "TMP";
    uint32_t IgnoreLinks = 0;
    char szIgnoreLinks[260] = "LNK";
    uint32_t IgnoreUser = 0;
    char szIgnoreUser[260] = "";
    uint32_t IgnoreRecycleBin = 0;
    uint32_t EnableDriver = 1;
    char szFileExts[260] = "";
    char szSettingExts[260] = "";
    char szDownloadModules[2048] = "IEXPLORE|NETSCAPE|FIREFOX|CHROME|MSEDGE|OPERA|WGET|CURL";
    uint32_t LargeFileSize = 10000000;
    uint32_t IgnoreEMail = 0;
    char szEMail[1024] = "MBX|IDX|DBX|PST|EML";
    uint32_t IgnoreNews = 0;
    char szNews[1024] = "NWS|NEWSRC";
    char szPermaDelExts[260] = "EXE|COM|DLL|SYS|VXD|DRV|INI|BAT|CPL|LNK|PIF|INF|HLP";
    char szIgnorePaths[2048] = "";
};

// Whether the program writes a value back when it saves, or only reads it.
enum class SettingsAccess { ReadWrite, ReadOnly };

// Calls visitor.number(name, field) or visitor.text(name, buffer, access) for
// every value of the key, in the key's order. Load and save both walk this
// one list, so a field can never be read but not written, or the reverse.
template <class Record, class Visitor>
void visitSettingsFields(Record& s, Visitor&& visitor) {
    using Access = SettingsAccess;
    auto text = [&](const char* name, auto& buffer, Access access = Access::ReadWrite) {
        visitor.text(name, std::span(buffer), access);
    };
    visitor.number("LoadAtStartup", s.LoadAtStartup);
    visitor.number("UndoMenuSize", s.UndoMenuSize);
    visitor.number("UndoBinSize", s.UndoBinSize);
    text("UndoBinPath", s.UndoBinPath);
    text("UndoBinPathNew", s.UndoBinPathNew);
    visitor.number("IgnoreGraphics", s.IgnoreGraphics);
    text("szIgnoreGraphics", s.szIgnoreGraphics);
    visitor.number("IgnoreArchives", s.IgnoreArchives);
    text("szIgnoreArchives", s.szIgnoreArchives);
    visitor.number("IgnoreBackups", s.IgnoreBackups);
    text("szIgnoreBackups", s.szIgnoreBackups);
    visitor.number("IgnoreTemp", s.IgnoreTemp);
    text("szIgnoreTemp", s.szIgnoreTemp);
    visitor.number("IgnoreLinks", s.IgnoreLinks);
    text("szIgnoreLinks", s.szIgnoreLinks);
    visitor.number("IgnoreUser", s.IgnoreUser);
    text("szIgnoreUser", s.szIgnoreUser);
    visitor.number("IgnoreRecycleBin", s.IgnoreRecycleBin);
    visitor.number("EnableDriver", s.EnableDriver);
    text("szFileExts", s.szFileExts);
    text("szSettingExts", s.szSettingExts);
    text("szDownloadModules", s.szDownloadModules, Access::ReadOnly);
    visitor.number("LargeFileSize", s.LargeFileSize);
    visitor.number("IgnoreEMail", s.IgnoreEMail);
    text("szEMail", s.szEMail);
    visitor.number("IgnoreNews", s.IgnoreNews);
    text("szNews", s.szNews);
    text("szPermaDelExts", s.szPermaDelExts);
    text("szIgnorePaths", s.szIgnorePaths);
}
