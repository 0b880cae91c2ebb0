#pragma once
// A hotkey as the user sets it: a key, by its name, and the modifiers held with it; its text form
// ("Ctrl+SnapShot") and how a text is read back into it.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace kmrn {

class KeyAssign {
 public:
  // True when a key is set.
  bool CanUse() const { return !key_.empty(); }
  const std::string& Key() const { return key_; }
  bool Ctrl() const { return ctrl_; }
  bool Shift() const { return shift_; }
  bool Alt() const { return alt_; }
  bool WinKey() const { return winKey_; }
  // The key's virtual-key code, -1 for a name that is none.
  int KeyCode() const;

  // Each of these stores the value and reports it through OnChange, also when nothing changed.
  // A key name is stored as the table spells it; one not in the table leaves the key empty.
  void SetKey(std::string_view name);
  void SetCtrl(bool on);
  void SetShift(bool on);
  void SetAlt(bool on);
  void SetWinKey(bool on);

  // Takes over another assignment with a single OnChange, once all five values are in place.
  void Assign(const KeyAssign& other);
  // Sets the four modifiers without a report, then the key with one (the parser's way).
  void SetModifiersThenKey(bool ctrl, bool shift, bool alt, bool winKey, std::string_view name);

  std::function<void()> OnChange;

 private:
  void Changed() const {
    if (OnChange) OnChange();
  }

  std::string key_;
  bool ctrl_ = false, shift_ = false, alt_ = false, winKey_ = false;
};

// What an assignment without a key reads as.
inline constexpr const char* NoHotKeyText = "(なし)";

// The text form, modifiers first in the order Windows, Alt, Ctrl, Shift: "Windows+Alt+Ctrl+Shift+F12".
std::string HotKeyTextOf(const KeyAssign& assign);
// As a hotkey shows: the text form, or "(なし)" while no key is set.
std::string HotKeyShownText(const KeyAssign& assign);

// Reads a text such as "Ctrl+SnapShot" into the assignment. Tokens between "+" are taken as they
// stand, not trimmed; "Shift", "Ctrl", "Alt" and "Windows" (any case) set their modifier and any
// other token names the key, the last one winning. A text without a key name, or whose first token
// is empty ("+A"), changes nothing.
void ParseHotKeyText(std::string_view text, KeyAssign& into);

// The system's modifier flags for the assignment.
inline constexpr std::uint32_t ModAlt = 1, ModControl = 2, ModShift = 4, ModWin = 8;
std::uint32_t HotKeyModifiers(const KeyAssign& assign);

// The system's hot key control holds a key as its code in the low byte and these flags in the high
// byte. It has no Windows modifier: a text with one is shown without it.
inline constexpr std::uint16_t HotKeyFieldShift = 1, HotKeyFieldCtrl = 2, HotKeyFieldAlt = 4;
// The control's value for a hotkey's text form; 0 (nothing pressed) for a text without a key.
std::uint16_t HotKeyFieldValue(std::string_view text);
// The text form of the control's value; empty for no key, or for a code that names none.
std::string HotKeyFieldText(std::uint16_t value);

}  // namespace kmrn
