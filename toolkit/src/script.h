// Script recording and playback beyond the routines toolkit_state.h declares.
#pragma once

namespace kv318::detail {

// Called by KV318_shutdown before it closes the script file: while recording,
// writes the periodic events counted but not yet written, so a run ended
// through the quit mode keeps its last ticks.
void finish_recording_for_shutdown();

}  // namespace kv318::detail
