// Drawing the menu bar and popups in the classic desktop look: a gray face,
// 3-D edges, underlined mnemonics, right-aligned shortcut texts, etched
// separators and grayed (embossed) texts.
#include "menu_view.h"

namespace vk::user::menu_view {
namespace {

using raster::Canvas;
using raster::Pixel;
using raster::Rect;

// The check mark, 7 x 7, rows top to bottom.
constexpr const char* CHECK_MARK[] = {
    "......#",
    ".....##",
    "#...###",
    "##.###.",
    "#####..",
    ".###...",
    "..#....",
};
constexpr int CHECK_SIZE = 7;

Rect whole(const Canvas& canvas) { return Rect{0, 0, canvas.width, canvas.height}; }

void fill(const Canvas& canvas, int left, int top, int right, int bottom, Pixel color) {
  raster::fill_rect(canvas, whole(canvas), Rect{left, top, right, bottom}, color);
}

// A 1-pixel 3-D frame just inside the box: `lit` on top and left, `shaded` on bottom and right.
void edge(const Canvas& canvas, Rect box, Pixel lit, Pixel shaded) {
  fill(canvas, box.left, box.top, box.right - 1, box.top + 1, lit);
  fill(canvas, box.left, box.top, box.left + 1, box.bottom - 1, lit);
  fill(canvas, box.left, box.bottom - 1, box.right, box.bottom, shaded);
  fill(canvas, box.right - 1, box.top, box.right, box.bottom, shaded);
}

int text_width(const text::Font* font, const char* bytes, int count) {
  return text::measure(font, bytes, count).cx;
}

// One label at (x, y), the top of its text cell, with its mnemonic underlined.
void draw_label(const Canvas& canvas, const text::Font* font, int x, int y, const ItemText& text, Pixel color) {
  const int count = static_cast<int>(text.label.size());
  text::draw(canvas, whole(canvas), font, x, y, text.label.data(), count, color);
  if (text.mnemonic < 0 || text.mnemonic >= count) return;
  int from = x + text_width(font, text.label.data(), text.mnemonic);
  int to = from + text_width(font, text.label.data() + text.mnemonic, 1);
  int row = y + text::metrics(font).ascent + 1;
  fill(canvas, from, row, to, row + 1, color);
}

void draw_shortcut(const Canvas& canvas, const text::Font* font, int right, int y, const std::string& shortcut,
                   Pixel color) {
  const int count = static_cast<int>(shortcut.size());
  int x = right - text_width(font, shortcut.data(), count);
  text::draw(canvas, whole(canvas), font, x, y, shortcut.data(), count, color);
}

// Grayed texts are etched: a lit copy one pixel down and right under the shaded text.
template <typename DrawText>
void draw_in_color_or_etched(bool grayed, Pixel color, DrawText draw_text) {
  if (!grayed) {
    draw_text(0, color);
    return;
  }
  draw_text(1, LIGHT);
  draw_text(0, SHADOW);
}

void draw_check_mark(const Canvas& canvas, int x, int y, Pixel color) {
  for (int row = 0; row < CHECK_SIZE; ++row) {
    for (int column = 0; column < CHECK_SIZE; ++column) {
      if (CHECK_MARK[row][column] == '#') raster::set_pixel(canvas, whole(canvas), x + column, y + row, color);
    }
  }
}

// A small right-pointing triangle for items that lead to a further popup.
void draw_arrow(const Canvas& canvas, int x, int center_y, Pixel color) {
  for (int column = 0; column < 4; ++column) {
    fill(canvas, x + column, center_y - 3 + column, x + column + 1, center_y + 4 - column, color);
  }
}

void draw_separator(const Canvas& canvas, int top, int bottom) {
  int row = (top + bottom) / 2 - 1;
  fill(canvas, POPUP_BORDER, row, canvas.width - POPUP_BORDER, row + 1, SHADOW);
  fill(canvas, POPUP_BORDER, row + 1, canvas.width - POPUP_BORDER, row + 2, LIGHT);
}

void draw_item(const Canvas& canvas, const MenuItem& item, const PopupLayout& layout, int top, int bottom,
               bool highlighted, ItemText& text) {
  if (item.flags & MF_SEPARATOR) {
    draw_separator(canvas, top, bottom);
    return;
  }
  const text::Font* font = menu_font();
  Pixel color = TEXT;
  if (highlighted) {
    fill(canvas, POPUP_BORDER, top, canvas.width - POPUP_BORDER, bottom, SELECTED);
    color = SELECTED_TEXT;
  }
  split_item_text(item.text, text);
  const int text_y = top + (bottom - top - text::metrics(font).height) / 2;
  const bool grayed = (item.flags & MF_GRAYED) && !highlighted;
  draw_in_color_or_etched(grayed, color, [&](int offset, Pixel ink) {
    draw_label(canvas, font, layout.label_left + offset, text_y + offset, text, ink);
    draw_shortcut(canvas, font, layout.shortcut_right + offset, text_y + offset, text.shortcut, ink);
    if (item.flags & MF_CHECKED) {
      int check_x = POPUP_BORDER + (layout.label_left - POPUP_BORDER - CHECK_SIZE) / 2;
      draw_check_mark(canvas, check_x + offset, (top + bottom - CHECK_SIZE) / 2 + offset, ink);
    }
    if (item.flags & MF_POPUP) {
      draw_arrow(canvas, canvas.width - POPUP_BORDER - 9 + offset, (top + bottom) / 2 + offset, ink);
    }
  });
}

}  // namespace

void draw_bar(const Canvas& canvas, const Menu& bar, const BarLayout& layout, int title, TitleLook look) {
  const text::Font* font = menu_font();
  const int text_y = (canvas.height - text::metrics(font).height) / 2;
  static ItemText text;  // keeps its storage from one drawing to the next
  fill(canvas, 0, 0, canvas.width, canvas.height, FACE);
  for (size_t i = 0; i < bar.items.size() && i < layout.title_left.size(); ++i) {
    const MenuItem& item = bar.items[i];
    Rect box{layout.title_left[i], 0, layout.title_right[i], canvas.height - 1};
    int shift = 0;
    if (static_cast<int>(i) == title && look == TitleLook::Sunken) {
      edge(canvas, box, SHADOW, LIGHT);
      shift = 1;  // a pressed title's text moves with it
    } else if (static_cast<int>(i) == title && look == TitleLook::Raised) {
      edge(canvas, box, LIGHT, SHADOW);
    }
    split_item_text(item.text, text);
    const int x = box.left + (box.right - box.left - text_width(font, text.label.data(),
                                                                 static_cast<int>(text.label.size()))) / 2;
    draw_in_color_or_etched((item.flags & MF_GRAYED) != 0, TEXT, [&](int offset, Pixel ink) {
      draw_label(canvas, font, x + shift + offset, text_y + shift + offset, text, ink);
    });
  }
}

void draw_popup(const Canvas& canvas, const Menu& popup, const PopupLayout& layout, int highlight) {
  static ItemText text;  // keeps its storage from one drawing to the next
  fill(canvas, 0, 0, canvas.width, canvas.height, FACE);
  Rect box{0, 0, canvas.width, canvas.height};
  edge(canvas, box, FACE, DARK);
  edge(canvas, Rect{1, 1, canvas.width - 1, canvas.height - 1}, LIGHT, SHADOW);
  for (size_t i = 0; i < popup.items.size() && i + 1 < layout.item_top.size(); ++i) {
    int top = layout.item_top[i] - layout.top;
    int bottom = layout.item_top[i + 1] - layout.top;
    draw_item(canvas, popup.items[i], layout, top, bottom, static_cast<int>(i) == highlight, text);
  }
}

}  // namespace vk::user::menu_view
