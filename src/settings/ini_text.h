#pragma once
// The text of an INI file, read and edited as its bytes, by the rules of the platform's profile
// functions: section and key names are found without regard to (ASCII) case, a value is the text
// after "=" less the blanks around it and one pair of enclosing quotes, an existing key is
// rewritten in place, a new key goes after the last line of its section and a new section at the
// end of the file. Every other byte of the file stays exactly as it was, so values in a code page
// of their own (or bytes that are no text at all) survive a save.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kmrn {

class IniText {
 public:
  IniText() = default;
  explicit IniText(std::string bytes) : bytes_(std::move(bytes)) {}

  // The value of the first such key in the first such section, up to a NUL byte; nothing for a
  // missing key.
  std::optional<std::string> Value(std::string_view section, std::string_view key) const;

  // Gives the key this value, so that Value reads it back as it is: cut at a line break or a NUL,
  // which no value can hold, and in quotes when blanks or quotes at its ends would otherwise be
  // lost. A key that has this value already keeps its line as it is.
  void SetValue(std::string_view section, std::string_view key, std::string_view value);

  const std::string& Bytes() const { return bytes_; }

 private:
  struct Line {
    std::size_t begin, end;  // the line's text, without its line break
    std::size_t next;        // where the next line begins
  };
  struct Found {
    std::optional<Line> sectionHeader;
    std::optional<Line> keyLine;
    std::size_t sectionEnd = 0;  // just after the line break of the section's last non-blank line
  };
  Found Find(std::string_view section, std::string_view key) const;
  std::string_view ValueOf(const Line& keyLine) const;
  std::string LineBreak() const;
  // Gives the file's last line a line break if it has none.
  void EndLastLine(const std::string& lineBreak);

  std::string bytes_;
};

}  // namespace kmrn
