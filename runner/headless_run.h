// The headless runner's two halves, around a program's entry routine.
#pragma once

namespace vk::runner {

// Reads the runner's options and arranges the run: pictures, log, playback and
// its end. `fresh` starts a fresh stand-in (the runner's own main, before WinMain);
// otherwise the headless display is put under the stand-in as it is (a program's
// own main, at its first call). A bad option ends the process with status 2.
void begin_run(int argc, char** argv, bool fresh);

// Writes the pictures asked for; the exit status, 1 instead of 0 when a picture failed.
int finish_run(int status);

}  // namespace vk::runner
