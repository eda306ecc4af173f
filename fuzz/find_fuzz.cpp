// Quick-find: a phone book file read as the window reads it, its names read with the dictionary the
// program carries, then searched with a query from the same input (the bytes after the first NUL): any
// text, any romaji, never a crash, hits always in range and in rank order.
#include <cstring>

#include "core/PhoneBookFile.h"
#include "find/PhoneFind.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const readings::Dictionary dictionary = readings::Dictionary::FromBytes(fuzz::Get(DN_READINGS_FILE));
  FUZZ_CHECK(dictionary.Words() > 0);
  const std::string_view in(reinterpret_cast<const char*>(data), size);
  const std::size_t cut = std::min(in.find('\0'), in.size());
  const std::string path = fuzz::Scratch() + "Teldat1.tel";
  fuzz::Put(path, in.substr(0, cut));
  phonefind::Index index(&dictionary);
  index.AddGroup(1, phonebook::LoadForMenus(path).entries);
  const std::string_view query =
      cut < in.size() ? in.substr(cut + 1) : in.substr(0, std::min<std::size_t>(cut, 12));
  const std::vector<phonefind::Hit> hits = index.Find(query, 100);
  FUZZ_CHECK(hits.size() <= 100);
  for (std::size_t i = 0; i < hits.size(); ++i) {
    FUZZ_CHECK(hits[i].entry < index.Entries().size());
    FUZZ_CHECK(i == 0 || phonefind::Order(hits[i - 1]) <= phonefind::Order(hits[i]));
    const phonefind::Entry& e = index.Entries()[hits[i].entry];
    FUZZ_CHECK(hits[i].reading < static_cast<int>(e.readings));
    FUZZ_CHECK(e.readings <= phonefind::kReadingsPerEntry);
    if (hits[i].reading >= 0)
      FUZZ_CHECK(!index.ReadingShown(e, static_cast<std::size_t>(hits[i].reading)).empty());
  }
  FUZZ_CHECK(phonefind::RomajiSpellings(query).size() <= 16);
  return 0;
}
