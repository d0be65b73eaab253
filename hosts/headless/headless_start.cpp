// The headless display for a program with its own main: the stand-in starts
// it on the program's first call that needs a display, with the runner's
// options read from the program's command line, and the outputs are written
// when the program exits. This unit is linked into every such program as an
// object of its own (the kv318-headless target carries it), so its
// registration below always runs before main.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "display.h"
#include "end_request.h"
#include "headless_run.h"

namespace {

// The process's own command line, as the kernel keeps it: NUL-separated words.
std::vector<std::string> read_command_line() {
  std::vector<std::string> words;
  std::FILE* file = std::fopen("/proc/self/cmdline", "rb");
  if (!file) return words;
  std::string word;
  for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) {
    if (c != '\0') {
      word += static_cast<char>(c);
      continue;
    }
    words.push_back(word);
    word.clear();
  }
  if (!word.empty()) words.push_back(word);
  std::fclose(file);
  return words;
}

#ifdef __GLIBC__
void finish_at_exit(int status, void*) {
  int final_status = vk::runner::finish_run(status);
  if (vk::end_signal() != 0) vk::end_process_as_asked(final_status);
  if (final_status != status) {
    std::fflush(nullptr);
    _exit(final_status);
  }
}
#else
void finish_at_exit() {
  const int status = vk::runner::finish_run(0);
  if (vk::end_signal() != 0) vk::end_process_as_asked(status);
}
#endif

void start_headless_display() {
  // Kept to the end of the process: the runner holds on to its argv.
  static std::vector<std::string> words = read_command_line();
  static std::vector<char*> argv;
  if (words.empty()) words.push_back("kv318-program");
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  vk::runner::begin_run(static_cast<int>(words.size()), argv.data(), false);
#ifdef __GLIBC__
  on_exit(finish_at_exit, nullptr);
#else
  std::atexit(finish_at_exit);
#endif
}

[[maybe_unused]] const bool registered = (vk::set_display_starter(start_headless_display), true);

}  // namespace
