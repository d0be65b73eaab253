// One script line as playback reads it: the event it stands for, or none.
#pragma once

#include "toolkit_state.h"

namespace kv318::detail {

// The most characters a script line may have before its line end.
constexpr int MAX_SCRIPT_LINE_CHARACTERS = SCRIPT_LINE_SIZE - 1;

struct ScriptEvent {
  int kind = EVENT_NONE;
  int x = 0;              // mouse
  int y = 0;
  char key = 0;           // keyboard
  int periodic_count = 0; // periodic: how many events the line stands for, at least 1
};

// Reads the event of a line of `length` characters (its line end removed).
// False for an unreadable line: too long, no K, M or P at position 6, or a
// missing number.
bool read_script_event(const char* text, int length, ScriptEvent& event);

}  // namespace kv318::detail
