#pragma once
// An action followed by a clean-up that must run whether or not the action failed, such as
// bringing back the windows a capture hid. The clean-up runs outside any exception handler, so
// it may fail in its turn without ending the program; the action's own failure is passed on
// after it, to be reported where every failure is.

#include <exception>
#include <utility>

namespace kmrn {

template <typename Action, typename Cleanup>
void RunThenAlways(Action&& action, Cleanup&& cleanup) {
  std::exception_ptr failure;
  try {
    std::forward<Action>(action)();
  } catch (...) {
    failure = std::current_exception();
  }
  std::forward<Cleanup>(cleanup)();
  if (failure) std::rethrow_exception(failure);
}

}  // namespace kmrn
