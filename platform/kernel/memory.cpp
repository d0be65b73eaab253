// KERNEL32 memory blocks and the module handle. A handle names a block that stays where it is
// (nothing here compacts memory), so locking only counts and hands out its address.
#include <cstdlib>
#include <cstring>
#include <unordered_map>

#include "stand_in.h"

namespace {

struct Block {
  void* data = nullptr;
  SIZE_T size = 0;
  int lock_count = 0;
};

std::unordered_map<HGLOBAL, Block>& blocks() {
  static std::unordered_map<HGLOBAL, Block> table;
  return table;
}

Block* find_block(HGLOBAL mem) {
  auto it = blocks().find(mem);
  return it == blocks().end() ? nullptr : &it->second;
}

}  // namespace

extern "C" {

HGLOBAL WINAPI GlobalAlloc(UINT flags, SIZE_T bytes) {
  // One byte at least, so every live block has its own address.
  void* data = (flags & GMEM_ZEROINIT) ? std::calloc(1, bytes ? bytes : 1) : std::malloc(bytes ? bytes : 1);
  if (!data) return nullptr;
  HGLOBAL handle = data;
  blocks()[handle] = Block{data, bytes, 0};
  return handle;
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
  auto it = blocks().find(mem);
  if (it == blocks().end()) return mem;  // Win32 returns the handle on failure
  std::free(it->second.data);
  blocks().erase(it);
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
  for (auto& entry : blocks()) std::free(entry.second.data);
  blocks().clear();
}

int live_blocks() { return static_cast<int>(blocks().size()); }

}  // namespace vk::kernel
