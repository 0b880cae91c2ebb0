#pragma once
// How the program describes a window's controls: one table per window, one entry per control,
// in creation (and tab) order, each placed at 96 DPI relative to its parent entry. The same
// description serves the main window and the settings dialog; the platform builds the controls
// from it.

#include <cstdint>
#include <span>
#include <vector>

#include "framework/geometry.h"

namespace kmrn {

enum class ControlKind {
  PushButton,
  CheckBox,
  RadioButton,  // checked by the program, which is told of the click
  AutoRadio,    // an item of a radio group, checked by itself
  ListBox,
  Edit,
  ReadOnlyEdit,
  NumberEdit,  // an edit whose typed characters the window filters
  Label,       // sized to its caption when the width is 0
  BoldLabel,
  BlueLabel,
  LinkLabel,  // blue and underlined with the hand cursor; clicking it opens its target
  GroupBox,
  Panel,       // a raised bevel drawn by the window, no control of its own
  WhitePanel,  // a white area drawn by the window, no control of its own
  TrackBar,
  Tabs,
  TabPage,      // the area of one tab; shown while its tab is chosen
  Swatch,       // a colour sample the window draws; clicking it reports a command
  HotKeyField,  // the system's hot key control: it shows the keys the user presses
};

struct LayoutRect {
  int left = 0, top = 0, width = 0, height = 0;
};

struct ControlLayout {
  std::uint16_t id;
  ControlKind kind;
  std::uint16_t parent = 0;  // the entry this one is placed in; 0 for the window itself
  LayoutRect rect;           // relative to the parent, at 96 DPI
  const char* caption = "";
  const char* hint = nullptr;  // shown on hover
  bool tabStop = false;
  bool groupStart = false;  // the first of a group that the arrow keys move within
};

// The control's rectangle in the window's client area at 96 DPI: its own, moved by its parents'.
LayoutRect PlacedRect(std::span<const ControlLayout> layout, const ControlLayout& control);

// The tab page the control lies on, 0 for none.
std::uint16_t TabPageOf(std::span<const ControlLayout> layout, const ControlLayout& control);

// The entry of an id, or nullptr.
const ControlLayout* FindControl(std::span<const ControlLayout> layout, std::uint16_t id);

// The control's rectangle in the window's client area at this DPI. Each edge is scaled on its
// own, so that controls that meet at 96 DPI still meet; a width may differ by a pixel from the
// scaled width.
ScreenRect ScaledControlRect(std::span<const ControlLayout> layout, const ControlLayout& control, int dpi);

// False for the kinds the window draws itself or that only group others (panels, tab pages):
// they have no control of their own.
bool HasWindow(ControlKind kind);
// The kinds made as edit controls.
bool IsEdit(ControlKind kind);

// The tab pages laid into a page control, in table order: its tabs.
std::vector<const ControlLayout*> TabPagesOf(std::span<const ControlLayout> layout, std::uint16_t tabs);

// The first entry on a tab page (not 0) that has a control of its own, whose visibility says
// whether the page is shown; nullptr for a page without one.
const ControlLayout* FirstControlOnPage(std::span<const ControlLayout> layout, std::uint16_t page);

// The colours a control takes instead of the system's: blue text for link and blue labels (red
// under the pointer), and a white background on a white panel or a tab page, which are white.
struct ControlColours {
  bool blueText = false;
  bool whiteBackground = false;
  friend bool operator==(const ControlColours&, const ControlColours&) = default;
};
ControlColours ColoursOf(std::span<const ControlLayout> layout, const ControlLayout& control);

}  // namespace kmrn
