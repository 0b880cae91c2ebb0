#pragma once
// The main window's layout at 96 DPI: two raised panels with the capture button, the three
// output check boxes and the two mode buttons, and below them the window list, which only shows
// in window mode (the client height follows the mode).

#include <array>
#include <cstdint>

#include "framework/control_layout.h"
#include "framework/menu_table.h"

namespace kmrn {

inline constexpr int MainClientWidth = 302;
inline constexpr int WindowListTop = 36;
inline constexpr int WindowListHeight = 153;
inline constexpr int RangeModeHeight = WindowListTop;
inline constexpr int WindowModeHeight = WindowListTop + WindowListHeight + 4;
inline constexpr int WindowListItemHeight = 12;

enum class MainControl : std::uint16_t {
  OutputsPanel = 1,
  ModePanel,
  CaptureButton = 1001,
  SaveBmpCheck,
  SaveJpegCheck,
  ViewerCheck,
  RangeModeRadio,
  WindowModeRadio,
  WindowList,
};

constexpr std::uint16_t Id(MainControl control) { return static_cast<std::uint16_t>(control); }

using CK = ControlKind;
using MC = MainControl;
// One control a line, which clang-format would spread over several.
// clang-format off
inline constexpr std::array<ControlLayout, 9> MainControlLayouts{{
    {.id = Id(MC::OutputsPanel), .kind = CK::Panel, .rect = {4, 4, 205, 28}},
    {.id = Id(MC::CaptureButton), .kind = CK::PushButton, .parent = Id(MC::OutputsPanel), .rect = {4, 4, 61, 20}, .caption = "Capture", .groupStart = true},
    {.id = Id(MC::SaveBmpCheck), .kind = CK::CheckBox, .parent = Id(MC::OutputsPanel), .rect = {72, 6, 41, 17}, .caption = "bmp", .hint = "ビットマップ形式で保存します", .groupStart = true},
    {.id = Id(MC::SaveJpegCheck), .kind = CK::CheckBox, .parent = Id(MC::OutputsPanel), .rect = {116, 6, 41, 17}, .caption = "Jpg", .hint = "Jpeg形式で保存します"},
    {.id = Id(MC::ViewerCheck), .kind = CK::CheckBox, .parent = Id(MC::OutputsPanel), .rect = {160, 6, 41, 17}, .caption = "Win", .hint = "新しいウインドウに保存します", .tabStop = true},
    {.id = Id(MC::ModePanel), .kind = CK::Panel, .rect = {212, 4, 85, 28}},
    {.id = Id(MC::RangeModeRadio), .kind = CK::RadioButton, .parent = Id(MC::ModePanel), .rect = {4, 6, 43, 17}, .caption = "範囲", .hint = "マウスで範囲を指定してキャプチャします", .tabStop = true, .groupStart = true},
    {.id = Id(MC::WindowModeRadio), .kind = CK::RadioButton, .parent = Id(MC::ModePanel), .rect = {50, 6, 33, 17}, .caption = "窓", .hint = "表示されているウインドウごとにキャプチャします", .tabStop = true},
    {.id = Id(MC::WindowList), .kind = CK::ListBox, .rect = {4, WindowListTop, 293, WindowListHeight}, .tabStop = true, .groupStart = true},
}};
// clang-format on

// With SavePng on, the first check box saves the capture as a PNG instead of a BMP, and its
// caption and hint (the table's are the BMP's) say so.
inline constexpr const char* PngBoxCaption = "png";
inline constexpr const char* PngBoxHint = "PNG形式で保存します";

// The commands of the two context menus.
enum class MainCommand : std::uint16_t {
  AlwaysOnTop = 101,
  CaptureSamePlace,
  OpenSettings,
  Exit,
  ShowClipboardPicture,
  ReopenClosedViewer,
  RefreshWindowList = 111,
};

constexpr std::uint16_t Id(MainCommand command) { return static_cast<std::uint16_t>(command); }

// The main window's menu, which the notification-area icon shares.
inline constexpr std::array<MenuEntry, 8> TaskMenu{{
    MenuCommand(Id(MainCommand::AlwaysOnTop), "常に手前に表示(&A)"),
    MenuCommand(Id(MainCommand::CaptureSamePlace), "前回と同じ場所をキャプチャ(&R)"),
    MenuCommand(Id(MainCommand::ShowClipboardPicture), "クリップボードから表示(&V)"),
    MenuCommand(Id(MainCommand::ReopenClosedViewer), "閉じた表示を戻す(&Z)"),
    MenuSeparator,
    MenuCommand(Id(MainCommand::OpenSettings), "設定(&S)"),
    MenuSeparator,
    MenuCommand(Id(MainCommand::Exit), "終了(&E)"),
}};

// The window list's menu.
inline constexpr std::array<MenuEntry, 1> ListMenu{{MenuCommand(Id(MainCommand::RefreshWindowList), "更新(&R)")}};

// "クリップボードから表示" found no picture there.
inline constexpr const char* NoClipboardPictureNotice = "クリップボードに表示できる画像がありません";
// "閉じた表示を戻す" found nothing kept.
inline constexpr const char* NoClosedViewerNotice = "戻せる表示がありません";

inline constexpr const char* ExitQuestion = "Viewウインドウが残っていますが終了してもよろしいですか？";

}  // namespace kmrn
