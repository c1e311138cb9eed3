// Saved copies read from real files.

#include "engine/saved_copy_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "monitor/saved_copy.h"
#include "tests/engine/sample_content.h"
#include "tests/support/scratch_folder_win32.h"
#include "tests/support/settings_key_win32.h"

namespace {

class ReadSavedCopy : public testing::Test {
protected:
    // The copies lie in the Undo Bin, the only place they are read from.
    ReadSavedCopy() : folder_("retrace_saved_copy_test") { useUndoBin(folder_.path()); }
    ~ReadSavedCopy() override { installDefaultSettingsKey(); }
    std::string pathOf(const char* name) const { return folder_ / name; }
    std::string write(const char* name, const std::string& bytes) const {
        std::string path = pathOf(name);
        putFile(path, bytes);
        return path;
    }

private:
    ScratchFolder folder_;
};

}  // namespace

TEST_F(ReadSavedCopy, DecodesTheWholeContentOfACopyOfManyBlocks) {
    std::string content = textLike(100000) + randomBytes(40000);
    std::string path = write("copy.000", encodeSavedCopy(content));
    EXPECT_EQ(readSavedCopy(path), content);
}

TEST_F(ReadSavedCopy, ACopyOfEmptyContentGivesEmptyContent) {
    std::optional<std::string> content = readSavedCopy(write("copy.000", encodeSavedCopy("")));
    ASSERT_TRUE(content.has_value());
    EXPECT_EQ(*content, "");
}

TEST_F(ReadSavedCopy, AMissingEmptyOrDamagedFileGivesNothing) {
    EXPECT_EQ(readSavedCopy(pathOf("missing.000")), std::nullopt);
    EXPECT_EQ(readSavedCopy(write("empty.000", "")), std::nullopt);
    std::string damaged = encodeSavedCopy(textLike(5000));
    damaged.pop_back();
    EXPECT_EQ(readSavedCopy(write("copy.000", damaged)), std::nullopt);
}

TEST_F(ReadSavedCopy, ACopyIsReadableOnlyWhenItReadsBackWholeAndItsStartIsKeptForAPreview) {
    std::string content = textLike(50000);
    std::string good = write("good.000", encodeSavedCopy(content, BlockMethod::Compressed, 4096));
    EXPECT_TRUE(savedCopyReadable(good));
    SavedCopyStart start = peekSavedCopy(good, 100);
    EXPECT_EQ(start.start, content.substr(0, 100));
    EXPECT_EQ(start.total, content.size());

    std::string cut = encodeSavedCopy(content);
    cut.resize(cut.size() / 2);
    EXPECT_FALSE(savedCopyReadable(write("cut.000", cut)));
    EXPECT_FALSE(savedCopyReadable(pathOf("missing.000")));
    EXPECT_FALSE(savedCopyReadable(write("empty.000", "")));
}

TEST_F(ReadSavedCopy, ACopyOutsideTheUndoBinIsNeverRead) {
    ScratchFolder elsewhere("retrace_saved_copy_elsewhere");
    std::string outside = elsewhere / "copy.000";
    putFile(outside, encodeSavedCopy("someone else's"));
    EXPECT_EQ(readSavedCopy(outside), std::nullopt);
    EXPECT_EQ(readSavedCopy(pathOf("..\\retrace_saved_copy_elsewhere\\copy.000")), std::nullopt);
}
