// File operations on Windows, through the wide-character API so that any path works.

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <new>

#include "framework/app_error.h"
#include "framework/file_system.h"
#include "framework/win/text_win.h"
#include "framework/win/unique_resource.h"
#include "framework/win/win32_error.h"

namespace kmrn {
namespace {

// The system's reason for the call that has just failed, or for an error code taken before.
std::string Reason(const char* call) { return LastSystemError(call).what(); }
std::string Reason(const char* call, DWORD code) { return SystemError(call, code).what(); }

}  // namespace

std::vector<std::uint8_t> ReadWholeFile(const std::string& path) {
  UniqueFile file(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw FileOpenError(path, Reason("CreateFileW"));
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size)) throw FileOpenError(path, Reason("GetFileSizeEx"));
  if (static_cast<std::uint64_t>(size.QuadPart) > MaxReadFileBytes) throw FileOpenError(path);
  std::vector<std::uint8_t> data;
  try {
    data.resize(static_cast<size_t>(size.QuadPart));
  } catch (const std::bad_alloc&) {
    throw FileOpenError(path);
  }
  size_t done = 0;
  while (done < data.size()) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(data.size() - done, 64u << 20));
    DWORD got = 0;
    if (!ReadFile(file.Get(), data.data() + done, chunk, &got, nullptr) || got == 0) break;
    done += got;
  }
  data.resize(done);
  return data;
}

bool PathExists(const std::string& path) { return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

bool FolderExists(const std::string& path) {
  DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

struct AtomicFileWriter::Impl {
  std::string target;
  std::wstring temp;
  UniqueFile file;
};

AtomicFileWriter::AtomicFileWriter(const std::string& path) : impl_(std::make_unique<Impl>()) {
  impl_->target = path;
  const std::wstring target = Widen(path);
  // A name of our own beside the target, created in the same call that opens it: the process and
  // the moment make it unique, and a name that is taken all the same is tried with the next number.
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  DWORD error = ERROR_FILE_EXISTS;
  for (DWORD attempt = 0; attempt < 100; ++attempt) {
    wchar_t suffix[40];
    swprintf(suffix, 40, L".%lx-%lx.kmrtmp", GetCurrentProcessId(), now.LowPart + attempt);
    std::wstring temp = target + suffix;
    impl_->file.Reset(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (impl_->file) {
      impl_->temp = std::move(temp);
      return;
    }
    error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
  }
  throw FileCreateError(path, Reason("CreateFileW", error));
}

AtomicFileWriter::~AtomicFileWriter() {
  // Not committed: the partial file goes.
  if (impl_->file) {
    impl_->file.Reset();
    DeleteFileW(impl_->temp.c_str());
  }
}

void AtomicFileWriter::Write(const void* data, std::size_t size) {
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  while (size > 0) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(size, 64u << 20));
    DWORD written = 0;
    if (!WriteFile(impl_->file.Get(), bytes, chunk, &written, nullptr)) {
      throw FileCreateError(impl_->target, Reason("WriteFile"));
    }
    if (written == 0) throw FileCreateError(impl_->target);
    bytes += written;
    size -= written;
  }
}

void AtomicFileWriter::Commit() {
  const bool closed = CloseHandle(impl_->file.Release()) != 0;
  if (!closed || !MoveFileExW(impl_->temp.c_str(), Widen(impl_->target).c_str(), MOVEFILE_REPLACE_EXISTING)) {
    const std::string reason = Reason(closed ? "MoveFileExW" : "CloseHandle");
    DeleteFileW(impl_->temp.c_str());
    throw FileCreateError(impl_->target, reason);
  }
}

}  // namespace kmrn
