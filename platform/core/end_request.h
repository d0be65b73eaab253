// Ending a program from outside as its close box would: SIGINT, SIGTERM and
// SIGHUP are caught and noted; the display turns the note into a close
// request for the program's main window, so the program shuts down as it
// would from the close box (pending script lines written, files closed,
// outputs written). When it has finished, the process ends by the signal it
// got, so whoever started it sees a run ended by that signal.
#pragma once

namespace vk {

// Catches SIGINT, SIGTERM and SIGHUP from now on.
void end_on_signals();
// True once for each signal caught (the request is taken).
bool take_end_request();
// The signal that asked the program to end; 0 when none did.
int end_signal();
// Ends the process: by the caught signal when there was one, else with `status`.
// Output streams are flushed first.
[[noreturn]] void end_process_as_asked(int status);

}  // namespace vk
