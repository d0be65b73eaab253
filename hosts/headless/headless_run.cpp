// The headless runner: a KV318 program (vorkan-headless: the scene) on the headless display.
//
// Reads its options, arranges the run (seed, logging, playback, pictures)
// before the program's entry routine runs, and writes the pictures after it. The run ends
// as the close box would end it once --ticks periodic events have been
// delivered, or when the program waits for input that nothing will give.
//
// Every output is written so that a failure never harms what was at its path
// (see output_file.h); a failed output is reported with the system's reason
// and makes the exit status 1. Options that cannot work are refused before
// the run with one line and status 2.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "display.h"
#include "headless.h"
#include "headless_run.h"
#include "kv318_host.h"
#include "output_file.h"
#include "png_writer.h"
#include "script_check.h"
#include "user.h"

namespace {

constexpr long long DEFAULT_TICKS = 200;
constexpr int STATUS_OUTPUT_FAILED = 1;
constexpr int STATUS_REFUSED = 2;

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
  std::string check_script;  // --check-script: check this script and end, running nothing
  bool log_unbuffered = false;
};

Options options;
std::FILE* script = nullptr;  // the --play file, handed to the toolkit at the first event
vk::OutputFile log_file;
std::FILE* log_out = nullptr;
std::FILE* log_in_place = nullptr;  // --log-unbuffered with a file: written where it lies
int log_error = 0;            // errno of the first failed log write
bool closing = false;
int frame_number = 0;
bool frames_failed = false;
bool output_failed = false;

std::string program_name = "vorkan-headless";

const char* const USAGE =
    "usage: %s [options]\n"
    "Runs the program without a display, on a virtual clock.\n"
    "  --seed N             the calendar clock reads N seconds at start-up (seeds the random generator)\n"
    "  --ticks N            end the run after N periodic events (default 200 without --play)\n"
    "  --play FILE          play FILE back as the script file from before the first event\n"
    "  --logging            switch drawing-call logging on before the first event\n"
    "  --log FILE|-         write every message-log line to FILE (- for standard output)\n"
    "  --log-unbuffered     write each log line out at once, so lines before a crash are kept\n"
    "                       (a file is then written in place, not renamed into place when whole)\n"
    "  --snapshot FILE      at exit, write the graphics window as last shown (PNG)\n"
    "  --text-snapshot FILE at exit, write the text window as last shown (PNG)\n"
    "  --frames DIR         write every frame of the graphics window as DIR/frame-NNNNN.png\n"
    "  --check-script FILE  check that playback reads every line of FILE, run nothing\n"
    "                       (status 2 and the first line it cannot read)\n"
    "  --help               show this help\n"
    "  --version            show the version\n";

[[noreturn]] void fail(const std::string& message) {
  std::fprintf(stderr, "%s: %s\n", program_name.c_str(), message.c_str());
  std::exit(STATUS_REFUSED);
}

void report_output_failure(const std::string& what, const std::string& path, int error) {
  std::fprintf(stderr, "%s: cannot write %s %s\n", program_name.c_str(), what.c_str(),
               vk::describe_failure(path, error).c_str());
  output_failed = true;
}

// --help and --version: a failure to write them is an error too.
[[noreturn]] void print_and_exit(const std::string& text) {
  const bool written = std::fputs(text.c_str(), stdout) != EOF && std::fflush(stdout) == 0 && !std::ferror(stdout);
  if (written) std::exit(0);
  std::fprintf(stderr, "%s: cannot write standard output: %s\n", program_name.c_str(), std::strerror(errno));
  std::exit(STATUS_OUTPUT_FAILED);
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
  if (argv[i + 1][0] == '\0') fail(std::string("option ") + argv[i] + " needs a value, not an empty one");
  return argv[++i];
}

std::string usage() {
  char text[2048];
  std::snprintf(text, sizeof text, USAGE, program_name.c_str());
  return text;
}

Options parse_options(int argc, char** argv) {
  Options parsed;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--help") {
      print_and_exit(usage());
    } else if (arg == "--version") {
      print_and_exit(program_name + " " + VORKAN_VERSION + "\n");
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
    } else if (arg == "--check-script") {
      parsed.check_script = option_value(argc, argv, i);
    } else if (arg == "--log-unbuffered") {
      parsed.log_unbuffered = true;
    } else {
      fail("unknown option '" + arg + "' (see --help)");
    }
  }
  if (parsed.ticks < 0 && parsed.play_file.empty()) parsed.ticks = DEFAULT_TICKS;
  return parsed;
}

// ---- Before the run ----

// A script must be a regular file or a pipe that can be read: a directory
// or a device would give no lines, or lines that never end.
std::FILE* open_script_file(const std::string& path, const char* use) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) fail("cannot read '" + path + "': " + std::strerror(errno));
  if (!S_ISREG(info.st_mode) && !S_ISFIFO(info.st_mode)) {
    fail(std::string("cannot ") + use + " '" + path + "': not a regular file or pipe");
  }
  std::FILE* file = std::fopen(path.c_str(), "r");
  if (!file) fail("cannot read '" + path + "': " + std::strerror(errno));
  return file;
}

void open_script() {
  if (!options.play_file.empty()) script = open_script_file(options.play_file, "play");
}

// --check-script: the first line playback could not read ends the process with
// status 2 and that line; a script it reads whole, with status 0.
[[noreturn]] void check_script_and_exit(const std::string& path) {
  std::FILE* file = open_script_file(path, "check");
  const std::optional<vk::host::UnreadableLine> bad = vk::host::first_unreadable_line(file, false);
  std::fclose(file);
  if (bad) {
    fail(path + ":" + std::to_string(bad->number) + ": playback cannot read this line: '" +
         vk::host::printable_line(bad->text) + "'");
  }
  std::exit(0);
}

// Writing an output over the script being played would destroy it.
void refuse_output_over_script(const std::string& option, const std::string& path) {
  if (script == nullptr || path.empty() || path == "-") return;
  struct stat script_info;
  struct stat output_info;
  if (fstat(fileno(script), &script_info) != 0 || stat(path.c_str(), &output_info) != 0) return;
  if (script_info.st_dev == output_info.st_dev && script_info.st_ino == output_info.st_ino) {
    fail("cannot write " + option + " '" + path + "': it is the script being played");
  }
}

// --log-unbuffered with a file: written in place from its first line, so that
// whatever was written before a crash stays in it (and no temporary file is left).
void open_log_in_place() {
  log_in_place = std::fopen(options.log_file.c_str(), "w");
  if (!log_in_place) fail("cannot write --log " + vk::describe_failure(options.log_file, errno));
  log_out = log_in_place;
}

void open_log() {
  if (options.log_file == "-") {
    log_out = stdout;
  } else if (options.log_unbuffered && !options.log_file.empty()) {
    open_log_in_place();
  } else if (!options.log_file.empty()) {
    if (!log_file.open(options.log_file)) {
      fail("cannot write --log " + vk::describe_failure(options.log_file, log_file.error()));
    }
    log_out = log_file.stream();
  }
}

void prepare_frames_directory() {
  const std::string& directory = options.frames_dir;
  if (directory.empty()) return;
  struct stat info;
  if (stat(directory.c_str(), &info) != 0 && mkdir(directory.c_str(), 0777) != 0) {
    fail("cannot make --frames " + vk::describe_failure(directory, errno));
  }
  if (stat(directory.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
    fail("cannot use '" + directory + "' as the frames directory: not a directory");
  }
  if (access(directory.c_str(), W_OK | X_OK) != 0) {
    fail("cannot write --frames " + vk::describe_failure(directory, errno));
  }
}

void prepare_run() {
  open_script();
  refuse_output_over_script("--log", options.log_file);
  refuse_output_over_script("--snapshot", options.snapshot);
  refuse_output_over_script("--text-snapshot", options.text_snapshot);
  prepare_frames_directory();
  open_log();
}

// ---- During the run ----

void write_log_line(const char* line) {
  bool written = std::fputs(line, log_out) != EOF;
  if (options.log_unbuffered) written = std::fflush(log_out) == 0 && written;
  if (!written && log_error == 0) log_error = errno != 0 ? errno : EIO;
}

// Before the program's first event: logging and playback, as Ctrl+L and Playback would.
void start_run() {
  if (options.logging) KV318_host_set_logging(1);
  if (script != nullptr && KV318_host_play_file(script)) script = nullptr;  // the toolkit owns it now
}

void close_graphics_window() {
  closing = true;
  vk::headless::close_window(KV318_host_graphics_window());
}

bool ticks_done() { return options.ticks >= 0 && KV318_host_periodic_events() >= options.ticks; }

// At every wait for input: the run ends when its ticks are done or nothing but a user could go on.
void end_run_when_due() {
  if (closing || !KV318_host_graphics_window()) return;
  if (ticks_done() || KV318_host_waits_for_user()) close_graphics_window();
}

// A program kept busy by playback may never wait for input, but it takes
// every event through the toolkit: the tick count is checked at each periodic
// event too. Other events are left to the next wait, so that --ticks 0 still
// plays a script's clicks and shows what they drew.
void on_event(int kind) {
  if (kind == EVENT_PERIODIC && !closing && ticks_done() && KV318_host_graphics_window()) close_graphics_window();
}

void write_frame(HWND hwnd, const std::uint32_t* pixels, int width, int height) {
  if (frames_failed || hwnd != KV318_host_graphics_window()) return;
  char name[32];
  std::snprintf(name, sizeof name, "/frame-%05d.png", frame_number++);
  const std::string path = options.frames_dir + name;
  int error = 0;
  if (!vk::write_png(path.c_str(), pixels, width, height, &error)) {
    frames_failed = true;  // reported once; no more frames are written
    report_output_failure("frame", path, error);
  }
}

// ---- After the run ----

// A program that ended without ever waiting for an event never showed its graphics
// window: take the surface as drawn, as the toolkit would have shown it.
bool surface_as_drawn(HWND hwnd, const std::string& path, std::vector<std::uint32_t>& pixels, int& width,
                      int& height) {
  if (hwnd != KV318_host_graphics_window() || !KV318_host_show_surface()) return false;
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
    output_failed = true;
    return;
  }
  int error = 0;
  if (!vk::write_png(path.c_str(), pixels.data(), width, height, &error)) {
    report_output_failure("snapshot", path, error);
  }
}

// The in-place log of --log-unbuffered: closed where it lies.
void finish_log_in_place() {
  if (std::fclose(log_in_place) != 0 && log_error == 0) log_error = errno != 0 ? errno : EIO;
  log_in_place = nullptr;
  if (log_error != 0) report_output_failure("--log", options.log_file, log_error);
}

void finish_log() {
  if (log_out == nullptr) return;
  if (log_out == log_in_place) {
    finish_log_in_place();
    return;
  }
  if (log_out == stdout) {
    if ((std::fflush(stdout) != 0 || std::ferror(stdout)) && log_error == 0) log_error = errno != 0 ? errno : EIO;
    if (log_error != 0) report_output_failure("--log", "standard output", log_error);
    return;
  }
  if (log_error != 0) {
    log_file.abandon();
    report_output_failure("--log", options.log_file, log_error);
  } else if (!log_file.commit()) {
    report_output_failure("--log", options.log_file, log_file.error());
  }
}

}  // namespace

namespace vk::runner {

void begin_run(int argc, char** argv, bool fresh) {
  if (argc > 0 && argv[0][0] != '\0') {
    program_name = argv[0];
    program_name = program_name.substr(program_name.find_last_of('/') + 1);
  }
  options = parse_options(argc, argv);
  if (!options.check_script.empty()) check_script_and_exit(options.check_script);
  prepare_run();
  if (fresh) {
    vk::headless::reset();
  } else {
    vk::headless::install();
  }
  if (log_out) KV318_host_observe_log(write_log_line);
  vk::headless::set_loop_start_handler(start_run);
  vk::headless::set_idle_handler(end_run_when_due);
  KV318_host_observe_events(on_event);
  if (!options.frames_dir.empty()) vk::headless::set_present_handler(write_frame);
}

int finish_run(int status) {
  if (!options.snapshot.empty()) write_snapshot(KV318_host_graphics_window(), options.snapshot);
  if (!options.text_snapshot.empty()) write_snapshot(KV318_host_text_window(), options.text_snapshot);
  finish_log();
  log_out = nullptr;
  KV318_host_observe_log(nullptr);
  if (script != nullptr) std::fclose(script);
  script = nullptr;
  return output_failed && status == 0 ? STATUS_OUTPUT_FAILED : status;
}

bool given_seed(long long& seed) {
  if (options.seed_given) seed = options.seed;
  return options.seed_given;
}

}  // namespace vk::runner
