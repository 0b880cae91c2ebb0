#pragma once
// One owner for every Win32 handle: a move-only wrapper that releases the handle exactly once.

#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <utility>

namespace kmrn {

template <typename Traits>
class UniqueResource {
 public:
  using Value = typename Traits::Value;

  UniqueResource() noexcept = default;
  explicit UniqueResource(Value value) noexcept : value_(value) {}
  ~UniqueResource() { Reset(); }
  UniqueResource(UniqueResource&& other) noexcept : value_(other.Release()) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;

  Value Get() const noexcept { return value_; }
  explicit operator bool() const noexcept { return value_ != Traits::Invalid(); }
  Value Release() noexcept { return std::exchange(value_, Traits::Invalid()); }
  void Reset(Value value = Traits::Invalid()) noexcept {
    Value old = std::exchange(value_, value);
    if (old != Traits::Invalid()) Traits::Close(old);
  }

 private:
  Value value_ = Traits::Invalid();
};

struct KernelHandleTraits {
  using Value = HANDLE;
  static Value Invalid() noexcept { return nullptr; }
  static void Close(Value value) noexcept { CloseHandle(value); }
};
using UniqueHandle = UniqueResource<KernelHandleTraits>;

// A file, whose "no handle" is INVALID_HANDLE_VALUE rather than null.
struct FileHandleTraits {
  using Value = HANDLE;
  static Value Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Value value) noexcept { CloseHandle(value); }
};
using UniqueFile = UniqueResource<FileHandleTraits>;

struct WindowTraits {
  using Value = HWND;
  static Value Invalid() noexcept { return nullptr; }
  static void Close(Value value) noexcept { DestroyWindow(value); }
};
using UniqueWindow = UniqueResource<WindowTraits>;

struct IconTraits {
  using Value = HICON;
  static Value Invalid() noexcept { return nullptr; }
  static void Close(Value value) noexcept { DestroyIcon(value); }
};
using UniqueIcon = UniqueResource<IconTraits>;

struct LocalMemoryTraits {
  using Value = HLOCAL;
  static Value Invalid() noexcept { return nullptr; }
  static void Close(Value value) noexcept { LocalFree(value); }
};
using UniqueLocalMemory = UniqueResource<LocalMemoryTraits>;

// A global atom, such as a hotkey's identifier.
struct GlobalAtomTraits {
  using Value = ATOM;
  static Value Invalid() noexcept { return 0; }
  static void Close(Value value) noexcept { GlobalDeleteAtom(value); }
};
using UniqueGlobalAtom = UniqueResource<GlobalAtomTraits>;

struct DropTraits {
  using Value = HDROP;
  static Value Invalid() noexcept { return nullptr; }
  static void Close(Value value) noexcept { DragFinish(value); }
};
using UniqueDrop = UniqueResource<DropTraits>;

}  // namespace kmrn
