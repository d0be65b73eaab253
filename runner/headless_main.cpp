// The headless runner: a KV318 program (vorkan-headless: the scene) on the headless display.
//
// Reads its options, arranges the run (seed, logging, playback, pictures)
// before the program's entry routine runs, and writes the pictures after it. The run ends
// as the close box would end it once --ticks periodic events have been
// delivered, or when the program waits for input that nothing will give.
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <sys/stat.h>

#include "display.h"
#include "headless.h"
#include "headless_run.h"
#include "png_writer.h"
#include "random.h"
#include "toolkit_state.h"

namespace {

constexpr long long DEFAULT_TICKS = 200;

struct Options {
  bool seed_given = false;
  long long seed = 0;
  long long ticks = -1;  // -1: not given
  std::string play_file;
  bool logging = false;
  std::string log_file;
  std::string snapshot;
  std::string text_snapshot;
  std::string frames_dir;
};

Options options;
std::FILE* log_out = nullptr;
bool closing = false;
int frame_number = 0;
bool picture_failed = false;

std::string program_name = "vorkan-headless";

const char* const USAGE =
    "usage: %s [options]\n"
    "Runs the program without a display, on a virtual clock.\n"
    "  --seed N             the calendar clock reads N seconds at start-up (seeds the random generator)\n"
    "  --ticks N            end the run after N periodic events (default 200 without --play)\n"
    "  --play FILE          play FILE back as the script file from before the first event\n"
    "  --logging            switch drawing-call logging on before the first event\n"
    "  --log FILE|-         write every message-log line to FILE (- for standard output)\n"
    "  --snapshot FILE      at exit, write the graphics window as last shown (PNG)\n"
    "  --text-snapshot FILE at exit, write the text window as last shown (PNG)\n"
    "  --frames DIR         write every frame of the graphics window as DIR/frame-NNNNN.png\n"
    "  --help               show this help\n"
    "  --version            show the version\n";

[[noreturn]] void fail(const std::string& message) {
  std::fprintf(stderr, "%s: %s\n", program_name.c_str(), message.c_str());
  std::exit(2);
}

long long parse_number(const char* option, const char* text, long long low, long long high) {
  errno = 0;
  char* end = nullptr;
  long long value = std::strtoll(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || value < low || value > high) {
    fail(std::string("invalid number for ") + option + ": '" + text + "'");
  }
  return value;
}

const char* option_value(int argc, char** argv, int& i) {
  if (i + 1 >= argc) fail(std::string("option ") + argv[i] + " needs a value");
  return argv[++i];
}

Options parse_options(int argc, char** argv) {
  Options parsed;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--help") {
      std::printf(USAGE, program_name.c_str());
      std::exit(0);
    } else if (arg == "--version") {
      std::printf("%s %s\n", program_name.c_str(), VORKAN_VERSION);
      std::exit(0);
    } else if (arg == "--seed") {
      parsed.seed = parse_number("--seed", option_value(argc, argv, i), 0, UINT32_MAX);
      parsed.seed_given = true;
    } else if (arg == "--ticks") {
      parsed.ticks = parse_number("--ticks", option_value(argc, argv, i), 0, LLONG_MAX);
    } else if (arg == "--play") {
      parsed.play_file = option_value(argc, argv, i);
    } else if (arg == "--logging") {
      parsed.logging = true;
    } else if (arg == "--log") {
      parsed.log_file = option_value(argc, argv, i);
    } else if (arg == "--snapshot") {
      parsed.snapshot = option_value(argc, argv, i);
    } else if (arg == "--text-snapshot") {
      parsed.text_snapshot = option_value(argc, argv, i);
    } else if (arg == "--frames") {
      parsed.frames_dir = option_value(argc, argv, i);
    } else {
      fail("unknown option '" + arg + "' (see --help)");
    }
  }
  if (parsed.ticks < 0 && parsed.play_file.empty()) parsed.ticks = DEFAULT_TICKS;
  return parsed;
}

void write_log_line(const char* line) {
  std::fputs(line, log_out);
}

// Before the program's first event: logging and playback, as Ctrl+L and Playback would.
void start_run() {
  if (options.logging && !toolkit.logging) toggle_logging();
  if (options.play_file.empty()) return;
  std::FILE* script = std::fopen(options.play_file.c_str(), "r");
  if (!script) fail("cannot read '" + options.play_file + "': " + std::strerror(errno));
  toggle_playback();
  toolkit.script_file = script;
}

bool waits_for_nothing() {
  return !toolkit.animate && !toolkit.single_frame && !toolkit.playback_active && !toolkit.play_one_requested &&
         toolkit.pending_kind != EVENT_PERIODIC;
}

void end_run_when_due() {
  if (closing || !toolkit.graphics_window) return;
  bool ticks_done = options.ticks >= 0 && periodic_events_delivered() >= options.ticks;
  if (ticks_done || waits_for_nothing()) {
    closing = true;
    vk::headless::close_window(toolkit.graphics_window);
  }
}

void write_frame(HWND hwnd, const std::uint32_t* pixels, int width, int height) {
  if (hwnd != toolkit.graphics_window) return;
  char name[32];
  std::snprintf(name, sizeof name, "/frame-%05d.png", frame_number++);
  if (!vk::write_png((options.frames_dir + name).c_str(), pixels, width, height)) picture_failed = true;
}

// A program that ended without ever waiting for an event never showed its graphics
// window: take the surface as drawn, clipped to the client area as a present would.
bool surface_as_drawn(HWND hwnd, const std::string& path, std::vector<std::uint32_t>& pixels, int& width,
                      int& height) {
  if (hwnd != toolkit.graphics_window || !toolkit.surface_dc) return false;
  HDC window = GetDC(hwnd);
  BitBlt(window, 0, 0, SURFACE_WIDTH, SURFACE_HEIGHT, toolkit.surface_dc, 0, 0, SRCCOPY);
  ReleaseDC(hwnd, window);
  const vk::ClientPixels* client = vk::window_client_pixels(hwnd);
  if (!client) return false;
  pixels = client->pixels;
  width = client->width;
  height = client->height;
  std::fprintf(stderr, "%s: the program never waited for an event, so %s shows the surface as drawn\n",
               program_name.c_str(), path.c_str());
  return true;
}

void write_snapshot(HWND hwnd, const std::string& path) {
  std::vector<std::uint32_t> pixels;
  int width = 0;
  int height = 0;
  if (!vk::headless::last_presented(hwnd, pixels, width, height) &&
      !surface_as_drawn(hwnd, path, pixels, width, height)) {
    std::fprintf(stderr, "%s: no picture was shown for %s\n", program_name.c_str(), path.c_str());
    picture_failed = true;
    return;
  }
  if (!vk::write_png(path.c_str(), pixels.data(), width, height)) {
    std::fprintf(stderr, "%s: cannot write %s\n", program_name.c_str(), path.c_str());
    picture_failed = true;
  }
}

void open_outputs() {
  if (!options.play_file.empty()) {
    std::FILE* check = std::fopen(options.play_file.c_str(), "r");
    if (!check) fail("cannot read '" + options.play_file + "': " + std::strerror(errno));
    std::fclose(check);
  }
  if (options.log_file == "-") {
    log_out = stdout;
  } else if (!options.log_file.empty()) {
    log_out = std::fopen(options.log_file.c_str(), "w");
    if (!log_out) fail("cannot write '" + options.log_file + "': " + std::strerror(errno));
  }
  if (!options.frames_dir.empty()) {
    struct stat info;
    if (stat(options.frames_dir.c_str(), &info) != 0) mkdir(options.frames_dir.c_str(), 0777);
    if (stat(options.frames_dir.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
      fail("cannot use '" + options.frames_dir + "' as the frames directory");
    }
  }
}

}  // namespace

long long calendar_seconds() {
  return options.seed_given ? options.seed : static_cast<long long>(std::time(nullptr));
}

namespace vk::runner {

void begin_run(int argc, char** argv, bool fresh) {
  if (argc > 0 && argv[0][0] != '\0') {
    program_name = argv[0];
    program_name = program_name.substr(program_name.find_last_of('/') + 1);
  }
  options = parse_options(argc, argv);
  open_outputs();
  if (fresh) {
    vk::headless::reset();
  } else {
    vk::headless::install();
  }
  if (log_out) set_log_observer(write_log_line);
  vk::headless::set_loop_start_handler(start_run);
  vk::headless::set_idle_handler(end_run_when_due);
  if (!options.frames_dir.empty()) vk::headless::set_present_handler(write_frame);
}

int finish_run(int status) {
  if (!options.snapshot.empty()) write_snapshot(toolkit.graphics_window, options.snapshot);
  if (!options.text_snapshot.empty()) write_snapshot(toolkit.text_window, options.text_snapshot);
  if (log_out && log_out != stdout) std::fclose(log_out);
  if (log_out == stdout) std::fflush(stdout);
  log_out = nullptr;
  set_log_observer(nullptr);
  return picture_failed && status == 0 ? 1 : status;
}

}  // namespace vk::runner
