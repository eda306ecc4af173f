// Phone book file as the tray's letter menus load it.
#include "core/PhoneBookFile.h"
#include "fuzz/FuzzSupport.h"
#include "platform/TextChars.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::Scratch() + "Teldat1.tel";
  fuzz::Put(path, std::string_view(reinterpret_cast<const char*>(data), size));
  phonebook::MenuLoad m = phonebook::LoadForMenus(path);
  FUZZ_CHECK(m.status == textfile::ReadStatus::Ok);
  FUZZ_CHECK(m.entries[0].empty());
  for (const auto& letter : m.entries) {
    FUZZ_CHECK(letter.size() <= phonebook::kMaxEntries);
    for (const auto& e : letter)
      FUZZ_CHECK(textchars::IsValidUtf8(e) && e.find_first_of("\r\n") == std::string::npos);
  }
  return 0;
}
