// The night scene on the headless runner, recording every frame's drawing
// calls into the file VORKAN_FRAMES names (vorkan-record-frames for the cairo
// replay, vorkan-scene-calls for the GDI comparison).
#include "calendar.h"
#include "frame_recorder.h"
#include "headless_run.h"

int main(int argc, char** argv) {
  if (!frame_recorder::start_from_environment()) return 1;
  return vk::runner::run_winmain_program(argc, argv, fix_calendar_seconds);
}
