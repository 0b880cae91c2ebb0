#pragma once
// The program's settings: the record that the program object keeps and hands to each part, the
// main window's own state that is stored beside it, and the one table that says how each key is
// kept in the INI file. Load, save and the settings dialog all walk that table.

#include <cstdint>
#include <span>
#include <string>
#include <variant>

#include "framework/geometry.h"
#include "framework/monitor_layout.h"
#include "framework/window_magnet.h"

namespace kmrn {

struct Settings {
  std::string SaveFile;  // a folder, despite the key's name
  bool AlwaysHideView = true;
  bool AlwaysClipBoard = false;
  bool AlwaysWinClient = false;
  bool AlwaysNoCloseX = true;
  std::int32_t CapturedWinPos = 2;
  bool UseHotKey = true;
  std::string OpenApplication = "mspaint.exe";
  std::string OpenApplicationStr = "ペイントで開く(&P)";
  std::int32_t minCaptureWidth = 10;
  std::int32_t minCaptureHeight = 10;
  std::int32_t ViewWinBorder = 2;
  std::int32_t ViewWinColor = 0xFF8080;
  std::int32_t JpgQuality = 90;
  bool JpgProgressive = false;
  std::int32_t CaptureWait = 100;
  bool ViewWinAlphaClose = false;
  bool ViewWinWheelClose = false;
  bool ViewWinWheelStretch = false;
  bool AlwaysWinMagnet = false;
  std::int32_t MagPos = 20;
  bool CloseAfterCapture = false;
  bool TaskWheelToRange = false;
  bool AutoCloseBmp = false;
  bool AutoCloseJpg = false;
  bool AutoCloseCopy = false;
  bool AutoClosePaint = false;
  bool mDisplay_Enable = false;
  std::int32_t mDisplay_PW = 0;
  std::int32_t mDisplay_PH = 0;
  std::int32_t mDisplay_SW = 0;
  std::int32_t mDisplay_SH = 0;
  std::int32_t mDisplay_SX = 0;
  std::int32_t mDisplay_SY = 0;
  bool SavePng = false;  // a capture's first file is a PNG instead of a BMP
  bool AutoClosePng = false;
  bool Magnifier = false;               // the range overlay shows the pixels under the pointer, enlarged
  bool CaptureCursor = false;           // captures include the mouse pointer
  std::string ClipboardViewHotKey;      // pins the clipboard's picture; the hotkey text form, empty for none
  std::int32_t ClosedViewersKept = 10;  // how many closed viewers "閉じた表示を戻す" can bring back
  bool AllMonitors = true;              // the overlay, the window list and the viewers use every monitor
  bool MainWindowVisible = true;
};

// The keys that are the main window's own state (its position, check boxes, mode and the
// always-on-top check mark). The window keeps them; load and save pass through this struct.
struct MainWindowState {
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  bool bmp = false;
  bool jpg = false;
  bool win = true;
  bool range = true;
  bool WindowTopMost = true;
};

// Everything the INI file holds.
struct SettingsFile {
  MainWindowState window;
  Settings settings;
};

enum class SettingType { Integer, Boolean, String };

using SettingField = std::variant<std::int32_t MainWindowState::*, bool MainWindowState::*, std::int32_t Settings::*,
                                  bool Settings::*, std::string Settings::*>;

struct SettingKey {
  const char* key;
  SettingField field;
  // The default of an Integer or Boolean key; a String key's default is in stringDefault, where
  // nullptr stands for the executable's folder.
  std::int32_t numberDefault = 0;
  const char* stringDefault = nullptr;
  // The settings dialog's control that shows the setting (0: none), and the bounds the dialog
  // keeps an integer within when it stores it.
  std::uint16_t control = 0;
  std::int32_t minimum = INT32_MIN, maximum = INT32_MAX;
  // The value picks one of the items minimum to maximum (a radio group's): another value in the
  // file reads as the default.
  bool choice = false;

  SettingType Type() const;
};

// All 49 keys, in the order in which the file is written.
std::span<const SettingKey> SettingKeys();

// The section all keys live in.
inline constexpr const char* SettingsSection = "Setting";

// What the INI file offers: the value of a key, or the fallback when the key is missing.
class ProfileReader {
 public:
  virtual ~ProfileReader() = default;
  virtual std::string ReadString(const char* key, const std::string& fallback) = 0;
};

// Where the settings go: one key at a time; a refused write throws.
class ProfileWriter {
 public:
  virtual ~ProfileWriter() = default;
  virtual void WriteString(const char* key, const std::string& value) = 0;
};

// Reads every key, with the table's defaults for what is missing or unreadable, and for a choice
// that names no item. No other value is range-checked here: the parts that use a value decide
// what it means.
SettingsFile ReadSettingsFile(ProfileReader& reader, const std::string& appDir);

// Writes every key in table order: Booleans as "1"/"0", Integers in decimal, Strings as they are.
void WriteSettingsFile(ProfileWriter& writer, const SettingsFile& file);

// An INI integer: optional sign and decimal digits, or "0x"/"0X" followed by hex digits worth at
// most 8 after any leading zeros (which may wrap to a negative value, as 0xFFFFFFFF gives -1).
// Anything else gives the fallback.
std::int32_t ParseIniInteger(const std::string& text, std::int32_t fallback);

// A main window restored beyond the right or bottom edge of the primary screen (a monitor that
// has since gone) is pulled back so that it ends on that edge. Off the left or top it stays.
Position PullBackOntoScreen(Position window, std::int32_t width, std::int32_t height, const ScreenRect& screen);

// True when the overlay, the window list, the captures, the viewers and the magnet take every
// monitor: AllMonitors on and the hand-typed dual display off (the user's own numbers, when on, win).
bool UsesAllMonitors(const Settings& settings);

// Where the main window saved in the INI file comes back at start. With dual display on it stays
// where it was saved. With AllMonitors on, one that touches a monitor stays, and one that lies on
// none (a monitor that has gone) is pulled onto the nearest monitor, ending on the edge it lay
// beyond; otherwise it is pulled back onto the primary screen (PullBackOntoScreen).
Position RestoredMainWindowPosition(const Settings& settings, Position saved, PixelSize size,
                                    const ScreenRect& primaryScreen, std::span<const Monitor> monitors);

// The lines the magnet pulls a window toward, as the settings say: MagPos, and the secondary
// display's left edge while dual display is on. With AllMonitors on and dual display off, the
// lines of the monitor holding the largest part of the moving window (its left and top edges and
// its work area's far edges); otherwise the zero lines and the main window's work area.
MagnetLines MagnetLinesFor(const Settings& settings, const ScreenRect& mainWorkArea, std::span<const Monitor> monitors,
                           const ScreenRect& moving);

// The INI file's path: the executable's path with its extension replaced by ".ini".
std::string IniPathForExecutable(const std::string& exePath);

// The folder of a path, without the trailing separator.
std::string FolderOfPath(const std::string& path);

}  // namespace kmrn
