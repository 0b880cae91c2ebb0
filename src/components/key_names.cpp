#include "components/key_names.h"

#include "framework/text.h"

namespace kmrn {
namespace {

struct NamedKey {
  int code;
  std::string_view name;
};

// The keys with names of their own; runs of digits, letters, numeric-pad digits and function keys
// are added below.
constexpr NamedKey Named[] = {
    {0x01, "LButton"},  {0x02, "RButton"},   {0x03, "Cancel"},     {0x04, "MButton"}, {0x08, "Back"},
    {0x09, "Tab"},      {0x0C, "Clear"},     {0x0D, "Enter"},      {0x10, "Shift"},   {0x11, "Ctrl"},
    {0x12, "Menu"},     {0x13, "Pause"},     {0x14, "Caps"},       {0x15, "Kana"},    {0x19, "Hanja"},
    {0x1B, "ESC"},      {0x1C, "Convert"},   {0x1D, "NonConvert"}, {0x1E, "Accept"},  {0x1F, "ModeChange"},
    {0x20, "Space"},    {0x21, "PageUp"},    {0x22, "PageDown"},   {0x23, "End"},     {0x24, "Home"},
    {0x25, "Left"},     {0x26, "Up"},        {0x27, "Right"},      {0x28, "Down"},    {0x29, "Select"},
    {0x2A, "Print"},    {0x2B, "Execute"},   {0x2C, "SnapShot"},   {0x2D, "Insert"},  {0x2E, "Delete"},
    {0x2F, "Help"},     {0x5B, "LWinKey"},   {0x5C, "RWinKey"},    {0x5D, "Apps"},    {0x6A, "Num*"},
    {0x6B, "Num+"},     {0x6C, "Separator"}, {0x6D, "Num-"},       {0x6E, "Num."},    {0x6F, "Num/"},
    {0x90, "NumLock"},  {0x91, "Scroll"},    {0xA0, "LShift"},     {0xA1, "RShift"},  {0xA2, "LControl"},
    {0xA3, "RControl"}, {0xA4, "LMenu"},     {0xA5, "RMenu"},      {0xBA, ":"},       {0xBB, ";"},
    {0xBC, ","},        {0xBD, "-"},         {0xBE, "."},          {0xBF, "/"},       {0xC0, "@"},
    {0xDB, "["},        {0xDC, "\\"},        {0xDD, "]"},          {0xDE, "^"},       {0xE2, "_"},
    {0xE5, "Kanji"},    {0xF0, "AltShit"},   {0xF1, "Hiragana"},   {0xF2, "Romaji"},  {0xF3, "Hankaku"},
    {0xF4, "Zenkaku"},  {0xF6, "Attn"},      {0xF7, "CrSel"},      {0xF8, "ExSel"},   {0xF9, "Ereof"},
    {0xFA, "Play"},     {0xFB, "Zoom"},      {0xFC, "Noname"},     {0xFD, "Pa1"},     {0xFE, "Oem_Clear"},
};

constexpr std::string_view Digits[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
constexpr std::string_view Letters[] = {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M",
                                        "N", "O", "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z"};
constexpr std::string_view PadDigits[] = {"Num0", "Num1", "Num2", "Num3", "Num4",
                                          "Num5", "Num6", "Num7", "Num8", "Num9"};
constexpr std::string_view FunctionKeys[] = {"F1",  "F2",  "F3",  "F4",  "F5",  "F6",  "F7",  "F8",
                                             "F9",  "F10", "F11", "F12", "F13", "F14", "F15", "F16",
                                             "F17", "F18", "F19", "F20", "F21", "F22", "F23", "F24"};

std::array<std::string_view, 256> MakeTable() {
  std::array<std::string_view, 256> table{};
  for (const NamedKey& key : Named) table[key.code] = key.name;
  for (int i = 0; i < 10; ++i) table[0x30 + i] = Digits[i];
  for (int i = 0; i < 26; ++i) table[0x41 + i] = Letters[i];
  for (int i = 0; i < 10; ++i) table[0x60 + i] = PadDigits[i];
  for (int i = 0; i < 24; ++i) table[0x70 + i] = FunctionKeys[i];
  return table;
}

}  // namespace

const std::array<std::string_view, 256>& KeyNames() {
  static const std::array<std::string_view, 256> table = MakeTable();
  return table;
}

int KeyNameToCode(std::string_view name) {
  const auto& table = KeyNames();
  for (int code = 0; code < 256; ++code) {
    if (EqualsIgnoringAsciiCase(table[code], name)) return code;
  }
  return -1;
}

std::string NormalizeKeyName(std::string_view name) {
  const int code = KeyNameToCode(name);
  return code < 0 ? std::string() : std::string(KeyNames()[code]);
}

}  // namespace kmrn
