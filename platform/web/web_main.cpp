// The page's program's main, for a program that supplies WinMain: reads the
// options the page passes (--seed N from ?seed=N; --play FILE, a script the
// page fetched, played back from before the first event as vorkan-headless
// --play does), then calls WinMain on the web display as the platform would.
// The page learns of the end through the runtime's exit, called here: a main
// resumed after a wait returns to the browser's event loop, not to the
// runtime, so its return alone ends nothing.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "display.h"
#include "kv318_host.h"
#include "program_options.h"
#include "web_display.h"

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

int main(int argc, char** argv) {
  std::vector<char*> args = without_play(argc, argv);
  const int count = static_cast<int>(args.size());
  args.push_back(nullptr);
  vk::OptionsOutcome options = vk::read_program_options(count, args.data());
  if (!options.run) {
    std::fputs(options.message.c_str(), options.status == 0 ? stdout : stderr);
    return options.status;
  }
  static vk::web::WebDisplay display;
  display.on_loop_started(start_playback);
  vk::set_display(&display);
  std::exit(vk::run_winmain(count, args.data(), SW_SHOWDEFAULT));
}
