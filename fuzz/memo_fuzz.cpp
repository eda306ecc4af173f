// Memo records: any file opens; records are always 1000 well-formed bytes; writes keep the other pages;
// the search agrees with a naive one.
#include "fuzz/FuzzSupport.h"
#include "organizer/MemoBook.h"
#include "platform/Sjis.h"

namespace {
int NaiveFind(const memo::MemoBook& b, std::string_view needle, int from) {
  const auto enc = sjis::Encode(needle);
  if (!enc || enc->empty()) return 0;
  // A page may spell a character with another of its codes (¬ as 81 CA or as IBM's FA 54): any
  // spelling counts, found character by character.
  const std::vector<std::string> spellings = sjis::Spellings(*enc);
  for (int p = from; p <= b.Count(); ++p) {
    const std::string_view r = b.Record(p);
    for (std::size_t i = 0; i < r.size(); i += sjis::IsLeadByte(static_cast<unsigned char>(r[i])) ? 2 : 1)
      for (const std::string& s : spellings)
        if (r.substr(i, s.size()) == s) return p;
  }
  return 0;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  const std::size_t textSize = data[0] % 64;
  if (size < 3 + textSize) return 0;
  const std::string text(reinterpret_cast<const char*>(data + 3), textSize);
  const std::string_view file(reinterpret_cast<const char*>(data + 3 + textSize), size - 3 - textSize);
  const std::string path = fuzz::Scratch() + "freememo.dat";
  fuzz::Put(path, file);
  memo::MemoBook b;
  FUZZ_CHECK(b.Open(path));
  FUZZ_CHECK(b.Count() == static_cast<int>(file.size() / 1000));
  FUZZ_CHECK(b.Find(text, 1) == NaiveFind(b, text, 1));

  // The text repeated to any length makes a record of exactly 1000 bytes, never half a character.
  std::string page;
  for (int i = 0; i < data[1] * 4 && !text.empty(); ++i) page += text;
  if (auto record = memo::MakeRecord(page)) {
    FUZZ_CHECK(record->size() == 1000);
    FUZZ_CHECK(sjis::IsWellFormed(*record) || !sjis::IsWellFormed(*sjis::Encode(page)));
    const int target = 1 + data[2] % (b.Count() + 1);
    const std::string old = std::string(file.substr(0, static_cast<std::size_t>(b.Count()) * 1000));
    FUZZ_CHECK(b.WriteRecord(target, *record));
    const std::string now = fuzz::Get(path);
    FUZZ_CHECK(now.size() == static_cast<std::size_t>(b.Count()) * 1000);
    FUZZ_CHECK(now.substr(static_cast<std::size_t>(target - 1) * 1000, 1000) == *record);
    for (int p = 1; p <= b.Count(); ++p)
      if (p != target && p <= static_cast<int>(old.size() / 1000))
        FUZZ_CHECK(now.substr(static_cast<std::size_t>(p - 1) * 1000, 1000) ==
                   old.substr(static_cast<std::size_t>(p - 1) * 1000, 1000));
    const int count = b.Count();
    FUZZ_CHECK(b.DeleteRecord(target));
    FUZZ_CHECK(b.Count() == count - 1);
    FUZZ_CHECK(fuzz::Get(path) ==
               old.substr(0, static_cast<std::size_t>(target - 1) * 1000) +
                   old.substr(std::min(old.size(), static_cast<std::size_t>(target) * 1000)));
  }
  return 0;
}
