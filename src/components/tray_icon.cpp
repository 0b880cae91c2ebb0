#include "components/tray_icon.h"

namespace kmrn {

TrayAction TrayActionFor(std::uint32_t mouseMessage, const TrayReactions& r) {
  switch (mouseMessage) {
    case TrayLeftUp: return r.leftButtonUp ? TrayAction::LeftButtonUp : TrayAction::None;
    case TrayMiddleUp: return r.middleButtonUp ? TrayAction::MiddleButtonUp : TrayAction::None;
    case TrayRightUp: return r.popupMenu ? TrayAction::PopupMenu : TrayAction::None;
    default: return TrayAction::None;
  }
}

}  // namespace kmrn
