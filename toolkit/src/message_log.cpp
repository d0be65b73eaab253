// The message log: a ring of the last LOG_CAPACITY lines, each its own
// movable memory block sized exactly to its text.
#include <cstdarg>
#include <cstring>

#include "toolkit_state.h"

namespace kv318::detail {

namespace {

int next_slot(int slot) { return slot == LOG_CAPACITY - 1 ? 0 : slot + 1; }

void drop_oldest_line() {
  GlobalFree(toolkit.log_entries[toolkit.log_head]);
  toolkit.log_entries[toolkit.log_head] = nullptr;
  toolkit.log_head = next_slot(toolkit.log_head);
}

// Stores one line; a line whose block cannot be allocated is dropped.
void store_line(const char* text, size_t length) {
  if (toolkit.log_head == toolkit.log_tail) drop_oldest_line();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, length + 1);
  if (!block) return;
  char* data = static_cast<char*>(GlobalLock(block));
  std::memcpy(data, text, length + 1);
  GlobalUnlock(block);
  toolkit.log_entries[toolkit.log_tail] = block;
  if (toolkit.log_head == -1) toolkit.log_head = toolkit.log_tail;
  toolkit.log_tail = next_slot(toolkit.log_tail);
}

}  // namespace

}  // namespace kv318::detail

using namespace kv318::detail;

int KV318_log_message(const char* format, ...) {
  char buffer[LOG_BUFFER_SIZE];
  va_list args;
  va_start(args, format);
  int formatted = format_message(buffer, sizeof buffer, format, args);
  va_end(args);
  if (formatted < 0) {
    buffer[0] = '\0';
    formatted = 0;
  }
  // A message longer than the buffer is cut to fit; the result counts what was stored.
  size_t length = std::strlen(buffer);
  if (host_observers.log) host_observers.log(buffer);
  store_line(buffer, length);
  if (toolkit.text_window) InvalidateRect(toolkit.text_window, nullptr, TRUE);
  return static_cast<int>(length);
}
