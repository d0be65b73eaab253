// The toolkit's single state record and the routines its units share.
// Internal to the toolkit: programs see only kv318.h.
#pragma once

#include <cstdarg>
#include <cstdio>

#include "kv318.h"
#include "kv318_host.h"

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

struct ToolkitState {
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
  bool ctrl_held = false;
  bool logging = true;              // drawing calls describe themselves in the log
  HGLOBAL log_entries[LOG_CAPACITY] = {};
  int log_head = -1;                // slot of the oldest line; -1 while empty
  int log_tail = 0;                 // slot the next line goes into
  bool recording = false;
  bool playback_active = false;
  bool play_one_requested = false;
  std::FILE* script_file = nullptr;
  int periodic_run = 0;             // run-length counter of periodic events
};

extern ToolkitState toolkit;

// Windows and lifecycle.
LRESULT CALLBACK graphics_window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT CALLBACK text_window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
int show_text_window(int show);
void present_surface();

// Event loop.
void pump_one_message();
// Writes the pending event to the script file as the recording hook does.
void record_pending_event();

// Run menu and control keys.
void build_run_menu(HWND hwnd);
void run_menu_command(UINT id);
void handle_key_down(WPARAM key);
void handle_key_up(WPARAM key);
void toggle_logging();
// Sets or removes the check mark of the Run menu item with this identifier.
void set_menu_check(UINT id, bool checked);

// Script recording and playback.
void toggle_recording();
void toggle_playback();
void request_play_one();
void script_write_event(int kind, int x, int y, char key);
int script_read_step();
void stop_playback();
void close_script_file();

// Message log.
void paint_message_log(HWND hwnd);

// Diagnostics for the headless runner and tests (not part of the public interface):
// how many periodic events KV318_next_event has returned since start-up.
long long periodic_events_delivered();
void reset_periodic_count();
// Sees every message-log line as it is written (the headless runner's --log).
// vsnprintf's result and text, faster for the conversions log messages use.
int format_message(char* buffer, size_t size, const char* format, va_list args);

using LogObserver = KV318_LogObserver;
void set_log_observer(LogObserver observer);
// Puts every field back to its start value, releasing the log's blocks and the script file.
void reset_toolkit_state();
