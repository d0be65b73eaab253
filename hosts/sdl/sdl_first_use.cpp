// The SDL display for a program with its own main: the stand-in starts it on
// the program's first call that needs a display, and the process ends quietly
// at exit. This unit is linked into every such program as an object of its
// own (the kv318 target carries it), so its registration below always runs before main.
#include <cerrno>
#include <cstdlib>

#include "display.h"
#include "sdl_run.h"
#include "standard_streams.h"

namespace {

#ifdef __GLIBC__
void end_at_exit(int status, void*) { vk::sdl::end_process(status); }
#endif

void start_on_first_use() {
  vk::host::reopen_closed_standard_streams();
#ifdef __GLIBC__
  const char* path = program_invocation_name;
#else
  const char* path = nullptr;
#endif
  vk::sdl::DisplayRequest request;
  request.program_path = path;
  if (!vk::sdl::start_display(request)) std::exit(1);
#ifdef __GLIBC__
  on_exit(end_at_exit, nullptr);
#endif
}

[[maybe_unused]] const bool registered = (vk::set_display_starter(start_on_first_use), true);

}  // namespace
