// Reading one script line: the kind letter at position 6 and the numbers after
// it. A unit of its own, touching no toolkit state, so that a host checking a
// script (kv318_host.h) links it alone.
#include "script_line.h"

#include <climits>

#include "kv318_host.h"

namespace kv318::detail {

namespace {

constexpr int KIND_POSITION = 6;

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_digit_or_minus(char c) { return is_digit(c) || c == '-'; }

struct Number {
  int value = 0;
  int run_end = 0;  // position after the run the number was read from
};

// Reads a run's value as a decimal with an optional leading minus sign,
// stopping at the first character that does not continue it. False when the
// value does not fit in 32 bits.
bool run_value(const char* run, int length, int& value) {
  int i = 0;
  const bool negative = length > 0 && run[0] == '-';
  if (negative) i = 1;
  const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
  long long magnitude = 0;
  for (; i < length && is_digit(run[i]); ++i) {
    magnitude = magnitude * 10 + (run[i] - '0');
    if (magnitude > limit) return false;
  }
  value = static_cast<int>(negative ? -magnitude : magnitude);
  return true;
}

// From `from`, finds the first character that `in_run` accepts and takes the
// run of such characters. A run without a digit, or whose value does not fit
// in 32 bits, is no number.
template <typename InRun>
bool find_number(const char* text, int length, int from, InRun in_run, Number& number) {
  int start = from;
  while (start < length && !in_run(text[start])) ++start;
  int end = start;
  bool has_digit = false;
  for (; end < length && in_run(text[end]); ++end) has_digit = has_digit || is_digit(text[end]);
  if (!has_digit) return false;
  number.run_end = end;
  return run_value(text + start, end - start, number.value);
}

bool read_keyboard(const char* text, int length, ScriptEvent& event) {
  Number key;
  if (!find_number(text, length, KIND_POSITION, is_digit_or_minus, key)) return false;
  event.kind = EVENT_KEYBOARD;
  event.key = static_cast<char>(static_cast<unsigned int>(key.value) & 0xFF);
  return true;
}

bool read_mouse(const char* text, int length, ScriptEvent& event) {
  Number x;
  Number y;
  if (!find_number(text, length, KIND_POSITION, is_digit_or_minus, x)) return false;
  if (!find_number(text, length, x.run_end, is_digit_or_minus, y)) return false;
  event.kind = EVENT_MOUSE;
  event.x = x.value;
  event.y = y.value;
  return true;
}

// A count of 0 still stands for one event.
bool read_periodic(const char* text, int length, ScriptEvent& event) {
  Number count;
  if (!find_number(text, length, KIND_POSITION, is_digit, count)) return false;
  event.kind = EVENT_PERIODIC;
  event.periodic_count = count.value > 0 ? count.value : 1;
  return true;
}

}  // namespace

bool read_script_event(const char* text, int length, ScriptEvent& event) {
  if (length > MAX_SCRIPT_LINE_CHARACTERS || length <= KIND_POSITION) return false;
  switch (text[KIND_POSITION]) {
    case 'K': return read_keyboard(text, length, event);
    case 'M': return read_mouse(text, length, event);
    case 'P': return read_periodic(text, length, event);
    default: return false;
  }
}

}  // namespace kv318::detail

int KV318_host_script_line_kind(const char* text, size_t length) {
  if (length == 0) return 0;
  if (text == nullptr || length > static_cast<size_t>(kv318::detail::MAX_SCRIPT_LINE_CHARACTERS)) return -1;
  kv318::detail::ScriptEvent event;
  return kv318::detail::read_script_event(text, static_cast<int>(length), event) ? event.kind : -1;
}
