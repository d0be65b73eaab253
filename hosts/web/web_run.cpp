#include "web_run.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "display.h"
#include "kv318_host.h"
#include "program_options.h"
#include "web_display.h"

namespace vk::web {
namespace {

const char* play_path = nullptr;

void start_playback() {
  if (!play_path) return;
  if (std::FILE* file = std::fopen(play_path, "rb")) KV318_host_play_file(file);
}

// argv without "--play FILE", which is remembered in play_path.
std::vector<char*> without_play(int argc, char** argv) {
  std::vector<char*> rest;
  for (int i = 0; i < argc; ++i) {
    if (i > 0 && std::strcmp(argv[i], "--play") == 0 && i + 1 < argc) {
      play_path = argv[++i];
      continue;
    }
    rest.push_back(argv[i]);
  }
  return rest;
}

}  // namespace
}  // namespace vk::web

void vk_web_run_winmain_program(int argc, char** argv, vk::host::SeedReceiver hand_seed) {
  std::vector<char*> args = vk::web::without_play(argc, argv);
  const int count = static_cast<int>(args.size());
  args.push_back(nullptr);
  vk::OptionsOutcome options = vk::read_program_options(count, args.data());
  if (!options.run) {
    std::fputs(options.message.c_str(), options.status == 0 ? stdout : stderr);
    std::exit(options.status);
  }
  if (hand_seed && options.seed_given) hand_seed(options.seed);
  static vk::web::WebDisplay display;
  display.on_loop_started(vk::web::start_playback);
  vk::set_display(&display);
  std::exit(vk_host_run_winmain(count, args.data(), SW_SHOWDEFAULT));
}
