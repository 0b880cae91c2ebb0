#pragma once
// One system-wide hotkey: a key with its modifiers, bound to an event that is raised whichever
// program has the focus. A hidden window receives the system's hotkey message; a global atom
// named after that window identifies the hotkey to the system. The component never registers by
// itself: its owner calls RegisterKey.

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "components/key_assign.h"
#include "framework/win/unique_resource.h"
#include "framework/win/window.h"

namespace kmrn {

class WaitHotKey final : public Window {
 public:
  // Makes the hidden window and takes the atom; throws WaitHotKeyAtomError when it cannot.
  WaitHotKey();
  ~WaitHotKey() override;

  // The text form, "(なし)" while no key is set; writing it parses the text.
  std::string HotKey() const;
  void SetHotKey(std::string_view text);
  // The assignment itself; changing it changes the text form, never the registration.
  KeyAssign& Assignment() { return assign_; }

  // Binds the assigned key, replacing an earlier binding of this component. Without a key the
  // earlier binding stays. Throws WaitHotKeyHotKeyError for a key that has no code or that the
  // system refuses (another program holds it); the earlier binding is gone then.
  void RegisterKey();
  void UnregisterKey() noexcept;

  // The hotkey was pressed. A press while its handler still runs (in a message box's loop, say)
  // is ignored.
  std::function<void()> OnCatchHotKey;

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnHotKey();

  KeyAssign assign_;
  UniqueGlobalAtom atom_;
  bool busy_ = false;
};

}  // namespace kmrn
