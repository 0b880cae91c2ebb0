// File operations for the host build (Linux), where the platform-free code is tested.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "framework/app_error.h"
#include "framework/file_system.h"

namespace kmrn {
namespace {

// The system's reason for the call that has just failed.
std::string Reason(const char* call) {
  const int code = errno;
  return SystemCallError(call, static_cast<unsigned long>(code), std::strerror(code)).what();
}

}  // namespace

std::vector<std::uint8_t> ReadWholeFile(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw FileOpenError(path, Reason("open"));
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || static_cast<std::uint64_t>(st.st_size) > MaxReadFileBytes) {
    ::close(fd);
    throw FileOpenError(path);
  }
  std::vector<std::uint8_t> data(static_cast<std::size_t>(st.st_size));
  std::size_t done = 0;
  while (done < data.size()) {
    ssize_t n = ::read(fd, data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  ::close(fd);
  data.resize(done);
  return data;
}

bool PathExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

bool FolderExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

struct AtomicFileWriter::Impl {
  std::string target;
  std::string temp;
  int fd = -1;
};

AtomicFileWriter::AtomicFileWriter(const std::string& path) : impl_(std::make_unique<Impl>()) {
  impl_->target = path;
  impl_->temp = path + ".XXXXXX";
  impl_->fd = ::mkstemp(impl_->temp.data());
  if (impl_->fd < 0) throw FileCreateError(path, Reason("mkstemp"));
  ::fchmod(impl_->fd, 0644);
}

AtomicFileWriter::~AtomicFileWriter() {
  if (impl_->fd >= 0) {
    ::close(impl_->fd);
    ::unlink(impl_->temp.c_str());
  }
}

void AtomicFileWriter::Write(const void* data, std::size_t size) {
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  while (size > 0) {
    ssize_t n = ::write(impl_->fd, bytes, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw FileCreateError(impl_->target);
    bytes += n;
    size -= static_cast<std::size_t>(n);
  }
}

void AtomicFileWriter::Commit() {
  int fd = impl_->fd;
  impl_->fd = -1;
  const bool closed = ::close(fd) == 0;
  if (!closed || ::rename(impl_->temp.c_str(), impl_->target.c_str()) != 0) {
    const std::string reason = Reason(closed ? "rename" : "close");
    ::unlink(impl_->temp.c_str());
    throw FileCreateError(impl_->target, reason);
  }
}

}  // namespace kmrn
