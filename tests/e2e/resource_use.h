#pragma once
// What a running program holds, read from outside it: GDI objects, USER objects, kernel handles
// and private bytes. Windows answers each with one call. Wine 8 answers none of the first three
// (GetGuiResources and GetProcessHandleCount give 0) nor private bytes, so there they are read
// where Wine keeps them: the process's GDI handle table (which its PEB names), the process's
// windows, the system's handle list, and the commit charge.

#include <windows.h>

#include <cstdint>
#include <string>

namespace e2e {

struct ResourceUse {
  long gdiObjects = -1;
  long userObjects = -1;  // under Wine: the process's windows (top-level, child and message-only)
  long handles = -1;
  std::int64_t privateBytes = -1;
};

ResourceUse ResourceUseOf(DWORD processId);

// "gdi 123 user 45 handles 67 private 12.3 MiB"
std::string Describe(const ResourceUse& use);

}  // namespace e2e
