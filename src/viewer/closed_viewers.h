#pragma once
// What the program keeps of the viewers the user closed, so that "閉じた表示を戻す" can bring the
// last one back as it was: its place, its zoom, and its turns and mirrors, with the picture it was
// made from (kept compressed by the caller).

#include <cstddef>
#include <cstdint>
#include <deque>
#include <utility>

#include "framework/geometry.h"
#include "viewer/viewer_menu.h"

namespace kmrn {

// The turns and mirrors a viewer has applied since its last zoom step, reduced to one of the eight
// ways a picture can lie: first mirrored left to right when `mirrored`, then turned clockwise by
// `quarterTurns` quarters. However many commands the user gave, replaying takes at most four.
struct ViewOrientation {
  bool mirrored = false;
  int quarterTurns = 0;  // 0 to 3

  // After the picture so far, one more of the edit commands (others change nothing).
  void Then(ViewerCommand command);
  friend bool operator==(const ViewOrientation&, const ViewOrientation&) = default;
};

// What a closed viewer showed, apart from its picture.
struct ClosedViewerView {
  Position place;  // the window's top-left corner
  int zoomLevel = 0;
  ViewOrientation orientation;
};

// The most recently closed viewers, newest last, at most `capacity` of them: a viewer closed
// beyond that pushes out the oldest.
template <typename Kept>
class ClosedViewers {
 public:
  explicit ClosedViewers(std::size_t capacity) : capacity_(capacity) {}

  void Add(Kept kept) {
    if (capacity_ == 0) return;
    entries_.push_back(std::move(kept));
    while (entries_.size() > capacity_) entries_.pop_front();
  }
  bool Empty() const { return entries_.empty(); }
  std::size_t Size() const { return entries_.size(); }
  // The newest, taken out. Only when not Empty.
  Kept TakeNewest() {
    Kept newest = std::move(entries_.back());
    entries_.pop_back();
    return newest;
  }
  // A smaller capacity lets the oldest go at once.
  void SetCapacity(std::size_t capacity) {
    capacity_ = capacity;
    while (entries_.size() > capacity_) entries_.pop_front();
  }
  template <typename F>
  void ForEach(F&& f) const {
    for (const Kept& kept : entries_) f(kept);
  }
  template <typename F>
  void ForEach(F&& f) {
    for (Kept& kept : entries_) f(kept);
  }
  // Lets go of those the predicate picks.
  template <typename F>
  void RemoveIf(F&& pick) {
    std::erase_if(entries_, pick);
  }

 private:
  std::size_t capacity_;
  std::deque<Kept> entries_;
};

}  // namespace kmrn
