// The manual's pages against the toolkit's help contexts: every context the
// program can ask for has a page of its own, and what the pages show and
// link to is there.

#include "ui/help_topics.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

namespace {

const std::filesystem::path manual = RETRACE_SOURCE_DIR "/docs/manual";

std::string contentOf(const std::filesystem::path& path) {
    std::ifstream file(path);
    std::stringstream content;
    content << file.rdbuf();
    return content.str();
}

// The values of the toolkit's HelpContext as its header declares them, so
// that a context added there is checked here without another list.
std::map<std::string, int> declaredHelpContexts() {
    const std::string header = contentOf(RETRACE_SOURCE_DIR "/ui/dialog_toolkit_win32.h");
    const size_t start = header.find("enum HelpContext");
    const std::string body = header.substr(start, header.find("};", start) - start);
    std::map<std::string, int> contexts;
    const std::regex value(R"((\w+)\s*=\s*(-?\d+))");
    for (std::sregex_iterator it(body.begin(), body.end(), value), end; it != end; ++it)
        contexts[(*it)[1]] = std::stoi((*it)[2]);
    return contexts;
}

// The local files a page shows or links to: its src and href targets but
// for web addresses and places within a page.
std::vector<std::string> referencedFiles(const std::string& page) {
    std::vector<std::string> files;
    const std::regex reference(R"re((?:src|href)="([^"#:]+)")re");
    for (std::sregex_iterator it(page.begin(), page.end(), reference), end; it != end; ++it) files.push_back((*it)[1]);
    return files;
}

}  // namespace

TEST(HelpTopics, EveryDeclaredContextHasAPageOfItsOwnAndOnlyTheContentsOpenTheContents) {
    const auto contexts = declaredHelpContexts();
    ASSERT_GE(contexts.size(), 22u);
    std::set<std::string> pages;
    for (const auto& [name, context] : contexts) {
        const std::string page(helpTopicPage(context));
        EXPECT_TRUE(std::filesystem::exists(manual / page)) << name << ": " << page;
        EXPECT_EQ(page == "index.html", context == -1) << name;
        EXPECT_TRUE(pages.insert(page).second) << name << " shares " << page;
    }
}

TEST(HelpTopics, TheContentsLinkEveryPageAndNoPageShowsOrLinksAMissingFile) {
    const std::string contents = contentOf(manual / "index.html");
    std::set<std::string> linked, shown;
    for (const std::string& file : referencedFiles(contents)) linked.insert(file);
    for (const auto& entry : std::filesystem::directory_iterator(manual)) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() != ".html") continue;
        if (name != "index.html") EXPECT_TRUE(linked.count(name)) << name << " is not in the contents";
        for (const std::string& file : referencedFiles(contentOf(entry.path()))) {
            EXPECT_TRUE(std::filesystem::exists(manual / file)) << name << ": " << file;
            shown.insert(file);
        }
    }
    // A picture no page shows is one the screenshot table no longer makes.
    for (const auto& picture : std::filesystem::directory_iterator(manual / "images"))
        EXPECT_TRUE(shown.count("images/" + picture.path().filename().string())) << picture.path();
}

TEST(HelpTopics, APageLiesInTheManualFolderBesideTheProgram) {
    EXPECT_EQ(helpTopicPath("C:\\Program Files\\Retrace\\retrace.exe", 2),
              "C:\\Program Files\\Retrace\\manual\\options-settings.html");
    EXPECT_EQ(helpTopicPath("C:\\Retrace\\retrace.exe", -1), "C:\\Retrace\\manual\\index.html");
    EXPECT_EQ(helpTopicPage(99), "index.html");  // a context of no page opens the contents
}
