#pragma once
// The range overlay's magnifier: a small opaque window beside the pointer that shows the pixels
// of a copy of the screen around it, enlarged, on a fine grid, with the pointer's pixel outlined
// and its coordinates and colour written below. It is a window of its own because the overlay's
// blending would let the screen show through anything drawn on the overlay. It never takes the
// focus or the mouse. Its window text is what it writes below the cells.

#include <memory>

#include "framework/geometry.h"
#include "framework/win/window.h"
#include "picture/win/dib_win.h"

namespace kmrn {

class MagnifierWindow final : public Window {
 public:
  // Owned by the overlay, so that it stays above it.
  explicit MagnifierWindow(HWND owner);
  ~MagnifierWindow() override;

  // Draws from now on from this copy of the screen area `area` (screen coordinates).
  void Keep(SectionDib copy, const PixelRect& area);
  bool HasCopy() const noexcept;
  // Hides and frees the copy.
  void Forget() noexcept;

  // Moves beside the pointer (screen coordinates), on the pointer's monitor, and draws what lies
  // beneath it in the copy; shows the window if it was hidden.
  void Follow(Position pointer);
  void Hide() noexcept;

 private:
  struct State;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  // Draws the magnifier into its own bitmap, to be put on the screen in one piece.
  void DrawOffScreen(Position pointer, int dpi);
  std::unique_ptr<State> state_;
};

}  // namespace kmrn
