// Takes arbitrary bytes as a whole settings file and does what a start and a save do with it:
// reads every setting from it and writes every setting back into it. Besides crashes and
// sanitizer reports, it stops on a broken promise of the file:
// - the settings read from the saved file are the ones that were saved;
// - saving the same settings once more changes no byte;
// - every line of the file other than a setting's own stays as it was and where it was (other
//   sections, comments, unknown keys, blank lines); the save changes the value after the "=" of
//   existing settings and adds lines for the missing ones, and a [Setting] header when there was
//   none.
// The Windows program reads and writes the same bytes through IniText, converting values from and
// to the ANSI code page on the way; that conversion is not here.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "framework/text.h"
#include "settings/ini_text.h"
#include "settings/settings.h"

namespace {

using kmrn::EqualsIgnoringAsciiCase;

class TextProfile final : public kmrn::ProfileReader, public kmrn::ProfileWriter {
 public:
  explicit TextProfile(std::string bytes) : text(std::move(bytes)) {}
  std::string ReadString(const char* key, const std::string& fallback) override {
    return text.Value(kmrn::SettingsSection, key).value_or(fallback);
  }
  void WriteString(const char* key, const std::string& value) override {
    text.SetValue(kmrn::SettingsSection, key, value);
  }
  kmrn::IniText text;
};

// Every setting as the file spells it, in table order: two records are the same when these are.
class Spelling final : public kmrn::ProfileWriter {
 public:
  void WriteString(const char* key, const std::string& value) override { values.emplace_back(key, value); }
  std::vector<std::pair<std::string, std::string>> values;
};

std::vector<std::pair<std::string, std::string>> SpellingOf(const kmrn::SettingsFile& file) {
  Spelling spelling;
  kmrn::WriteSettingsFile(spelling, file);
  return spelling.values;
}

[[noreturn]] void Broken(const char* promise) {
  std::fprintf(stderr, "settings file: %s\n", promise);
  std::abort();
}

// A line as the reader sees it: its text, without the line break ("\n", "\r\n", or a "\r" that
// ends the file).
struct Line {
  std::string_view text;
  std::string_view lineBreak;
};

std::vector<Line> LinesOf(std::string_view bytes) {
  std::vector<Line> lines;
  while (!bytes.empty()) {
    const std::size_t newline = bytes.find('\n');
    std::size_t end = newline == std::string_view::npos ? bytes.size() : newline;
    const std::size_t next = newline == std::string_view::npos ? bytes.size() : newline + 1;
    if (end > 0 && bytes[end - 1] == '\r') --end;
    lines.push_back({bytes.substr(0, end), bytes.substr(end, next - end)});
    bytes.remove_prefix(next);
  }
  return lines;
}

// Blanks as the reader takes them around names and values.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f' || c == '\x1a'; }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool IsSettingKey(std::string_view name) {
  for (const kmrn::SettingKey& key : kmrn::SettingKeys()) {
    if (EqualsIgnoringAsciiCase(name, key.key)) return true;
  }
  return false;
}

// A line that names a setting before its "=": the save may give it another value.
bool IsSettingLine(std::string_view text) {
  const std::size_t equals = text.find('=');
  return equals != std::string_view::npos && IsSettingKey(Trimmed(text.substr(0, equals)));
}

// The same bytes up to and including the first "=".
bool SameKeyPart(std::string_view line, std::string_view other) {
  const std::size_t equals = line.find('=');
  return equals != std::string_view::npos && other.substr(0, equals + 1) == line.substr(0, equals + 1);
}

// A line the save may add: a setting of its own spelling, the section header or a blank line.
bool MayBeAdded(std::string_view text) {
  if (text.empty() || text == "[Setting]") return true;
  const std::size_t equals = text.find('=');
  if (equals == std::string_view::npos) return false;
  for (const kmrn::SettingKey& key : kmrn::SettingKeys()) {
    if (text.substr(0, equals) == key.key) return true;
  }
  return false;
}

// A "[" line opens a section only when a "]" closes its name.
bool IsSectionHeader(std::string_view text) {
  text = Trimmed(text);
  return !text.empty() && text.front() == '[' && text.find(']') != std::string_view::npos;
}

bool InSettingSection(std::string_view header) {
  std::string_view name = Trimmed(header).substr(1);
  name = Trimmed(name.substr(0, name.find(']')));
  return EqualsIgnoringAsciiCase(name, kmrn::SettingsSection);
}

// Every line before the save is found after it, in order; only settings' lines in a [Setting]
// section may have a new value, and the last line may gain a line break.
void CheckOtherLinesKept(std::string_view before, std::string_view after) {
  const std::vector<Line> old = LinesOf(before);
  const std::vector<Line> saved = LinesOf(after);
  std::size_t at = 0;
  bool inSettings = false;
  for (std::size_t i = 0; i < old.size(); ++i) {
    const Line& line = old[i];
    // A UTF-8 byte-order mark is no part of the first line's text.
    std::string_view text = line.text;
    if (i == 0 && text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    if (IsSectionHeader(text)) inSettings = InSettingSection(text);
    const bool mayChange = inSettings && !IsSectionHeader(text) && IsSettingLine(text);
    const bool last = i + 1 == old.size();
    for (;; ++at) {
      if (at == saved.size()) Broken("a line of the file is lost");
      const Line& candidate = saved[at];
      const bool breakKept =
          candidate.lineBreak == line.lineBreak || (last && line.lineBreak != "\n" && line.lineBreak != "\r\n");
      const bool sameText = candidate.text == line.text || (mayChange && SameKeyPart(line.text, candidate.text));
      if (breakKept && sameText) break;
      if (!MayBeAdded(candidate.text)) Broken("a line of the file was changed or one was added that is no setting");
    }
    ++at;
  }
  for (; at < saved.size(); ++at) {
    if (!MayBeAdded(saved[at].text)) Broken("a line was added at the end that is no setting");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string original(reinterpret_cast<const char*>(data), size);
  const std::string appDir = "C:\\Tools\\Kamerin";

  TextProfile profile(original);
  const kmrn::SettingsFile loaded = kmrn::ReadSettingsFile(profile, appDir);
  kmrn::WriteSettingsFile(profile, loaded);
  const std::string saved = profile.text.Bytes();

  TextProfile reopened(saved);
  if (SpellingOf(kmrn::ReadSettingsFile(reopened, appDir)) != SpellingOf(loaded))
    Broken("the saved settings read back differently");

  kmrn::WriteSettingsFile(reopened, loaded);
  if (reopened.text.Bytes() != saved) Broken("saving the same settings again changed the file");

  CheckOtherLinesKept(original, saved);
  return 0;
}
