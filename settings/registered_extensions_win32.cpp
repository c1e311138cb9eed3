#include "settings/registered_extensions_win32.h"

#include <windows.h>

#include "settings/data_file_extensions.h"
#include "settings/settings_store_win32.h"

std::string registeredExtensionAt(unsigned index, bool& end) {
    char name[MAX_PATH] = "";
    LONG result = RegEnumKeyA(HKEY_CLASSES_ROOT, index, name, sizeof name);
    // Any failure but a name too long for the buffer ends the walk: a
    // failing enumeration would otherwise be asked for the next index forever.
    if (result != ERROR_SUCCESS) {
        if (result != ERROR_MORE_DATA) end = true;
        return "";
    }
    if (name[0] != '.') return "";

    char typeName[MAX_PATH] = "";
    LONG typeSize = sizeof typeName;
    if (RegQueryValueA(HKEY_CLASSES_ROOT, name, typeName, &typeSize) != ERROR_SUCCESS ||
        typeName[0] == '\0')
        return "";

    std::string openCommand = std::string(typeName) + "\\shell\\open\\command";
    HKEY command;
    if (RegOpenKeyA(HKEY_CLASSES_ROOT, openCommand.c_str(), &command) != ERROR_SUCCESS) return "";
    RegCloseKey(command);
    return name + 1;
}

std::vector<std::string> registeredExtensions() {
    std::vector<std::string> registered;
    bool end = false;
    for (unsigned index = 0; !end; ++index) {
        std::string extension = registeredExtensionAt(index, end);
        if (!extension.empty()) registered.push_back(std::move(extension));
    }
    return registered;
}

std::vector<std::string> buildDataFileExtensions() {
    Settings settings;
    loadSettings(settings);
    return dataFileExtensionsFrom(registeredExtensions(), settings);
}
