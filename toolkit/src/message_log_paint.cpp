// Repaints the text window with the message log, newest line at the bottom.
// The picture is built off screen and copied in one piece, so it never flickers.
#include <cstring>

#include "toolkit_state.h"

namespace kv318::detail {

namespace {

int next_slot(int slot) { return slot == LOG_CAPACITY - 1 ? 0 : slot + 1; }

// Scrolls the picture up one line and writes the slot's text in the freed
// bottom strip; a final newline is not drawn.
void add_bottom_line(HDC dc, const RECT& client, const RECT& strip, HBRUSH background, int h, HGLOBAL entry) {
  ScrollDC(dc, 0, -h, &client, &client, nullptr, nullptr);
  FillRect(dc, &strip, background);
  const auto* text = static_cast<const char*>(GlobalLock(entry));
  if (text == nullptr) return;
  std::size_t n = std::strlen(text);
  if (n > 0 && text[n - 1] == '\n') --n;
  TextOutA(dc, client.left + 5, client.bottom - h, text, static_cast<int>(n));
  GlobalUnlock(entry);
}

// Oldest line first; a full ring (head == tail) gives all its lines.
void draw_log_lines(HDC dc, const RECT& client, HBRUSH background, int h) {
  if (toolkit.log_head < 0) return;
  const RECT strip{client.left, client.bottom - h, client.right, client.bottom + 1};
  int slot = toolkit.log_head;
  do {
    add_bottom_line(dc, client, strip, background, h, toolkit.log_entries[slot]);
    slot = next_slot(slot);
  } while (slot != toolkit.log_tail);
}

int line_height(HDC dc) {
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  return metrics.tmHeight + metrics.tmExternalLeading;
}

}  // namespace

void paint_message_log(HWND hwnd) {
  PAINTSTRUCT ps;
  BeginPaint(hwnd, &ps);
  RECT client{};
  GetClientRect(hwnd, &client);
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  HDC window_dc = GetDC(hwnd);
  HDC dc = CreateCompatibleDC(window_dc);
  HBITMAP picture = CreateCompatibleBitmap(window_dc, width, height);
  HGDIOBJ old_picture = SelectObject(dc, picture);
  HBRUSH background = CreateSolidBrush(GetBkColor(dc));
  FillRect(dc, &client, background);
  HGDIOBJ old_font = SelectObject(dc, GetStockObject(ANSI_FIXED_FONT));
  draw_log_lines(dc, client, background, line_height(dc));
  BitBlt(window_dc, 0, 0, width, height, dc, 0, 0, SRCCOPY);
  EndPaint(hwnd, &ps);
  SelectObject(dc, old_font);
  SelectObject(dc, old_picture);
  DeleteObject(background);
  DeleteObject(picture);
  DeleteDC(dc);
  ReleaseDC(hwnd, window_dc);
}

}  // namespace kv318::detail
