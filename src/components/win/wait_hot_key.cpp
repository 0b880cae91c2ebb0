#include "components/win/wait_hot_key.h"

#include <string>

#include "components/wait_hot_key_errors.h"
#include "framework/win/win32_error.h"

namespace kmrn {

// The assignment's modifier flags go to the system as they are.
static_assert(ModAlt == MOD_ALT && ModControl == MOD_CONTROL && ModShift == MOD_SHIFT && ModWin == MOD_WIN);

WaitHotKey::WaitHotKey() {
  // A message-only window: it receives the posted hotkey message and shows nowhere.
  CreateWindowOfClass({L"KMRN_WAIT_HOT_KEY"}, 0, 0, L"", HWND_MESSAGE, RECT{0, 0, 0, 0});

  const std::string atomName = std::to_string(reinterpret_cast<std::uintptr_t>(Handle()));
  if (FindAtomA(atomName.c_str()) != 0) throw AtomInUseError(atomName);
  atom_.Reset(GlobalAddAtomA(atomName.c_str()));
  if (!atom_) throw AtomCreateError(atomName, LastSystemError("GlobalAddAtomA").what());
}

WaitHotKey::~WaitHotKey() {
  UnregisterKey();
  DestroyHandle();
}

std::string WaitHotKey::HotKey() const { return HotKeyShownText(assign_); }

void WaitHotKey::SetHotKey(std::string_view text) { ParseHotKeyText(text, assign_); }

void WaitHotKey::RegisterKey() {
  if (!assign_.Key().empty()) {
    UnregisterKey();
    const int code = assign_.KeyCode();
    if (code < 0) throw HotKeyInvalidError(HotKey());
    if (!RegisterHotKey(Handle(), atom_.Get(), HotKeyModifiers(assign_), static_cast<UINT>(code))) {
      const AppError reason = LastSystemError("RegisterHotKey");
      throw HotKeyRegisterError(HotKey(), reason.what());
    }
  }
}

void WaitHotKey::UnregisterKey() noexcept {
  if (Handle()) UnregisterHotKey(Handle(), atom_.Get());
}

void WaitHotKey::OnHotKey() {
  // Cleared also when the handler fails; the failure goes on to the error box.
  struct ClearBusy {
    bool& busy;
    ~ClearBusy() { busy = false; }
  } clear{busy_};
  busy_ = true;
  if (OnCatchHotKey) OnCatchHotKey();
}

LRESULT WaitHotKey::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // The window belongs to this one hotkey, so the message's identifier need not be compared.
  if (message == WM_HOTKEY && !busy_) {
    OnHotKey();
    return 0;
  }
  return DefaultHandling(message, wParam, lParam);
}

}  // namespace kmrn
