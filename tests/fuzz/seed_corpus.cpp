// Writes the fuzz targets' seed corpora with the writers the monitor
// stand-in and the program use: a morning's file and registry reports, the
// action list Retrace makes of them, saved copies as the encoder writes
// them, two texts of a settings file, paths to restore beside, a batch of
// directory notices, and registry readings with a shadow as the recorder keeps it.
//
//     fuzz_seed_corpus tests/fuzz/corpus

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "base/dos_time.h"
#include "database/action_list.h"
#include "database/derive_flags.h"
#include "database/merge_reports.h"
#include "monitor/file_report.h"
#include "monitor/registry_report.h"
#include "monitor/saved_copy.h"
#include "recorder/registry_shadow.h"

namespace {

std::filesystem::path corpus;

void seed(const char* target, const char* name, const std::string& bytes) {
    std::filesystem::create_directories(corpus / target);
    std::ofstream(corpus / target / name, std::ios::binary) << bytes;
}

uint16_t minute = 0;

FileReportEntry fileEntry(const char* program, int32_t kind, const char* path, const char* otherPath = "") {
    FileReportEntry entry;
    std::strncpy(entry.programName, program, 8);
    entry.programPath = std::string("C:\\Windows\\") + program + ".exe";
    entry.processId = program[0] == 'e' ? 88 : 1204;
    entry.date = encodeDosDate(2024, 3, 5);
    entry.time = encodeDosTime(9, minute++, 0);
    entry.size = 42;
    entry.kind = kind;
    entry.path = path;
    entry.otherPath = otherPath;
    return entry;
}

RegistryReportEntry registryEntry(int32_t kind, const char* path, uint32_t valueType, std::string oldData,
                                  std::string newData) {
    RegistryReportEntry entry;
    std::strncpy(entry.programName, "NOTEPAD", 8);
    entry.programPath = "C:\\Windows\\notepad.exe";
    entry.processId = 1204;
    entry.kind = kind;
    entry.valueType = valueType;
    entry.date = encodeDosDate(2024, 3, 5);
    entry.time = encodeDosTime(9, minute++, 0);
    entry.registryPath = path;
    entry.oldData = std::move(oldData);
    entry.newData = std::move(newData);
    return entry;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    corpus = argv[1];

    FileReportEntry boot = fileEntry("VIRODU", kindBootMarker, "");
    std::strncpy(boot.markerText, "BOOT0001", 8);
    const std::vector<FileReportEntry> morning = {
        boot,
        fileEntry("NOTEPAD", kindCreate, "C:\\Docs\\Letter.txt"),
        fileEntry("NOTEPAD", kindModify, "C:\\Docs\\Letter.txt", "C:\\Undo\\00000001.SAV"),
        fileEntry("explorer", kindCreate, "C:\\Docs\\Sent\\Letter.txt"),  // a move: create, then delete
        fileEntry("explorer", kindDelete, "C:\\Docs\\Letter.txt", "C:\\Undo\\00000002.SAV"),
        fileEntry("explorer", kindCreate, "C:\\Backup\\Letter.txt"),  // a copy
        fileEntry("WINWORD", kindRename, "C:\\Docs\\a.doc", "C:\\Docs\\Old\\a.doc"),
        fileEntry("WINWORD", kindRename, "C:\\Docs\\b.doc", "C:\\Docs\\c.doc"),
        fileEntry("explorer", kindRecycle, "C:\\Docs\\Plan.doc", "C:\\Recycled\\DC1.doc"),
        fileEntry("explorer", kindDelete, "C:\\Recycled\\DC1.doc", "C:\\Undo\\00000003.SAV"),
        fileEntry("NOTEPAD", kindModify, "C:\\Windows\\WIN.INI", "C:\\Undo\\00000004.SAV"),
    };
    const std::vector<RegistryReportEntry> settings = {
        registryEntry(13, "HKCU\\Software\\Acme\\Notepad\\", 0, "", ""),
        registryEntry(11, "HKCU\\Software\\Acme\\Notepad\\Font", 1, "", std::string("Courier New", 12)),
        registryEntry(10, "HKCU\\Software\\Acme\\Notepad\\Size", 4, std::string("\x0a\0\0\0", 4),
                      std::string("\x0c\0\0\0", 4)),
        registryEntry(12, "HKCU\\Software\\Acme\\Notepad\\Recent", 3, std::string("\x01\x00\xff", 3), ""),
        registryEntry(14, "HKCU\\Software\\Acme\\Old\\", 0, "", ""),
    };

    std::string fileReport, registryReport;
    for (const FileReportEntry& entry : morning) fileReport += serializeFileReportEntry(entry);
    for (const RegistryReportEntry& entry : settings) registryReport += serializeRegistryReportEntry(entry);
    seed("file_report", "morning", fileReport);
    seed("file_report", "boot", serializeFileReportEntry(boot));
    seed("registry_report", "morning", registryReport);

    // The action list a rebuild makes of the two reports, and the same with
    // one record undone.
    std::vector<FileReportEntry> entries = parseFileReport(fileReport);
    postProcessFileReport(entries, {}, [](const std::string&) { return 42u; });
    std::vector<ActionRecord> records;
    mergeReports(std::move(entries), parseRegistryReport(registryReport), records);
    deriveFlags(records, {{"doc", "txt"}, "iexplore"});
    seed("action_list", "morning", serializeActionList(records));
    records[2].setUndone(1);
    seed("action_list", "one undone", serializeActionList({records.begin(), records.begin() + 4}));

    const std::string letter = "Dear Sam,\r\nSee you Monday, Monday, Monday.\r\n";
    seed("saved_copy", "compressed", encodeSavedCopy(letter));
    seed("saved_copy", "stored", encodeSavedCopy(letter, BlockMethod::Stored));
    seed("saved_copy", "blocks", encodeSavedCopy(letter + letter + letter, BlockMethod::Compressed, 40));
    seed("saved_copy", "empty", encodeSavedCopy(""));

    const std::string earlier = "[windows]\r\nload=\r\nrun=notepad.exe\r\n; a comment\r\n[Desktop]\r\nWallpaper=x.bmp\r\n";
    const std::string later = "[Windows]\nload=clock.exe\nrun=notepad.exe\n[Fonts]\nArial=arial.ttf\n";
    seed("ini_diff", "win.ini", earlier + '\0' + later);

    // The first byte: how many restore names are taken already.
    seed("restore_name", "report", std::string("\x01") + "C:\\Docs\\report.doc");
    seed("restore_name", "readme", std::string("\x00", 1) + "C:\\My.Docs\\README");

    // Notices of a safe save and of a rename over a file; two readings of a
    // subtree and a shadow kept by the recorder.
    seed("file_correlator", "safe save", std::string("\x05" "\x00\x04\x00" "\x03\x00\x00" "\x03\x04\x00", 10));
    seed("file_correlator", "rename over", std::string("\x03" "\x03\x00\x01" "\x01\x04\x00", 7));
    RegistryShadow shadow;
    shadow.update("HKCU\\S", {{"HKCU\\S", 1, std::vector<RegistryValue>{{"x", 1, "a"}}},
                               {"HKCU\\S\\a", 1, std::vector<RegistryValue>{{"", 4, std::string("\x01\0\0\0", 4)}}}});
    seed("registry_shadow", "two readings and a kept shadow",
         std::string("\x09\x31\x4a", 3) + '\0' + std::string("\x11\x2b\x5b", 3) + '\0' + shadow.saved());
    return 0;
}
