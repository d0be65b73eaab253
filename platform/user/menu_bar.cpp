// What a window shows: its menu bar above its client area and an open popup
// drawn over that, composed into the window's frame.
//
// The bar is drawn into the frame's top rows only when its look changed and
// kept there; the open popup is drawn once into its own picture whenever its
// look changed and copied over each frame. The client pixels themselves are
// never touched. After the first frames nothing here allocates.
#include <algorithm>
#include <map>

#include "menu_view.h"

namespace vk::user {
namespace {

using namespace menu_view;

// What the bar rows of a window's frame show.
struct ShownBar {
  std::uint64_t signature = 0;
  int width = -1;
  int title = -1;
  TitleLook look = TitleLook::Plain;
};

std::map<HWND, ShownBar>& shown_bars() {
  static std::map<HWND, ShownBar> bars;
  return bars;
}

ShownBar& shown_bar_of(HWND hwnd) {
  auto& bars = shown_bars();
  auto found = bars.find(hwnd);
  if (found != bars.end()) return found->second;
  std::erase_if(bars, [](const auto& entry) { return find_window(entry.first) == nullptr; });
  return bars[hwnd];
}

// The open popup as last drawn.
struct PopupPicture {
  std::vector<raster::Pixel> pixels;
  HWND owner = nullptr;
  std::uint64_t signature = 0;
  int highlight = -1;
  int width = 0;
  int height = 0;
};

PopupPicture& popup_picture() {
  static PopupPicture picture;
  return picture;
}

const Menu& bar_menu(const Window& window) {
  static const Menu no_menu;
  const Menu* bar = find_menu(window.menu);
  return bar ? *bar : no_menu;
}

TitleLook title_look(const Window& window, int& title) {
  const Tracker& t = tracker();
  title = -1;
  if (t.mode == Mode::Closed || t.owner != window.handle) return TitleLook::Plain;
  title = t.title;
  return t.mode == Mode::PopupOpen ? TitleLook::Sunken : TitleLook::Raised;
}

void refresh_bar(Window& window, int width) {
  const Menu& bar = bar_menu(window);
  int title = -1;
  const TitleLook look = title_look(window, title);
  const std::uint64_t signature = menu_signature(bar);
  ShownBar& shown = shown_bar_of(window.handle);
  if (shown.signature == signature && shown.width == width && shown.title == title && shown.look == look) return;
  raster::Canvas canvas{window.frame.data(), width, BAR_HEIGHT, width};
  draw_bar(canvas, bar, bar_layout_of(window), title, look);
  shown = ShownBar{signature, width, title, look};
}

void overlay_popup(Window& window, const raster::Canvas& frame) {
  const Menu* popup = open_popup_of(window);
  if (!popup) return;
  const Tracker& t = tracker();
  const PopupLayout& layout = t.popup;
  PopupPicture& picture = popup_picture();
  bool stale = picture.owner != window.handle || picture.signature != t.popup_signature ||
               picture.highlight != t.highlight || picture.width != layout.width || picture.height != layout.height;
  if (stale) {
    picture.pixels.resize(static_cast<size_t>(layout.width) * layout.height);
    raster::Canvas canvas{picture.pixels.data(), layout.width, layout.height, layout.width};
    draw_popup(canvas, *popup, layout, t.highlight);
    picture.owner = window.handle;
    picture.signature = t.popup_signature;
    picture.highlight = t.highlight;
    picture.width = layout.width;
    picture.height = layout.height;
  }
  raster::Canvas source{picture.pixels.data(), layout.width, layout.height, layout.width};
  raster::Rect everywhere{0, 0, frame.width, frame.height};
  raster::copy_rect(frame, everywhere, layout.left, layout.top, source, raster::Rect{0, 0, layout.width, layout.height});
}

}  // namespace

int menu_bar_height(const Window& window) { return window.menu ? BAR_HEIGHT : 0; }

WindowFrame compose_frame(Window& window) {
  validate_tracker();
  const int bar = menu_bar_height(window);
  const std::uint32_t* client = window.client.pixels.data();
  if (bar == 0) return WindowFrame{client, client, window.client.width, window.client.height, 0};
  const int width = window.client.width;
  const int height = bar + window.client.height;
  const bool popup_open = open_popup_of(window) != nullptr;
  // Without an open popup the frame only holds the bar; the client area follows it.
  window.frame.resize(static_cast<size_t>(width) * (popup_open ? height : bar));
  refresh_bar(window, width);
  if (!popup_open) return WindowFrame{window.frame.data(), client, width, height, bar};
  std::copy(window.client.pixels.begin(), window.client.pixels.end(),
            window.frame.begin() + static_cast<std::ptrdiff_t>(width) * bar);
  overlay_popup(window, raster::Canvas{window.frame.data(), width, height, width});
  return WindowFrame{window.frame.data(), window.frame.data() + static_cast<std::ptrdiff_t>(width) * bar, width,
                     height, bar};
}

}  // namespace vk::user
