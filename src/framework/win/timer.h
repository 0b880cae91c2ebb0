#pragma once
// A message timer of one window: WM_TIMER with this id every interval while it runs.

#include <windows.h>

namespace kmrn {

class Timer {
 public:
  Timer(UINT_PTR id, UINT intervalMs) noexcept : id_(id), interval_(intervalMs) {}
  ~Timer() { Stop(); }
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  void Start(HWND window) noexcept {
    window_ = window;
    running_ = SetTimer(window, id_, interval_, nullptr) != 0;
  }
  void Stop() noexcept {
    if (running_) KillTimer(window_, id_);
    running_ = false;
  }
  bool Running() const noexcept { return running_; }
  UINT_PTR Id() const noexcept { return id_; }

 private:
  UINT_PTR id_;
  UINT interval_;
  HWND window_ = nullptr;
  bool running_ = false;
};

}  // namespace kmrn
