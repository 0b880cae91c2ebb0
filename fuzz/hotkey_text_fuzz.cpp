// Reads arbitrary text as a hotkey ("Ctrl+Shift+A") into an assignment that already holds one, as
// setting a hotkey's text does. The first two bytes choose the assignment held before (a key by
// its code, the four modifiers by the low bits of the second byte), the rest is the text. Besides
// crashes and sanitizer reports it stops on a broken promise of the text form:
// - the text changes the assignment with one report, or changes nothing and reports nothing;
// - the key is one of the table's names, as the table spells it, or none;
// - the text form of what was read reads back as the same assignment;
// - the text means the same in any case of its ASCII letters;
// - the held assignment's own text form reads back as it, unless its key's name cannot stand in
//   the text form (one with a "+" in it, or one spelt like a modifier).

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "components/key_assign.h"
#include "components/key_names.h"
#include "framework/text.h"

namespace {

using kmrn::KeyAssign;

[[noreturn]] void Broken(const char* promise) {
  std::fprintf(stderr, "hotkey text: %s\n", promise);
  std::abort();
}

bool Same(const KeyAssign& a, const KeyAssign& b) {
  return a.Key() == b.Key() && a.Ctrl() == b.Ctrl() && a.Shift() == b.Shift() && a.Alt() == b.Alt() &&
         a.WinKey() == b.WinKey();
}

KeyAssign ReadBack(const KeyAssign& assign) {
  KeyAssign read;
  kmrn::ParseHotKeyText(kmrn::HotKeyTextOf(assign), read);
  return read;
}

bool FitsTheTextForm(std::string_view key) {
  for (const char* modifier : {"Shift", "Ctrl", "Alt", "Windows"}) {
    if (kmrn::EqualsIgnoringAsciiCase(key, modifier)) return false;
  }
  return !key.empty() && key.find('+') == std::string_view::npos;
}

std::string OtherCase(std::string_view text) {
  std::string flipped(text);
  for (char& c : flipped) {
    if (c >= 'a' && c <= 'z')
      c = static_cast<char>(c - 'a' + 'A');
    else if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
  }
  return flipped;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  KeyAssign held;
  if (size >= 2) {
    const unsigned modifiers = data[1];
    held.SetModifiersThenKey(modifiers & 1, modifiers & 2, modifiers & 4, modifiers & 8, kmrn::KeyNames()[data[0]]);
    data += 2;
    size -= 2;
  }
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  if (FitsTheTextForm(held.Key()) && !Same(ReadBack(held), held))
    Broken("an assignment's text form reads back as another");

  KeyAssign assign;
  assign.Assign(held);
  int reports = 0;
  assign.OnChange = [&] { ++reports; };
  kmrn::ParseHotKeyText(text, assign);
  if (reports > 1) Broken("one text was reported as more than one change");
  if (reports == 0 && !Same(assign, held)) Broken("a change went unreported");

  if (reports == 1 && assign.CanUse()) {
    const int code = assign.KeyCode();
    if (code <= 0 || code > 255 || kmrn::KeyNames()[code] != assign.Key()) Broken("the key is not as the table has it");
    if (!Same(ReadBack(assign), assign)) Broken("the text form of what was read reads back as another");
  }

  KeyAssign otherCase;
  otherCase.Assign(held);
  kmrn::ParseHotKeyText(OtherCase(text), otherCase);
  if (!Same(otherCase, assign)) Broken("the case of the letters changed the meaning");
  return 0;
}
