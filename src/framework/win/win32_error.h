#pragma once
// Failed Win32 calls as the program's errors: the call's name and the system's own text for
// GetLastError(), in the user's language.

#include "framework/app_error.h"

namespace kmrn {

// The error of a call that has just failed. Read at once, before anything else can change the
// thread's last error.
AppError LastSystemError(const char* call);

[[noreturn]] inline void ThrowLastSystemError(const char* call) { throw LastSystemError(call); }

}  // namespace kmrn
