#pragma once
// The few file operations the program needs, with one implementation per platform.
// Paths are UTF-8.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kmrn {

// Files larger than this are not read into memory (no picture the program can show is that big).
inline constexpr std::uint64_t MaxReadFileBytes = 1024ull * 1024 * 1024;

// The whole content of a file. Throws FileOpenError when it cannot be opened or read.
std::vector<std::uint8_t> ReadWholeFile(const std::string& path);

// True when something (a file or a folder) exists at the path.
bool PathExists(const std::string& path);

// True when a folder exists at the path.
bool FolderExists(const std::string& path);

// Writes a file so that a failure never leaves a half-written file behind and never destroys an
// existing file of that name: the bytes go to a temporary file in the same folder, which takes
// the target's place only in Commit(). Without Commit() the temporary file is removed.
// Every failure throws FileCreateError with the target path.
class AtomicFileWriter {
 public:
  explicit AtomicFileWriter(const std::string& path);
  ~AtomicFileWriter();
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  void Write(const void* data, std::size_t size);
  void Commit();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// The bytes as the whole file, all or nothing, as AtomicFileWriter writes.
inline void WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  AtomicFileWriter file(path);
  file.Write(bytes.data(), bytes.size());
  file.Commit();
}

}  // namespace kmrn
