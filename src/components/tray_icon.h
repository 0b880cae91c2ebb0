#pragma once
// What a notification-area icon does with the shell's mouse messages, and the identifiers that
// tell the program's icons apart.

#include <cstdint>
#include <utility>
#include <vector>

namespace kmrn {

// The message the shell sends to the callback window for an icon (WM_USER + 101).
inline constexpr std::uint32_t TrayCallbackMessage = 0x465;

// The mouse messages the shell reports, as lParam of the callback message.
inline constexpr std::uint32_t TrayLeftDown = 0x0201, TrayLeftUp = 0x0202, TrayLeftDoubleClick = 0x0203,
                               TrayRightDown = 0x0204, TrayRightUp = 0x0205, TrayMiddleDown = 0x0207,
                               TrayMiddleUp = 0x0208;

enum class TrayAction { None, MouseDown, MouseUp, MiddleDown, MiddleUp, PopupMenu };

// Which of an icon's reactions are there: an event handler that is set and enabled, a menu.
struct TrayReactions {
  bool mouseDown = false, mouseUp = false, middleDown = false, middleUp = false, popupMenu = false;
};

// The reaction to one mouse message: the left and middle buttons' presses and releases raise
// their events, a right-button release opens the menu; double clicks, a right-button press and
// moves do nothing.
TrayAction TrayActionFor(std::uint32_t mouseMessage, const TrayReactions& reactions);

// The program's icons by identifier. Identifiers rise by one from 1 in the order the icons are
// made and are never used again, so that no message meant for an icon that has gone reaches
// another one.
template <typename Icon>
class TrayIconRegistry {
 public:
  std::uint32_t Add(Icon* icon) {
    const std::uint32_t id = ++lastId_;
    icons_.emplace_back(id, icon);
    return id;
  }
  void Remove(std::uint32_t id) {
    std::erase_if(icons_, [id](const auto& entry) { return entry.first == id; });
  }
  Icon* Find(std::uint32_t id) const {
    for (const auto& [entryId, icon] : icons_) {
      if (entryId == id) return icon;
    }
    return nullptr;
  }

 private:
  std::vector<std::pair<std::uint32_t, Icon*>> icons_;
  std::uint32_t lastId_ = 0;
};

}  // namespace kmrn
