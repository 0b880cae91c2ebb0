#pragma once
// The picture the program last put on the clipboard. A capture and a viewer's copy put it there
// as a bitmap and promise it as PNG (the registered format "PNG", which other programs paste
// with its exact colours). The PNG is encoded from the picture kept here only when a program asks
// for it, and before the program ends, so that it can still be pasted after the program has gone.
// The owner window, which lives as long as the program, passes the clipboard's messages on.

#include <windows.h>

#include <optional>

#include "picture/dib.h"

namespace kmrn {

class ClipboardPicture {
 public:
  explicit ClipboardPicture(HWND owner);
  ClipboardPicture(const ClipboardPicture&) = delete;
  ClipboardPicture& operator=(const ClipboardPicture&) = delete;

  // Replaces what the clipboard holds with the picture. `bitmap` is the picture as GDI holds it
  // already (a copy of it goes to the clipboard); without one, a bitmap is made from the picture,
  // with its palette. Throws ClipboardError.
  void Put(const Dib& picture, HBITMAP bitmap = nullptr);

  // WM_RENDERFORMAT: a program asks for the PNG, with the clipboard open.
  void Render(UINT format) noexcept;
  // WM_RENDERALLFORMATS: the owner window goes; the PNG is handed over now if it is still ours.
  void RenderAll() noexcept;
  // WM_DESTROYCLIPBOARD: the clipboard was emptied, and the picture is no longer needed.
  void Release() noexcept { kept_.reset(); }

 private:
  HWND owner_;
  UINT pngFormat_;
  std::optional<Dib> kept_;
};

// The picture on the clipboard, as another program (or this one) put it there: the "PNG" format
// first (exact colours), then a device-independent bitmap (V5 or plain, any depth), then the first
// BMP, JPEG or PNG file among copied files. Nothing when the clipboard holds none of them. Throws
// ClipboardReadError when the clipboard stays busy, and the readers' errors for damaged data.
std::optional<Dib> ReadClipboardPicture(HWND owner, bool lowColorDisplay);

}  // namespace kmrn
