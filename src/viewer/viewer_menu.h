#pragma once
// The viewer's context menu as a table: its commands in display order, with the Edit submenu.

#include <array>
#include <cstdint>

#include "framework/menu_table.h"

namespace kmrn {

enum class ViewerCommand : std::uint16_t {
  None = 0,
  Pop_Copy = 201,
  Pop_Paint,
  Pop_SaveBmp,
  Pop_SaveJpg,
  Pop_ReverseLR,
  Pop_ReverseUD,
  Pop_Rotation,
  Pop_Close,
  Pop_CloseAll,
};

constexpr std::uint16_t Id(ViewerCommand command) { return static_cast<std::uint16_t>(command); }

// Pop_Paint's caption is replaced by OpenApplicationStr when the viewer is made; Pop_CloseAll
// shows only while two or more viewers are open.
inline constexpr std::array<MenuEntry, 14> ViewerMenu{{
    MenuCommand(Id(ViewerCommand::Pop_Copy), "クリップボードにコピー(&C)"),
    MenuCommand(Id(ViewerCommand::Pop_Paint), "ペイントで開く(&P)"),
    MenuSeparator,
    MenuCommand(Id(ViewerCommand::Pop_SaveBmp), "Bmp保存(&S)"),
    MenuCommand(Id(ViewerCommand::Pop_SaveJpg), "Jpg保存(&J)"),
    MenuSeparator,
    MenuSubmenu("編集(&E)"),
    MenuCommand(Id(ViewerCommand::Pop_ReverseLR), "左右反転(&L)"),
    MenuCommand(Id(ViewerCommand::Pop_ReverseUD), "上下反転(&U)"),
    MenuCommand(Id(ViewerCommand::Pop_Rotation), "時計回りに90ﾟ回転(&R)"),
    MenuSubmenuEnd,
    MenuSeparator,
    MenuCommand(Id(ViewerCommand::Pop_Close), "閉じる(&Q)"),
    MenuCommand(Id(ViewerCommand::Pop_CloseAll), "全て閉じる(&A)"),
}};

}  // namespace kmrn
