// A program that changes files and the registry as a person's programs do,
// for the recorder's end-to-end tests: one change per run, named on the
// command line. It is built under several names, so each change comes from
// a program the recorder can tell by name. It stays a moment after the
// change, as a program stays open after saving: the recorder learns who
// changed something from the programs running when it sees the change.
//
//   create|append|overwrite <file> <text>
//   rename <file> <new path>          (a move when the folder differs)
//   delete|recycle <file>
//   safe-save <file> <text>           (a temporary file renamed over the file)
//   ini <file> <section> <key> <value>
//   set-value <HKCU subkey> <name> <text>
//   delete-value <HKCU subkey> <name>
//   create-key|delete-key <HKCU subkey>
//   live <milliseconds>               (changes nothing: an unrelated program that comes and goes)

#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool write(const char* path, const char* text, DWORD disposition, DWORD access = GENERIC_WRITE) {
    HANDLE file = CreateFileA(path, access, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(file, text, DWORD(std::strlen(text)), &written, nullptr);
    CloseHandle(file);
    return ok;
}

bool recycle(const char* path) {
    std::string from = std::string(path) + '\0';
    SHFILEOPSTRUCTA operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    return SHFileOperationA(&operation) == 0 && !operation.fAnyOperationsAborted;
}

bool safeSave(const char* path, const char* text) {
    std::string temporary = std::string(path) + ".~tmp";
    return write(temporary.c_str(), text, CREATE_NEW) &&
           MoveFileExA(temporary.c_str(), path, MOVEFILE_REPLACE_EXISTING);
}

bool registry(const std::string& verb, const char* subkey, const char* name, const char* text) {
    if (verb == "delete-key") return RegDeleteKeyA(HKEY_CURRENT_USER, subkey) == ERROR_SUCCESS;
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, subkey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    LONG status = ERROR_SUCCESS;
    if (verb == "set-value")
        status = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), DWORD(std::strlen(text) + 1));
    else if (verb == "delete-value")
        status = RegDeleteValueA(key, name);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

bool act(int argc, char** argv) {
    if (argc < 3) return false;
    std::string verb = argv[1];
    const char* a = argv[2];
    const char* b = argc > 3 ? argv[3] : "";
    if (verb == "create") return write(a, b, CREATE_NEW);
    if (verb == "overwrite") return write(a, b, CREATE_ALWAYS);
    if (verb == "append") return write(a, b, OPEN_EXISTING, FILE_APPEND_DATA);
    if (verb == "rename") return MoveFileA(a, b);
    if (verb == "delete") return DeleteFileA(a);
    if (verb == "recycle") return recycle(a);
    if (verb == "safe-save") return safeSave(a, b);
    if (verb == "ini") return argc > 5 && WritePrivateProfileStringA(argv[3], argv[4], argv[5], a);
    return registry(verb, a, b, argc > 4 ? argv[4] : "");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "live") == 0) {
        Sleep(DWORD(std::atoi(argv[2])));
        return 0;
    }
    bool done = act(argc, argv);
    Sleep(1000);
    return done ? 0 : 1;
}
