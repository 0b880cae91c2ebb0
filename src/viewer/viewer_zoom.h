#pragma once
// Zooming a viewer with the mouse wheel: the steps, the size of each step's picture, where the
// window goes, and the percentage label that shows for a moment after each step.

#include <cstdint>
#include <optional>

#include "framework/geometry.h"

namespace kmrn {

// ZoomLevel: -2 = 25 %, -1 = 50 %, 0 = 100 %, 1 = 200 %, 2 = 400 %.
inline constexpr int MinZoomLevel = -2;
inline constexpr int MaxZoomLevel = 2;

enum class WheelDirection { Up, Down };

// The level after one wheel notch, or nothing when the wheel does not zoom (ViewWinWheelStretch
// off) or the level is already at that end.
std::optional<int> WheelZoomLevel(int level, WheelDirection direction, bool viewWinWheelStretch);

// The picture size at a level, always from the picture as the viewer was created: 50 % of 101 x 51
// is 50 x 25, and 100 % is 101 x 51 again. A side that would shrink to nothing keeps 1 pixel.
PixelSize ZoomedPictureSize(PixelSize base, int level);

// False when the zoomed picture exceeds the largest picture the program holds (at 32 bits); the
// step is then refused before any memory is taken.
bool ZoomedPictureAllowed(PixelSize zoomed);

// How to stretch: shrinking averages the pixels it merges, so that colours keep their brightness;
// enlarging repeats pixels exactly.
enum class StretchQuality { Averaging, PixelExact };
StretchQuality StretchQualityForLevel(int level);

// The window's new top-left corner after a step, keeping it about centred. The difference is taken
// between the old outer size (picture and frame) and the new picture size.
Position ZoomedWindowPosition(Position old, PixelSize oldOuterSize, PixelSize newPictureSize);

// The label's caption, one blank each side: " 25% " ... " 400% ".
const char* ZoomLabelCaption(int level);

// The label's text colour on the frame colour (0x00BBGGRR): black on bright frames, white on dark.
std::uint32_t ZoomLabelTextColor(std::int32_t frameColor);

// The label after a step stands still for a while, then slides out to the left.
struct ZoomLabel {
  std::int32_t left = 0;
  std::int32_t ticks = 0;
};
inline constexpr std::int32_t ZoomLabelStillTicks = 50;

// One tick of the label's timer. Returns false once the label has left the window, when the
// timer stops.
bool AdvanceZoomLabel(ZoomLabel& label, std::int32_t labelWidth);

}  // namespace kmrn
