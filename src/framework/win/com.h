#pragma once
// The component-object library: initialised once for the program, and COM interface pointers
// with one owner each.

#include <windows.h>
// after windows.h, which they need
#include <ole2.h>

#include <utility>

namespace kmrn {

// OLE for the life of the program (the shell's folder dialog needs it).
class OleSession {
 public:
  OleSession() noexcept : initialised_(SUCCEEDED(OleInitialize(nullptr))) {}
  ~OleSession() {
    if (initialised_) OleUninitialize();
  }
  OleSession(const OleSession&) = delete;
  OleSession& operator=(const OleSession&) = delete;

 private:
  bool initialised_;
};

// An interface pointer released with its owner.
template <typename Interface>
class ComPtr {
 public:
  ComPtr() noexcept = default;
  ~ComPtr() { Reset(); }
  ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      Reset();
      pointer_ = std::exchange(other.pointer_, nullptr);
    }
    return *this;
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;

  Interface* operator->() const noexcept { return pointer_; }
  Interface* Get() const noexcept { return pointer_; }
  explicit operator bool() const noexcept { return pointer_ != nullptr; }
  // For the calls that hand back a new pointer.
  Interface** Receive() noexcept {
    Reset();
    return &pointer_;
  }
  void Reset() noexcept {
    if (pointer_) std::exchange(pointer_, nullptr)->Release();
  }

 private:
  Interface* pointer_ = nullptr;
};

}  // namespace kmrn
