#pragma once
// What the settings dialog decides, apart from the windows that show it: how its controls are
// filled from the settings and read back into them (driven by the settings table, which names
// each setting's control), which characters the numeric edits take, how the JPEG quality edit and
// track bar follow each other, the enabling rules, and the caption an editor chosen from a file
// gets.

#include <cstdint>
#include <optional>
#include <string>

#include "settings/settings.h"

namespace kmrn {

// The dialog's controls as the form reads and writes them, by control id.
class SettingsFormControls {
 public:
  virtual ~SettingsFormControls() = default;
  virtual bool Checked(std::uint16_t id) const = 0;
  virtual void SetChecked(std::uint16_t id, bool checked) = 0;
  virtual std::string Text(std::uint16_t id) const = 0;
  virtual void SetText(std::uint16_t id, const std::string& text) = 0;
  // The track bar's position, or the index of the chosen item of a radio group.
  virtual int Position(std::uint16_t id) const = 0;
  virtual void SetPosition(std::uint16_t id, int position) = 0;
  // The colour swatch (0x00BBGGRR).
  virtual std::uint32_t Colour(std::uint16_t id) const = 0;
  virtual void SetColour(std::uint16_t id, std::uint32_t colour) = 0;
  virtual void Enable(std::uint16_t id, bool enabled) = 0;
};

// Every control from the settings (the dialog's showing), with the enabling rules applied and the
// editor's auto-close check box captioned with OpenApplicationStr.
void FillSettingsForm(const Settings& settings, SettingsFormControls& form);

// Dual display is to be switched on, but its six values (each falling back to its setting) add up
// to 0: the dialog warns and stores nothing.
bool DualDisplayUnset(const SettingsFormControls& form, const Settings& settings);
inline constexpr const char* DualDisplayWarning = "デュアルディスプレイを使用する場合は解像度を設定してください";

// Every setting from its control: check boxes as they are, texts as typed, numbers parsed with the
// setting's current value for text that is no number and kept within the setting's bounds.
void StoreSettingsForm(const SettingsFormControls& form, Settings& settings);

// The dual-display edits and their labels are enabled exactly while dual display is checked; the
// magnet width while the magnet is.
void UpdateDualDisplayControls(SettingsFormControls& form);
void UpdateMagnetControls(SettingsFormControls& form);

// Whether a numeric edit takes a typed character: digits and backspace, and "-" for the two
// position edits. Other controls take everything.
bool NumericEditAccepts(std::uint16_t id, char32_t typed);

// The quality typed into the JPEG quality edit, when it is a whole number from 1 to 100 ("075" is
// 75); nothing otherwise, and the edit shows the track bar's value again.
std::optional<int> TypedJpegQuality(const std::string& text);

// What the dialog says when the folder browser's choice has no path that files can be saved
// under (a folder of the shell's own, a path too long): the save folder stays as it was.
std::string UnusableSaveFolderMessage(const std::string& chosenName);

// "<file name without folder and extension>で開く", the caption of an editor chosen from a file.
std::string OpenWithCaption(const std::string& programPath);

}  // namespace kmrn
