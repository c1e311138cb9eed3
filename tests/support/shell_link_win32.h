#pragma once
// Shell links read back through the shell's own link object.

#include <windows.h>

#include <string>

struct LinkContents {
    std::string target, workingFolder, description;
    WORD hotKey = 0;
};

// What the link at that path holds; empty when there is none.
LinkContents readLink(const std::string& linkPath);

inline bool operator==(const LinkContents& a, const LinkContents& b) {
    return a.target == b.target && a.workingFolder == b.workingFolder && a.description == b.description &&
           a.hotKey == b.hotKey;
}
