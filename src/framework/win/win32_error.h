#pragma once
// Failed Win32 calls as the program's errors: the call's name and the system's own text for
// GetLastError(), in the user's language.

#include "framework/app_error.h"

namespace kmrn {

// The error of a call that has just failed. Read at once, before anything else can change the
// thread's last error.
AppError LastSystemError(const char* call);
// The same for an error code taken earlier.
AppError SystemError(const char* call, unsigned long code);

[[noreturn]] inline void ThrowLastSystemError(const char* call) { throw LastSystemError(call); }

}  // namespace kmrn
