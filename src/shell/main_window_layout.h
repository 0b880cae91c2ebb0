#pragma once
// The main window's layout at 96 DPI: two raised panels with the capture button, the three
// output check boxes and the two mode buttons, and below them the window list, which only shows
// in window mode (the client height follows the mode).

#include <array>
#include <cstdint>

namespace kmrn {

inline constexpr int MainClientWidth = 302;
inline constexpr int WindowListTop = 36;
inline constexpr int WindowListHeight = 153;
inline constexpr int RangeModeHeight = WindowListTop;
inline constexpr int WindowModeHeight = WindowListTop + WindowListHeight + 4;
inline constexpr int WindowListItemHeight = 12;

struct LayoutRect {
  int left, top, width, height;
};

// Panels are drawn as raised bevels; the controls inside them are given relative to the panel.
inline constexpr LayoutRect Panel1{4, 4, 205, 28};
inline constexpr LayoutRect Panel2{212, 4, 85, 28};

enum class ControlKind { PushButton, CheckBox, RadioButton, ListBox };

enum class MainControl : std::uint16_t {
  Btn_Capture = 1001,
  CheckBox_BMP,
  CheckBox_JPG,
  CheckBox_Win,
  RadioButton_Range,
  RadioButton_Window,
  ListBox_TopWindows,
};

struct ControlLayout {
  MainControl id;
  ControlKind kind;
  const LayoutRect* panel;  // nullptr: placed in the window itself
  LayoutRect rect;
  const char* caption;
  const char* hint;  // shown on hover; nullptr for none
  bool tabStop;      // Tab stops here
  bool groupStart;   // the first of a group that the arrow keys move within
};

inline constexpr std::array<ControlLayout, 7> MainControlLayouts{{
    {MainControl::Btn_Capture, ControlKind::PushButton, &Panel1, {4, 4, 61, 20}, "Capture", nullptr, false, true},
    {MainControl::CheckBox_BMP,
     ControlKind::CheckBox,
     &Panel1,
     {72, 6, 41, 17},
     "bmp",
     "ビットマップ形式で保存します",
     false,
     true},
    {MainControl::CheckBox_JPG,
     ControlKind::CheckBox,
     &Panel1,
     {116, 6, 41, 17},
     "Jpg",
     "Jpeg形式で保存します",
     false,
     false},
    {MainControl::CheckBox_Win,
     ControlKind::CheckBox,
     &Panel1,
     {160, 6, 41, 17},
     "Win",
     "新しいウインドウに保存します",
     true,
     false},
    {MainControl::RadioButton_Range,
     ControlKind::RadioButton,
     &Panel2,
     {4, 6, 43, 17},
     "範囲",
     "マウスで範囲を指定してキャプチャします",
     true,
     true},
    {MainControl::RadioButton_Window,
     ControlKind::RadioButton,
     &Panel2,
     {50, 6, 33, 17},
     "窓",
     "表示されているウインドウごとにキャプチャします",
     true,
     false},
    {MainControl::ListBox_TopWindows,
     ControlKind::ListBox,
     nullptr,
     {4, WindowListTop, 293, WindowListHeight},
     "",
     nullptr,
     true,
     true},
}};

// The commands of the two context menus.
enum class MainCommand : std::uint16_t {
  POP_WindowTopMost = 101,
  POP_SameRect,
  POP_Setting,
  POP_Exit,
  POP_ListBoxRefresh = 111,
};

inline constexpr const char* ExitQuestion = "Viewウインドウが残っていますが終了してもよろしいですか？";

}  // namespace kmrn
