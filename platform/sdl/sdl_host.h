// Starting and ending a program on the SDL display, for both kinds of program:
// one with WinMain (the display's own main) and one with its own main (started
// on its first call that needs a display).
#pragma once

namespace vk::sdl {

// Opens SDL's video on a display a person can see and makes it the stand-in's
// display. Without one it says so in one line on stderr and returns false.
bool start_display(const char* program_path);

// Ends the process with this status, without tearing SDL's windows down: SDL's
// X11 backend may still send a wake-up event to a window it is destroying, and
// the X error that follows would end the program with status 1 after it has finished well.
[[noreturn]] void end_process(int status);

}  // namespace vk::sdl
