// Postal search against a naive reference: every line holding the text at a character boundary.
#include "fuzz/FuzzSupport.h"
#include "platform/Sjis.h"
#include "platform/TextFile.h"
#include "postal/PostalData.h"

namespace {
bool NaiveMatch(std::string_view line, std::string_view needle) {
  if (needle.empty()) return true;
  for (std::size_t i = 0; i < line.size(); i += sjis::IsLeadByte(static_cast<unsigned char>(line[i])) ? 2 : 1)
    if (line.substr(i, needle.size()) == needle) return true;
  return false;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const std::size_t needleSize = data[0] % 8;
  const std::size_t budget = 1 + data[1] % 64;
  if (size < 2 + needleSize) return 0;
  const std::string needle(reinterpret_cast<const char*>(data + 2), needleSize);
  const std::string_view hay(reinterpret_cast<const char*>(data + 2 + needleSize), size - 2 - needleSize);
  if (needle.find_first_of("\r\n") != std::string::npos) return 0;  // typed text has no line break

  std::vector<std::string> expected;
  for (const std::string& line : textfile::SplitLines(hay))
    if (NaiveMatch(line, needle)) expected.push_back(line);

  postal::Search s(hay, needle);
  std::vector<postal::LineRef> found;
  std::size_t last = 0;
  while (s.Step(budget, found)) {
    FUZZ_CHECK(s.Position() > last);
    last = s.Position();
  }
  FUZZ_CHECK(s.AtEnd());
  std::vector<std::string> got;
  for (auto r : found) got.emplace_back(hay.substr(r.offset, r.length));
  FUZZ_CHECK(got == expected);
  return 0;
}
