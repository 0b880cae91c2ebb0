#include "settings/settings.h"

#include "settings/settings_dialog_layout.h"

#include <array>
#include <cctype>
#include <charconv>
#include <type_traits>

namespace kmrn {
namespace {

using W = MainWindowState;
using S = TSettings;

constexpr const char* AppDirDefault = nullptr;

constexpr std::uint16_t C(SettingControl control) { return Id(control); }
using enum SettingControl;

const std::array<SettingKey, 42> Keys{{
    {"Left", &W::Left, 0, nullptr},
    {"Top", &W::Top, 0, nullptr},
    {"SaveFile", &S::SaveFile, 0, AppDirDefault, C(Edit_SaveDir)},
    {"bmp", &W::bmp, 0, nullptr},
    {"jpg", &W::jpg, 0, nullptr},
    {"win", &W::win, 1, nullptr},
    {"range", &W::range, 1, nullptr},
    {"AlwaysHideView", &S::AlwaysHideView, 1, nullptr, C(CheckBox_HideView)},
    {"AlwaysClipBoard", &S::AlwaysClipBoard, 0, nullptr, C(CheckBox_Clip)},
    {"AlwaysWinClient", &S::AlwaysWinClient, 0, nullptr, C(CheckBox_WinClient)},
    {"AlwaysNoCloseX", &S::AlwaysNoCloseX, 1, nullptr, C(CheckBox_NoCloseX)},
    {"CapturedWinPos", &S::CapturedWinPos, 2, nullptr, C(RadioGroup_CapturedWinPos), 0, 2, true},
    {"UseHotKey", &S::UseHotKey, 1, nullptr, C(CheckBox_UseHotKey)},
    {"WindowTopMost", &W::WindowTopMost, 1, nullptr},
    {"OpenApplication", &S::OpenApplication, 0, "mspaint.exe", C(Edit_OpenApplication)},
    {"OpenApplicationStr", &S::OpenApplicationStr, 0, "ペイントで開く(&P)", C(Edit_OpenApplicationStr)},
    {"minCaptureWidth", &S::minCaptureWidth, 10, nullptr, C(Edit_minWidth)},
    {"minCaptureHeight", &S::minCaptureHeight, 10, nullptr, C(Edit_minHeight)},
    {"ViewWinBorder", &S::ViewWinBorder, 2, nullptr, C(Edit_ViewWinBorder)},
    {"ViewWinColor", &S::ViewWinColor, 0xFF8080, nullptr, C(Image_ViewWinColor)},
    {"JpgQuality", &S::JpgQuality, 90, nullptr, C(TrackBar_JpgQuality)},
    {"JpgProgressive", &S::JpgProgressive, 0, nullptr, C(CheckBox_JpgProgressive)},
    {"CaptureWait", &S::CaptureWait, 100, nullptr, C(Edit_CaptureWait), 0, 1000},
    {"ViewWinAlphaClose", &S::ViewWinAlphaClose, 0, nullptr, C(CheckBox_ViewWinAlphaClose)},
    {"ViewWinWheelClose", &S::ViewWinWheelClose, 0, nullptr, C(CheckBox_ViewWinWheelClose)},
    {"ViewWinWheelStretch", &S::ViewWinWheelStretch, 0, nullptr, C(CheckBox_ViewWinWheelStretch)},
    {"AlwaysWinMagnet", &S::AlwaysWinMagnet, 0, nullptr, C(CheckBox_WinMagnet)},
    {"MagPos", &S::MagPos, 20, nullptr, C(Edit_Mag), 0, 50},
    {"CloseAfterCapture", &S::CloseAfterCapture, 0, nullptr, C(CheckBox_CloseAfterCapture)},
    {"TaskWheelToRange", &S::TaskWheelToRange, 0, nullptr, C(CheckBox_TaskWheelToRange)},
    {"AutoCloseBmp", &S::AutoCloseBmp, 0, nullptr, C(CheckBox_AutoCloseBmp)},
    {"AutoCloseJpg", &S::AutoCloseJpg, 0, nullptr, C(CheckBox_AutoCloseJpg)},
    {"AutoCloseCopy", &S::AutoCloseCopy, 0, nullptr, C(CheckBox_AutoCloseCopy)},
    {"AutoClosePaint", &S::AutoClosePaint, 0, nullptr, C(CheckBox_AutoClosePaint)},
    {"mDisplay_Enable", &S::mDisplay_Enable, 0, nullptr, C(CheckBox_mDisplay_Enable)},
    {"mDisplay_PW", &S::mDisplay_PW, 0, nullptr, C(Edit_mDisplay_PW)},
    {"mDisplay_PH", &S::mDisplay_PH, 0, nullptr, C(Edit_mDisplay_PH)},
    {"mDisplay_SW", &S::mDisplay_SW, 0, nullptr, C(Edit_mDisplay_SW)},
    {"mDisplay_SH", &S::mDisplay_SH, 0, nullptr, C(Edit_mDisplay_SH)},
    {"mDisplay_SX", &S::mDisplay_SX, 0, nullptr, C(Edit_mDisplay_SX)},
    {"mDisplay_SY", &S::mDisplay_SY, 0, nullptr, C(Edit_mDisplay_SY)},
    {"MainWindowVisible", &S::MainWindowVisible, 1, nullptr},
}};

// Points a field of the table at the record or the window state it belongs to.
template <typename File, typename T>
auto& FieldOf(File& file, T MainWindowState::*member) {
  return file.window.*member;
}
template <typename File, typename T>
auto& FieldOf(File& file, T TSettings::*member) {
  return file.settings.*member;
}

template <typename Owner, typename T>
constexpr SettingType TypeOfMember(T Owner::*) {
  if constexpr (std::is_same_v<T, bool>)
    return SettingType::Boolean;
  else if constexpr (std::is_same_v<T, std::string>)
    return SettingType::String;
  else
    return SettingType::Integer;
}

bool IsHexDigit(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

}  // namespace

SettingType SettingKey::Type() const {
  return std::visit([](auto member) { return TypeOfMember(member); }, field);
}

std::span<const SettingKey> SettingKeys() { return Keys; }

std::int32_t ParseIniInteger(const std::string& text, std::int32_t fallback) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    std::string_view digits(text.data() + 2, text.size() - 2);
    // Leading zeros add nothing: "0x000000050" is 0x50. At least one digit stays.
    while (digits.size() > 1 && digits.front() == '0') digits.remove_prefix(1);
    if (digits.size() > 8) return fallback;
    std::uint32_t value = 0;
    for (char c : digits) {
      if (!IsHexDigit(c)) return fallback;
    }
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    if (error != std::errc() || end != digits.data() + digits.size()) return fallback;
    return static_cast<std::int32_t>(value);
  }
  const char* begin = text.data();
  const char* end = text.data() + text.size();
  if (begin != end && *begin == '+') {
    ++begin;
    if (begin == end || !std::isdigit(static_cast<unsigned char>(*begin))) return fallback;
  }
  std::int32_t value = 0;
  auto [stop, error] = std::from_chars(begin, end, value, 10);
  if (error != std::errc() || stop != end) return fallback;
  return value;
}

SettingsFile ReadSettingsFile(ProfileReader& reader, const std::string& appDir) {
  SettingsFile file;
  for (const SettingKey& key : Keys) {
    std::visit(
        [&](auto member) {
          auto& value = FieldOf(file, member);
          using Value = std::remove_reference_t<decltype(value)>;
          if constexpr (std::is_same_v<Value, std::string>) {
            value = reader.ReadString(key.key, key.stringDefault ? key.stringDefault : appDir);
          } else {
            std::int32_t number = ParseIniInteger(reader.ReadString(key.key, ""), key.numberDefault);
            if (key.choice && (number < key.minimum || number > key.maximum)) number = key.numberDefault;
            if constexpr (std::is_same_v<Value, bool>)
              value = number != 0;
            else
              value = number;
          }
        },
        key.field);
  }
  return file;
}

void WriteSettingsFile(ProfileWriter& writer, const SettingsFile& file) {
  for (const SettingKey& key : Keys) {
    std::visit(
        [&](auto member) {
          const auto& value = FieldOf(file, member);
          using Value = std::remove_cvref_t<decltype(value)>;
          if constexpr (std::is_same_v<Value, std::string>)
            writer.WriteString(key.key, value);
          else if constexpr (std::is_same_v<Value, bool>)
            writer.WriteString(key.key, value ? "1" : "0");
          else
            writer.WriteString(key.key, std::to_string(value));
        },
        key.field);
  }
}

Position PullBackOntoScreen(Position window, std::int32_t width, std::int32_t height, const ScreenRect& screen) {
  if (window.left > screen.right) window.left = screen.right - width;
  if (window.top > screen.bottom) window.top = screen.bottom - height;
  return window;
}

std::string FolderOfPath(const std::string& path) {
  size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string IniPathForExecutable(const std::string& exePath) {
  size_t slash = exePath.find_last_of("\\/:");
  size_t dot = exePath.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return exePath + ".ini";
  return exePath.substr(0, dot) + ".ini";
}

}  // namespace kmrn
