// Toolkit lifecycle and windows: the state record, opening and closing the
// toolkit, the two window handlers, the origin and copying the surface.
#include <cstdio>
#include <cstdlib>

#include "menu.h"
#include "script.h"
#include "toolkit_state.h"

namespace kv318::detail {

ToolkitState toolkit;

namespace {

constexpr DWORD GRAPHICS_WINDOW_STYLE = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD TEXT_WINDOW_STYLE = WS_OVERLAPPEDWINDOW;
constexpr COLORREF BACKGROUND_WHITE = RGB(255, 255, 255);

void register_window_class(HINSTANCE instance, const char* name, WNDPROC proc) {
  WNDCLASSA wc{};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = proc;
  wc.cbClsExtra = 0;
  wc.cbWndExtra = 0;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = CreateSolidBrush(BACKGROUND_WHITE);
  wc.lpszMenuName = "generic";
  wc.lpszClassName = name;
  RegisterClassA(&wc);
}

void update_origin(HWND hwnd) {
  RECT client;
  GetClientRect(hwnd, &client);
  toolkit.origin_x = client.left + (client.right - client.left) / 2;
  toolkit.origin_y = client.top + (client.bottom - client.top) / 2;
}

void copy_surface_to_window() {
  BitBlt(toolkit.window_dc, 0, 0, SURFACE_WIDTH, SURFACE_HEIGHT, toolkit.surface_dc, 0, 0, SRCCOPY);
}

void paint_graphics_window(HWND hwnd) {
  PAINTSTRUCT ps;
  BeginPaint(hwnd, &ps);
  copy_surface_to_window();
  EndPaint(hwnd, &ps);
  toolkit.refresh_pending = false;
}

void on_left_button(LPARAM lparam) {
  int cx = LOWORD(lparam);
  int cy = HIWORD(lparam);
  toolkit.pending_kind = EVENT_MOUSE;
  toolkit.pending_x = cx - toolkit.origin_x;
  toolkit.pending_y = toolkit.origin_y - cy;
}

void on_character(WPARAM code) {
  if (toolkit.ctrl_held) return;  // control combinations are commands
  toolkit.pending_kind = EVENT_KEYBOARD;
  toolkit.pending_key = static_cast<char>(code & 0xFF);
}

// Standard error when the program has one (a terminal, a pipe, a file);
// otherwise (a Windows program started from its icon) a message box.
void tell_user(const char* line) {
  HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
  if (error != nullptr && error != INVALID_HANDLE_VALUE && std::fputs(line, stderr) != EOF) {
    std::fflush(stderr);
    return;
  }
  MessageBoxA(nullptr, line, "KV318", MB_OK | MB_ICONERROR);
}

void on_destroy() {
  KillTimer(toolkit.graphics_window, TIMER_ID);
  PostQuitMessage(0);
}

}  // namespace

LRESULT CALLBACK graphics_window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      build_run_menu(hwnd);
      return 0;
    case WM_DESTROY:
      on_destroy();
      return 0;
    case WM_SIZE:
      update_origin(hwnd);
      return 0;
    case WM_PAINT:
      paint_graphics_window(hwnd);
      return 0;
    case WM_KEYDOWN:
      handle_key_down(wparam);
      return 0;
    case WM_KEYUP:
      handle_key_up(wparam);
      return 0;
    case WM_CHAR:
      on_character(wparam);
      return 0;
    case WM_COMMAND:
      run_menu_command(LOWORD(wparam));
      return 0;
    case WM_SETFOCUS:
      take_ctrl_from_keyboard();
      return 0;
    case WM_ENTERMENULOOP:
      enter_menu_loop();
      return 0;
    case WM_EXITMENULOOP:
      leave_menu_loop();
      return 0;
    case WM_TIMER:
      toolkit.timer_fired = true;
      return 0;
    case WM_LBUTTONDOWN:
      on_left_button(lparam);
      return 0;
    default:
      return DefWindowProcA(hwnd, message, wparam, lparam);
  }
}

LRESULT CALLBACK text_window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT:
      paint_message_log(hwnd);
      return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
      // Keys typed here are handled as if typed in the graphics window.
      PostMessageA(toolkit.graphics_window, message, wparam, lparam);
      return 0;
    case WM_SETFOCUS:
      take_ctrl_from_keyboard();
      return 0;
    default:
      return DefWindowProcA(hwnd, message, wparam, lparam);
  }
}

// The script file goes first: closing it may write a log line.
void reset_toolkit_state() {
  close_script_file();
  for (HGLOBAL block : toolkit.log_entries) {
    if (block) GlobalFree(block);
  }
  toolkit = ToolkitState{};
}

int show_text_window(int show) { return ShowWindow(toolkit.text_window, show ? SW_SHOW : SW_HIDE); }

void require_opened(const char* call) {
  if (toolkit.opened) return;
  char line[160];
  std::snprintf(line, sizeof line, "KV318_init was not called before %s: the program must call KV318_init first\n", call);
  tell_user(line);
  std::exit(1);
}

void present_surface() {
  if (!toolkit.refresh_pending) return;
  copy_surface_to_window();
  toolkit.refresh_pending = false;
}

}  // namespace kv318::detail

using namespace kv318::detail;

int KV318_init(HINSTANCE instance, int previous_instance, LPSTR, int show_mode) {
  toolkit.opened = true;
  if (!instance) {
    // Called from main rather than WinMain: the program's own module, windows shown as the platform's default.
    instance = GetModuleHandleA(nullptr);
    show_mode = SW_SHOWDEFAULT;
  }
  if (previous_instance == 0) {
    register_window_class(instance, "DrawWndClass", graphics_window_proc);
    register_window_class(instance, "TextWndClass", text_window_proc);
  }
  int screen_height = GetSystemMetrics(SM_CYSCREEN);
  toolkit.animate = false;
  toolkit.single_frame = false;
  toolkit.graphics_window = CreateWindowExA(0, "DrawWndClass", "KV318 Graphics", GRAPHICS_WINDOW_STYLE, 0, 0,
                                            SURFACE_WIDTH, SURFACE_HEIGHT, nullptr, nullptr, instance, nullptr);
  toolkit.text_window = CreateWindowExA(0, "TextWndClass", "KV318 Text", TEXT_WINDOW_STYLE, TEXT_WINDOW_X,
                                        TEXT_WINDOW_Y, SURFACE_WIDTH, screen_height / 3, nullptr, nullptr,
                                        instance, nullptr);
  toolkit.instance = instance;
  toolkit.window_dc = GetDC(toolkit.graphics_window);
  toolkit.surface = CreateCompatibleBitmap(toolkit.window_dc, SURFACE_WIDTH, SURFACE_HEIGHT);
  toolkit.surface_dc = CreateCompatibleDC(toolkit.window_dc);
  SelectObject(toolkit.surface_dc, toolkit.surface);
  ShowWindow(toolkit.text_window, show_mode);
  ShowWindow(toolkit.graphics_window, show_mode);
  SetTimer(toolkit.graphics_window, TIMER_ID, TIMER_PERIOD_MS, nullptr);
  return 1;
}

int KV318_shutdown() {
  require_opened("KV318_shutdown");
  ReleaseDC(toolkit.graphics_window, toolkit.window_dc);
  toolkit.window_dc = nullptr;
  finish_recording_for_shutdown();
  close_script_file();
  return 1;
}

int KV318_set_logging(int on) {
  if (!toolkit.graphics_window) return 0;
  toolkit.logging = on != 0;
  set_menu_check(RUN_LOGGING, toolkit.logging);
  if (toolkit.logging) show_text_window(1);
  return 1;
}
