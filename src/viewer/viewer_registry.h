#pragma once
// The bookkeeping of the viewer windows: one slot per viewer ever made since the last clean-up,
// holding the viewer object and its window handle. Slots are only appended; a closed viewer keeps
// its slot, with the handle 0, until every viewer is closed and FreeClosedViewers drops them all.
// Its object need not wait that long: TakeClosedViewers hands it over earlier, so that a day of
// captures with some viewer always open does not pile up closed windows and their pictures.
// Viewer is whatever owns a viewer window (for example a std::unique_ptr to it).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "framework/geometry.h"

namespace kmrn {

template <typename Viewer>
class ViewerSlots {
 public:
  using WindowHandle = std::uintptr_t;  // 0 once the viewer is closed

  // Adds a slot for a newly made viewer; returns its index.
  std::size_t Append(Viewer viewer, WindowHandle window) {
    slots_.push_back({std::move(viewer), window});
    return slots_.size() - 1;
  }

  std::size_t ViewerSlotCount() const { return slots_.size(); }

  std::size_t OpenViewerCount() const {
    std::size_t open = 0;
    for (const Slot& slot : slots_) open += slot.window != 0 ? 1 : 0;
    return open;
  }

  // The viewer has finally closed. Its object lives on, hidden, until FreeClosedViewers.
  void MarkClosed(std::size_t index) {
    if (index < slots_.size()) slots_[index].window = 0;
  }

  // Only when no viewer is open: empties the registry and hands back every viewer object for the
  // caller to destroy. The registry is already empty while they are destroyed.
  std::vector<Viewer> FreeClosedViewers() {
    std::vector<Viewer> closed;
    if (OpenViewerCount() != 0) return closed;
    closed.reserve(slots_.size());
    for (Slot& slot : slots_) closed.push_back(std::move(slot.viewer));
    slots_.clear();
    return closed;
  }

  // The objects of the closed viewers, for the caller to destroy. Their slots stay, empty, so
  // that the open viewers keep their places in slot order.
  std::vector<Viewer> TakeClosedViewers() {
    std::vector<Viewer> closed;
    for (Slot& slot : slots_) {
      if (slot.window == 0 && slot.viewer) closed.push_back(std::exchange(slot.viewer, Viewer{}));
    }
    return closed;
  }

  // Calls f(viewer, window) for every open slot, in slot order. Slots that f appends are not
  // visited.
  template <typename F>
  void ForEachOpen(F&& f) {
    const std::size_t count = slots_.size();
    for (std::size_t i = 0; i < count; ++i) {
      if (slots_[i].window != 0) f(slots_[i].viewer, slots_[i].window);
    }
  }
  template <typename F>
  void ForEachOpen(F&& f) const {
    for (const Slot& slot : slots_) {
      if (slot.window != 0) f(slot.viewer, slot.window);
    }
  }

  // Where the next viewer's window is made while a capture places it; nothing otherwise. Any
  // place can be pending, (-1, -1) included.
  std::optional<Position> nextViewerPosition;

 private:
  struct Slot {
    Viewer viewer;
    WindowHandle window;
  };
  std::vector<Slot> slots_;
};

}  // namespace kmrn
