// USER32 window classes, windows, painting, focus and system metrics.
#include <algorithm>
#include <cstring>

#include "gdi.h"
#include "kernel.h"
#include "user.h"
#include "user_internal.h"

namespace vk::user {

// Frame sizes of the classic Win32 look: the client area is what they leave.
constexpr int FIXED_FRAME = 3;
constexpr int SIZING_FRAME = 4;
constexpr int CAPTION_HEIGHT = 19;
constexpr int MENU_BAR_HEIGHT = 19;

State& state() {
  static State instance;
  return instance;
}

Window* find_window(HWND hwnd) {
  auto it = state().windows.find(hwnd);
  return it == state().windows.end() ? nullptr : it->second.get();
}

std::uintptr_t new_handle_value() {
  state().next_handle += 4;
  return state().next_handle;
}

void compute_client_size(const Window& window, int& client_width, int& client_height) {
  int frame = 0;
  if (window.style & WS_THICKFRAME) {
    frame = SIZING_FRAME;
  } else if (window.style & (WS_CAPTION | WS_BORDER | WS_DLGFRAME)) {
    frame = FIXED_FRAME;
  }
  int top = frame;
  if ((window.style & WS_CAPTION) == WS_CAPTION) top += CAPTION_HEIGHT;
  if (window.menu) top += MENU_BAR_HEIGHT;
  client_width = std::max(0, window.width - 2 * frame);
  client_height = std::max(0, window.height - top - frame);
}

bool update_client_size(Window& window) {
  int width = 0;
  int height = 0;
  compute_client_size(window, width, height);
  if (width == window.client.width && height == window.client.height) return false;
  window.client.width = width;
  window.client.height = height;
  // A fresh client area is white until its window paints it.
  window.client.pixels.assign(static_cast<size_t>(width) * height, 0x00FFFFFF);
  window.client.changed = true;
  gdi::attach_window(window.handle, &window.client);
  return true;
}

void send_size(Window& window) {
  window.proc(window.handle, WM_SIZE, SIZE_RESTORED, MAKELPARAM(window.client.width, window.client.height));
}

void kill_window_timers(HWND hwnd) {
  auto& timers = state().timers;
  timers.erase(std::remove_if(timers.begin(), timers.end(), [hwnd](const Timer& t) { return t.hwnd == hwnd; }),
               timers.end());
}

static HWND first_visible_window() {
  for (auto& entry : state().windows) {
    if (entry.second->visible) return entry.first;
  }
  return nullptr;
}

static void fill_background(Window& window, HDC dc) {
  HBRUSH brush = window.window_class->settings.hbrBackground;
  if (!brush) return;
  RECT rect{0, 0, window.client.width, window.client.height};
  FillRect(dc, &rect, brush);
}

}  // namespace vk::user

namespace vk {

ClientPixels* window_client_pixels(HWND hwnd) {
  user::Window* window = user::find_window(hwnd);
  return window ? &window->client : nullptr;
}

void reset_stand_in() {
  user::State& s = user::state();
  s.windows.clear();
  s.classes.clear();
  s.menus.clear();
  s.posted.clear();
  s.timers.clear();
  s.quit_posted = false;
  s.quit_code = 0;
  s.focus = nullptr;
  for (bool& down : s.key_down) down = false;
  s.typed = user::all_us_layout();
  s.caps_lock = false;
  s.loop_started = false;
  gdi::reset();
  kernel::reset();
}

}  // namespace vk

using namespace vk::user;

extern "C" {

ATOM WINAPI RegisterClassA(const WNDCLASSA* wc) {
  if (!wc || !wc->lpszClassName || !wc->lpfnWndProc) return 0;
  std::string name = wc->lpszClassName;
  if (state().classes.count(name)) return 0;  // already registered
  auto window_class = std::make_unique<WindowClass>();
  window_class->settings = *wc;
  window_class->name = name;
  window_class->settings.lpszClassName = window_class->name.c_str();
  window_class->settings.lpszMenuName = nullptr;  // only the name matters, and no such menu exists
  state().classes[name] = std::move(window_class);
  return static_cast<ATOM>(state().classes.size());
}

HWND WINAPI CreateWindowExA(DWORD, LPCSTR class_name, LPCSTR title, DWORD style, int x, int y, int width,
                            int height, HWND, HMENU menu, HINSTANCE, LPVOID param) {
  if (!class_name) return nullptr;
  auto found = state().classes.find(class_name);
  if (found == state().classes.end()) return nullptr;

  auto window = std::make_unique<Window>();
  Window& w = *window;
  w.handle = reinterpret_cast<HWND>(new_handle_value());
  w.window_class = found->second.get();
  w.proc = w.window_class->settings.lpfnWndProc;
  w.title = title ? title : "";
  w.style = style;
  w.x = x == CW_USEDEFAULT ? 0 : x;
  w.y = y == CW_USEDEFAULT ? 0 : y;
  w.width = width == CW_USEDEFAULT ? 400 : width;
  w.height = height == CW_USEDEFAULT ? 300 : height;
  w.menu = menu;
  HWND hwnd = w.handle;
  state().windows[hwnd] = std::move(window);
  vk::gdi::attach_window(hwnd, &w.client);
  update_client_size(w);

  vk::WindowGeometry geometry{w.x, w.y, w.width, w.height, w.client.width, w.client.height, w.title.c_str(),
                              (style & WS_THICKFRAME) != 0};
  vk::display().window_created(hwnd, geometry);

  CREATESTRUCTA create{param, nullptr, menu, nullptr, w.height, w.width, w.y, w.x,
                       static_cast<LONG>(style), w.title.c_str(), class_name, 0};
  if (w.proc(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
    DestroyWindow(hwnd);
    return nullptr;
  }
  Window* created = find_window(hwnd);
  if (!created) return nullptr;  // destroyed during its own creation
  created->created = true;
  update_client_size(*created);  // the menu bar may have been attached meanwhile
  send_size(*created);
  if (style & WS_VISIBLE) ShowWindow(hwnd, SW_SHOW);
  return hwnd;
}

BOOL WINAPI ShowWindow(HWND hwnd, int show) {
  Window* w = find_window(hwnd);
  if (!w) return FALSE;
  BOOL was_visible = w->visible ? TRUE : FALSE;
  bool visible = show != SW_HIDE;
  if (visible && !w->ever_shown) {
    w->ever_shown = true;
    w->invalid = true;
    w->erase_pending = true;
  }
  w->visible = visible;
  vk::display().window_shown(hwnd, visible);
  bool activates = show != SW_SHOWNA && show != SW_SHOWNOACTIVATE && show != SW_SHOWMINNOACTIVE &&
                   show != SW_SHOWMINIMIZED && show != SW_MINIMIZE;
  if (visible && activates) {
    state().focus = hwnd;
  } else if (!visible && state().focus == hwnd) {
    state().focus = first_visible_window();
  }
  return was_visible;
}

BOOL WINAPI UpdateWindow(HWND hwnd) {
  Window* w = find_window(hwnd);
  if (!w) return FALSE;
  if (w->visible && w->invalid) w->proc(hwnd, WM_PAINT, 0, 0);
  return TRUE;
}

BOOL WINAPI DestroyWindow(HWND hwnd) {
  Window* w = find_window(hwnd);
  if (!w) return FALSE;
  WNDPROC proc = w->proc;
  w->visible = false;
  kill_window_timers(hwnd);
  proc(hwnd, WM_DESTROY, 0, 0);
  proc(hwnd, WM_NCDESTROY, 0, 0);
  vk::display().window_destroyed(hwnd);
  vk::gdi::detach_window(hwnd);
  state().windows.erase(hwnd);
  if (state().focus == hwnd) state().focus = first_visible_window();
  return TRUE;
}

BOOL WINAPI IsWindow(HWND hwnd) { return find_window(hwnd) ? TRUE : FALSE; }

BOOL WINAPI IsWindowVisible(HWND hwnd) {
  Window* w = find_window(hwnd);
  return w && w->visible ? TRUE : FALSE;
}

LRESULT WINAPI DefWindowProcA(HWND hwnd, UINT msg, WPARAM wparam, LPARAM) {
  Window* w = find_window(hwnd);
  if (!w) return 0;
  switch (msg) {
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_ERASEBKGND:
      fill_background(*w, reinterpret_cast<HDC>(wparam));
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hwnd, &ps);
      EndPaint(hwnd, &ps);
      return 0;
    }
    default:
      return 0;
  }
}

BOOL WINAPI GetClientRect(HWND hwnd, LPRECT rect) {
  Window* w = find_window(hwnd);
  if (!w || !rect) return FALSE;
  *rect = RECT{0, 0, w->client.width, w->client.height};
  return TRUE;
}

BOOL WINAPI GetWindowRect(HWND hwnd, LPRECT rect) {
  Window* w = find_window(hwnd);
  if (!w || !rect) return FALSE;
  *rect = RECT{w->x, w->y, w->x + w->width, w->y + w->height};
  return TRUE;
}

int WINAPI GetWindowTextA(HWND hwnd, LPSTR buffer, int size) {
  Window* w = find_window(hwnd);
  if (!w || !buffer || size <= 0) return 0;
  int n = std::min(static_cast<int>(w->title.size()), size - 1);
  std::memcpy(buffer, w->title.data(), static_cast<size_t>(n));
  buffer[n] = '\0';
  return n;
}

HWND WINAPI GetFocus(void) { return state().focus; }

HWND WINAPI SetFocus(HWND hwnd) {
  HWND previous = state().focus;
  if (find_window(hwnd)) state().focus = hwnd;
  return previous;
}

int WINAPI GetSystemMetrics(int index) {
  switch (index) {
    case SM_CXSCREEN:
      return vk::display().screen_width();
    case SM_CYSCREEN:
      return vk::display().screen_height();
    default:
      return 0;
  }
}

HICON WINAPI LoadIconA(HINSTANCE, LPCSTR name) { return reinterpret_cast<HICON>(const_cast<char*>(name)); }

HCURSOR WINAPI LoadCursorA(HINSTANCE, LPCSTR name) { return reinterpret_cast<HCURSOR>(const_cast<char*>(name)); }

BOOL WINAPI InvalidateRect(HWND hwnd, const RECT*, BOOL erase) {
  Window* w = find_window(hwnd);
  if (!w) return FALSE;
  w->invalid = true;
  if (erase) w->erase_pending = true;
  return TRUE;
}

HDC WINAPI BeginPaint(HWND hwnd, LPPAINTSTRUCT ps) {
  Window* w = find_window(hwnd);
  if (!w || !ps) return nullptr;
  HDC dc = vk::gdi::open_window_dc(hwnd);
  *ps = PAINTSTRUCT{};
  ps->hdc = dc;
  ps->rcPaint = RECT{0, 0, w->client.width, w->client.height};
  w->invalid = false;
  if (w->erase_pending) {
    w->erase_pending = false;
    ps->fErase = w->proc(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
  }
  return dc;
}

BOOL WINAPI EndPaint(HWND, const PAINTSTRUCT* ps) {
  if (!ps) return FALSE;
  vk::gdi::close_window_dc(ps->hdc);
  return TRUE;
}

HDC WINAPI GetDC(HWND hwnd) { return find_window(hwnd) ? vk::gdi::open_window_dc(hwnd) : nullptr; }

int WINAPI ReleaseDC(HWND, HDC dc) { return vk::gdi::close_window_dc(dc) ? 1 : 0; }

}  // extern "C"
