// Menu texts, measures and layouts: where the bar's titles and a popup's items lie.
#include <algorithm>
#include <cctype>
#include <map>

#include "menu_view.h"

namespace vk::user::menu_view {
namespace {

constexpr int FONT_EM = -11;         // the classic 8-point menu face
constexpr int TITLE_PADDING = 7;     // each side of a title's text
constexpr int MIN_ITEM_HEIGHT = 17;
constexpr int ITEM_TEXT_MARGIN = 4;  // above and below the text cell, together
constexpr int SEPARATOR_HEIGHT = 9;
constexpr int CHECK_COLUMN = 17;     // left of the labels
constexpr int SHORTCUT_GAP = 24;     // between the widest label and the shortcuts
constexpr int RIGHT_MARGIN = 17;     // right of the shortcuts

int measure(const text::Font* font, const std::string& bytes) {
  return text::measure(font, bytes.data(), static_cast<int>(bytes.size())).cx;
}

int item_height(const MenuItem& item, int text_height) {
  if (item.flags & MF_SEPARATOR) return SEPARATOR_HEIGHT;
  return std::max(MIN_ITEM_HEIGHT, text_height + ITEM_TEXT_MARGIN);
}

void mix(std::uint64_t& hash, std::uint64_t value) {
  constexpr std::uint64_t PRIME = 0x100000001B3ull;
  for (int i = 0; i < 8; ++i) {
    hash = (hash ^ (value & 0xFF)) * PRIME;
    value >>= 8;
  }
}

// Bar layouts by window, with the signature of the bar they were made for.
struct BarCache {
  std::uint64_t signature = 0;
  BarLayout layout;
};

std::map<HWND, BarCache>& bar_caches() {
  static std::map<HWND, BarCache> caches;
  return caches;
}

// Drops the layouts of windows that are gone; called only when a window is new here.
void forget_gone_windows() {
  auto& caches = bar_caches();
  std::erase_if(caches, [](const auto& entry) { return find_window(entry.first) == nullptr; });
}

}  // namespace

void split_item_text(const std::string& text, ItemText& out) {
  out.label.clear();
  out.shortcut.clear();
  out.mnemonic = -1;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\t') {
      out.shortcut.assign(text, i + 1, std::string::npos);
      return;
    }
    if (c == '&') {
      if (i + 1 < text.size() && text[i + 1] == '&') {
        out.label.push_back('&');
        ++i;
      } else if (out.mnemonic < 0 && i + 1 < text.size() && text[i + 1] != '\t') {
        out.mnemonic = static_cast<int>(out.label.size());
      }
      continue;  // the marker itself shows nothing
    }
    out.label.push_back(c);
  }
}

int mnemonic_key(const std::string& text) {
  for (size_t i = 0; i + 1 < text.size() && text[i] != '\t'; ++i) {
    if (text[i] != '&') continue;
    unsigned char next = static_cast<unsigned char>(text[i + 1]);
    if (next == '&') {
      ++i;
      continue;
    }
    if (next == '\t') return 0;
    return std::isalnum(next) ? std::toupper(next) : 0;
  }
  return 0;
}

const text::Font* menu_font() {
  text::FontRequest request;
  request.height = FONT_EM;
  return text::open_font(request);
}

std::uint64_t menu_signature(const Menu& menu, std::uint64_t extra) {
  std::uint64_t hash = 0xCBF29CE484222325ull;
  mix(hash, extra);
  mix(hash, menu.items.size());
  for (const MenuItem& item : menu.items) {
    mix(hash, item.flags);
    mix(hash, item.id);
    mix(hash, reinterpret_cast<std::uintptr_t>(item.submenu));
    mix(hash, item.text.size());
    for (char c : item.text) mix(hash, static_cast<unsigned char>(c));
  }
  return hash;
}

bool choosable(const MenuItem& item) {
  return !(item.flags & (MF_GRAYED | MF_DISABLED | MF_SEPARATOR | MF_POPUP));
}

void layout_bar(const Menu& bar, BarLayout& out) {
  const text::Font* font = menu_font();
  ItemText text;
  out.title_left.clear();
  out.title_right.clear();
  int x = 0;
  for (const MenuItem& item : bar.items) {
    split_item_text(item.text, text);
    out.title_left.push_back(x);
    x += measure(font, text.label) + 2 * TITLE_PADDING;
    out.title_right.push_back(x);
  }
}

int title_at(const BarLayout& layout, int x) {
  for (size_t i = 0; i < layout.title_left.size(); ++i) {
    if (x >= layout.title_left[i] && x < layout.title_right[i]) return static_cast<int>(i);
  }
  return -1;
}

void layout_popup(const Menu& popup, int title_left, int frame_width, PopupLayout& out) {
  const text::Font* font = menu_font();
  const int text_height = text::metrics(font).height;
  ItemText text;
  int widest_label = 0;
  int widest_shortcut = 0;
  out.item_top.clear();
  int y = BAR_HEIGHT + POPUP_BORDER;
  for (const MenuItem& item : popup.items) {
    out.item_top.push_back(y);
    y += item_height(item, text_height);
    if (item.flags & MF_SEPARATOR) continue;
    split_item_text(item.text, text);
    widest_label = std::max(widest_label, measure(font, text.label));
    widest_shortcut = std::max(widest_shortcut, measure(font, text.shortcut));
  }
  out.item_top.push_back(y);
  out.label_left = POPUP_BORDER + CHECK_COLUMN;
  out.shortcut_right = out.label_left + widest_label + (widest_shortcut > 0 ? SHORTCUT_GAP + widest_shortcut : 0);
  out.width = out.shortcut_right + RIGHT_MARGIN + POPUP_BORDER;
  out.height = y + POPUP_BORDER - BAR_HEIGHT;
  out.top = BAR_HEIGHT;
  out.left = std::max(0, std::min(title_left, frame_width - out.width));
}

int item_at(const PopupLayout& layout, int x, int y) {
  if (x < layout.left + POPUP_BORDER || x >= layout.left + layout.width - POPUP_BORDER) return -1;
  for (size_t i = 0; i + 1 < layout.item_top.size(); ++i) {
    if (y >= layout.item_top[i] && y < layout.item_top[i + 1]) return static_cast<int>(i);
  }
  return -1;
}

const BarLayout& bar_layout_of(const Window& window) {
  auto& caches = bar_caches();
  auto found = caches.find(window.handle);
  if (found == caches.end()) {
    forget_gone_windows();
    found = caches.emplace(window.handle, BarCache{}).first;
    found->second.signature = ~menu_signature(Menu{});  // matches no menu
  }
  BarCache& cache = found->second;
  const Menu* bar = find_menu(window.menu);
  static const Menu no_menu;
  const Menu& shown = bar ? *bar : no_menu;
  std::uint64_t signature = menu_signature(shown);
  if (signature != cache.signature) {
    layout_bar(shown, cache.layout);
    cache.signature = signature;
  }
  return cache.layout;
}

}  // namespace vk::user::menu_view
