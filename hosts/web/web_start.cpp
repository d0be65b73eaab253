// What every program in a page links as an object of its own (the kv318-web
// target carries it): the page's display for a program with its own main,
// started on the program's first call that needs a display with the page's
// options (the page's arguments, as the program's own main also gets them),
// and the calls the page makes into the program while it waits.
#include <emscripten.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "display.h"
#include "kv318_host.h"
#include "page_run.h"

extern "C" {
// The page's arguments, one a line, in a block the caller frees (web_display.js).
char* vk_web_page_arguments();
}

namespace {

std::vector<std::string> page_arguments() {
  std::vector<std::string> words{"page"};
  char* text = vk_web_page_arguments();
  std::string word;
  for (const char* c = text; c && *c; ++c) {
    if (*c != '\n') {
      word += *c;
      continue;
    }
    words.push_back(word);
    word.clear();
  }
  std::free(text);
  return words;
}

void start_page_display() {
  // Kept to the end of the program: the run holds on to the --play path.
  static std::vector<std::string> words = page_arguments();
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  vk::web::begin_page_run(static_cast<int>(argv.size()), argv.data());
}

[[maybe_unused]] const bool registered = (vk::set_display_starter(start_page_display), true);

}  // namespace

// The page's buttons: Download, Load a script and the video of a played
// script work on the program's script file between its events.
extern "C" {

EMSCRIPTEN_KEEPALIVE int vk_web_page_script_state() { return KV318_host_script_state(); }

EMSCRIPTEN_KEEPALIVE int vk_web_page_close_script() { return KV318_host_close_script(); }

// Plays KV318.SCR from its first line, as Playback does; 0 when the toolkit is not open or there is no script.
EMSCRIPTEN_KEEPALIVE int vk_web_page_play_script() {
  KV318_host_close_script();
  std::FILE* file = std::fopen("KV318.SCR", "r");
  if (file && KV318_host_play_file(file)) return 1;
  if (file) std::fclose(file);
  return 0;
}

}  // extern "C"
