#pragma once
// GDI objects and device contexts, each with one owner.

#include <windows.h>

#include "framework/win/unique_resource.h"

namespace kmrn {

struct GdiObjectTraits {
  using Value = HGDIOBJ;
  static Value Invalid() noexcept { return nullptr; }
  static void Close(Value value) noexcept { DeleteObject(value); }
};

// A GDI object of one kind (HBITMAP, HBRUSH, HFONT, HPEN) that is deleted with its owner.
template <typename Handle>
class GdiObject {
 public:
  GdiObject() noexcept = default;
  explicit GdiObject(Handle handle) noexcept : object_(handle) {}
  Handle Get() const noexcept { return static_cast<Handle>(object_.Get()); }
  explicit operator bool() const noexcept { return static_cast<bool>(object_); }
  void Reset(Handle handle = nullptr) noexcept { object_.Reset(handle); }
  Handle Release() noexcept { return static_cast<Handle>(object_.Release()); }

 private:
  UniqueResource<GdiObjectTraits> object_;
};

using Bitmap = GdiObject<HBITMAP>;
using Brush = GdiObject<HBRUSH>;
using Font = GdiObject<HFONT>;

// The DC of a window's client area (or of the whole screen for null), or of the whole window with
// its frame, released with its owner.
class WindowDC {
 public:
  enum class Area { Client, WholeWindow };
  explicit WindowDC(HWND window, Area area = Area::Client) noexcept
      : window_(window), dc_(area == Area::Client ? GetDC(window) : GetWindowDC(window)) {}
  ~WindowDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC Get() const noexcept { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// The painting of one WM_PAINT: BeginPaint now, EndPaint with its owner.
class PaintDC {
 public:
  explicit PaintDC(HWND window) noexcept : window_(window), dc_(BeginPaint(window, &paint_)) {}
  ~PaintDC() { EndPaint(window_, &paint_); }
  PaintDC(const PaintDC&) = delete;
  PaintDC& operator=(const PaintDC&) = delete;
  HDC Get() const noexcept { return dc_; }
  // The part of the client area that needs painting.
  const RECT& Area() const noexcept { return paint_.rcPaint; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// A memory DC compatible with another DC, deleted with its owner.
class MemoryDC {
 public:
  explicit MemoryDC(HDC compatibleWith) noexcept : dc_(CreateCompatibleDC(compatibleWith)) {}
  ~MemoryDC() {
    if (dc_) DeleteDC(dc_);
  }
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;
  HDC Get() const noexcept { return dc_; }

 private:
  HDC dc_;
};

// Selects an object into a DC for as long as it lives, then puts the old one back.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(SelectObject(dc, object)) {}
  ~Selection() { SelectObject(dc_, old_); }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace kmrn
