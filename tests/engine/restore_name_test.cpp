#include "engine/restore_name.h"

#include <gtest/gtest.h>

#include <set>

namespace {
auto existing(std::set<std::string> names) {
    return [names = std::move(names)](const std::string& path) { return names.count(path) > 0; };
}
}  // namespace

TEST(MakeRestoreName, PutsTheSuffixBeforeTheExtensionOnceMorePerNameTaken) {
    EXPECT_EQ(makeRestoreName("C:\\Docs\\report.doc", ".undo", existing({})), "C:\\Docs\\report.undo.doc");
    EXPECT_EQ(makeRestoreName("C:\\Docs\\report.doc", ".undo", existing({"C:\\Docs\\report.undo.doc"})),
              "C:\\Docs\\report.undo.undo.doc");
    EXPECT_EQ(makeRestoreName("C:\\Docs\\README", ".undo", existing({})), "C:\\Docs\\README.undo");
    EXPECT_EQ(makeRestoreName("C:\\Docs.old\\README", ".undo", existing({})), "C:\\Docs.old\\README.undo");
    // The file itself is never a candidate: it is there now, and the name
    // without a suffix is never tried.
    EXPECT_EQ(makeRestoreName("C:\\Docs\\report.doc", ".undo", existing({"C:\\Docs\\report.doc"})),
              "C:\\Docs\\report.undo.doc");
}

TEST(MakeRestoreName, GivesUpRatherThanMakeAPathWindowsCannotHold) {
    auto everything = [](const std::string&) { return true; };
    EXPECT_EQ(makeRestoreName("C:\\Docs\\report.doc", ".undo", everything), "");
    EXPECT_EQ(makeRestoreName(std::string(255, 'a') + ".doc", ".undo", existing({})), "");
    EXPECT_EQ(makeRestoreName("C:\\report.doc", "", everything), "");
    EXPECT_EQ(makeRestoreName("C:\\report.doc", "", existing({})), "C:\\report.doc");
}
