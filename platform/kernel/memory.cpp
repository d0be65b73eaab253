// KERNEL32 memory blocks and the module handle. A handle names a block that stays where it is
// (nothing here compacts memory), so locking only counts and hands out its address.
// Blocks live in a slot table: a handle is its slot and the slot's generation, so a
// freed handle never names a later block, and a look-up is an index, not a hash.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "kernel.h"
#include "win32.h"

namespace {

struct Block {
  void* data = nullptr;  // null: the slot is free
  SIZE_T size = 0;
  int lock_count = 0;
  std::uint32_t generation = 0;
};

// Handles are pointer-sized: 64-bit handles carry 24 bits of slot and of
// generation, 32-bit ones (the browser build) 16 and 12.
constexpr bool kWideHandles = sizeof(std::uintptr_t) >= 8;
constexpr int kSlotBits = kWideHandles ? 24 : 16;
constexpr std::uintptr_t kSlotMask = (std::uintptr_t{1} << kSlotBits) - 1;
constexpr std::uint32_t kGenerationMask = kWideHandles ? 0xFFFFFF : 0xFFF;

struct Table {
  std::vector<Block> slots;
  std::vector<std::uint32_t> free_slots;
  int live = 0;
};

// Never destroyed: blocks still live at exit stay reachable (and the exit
// handlers of other objects may still free theirs).
Table& table() {
  static Table* blocks = new Table;
  return *blocks;
}

// Low bits: slot + 1 (so no handle is null); above them the generation; shifted
// so that a handle is never mistaken for a small integer.
HGLOBAL handle_of(std::uint32_t slot, std::uint32_t generation) {
  const std::uintptr_t bits = (std::uintptr_t{generation} << kSlotBits) | (slot + 1);
  return reinterpret_cast<HGLOBAL>(bits << 4);
}

Block* find_block(HGLOBAL mem) {
  const std::uintptr_t bits = reinterpret_cast<std::uintptr_t>(mem);
  if ((bits & 0xF) != 0) return nullptr;
  const std::uintptr_t slot_plus_one = (bits >> 4) & kSlotMask;
  Table& blocks = table();
  if (slot_plus_one == 0 || slot_plus_one > blocks.slots.size()) return nullptr;
  Block& block = blocks.slots[slot_plus_one - 1];
  if (block.data == nullptr || handle_of(static_cast<std::uint32_t>(slot_plus_one - 1), block.generation) != mem)
    return nullptr;
  return &block;
}

std::uint32_t free_slot(Table& blocks) {
  if (!blocks.free_slots.empty()) {
    const std::uint32_t slot = blocks.free_slots.back();
    blocks.free_slots.pop_back();
    return slot;
  }
  if (blocks.slots.size() >= kSlotMask - 1) return UINT32_MAX;
  blocks.free_slots.reserve(blocks.slots.size() + 1);  // so that freeing never allocates
  blocks.slots.emplace_back();
  return static_cast<std::uint32_t>(blocks.slots.size() - 1);
}

}  // namespace

extern "C" {

HGLOBAL WINAPI GlobalAlloc(UINT flags, SIZE_T bytes) {
  // One byte at least, so every live block has its own address.
  void* data = (flags & GMEM_ZEROINIT) ? std::calloc(1, bytes ? bytes : 1) : std::malloc(bytes ? bytes : 1);
  if (!data) return nullptr;
  Table& blocks = table();
  std::uint32_t slot;
  try {
    slot = free_slot(blocks);
  } catch (const std::bad_alloc&) {
    slot = UINT32_MAX;
  }
  if (slot == UINT32_MAX) {
    std::free(data);
    return nullptr;
  }
  Block& block = blocks.slots[slot];
  block.data = data;
  block.size = bytes;
  block.lock_count = 0;
  ++blocks.live;
  return handle_of(slot, block.generation);
}

LPVOID WINAPI GlobalLock(HGLOBAL mem) {
  Block* block = find_block(mem);
  if (!block) return nullptr;
  ++block->lock_count;
  return block->data;
}

BOOL WINAPI GlobalUnlock(HGLOBAL mem) {
  Block* block = find_block(mem);
  if (!block || block->lock_count == 0) return FALSE;
  --block->lock_count;
  return block->lock_count > 0;
}

HGLOBAL WINAPI GlobalFree(HGLOBAL mem) {
  Block* block = find_block(mem);
  if (!block) return mem;  // Win32 returns the handle on failure
  std::free(block->data);
  block->data = nullptr;
  block->generation = (block->generation + 1) & kGenerationMask;
  Table& blocks = table();
  blocks.free_slots.push_back(static_cast<std::uint32_t>(block - blocks.slots.data()));
  --blocks.live;
  return nullptr;
}

SIZE_T WINAPI GlobalSize(HGLOBAL mem) {
  Block* block = find_block(mem);
  return block ? block->size : 0;
}

// The program is the only module; its handle is the classic image base, as WinMain is given.
HMODULE WINAPI GetModuleHandleA(LPCSTR module_name) {
  if (module_name) return nullptr;
  return reinterpret_cast<HMODULE>(static_cast<std::uintptr_t>(0x400000));
}

}  // extern "C"

namespace vk::kernel {

void reset() {
  for (Block& block : table().slots) std::free(block.data);
  table() = Table{};
}

int live_blocks() { return table().live; }

}  // namespace vk::kernel
