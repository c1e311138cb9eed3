#include "tests/e2e/menu_probe_client_win32.h"

#include <psapi.h>

#include <algorithm>
#include <iterator>

#include "tests/e2e/automation_win32.h"
#include "tests/e2e/remote_block_win32.h"
#include "tests/e2e/menu_probe/menu_probe.h"
#include "tests/e2e/menu_probe/menu_windows_win32.h"

namespace {

const char probeName[] = "menu_probe.dll";
// Far more than any menu's listing.
const uint32_t listingCapacity = 1 << 20;

HMODULE probeModuleIn(HANDLE process) {
    HMODULE modules[1024];
    DWORD bytes = 0;
    if (!EnumProcessModules(process, modules, sizeof modules, &bytes)) return nullptr;
    for (size_t i = 0; i < std::min<size_t>(bytes / sizeof(HMODULE), std::size(modules)); ++i) {
        char name[MAX_PATH] = "";
        if (GetModuleBaseNameA(process, modules[i], name, sizeof name) && lstrcmpiA(name, probeName) == 0)
            return modules[i];
    }
    return nullptr;
}

// The probe's entry point in the process, loading the probe there first
// when it is not yet.
LPTHREAD_START_ROUTINE probeIn(HANDLE process) {
    const std::string path = windowsPath(MENU_PROBE_DLL);
    HMODULE remote = probeModuleIn(process);
    if (!remote) {
        // The system's own modules, LoadLibraryA's among them, lie at the
        // same address in every process.
        auto loadLibrary = reinterpret_cast<LPTHREAD_START_ROUTINE>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "LoadLibraryA")));
        RemoteBlock argument(process, path.size() + 1);
        if (!argument.write(path.c_str(), path.size() + 1) || !argument.run(loadLibrary)) return nullptr;
        remote = probeModuleIn(process);
    }
    // The entry point lies at the same offset from the module's start
    // wherever the module is loaded; mapping it here runs none of its code.
    static const HMODULE local = LoadLibraryExA(path.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    const FARPROC entry = local ? GetProcAddress(local, menuProbeExport) : nullptr;
    if (!remote || !entry) return nullptr;
    const uintptr_t offset = reinterpret_cast<uintptr_t>(entry) - reinterpret_cast<uintptr_t>(local);
    return reinterpret_cast<LPTHREAD_START_ROUTINE>(reinterpret_cast<uintptr_t>(remote) + offset);
}

// The listing of the menu the process shows, or nothing when it shows none.
std::optional<std::string> listingIn(HANDLE process, LPTHREAD_START_ROUTINE probe) {
    RemoteBlock block(process, menuProbeListingOffset + listingCapacity);
    if (!block.write(&listingCapacity, sizeof listingCapacity)) return std::nullopt;
    const std::optional<DWORD> length = block.run(probe);
    if (!length || *length > listingCapacity) return std::nullopt;
    std::string listing(*length, '\0');
    if (!block.read(menuProbeListingOffset, listing.data(), listing.size())) return std::nullopt;
    return listing;
}

// Indexed by MenuKey.
const UINT virtualKeys[] = {VK_HOME, VK_DOWN, VK_RIGHT, VK_RETURN};

}  // namespace

bool menuShown(DWORD processId) { return !menuWindowsOf(processId).empty(); }

std::optional<std::vector<MenuItemView>> readOpenMenu(DWORD processId, DWORD milliseconds) {
    HANDLE process = OpenProcess(PROCESS_CREATE_THREAD | PROCESS_QUERY_INFORMATION | PROCESS_VM_OPERATION |
                                     PROCESS_VM_READ | PROCESS_VM_WRITE,
                                 FALSE, processId);
    if (!process) return std::nullopt;
    LPTHREAD_START_ROUTINE probe = nullptr;
    std::optional<std::vector<MenuItemView>> items;
    waitUntil(
        [&] {
            if (!menuShown(processId)) return false;
            if (!probe) probe = probeIn(process);
            std::optional<std::string> listing = probe ? listingIn(process, probe) : std::nullopt;
            return listing && (items = readMenuListing(*listing));
        },
        milliseconds);
    CloseHandle(process);
    return items;
}

bool pressMenuKeys(DWORD processId, const std::vector<MenuKey>& keys) {
    const std::vector<HWND> windows = menuWindowsOf(processId);
    if (windows.empty()) return false;
    // The menu loop takes every key of its thread, whichever of its windows
    // the key is posted to.
    for (MenuKey key : keys) {
        const UINT virtualKey = virtualKeys[size_t(key)];
        PostMessageA(windows.front(), WM_KEYDOWN, virtualKey,
                     LPARAM(1) | LPARAM(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC)) << 16);
    }
    return true;
}

bool chooseMenuItem(DWORD processId, uint32_t id, DWORD milliseconds) {
    std::optional<std::vector<MenuItemView>> items = readOpenMenu(processId, milliseconds);
    const std::vector<MenuKey> keys = items ? menuKeysToChoose(*items, id) : std::vector<MenuKey>{};
    return !keys.empty() && pressMenuKeys(processId, keys);
}

bool closeOpenMenu(DWORD processId, DWORD milliseconds) {
    for (HWND window : menuWindowsOf(processId)) PostMessageA(window, WM_CANCELMODE, 0, 0);
    return waitUntil([&] { return !menuShown(processId); }, milliseconds);
}

bool closeMenuOnceShown(DWORD processId, DWORD milliseconds) {
    return waitUntil([&] { return menuShown(processId); }, milliseconds) && closeOpenMenu(processId, milliseconds);
}
