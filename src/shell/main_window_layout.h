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
  Panel1 = 1,
  Panel2,
  Btn_Capture = 1001,
  CheckBox_BMP,
  CheckBox_JPG,
  CheckBox_Win,
  RadioButton_Range,
  RadioButton_Window,
  ListBox_TopWindows,
};

constexpr std::uint16_t Id(MainControl control) { return static_cast<std::uint16_t>(control); }

using CK = ControlKind;
using MC = MainControl;
inline constexpr std::array<ControlLayout, 9> MainControlLayouts{{
    {Id(MC::Panel1), CK::Panel, 0, {4, 4, 205, 28}},
    {Id(MC::Btn_Capture), CK::PushButton, Id(MC::Panel1), {4, 4, 61, 20}, "Capture", nullptr, false, true},
    {Id(MC::CheckBox_BMP),
     CK::CheckBox,
     Id(MC::Panel1),
     {72, 6, 41, 17},
     "bmp",
     "ビットマップ形式で保存します",
     false,
     true},
    {Id(MC::CheckBox_JPG), CK::CheckBox, Id(MC::Panel1), {116, 6, 41, 17}, "Jpg", "Jpeg形式で保存します"},
    {Id(MC::CheckBox_Win), CK::CheckBox, Id(MC::Panel1), {160, 6, 41, 17}, "Win", "新しいウインドウに保存します", true},
    {Id(MC::Panel2), CK::Panel, 0, {212, 4, 85, 28}},
    {Id(MC::RadioButton_Range),
     CK::RadioButton,
     Id(MC::Panel2),
     {4, 6, 43, 17},
     "範囲",
     "マウスで範囲を指定してキャプチャします",
     true,
     true},
    {Id(MC::RadioButton_Window),
     CK::RadioButton,
     Id(MC::Panel2),
     {50, 6, 33, 17},
     "窓",
     "表示されているウインドウごとにキャプチャします",
     true},
    {Id(MC::ListBox_TopWindows), CK::ListBox, 0, {4, WindowListTop, 293, WindowListHeight}, "", nullptr, true, true},
}};

// The commands of the two context menus.
enum class MainCommand : std::uint16_t {
  AlwaysOnTop = 101,
  CaptureSamePlace,
  OpenSettings,
  Exit,
  RefreshWindowList = 111,
};

constexpr std::uint16_t Id(MainCommand command) { return static_cast<std::uint16_t>(command); }

// PopupMenu_Task: the main window's menu, which the notification-area icon shares.
inline constexpr std::array<MenuEntry, 6> TaskMenu{{
    MenuCommand(Id(MainCommand::AlwaysOnTop), "常に手前に表示(&A)"),
    MenuCommand(Id(MainCommand::CaptureSamePlace), "前回と同じ場所をキャプチャ(&R)"),
    MenuSeparator,
    MenuCommand(Id(MainCommand::OpenSettings), "設定(&S)"),
    MenuSeparator,
    MenuCommand(Id(MainCommand::Exit), "終了(&E)"),
}};

// PopupMenu_ListBox: the window list's menu.
inline constexpr std::array<MenuEntry, 1> ListMenu{{MenuCommand(Id(MainCommand::RefreshWindowList), "更新(&R)")}};

inline constexpr const char* ExitQuestion = "Viewウインドウが残っていますが終了してもよろしいですか？";

}  // namespace kmrn
