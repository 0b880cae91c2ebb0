#pragma once
// The range overlay's selection as data. The overlay window passes each event to a step function
// and carries out what the step returns, in the order of the fields of OverlayStep. All
// coordinates given to the steps and the draw operations are overlay client coordinates; only
// OverlayStep::capture is in screen coordinates.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "framework/dpi_scale.h"
#include "framework/geometry.h"
#include "settings/settings.h"

namespace kmrn {

enum class OverlayState { Hidden, Hovering, Dragging };

enum class MouseButton { Left, Right, Middle };

inline constexpr int EscapeKey = 27;
inline constexpr int TabKey = 9;

// The arrow keys' virtual-key codes, as WM_KEYDOWN gives them.
enum class ArrowKey { Left = 0x25, Up = 0x26, Right = 0x27, Down = 0x28 };

struct OverlaySelection {
  OverlayState State = OverlayState::Hidden;
  std::int32_t AnchorX = 0, AnchorY = 0;  // where the left button went down
  std::int32_t LastX = 0, LastY = 0;      // last move while dragging; -1 until the first one
  std::int32_t LabelX = 0, LabelY = 0;    // anchor of the label drawn last, to erase it
  std::string LabelText;                  // the label drawn last, to paint it again
  // The DPI the label drawn last was sized for: its erase box stays that size when the pointer
  // has gone on to a monitor of another DPI.
  int LabelDpi = DesignDpi;
  Position Origin;  // the screen position of the overlay's client (0, 0)
  // Where an arrow key has put the pointer, already drawn: the move that the system reports for
  // it changes nothing.
  std::optional<Position> PointerPlaced;
};

// One fill or text on the overlay's canvas. Fills cover rect with right and bottom exclusive.
struct OverlayDraw {
  enum class Kind {
    FillErase,  // the overlay colour (white)
    FillBand,   // the selection band (blue)
    DrawLabel   // text at (x, y), black on an opaque white box, in the UI font at dpi
  };
  Kind kind = Kind::FillErase;
  ScreenRect rect;
  std::int32_t x = 0, y = 0;
  std::string text;
  int dpi = DesignDpi;

  static OverlayDraw FillErase(const ScreenRect& rect) { return {Kind::FillErase, rect, 0, 0, {}}; }
  static OverlayDraw FillBand(const ScreenRect& rect) { return {Kind::FillBand, rect, 0, 0, {}}; }
  static OverlayDraw DrawLabel(std::int32_t x, std::int32_t y, std::string text, int dpi = DesignDpi) {
    return {Kind::DrawLabel, {}, x, y, std::move(text), dpi};
  }
  friend bool operator==(const OverlayDraw&, const OverlayDraw&) = default;
};

// What to do after an event, in this order.
struct OverlayStep {
  std::optional<Position> movePointer;  // put the pointer here (client coordinates) first
  bool raiseTopMost = false;            // put the overlay back at the top of the topmost band
  std::vector<OverlayDraw> draws;       // in order
  bool hideOverlay = false;             // hiding also ends CaptureBusy
  std::optional<PixelRect> capture;     // CaptureRect with this, in screen coordinates
  bool showMainWindow = false;
  bool showHiddenViewers = false;
  bool toggleMagnifier = false;  // shows or hides the magnifier, and the choice is kept
};

// What a release needs to know beyond the selection.
struct OverlayReleaseContext {
  const Settings& settings;
  bool mainWasVisible;
  PixelSize clientSize;  // the overlay's, to blank it
};

// The overlay has been placed and shown; its client area starts at origin on the screen.
void OnOverlayShown(OverlaySelection& selection, Position origin);

// A button went down. Only the left button starts a drag.
OverlayStep OnOverlayPress(OverlaySelection& selection, MouseButton button, std::int32_t x, std::int32_t y);

// The pointer moved. Hovering shows the pointer's screen position, dragging the band and its size;
// the label is sized for dpi, the DPI of the monitor under the pointer.
OverlayStep OnOverlayMove(OverlaySelection& selection, std::int32_t x, std::int32_t y, int dpi);

// A button went up. Ends the selection, with a capture when a left drag was big enough.
OverlayStep OnOverlayRelease(OverlaySelection& selection, MouseButton button, const OverlayReleaseContext& context);

// A character was typed. Esc cancels and brings the main window and the viewers back; Tab
// toggles the magnifier.
OverlayStep OnOverlayKeyPress(OverlaySelection& selection, int key, PixelSize clientSize);

// A key went down with the pointer at `pointer`, on a monitor of this dpi. An arrow moves the
// pointer by one pixel, ten with Shift, within the overlay, and the labels and the band follow as
// for a move of the mouse.
OverlayStep OnOverlayKeyDown(OverlaySelection& selection, int key, bool shift, Position pointer, PixelSize clientSize,
                             int dpi);

// What the overlay shows inside `area` (a part of the window that must be painted again): the
// veil, the band and the label as the last steps left them.
std::vector<OverlayDraw> OverlayRepaint(const OverlaySelection& selection, const ScreenRect& area);

}  // namespace kmrn
