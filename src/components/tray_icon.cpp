#include "components/tray_icon.h"

namespace kmrn {

TrayAction TrayActionFor(std::uint32_t mouseMessage, const TrayReactions& r) {
  switch (mouseMessage) {
    case TrayLeftDown: return r.mouseDown ? TrayAction::MouseDown : TrayAction::None;
    case TrayLeftUp: return r.mouseUp ? TrayAction::MouseUp : TrayAction::None;
    case TrayRightUp: return r.popupMenu ? TrayAction::PopupMenu : TrayAction::None;
    case TrayMiddleDown: return r.middleDown ? TrayAction::MiddleDown : TrayAction::None;
    case TrayMiddleUp: return r.middleUp ? TrayAction::MiddleUp : TrayAction::None;
    default: return TrayAction::None;
  }
}

}  // namespace kmrn
