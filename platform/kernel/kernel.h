// What the rest of the stand-in asks of KERNEL32 beyond the Win32 calls.
#pragma once

namespace vk::kernel {

// Frees every memory block: a fresh KERNEL32.
void reset();
// Number of blocks currently allocated (for leak checks in tests).
int live_blocks();

}  // namespace vk::kernel
