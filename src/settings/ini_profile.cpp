#include "settings/ini_profile.h"

namespace kmrn {

std::string IniProfile::ReadString(const char* key, const std::string& fallback) {
  const std::optional<std::string> bytes = text_.Value(SettingsSection, key);
  if (!bytes) return fallback;
  KeptValue& kept = kept_[key];
  kept.bytes = *bytes;
  kept.text = toUtf8_(std::string_view(*bytes).substr(0, ValueMaxBytes));
  return kept.text;
}

void IniProfile::WriteString(const char* key, const std::string& value) {
  const auto kept = kept_.find(key);
  const bool unchanged = kept != kept_.end() && kept->second.text == value;
  std::string bytes = unchanged ? kept->second.bytes : fromUtf8_(value);
  text_.SetValue(SettingsSection, key, bytes);
  kept_[key] = {std::move(bytes), value};
}

}  // namespace kmrn
