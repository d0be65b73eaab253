// A program's run in the page, for both kinds of program: one with WinMain
// (the host's main, web_main.cpp, or the scene's) and one with its own main
// (started on its first call that needs a display, by web_start.cpp).
#pragma once

#include <vector>

namespace vk::web {

// Makes the page's display the stand-in's display and arranges the run:
// "--play FILE" among the arguments (the script the page fetched for
// ?play=NAME) is played back from before the first event, as
// vorkan-headless --play does, and a program that ends without ever having
// asked for a message has its windows shown as it drew them. Returns the
// other arguments, argv[0] first, followed by a null pointer.
std::vector<char*> begin_page_run(int argc, char** argv);

}  // namespace vk::web
