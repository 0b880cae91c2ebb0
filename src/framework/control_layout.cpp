#include "framework/control_layout.h"

#include "framework/dpi_scale.h"

namespace kmrn {

const ControlLayout* FindControl(std::span<const ControlLayout> layout, std::uint16_t id) {
  for (const ControlLayout& entry : layout) {
    if (entry.id == id) return &entry;
  }
  return nullptr;
}

LayoutRect PlacedRect(std::span<const ControlLayout> layout, const ControlLayout& control) {
  LayoutRect placed = control.rect;
  // A table without loops has fewer ancestors than entries.
  const ControlLayout* parent = FindControl(layout, control.parent);
  for (std::size_t depth = 0; parent && depth < layout.size(); ++depth) {
    placed.left += parent->rect.left;
    placed.top += parent->rect.top;
    parent = FindControl(layout, parent->parent);
  }
  return placed;
}

std::uint16_t TabPageOf(std::span<const ControlLayout> layout, const ControlLayout& control) {
  const ControlLayout* entry = &control;
  for (std::size_t depth = 0; entry && depth <= layout.size(); ++depth) {
    if (entry->kind == ControlKind::TabPage) return entry->id;
    entry = FindControl(layout, entry->parent);
  }
  return 0;
}

ScreenRect ScaledControlRect(std::span<const ControlLayout> layout, const ControlLayout& control, int dpi) {
  const LayoutRect placed = PlacedRect(layout, control);
  const std::int32_t right = SaturateToInt32(std::int64_t{placed.left} + placed.width);
  const std::int32_t bottom = SaturateToInt32(std::int64_t{placed.top} + placed.height);
  return {ScaleForDpi(placed.left, dpi), ScaleForDpi(placed.top, dpi), ScaleForDpi(right, dpi),
          ScaleForDpi(bottom, dpi)};
}

bool HasWindow(ControlKind kind) {
  return kind != ControlKind::Panel && kind != ControlKind::WhitePanel && kind != ControlKind::TabPage;
}

bool IsEdit(ControlKind kind) {
  return kind == ControlKind::Edit || kind == ControlKind::ReadOnlyEdit || kind == ControlKind::NumberEdit;
}

std::vector<const ControlLayout*> TabPagesOf(std::span<const ControlLayout> layout, std::uint16_t tabs) {
  std::vector<const ControlLayout*> pages;
  for (const ControlLayout& entry : layout) {
    if (entry.kind == ControlKind::TabPage && entry.parent == tabs) pages.push_back(&entry);
  }
  return pages;
}

const ControlLayout* FirstControlOnPage(std::span<const ControlLayout> layout, std::uint16_t page) {
  for (const ControlLayout& entry : layout) {
    if (TabPageOf(layout, entry) == page && HasWindow(entry.kind)) return &entry;
  }
  return nullptr;
}

ControlColours ColoursOf(std::span<const ControlLayout> layout, const ControlLayout& control) {
  ControlColours colours;
  colours.blueText = control.kind == ControlKind::LinkLabel || control.kind == ControlKind::BlueLabel;
  const ControlLayout* parent = FindControl(layout, control.parent);
  for (std::size_t depth = 0; parent && depth < layout.size(); ++depth) {
    if (parent->kind == ControlKind::WhitePanel || parent->kind == ControlKind::TabPage) colours.whiteBackground = true;
    parent = FindControl(layout, parent->parent);
  }
  return colours;
}

}  // namespace kmrn
