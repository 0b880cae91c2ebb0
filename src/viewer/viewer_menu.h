#pragma once
// The viewer's context menu as a table: its commands in display order, with the Edit submenu.

#include <array>
#include <cstdint>

#include "framework/menu_table.h"

namespace kmrn {

enum class ViewerCommand : std::uint16_t {
  None = 0,
  Copy = 201,
  OpenInEditor,
  SaveBmp,
  SaveJpeg,
  MirrorLeftRight,
  MirrorTopBottom,
  RotateClockwise,
  Close,
  CloseAll,
  SavePng,
};

constexpr std::uint16_t Id(ViewerCommand command) { return static_cast<std::uint16_t>(command); }

// OpenInEditor's caption is replaced by OpenApplicationStr when the viewer is made; CloseAll
// shows only while two or more viewers are open.
inline constexpr std::array<MenuEntry, 15> ViewerMenu{{
    MenuCommand(Id(ViewerCommand::Copy), "クリップボードにコピー(&C)"),
    MenuCommand(Id(ViewerCommand::OpenInEditor), "ペイントで開く(&P)"),
    MenuSeparator,
    MenuCommand(Id(ViewerCommand::SaveBmp), "Bmp保存(&S)"),
    MenuCommand(Id(ViewerCommand::SaveJpeg), "Jpg保存(&J)"),
    MenuCommand(Id(ViewerCommand::SavePng), "Png保存(&N)"),
    MenuSeparator,
    MenuSubmenu("編集(&E)"),
    MenuCommand(Id(ViewerCommand::MirrorLeftRight), "左右反転(&L)"),
    MenuCommand(Id(ViewerCommand::MirrorTopBottom), "上下反転(&U)"),
    MenuCommand(Id(ViewerCommand::RotateClockwise), "時計回りに90ﾟ回転(&R)"),
    MenuSubmenuEnd,
    MenuSeparator,
    MenuCommand(Id(ViewerCommand::Close), "閉じる(&Q)"),
    MenuCommand(Id(ViewerCommand::CloseAll), "全て閉じる(&A)"),
}};

}  // namespace kmrn
