// Postal list conversion: any line either gives a data line of the designed shape or is skipped.
#include "fuzz/FuzzSupport.h"
#include "platform/Sjis.h"
#include "platform/TextFile.h"
#include "postal/PostalData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view in(reinterpret_cast<const char*>(data), size);
  std::size_t expected = 0;
  for (const std::string& line : textfile::SplitLines(in)) {
    auto out = postal::ConvertLine(line);
    if (!out) continue;
    ++expected;
    FUZZ_CHECK(out->size() >= 9);
    for (int i = 0; i < 7; ++i) FUZZ_CHECK((*out)[i] >= '0' && (*out)[i] <= '9');
    FUZZ_CHECK(out->substr(7, 2) == "  ");
    FUZZ_CHECK(sjis::IsWellFormed(*out));
    FUZZ_CHECK(out->find_first_of("\r\n\",") == std::string::npos);
  }
  const std::string& dir = fuzz::Scratch();
  fuzz::Put(dir + "Ken_all.csv", in);
  std::filesystem::remove(dir + "Ken_all.dat");
  const bool ok = postal::ConvertFile(dir + "Ken_all.csv", dir + "Ken_all.dat");
  if (!postal::IsUtf8List(in)) {
    FUZZ_CHECK(ok == (expected > 0));
    if (ok) FUZZ_CHECK(textfile::SplitLines(fuzz::Get(dir + "Ken_all.dat")).size() == expected);
  }
  if (!ok) FUZZ_CHECK(!std::filesystem::exists(dir + "Ken_all.dat"));
  return 0;
}
