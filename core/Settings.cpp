// Start-up rules over the settings file.
#include "core/Settings.h"

namespace settings {

std::string Read(const IniFile& ini, std::string_view key) {
  return ini.Get(kSection, key).value_or(std::string(kMissing));
}

FirstRun ApplyFirstRunDefaults(const IniFile& ini) {
  if (ini.Get(kSection, "DATA1")) return {};
  FirstRun r{true, true};
  for (const auto& d : kDefaults) r.saved = ini.Put(kSection, d.key, d.value) && r.saved;
  return r;
}

std::string ReadSwitch(const IniFile& ini, std::string_view key, std::string_view defaultValue, bool& saved) {
  std::string v = Read(ini, key);
  if (v != kMissing) return v;
  saved = ini.Put(kSection, key, defaultValue) && saved;
  return std::string(defaultValue);
}

}  // namespace settings
