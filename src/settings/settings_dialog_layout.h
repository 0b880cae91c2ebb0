#pragma once
// The settings dialog "設定" as a layout table: the page control with its three tabs, every
// control at its place relative to its parent (at 96 DPI), OK and キャンセル below.

#include <array>
#include <cstdint>

#include "framework/control_layout.h"
#include "kamerin_version.h"

namespace kmrn {

inline constexpr int SettingsClientWidth = 386;
inline constexpr int SettingsClientHeight = 438;

enum class SettingControl : std::uint16_t {
  None = 0,
  PageControl_Setting = 2001,
  TabSheet1,
  TabSheet2,
  TabSheet3,
  Btn_OK,
  Btn_Cancel,
  // 全般
  GroupBox_SaveDir,
  Edit_SaveDir,
  Btn_Ref,
  GroupBox_AnySetting,
  CheckBox_HideView,
  CheckBox_Clip,
  CheckBox_WinClient,
  CheckBox_NoCloseX,
  CheckBox_UseHotKey,
  GroupBox3,
  Edit_OpenApplication,
  Btn_Ref2,
  Label19,
  Edit_OpenApplicationStr,
  Panel_Link,
  Label16,
  Label17,
  Label14,
  Label_URL,
  Label15,
  Label_Mail,
  // 詳細設定
  GroupBox1,
  Label1,
  Edit_minWidth,
  Label2,
  Edit_minHeight,
  Label3,
  Edit_ViewWinBorder,
  Label4,
  Image_ViewWinColor,
  Label18,
  Edit_CaptureWait,
  Label13,
  TrackBar_JpgQuality,
  Edit_JpgQuality,
  CheckBox_JpgProgressive,
  RadioGroup_CapturedWinPos,
  RadioItem_Centre,
  RadioItem_TopLeft,
  RadioItem_SamePlace,
  GroupBox5,
  CheckBox_mDisplay_Enable,
  GroupBox_Dual1,
  Label5,
  Label8,
  Edit_mDisplay_PW,
  Label7,
  Edit_mDisplay_PH,
  GroupBox_Dual2,
  Label6,
  Label9,
  Edit_mDisplay_SW,
  Label10,
  Edit_mDisplay_SH,
  Label11,
  Edit_mDisplay_SX,
  Label12,
  Edit_mDisplay_SY,
  // 特殊設定
  GroupBox2,
  CheckBox_ViewWinAlphaClose,
  CheckBox_ViewWinWheelClose,
  CheckBox_ViewWinWheelStretch,
  CheckBox_WinMagnet,
  Label_Mag,
  Edit_Mag,
  CheckBox_CloseAfterCapture,
  CheckBox_TaskWheelToRange,
  GroupBox4,
  CheckBox_AutoCloseBmp,
  CheckBox_AutoCloseJpg,
  CheckBox_AutoCloseCopy,
  CheckBox_AutoClosePaint,
};

constexpr std::uint16_t Id(SettingControl control) { return static_cast<std::uint16_t>(control); }

// What the information panel's links open; the home page and the address are ours to choose.
inline constexpr const char* HomePageUrl = "https://example.com/kamerin/";
inline constexpr const char* MailAddress = "kamerin@example.com";
// The program's version, from the build, as its version resource and manifest give it.
inline constexpr const char* ProgramVersionText = "Version " KAMERIN_VERSION_TEXT;

namespace settings_dialog_detail {
using K = ControlKind;
using S = SettingControl;
constexpr std::uint16_t I(SettingControl c) { return Id(c); }
// Where a tab's page starts inside the page control: below the tabs, inside its border.
constexpr LayoutRect PageArea{4, 24, 369, 369};
}  // namespace settings_dialog_detail

// One control a line, which clang-format would spread over several.
// clang-format off
inline constexpr auto SettingsDialogLayout = [] {
  using namespace settings_dialog_detail;
  return std::array<ControlLayout, 78>{{
      {.id = I(S::PageControl_Setting), .kind = K::Tabs, .rect = {4, 4, 377, 397}, .tabStop = true, .groupStart = true},
      {.id = I(S::TabSheet1), .kind = K::TabPage, .parent = I(S::PageControl_Setting), .rect = PageArea, .caption = "全般"},
      {.id = I(S::TabSheet2), .kind = K::TabPage, .parent = I(S::PageControl_Setting), .rect = PageArea, .caption = "詳細設定"},
      {.id = I(S::TabSheet3), .kind = K::TabPage, .parent = I(S::PageControl_Setting), .rect = PageArea, .caption = "特殊設定"},
      // 全般
      {.id = I(S::GroupBox_SaveDir), .kind = K::GroupBox, .parent = I(S::TabSheet1), .rect = {8, 8, 353, 53}, .caption = "画像を保存するフォルダ"},
      {.id = I(S::Edit_SaveDir), .kind = K::ReadOnlyEdit, .parent = I(S::GroupBox_SaveDir), .rect = {12, 20, 273, 20}, .tabStop = true, .groupStart = true},
      {.id = I(S::Btn_Ref), .kind = K::PushButton, .parent = I(S::GroupBox_SaveDir), .rect = {292, 19, 47, 21}, .caption = "参照", .tabStop = true},
      {.id = I(S::GroupBox_AnySetting), .kind = K::GroupBox, .parent = I(S::TabSheet1), .rect = {8, 64, 353, 125}},
      {.id = I(S::CheckBox_HideView), .kind = K::CheckBox, .parent = I(S::GroupBox_AnySetting), .rect = {12, 16, 257, 17}, .caption = "キャプチャ時はViewウインドウを非表示にする", .tabStop = true},
      {.id = I(S::CheckBox_Clip), .kind = K::CheckBox, .parent = I(S::GroupBox_AnySetting), .rect = {12, 36, 269, 17}, .caption = "キャプチャ時は毎回クリップボードにもコピーする", .tabStop = true},
      {.id = I(S::CheckBox_WinClient), .kind = K::CheckBox, .parent = I(S::GroupBox_AnySetting), .rect = {12, 56, 273, 17}, .caption = "ウインドウキャプチャ時はタイトルバーを除外する", .tabStop = true},
      {.id = I(S::CheckBox_NoCloseX), .kind = K::CheckBox, .parent = I(S::GroupBox_AnySetting), .rect = {12, 76, 221, 17}, .caption = "メインウインドウを閉じても終了させない", .tabStop = true},
      {.id = I(S::CheckBox_UseHotKey), .kind = K::CheckBox, .parent = I(S::GroupBox_AnySetting), .rect = {12, 96, 245, 17}, .caption = "PrintScreenキーをホットキーとして使用する", .tabStop = true},
      {.id = I(S::GroupBox3), .kind = K::GroupBox, .parent = I(S::TabSheet1), .rect = {8, 196, 353, 77}, .caption = "Viewウインドウから開く外部アプリケーション"},
      {.id = I(S::Edit_OpenApplication), .kind = K::Edit, .parent = I(S::GroupBox3), .rect = {12, 20, 273, 20}, .tabStop = true},
      {.id = I(S::Btn_Ref2), .kind = K::PushButton, .parent = I(S::GroupBox3), .rect = {292, 19, 47, 21}, .caption = "参照", .tabStop = true},
      {.id = I(S::Label19), .kind = K::Label, .parent = I(S::GroupBox3), .rect = {12, 48, 0, 0}, .caption = "表示"},
      {.id = I(S::Edit_OpenApplicationStr), .kind = K::Edit, .parent = I(S::GroupBox3), .rect = {44, 44, 241, 20}, .tabStop = true},
      {.id = I(S::Panel_Link), .kind = K::WhitePanel, .parent = I(S::TabSheet1), .rect = {8, 288, 261, 73}},
      {.id = I(S::Label16), .kind = K::BoldLabel, .parent = I(S::Panel_Link), .rect = {28, 8, 0, 0}, .caption = "Kamerin"},
      {.id = I(S::Label17), .kind = K::Label, .parent = I(S::Panel_Link), .rect = {156, 8, 0, 0}, .caption = ProgramVersionText},
      {.id = I(S::Label14), .kind = K::BlueLabel, .parent = I(S::Panel_Link), .rect = {28, 28, 0, 0}, .caption = "HomePage :"},
      {.id = I(S::Label_URL), .kind = K::LinkLabel, .parent = I(S::Panel_Link), .rect = {94, 28, 0, 0}, .caption = HomePageUrl},
      {.id = I(S::Label15), .kind = K::BlueLabel, .parent = I(S::Panel_Link), .rect = {48, 48, 0, 0}, .caption = "E-Mail :"},
      {.id = I(S::Label_Mail), .kind = K::LinkLabel, .parent = I(S::Panel_Link), .rect = {94, 48, 0, 0}, .caption = MailAddress},
      // 詳細設定
      {.id = I(S::GroupBox1), .kind = K::GroupBox, .parent = I(S::TabSheet2), .rect = {8, 8, 353, 189}},
      {.id = I(S::Label1), .kind = K::Label, .parent = I(S::GroupBox1), .rect = {20, 24, 0, 0}, .caption = "キャプチャ最低横幅"},
      {.id = I(S::Edit_minWidth), .kind = K::NumberEdit, .parent = I(S::GroupBox1), .rect = {128, 20, 33, 20}, .tabStop = true, .groupStart = true},
      {.id = I(S::Label2), .kind = K::Label, .parent = I(S::GroupBox1), .rect = {20, 48, 0, 0}, .caption = "キャプチャ最低縦幅"},
      {.id = I(S::Edit_minHeight), .kind = K::NumberEdit, .parent = I(S::GroupBox1), .rect = {128, 44, 33, 20}, .tabStop = true},
      {.id = I(S::Label3), .kind = K::Label, .parent = I(S::GroupBox1), .rect = {20, 76, 0, 0}, .caption = "Viewウインドウ枠幅"},
      {.id = I(S::Edit_ViewWinBorder), .kind = K::NumberEdit, .parent = I(S::GroupBox1), .rect = {128, 72, 33, 20}, .tabStop = true},
      {.id = I(S::Label4), .kind = K::Label, .parent = I(S::GroupBox1), .rect = {20, 100, 0, 0}, .caption = "Viewウインドウ枠色"},
      {.id = I(S::Image_ViewWinColor), .kind = K::Swatch, .parent = I(S::GroupBox1), .rect = {128, 96, 33, 20}},
      {.id = I(S::Label18), .kind = K::Label, .parent = I(S::GroupBox1), .rect = {20, 128, 0, 0}, .caption = "キャプチャされるまでの時間(ms)"},
      {.id = I(S::Edit_CaptureWait), .kind = K::NumberEdit, .parent = I(S::GroupBox1), .rect = {192, 124, 33, 20}, .tabStop = true},
      {.id = I(S::Label13), .kind = K::Label, .parent = I(S::GroupBox1), .rect = {20, 156, 0, 0}, .caption = "Jpg圧縮率"},
      {.id = I(S::TrackBar_JpgQuality), .kind = K::TrackBar, .parent = I(S::GroupBox1), .rect = {76, 150, 133, 29}, .tabStop = true},
      {.id = I(S::Edit_JpgQuality), .kind = K::Edit, .parent = I(S::GroupBox1), .rect = {212, 152, 25, 20}, .tabStop = true},
      {.id = I(S::CheckBox_JpgProgressive), .kind = K::CheckBox, .parent = I(S::GroupBox1), .rect = {244, 154, 93, 17}, .caption = "プログレッシブ", .tabStop = true},
      {.id = I(S::RadioGroup_CapturedWinPos), .kind = K::GroupBox, .parent = I(S::GroupBox1), .rect = {176, 16, 165, 101}, .caption = "Viewウインドウ表示位置"},
      {.id = I(S::RadioItem_Centre), .kind = K::AutoRadio, .parent = I(S::RadioGroup_CapturedWinPos), .rect = {8, 20, 150, 20}, .caption = "デスクトップ中央", .tabStop = true, .groupStart = true},
      {.id = I(S::RadioItem_TopLeft), .kind = K::AutoRadio, .parent = I(S::RadioGroup_CapturedWinPos), .rect = {8, 46, 150, 20}, .caption = "デスクトップ左上に表示"},
      {.id = I(S::RadioItem_SamePlace), .kind = K::AutoRadio, .parent = I(S::RadioGroup_CapturedWinPos), .rect = {8, 72, 150, 20}, .caption = "同じ位置"},
      {.id = I(S::GroupBox5), .kind = K::GroupBox, .parent = I(S::TabSheet2), .rect = {8, 208, 353, 117}, .caption = "    "},
      {.id = I(S::CheckBox_mDisplay_Enable), .kind = K::CheckBox, .parent = I(S::TabSheet2), .rect = {20, 206, 161, 17}, .caption = "デュアルディスプレイを使用", .tabStop = true, .groupStart = true},
      {.id = I(S::GroupBox_Dual1), .kind = K::GroupBox, .parent = I(S::GroupBox5), .rect = {16, 20, 153, 57}},
      {.id = I(S::Label5), .kind = K::Label, .parent = I(S::GroupBox_Dual1), .rect = {12, 12, 0, 0}, .caption = "プライマリディスプレイ"},
      {.id = I(S::Label8), .kind = K::Label, .parent = I(S::GroupBox_Dual1), .rect = {12, 32, 0, 0}, .caption = "解像度"},
      {.id = I(S::Edit_mDisplay_PW), .kind = K::NumberEdit, .parent = I(S::GroupBox_Dual1), .rect = {56, 28, 37, 20}, .tabStop = true},
      {.id = I(S::Label7), .kind = K::Label, .parent = I(S::GroupBox_Dual1), .rect = {96, 30, 0, 0}, .caption = "x"},
      {.id = I(S::Edit_mDisplay_PH), .kind = K::NumberEdit, .parent = I(S::GroupBox_Dual1), .rect = {104, 28, 37, 20}, .tabStop = true},
      {.id = I(S::GroupBox_Dual2), .kind = K::GroupBox, .parent = I(S::GroupBox5), .rect = {184, 20, 153, 81}},
      {.id = I(S::Label6), .kind = K::Label, .parent = I(S::GroupBox_Dual2), .rect = {12, 12, 0, 0}, .caption = "セカンダリディスプレイ"},
      {.id = I(S::Label9), .kind = K::Label, .parent = I(S::GroupBox_Dual2), .rect = {12, 32, 0, 0}, .caption = "解像度"},
      {.id = I(S::Edit_mDisplay_SW), .kind = K::NumberEdit, .parent = I(S::GroupBox_Dual2), .rect = {56, 28, 37, 20}, .tabStop = true},
      {.id = I(S::Label10), .kind = K::Label, .parent = I(S::GroupBox_Dual2), .rect = {96, 30, 0, 0}, .caption = "x"},
      {.id = I(S::Edit_mDisplay_SH), .kind = K::NumberEdit, .parent = I(S::GroupBox_Dual2), .rect = {104, 28, 37, 20}, .tabStop = true},
      {.id = I(S::Label11), .kind = K::Label, .parent = I(S::GroupBox_Dual2), .rect = {25, 56, 0, 0}, .caption = "位置"},
      {.id = I(S::Edit_mDisplay_SX), .kind = K::NumberEdit, .parent = I(S::GroupBox_Dual2), .rect = {56, 53, 37, 20}, .tabStop = true},
      {.id = I(S::Label12), .kind = K::Label, .parent = I(S::GroupBox_Dual2), .rect = {95, 56, 0, 0}, .caption = "，"},
      {.id = I(S::Edit_mDisplay_SY), .kind = K::NumberEdit, .parent = I(S::GroupBox_Dual2), .rect = {104, 53, 37, 20}, .tabStop = true},
      // 特殊設定
      {.id = I(S::GroupBox2), .kind = K::GroupBox, .parent = I(S::TabSheet3), .rect = {8, 8, 353, 165}},
      {.id = I(S::CheckBox_ViewWinAlphaClose), .kind = K::CheckBox, .parent = I(S::GroupBox2), .rect = {12, 16, 189, 17}, .caption = "Viewウインドウを滑らかに閉じる", .tabStop = true, .groupStart = true},
      {.id = I(S::CheckBox_ViewWinWheelClose), .kind = K::CheckBox, .parent = I(S::GroupBox2), .rect = {12, 40, 237, 17}, .caption = "Viewウインドウをホイールクリックで閉じる", .tabStop = true},
      {.id = I(S::CheckBox_ViewWinWheelStretch), .kind = K::CheckBox, .parent = I(S::GroupBox2), .rect = {12, 64, 261, 17}, .caption = "Viewウインドウをホイール回転で拡大・縮小する", .tabStop = true},
      {.id = I(S::CheckBox_WinMagnet), .kind = K::CheckBox, .parent = I(S::GroupBox2), .rect = {12, 88, 137, 17}, .caption = "ウインドウを吸着させる", .tabStop = true},
      {.id = I(S::Label_Mag), .kind = K::Label, .parent = I(S::GroupBox2), .rect = {152, 90, 0, 0}, .caption = "吸着幅(0～50)"},
      {.id = I(S::Edit_Mag), .kind = K::NumberEdit, .parent = I(S::GroupBox2), .rect = {232, 87, 25, 20}, .tabStop = true},
      {.id = I(S::CheckBox_CloseAfterCapture), .kind = K::CheckBox, .parent = I(S::GroupBox2), .rect = {12, 112, 285, 17}, .caption = "範囲キャプチャ後にメインウィンドウを閉じる（常駐時）", .tabStop = true},
      {.id = I(S::CheckBox_TaskWheelToRange), .kind = K::CheckBox, .parent = I(S::GroupBox2), .rect = {12, 136, 325, 17}, .caption = "タスクトレイアイコンをホイールクリックで範囲キャプチャ開始", .tabStop = true},
      {.id = I(S::GroupBox4), .kind = K::GroupBox, .parent = I(S::TabSheet3), .rect = {8, 184, 353, 73}, .caption = "以下の操作の後には自動的にViewウインドウを閉じる"},
      {.id = I(S::CheckBox_AutoCloseBmp), .kind = K::CheckBox, .parent = I(S::GroupBox4), .rect = {12, 20, 73, 17}, .caption = "Bmp保存", .tabStop = true, .groupStart = true},
      {.id = I(S::CheckBox_AutoCloseJpg), .kind = K::CheckBox, .parent = I(S::GroupBox4), .rect = {12, 44, 69, 17}, .caption = "Jpg保存", .tabStop = true},
      {.id = I(S::CheckBox_AutoCloseCopy), .kind = K::CheckBox, .parent = I(S::GroupBox4), .rect = {100, 20, 141, 17}, .caption = "クリップボードにコピー", .tabStop = true},
      {.id = I(S::CheckBox_AutoClosePaint), .kind = K::CheckBox, .parent = I(S::GroupBox4), .rect = {100, 44, 245, 17}, .tabStop = true},
      // Below the page control. Neither is the dialog's default or cancel button.
      {.id = I(S::Btn_OK), .kind = K::PushButton, .rect = {224, 408, 75, 25}, .caption = "OK", .tabStop = true, .groupStart = true},
      {.id = I(S::Btn_Cancel), .kind = K::PushButton, .rect = {304, 408, 75, 25}, .caption = "キャンセル", .tabStop = true},
  }};
}();
// clang-format on

}  // namespace kmrn
