#include "web_run.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "page_run.h"
#include "program_options.h"
#include "win32.h"

void vk_web_run_winmain_program(int argc, char** argv, vk::host::SeedReceiver hand_seed) {
  std::vector<char*> args = vk::web::begin_page_run(argc, argv);
  const int count = static_cast<int>(args.size()) - 1;
  vk::OptionsOutcome options = vk::read_program_options(count, args.data());
  if (!options.run) {
    std::fputs(options.message.c_str(), options.status == 0 ? stdout : stderr);
    std::exit(options.status);
  }
  if (hand_seed && options.seed_given) hand_seed(options.seed);
  std::exit(vk_host_run_winmain(count, args.data(), SW_SHOWDEFAULT));
}
