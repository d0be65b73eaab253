// The toolkit's single state record and the routines its units share.
// Internal to the toolkit: programs see only kv318.h. Everything the toolkit
// defines beside the KV318_ functions lives in kv318::detail, so that no name
// of a program's own can meet one of the toolkit's when the program is linked.
#pragma once

#include <cstdarg>
#include <cstdio>

#include "kv318.h"
#include "kv318_host.h"

namespace kv318::detail {

constexpr int SURFACE_WIDTH = 601;
constexpr int SURFACE_HEIGHT = 540;
constexpr int TEXT_WINDOW_X = 0;
constexpr int TEXT_WINDOW_Y = 550;
constexpr UINT_PTR TIMER_ID = 2;
constexpr UINT TIMER_PERIOD_MS = 50;
constexpr int LOG_CAPACITY = 25;
constexpr int LOG_BUFFER_SIZE = 1024;
constexpr int SCRIPT_LINE_SIZE = 512;
constexpr int EVENT_NONE = -1;
constexpr const char* SCRIPT_FILE_NAME = "KV318.SCR";

enum class ScriptMode { reading, writing };

// Everything the toolkit keeps between calls; reset_toolkit_state puts it all back.
struct ToolkitState {
  bool opened = false;              // KV318_init has run (it stays so after KV318_shutdown)
  HINSTANCE instance = nullptr;
  HWND graphics_window = nullptr;   // null while the toolkit is not open
  HWND text_window = nullptr;
  HDC window_dc = nullptr;          // held from KV318_init to KV318_shutdown
  HBITMAP surface = nullptr;        // SURFACE_WIDTH x SURFACE_HEIGHT offscreen image
  HDC surface_dc = nullptr;         // every drawing operation draws here
  HMENU run_menu = nullptr;
  int origin_x = 0;                 // surface pixel of toolkit point (0, 0)
  int origin_y = 0;
  bool refresh_pending = true;      // drawn on since last copied into the window
  int pending_kind = 0;             // EVENT_NONE or an EventKind
  int pending_x = 0;
  int pending_y = 0;
  char pending_key = 0;
  bool animate = false;             // periodic events are produced
  bool single_frame = false;        // one periodic event is requested
  bool timer_fired = false;         // a tick arrived since the last periodic event was armed
  bool quit_requested = false;      // never cleared
  long long periodic_delivered = 0; // periodic events KV318_next_event has returned since start-up
  bool ctrl_held = false;
  bool menu_loop_active = false;    // an open Run menu holds the program (WM_ENTERMENULOOP to WM_EXITMENULOOP)
  bool logging = true;              // drawing calls describe themselves in the log
  HGLOBAL log_entries[LOG_CAPACITY] = {};
  int log_head = -1;                // slot of the oldest line; -1 while empty
  int log_tail = 0;                 // slot the next line goes into
  bool recording = false;
  bool playback_active = false;
  bool play_one_requested = false;
  std::FILE* script_file = nullptr;
  // How the open script file was opened. A handle opened elsewhere (the host's
  // played file) counts as open for reading.
  ScriptMode script_mode = ScriptMode::reading;
  bool script_write_failure_reported = false;  // later failed writes to the open file stay quiet
  bool script_line_rest_pending = false;       // the last line read was too long; its rest is still in the file
  int periodic_run = 0;             // run-length counter of periodic events
};

extern ToolkitState toolkit;

// Whom the host asked to tell (kv318_host.h). Host configuration, not toolkit
// state: the host may set it before KV318_init, and reset_toolkit_state keeps
// it. Initialised at compile time, so even a static initializer may set it.
struct HostObservers {
  KV318_LogObserver log = nullptr;
  KV318_EventObserver events = nullptr;
  KV318_DrawObserver drawing = nullptr;
};

extern HostObservers host_observers;

// Windows and lifecycle.
LRESULT CALLBACK graphics_window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT CALLBACK text_window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
int show_text_window(int show);
void present_surface();
// Ends the program with one line (status 1) when KV318_init has not run yet:
// a program that forgot it would wait for events of windows that never opened.
// `call` names the toolkit call the program made.
void require_opened(const char* call);

// Event loop.
// Writes the pending event to the script file as the recording hook does.
void record_pending_event();

// Run menu and control keys.
void build_run_menu(HWND hwnd);
void run_menu_command(UINT id);
void handle_key_down(WPARAM key);
void handle_key_up(WPARAM key);
void take_ctrl_from_keyboard();
void enter_menu_loop();
void leave_menu_loop();
void toggle_logging();
// Sets or removes the check mark of the Run menu item with this identifier.
void set_menu_check(UINT id, bool checked);

// Script recording and playback.
void toggle_recording();
void toggle_playback();
void request_play_one();
void script_write_event(int kind, int x, int y, char key);
// 1 when it put an event into the pending fields; 0 when it did not and
// playback ends (the end of the file, an unreadable line, no file);
// SCRIPT_STEP_READS_ON when it met only empty lines so far: nothing to
// deliver yet, and the next step reads on where this one stopped.
constexpr int SCRIPT_STEP_READS_ON = -1;
int script_read_step();
void stop_playback();
void close_script_file();

// Message log.
void paint_message_log(HWND hwnd);

// vsnprintf's result and text, faster for the conversions log messages use.
int format_message(char* buffer, size_t size, const char* format, va_list args);

// Releases what the state record owns (the script file, the log's blocks) and
// puts every field back to its start value.
void reset_toolkit_state();

}  // namespace kv318::detail
