#include "components/key_assign.h"

#include "components/key_names.h"
#include "framework/text.h"

namespace kmrn {
namespace {

// Everything after the first "+" is kept to at most this many bytes.
constexpr std::size_t RestMaxBytes = 255;

}  // namespace

int KeyAssign::KeyCode() const { return KeyNameToCode(key_); }

void KeyAssign::SetKey(std::string_view name) {
  key_ = NormalizeKeyName(name);
  Changed();
}

void KeyAssign::SetCtrl(bool on) {
  ctrl_ = on;
  Changed();
}

void KeyAssign::SetShift(bool on) {
  shift_ = on;
  Changed();
}

void KeyAssign::SetAlt(bool on) {
  alt_ = on;
  Changed();
}

void KeyAssign::SetWinKey(bool on) {
  winKey_ = on;
  Changed();
}

void KeyAssign::Assign(const KeyAssign& other) {
  SetModifiersThenKey(other.ctrl_, other.shift_, other.alt_, other.winKey_, other.key_);
}

void KeyAssign::SetModifiersThenKey(bool ctrl, bool shift, bool alt, bool winKey, std::string_view name) {
  ctrl_ = ctrl;
  shift_ = shift;
  alt_ = alt;
  winKey_ = winKey;
  SetKey(name);
}

std::string HotKeyTextOf(const KeyAssign& assign) {
  std::string text = assign.Key();
  if (assign.Shift()) text.insert(0, "Shift+");
  if (assign.Ctrl()) text.insert(0, "Ctrl+");
  if (assign.Alt()) text.insert(0, "Alt+");
  if (assign.WinKey()) text.insert(0, "Windows+");
  return text;
}

std::string HotKeyShownText(const KeyAssign& assign) {
  return assign.Key().empty() ? std::string(NoHotKeyText) : HotKeyTextOf(assign);
}

void ParseHotKeyText(std::string_view text, KeyAssign& into) {
  std::string rest(text);
  bool ctrl = false, shift = false, alt = false, winKey = false;
  std::string keyName;
  for (;;) {
    std::string token;
    if (const std::size_t plus = rest.find('+'); plus != std::string::npos) {
      token = rest.substr(0, plus);
      rest = rest.substr(plus + 1, RestMaxBytes);
    } else {
      token = std::move(rest);
      rest.clear();
    }
    if (token.empty()) break;
    if (EqualsIgnoringAsciiCase(token, "Shift")) {
      shift = true;
    } else if (EqualsIgnoringAsciiCase(token, "Ctrl")) {
      ctrl = true;
    } else if (EqualsIgnoringAsciiCase(token, "Alt")) {
      alt = true;
    } else if (EqualsIgnoringAsciiCase(token, "Windows")) {
      winKey = true;
    } else {
      keyName = token;
    }
  }
  if (keyName.empty()) return;
  into.SetModifiersThenKey(ctrl, shift, alt, winKey, keyName);
}

std::uint32_t HotKeyModifiers(const KeyAssign& assign) {
  return (assign.Shift() ? ModShift : 0) | (assign.Ctrl() ? ModControl : 0) | (assign.Alt() ? ModAlt : 0) |
         (assign.WinKey() ? ModWin : 0);
}

std::uint16_t HotKeyFieldValue(std::string_view text) {
  KeyAssign assign;
  ParseHotKeyText(text, assign);
  if (!assign.CanUse()) return 0;
  const auto flags =
      static_cast<std::uint16_t>((assign.Shift() ? HotKeyFieldShift : 0) | (assign.Ctrl() ? HotKeyFieldCtrl : 0) |
                                 (assign.Alt() ? HotKeyFieldAlt : 0));
  return static_cast<std::uint16_t>(flags << 8 | (assign.KeyCode() & 0xFF));
}

std::string HotKeyFieldText(std::uint16_t value) {
  const std::uint16_t flags = value >> 8;
  KeyAssign assign;
  assign.SetModifiersThenKey((flags & HotKeyFieldCtrl) != 0, (flags & HotKeyFieldShift) != 0,
                             (flags & HotKeyFieldAlt) != 0, false, KeyNames()[value & 0xFF]);
  return assign.CanUse() ? HotKeyTextOf(assign) : std::string();
}

}  // namespace kmrn
