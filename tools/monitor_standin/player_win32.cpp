#include "tools/monitor_standin/player_win32.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "base/whole_file_win32.h"
#include "monitor/report_writer_win32.h"
#include "tools/monitor_standin/recycle_bin_win32.h"

namespace {

// A failed step says why; success is an empty text.
using Fault = std::string;

std::string windowsErrorText(DWORD code) {
    char text[512] = "";
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                                  sizeof text, nullptr);
    while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' || text[length - 1] == '.')) --length;
    return length > 0 ? std::string(text, length) : "error " + std::to_string(code);
}

Fault failed(const std::string& what, DWORD code = GetLastError()) {
    return what + ": " + windowsErrorText(code);
}

bool exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Environment variables expanded (%USERPROFILE%), made absolute.
std::string fullPath(const std::string& path) {
    char expanded[MAX_PATH * 2], full[MAX_PATH * 2];
    DWORD length = ExpandEnvironmentStringsA(path.c_str(), expanded, sizeof expanded);
    if (length == 0 || length > sizeof expanded) return path;
    length = GetFullPathNameA(expanded, sizeof full, full, nullptr);
    return length == 0 || length >= sizeof full ? std::string(expanded) : std::string(full, length);
}

std::string expanded(const std::string& text) {
    char result[MAX_PATH * 2];
    DWORD length = ExpandEnvironmentStringsA(text.c_str(), result, sizeof result);
    return length == 0 || length > sizeof result ? text : std::string(result);
}

void makeFoldersFor(const std::string& path) {
    std::string folder = path.substr(0, path.find_last_of('\\'));
    SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr);
}

HKEY rootKey(RegistryRoot root) {
    switch (root) {
    case RegistryRoot::ClassesRoot: return HKEY_CLASSES_ROOT;
    case RegistryRoot::CurrentUser: return HKEY_CURRENT_USER;
    case RegistryRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
    case RegistryRoot::Users: return HKEY_USERS;
    case RegistryRoot::CurrentConfig: return HKEY_CURRENT_CONFIG;
    }
    return HKEY_CURRENT_USER;
}

struct RegistryValue {
    bool present = false;
    DWORD type = 0;
    std::string data;
};

RegistryValue queryValue(HKEY key, const std::string& name) {
    RegistryValue value;
    DWORD size = 0;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS) return value;
    value.data.resize(size);
    if (RegQueryValueExA(key, name.c_str(), nullptr, &value.type, reinterpret_cast<BYTE*>(value.data.data()),
                         &size) != ERROR_SUCCESS)
        return value;
    value.data.resize(size);
    value.present = true;
    return value;
}

// The registry path of the key that holds a value: the value's path up to
// and with its last backslash.
std::string keyPathOf(const ScriptCommand& command) {
    return command.path.substr(0, command.path.size() - command.valueName.size());
}

ScriptTime localTimeNow() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

class Player {
public:
    explicit Player(const std::string& undoBin) : writer(undoBin) {}

    PlayOutcome play(std::span<const ScriptCommand> commands) {
        for (auto& command : commands) {
            stamp = clock ? *clock : localTimeNow();
            Fault fault = perform(command);
            if (!fault.empty()) {
                outcome.error = ScriptError{command.line, fault};
                break;
            }
            if (clock && command.verb != ScriptVerb::Program && command.verb != ScriptVerb::Clock)
                clock = addSeconds(*clock, 2);
        }
        return outcome;
    }

private:
    ReportWriter writer;
    PlayOutcome outcome;
    ScriptCommand program;
    std::optional<ScriptTime> clock;
    ScriptTime stamp;
    std::vector<std::string> recycled;  // Recycle Bin paths of the files this script recycled

    Fault perform(const ScriptCommand& c) {
        switch (c.verb) {
        case ScriptVerb::Program:
            program = c;
            program.path = expanded(c.path);
            return {};
        case ScriptVerb::Clock:
            clock = c.time;
            return {};
        case ScriptVerb::Create: return create(fullPath(c.path), c.text);
        case ScriptVerb::Write: return write(fullPath(c.path), c.text);
        case ScriptVerb::Delete: return remove(fullPath(c.path));
        case ScriptVerb::Rename: return rename(fullPath(c.path), fullPath(c.target));
        case ScriptVerb::Copy: return copyFile(fullPath(c.path), fullPath(c.target));
        case ScriptVerb::Move: return move(fullPath(c.path), fullPath(c.target));
        case ScriptVerb::Recycle: return recycle(fullPath(c.path));
        case ScriptVerb::EmptyRecycleBin: return emptyRecycleBin();
        case ScriptVerb::Ini: return writeIni(fullPath(c.path), c);
        case ScriptVerb::SetValue: return setValue(c);
        case ScriptVerb::DeleteValue: return deleteValue(c);
        case ScriptVerb::CreateKey: return createKey(c);
        case ScriptVerb::DeleteKey: return deleteKey(c);
        case ScriptVerb::Boot: return boot(c.name);
        }
        return "unknown command";
    }

    // --- what the monitors write

    Fault recordFile(int32_t kind, const std::string& path, const std::string& otherPath, size_t size) {
        FileReportEntry entry;
        entry.path = path;
        std::strncpy(entry.programName, program.name.c_str(), 8);
        entry.programPath = program.path;
        entry.processId = program.processId;
        entry.date = dosDate(stamp);
        entry.time = dosTime(stamp);
        entry.size = uint32_t(size);
        entry.kind = kind;
        entry.otherPath = otherPath;
        return recorded(writer.appendFile(entry), "a path is longer than the file report's 259 characters",
                        "filereport.000");
    }

    Fault recordRegistry(int32_t kind, const std::string& path, DWORD valueType, const std::string& oldData,
                         const std::string& newData) {
        RegistryReportEntry entry;
        std::strncpy(entry.programName, program.name.c_str(), 8);
        entry.programPath = program.path;
        entry.processId = program.processId;
        entry.kind = kind;
        entry.valueType = valueType;
        entry.date = dosDate(stamp);
        entry.time = dosTime(stamp);
        entry.oldData = oldData;
        entry.newData = newData;
        entry.registryPath = path;
        return recorded(writer.appendRegistry(entry), "a path is longer than the registry report holds",
                        "regreport.000");
    }

    Fault recorded(AppendResult result, const char* tooLong, const char* report) {
        if (result == AppendResult::DoesNotFit) return tooLong;
        if (result == AppendResult::Failed) return failed("cannot append to " + writer.binFolder() + "\\" + report);
        ++outcome.entries;
        return {};
    }

    std::string saveCopy(const std::string& content) { return writer.saveCopy(content); }

    // Reads the file whose current content the monitor saves before a change.
    Fault readForSaving(const std::string& path, std::string& content) {
        if (!exists(path)) return "no such file: " + path;
        if (!readFileQuietly(path, content)) return failed("cannot read " + path);
        return {};
    }

    Fault destinationFree(const std::string& path) {
        if (exists(path)) return "the file exists already: " + path;
        makeFoldersFor(path);
        return {};
    }

    // --- file changes

    Fault create(const std::string& path, const std::string& text) {
        if (Fault fault = destinationFree(path); !fault.empty()) return fault;
        if (!writeFileWhole(path, text, CREATE_NEW)) return failed("cannot create " + path);
        return recordFile(kindCreate, path, "", text.size());
    }

    Fault write(const std::string& path, const std::string& text) {
        std::string earlier;
        if (Fault fault = readForSaving(path, earlier); !fault.empty()) return fault;
        std::string saved = saveCopy(earlier);
        if (saved.empty()) return failed("cannot save a copy in " + writer.binFolder());
        if (!writeFileWhole(path, text, CREATE_ALWAYS)) {
            Fault fault = failed("cannot write " + path);
            DeleteFileA(saved.c_str());
            return fault;
        }
        return recordFile(kindModify, path, saved, text.size());
    }

    Fault remove(const std::string& path) {
        std::string earlier;
        if (Fault fault = readForSaving(path, earlier); !fault.empty()) return fault;
        std::string saved = saveCopy(earlier);
        if (saved.empty()) return failed("cannot save a copy in " + writer.binFolder());
        if (!DeleteFileA(path.c_str())) {
            Fault fault = failed("cannot delete " + path);
            DeleteFileA(saved.c_str());
            return fault;
        }
        return recordFile(kindDelete, path, saved, earlier.size());
    }

    Fault rename(const std::string& path, const std::string& target) {
        std::string content;
        if (Fault fault = readForSaving(path, content); !fault.empty()) return fault;
        if (Fault fault = destinationFree(target); !fault.empty()) return fault;
        if (!MoveFileA(path.c_str(), target.c_str())) return failed("cannot rename " + path);
        return recordFile(kindRename, path, target, content.size());
    }

    // A copy is the program's creation of the target.
    Fault copyFile(const std::string& path, const std::string& target) {
        std::string content;
        if (Fault fault = readForSaving(path, content); !fault.empty()) return fault;
        if (Fault fault = destinationFree(target); !fault.empty()) return fault;
        if (!CopyFileA(path.c_str(), target.c_str(), TRUE)) return failed("cannot copy " + path);
        return recordFile(kindCreate, target, "", content.size());
    }

    // Explorer moves a file by creating the target and deleting the source;
    // the monitor saves the source as it saves every deleted file.
    Fault move(const std::string& path, const std::string& target) {
        std::string content;
        if (Fault fault = readForSaving(path, content); !fault.empty()) return fault;
        if (Fault fault = destinationFree(target); !fault.empty()) return fault;
        std::string saved = saveCopy(content);
        if (saved.empty()) return failed("cannot save a copy in " + writer.binFolder());
        if (!MoveFileExA(path.c_str(), target.c_str(), MOVEFILE_COPY_ALLOWED)) {
            Fault fault = failed("cannot move " + path);
            DeleteFileA(saved.c_str());
            return fault;
        }
        if (Fault fault = recordFile(kindCreate, target, "", content.size()); !fault.empty()) return fault;
        return recordFile(kindDelete, path, saved, content.size());
    }

    Fault recycle(const std::string& path) {
        std::string content;
        if (Fault fault = readForSaving(path, content); !fault.empty()) return fault;
        RecycleResult result = recycleAndLocate(path);
        if (result.binPath.empty()) return "cannot recycle " + path + ": " + result.fault;
        recycled.push_back(result.binPath);
        return recordFile(kindRecycle, path, result.binPath, content.size());
    }

    // Emptying the Recycle Bin deletes its files like any others, under their
    // paths inside the Recycle Bin.
    Fault emptyRecycleBin() {
        while (!recycled.empty()) {
            std::string binPath = recycled.front();
            std::string content;
            if (Fault fault = readForSaving(binPath, content); !fault.empty()) return fault;
            std::string saved = saveCopy(content);
            if (saved.empty()) return failed("cannot save a copy in " + writer.binFolder());
            if (!eraseRecycledFile(binPath)) {
                Fault fault = failed("cannot delete " + binPath);
                DeleteFileA(saved.c_str());
                return fault;
            }
            recycled.erase(recycled.begin());
            if (Fault fault = recordFile(kindDelete, binPath, saved, content.size()); !fault.empty()) return fault;
        }
        return {};
    }

    // A profile-string write changes the file in place: a Modify with the
    // earlier text saved, or the Create of a file that was not there.
    Fault writeIni(const std::string& path, const ScriptCommand& c) {
        bool existed = exists(path);
        std::string earlier, saved;
        if (existed) {
            if (Fault fault = readForSaving(path, earlier); !fault.empty()) return fault;
            saved = saveCopy(earlier);
            if (saved.empty()) return failed("cannot save a copy in " + writer.binFolder());
        }
        if (!WritePrivateProfileStringA(c.name.c_str(), c.key.c_str(), c.hasText ? c.text.c_str() : nullptr,
                                        path.c_str())) {
            Fault fault = failed("cannot write to " + path);
            if (existed) DeleteFileA(saved.c_str());
            return fault;
        }
        std::string later;
        readFileQuietly(path, later);
        return existed ? recordFile(kindModify, path, saved, later.size())
                       : recordFile(kindCreate, path, "", later.size());
    }

    // --- registry changes

    // Opens the value's key, creating it (and recording that) when missing.
    Fault openValueKey(const ScriptCommand& c, bool create, HKEY& key) {
        DWORD disposition = 0;
        LONG status = create ? RegCreateKeyExA(rootKey(c.root), c.subkey.c_str(), 0, nullptr, 0,
                                               KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key, &disposition)
                             : RegOpenKeyExA(rootKey(c.root), c.subkey.c_str(), 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                                             &key);
        if (status != ERROR_SUCCESS) return failed("cannot open " + keyPathOf(c), DWORD(status));
        if (disposition != REG_CREATED_NEW_KEY) return {};
        Fault fault = recordRegistry(kindRegistryCreateKey, keyPathOf(c), 0, "", "");
        if (!fault.empty()) RegCloseKey(key);
        return fault;
    }

    Fault setValue(const ScriptCommand& c) {
        HKEY key;
        if (Fault fault = openValueKey(c, true, key); !fault.empty()) return fault;
        RegistryValue earlier = queryValue(key, c.valueName);
        LONG status = RegSetValueExA(key, c.valueName.c_str(), 0, c.valueType,
                                     reinterpret_cast<const BYTE*>(c.data.data()), DWORD(c.data.size()));
        RegCloseKey(key);
        if (status != ERROR_SUCCESS) return failed("cannot set " + c.path, DWORD(status));
        return recordRegistry(earlier.present ? kindRegistryChangeValue : kindRegistryNewValue, c.path, c.valueType,
                              earlier.data, c.data);
    }

    Fault deleteValue(const ScriptCommand& c) {
        HKEY key;
        if (Fault fault = openValueKey(c, false, key); !fault.empty()) return fault;
        RegistryValue earlier = queryValue(key, c.valueName);
        LONG status = earlier.present ? RegDeleteValueA(key, c.valueName.c_str()) : LONG(ERROR_FILE_NOT_FOUND);
        RegCloseKey(key);
        if (status != ERROR_SUCCESS) return failed("cannot delete " + c.path, DWORD(status));
        return recordRegistry(kindRegistryDeleteValue, c.path, earlier.type, earlier.data, "");
    }

    Fault createKey(const ScriptCommand& c) {
        HKEY key;
        DWORD disposition = 0;
        LONG status = RegCreateKeyExA(rootKey(c.root), c.subkey.c_str(), 0, nullptr, 0, KEY_READ, nullptr, &key,
                                      &disposition);
        if (status != ERROR_SUCCESS) return failed("cannot create " + c.path, DWORD(status));
        RegCloseKey(key);
        if (disposition != REG_CREATED_NEW_KEY) return "the key exists already: " + c.path;
        return recordRegistry(kindRegistryCreateKey, c.path, 0, "", "");
    }

    Fault deleteKey(const ScriptCommand& c) {
        LONG status = RegDeleteKeyA(rootKey(c.root), c.subkey.c_str());
        if (status != ERROR_SUCCESS) return failed("cannot delete " + c.path, DWORD(status));
        return recordRegistry(kindRegistryDeleteKey, c.path, 0, "", "");
    }

    // --- boots

    // The monitor starts: it saves the Start Over set, then marks the boot.
    // Without a text of its own the marker is named by its moment, which the
    // clock makes unique.
    Fault boot(const std::string& text) {
        return recorded(writer.appendBootMarker(dosDate(stamp), dosTime(stamp), text), "", "filereport.000");
    }
};

}  // namespace

PlayOutcome playScript(std::span<const ScriptCommand> commands, const std::string& undoBinPath) {
    return Player(undoBinPath).play(commands);
}
