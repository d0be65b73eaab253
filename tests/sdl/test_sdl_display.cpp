// The SDL display under USER32, on SDL's offscreen video driver: windows at
// their positions and sizes, frames reaching the window surfaces, SDL input
// arriving as Win32 messages, resizing, closing and waiting until a deadline.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>

#include <cstdint>
#include <string>
#include <vector>

#include "display.h"
#include "sdl_display.h"
#include "user.h"

namespace {

constexpr COLORREF PAINT_COLOR = RGB(200, 30, 40);
constexpr std::uint32_t PAINT_PIXEL = 0x00C81E28;

std::vector<MSG> seen;  // what the handlers received, in order

LRESULT CALLBACK recording_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  seen.push_back(MSG{hwnd, msg, wparam, lparam, 0, {}});
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    HBRUSH brush = CreateSolidBrush(PAINT_COLOR);
    FillRect(dc, &ps.rcPaint, brush);
    DeleteObject(brush);
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wparam, lparam);
}

LRESULT CALLBACK menu_window_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_CREATE) {
    HMENU bar = CreateMenu();
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), "&Run");
    SetMenu(hwnd, bar);
  }
  return recording_proc(hwnd, msg, wparam, lparam);
}

class OffscreenVideo : public ::testing::Environment {
 public:
  void SetUp() override {
    vk::sdl::set_desktop_hints();
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
  }
  void TearDown() override { SDL_Quit(); }
};
const auto* const video = ::testing::AddGlobalTestEnvironment(new OffscreenVideo);

class SdlDisplayTest : public ::testing::Test {
 protected:
  explicit SdlDisplayTest(int scale = 1) : display(scale) {}
  vk::sdl::SdlDisplay display;
  HWND graphics = nullptr;  // fixed size, with a menu bar, like the graphics window
  HWND text = nullptr;      // resizable, like the text window

  void SetUp() override {
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    vk::set_display(&display);
    vk::reset_stand_in();
    seen.clear();
    register_class("Graphics", menu_window_proc);
    register_class("Text", recording_proc);
    graphics = CreateWindowExA(0, "Graphics", "KV318 Graphics", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, 0, 601, 540,
                               nullptr, nullptr, nullptr, nullptr);
    text = CreateWindowExA(0, "Text", "KV318 Text", WS_OVERLAPPEDWINDOW, 0, 550, 601, 256, nullptr, nullptr, nullptr,
                           nullptr);
  }
  void TearDown() override {
    vk::reset_stand_in();
    vk::set_display(nullptr);
  }
  static void register_class(const char* name, WNDPROC proc) {
    WNDCLASSA wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = proc;
    wc.lpszClassName = name;
    wc.hbrBackground = CreateSolidBrush(RGB(255, 255, 255));
    ASSERT_NE(RegisterClassA(&wc), 0);
  }
  void show_both() {
    ShowWindow(text, SW_SHOW);
    ShowWindow(graphics, SW_SHOW);
  }
  // Dispatches messages until one of `message` for `hwnd` comes; a 2 s timer bounds the wait.
  MSG dispatch_until(HWND hwnd, UINT message) {
    SetTimer(graphics, 99, 2000, nullptr);
    for (;;) {
      MSG msg{};
      GetMessageA(&msg, nullptr, 0, 0);
      DispatchMessageA(&msg);
      if (msg.hwnd == hwnd && msg.message == message) return msg;
      if (msg.message == WM_TIMER && msg.wParam == 99) return MSG{};
    }
  }
  // Lets USER32 paint and present every window: it presents just before waiting.
  void paint_and_present() {
    SetTimer(graphics, 98, 10, nullptr);
    dispatch_until(graphics, WM_TIMER);
    KillTimer(graphics, 98);
  }
  std::uint32_t sdl_id(HWND hwnd) { return SDL_GetWindowID(display.sdl_window(hwnd)); }
  std::uint32_t shown_pixel(HWND hwnd, int x, int y) {
    SDL_Surface* surface = SDL_GetWindowSurface(display.sdl_window(hwnd));
    SDL_Surface* copy = SDL_ConvertSurfaceFormat(surface, SDL_PIXELFORMAT_RGB888, 0);
    std::uint32_t pixel = static_cast<const std::uint32_t*>(copy->pixels)[y * copy->pitch / 4 + x] & 0xFFFFFF;
    SDL_FreeSurface(copy);
    return pixel;
  }
  void push_button(HWND hwnd, Uint32 type, Uint8 button, int x, int y) {
    SDL_Event event{};
    event.type = type;
    event.button.windowID = sdl_id(hwnd);
    event.button.button = button;
    event.button.x = x;
    event.button.y = y;
    SDL_PushEvent(&event);
  }
  void push_key(HWND hwnd, Uint32 type, SDL_Keycode keycode, SDL_Scancode scancode) {
    SDL_Event event{};
    event.type = type;
    event.key.windowID = sdl_id(hwnd);
    event.key.keysym.sym = keycode;
    event.key.keysym.scancode = scancode;
    SDL_PushEvent(&event);
  }
  void push_text(HWND hwnd, const char* utf8) {
    SDL_Event event{};
    event.type = SDL_TEXTINPUT;
    event.text.windowID = sdl_id(hwnd);
    SDL_strlcpy(event.text.text, utf8, sizeof event.text.text);
    SDL_PushEvent(&event);
  }
  // The characters TranslateMessage makes of what is queued now, until a 50 ms timer.
  std::string typed_characters() {
    SetTimer(graphics, 97, 50, nullptr);
    std::string typed;
    for (;;) {
      MSG msg{};
      GetMessageA(&msg, nullptr, 0, 0);
      if (msg.message == WM_TIMER && msg.wParam == 97) break;
      if (msg.message == WM_CHAR) typed += static_cast<char>(msg.wParam);
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    KillTimer(graphics, 97);
    return typed;
  }
  void push_window_event(HWND hwnd, Uint8 what, int data1 = 0, int data2 = 0) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = sdl_id(hwnd);
    event.window.event = what;
    event.window.data1 = data1;
    event.window.data2 = data2;
    SDL_PushEvent(&event);
  }
};

TEST_F(SdlDisplayTest, WindowsOpenHiddenWhereTheyBelongSizedToWhatTheyShow) {
  SDL_Window* g = display.sdl_window(graphics);
  SDL_Window* t = display.sdl_window(text);
  ASSERT_NE(g, nullptr);
  ASSERT_NE(t, nullptr);
  EXPECT_STREQ(SDL_GetWindowTitle(g), "KV318 Graphics");
  EXPECT_STREQ(SDL_GetWindowTitle(t), "KV318 Text");
  int x = -1, y = -1, w = 0, h = 0;
  SDL_GetWindowPosition(g, &x, &y);
  SDL_GetWindowSize(g, &w, &h);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
  EXPECT_EQ(w, 595);
  EXPECT_EQ(h, 19 + 496);  // menu bar and client area
  SDL_GetWindowPosition(t, &x, &y);
  SDL_GetWindowSize(t, &w, &h);
  EXPECT_EQ(y, 550);
  EXPECT_EQ(w, 593);
  EXPECT_EQ(h, 229);
  EXPECT_FALSE(SDL_GetWindowFlags(g) & SDL_WINDOW_RESIZABLE);
  EXPECT_TRUE(SDL_GetWindowFlags(t) & SDL_WINDOW_RESIZABLE);
  EXPECT_TRUE(SDL_GetWindowFlags(g) & SDL_WINDOW_HIDDEN);

  show_both();
  EXPECT_TRUE(SDL_GetWindowFlags(g) & SDL_WINDOW_SHOWN);
  ShowWindow(text, SW_HIDE);
  EXPECT_TRUE(SDL_GetWindowFlags(t) & SDL_WINDOW_HIDDEN);
  ShowWindow(text, SW_SHOW);
  DestroyWindow(text);
  EXPECT_EQ(display.sdl_window(text), nullptr);
  EXPECT_TRUE(SDL_GetWindowFlags(t) & SDL_WINDOW_HIDDEN);  // kept, hidden, until the display closes
}

TEST_F(SdlDisplayTest, PresentedFramesReachTheWindowSurfaceBelowTheMenuBar) {
  show_both();
  paint_and_present();
  EXPECT_EQ(shown_pixel(graphics, 10, 19 + 10), PAINT_PIXEL);
  EXPECT_EQ(shown_pixel(graphics, 594, 514), PAINT_PIXEL);
  EXPECT_NE(shown_pixel(graphics, 300, 18), PAINT_PIXEL);  // the menu bar
  EXPECT_EQ(shown_pixel(text, 0, 0), PAINT_PIXEL);
}

TEST_F(SdlDisplayTest, ButtonsAndMotionArriveInClientCoordinates) {
  show_both();
  paint_and_present();
  push_button(graphics, SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 5, 30);
  MSG right = dispatch_until(graphics, WM_RBUTTONDOWN);
  EXPECT_EQ(right.lParam, MAKELPARAM(5, 11));
  EXPECT_EQ(right.wParam, static_cast<WPARAM>(MK_RBUTTON));
  push_button(graphics, SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 5, 30);
  dispatch_until(graphics, WM_RBUTTONUP);
  push_button(text, SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 8, 9);
  EXPECT_EQ(dispatch_until(text, WM_MBUTTONDOWN).lParam, MAKELPARAM(8, 9));
  push_button(text, SDL_MOUSEBUTTONUP, SDL_BUTTON_MIDDLE, 8, 9);
  dispatch_until(text, WM_MBUTTONUP);
  push_button(graphics, SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 5, 3);  // over the menu bar: nothing
  push_button(graphics, SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 30, 19 + 40);
  MSG down = dispatch_until(graphics, WM_LBUTTONDOWN);
  EXPECT_EQ(down.lParam, MAKELPARAM(30, 40));
  push_button(graphics, SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 31, 19 + 41);
  EXPECT_EQ(dispatch_until(graphics, WM_LBUTTONUP).lParam, MAKELPARAM(31, 41));

  SDL_Event motion{};
  motion.type = SDL_MOUSEMOTION;
  motion.motion.windowID = sdl_id(text);
  motion.motion.x = 7;
  motion.motion.y = 9;
  SDL_PushEvent(&motion);
  EXPECT_EQ(dispatch_until(text, WM_MOUSEMOVE).lParam, MAKELPARAM(7, 9));  // no menu bar above it
  EXPECT_EQ(std::count_if(seen.begin(), seen.end(), [](const MSG& m) { return m.message == WM_RBUTTONDOWN; }), 1);
}

// SDL releases held keys when a window loses the focus; Win32 does not, so
// Ctrl pressed here and released in another program stays down for the program.
TEST_F(SdlDisplayTest, LosingTheFocusReleasesNoKey) {
  show_both();
  push_key(graphics, SDL_KEYDOWN, SDLK_LCTRL, SDL_SCANCODE_LCTRL);
  dispatch_until(graphics, WM_KEYDOWN);
  push_key(graphics, SDL_KEYUP, SDLK_LCTRL, SDL_SCANCODE_LCTRL);  // as SDL's focus change queues them
  push_window_event(graphics, SDL_WINDOWEVENT_FOCUS_LOST);
  push_key(graphics, SDL_KEYUP, SDLK_q, SDL_SCANCODE_Q);  // a real release later on
  EXPECT_EQ(dispatch_until(graphics, WM_KEYUP).wParam, static_cast<WPARAM>('Q'));
  EXPECT_EQ(std::count_if(seen.begin(), seen.end(), [](const MSG& m) { return m.message == WM_KEYUP; }), 1);
}

TEST_F(SdlDisplayTest, KeysArriveAsVirtualKeysAtTheWindowSdlNames) {
  show_both();
  push_key(text, SDL_KEYDOWN, SDLK_KBDILLUMUP, SDL_SCANCODE_KBDILLUMUP);  // no virtual key: dropped
  push_key(text, SDL_KEYDOWN, SDLK_RCTRL, SDL_SCANCODE_RCTRL);
  MSG ctrl = dispatch_until(text, WM_KEYDOWN);
  EXPECT_EQ(ctrl.wParam, static_cast<WPARAM>(VK_CONTROL));
  push_key(graphics, SDL_KEYUP, SDLK_q, SDL_SCANCODE_Q);
  EXPECT_EQ(dispatch_until(graphics, WM_KEYUP).wParam, static_cast<WPARAM>('Q'));
}

// SDL queues the text the user's layout composed right behind its key-down.
TEST_F(SdlDisplayTest, KeysTypeTheTextSdlComposedForThemAndTextWithoutAKeyToo) {
  show_both();
  push_key(graphics, SDL_KEYDOWN, 0xFC, SDL_SCANCODE_LEFTBRACKET);  // German u umlaut
  push_text(graphics, "\xC3\xBC");
  push_key(graphics, SDL_KEYUP, 0xFC, SDL_SCANCODE_LEFTBRACKET);
  push_key(graphics, SDL_KEYDOWN, SDLK_UNKNOWN, SDL_SCANCODE_EQUALS);  // a dead key: no text yet
  push_key(graphics, SDL_KEYDOWN, SDLK_e, SDL_SCANCODE_E);
  push_text(graphics, "\xC3\xA9");
  push_key(graphics, SDL_KEYUP, SDLK_e, SDL_SCANCODE_E);
  push_text(graphics, "\xE2\x82\xAC\xCE\xB1x");  // an input method's text: euro sign, alpha, x
  push_key(graphics, SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN);  // no text: Enter's own character
  EXPECT_EQ(typed_characters(), "\xFC\xE9\x80x\r");
}

TEST_F(SdlDisplayTest, CloseBoxClosesThatWindowOnlyAndExposeRepaints) {
  show_both();
  paint_and_present();
  seen.clear();
  push_window_event(graphics, SDL_WINDOWEVENT_EXPOSED);
  EXPECT_EQ(dispatch_until(graphics, WM_PAINT).message, static_cast<UINT>(WM_PAINT));
  push_window_event(text, SDL_WINDOWEVENT_CLOSE);
  EXPECT_EQ(dispatch_until(text, WM_CLOSE).message, static_cast<UINT>(WM_CLOSE));
  EXPECT_FALSE(IsWindow(text));
  EXPECT_EQ(display.sdl_window(text), nullptr);
  EXPECT_TRUE(IsWindow(graphics));
  EXPECT_NE(display.sdl_window(graphics), nullptr);
}

TEST_F(SdlDisplayTest, ResizingTheTextWindowResizesItsClientAreaAndRepaintsIt) {
  show_both();
  paint_and_present();
  seen.clear();
  push_window_event(graphics, SDL_WINDOWEVENT_SIZE_CHANGED, 300, 200);  // fixed size: no WM_SIZE
  push_window_event(text, SDL_WINDOWEVENT_SIZE_CHANGED, 400, 150);
  EXPECT_EQ(dispatch_until(text, WM_PAINT).message, static_cast<UINT>(WM_PAINT));
  std::vector<LPARAM> sizes;
  for (const MSG& msg : seen) {
    if (msg.message == WM_SIZE) sizes.push_back(msg.hwnd == text ? msg.lParam : -1);
  }
  EXPECT_EQ(sizes, std::vector<LPARAM>{MAKELPARAM(400, 150)});
  RECT client;
  GetClientRect(graphics, &client);
  EXPECT_EQ(client.bottom, 496);
}

TEST_F(SdlDisplayTest, WaitingEndsAtTheDeadlineOrWithInput) {
  vk::InputEvent event;
  std::uint64_t deadline = display.now_ms() + 30;
  EXPECT_FALSE(display.wait_input(deadline, event));
  EXPECT_GE(display.now_ms(), deadline);
  EXPECT_FALSE(display.wait_input(display.now_ms() - 1, event));  // a deadline already past

  push_window_event(graphics, SDL_WINDOWEVENT_CLOSE);
  ASSERT_TRUE(display.wait_input(vk::NO_DEADLINE, event));
  EXPECT_EQ(event.kind, vk::InputEvent::Kind::CloseRequest);
  EXPECT_EQ(event.window, graphics);
}

TEST_F(SdlDisplayTest, ScreenSizeIsTheDisplayBounds) {
  SDL_Rect bounds;
  ASSERT_EQ(SDL_GetDisplayBounds(0, &bounds), 0);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), bounds.w);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), bounds.h);
}

// Twice as large: windows at twice their place and size, each pixel a 2x2
// block, clicks and sizes mapped back, a screen half as large for the program.
class ScaledSdlDisplayTest : public SdlDisplayTest {
 protected:
  ScaledSdlDisplayTest() : SdlDisplayTest(2) {}
};

TEST_F(ScaledSdlDisplayTest, ShowsEveryPixelAsABlockAndMapsInputBack) {
  int x = -1, y = -1, w = 0, h = 0;
  SDL_GetWindowSize(display.sdl_window(graphics), &w, &h);
  EXPECT_EQ(w, 2 * 595);
  EXPECT_EQ(h, 2 * (19 + 496));
  SDL_GetWindowPosition(display.sdl_window(text), &x, &y);
  EXPECT_EQ(y, 2 * 550);
  SDL_Rect bounds;
  ASSERT_EQ(SDL_GetDisplayBounds(0, &bounds), 0);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), bounds.h / 2);

  show_both();
  paint_and_present();
  for (int dy : {0, 1}) {
    for (int dx : {0, 1}) EXPECT_EQ(shown_pixel(graphics, 2 * 10 + dx, 2 * (19 + 10) + dy), PAINT_PIXEL);
  }
  EXPECT_NE(shown_pixel(graphics, 2 * 300, 2 * 18 + 1), PAINT_PIXEL);  // the menu bar, scaled too
  push_button(graphics, SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 2 * 30 + 1, 2 * (19 + 40) + 1);
  EXPECT_EQ(dispatch_until(graphics, WM_LBUTTONDOWN).lParam, MAKELPARAM(30, 40));
  push_window_event(text, SDL_WINDOWEVENT_SIZE_CHANGED, 801, 301);
  dispatch_until(text, WM_PAINT);
  RECT client;
  GetClientRect(text, &client);
  EXPECT_EQ(client.right, 400);
  EXPECT_EQ(client.bottom, 150);
}

TEST(SdlScale, ByTheScreenTheProgramStillSeesAtLeast1024By768) {
  const struct {
    int width, height, scale;
  } cases[] = {{800, 600, 1},   {1920, 1080, 1}, {2560, 1440, 1},   {3840, 2160, 2},
               {5120, 2880, 3}, {7680, 4320, 5}, {30000, 20000, 8}, {0, 0, 1}};
  for (const auto& c : cases) EXPECT_EQ(vk::sdl::scale_for_screen(c.width, c.height), c.scale) << c.width;
}

TEST(SdlVideo, OffscreenAndDummyDriversShowNothing) {
  EXPECT_TRUE(vk::sdl::is_windowless_driver("offscreen"));
  EXPECT_TRUE(vk::sdl::is_windowless_driver("dummy"));
  EXPECT_TRUE(vk::sdl::is_windowless_driver(nullptr));
  EXPECT_FALSE(vk::sdl::is_windowless_driver("x11"));
  EXPECT_FALSE(vk::sdl::is_windowless_driver("wayland"));
}

}  // namespace
