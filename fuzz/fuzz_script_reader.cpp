// libFuzzer target for the script reader.
//
// Each input becomes the file KV318.SCR in a private temporary directory and
// is played back step by step to its end, skipping over unreadable lines. The
// events read are then recorded into a fresh script and played back again:
// every event the reader can produce must come back unchanged, and no step
// may read or write outside its buffers (AddressSanitizer, UBSan).
//
// Only the script unit is linked: the toolkit state is defined here, and the
// message log and menu check marks are stood in by functions that do no more
// than a formatting into a fixed buffer.
#include <unistd.h>

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "script.h"
#include "toolkit_state.h"

namespace kv318::detail {

ToolkitState toolkit;

void set_menu_check(UINT, bool) {}

}  // namespace kv318::detail

using namespace kv318::detail;

int KV318_log_message(const char* format, ...) {
  char buffer[LOG_BUFFER_SIZE];
  va_list args;
  va_start(args, format);
  const int length = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  return length;
}

namespace {

// A periodic line may stand for two billion events; a bounded prefix is enough.
constexpr int MAX_EVENTS = 4096;

struct Event {
  int kind;
  int x;
  int y;
  char key;
  bool operator==(const Event& other) const {
    if (kind != other.kind) return false;
    if (kind == EVENT_MOUSE) return x == other.x && y == other.y;
    if (kind == EVENT_KEYBOARD) return key == other.key;
    return true;
  }
};

void check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "script reader invariant broken: %s\n", what);
  std::abort();
}

// The private directory the script file lives in, and the directory to go
// back to after each input (libFuzzer opens corpus paths relative to it).
std::string private_directory;
std::string home_directory;

void remove_private_directory() {
  std::remove((private_directory + "/" + SCRIPT_FILE_NAME).c_str());
  rmdir(private_directory.c_str());
}

void make_private_directory() {
  char directory[] = "/tmp/vorkan-fuzz-script-XXXXXX";
  char here[4096];
  check(mkdtemp(directory) != nullptr && getcwd(here, sizeof here) != nullptr, "temporary directory");
  private_directory = directory;
  home_directory = here;
  std::atexit(remove_private_directory);
}

void change_directory(const std::string& directory) {
  check(chdir(directory.c_str()) == 0, "change of directory");
}

void write_script(const std::uint8_t* data, std::size_t size) {
  std::FILE* file = std::fopen(SCRIPT_FILE_NAME, "wb");
  check(file != nullptr, "script file created");
  if (size > 0) check(std::fwrite(data, 1, size, file) == size, "script file written");
  check(std::fclose(file) == 0, "script file closed");
}

void reset_state() {
  close_script_file();
  toolkit = ToolkitState{};
}

// Plays the open script to its end; an unreadable line is skipped the way a
// Play One request after it would go on with the next line.
std::vector<Event> play_to_end() {
  std::vector<Event> events;
  toggle_playback();
  while (static_cast<int>(events.size()) < MAX_EVENTS) {
    toolkit.pending_kind = EVENT_NONE;
    if (script_read_step() == 1) {
      check(toolkit.pending_kind >= EVENT_MOUSE && toolkit.pending_kind <= EVENT_PERIODIC, "event kind");
      check(toolkit.periodic_run >= 0, "periodic count");
      events.push_back({toolkit.pending_kind, toolkit.pending_x, toolkit.pending_y, toolkit.pending_key});
      continue;
    }
    check(toolkit.pending_kind == EVENT_NONE, "a failed step leaves the pending event alone");
    if (!toolkit.playback_active) {
      check(toolkit.script_file != nullptr, "the file stays open at its end");
      toolkit.playback_active = true;
      check(script_read_step() == 0 && !toolkit.playback_active, "the end is reported again");
      break;
    }
  }
  if (toolkit.playback_active) toggle_playback();
  return events;
}

// Records the events as KV318_next_event's recording hook does.
void record(const std::vector<Event>& events) {
  toggle_recording();
  for (const Event& event : events) {
    toolkit.pending_kind = event.kind;
    toolkit.pending_x = event.x;
    toolkit.pending_y = event.y;
    toolkit.pending_key = event.key;
    record_pending_event();
  }
  toggle_recording();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  make_private_directory();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  change_directory(private_directory);
  reset_state();
  write_script(data, size);
  const std::vector<Event> events = play_to_end();
  if (!events.empty()) {
    record(events);
    check(play_to_end() == events, "recorded events play back as read");
  }
  reset_state();
  change_directory(home_directory);
  return 0;
}
