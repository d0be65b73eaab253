// The page's program's main, for a program that supplies WinMain: reads the
// options the page passes (--seed N from ?seed=N), then calls WinMain on the
// web display as the platform would. The page learns of the end through the
// runtime's exit, called here: a main resumed after a wait returns to the
// browser's event loop, not to the runtime, so its return alone ends nothing.
#include <cstdio>
#include <cstdlib>

#include "display.h"
#include "program_options.h"
#include "web_display.h"

int main(int argc, char** argv) {
  vk::OptionsOutcome options = vk::read_program_options(argc, argv);
  if (!options.run) {
    std::fputs(options.message.c_str(), options.status == 0 ? stdout : stderr);
    return options.status;
  }
  static vk::web::WebDisplay display;
  vk::set_display(&display);
  std::exit(vk::run_winmain(argc, argv, SW_SHOWDEFAULT));
}
