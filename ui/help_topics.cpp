#include "ui/help_topics.h"

#include "base/paths.h"

namespace {

struct HelpTopic {
    int context;
    std::string_view page;
};

// By the context numbers of the toolkit's HelpContext.
constexpr HelpTopic topics[] = {
    {-1, "index.html"},
    {2, "options-settings.html"},
    {3, "options-ignore-groups.html"},
    {4, "options-ignore-files.html"},
    {5, "options-file-list.html"},
    {6, "options-information.html"},
    {7, "options-about.html"},
    {8, "find-create.html"},
    {9, "find-modify.html"},
    {10, "find-rename.html"},
    {11, "find-copy.html"},
    {12, "find-move.html"},
    {13, "find-download.html"},
    {14, "history-files.html"},
    {15, "history-programs.html"},
    {16, "history-control-panel.html"},
    {17, "undo-program.html"},
    {18, "confirm-file-undo.html"},
    {19, "confirm-control-panel-undo.html"},
    {20, "confirm-file-group-undo.html"},
    {21, "undo-control-panel-session.html"},
    {22, "confirm-session-undo.html"},
    {23, "wizard.html"},
    {24, "start-over.html"},
    {25, "undo-preview.html"},
};

}  // namespace

std::string_view helpTopicPage(int context) {
    for (const HelpTopic& topic : topics)
        if (topic.context == context) return topic.page;
    return topics[0].page;
}

std::string helpTopicPath(std::string_view programPath, int context) {
    return fileBeside(programPath, "manual") + "\\" + std::string(helpTopicPage(context));
}

std::string helpUnavailableText(std::string_view pagePath, bool pageExists) {
    const std::string page(pagePath);
    const std::string folder = page.substr(0, page.rfind('\\'));
    const std::string why = pageExists ? "No program is set up to open web pages (.html), so Help cannot be shown."
                                       : "The page of the manual for this window is missing.";
    return why + "\n\nThe manual is in the folder:\n" + folder + "\n\nOpen " +
           page.substr(folder.size() + (folder.size() < page.size() ? 1 : 0)) + " there with a web browser.";
}
