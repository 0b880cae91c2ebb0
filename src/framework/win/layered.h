#pragma once
// Alpha blending of a whole window (a layered window with one alpha value).

#include <windows.h>

namespace kmrn {

inline void SetWindowAlpha(HWND window, BYTE alpha) noexcept {
  LONG_PTR style = GetWindowLongPtrW(window, GWL_EXSTYLE);
  if (!(style & WS_EX_LAYERED)) SetWindowLongPtrW(window, GWL_EXSTYLE, style | WS_EX_LAYERED);
  SetLayeredWindowAttributes(window, 0, alpha, LWA_ALPHA);
}

inline void ClearWindowAlpha(HWND window) noexcept {
  LONG_PTR style = GetWindowLongPtrW(window, GWL_EXSTYLE);
  if (style & WS_EX_LAYERED) SetWindowLongPtrW(window, GWL_EXSTYLE, style & ~WS_EX_LAYERED);
}

inline bool HasWindowAlpha(HWND window) noexcept { return GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED; }

}  // namespace kmrn
