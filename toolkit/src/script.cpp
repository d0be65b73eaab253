// Script recording and playback through the script file KV318.SCR.
//
// Recording writes one line per delivered event, with consecutive periodic
// events counted and written as one line; playback reads the lines back as
// the source of events. One handle and one counter serve both, so the mode
// the handle was opened in is remembered and recording and playback never
// share it: each ends the other before it touches the file.
#include "script.h"

#include <cstddef>
#include <cstdio>

#include "menu.h"
#include "script_line.h"
#include "toolkit_state.h"

namespace kv318::detail {

namespace {

void report_write_failure() {
  if (toolkit.script_write_failure_reported) return;
  toolkit.script_write_failure_reported = true;
  KV318_log_message("Cannot write script file %s\n", SCRIPT_FILE_NAME);
}

// Closes the handle without touching the periodic counter.
void release_handle() {
  if (toolkit.script_file == nullptr) return;
  const bool failed = std::fclose(toolkit.script_file) != 0;
  toolkit.script_file = nullptr;
  toolkit.script_line_rest_pending = false;
  if (failed && toolkit.script_mode == ScriptMode::writing) report_write_failure();
  toolkit.script_mode = ScriptMode::reading;
}

bool open_script_file(ScriptMode mode) {
  const bool reading = mode == ScriptMode::reading;
  toolkit.script_file = std::fopen(SCRIPT_FILE_NAME, reading ? "rt" : "wt");
  if (toolkit.script_file == nullptr) {
    if (reading)
      KV318_log_message("Cannot open script file %s for reading\n", SCRIPT_FILE_NAME);
    else
      KV318_log_message("Cannot open script file %s for writing\n", SCRIPT_FILE_NAME);
    return false;
  }
  toolkit.script_mode = mode;
  toolkit.script_write_failure_reported = false;
  return true;
}

// A handle open for writing exists only while recording, and recording ends
// before any step is read, so an open handle is always one to read from.
bool ensure_open_for_reading() {
  return toolkit.script_file != nullptr || open_script_file(ScriptMode::reading);
}

// Recording starts by closing any handle, so a handle left open for reading
// is met here only when lines are written without recording; it is released,
// never written into.
bool ensure_open_for_writing() {
  if (toolkit.script_file != nullptr && toolkit.script_mode == ScriptMode::reading) release_handle();
  return toolkit.script_file != nullptr || open_script_file(ScriptMode::writing);
}

void write_pending_periodic_run() {
  if (toolkit.periodic_run <= 0) return;
  script_write_event(EVENT_PERIODIC, 0, 0, 0);
  toolkit.periodic_run = 0;
}

void start_recording() {
  if (toolkit.playback_active) toggle_playback();
  close_script_file();  // a file left open by Play One or an ended playback
  toolkit.recording = true;
  set_menu_check(RUN_RECORD, true);
}

void end_recording() {
  toolkit.recording = false;
  set_menu_check(RUN_RECORD, false);
  write_pending_periodic_run();
  close_script_file();
}

// ---- Reading lines ----

constexpr int MAX_LINE_CHARACTERS = MAX_SCRIPT_LINE_CHARACTERS;
// Enough to tell a line of MAX_LINE_CHARACTERS ended by CR LF from a longer one.
constexpr int LINE_BUFFER_SIZE = MAX_LINE_CHARACTERS + 2;
// The most characters of an over-long line's rest skipped in one step, so that
// a line that never ends (a device or an endless pipe) never stalls the program.
constexpr long SKIP_STEP = 1L << 16;

// One line as read, without its line end. A line found to be too long is not
// read further: it is unreadable whatever follows.
struct ScriptLine {
  char text[LINE_BUFFER_SIZE];
  int length = 0;
  bool too_long = false;
};

enum class Skip { line_ended, more_to_skip, end_of_file };

// Skips at most SKIP_STEP characters of the rest of an over-long line.
Skip skip_rest_of_line(std::FILE* file) {
  for (long i = 0; i < SKIP_STEP; ++i) {
    const int c = std::getc(file);
    if (c == '\n') {
      toolkit.script_line_rest_pending = false;
      return Skip::line_ended;
    }
    if (c == EOF) {
      toolkit.script_line_rest_pending = false;
      return Skip::end_of_file;
    }
  }
  return Skip::more_to_skip;
}

// Reads up to and including the next newline, or until the line is known to be
// too long. A carriage return right before the newline belongs to the line end,
// so scripts written with CR LF line ends read the same. Returns false at the
// end of the file with nothing read.
bool read_line(std::FILE* file, ScriptLine& line) {
  line.length = 0;
  line.too_long = false;
  int c = EOF;
  while (line.length < LINE_BUFFER_SIZE && (c = std::getc(file)) != EOF && c != '\n') {
    line.text[line.length++] = static_cast<char>(c);
  }
  if (line.length == 0 && c == EOF) return false;
  const bool ended = c == '\n';
  if (ended && line.length > 0 && line.text[line.length - 1] == '\r') --line.length;
  if (!ended && line.length == LINE_BUFFER_SIZE) {
    line.too_long = true;
    toolkit.script_line_rest_pending = true;
    skip_rest_of_line(file);
  }
  line.too_long = line.too_long || line.length > MAX_LINE_CHARACTERS;
  return true;
}

enum class Read { line, end_of_file, only_empty_lines };

// Skips empty lines, at most SKIP_STEP of them in one step: an endless run of
// them is taken as one unreadable stretch, so it cannot stall the program.
Read read_nonempty_line(std::FILE* file, ScriptLine& line) {
  for (long skipped = 0; skipped < SKIP_STEP; ++skipped) {
    if (!read_line(file, line)) return Read::end_of_file;
    if (line.length > 0) return Read::line;
  }
  return Read::only_empty_lines;
}

// Puts the line's event into the pending fields; false (nothing changed) for
// an unreadable line.
bool parse_line(const ScriptLine& line) {
  ScriptEvent event;
  if (line.too_long || !read_script_event(line.text, line.length, event)) return false;
  toolkit.pending_kind = event.kind;
  if (event.kind == EVENT_KEYBOARD) toolkit.pending_key = event.key;
  if (event.kind == EVENT_MOUSE) {
    toolkit.pending_x = event.x;
    toolkit.pending_y = event.y;
  }
  // The line itself is the first of its periodic events; the counter keeps the rest.
  if (event.kind == EVENT_PERIODIC) toolkit.periodic_run = event.periodic_count - 1;
  return true;
}

}  // namespace

void toggle_recording() {
  if (toolkit.recording)
    end_recording();
  else
    start_recording();
}

void toggle_playback() {
  if (toolkit.playback_active) {
    toolkit.playback_active = false;
    set_menu_check(RUN_PLAYBACK, false);
    close_script_file();
    return;
  }
  if (toolkit.recording) end_recording();
  toolkit.animate = false;
  toolkit.single_frame = false;
  toolkit.playback_active = true;
  set_menu_check(RUN_PLAYBACK, true);
}

void request_play_one() {
  if (toolkit.recording) end_recording();
  toolkit.play_one_requested = true;
  toolkit.animate = false;
  toolkit.single_frame = false;
}

void script_write_event(int kind, int x, int y, char key) {
  if (!ensure_open_for_writing()) return;
  int written = 0;
  switch (kind) {
    case EVENT_MOUSE: written = std::fprintf(toolkit.script_file, "KV318_MOUSE(%d, %d);\n", x, y); break;
    case EVENT_KEYBOARD:
      written = std::fprintf(toolkit.script_file, "KV318_KBD(%d);\n", static_cast<int>(static_cast<signed char>(key)));
      break;
    case EVENT_PERIODIC: written = std::fprintf(toolkit.script_file, "KV318_PERIODIC(%d);\n", toolkit.periodic_run); break;
    default: break;
  }
  if (written < 0 || std::ferror(toolkit.script_file)) report_write_failure();
}

int script_read_step() {
  if (toolkit.recording) end_recording();
  if (!ensure_open_for_reading()) {
    stop_playback();
    return 0;
  }
  if (toolkit.periodic_run > 0) {
    --toolkit.periodic_run;
    toolkit.pending_kind = EVENT_PERIODIC;
    return 1;
  }
  const Skip skipped = toolkit.script_line_rest_pending ? skip_rest_of_line(toolkit.script_file) : Skip::line_ended;
  if (skipped == Skip::more_to_skip) return 0;  // still inside the over-long line: unreadable
  ScriptLine line;
  const Read read = skipped == Skip::end_of_file ? Read::end_of_file : read_nonempty_line(toolkit.script_file, line);
  if (read == Read::only_empty_lines) return 0;
  if (read == Read::end_of_file) {
    KV318_log_message("EOF encountered in script file %s\n", SCRIPT_FILE_NAME);
    stop_playback();
    return 0;
  }
  return parse_line(line) ? 1 : 0;
}

void stop_playback() {
  toolkit.playback_active = false;
  toolkit.play_one_requested = false;
  set_menu_check(RUN_PLAYBACK, false);
}

void close_script_file() {
  release_handle();
  toolkit.periodic_run = 0;
}

void finish_recording_for_shutdown() {
  if (toolkit.recording) write_pending_periodic_run();
}

// The recording hook: counts periodic events, writes any other event after the count before it.
void record_pending_event() {
  if (toolkit.pending_kind == EVENT_PERIODIC) {
    ++toolkit.periodic_run;
    return;
  }
  write_pending_periodic_run();
  script_write_event(toolkit.pending_kind, toolkit.pending_x, toolkit.pending_y, toolkit.pending_key);
}

}  // namespace kv318::detail
