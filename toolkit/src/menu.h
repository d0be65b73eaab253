// Identifiers of the Run menu's commands. The control keys run the same
// commands; the grayed information lines share RUN_INFO, which does nothing.
#pragma once

#include "win32.h"

namespace kv318::detail {

enum RunCommand : UINT {
  RUN_ANIMATE = 1,
  RUN_HALT = 2,
  RUN_ADVANCE_FRAME = 3,
  RUN_LOGGING = 4,
  RUN_RECORD = 5,
  RUN_PLAYBACK = 6,
  RUN_PLAY_ONE = 7,
  RUN_QUIT = 8,
  RUN_INFO = 9,
};

// Platform key code of Ctrl.
constexpr WPARAM KEY_CONTROL = 17;

}  // namespace kv318::detail
