#pragma once
// The handle of a registry root named in a record's path.

#include <windows.h>

#include "engine/registry_path.h"

inline HKEY rootKeyOf(KeyRoot root) {
    switch (root) {
    case KeyRoot::ClassesRoot: return HKEY_CLASSES_ROOT;
    case KeyRoot::CurrentUser: return HKEY_CURRENT_USER;
    case KeyRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
    case KeyRoot::Users: return HKEY_USERS;
    case KeyRoot::CurrentConfig: return HKEY_CURRENT_CONFIG;
    case KeyRoot::DynData: return HKEY_DYN_DATA;
    }
    return nullptr;
}
