#pragma once
// How the JPEG code talks to libjpeg about errors. libjpeg reports a fatal error by calling
// error_exit, which must not return; we leave it with longjmp. A longjmp skips C++ destructors,
// so every function that calls setjmp and then the library holds only plain C structs and raw
// pointers, returns the library's message code, and its caller turns that code into JpegError
// once the library is no longer on the stack.

#include <csetjmp>
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

#include <jerror.h>

namespace kmrn::jpeg_detail {

struct ErrorManager {
  jpeg_error_mgr pub;  // first, so the library's pointer to it is also a pointer to this
  std::jmp_buf jump;
};

[[noreturn]] inline void JumpOut(j_common_ptr cinfo) {
  auto* manager = reinterpret_cast<ErrorManager*>(cinfo->err);
  std::longjmp(manager->jump, 1);
}

// A corrupt or truncated file makes the library warn and go on; the user sees the picture it could
// make, and nothing is written to a console that a GUI program does not have.
inline void DropMessage(j_common_ptr) {}

inline jpeg_error_mgr* InstallErrorManager(ErrorManager* manager) {
  jpeg_std_error(&manager->pub);
  manager->pub.error_exit = JumpOut;
  manager->pub.output_message = DropMessage;
  return &manager->pub;
}

}  // namespace kmrn::jpeg_detail
