#include "engine/settings_undo_win32.h"

#include <windows.h>

#include "base/whole_file_win32.h"
#include "database/action_list.h"
#include "engine/ini_diff.h"
#include "engine/later_change.h"
#include "engine/registry_path.h"
#include "engine/registry_root_win32.h"
#include "engine/saved_copy_win32.h"

namespace {

bool validIndex(int index) { return index >= 0 && index < actionCount(); }

void setValue(const RegistryUndo& undo) {
    HKEY key;
    if (RegCreateKeyExA(rootKeyOf(undo.path.root), undo.path.subkey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, undo.path.valueName.c_str(), 0, undo.valueType,
                   reinterpret_cast<const BYTE*>(undo.data.data()), DWORD(undo.data.size()));
    RegCloseKey(key);
}

void deleteValue(const RegistryUndo& undo) {
    HKEY key;
    if (RegOpenKeyExA(rootKeyOf(undo.path.root), undo.path.subkey.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    RegDeleteValueA(key, undo.path.valueName.c_str());
    RegCloseKey(key);
}

void writeProfileEntry(const std::string& file, const IniChange& change, const char* value) {
    WritePrivateProfileStringA(change.section.c_str(), change.key.c_str(), value, file.c_str());
}

}  // namespace

void undoRegistryAction(int index) {
    if (!validIndex(index)) return;
    std::optional<RegistryUndo> undo = registryUndoOf(actionList[index]);
    if (!undo) return;
    if (undo->action == RegistryUndo::Action::SetValue) {
        setValue(*undo);
        return;
    }
    if (undo->action == RegistryUndo::Action::DeleteValue) {
        deleteValue(*undo);
        return;
    }
    // A key that holds keys of its own stays: those may be another
    // program's, made after this change.
    RegDeleteKeyA(rootKeyOf(undo->path.root), undo->path.subkey.c_str());
}

std::string laterFileContent(int index) {
    if (!validIndex(index)) return {};
    if (std::optional<size_t> later = laterChangeOf(actionList, size_t(index)))
        return readSavedCopy(actionList[*later].dataC).value_or(std::string{});
    return readWholeFile(actionList[index].dataA).bytes;
}

void undoSettingsFile(int index) {
    if (!validIndex(index)) return;
    std::optional<std::string> earlier = readSavedCopy(actionList[index].dataC);
    if (!earlier) return;
    std::string later = laterFileContent(index);
    if (sameSettingsText(*earlier, later)) return;

    const std::string file = actionList[index].dataA;
    std::vector<IniChange> changes = diffIniTexts(*earlier, later);
    // Clears first: a changed entry is both a clear of its later line and a
    // restore of its earlier one, and must end with the earlier value.
    for (const IniChange& change : changes)
        if (change.operation == IniOperation::clear) writeProfileEntry(file, change, "");
    for (const IniChange& change : changes)
        if (change.operation == IniOperation::restore) writeProfileEntry(file, change, change.value.c_str());
}
