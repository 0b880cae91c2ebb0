#include "settings/settings_dialog_layout.h"

#include <gtest/gtest.h>

namespace kmrn {
namespace {

bool Overlap(const LayoutRect& a, const LayoutRect& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height && b.top < a.top + a.height;
}

bool Inside(const LayoutRect& inner, const LayoutRect& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.left + inner.width <= outer.left + outer.width &&
         inner.top + inner.height <= outer.top + outer.height;
}

// The check boxes added to pages that were full already lie in free room: inside their page and
// their group, over no other control of that page (group boxes only frame them).
TEST(SettingsDialogLayout, TheLaterCheckBoxesCoverNoOtherControl) {
  for (SettingControl added : {SettingControl::SavePngCheck, SettingControl::AutoClosePngCheck,
                               SettingControl::MagnifierCheck, SettingControl::CaptureCursorCheck,
                               SettingControl::ClipboardViewHotKeyLabel, SettingControl::ClipboardViewHotKeyField,
                               SettingControl::ClosedViewersKeptLabel, SettingControl::ClosedViewersKeptEdit,
                               SettingControl::AllMonitorsCheck}) {
    const ControlLayout* control = FindControl(SettingsDialogLayout, Id(added));
    ASSERT_TRUE(control);
    SCOPED_TRACE(control->caption);
    const LayoutRect placed = PlacedRect(SettingsDialogLayout, *control);
    const std::uint16_t page = TabPageOf(SettingsDialogLayout, *control);
    ASSERT_NE(page, 0);
    EXPECT_TRUE(Inside(placed, PlacedRect(SettingsDialogLayout, *FindControl(SettingsDialogLayout, page))));
    if (control->parent != page) {
      EXPECT_TRUE(
          Inside(placed, PlacedRect(SettingsDialogLayout, *FindControl(SettingsDialogLayout, control->parent))));
    }
    for (const ControlLayout& other : SettingsDialogLayout) {
      if (other.id == control->id || other.id == page || TabPageOf(SettingsDialogLayout, other) != page) continue;
      if (other.kind == ControlKind::GroupBox && other.id == control->parent) continue;
      // A label sized to its caption: its first character at least.
      LayoutRect area = PlacedRect(SettingsDialogLayout, other);
      if (area.width == 0) area = {area.left, area.top, 1, 13};
      EXPECT_FALSE(Overlap(placed, area)) << "over control " << other.id;
    }
  }
}

}  // namespace
}  // namespace kmrn
