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
