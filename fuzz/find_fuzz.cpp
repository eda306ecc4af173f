// Quick-find: a phone book file read as the window reads it, then searched with a query from the same
// input (the bytes after the first NUL): any text, any romaji, never a crash, hits always in range.
#include <cstring>

#include "core/PhoneBookFile.h"
#include "find/PhoneFind.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view in(reinterpret_cast<const char*>(data), size);
  const std::size_t cut = std::min(in.find('\0'), in.size());
  const std::string path = fuzz::Scratch() + "Teldat1.tel";
  fuzz::Put(path, in.substr(0, cut));
  phonefind::Index index;
  index.AddGroup(1, phonebook::LoadForMenus(path).entries);
  const std::string_view query =
      cut < in.size() ? in.substr(cut + 1) : in.substr(0, std::min<std::size_t>(cut, 12));
  const std::vector<phonefind::Hit> hits = index.Find(query, 100);
  FUZZ_CHECK(hits.size() <= 100);
  for (std::size_t i = 0; i < hits.size(); ++i) {
    FUZZ_CHECK(hits[i].entry < index.Entries().size());
    FUZZ_CHECK(i == 0 || static_cast<int>(hits[i - 1].rank) <= static_cast<int>(hits[i].rank));
  }
  (void)phonefind::RomajiToKana(query);
  return 0;
}
