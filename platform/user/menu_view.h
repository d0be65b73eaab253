// The menu bar and its popups as the stand-in shows and tracks them: item
// texts split for showing, layouts in frame coordinates, the drawing, and the
// one menu that can be active at a time.
//
// Frame coordinates: column x and row y of the composed frame, whose first
// `menu_bar_height` rows are the bar; the client area starts below it.
#pragma once

#include <bitset>
#include <cstdint>
#include <string>
#include <vector>

#include "raster.h"
#include "text.h"
#include "user_internal.h"

namespace vk::user::menu_view {

constexpr int BAR_HEIGHT = 19;
constexpr int POPUP_BORDER = 3;  // a popup's 2-pixel raised edge and 1 pixel of padding

// Classic desktop colours.
constexpr raster::Pixel FACE = 0x00D4D0C8;       // menu background
constexpr raster::Pixel LIGHT = 0x00FFFFFF;      // lit edge, emboss of grayed text
constexpr raster::Pixel SHADOW = 0x00808080;     // shaded edge, grayed text
constexpr raster::Pixel DARK = 0x00404040;       // outer shaded edge of a popup
constexpr raster::Pixel TEXT = 0x00000000;
constexpr raster::Pixel SELECTED = 0x000A246A;   // highlighted item
constexpr raster::Pixel SELECTED_TEXT = 0x00FFFFFF;

// An item text as shown: the label without its '&' markers, the label index
// of the mnemonic letter (-1: none), and the shortcut text after the tab.
struct ItemText {
  std::string label;
  int mnemonic = -1;
  std::string shortcut;
};
// Splits `text` into `out`, reusing out's storage. "&&" shows one '&'.
void split_item_text(const std::string& text, ItemText& out);

// The upper-case mnemonic letter or digit of an item text; 0 when it has none.
int mnemonic_key(const std::string& text);

// The face menus are drawn in; looked up on each use because a stand-in
// reset releases every font.
const text::Font* menu_font();

// A hash of everything about a menu that shows (its items' flags, identifiers,
// texts and submenus) and of `extra`, for whatever else a cached picture depends on.
std::uint64_t menu_signature(const Menu& menu, std::uint64_t extra = 0);

struct BarLayout {
  std::vector<int> title_left;   // title i spans columns title_left[i] .. title_right[i]-1
  std::vector<int> title_right;  // rows 0 .. BAR_HEIGHT-1
};
void layout_bar(const Menu& bar, BarLayout& out);
// The title at frame column x, or -1.
int title_at(const BarLayout& layout, int x);

struct PopupLayout {
  int left = 0, top = 0, width = 0, height = 0;  // box in frame coordinates
  std::vector<int> item_top;  // item i spans rows item_top[i] .. item_top[i+1]-1 (frame rows)
  int label_left = 0;         // columns relative to the box
  int shortcut_right = 0;
};
// Lays out `popup` below the title starting at column `title_left`, moved left
// when it would leave a frame `frame_width` wide.
void layout_popup(const Menu& popup, int title_left, int frame_width, PopupLayout& out);
// The item at frame point (x, y), or -1.
int item_at(const PopupLayout& layout, int x, int y);

// How the bar shows its titles.
enum class TitleLook { Plain, Raised, Sunken };
void draw_bar(const raster::Canvas& canvas, const Menu& bar, const BarLayout& layout, int title, TitleLook look);
// Draws the popup into a canvas of exactly layout.width x layout.height.
void draw_popup(const raster::Canvas& canvas, const Menu& popup, const PopupLayout& layout, int highlight);

// True for items a user can choose: enabled commands.
bool choosable(const MenuItem& item);

// The one active menu: none, a bar title selected from the keyboard, or a
// popup open below its title.
enum class Mode { Closed, BarSelected, PopupOpen };

struct Tracker {
  Mode mode = Mode::Closed;
  HWND owner = nullptr;  // the window whose menu is active
  int title = -1;        // the selected or open title
  int highlight = -1;    // the highlighted item of the open popup
  bool swallow_button_up = false;  // the release of a click that closed the menu
  bool alt_held = false;           // Alt is down and was taken by the menu
  bool alt_used = false;           // another key went down while Alt was held
  std::bitset<256> eaten_keys;     // keys whose key-down the menu took
  HWND anchor = nullptr;           // a window that lived when the state above was recorded
  PopupLayout popup;               // of the open popup, in step with popup_signature
  std::uint64_t popup_signature = 0;
};

Tracker& tracker();
// Forgets all tracking once the stand-in was reset; closes a menu whose window,
// bar or popup is gone.
void validate_tracker();
// The open popup of `window` with its layout brought up to date, or null.
const Menu* open_popup_of(const Window& window);
// The bar layout of a window with a menu, brought up to date.
const BarLayout& bar_layout_of(const Window& window);

// For tests: the frame box of item `position` in the open popup of `hwnd`.
bool open_item_box(HWND hwnd, int position, RECT& box);

}  // namespace vk::user::menu_view
