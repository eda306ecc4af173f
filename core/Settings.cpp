// Start-up rules over the settings file.
#include "core/Settings.h"

namespace settings {

std::string Read(const IniFile& ini, std::string_view key) {
  return ini.Get(kSection, key).value_or(std::string(kMissing));
}

bool ApplyFirstRunDefaults(const IniFile& ini) {
  if (ini.Get(kSection, "DATA1")) return false;
  for (const auto& d : kDefaults) ini.Put(kSection, d.key, d.value);
  return true;
}

std::string ReadSwitch(const IniFile& ini, std::string_view key, std::string_view defaultValue) {
  std::string v = Read(ini, key);
  if (v != kMissing) return v;
  ini.Put(kSection, key, defaultValue);
  return std::string(defaultValue);
}

}  // namespace settings
