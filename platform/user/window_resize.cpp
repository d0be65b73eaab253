// A window resized by the user: the frame follows what the display shows.
#include "window_resize.h"

#include <algorithm>

#include "user_internal.h"

namespace vk::user {

bool resize_window(HWND hwnd, int shown_width, int shown_height) {
  Window* w = find_window(hwnd);
  if (!w) return false;
  // The frame, caption and menu bar keep their size; the client area takes the rest.
  int client_height = std::max(0, shown_height - menu_bar_height(*w));
  w->width += std::max(0, shown_width) - w->client.width;
  w->height += client_height - w->client.height;
  if (!update_client_size(*w)) return false;
  send_size(*w);
  // update_client_size gave the window fresh pixels: all of it needs painting.
  InvalidateRect(hwnd, nullptr, TRUE);
  return true;
}

}  // namespace vk::user
