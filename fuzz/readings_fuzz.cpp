// Readings of names: any bytes as a readings file (a damaged one is no dictionary, never a crash), and
// any text as a name read with the dictionary the program carries (bounded, no query's characters
// invented).
#include "find/PhoneFind.h"
#include "find/Readings.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const readings::Dictionary carried = readings::Dictionary::FromBytes(fuzz::Get(DN_READINGS_FILE));
  const std::string_view in(reinterpret_cast<const char*>(data), size);
  const std::u16string name = phonefind::Fold(in);
  for (const readings::Reading& r : readings::ReadName(carried, name, 8)) {
    FUZZ_CHECK(!r.kana.empty());
    FUZZ_CHECK(r.starts & 1);
  }
  FUZZ_CHECK(readings::ReadName(carried, name, 8).size() <= 8);
  // The same bytes as a file of their own.
  std::string error;
  const readings::Dictionary d = readings::Dictionary::FromBytes(in, &error);
  FUZZ_CHECK(d.Words() == 0 || error.empty());
  for (const readings::Dictionary::Word& w : d.Prefixes(name))
    FUZZ_CHECK(w.length >= 1 && w.length <= name.size());
  (void)readings::ReadName(d, name, 4);
  return 0;
}
