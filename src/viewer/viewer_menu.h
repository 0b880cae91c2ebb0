#pragma once
// The viewer's context menu as a table: its commands in display order, with the Edit submenu.

#include <array>
#include <cstdint>

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

struct ViewerMenuEntry {
  enum class Kind { Command, Separator, SubmenuStart, SubmenuEnd };
  Kind kind;
  ViewerCommand command;
  const char* caption;
};

using VM = ViewerMenuEntry;
// Pop_Paint's caption is replaced by OpenApplicationStr when the viewer is made; Pop_CloseAll
// shows only while two or more viewers are open.
inline constexpr std::array<ViewerMenuEntry, 14> ViewerMenu{{
    {VM::Kind::Command, ViewerCommand::Pop_Copy, "クリップボードにコピー(&C)"},
    {VM::Kind::Command, ViewerCommand::Pop_Paint, "ペイントで開く(&P)"},
    {VM::Kind::Separator, ViewerCommand::None, nullptr},
    {VM::Kind::Command, ViewerCommand::Pop_SaveBmp, "Bmp保存(&S)"},
    {VM::Kind::Command, ViewerCommand::Pop_SaveJpg, "Jpg保存(&J)"},
    {VM::Kind::Separator, ViewerCommand::None, nullptr},
    {VM::Kind::SubmenuStart, ViewerCommand::None, "編集(&E)"},
    {VM::Kind::Command, ViewerCommand::Pop_ReverseLR, "左右反転(&L)"},
    {VM::Kind::Command, ViewerCommand::Pop_ReverseUD, "上下反転(&U)"},
    {VM::Kind::Command, ViewerCommand::Pop_Rotation, "時計回りに90ﾟ回転(&R)"},
    {VM::Kind::SubmenuEnd, ViewerCommand::None, nullptr},
    {VM::Kind::Separator, ViewerCommand::None, nullptr},
    {VM::Kind::Command, ViewerCommand::Pop_Close, "閉じる(&Q)"},
    {VM::Kind::Command, ViewerCommand::Pop_CloseAll, "全て閉じる(&A)"},
}};

}  // namespace kmrn
