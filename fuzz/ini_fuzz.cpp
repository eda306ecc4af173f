// Settings file: any bytes read without harm; a successful write reads back and keeps the other lines.
#include "core/IniFile.h"
#include "core/Settings.h"
#include "fuzz/FuzzSupport.h"
#include "platform/TextFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view in(reinterpret_cast<const char*>(data), size);
  const std::string path = fuzz::Scratch() + "dnstplus.ini";
  fuzz::Put(path, in);
  IniFile ini(path);
  for (const char* key : {"DATA1", "Width", "Clipen", "Topview"}) {
    auto v = ini.Get("Data", key);
    if (v) FUZZ_CHECK(v->size() <= 3 * IniFile::kValueBytes);
  }
  const auto before = textfile::SplitLines(in);
  if (ini.Put("Data", "DATA3", "名前")) {
    FUZZ_CHECK(ini.Get("Data", "DATA3") == std::optional<std::string>("名前"));
    const auto after = textfile::SplitLines(fuzz::Get(path));
    FUZZ_CHECK(after.size() >= before.size() && after.size() <= before.size() + 2);
    std::size_t changed = 0;  // every line but the key's own (or the added ones) is as it was
    for (std::size_t i = 0, j = 0; i < before.size() && j < after.size(); ++i, ++j) {
      if (before[i] == after[j]) continue;
      ++changed;
      if (after.size() > before.size() && j + 1 < after.size() && before[i] == after[j + 1]) ++j, --changed;
    }
    FUZZ_CHECK(changed <= 1);
  }
  bool saved = true;
  (void)settings::ReadSwitch(ini, settings::kClipen, saved);
  return 0;
}
