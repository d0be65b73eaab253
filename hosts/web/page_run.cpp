#include "page_run.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "display.h"
#include "kv318_host.h"
#include "user.h"
#include "web_display.h"

namespace vk::web {
namespace {

WebDisplay page_display;
const char* play_path = nullptr;

void start_playback() {
  if (!play_path) return;
  if (std::FILE* file = std::fopen(play_path, "rb")) KV318_host_play_file(file);
}

// A program that never waited never showed its windows: show them as drawn,
// so that the page keeps the program's last picture.
void show_windows_at_exit() {
  if (page_display.loop_started() || !KV318_host_graphics_window()) return;
  KV318_host_show_surface();
  show_changed_windows();
}

}  // namespace

std::vector<char*> begin_page_run(int argc, char** argv) {
  std::vector<char*> rest;
  for (int i = 0; i < argc; ++i) {
    if (i > 0 && std::strcmp(argv[i], "--play") == 0 && i + 1 < argc) {
      play_path = argv[++i];
      continue;
    }
    rest.push_back(argv[i]);
  }
  rest.push_back(nullptr);
  page_display.on_loop_started(start_playback);
  set_display(&page_display);
  std::atexit(show_windows_at_exit);
  return rest;
}

}  // namespace vk::web
