#include "framework/control_layout.h"

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

}  // namespace kmrn
