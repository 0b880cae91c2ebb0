#include "settings/settings.h"

#include "settings/settings_dialog_layout.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <type_traits>

namespace kmrn {
namespace {

using W = MainWindowState;
using S = Settings;

constexpr const char* AppDirDefault = nullptr;

constexpr std::uint16_t C(SettingControl control) { return Id(control); }
using enum SettingControl;

// One key a line, which clang-format would spread over several.
// clang-format off
const std::array<SettingKey, 49> Keys{{
    {.key = "Left", .field = &W::Left, .numberDefault = 0},
    {.key = "Top", .field = &W::Top, .numberDefault = 0},
    {.key = "SaveFile", .field = &S::SaveFile, .stringDefault = AppDirDefault, .control = C(SaveFolderEdit)},
    {.key = "bmp", .field = &W::bmp, .numberDefault = 0},
    {.key = "jpg", .field = &W::jpg, .numberDefault = 0},
    {.key = "win", .field = &W::win, .numberDefault = 1},
    {.key = "range", .field = &W::range, .numberDefault = 1},
    {.key = "AlwaysHideView", .field = &S::AlwaysHideView, .numberDefault = 1, .control = C(HideViewersCheck)},
    {.key = "AlwaysClipBoard", .field = &S::AlwaysClipBoard, .numberDefault = 0, .control = C(CopyToClipboardCheck)},
    {.key = "AlwaysWinClient", .field = &S::AlwaysWinClient, .numberDefault = 0, .control = C(ExcludeTitleBarCheck)},
    {.key = "AlwaysNoCloseX", .field = &S::AlwaysNoCloseX, .numberDefault = 1, .control = C(KeepRunningCheck)},
    {.key = "CapturedWinPos", .field = &S::CapturedWinPos, .numberDefault = 2, .control = C(ViewerPlacementGroup), .minimum = 0, .maximum = 2, .choice = true},
    {.key = "UseHotKey", .field = &S::UseHotKey, .numberDefault = 1, .control = C(PrintScreenHotKeyCheck)},
    {.key = "WindowTopMost", .field = &W::WindowTopMost, .numberDefault = 1},
    {.key = "OpenApplication", .field = &S::OpenApplication, .stringDefault = "mspaint.exe", .control = C(EditorCommandEdit)},
    {.key = "OpenApplicationStr", .field = &S::OpenApplicationStr, .stringDefault = "ペイントで開く(&P)", .control = C(EditorMenuCaptionEdit)},
    {.key = "minCaptureWidth", .field = &S::minCaptureWidth, .numberDefault = 10, .control = C(MinimumWidthEdit)},
    {.key = "minCaptureHeight", .field = &S::minCaptureHeight, .numberDefault = 10, .control = C(MinimumHeightEdit)},
    {.key = "ViewWinBorder", .field = &S::ViewWinBorder, .numberDefault = 2, .control = C(FrameWidthEdit)},
    {.key = "ViewWinColor", .field = &S::ViewWinColor, .numberDefault = 0xFF8080, .control = C(FrameColourSwatch)},
    {.key = "JpgQuality", .field = &S::JpgQuality, .numberDefault = 90, .control = C(JpegQualitySlider)},
    {.key = "JpgProgressive", .field = &S::JpgProgressive, .numberDefault = 0, .control = C(ProgressiveJpegCheck)},
    {.key = "CaptureWait", .field = &S::CaptureWait, .numberDefault = 100, .control = C(CaptureWaitEdit), .minimum = 0, .maximum = 1000},
    {.key = "ViewWinAlphaClose", .field = &S::ViewWinAlphaClose, .numberDefault = 0, .control = C(FadeOutViewersCheck)},
    {.key = "ViewWinWheelClose", .field = &S::ViewWinWheelClose, .numberDefault = 0, .control = C(WheelClickClosesViewerCheck)},
    {.key = "ViewWinWheelStretch", .field = &S::ViewWinWheelStretch, .numberDefault = 0, .control = C(WheelZoomsViewerCheck)},
    {.key = "AlwaysWinMagnet", .field = &S::AlwaysWinMagnet, .numberDefault = 0, .control = C(WindowMagnetCheck)},
    {.key = "MagPos", .field = &S::MagPos, .numberDefault = 20, .control = C(MagnetWidthEdit), .minimum = 0, .maximum = 50},
    {.key = "CloseAfterCapture", .field = &S::CloseAfterCapture, .numberDefault = 0, .control = C(CloseAfterRangeCaptureCheck)},
    {.key = "TaskWheelToRange", .field = &S::TaskWheelToRange, .numberDefault = 0, .control = C(TrayWheelClickRangeCaptureCheck)},
    {.key = "AutoCloseBmp", .field = &S::AutoCloseBmp, .numberDefault = 0, .control = C(AutoCloseBmpCheck)},
    {.key = "AutoCloseJpg", .field = &S::AutoCloseJpg, .numberDefault = 0, .control = C(AutoCloseJpegCheck)},
    {.key = "AutoCloseCopy", .field = &S::AutoCloseCopy, .numberDefault = 0, .control = C(AutoCloseCopyCheck)},
    {.key = "AutoClosePaint", .field = &S::AutoClosePaint, .numberDefault = 0, .control = C(AutoCloseEditorCheck)},
    {.key = "mDisplay_Enable", .field = &S::mDisplay_Enable, .numberDefault = 0, .control = C(DualDisplayCheck)},
    {.key = "mDisplay_PW", .field = &S::mDisplay_PW, .numberDefault = 0, .control = C(PrimaryWidthEdit)},
    {.key = "mDisplay_PH", .field = &S::mDisplay_PH, .numberDefault = 0, .control = C(PrimaryHeightEdit)},
    {.key = "mDisplay_SW", .field = &S::mDisplay_SW, .numberDefault = 0, .control = C(SecondaryWidthEdit)},
    {.key = "mDisplay_SH", .field = &S::mDisplay_SH, .numberDefault = 0, .control = C(SecondaryHeightEdit)},
    {.key = "mDisplay_SX", .field = &S::mDisplay_SX, .numberDefault = 0, .control = C(SecondaryLeftEdit)},
    {.key = "mDisplay_SY", .field = &S::mDisplay_SY, .numberDefault = 0, .control = C(SecondaryTopEdit)},
    {.key = "SavePng", .field = &S::SavePng, .numberDefault = 0, .control = C(SavePngCheck)},
    {.key = "AutoClosePng", .field = &S::AutoClosePng, .numberDefault = 0, .control = C(AutoClosePngCheck)},
    {.key = "Magnifier", .field = &S::Magnifier, .numberDefault = 0, .control = C(MagnifierCheck)},
    {.key = "CaptureCursor", .field = &S::CaptureCursor, .numberDefault = 0, .control = C(CaptureCursorCheck)},
    {.key = "ClipboardViewHotKey", .field = &S::ClipboardViewHotKey, .stringDefault = "", .control = C(ClipboardViewHotKeyField)},
    {.key = "ClosedViewersKept", .field = &S::ClosedViewersKept, .numberDefault = 10, .control = C(ClosedViewersKeptEdit), .minimum = 0, .maximum = 100},
    {.key = "AllMonitors", .field = &S::AllMonitors, .numberDefault = 1, .control = C(AllMonitorsCheck)},
    {.key = "MainWindowVisible", .field = &S::MainWindowVisible, .numberDefault = 1},
}};
// clang-format on

// Points a field of the table at the record or the window state it belongs to.
template <typename File, typename T>
auto& FieldOf(File& file, T MainWindowState::*member) {
  return file.window.*member;
}
template <typename File, typename T>
auto& FieldOf(File& file, T Settings::*member) {
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

bool UsesAllMonitors(const Settings& settings) { return settings.AllMonitors && !settings.mDisplay_Enable; }

Position RestoredMainWindowPosition(const Settings& settings, Position saved, PixelSize size,
                                    const ScreenRect& primaryScreen, std::span<const Monitor> monitors) {
  if (settings.mDisplay_Enable) return saved;
  if (!UsesAllMonitors(settings) || monitors.empty()) {
    return PullBackOntoScreen(saved, size.width, size.height, primaryScreen);
  }
  // Edges that only meet count as touching, as they do for the primary screen's far edges.
  const ScreenRect window = ToScreenRect({saved.left, saved.top, size.width, size.height});
  const auto touches = [&window](const Monitor& m) {
    return window.left <= m.bounds.right && window.right >= m.bounds.left && window.top <= m.bounds.bottom &&
           window.bottom >= m.bounds.top;
  };
  if (std::ranges::any_of(monitors, touches)) return saved;
  // Beyond the nearest monitor's right or bottom as beyond the primary screen's, and now that the
  // monitors are known, beyond its left or top likewise.
  const ScreenRect& nearest = monitors[MonitorOf(monitors, window)].bounds;
  Position place = PullBackOntoScreen(saved, size.width, size.height, nearest);
  if (window.right < nearest.left) place.left = nearest.left;
  if (window.bottom < nearest.top) place.top = nearest.top;
  return place;
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

MagnetLines MagnetLinesFor(const Settings& settings, const ScreenRect& mainWorkArea, std::span<const Monitor> monitors,
                           const ScreenRect& moving) {
  // The zero lines and the main window's work area: dual display describes the monitors itself.
  MagnetLines lines{mainWorkArea, settings.MagPos, std::nullopt, {0, 0}};
  if (settings.mDisplay_Enable) {
    lines.secondaryX = settings.mDisplay_SX;
  } else if (UsesAllMonitors(settings) && !monitors.empty()) {
    const Monitor& monitor = monitors[MonitorOf(monitors, moving)];
    lines.workArea = monitor.workArea;
    lines.nearLines = monitor.bounds.TopLeft();
  }
  return lines;
}

}  // namespace kmrn
