#include "framework/win/clipboard.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <exception>

#include "framework/app_error.h"
#include "framework/win/bitmap_win.h"
#include "framework/win/text_win.h"
#include "framework/win/win32_error.h"

namespace kmrn {
namespace {

// Open for as long as it lives.
class OpenClipboardFor {
 public:
  explicit OpenClipboardFor(HWND owner) noexcept {
    for (int attempt = 0; attempt < 10; ++attempt) {
      if ((open_ = OpenClipboard(owner) != 0)) return;
      error_ = GetLastError();
      Sleep(20);
    }
  }
  ~OpenClipboardFor() {
    if (open_) CloseClipboard();
  }
  OpenClipboardFor(const OpenClipboardFor&) = delete;
  OpenClipboardFor& operator=(const OpenClipboardFor&) = delete;
  bool IsOpen() const noexcept { return open_; }
  // Why the last attempt to open it failed.
  DWORD Error() const noexcept { return error_; }

 private:
  bool open_ = false;
  DWORD error_ = 0;
};

}  // namespace

void PutBitmapOnClipboard(HWND owner, HBITMAP bitmap, GdiObject<HPALETTE> palette, std::span<const UINT> promised) {
  Bitmap copy;
  try {
    copy = CopyBitmap(bitmap);
  } catch (const std::exception& error) {
    throw ClipboardError(error.what());
  }
  OpenClipboardFor clipboard(owner);
  if (!clipboard.IsOpen()) throw ClipboardError(SystemError("OpenClipboard", clipboard.Error()).what());
  if (!EmptyClipboard()) throw ClipboardError(LastSystemError("EmptyClipboard").what());
  // Once set, the clipboard owns the copies.
  if (!SetClipboardData(CF_BITMAP, copy.Get())) throw ClipboardError(LastSystemError("SetClipboardData").what());
  copy.Release();
  if (palette && SetClipboardData(CF_PALETTE, palette.Get())) palette.Release();
  // A promise the clipboard refuses costs only that format; the bitmap is there.
  for (UINT format : promised) SetClipboardData(format, nullptr);
}

HGLOBAL GlobalCopyOf(std::span<const std::uint8_t> bytes) noexcept {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (!memory) return nullptr;
  void* target = GlobalLock(memory);
  if (!target) {
    GlobalFree(memory);
    return nullptr;
  }
  std::memcpy(target, bytes.data(), bytes.size());
  GlobalUnlock(memory);
  return memory;
}

bool SetClipboardBytes(UINT format, std::span<const std::uint8_t> bytes) noexcept {
  HGLOBAL memory = GlobalCopyOf(bytes);
  if (!memory) return false;
  // Once set, the clipboard owns the memory.
  if (SetClipboardData(format, memory)) return true;
  GlobalFree(memory);
  return false;
}

ClipboardContent ReadClipboard(HWND owner, std::span<const UINT> formats, std::size_t maxBytes) {
  OpenClipboardFor clipboard(owner);
  if (!clipboard.IsOpen()) throw ClipboardReadError(SystemError("OpenClipboard", clipboard.Error()).what());
  ClipboardContent content;
  for (UINT format : formats) {
    if (!IsClipboardFormatAvailable(format)) continue;
    // A promised format is made now by its owner; one that it fails to make is passed over.
    HANDLE data = GetClipboardData(format);
    if (!data) continue;
    if (format == CF_HDROP) {
      const auto drop = static_cast<HDROP>(data);
      const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
      for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring path(length + 1, L'\0');
        if (length == 0 || DragQueryFileW(drop, i, path.data(), length + 1) != length) continue;
        path.resize(length);
        content.files.push_back(Narrow(path));
      }
    } else {
      const std::size_t size = std::min<std::size_t>(GlobalSize(data), maxBytes);
      const void* bytes = GlobalLock(data);
      if (!bytes) continue;
      const auto* first = static_cast<const std::uint8_t*>(bytes);
      content.bytes.assign(first, first + size);
      GlobalUnlock(data);
    }
    content.format = format;
    return content;
  }
  return content;
}

void RenderWhileOwner(HWND owner, const std::function<void()>& render) {
  OpenClipboardFor clipboard(owner);
  if (clipboard.IsOpen() && GetClipboardOwner() == owner) render();
}

}  // namespace kmrn
