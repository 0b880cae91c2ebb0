#include "settings/settings_form.h"

#include <algorithm>
#include <charconv>
#include <type_traits>
#include <variant>

#include "framework/control_layout.h"
#include "settings/settings_dialog_layout.h"

namespace kmrn {
namespace {

using enum SettingControl;

// A whole decimal number, optionally negative, and nothing else; the fallback otherwise.
std::int32_t ParseDecimal(const std::string& text, std::int32_t fallback) {
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
  return error == std::errc() && end == text.data() + text.size() && !text.empty() ? value : fallback;
}

ControlKind KindOf(std::uint16_t id) {
  const ControlLayout* control = FindControl(SettingsDialogLayout, id);
  return control ? control->kind : ControlKind::Label;
}

constexpr std::uint16_t DualDisplayEdits[] = {Id(PrimaryWidthEdit),    Id(PrimaryHeightEdit), Id(SecondaryWidthEdit),
                                              Id(SecondaryHeightEdit), Id(SecondaryLeftEdit), Id(SecondaryTopEdit)};

}  // namespace

void FillSettingsForm(const Settings& settings, SettingsFormControls& form) {
  for (const SettingKey& key : SettingKeys()) {
    if (key.control == 0) continue;
    std::visit(
        [&](auto member) {
          if constexpr (std::is_same_v<decltype(member), bool Settings::*>) {
            form.SetChecked(key.control, settings.*member);
          } else if constexpr (std::is_same_v<decltype(member), std::string Settings::*>) {
            form.SetText(key.control, settings.*member);
          } else if constexpr (std::is_same_v<decltype(member), std::int32_t Settings::*>) {
            const std::int32_t value = settings.*member;
            switch (KindOf(key.control)) {
              case ControlKind::Swatch: form.SetColour(key.control, static_cast<std::uint32_t>(value)); break;
              case ControlKind::TrackBar:
              case ControlKind::GroupBox: form.SetPosition(key.control, value); break;
              default: form.SetText(key.control, std::to_string(value)); break;
            }
          }
        },
        key.field);
  }
  // The quality edit follows the track bar; the editor's auto-close is named after the editor.
  form.SetText(Id(JpegQualityEdit), std::to_string(form.Position(Id(JpegQualitySlider))));
  form.SetText(Id(AutoCloseEditorCheck), settings.OpenApplicationStr);
  UpdateMagnetControls(form);
  UpdateDualDisplayControls(form);
}

bool DualDisplayUnset(const SettingsFormControls& form, const Settings& s) {
  if (!form.Checked(Id(DualDisplayCheck))) return false;
  const std::int32_t current[] = {s.mDisplay_PW, s.mDisplay_PH, s.mDisplay_SW,
                                  s.mDisplay_SH, s.mDisplay_SX, s.mDisplay_SY};
  std::int64_t sum = 0;
  for (int i = 0; i < 6; ++i) sum += ParseDecimal(form.Text(DualDisplayEdits[i]), current[i]);
  return sum == 0;
}

void StoreSettingsForm(const SettingsFormControls& form, Settings& settings) {
  for (const SettingKey& key : SettingKeys()) {
    if (key.control == 0) continue;
    std::visit(
        [&](auto member) {
          if constexpr (std::is_same_v<decltype(member), bool Settings::*>) {
            settings.*member = form.Checked(key.control);
          } else if constexpr (std::is_same_v<decltype(member), std::string Settings::*>) {
            settings.*member = form.Text(key.control);
          } else if constexpr (std::is_same_v<decltype(member), std::int32_t Settings::*>) {
            std::int32_t value;
            switch (KindOf(key.control)) {
              case ControlKind::Swatch: value = static_cast<std::int32_t>(form.Colour(key.control)); break;
              case ControlKind::TrackBar:
              case ControlKind::GroupBox: value = form.Position(key.control); break;
              default: value = ParseDecimal(form.Text(key.control), settings.*member); break;
            }
            settings.*member = std::clamp(value, key.minimum, key.maximum);
          }
        },
        key.field);
  }
}

void UpdateDualDisplayControls(SettingsFormControls& form) {
  const bool on = form.Checked(Id(DualDisplayCheck));
  for (std::uint16_t edit : DualDisplayEdits) form.Enable(edit, on);
  for (SettingControl label :
       {PrimaryDisplayLabel, PrimaryResolutionLabel, PrimaryTimesLabel, SecondaryDisplayLabel, SecondaryResolutionLabel,
        SecondaryTimesLabel, SecondaryPositionLabel, SecondaryCommaLabel}) {
    form.Enable(Id(label), on);
  }
}

void UpdateMagnetControls(SettingsFormControls& form) {
  const bool on = form.Checked(Id(WindowMagnetCheck));
  form.Enable(Id(MagnetWidthLabel), on);
  form.Enable(Id(MagnetWidthEdit), on);
}

bool NumericEditAccepts(std::uint16_t id, char32_t typed) {
  if (KindOf(id) != ControlKind::NumberEdit) return true;
  if ((typed >= U'0' && typed <= U'9') || typed == 8) return true;
  return typed == U'-' && (id == Id(SecondaryLeftEdit) || id == Id(SecondaryTopEdit));
}

std::optional<int> TypedJpegQuality(const std::string& text) {
  const std::int32_t value = ParseDecimal(text, -1);
  if (value < 1 || value > 100) return std::nullopt;
  return value;
}

std::string UnusableSaveFolderMessage(const std::string& chosenName) {
  return "「" + chosenName + "」は画像を保存するフォルダにできません。\r\n別のフォルダを選択して下さい。";
}

std::string OpenWithCaption(const std::string& programPath) {
  const std::size_t slash = programPath.find_last_of("\\/");
  std::string name = programPath.substr(slash == std::string::npos ? 0 : slash + 1);
  if (const std::size_t dot = name.rfind('.'); dot != std::string::npos) name.resize(dot);
  return name + "で開く";
}

}  // namespace kmrn
