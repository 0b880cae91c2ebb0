#include "settings/ini_text.h"

#include "framework/text.h"

namespace kmrn {
namespace {

constexpr std::string_view Utf8ByteOrderMark = "\xEF\xBB\xBF";

// What the profile functions take for white space around a name or a value: a lone carriage
// return and an old end-of-file mark (Ctrl+Z) too.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f' || c == '\x1a'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The name in a "[name]" line, or nothing for any other line ("[" without "]" opens no section).
std::optional<std::string_view> SectionName(std::string_view line) {
  line = Trim(line);
  const std::size_t close = line.find(']');
  if (line.empty() || line.front() != '[' || close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

// The key of a "key=value" line, or nothing for a comment or a line without "=".
std::optional<std::string_view> KeyName(std::string_view line) {
  const std::string_view trimmed = Trim(line);
  const std::size_t equals = line.find('=');
  if (trimmed.empty() || trimmed.front() == ';' || equals == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(0, equals));
}

bool IsQuote(char c) { return c == '"' || c == '\''; }

// A value as the file holds it, so that reading gives it back: cut at a line break ("\n" or
// "\r\n") or a NUL, which no value can hold, and in a pair of quotes when reading would otherwise
// lose some of it (blanks at either end, a "\r" among them, or enclosing quotes of its own).
std::string Spelled(std::string_view value) {
  value = value.substr(0, value.find('\0'));
  if (const std::size_t newline = value.find('\n'); newline != std::string_view::npos) {
    value = value.substr(0, newline);
    if (!value.empty() && value.back() == '\r') value.remove_suffix(1);
  }
  const bool quoted =
      !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()) ||
                         (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front()));
  if (!quoted) return std::string(value);
  std::string spelled = "\"";
  spelled.append(value).append("\"");
  return spelled;
}

}  // namespace

IniText::Found IniText::Find(std::string_view section, std::string_view key) const {
  Found found;
  bool inSection = false;
  const std::string_view text = bytes_;
  // A file saved as UTF-8 by an editor may start with its byte-order mark, which is no part of
  // the first line.
  for (std::size_t begin = text.starts_with(Utf8ByteOrderMark) ? Utf8ByteOrderMark.size() : 0; begin < text.size();) {
    std::size_t end = text.find('\n', begin);
    const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
    end = end == std::string_view::npos ? text.size() : end;
    const std::size_t textEnd = end > begin && text[end - 1] == '\r' ? end - 1 : end;
    const Line line{begin, textEnd, next};
    const std::string_view content = text.substr(begin, textEnd - begin);
    begin = next;

    if (const auto name = SectionName(content)) {
      if (inSection) break;  // only the first section of the name counts
      inSection = EqualsIgnoringAsciiCase(*name, section);
      if (inSection) {
        found.sectionHeader = line;
        found.sectionEnd = line.next;
      }
      continue;
    }
    if (!inSection) continue;
    if (!Trim(content).empty()) found.sectionEnd = line.next;
    if (const auto name = KeyName(content); name && !found.keyLine && EqualsIgnoringAsciiCase(*name, key))
      found.keyLine = line;
  }
  return found;
}

std::optional<std::string> IniText::Value(std::string_view section, std::string_view key) const {
  const Found found = Find(section, key);
  if (!found.keyLine) return std::nullopt;
  return std::string(ValueOf(*found.keyLine));
}

std::string_view IniText::ValueOf(const Line& keyLine) const {
  const std::string_view line = std::string_view(bytes_).substr(keyLine.begin, keyLine.end - keyLine.begin);
  std::string_view value = Trim(line.substr(line.find('=') + 1));
  // The platform hands a value over as a C string: nothing after a NUL byte ever reached the
  // program.
  value = value.substr(0, value.find('\0'));
  if (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return value;
}

std::string IniText::LineBreak() const {
  const std::size_t firstBreak = bytes_.find('\n');
  return firstBreak != std::string::npos && (firstBreak == 0 || bytes_[firstBreak - 1] != '\r') ? "\n" : "\r\n";
}

void IniText::SetValue(std::string_view section, std::string_view key, std::string_view text) {
  const Found found = Find(section, key);
  // The value the key has already: its line stays as it is, with its quotes, its blanks and
  // whatever bytes follow a NUL.
  if (found.keyLine && ValueOf(*found.keyLine) == text) return;
  const std::string value = Spelled(text);
  if (found.keyLine) {
    // The key's own spelling and whatever stands before the "=" stay; the value after it changes.
    const std::size_t valueStart = bytes_.find('=', found.keyLine->begin) + 1;
    bytes_.replace(valueStart, found.keyLine->end - valueStart, value);
    return;
  }
  const std::string lineBreak = LineBreak();
  std::string line(key);
  line.append("=").append(value).append(lineBreak);
  if (found.sectionHeader) {
    // A section that ends the file may end without a line break.
    std::size_t at = found.sectionEnd;
    if (at == bytes_.size()) {
      EndLastLine(lineBreak);
      at = bytes_.size();
    }
    bytes_.insert(at, line);
    return;
  }
  // A new section, after a blank line when the file holds anything already.
  if (!bytes_.empty()) {
    EndLastLine(lineBreak);
    bytes_ += lineBreak;
  }
  bytes_.append("[").append(section).append("]").append(lineBreak).append(line);
}

void IniText::EndLastLine(const std::string& lineBreak) {
  if (bytes_.empty() || bytes_.back() == '\n') return;
  // A "\r" that ends the file already ends its last line for the reader; a whole line break
  // after it would make it part of that line's text.
  bytes_ += bytes_.back() == '\r' ? "\n" : lineBreak;
}

}  // namespace kmrn
