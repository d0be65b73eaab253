// The headless display for a program with its own main: the stand-in starts
// it on the program's first call that needs a display, with the options of the
// program's command line, and the pictures are written when the program exits.
// The linker is told to keep this unit (-u kv318_headless_host).
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "display.h"
#include "headless_run.h"

namespace {

int program_argc = 0;
char** program_argv = nullptr;

#ifdef __GLIBC__
// The C library hands the command line to the program's initialisers as it does to main.
void remember_command_line(int argc, char** argv, char**) {
  program_argc = argc;
  program_argv = argv;
}
[[gnu::section(".init_array"), gnu::used]] void (*remember_command_line_at_start)(int, char**, char**) =
    remember_command_line;

void finish_at_exit(int status, void*) {
  int final_status = vk::runner::finish_run(status);
  if (final_status != status) {
    std::fflush(nullptr);
    _exit(final_status);
  }
}
#else
void finish_at_exit() { vk::runner::finish_run(0); }
#endif

void start_headless_display() {
  char fallback_name[] = "kv318-program";
  char* fallback_argv[] = {fallback_name, nullptr};
  if (program_argv) {
    vk::runner::begin_run(program_argc, program_argv, false);
  } else {
    vk::runner::begin_run(1, fallback_argv, false);
  }
#ifdef __GLIBC__
  on_exit(finish_at_exit, nullptr);
#else
  std::atexit(finish_at_exit);
#endif
}

const bool registered = (vk::set_display_starter(start_headless_display), true);

}  // namespace

extern "C" {
// Named on the link line so that this unit is linked even when nothing else refers to it.
extern const int kv318_headless_host;
const int kv318_headless_host = registered ? 1 : 0;
}
