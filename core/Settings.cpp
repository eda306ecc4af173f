// Start-up rules over the settings file.
#include "core/Settings.h"

#include <charconv>
#include <optional>

#include "platform/TextChars.h"

namespace settings {

std::string GroupKey(int group) {
  return "DATA" + std::to_string(group);
}

std::string_view DefaultOf(std::string_view key) {
  for (const Default& d : kDefaults)
    if (d.key == key) return d.value;
  return {};
}

Switch::Switch(std::string text) : text_(std::move(text)), on_(textchars::TextIsTrue(text_)) {}

std::string Read(const IniFile& ini, std::string_view key) {
  return ini.Get(kSection, key).value_or(std::string(kMissing));
}

EditorSize ReadEditorSize(const IniFile& ini) {
  auto stored = [&ini](std::string_view key, int fallback) {
    const std::optional<std::string> v = ini.Get(kSection, key);
    if (!v) return fallback;
    const std::string_view t = textchars::Trim(*v);
    int n = 0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), n);
    return ec == std::errc() && end == t.data() + t.size() && n > 0 ? n : fallback;
  };
  const EditorSize fallback;
  return {stored(kWidth, fallback.width), stored(kHeight, fallback.height)};
}

bool WriteEditorSize(const IniFile& ini, EditorSize size) {
  return ini.Put(kSection, kWidth, std::to_string(size.width)) &&
         ini.Put(kSection, kHeight, std::to_string(size.height));
}

FirstRun ApplyFirstRunDefaults(const IniFile& ini) {
  if (ini.Get(kSection, GroupKey(1))) return {};
  FirstRun r{true, true};
  for (const auto& d : kDefaults) r.saved = ini.Put(kSection, d.key, d.value) && r.saved;
  return r;
}

Switch ReadSwitch(const IniFile& ini, std::string_view key, bool& saved) {
  const std::string_view defaultValue = DefaultOf(key);
  std::string v = Read(ini, key);
  if (v != kMissing) return Switch(std::move(v));
  saved = ini.Put(kSection, key, defaultValue) && saved;
  return Switch(std::string(defaultValue));
}

std::string ReadFindKey(const IniFile& ini) {
  std::string v = Read(ini, kFindKey);
  return v == kMissing ? std::string(kFindKeyDefault) : v;
}

}  // namespace settings
