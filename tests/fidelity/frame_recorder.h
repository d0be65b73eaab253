// The frame recorder: every drawing call of a run, frame by frame, in the one
// format that cairo_replay.c and gdi_frame.c read (see frame_recorder.cpp).
#pragma once

namespace frame_recorder {

// Records every call the toolkit draws from now on into the file the
// environment variable VORKAN_FRAMES names, through the host's drawing
// observer; does nothing when it is unset or empty. False, after a line on
// standard error, when the file cannot be created.
bool start_from_environment();

}  // namespace frame_recorder
