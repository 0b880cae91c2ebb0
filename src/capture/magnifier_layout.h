#pragma once
// Where the range overlay's magnifier goes and what it shows: the pixels of the screen copy
// around the pointer, one cell each, with the pointer's coordinates and the colour of the pixel
// under it written below the cells. Screen coordinates throughout, except where a field says
// otherwise.

#include <cstdint>
#include <string>

#include "framework/geometry.h"

namespace kmrn {

// The magnifier's parts at a DPI: a square of Cells x Cells cells, each CellSide pixels with a
// one-pixel grid line on its left and top (and one more line closing the square), a margin around
// everything and two lines of text below the cells.
struct MagnifierLook {
  static constexpr std::int32_t Cells = 15;  // odd, so that one cell is the pointer's

  std::int32_t cellSide = 8;
  std::int32_t margin = 4;
  std::int32_t lineHeight = 16;

  // Cells x CellSide plus the closing grid line.
  constexpr std::int32_t GridSide() const { return Cells * cellSide + 1; }
  constexpr PixelSize BoxSize() const { return {GridSide() + 2 * margin, GridSide() + 3 * margin + 2 * lineHeight}; }
  // The cell of column c and row r inside the box (the grid lines excluded).
  constexpr ScreenRect CellRect(std::int32_t c, std::int32_t r) const {
    return {margin + c * cellSide + 1, margin + r * cellSide + 1, margin + (c + 1) * cellSide,
            margin + (r + 1) * cellSide};
  }
};

// The look at a DPI: the cells and the text grow with it.
MagnifierLook MagnifierLookAt(int dpi);

// The box of the given size near the pointer, inside the area (the pointer's monitor): below and
// right of the pointer, left of it where the right edge is near, above it where the bottom edge
// is near. The box never covers the pointer unless the area is too small to hold it beside it.
ScreenRect MagnifierBox(Position pointer, const ScreenRect& area, PixelSize size);

// Which pixels of the screen copy the cells show: `source` in the copy's own coordinates, clipped
// to the copy, shown from the cell (firstColumn, firstRow) on. Cells beyond the copy's edges show
// nothing. The pointer is in screen coordinates; the copy covers `copy` on the screen.
struct MagnifierSource {
  PixelRect source;
  std::int32_t firstColumn = 0, firstRow = 0;
  friend bool operator==(const MagnifierSource&, const MagnifierSource&) = default;
};
MagnifierSource MagnifierSourceOf(Position pointer, const PixelRect& copy);

// The two lines below the cells: "x,y" of the pointer, and the colour of its pixel as #RRGGBB
// (nothing beyond the copy).
std::string MagnifierPositionText(Position pointer);
std::string MagnifierColourText(std::uint8_t red, std::uint8_t green, std::uint8_t blue);

// Whether a colour looks light (by its luma), so that the pointer's cell is outlined in black
// rather than white.
bool IsLightColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue);

}  // namespace kmrn
