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
  PageTabs = 2001,
  GeneralPage,
  DetailsPage,
  SpecialPage,
  OkButton,
  CancelButton,
  // 全般
  SaveFolderGroup,
  SaveFolderEdit,
  BrowseSaveFolderButton,
  GeneralOptionsGroup,
  HideViewersCheck,
  CopyToClipboardCheck,
  ExcludeTitleBarCheck,
  KeepRunningCheck,
  PrintScreenHotKeyCheck,
  EditorGroup,
  EditorCommandEdit,
  ChooseEditorButton,
  EditorMenuCaptionLabel,
  EditorMenuCaptionEdit,
  InformationPanel,
  ProgramNameLabel,
  VersionLabel,
  HomePageLabel,
  HomePageLink,
  MailLabel,
  MailLink,
  // 詳細設定
  DetailsOptionsGroup,
  MinimumWidthLabel,
  MinimumWidthEdit,
  MinimumHeightLabel,
  MinimumHeightEdit,
  FrameWidthLabel,
  FrameWidthEdit,
  FrameColourLabel,
  FrameColourSwatch,
  CaptureWaitLabel,
  CaptureWaitEdit,
  JpegQualityLabel,
  JpegQualitySlider,
  JpegQualityEdit,
  ProgressiveJpegCheck,
  ViewerPlacementGroup,
  DesktopCentreRadio,
  DesktopTopLeftRadio,
  SamePlaceRadio,
  DualDisplayGroup,
  DualDisplayCheck,
  PrimaryDisplayGroup,
  PrimaryDisplayLabel,
  PrimaryResolutionLabel,
  PrimaryWidthEdit,
  PrimaryTimesLabel,
  PrimaryHeightEdit,
  SecondaryDisplayGroup,
  SecondaryDisplayLabel,
  SecondaryResolutionLabel,
  SecondaryWidthEdit,
  SecondaryTimesLabel,
  SecondaryHeightEdit,
  SecondaryPositionLabel,
  SecondaryLeftEdit,
  SecondaryCommaLabel,
  SecondaryTopEdit,
  SavePngCheck,
  // 特殊設定
  SpecialOptionsGroup,
  FadeOutViewersCheck,
  WheelClickClosesViewerCheck,
  WheelZoomsViewerCheck,
  WindowMagnetCheck,
  MagnetWidthLabel,
  MagnetWidthEdit,
  CloseAfterRangeCaptureCheck,
  TrayWheelClickRangeCaptureCheck,
  AutoCloseGroup,
  AutoCloseBmpCheck,
  AutoCloseJpegCheck,
  AutoCloseCopyCheck,
  AutoCloseEditorCheck,
  AutoClosePngCheck,
  MagnifierCheck,
  CaptureCursorCheck,
  ClipboardViewHotKeyLabel,
  ClipboardViewHotKeyField,
  ClosedViewersKeptLabel,
  ClosedViewersKeptEdit,
  AllMonitorsCheck,
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
  return std::array<ControlLayout, 87>{{
      {.id = I(S::PageTabs), .kind = K::Tabs, .rect = {4, 4, 377, 397}, .tabStop = true, .groupStart = true},
      {.id = I(S::GeneralPage), .kind = K::TabPage, .parent = I(S::PageTabs), .rect = PageArea, .caption = "全般"},
      {.id = I(S::DetailsPage), .kind = K::TabPage, .parent = I(S::PageTabs), .rect = PageArea, .caption = "詳細設定"},
      {.id = I(S::SpecialPage), .kind = K::TabPage, .parent = I(S::PageTabs), .rect = PageArea, .caption = "特殊設定"},
      // 全般
      {.id = I(S::SaveFolderGroup), .kind = K::GroupBox, .parent = I(S::GeneralPage), .rect = {8, 8, 353, 53}, .caption = "画像を保存するフォルダ"},
      {.id = I(S::SaveFolderEdit), .kind = K::ReadOnlyEdit, .parent = I(S::SaveFolderGroup), .rect = {12, 20, 273, 20}, .tabStop = true, .groupStart = true},
      {.id = I(S::BrowseSaveFolderButton), .kind = K::PushButton, .parent = I(S::SaveFolderGroup), .rect = {292, 19, 47, 21}, .caption = "参照", .tabStop = true},
      {.id = I(S::GeneralOptionsGroup), .kind = K::GroupBox, .parent = I(S::GeneralPage), .rect = {8, 64, 353, 125}},
      {.id = I(S::HideViewersCheck), .kind = K::CheckBox, .parent = I(S::GeneralOptionsGroup), .rect = {12, 16, 257, 17}, .caption = "キャプチャ時はViewウインドウを非表示にする", .tabStop = true},
      {.id = I(S::CopyToClipboardCheck), .kind = K::CheckBox, .parent = I(S::GeneralOptionsGroup), .rect = {12, 36, 269, 17}, .caption = "キャプチャ時は毎回クリップボードにもコピーする", .tabStop = true},
      {.id = I(S::ExcludeTitleBarCheck), .kind = K::CheckBox, .parent = I(S::GeneralOptionsGroup), .rect = {12, 56, 273, 17}, .caption = "ウインドウキャプチャ時はタイトルバーを除外する", .tabStop = true},
      {.id = I(S::KeepRunningCheck), .kind = K::CheckBox, .parent = I(S::GeneralOptionsGroup), .rect = {12, 76, 221, 17}, .caption = "メインウインドウを閉じても終了させない", .tabStop = true},
      {.id = I(S::PrintScreenHotKeyCheck), .kind = K::CheckBox, .parent = I(S::GeneralOptionsGroup), .rect = {12, 96, 245, 17}, .caption = "PrintScreenキーをホットキーとして使用する", .tabStop = true},
      {.id = I(S::EditorGroup), .kind = K::GroupBox, .parent = I(S::GeneralPage), .rect = {8, 196, 353, 77}, .caption = "Viewウインドウから開く外部アプリケーション"},
      {.id = I(S::EditorCommandEdit), .kind = K::Edit, .parent = I(S::EditorGroup), .rect = {12, 20, 273, 20}, .tabStop = true},
      {.id = I(S::ChooseEditorButton), .kind = K::PushButton, .parent = I(S::EditorGroup), .rect = {292, 19, 47, 21}, .caption = "参照", .tabStop = true},
      {.id = I(S::EditorMenuCaptionLabel), .kind = K::Label, .parent = I(S::EditorGroup), .rect = {12, 48, 0, 0}, .caption = "表示"},
      {.id = I(S::EditorMenuCaptionEdit), .kind = K::Edit, .parent = I(S::EditorGroup), .rect = {44, 44, 241, 20}, .tabStop = true},
      {.id = I(S::InformationPanel), .kind = K::WhitePanel, .parent = I(S::GeneralPage), .rect = {8, 288, 261, 73}},
      {.id = I(S::ProgramNameLabel), .kind = K::BoldLabel, .parent = I(S::InformationPanel), .rect = {28, 8, 0, 0}, .caption = "Kamerin"},
      {.id = I(S::VersionLabel), .kind = K::Label, .parent = I(S::InformationPanel), .rect = {156, 8, 0, 0}, .caption = ProgramVersionText},
      {.id = I(S::HomePageLabel), .kind = K::BlueLabel, .parent = I(S::InformationPanel), .rect = {28, 28, 0, 0}, .caption = "HomePage :"},
      {.id = I(S::HomePageLink), .kind = K::LinkLabel, .parent = I(S::InformationPanel), .rect = {94, 28, 0, 0}, .caption = HomePageUrl},
      {.id = I(S::MailLabel), .kind = K::BlueLabel, .parent = I(S::InformationPanel), .rect = {48, 48, 0, 0}, .caption = "E-Mail :"},
      {.id = I(S::MailLink), .kind = K::LinkLabel, .parent = I(S::InformationPanel), .rect = {94, 48, 0, 0}, .caption = MailAddress},
      // 詳細設定
      {.id = I(S::DetailsOptionsGroup), .kind = K::GroupBox, .parent = I(S::DetailsPage), .rect = {8, 8, 353, 189}},
      {.id = I(S::MinimumWidthLabel), .kind = K::Label, .parent = I(S::DetailsOptionsGroup), .rect = {20, 24, 0, 0}, .caption = "キャプチャ最低横幅"},
      {.id = I(S::MinimumWidthEdit), .kind = K::NumberEdit, .parent = I(S::DetailsOptionsGroup), .rect = {128, 20, 33, 20}, .tabStop = true, .groupStart = true},
      {.id = I(S::MinimumHeightLabel), .kind = K::Label, .parent = I(S::DetailsOptionsGroup), .rect = {20, 48, 0, 0}, .caption = "キャプチャ最低縦幅"},
      {.id = I(S::MinimumHeightEdit), .kind = K::NumberEdit, .parent = I(S::DetailsOptionsGroup), .rect = {128, 44, 33, 20}, .tabStop = true},
      {.id = I(S::FrameWidthLabel), .kind = K::Label, .parent = I(S::DetailsOptionsGroup), .rect = {20, 76, 0, 0}, .caption = "Viewウインドウ枠幅"},
      {.id = I(S::FrameWidthEdit), .kind = K::NumberEdit, .parent = I(S::DetailsOptionsGroup), .rect = {128, 72, 33, 20}, .tabStop = true},
      {.id = I(S::FrameColourLabel), .kind = K::Label, .parent = I(S::DetailsOptionsGroup), .rect = {20, 100, 0, 0}, .caption = "Viewウインドウ枠色"},
      {.id = I(S::FrameColourSwatch), .kind = K::Swatch, .parent = I(S::DetailsOptionsGroup), .rect = {128, 96, 33, 20}},
      {.id = I(S::CaptureWaitLabel), .kind = K::Label, .parent = I(S::DetailsOptionsGroup), .rect = {20, 128, 0, 0}, .caption = "キャプチャされるまでの時間(ms)"},
      {.id = I(S::CaptureWaitEdit), .kind = K::NumberEdit, .parent = I(S::DetailsOptionsGroup), .rect = {192, 124, 33, 20}, .tabStop = true},
      {.id = I(S::JpegQualityLabel), .kind = K::Label, .parent = I(S::DetailsOptionsGroup), .rect = {20, 156, 0, 0}, .caption = "Jpg圧縮率"},
      {.id = I(S::JpegQualitySlider), .kind = K::TrackBar, .parent = I(S::DetailsOptionsGroup), .rect = {76, 150, 133, 29}, .tabStop = true},
      {.id = I(S::JpegQualityEdit), .kind = K::Edit, .parent = I(S::DetailsOptionsGroup), .rect = {212, 152, 25, 20}, .tabStop = true},
      {.id = I(S::ProgressiveJpegCheck), .kind = K::CheckBox, .parent = I(S::DetailsOptionsGroup), .rect = {244, 154, 93, 17}, .caption = "プログレッシブ", .tabStop = true},
      {.id = I(S::ViewerPlacementGroup), .kind = K::GroupBox, .parent = I(S::DetailsOptionsGroup), .rect = {176, 16, 165, 101}, .caption = "Viewウインドウ表示位置"},
      {.id = I(S::DesktopCentreRadio), .kind = K::AutoRadio, .parent = I(S::ViewerPlacementGroup), .rect = {8, 20, 150, 20}, .caption = "デスクトップ中央", .tabStop = true, .groupStart = true},
      {.id = I(S::DesktopTopLeftRadio), .kind = K::AutoRadio, .parent = I(S::ViewerPlacementGroup), .rect = {8, 46, 150, 20}, .caption = "デスクトップ左上に表示"},
      {.id = I(S::SamePlaceRadio), .kind = K::AutoRadio, .parent = I(S::ViewerPlacementGroup), .rect = {8, 72, 150, 20}, .caption = "同じ位置"},
      {.id = I(S::DualDisplayGroup), .kind = K::GroupBox, .parent = I(S::DetailsPage), .rect = {8, 208, 353, 117}, .caption = "    "},
      {.id = I(S::DualDisplayCheck), .kind = K::CheckBox, .parent = I(S::DetailsPage), .rect = {20, 206, 161, 17}, .caption = "デュアルディスプレイを使用", .tabStop = true, .groupStart = true},
      {.id = I(S::PrimaryDisplayGroup), .kind = K::GroupBox, .parent = I(S::DualDisplayGroup), .rect = {16, 20, 153, 57}},
      {.id = I(S::PrimaryDisplayLabel), .kind = K::Label, .parent = I(S::PrimaryDisplayGroup), .rect = {12, 12, 0, 0}, .caption = "プライマリディスプレイ"},
      {.id = I(S::PrimaryResolutionLabel), .kind = K::Label, .parent = I(S::PrimaryDisplayGroup), .rect = {12, 32, 0, 0}, .caption = "解像度"},
      {.id = I(S::PrimaryWidthEdit), .kind = K::NumberEdit, .parent = I(S::PrimaryDisplayGroup), .rect = {56, 28, 37, 20}, .tabStop = true},
      {.id = I(S::PrimaryTimesLabel), .kind = K::Label, .parent = I(S::PrimaryDisplayGroup), .rect = {96, 30, 0, 0}, .caption = "x"},
      {.id = I(S::PrimaryHeightEdit), .kind = K::NumberEdit, .parent = I(S::PrimaryDisplayGroup), .rect = {104, 28, 37, 20}, .tabStop = true},
      {.id = I(S::SecondaryDisplayGroup), .kind = K::GroupBox, .parent = I(S::DualDisplayGroup), .rect = {184, 20, 153, 81}},
      {.id = I(S::SecondaryDisplayLabel), .kind = K::Label, .parent = I(S::SecondaryDisplayGroup), .rect = {12, 12, 0, 0}, .caption = "セカンダリディスプレイ"},
      {.id = I(S::SecondaryResolutionLabel), .kind = K::Label, .parent = I(S::SecondaryDisplayGroup), .rect = {12, 32, 0, 0}, .caption = "解像度"},
      {.id = I(S::SecondaryWidthEdit), .kind = K::NumberEdit, .parent = I(S::SecondaryDisplayGroup), .rect = {56, 28, 37, 20}, .tabStop = true},
      {.id = I(S::SecondaryTimesLabel), .kind = K::Label, .parent = I(S::SecondaryDisplayGroup), .rect = {96, 30, 0, 0}, .caption = "x"},
      {.id = I(S::SecondaryHeightEdit), .kind = K::NumberEdit, .parent = I(S::SecondaryDisplayGroup), .rect = {104, 28, 37, 20}, .tabStop = true},
      {.id = I(S::SecondaryPositionLabel), .kind = K::Label, .parent = I(S::SecondaryDisplayGroup), .rect = {25, 56, 0, 0}, .caption = "位置"},
      {.id = I(S::SecondaryLeftEdit), .kind = K::NumberEdit, .parent = I(S::SecondaryDisplayGroup), .rect = {56, 53, 37, 20}, .tabStop = true},
      {.id = I(S::SecondaryCommaLabel), .kind = K::Label, .parent = I(S::SecondaryDisplayGroup), .rect = {95, 56, 0, 0}, .caption = "，"},
      {.id = I(S::SecondaryTopEdit), .kind = K::NumberEdit, .parent = I(S::SecondaryDisplayGroup), .rect = {104, 53, 37, 20}, .tabStop = true},
      {.id = I(S::AllMonitorsCheck), .kind = K::CheckBox, .parent = I(S::DualDisplayGroup), .rect = {16, 88, 160, 17}, .caption = "全てのディスプレイを使用", .tabStop = true, .groupStart = true},
      {.id = I(S::SavePngCheck), .kind = K::CheckBox, .parent = I(S::DetailsPage), .rect = {20, 336, 301, 17}, .caption = "キャプチャ時はBmpの代わりにPNG形式で保存する", .tabStop = true, .groupStart = true},
      // 特殊設定
      {.id = I(S::SpecialOptionsGroup), .kind = K::GroupBox, .parent = I(S::SpecialPage), .rect = {8, 8, 353, 165}},
      {.id = I(S::FadeOutViewersCheck), .kind = K::CheckBox, .parent = I(S::SpecialOptionsGroup), .rect = {12, 16, 189, 17}, .caption = "Viewウインドウを滑らかに閉じる", .tabStop = true, .groupStart = true},
      {.id = I(S::WheelClickClosesViewerCheck), .kind = K::CheckBox, .parent = I(S::SpecialOptionsGroup), .rect = {12, 40, 237, 17}, .caption = "Viewウインドウをホイールクリックで閉じる", .tabStop = true},
      {.id = I(S::WheelZoomsViewerCheck), .kind = K::CheckBox, .parent = I(S::SpecialOptionsGroup), .rect = {12, 64, 261, 17}, .caption = "Viewウインドウをホイール回転で拡大・縮小する", .tabStop = true},
      {.id = I(S::WindowMagnetCheck), .kind = K::CheckBox, .parent = I(S::SpecialOptionsGroup), .rect = {12, 88, 137, 17}, .caption = "ウインドウを吸着させる", .tabStop = true},
      {.id = I(S::MagnetWidthLabel), .kind = K::Label, .parent = I(S::SpecialOptionsGroup), .rect = {152, 90, 0, 0}, .caption = "吸着幅(0～50)"},
      {.id = I(S::MagnetWidthEdit), .kind = K::NumberEdit, .parent = I(S::SpecialOptionsGroup), .rect = {232, 87, 25, 20}, .tabStop = true},
      {.id = I(S::CloseAfterRangeCaptureCheck), .kind = K::CheckBox, .parent = I(S::SpecialOptionsGroup), .rect = {12, 112, 285, 17}, .caption = "範囲キャプチャ後にメインウィンドウを閉じる（常駐時）", .tabStop = true},
      {.id = I(S::TrayWheelClickRangeCaptureCheck), .kind = K::CheckBox, .parent = I(S::SpecialOptionsGroup), .rect = {12, 136, 325, 17}, .caption = "タスクトレイアイコンをホイールクリックで範囲キャプチャ開始", .tabStop = true},
      {.id = I(S::AutoCloseGroup), .kind = K::GroupBox, .parent = I(S::SpecialPage), .rect = {8, 184, 353, 73}, .caption = "以下の操作の後には自動的にViewウインドウを閉じる"},
      {.id = I(S::AutoCloseBmpCheck), .kind = K::CheckBox, .parent = I(S::AutoCloseGroup), .rect = {12, 20, 73, 17}, .caption = "Bmp保存", .tabStop = true, .groupStart = true},
      {.id = I(S::AutoCloseJpegCheck), .kind = K::CheckBox, .parent = I(S::AutoCloseGroup), .rect = {12, 44, 69, 17}, .caption = "Jpg保存", .tabStop = true},
      {.id = I(S::AutoCloseCopyCheck), .kind = K::CheckBox, .parent = I(S::AutoCloseGroup), .rect = {100, 20, 141, 17}, .caption = "クリップボードにコピー", .tabStop = true},
      {.id = I(S::AutoCloseEditorCheck), .kind = K::CheckBox, .parent = I(S::AutoCloseGroup), .rect = {100, 44, 245, 17}, .tabStop = true},
      {.id = I(S::AutoClosePngCheck), .kind = K::CheckBox, .parent = I(S::AutoCloseGroup), .rect = {256, 20, 73, 17}, .caption = "Png保存", .tabStop = true},
      {.id = I(S::MagnifierCheck), .kind = K::CheckBox, .parent = I(S::SpecialPage), .rect = {20, 268, 329, 17}, .caption = "範囲キャプチャ時に拡大鏡を表示する（Tabキーで切替）", .tabStop = true, .groupStart = true},
      {.id = I(S::CaptureCursorCheck), .kind = K::CheckBox, .parent = I(S::SpecialPage), .rect = {20, 292, 301, 17}, .caption = "キャプチャ画像にマウスカーソルを含める", .tabStop = true},
      {.id = I(S::ClipboardViewHotKeyLabel), .kind = K::Label, .parent = I(S::SpecialPage), .rect = {20, 324, 0, 0}, .caption = "クリップボードから表示するホットキー"},
      {.id = I(S::ClipboardViewHotKeyField), .kind = K::HotKeyField, .parent = I(S::SpecialPage), .rect = {212, 320, 141, 20}, .tabStop = true, .groupStart = true},
      {.id = I(S::ClosedViewersKeptLabel), .kind = K::Label, .parent = I(S::SpecialPage), .rect = {20, 350, 0, 0}, .caption = "閉じた表示を戻せる数(0～100)"},
      {.id = I(S::ClosedViewersKeptEdit), .kind = K::NumberEdit, .parent = I(S::SpecialPage), .rect = {212, 346, 33, 20}, .tabStop = true, .groupStart = true},
      // Below the page control. Neither is the dialog's default or cancel button.
      {.id = I(S::OkButton), .kind = K::PushButton, .rect = {224, 408, 75, 25}, .caption = "OK", .tabStop = true, .groupStart = true},
      {.id = I(S::CancelButton), .kind = K::PushButton, .rect = {304, 408, 75, 25}, .caption = "キャンセル", .tabStop = true},
  }};
}();
// clang-format on

}  // namespace kmrn
