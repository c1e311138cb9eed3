#pragma once
// The manual that ships beside the program as HTML pages, one page for each
// help context, in the folder "manual". It answers help where WinHelp cannot:
// no Windows since Vista reads a help file, and none can be made any more.

#include <string>
#include <string_view>

// The manual's page for a help context: its contents for -1, and for any
// context the manual has no page of its own for.
std::string_view helpTopicPage(int context);

// The page's full path, in the manual folder beside the program.
std::string helpTopicPath(std::string_view programPath, int context);

// What Help says when the page cannot be shown: the page is missing, or no
// program is registered to open .html pages. Both name where the manual is,
// so that a person can open it with a browser of their own.
std::string helpUnavailableText(std::string_view pagePath, bool pageExists);
