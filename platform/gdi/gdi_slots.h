// Slot tables behind GDI handles.
//
// A handle is an opaque pointer-sized value packing the slot's kind, index and
// generation, so a handle of the wrong kind, a deleted object's handle or a
// handle from before a reset is rejected instead of reaching freed state.
// Freed slots are reused last-in first-out through an intrusive free list, so
// create/delete cycles allocate nothing once the table has grown.
#pragma once

#include <cstdint>
#include <vector>

namespace vk::gdi {

enum class Kind : std::uintptr_t { pen = 1, brush = 2, font = 3, bitmap = 4, dc = 5 };

// 64-bit handles carry 20 bits of index and 40 of generation. 32-bit ones (the
// browser build) carry 12 and 16: a program rarely holds more than a few GDI
// objects at once, while the toolkit makes and deletes pens and brushes on
// every call, reusing the same slots, so a stale handle must outlive many
// reuses before its generation comes round again.
inline constexpr int kKindBits = 4;
inline constexpr int kIndexBits = sizeof(std::uintptr_t) >= 8 ? 20 : 12;
inline constexpr std::uint32_t kNoSlot = 0xFFFFFFFFu;
inline constexpr std::uint32_t kMaxSlots = 1u << kIndexBits;
inline constexpr std::uintptr_t kGenerationMask = ~std::uintptr_t{0} >> (kKindBits + kIndexBits);

inline Kind kind_of_handle(const void* handle) {
  return static_cast<Kind>(reinterpret_cast<std::uintptr_t>(handle) & ((1u << kKindBits) - 1));
}

template <typename T, Kind kKind>
class SlotTable {
 public:
  // A live slot holding a default T; kNoSlot when the table is full.
  std::uint32_t acquire(bool stock = false) {
    std::uint32_t index = free_head_;
    if (index != kNoSlot) {
      free_head_ = slots_[index].next_free;
    } else {
      if (slots_.size() >= kMaxSlots) return kNoSlot;
      index = static_cast<std::uint32_t>(slots_.size());
      slots_.emplace_back();
    }
    Slot& slot = slots_[index];
    slot.live = true;
    slot.stock = stock;
    ++live_;
    return index;
  }

  // Frees a live slot; its handles go stale. The value is reset by the caller.
  void release(std::uint32_t index) {
    Slot& slot = slots_[index];
    slot.live = false;
    slot.generation = (slot.generation + 1) & kGenerationMask;
    slot.next_free = free_head_;
    free_head_ = index;
    --live_;
  }

  // The value behind a live handle of this table's kind, else null.
  T* find(const void* handle) {
    const std::uint32_t index = index_of(handle);
    return index == kNoSlot ? nullptr : &slots_[index].value;
  }

  // The slot index behind a live handle of this table's kind, else kNoSlot.
  std::uint32_t index_of(const void* handle) const {
    const auto bits = reinterpret_cast<std::uintptr_t>(handle);
    if (kind_of_handle(handle) != kKind) return kNoSlot;
    const auto index = static_cast<std::uint32_t>((bits >> kKindBits) & (kMaxSlots - 1));
    const std::uintptr_t generation = bits >> (kKindBits + kIndexBits);
    if (index >= slots_.size()) return kNoSlot;
    const Slot& slot = slots_[index];
    return slot.live && slot.generation == generation ? index : kNoSlot;
  }

  void* handle_of(std::uint32_t index) const {
    const std::uintptr_t bits = (slots_[index].generation << (kKindBits + kIndexBits)) |
                                (std::uintptr_t{index} << kKindBits) |
                                static_cast<std::uintptr_t>(kKind);
    return reinterpret_cast<void*>(bits);
  }

  T& at(std::uint32_t index) { return slots_[index].value; }
  bool is_stock(std::uint32_t index) const { return slots_[index].stock; }

  template <typename Visit>
  void for_each_live(Visit visit) {
    for (std::uint32_t i = 0; i < slots_.size(); ++i)
      if (slots_[i].live) visit(i, slots_[i].stock);
  }

  // Every slot's value, live or free (free slots may hold buffers kept for reuse).
  template <typename Visit>
  void for_each_value(Visit visit) {
    for (Slot& slot : slots_) visit(slot.value);
  }

  int slot_count() const { return static_cast<int>(slots_.size()); }
  int live_count() const { return live_; }

 private:
  struct Slot {
    T value{};
    std::uintptr_t generation = 1;
    std::uint32_t next_free = kNoSlot;
    bool live = false;
    bool stock = false;
  };
  std::vector<Slot> slots_;
  std::uint32_t free_head_ = kNoSlot;
  int live_ = 0;
};

}  // namespace vk::gdi
