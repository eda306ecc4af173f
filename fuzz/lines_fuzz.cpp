// Line splitting and joining: CR LF, CR and LF in, CR LF out, nothing lost.
#include "fuzz/FuzzSupport.h"
#include "platform/TextFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view in(reinterpret_cast<const char*>(data), size);
  const auto lines = textfile::SplitLines(in);
  std::size_t bytes = 0;
  for (const auto& l : lines) {
    FUZZ_CHECK(l.find_first_of("\r\n") == std::string::npos);
    bytes += l.size();
  }
  std::size_t breaks = 0;
  for (char c : in) breaks += (c != '\r' && c != '\n');
  FUZZ_CHECK(bytes == breaks);
  const std::string joined = textfile::JoinCrLf(lines);
  FUZZ_CHECK(textfile::SplitLines(joined) == lines);
  const std::string crlf = textfile::CrLfLineBreaks(in);
  FUZZ_CHECK(textfile::SplitLines(crlf) == lines);
  FUZZ_CHECK(textfile::CrLfLineBreaks(crlf) == crlf);
  return 0;
}
