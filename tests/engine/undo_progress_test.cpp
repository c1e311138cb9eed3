#include "engine/undo_progress.h"

#include <gtest/gtest.h>

#include <vector>

TEST(UndoProgress, CountsWithThousandsSeparatorsAndNamesTheFile) {
    struct Case {
        size_t done, total;
        const char* text;
    };
    const Case cases[] = {
        {1, 1, "Undoing file.txt..."},
        {1, 2, "Undoing 1 of 2: file.txt..."},
        {1825, 3000, "Undoing 1,825 of 3,000: file.txt..."},
        {999, 1000000, "Undoing 999 of 1,000,000: file.txt..."},
    };
    for (const Case& c : cases) EXPECT_EQ(undoProgressText(c.done, c.total, "file.txt"), c.text);
}

TEST(UndoProgress, OneMessageKeepsTheFailureTextAndNamesEachFileUpToAScreenful) {
    const std::vector<std::string> two = {"C:\\a.doc", "C:\\b.doc"};
    EXPECT_EQ(undoFailuresText(two),
              std::string(undoFailedMessage) + "\n\nThese files could not be undone:\nC:\\a.doc\nC:\\b.doc");
    EXPECT_EQ(undoFailuresText(std::span(two).first(1)),
              std::string(undoFailedMessage) + "\n\nThis file could not be undone:\nC:\\a.doc");

    std::vector<std::string> many;
    for (int i = 0; i < 1025; ++i) many.push_back("f" + std::to_string(i));
    const std::string text = undoFailuresText(many);
    EXPECT_NE(text.find("\nf19\n... and 1,005 more."), std::string::npos) << text;
    EXPECT_EQ(text.find("f20"), std::string::npos);
}
