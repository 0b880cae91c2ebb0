#pragma once
// The hotkey component's errors, shown in the standard error box like every other error.

#include <string>

#include "framework/app_error.h"

namespace kmrn {

class WaitHotKeyError : public AppError {
 public:
  using AppError::AppError;
};

// The component could not take the atom that identifies its hotkey.
class WaitHotKeyAtomError : public WaitHotKeyError {
 public:
  using WaitHotKeyError::WaitHotKeyError;
};

// The hotkey could not be bound.
class WaitHotKeyHotKeyError : public WaitHotKeyError {
 public:
  using WaitHotKeyError::WaitHotKeyError;
};

inline WaitHotKeyAtomError AtomInUseError(const std::string& atomName) {
  return WaitHotKeyAtomError("既存のアトムを使おうとしました(" + atomName + ")");
}
// A reason, when the system gave one, follows on a line of its own.
inline WaitHotKeyAtomError AtomCreateError(const std::string& atomName, const std::string& reason = {}) {
  return WaitHotKeyAtomError(TextWithReason("アトムが作成できません(" + atomName + ")", reason));
}
inline WaitHotKeyHotKeyError HotKeyInvalidError(const std::string& hotKeyText) {
  return WaitHotKeyHotKeyError("ホットキーが無効です(" + hotKeyText + ")");
}
inline WaitHotKeyHotKeyError HotKeyRegisterError(const std::string& hotKeyText, const std::string& reason = {}) {
  return WaitHotKeyHotKeyError(TextWithReason("ホットキーが登録できません(" + hotKeyText + ")", reason));
}

}  // namespace kmrn
