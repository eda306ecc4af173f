// Code page 932 codec: decoding never fails, encoding never changes a character without saying so.
#include "fuzz/FuzzSupport.h"
#include "platform/Sjis.h"
#include "platform/SjisIconv.h"
#include "platform/TextChars.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view in(reinterpret_cast<const char*>(data), size);
  // As file bytes.
  sjis::Decoded d = sjis::Decode(in);
  FUZZ_CHECK(textchars::IsValidUtf8(d.text));
  FUZZ_CHECK(d.complete || d.text.find("\xEF\xBF\xBD") != std::string::npos);
  // The generated tables decode as iconv does, byte for byte.
  const sjis::Decoded ref = sjis::DecodeWithIconv(in);
  FUZZ_CHECK(d.text == ref.text && d.complete == ref.complete);
  // And its UTF-16 decoding the same characters.
  std::u16string units(size, u'\0');
  bool complete = true;
  units.resize(sjis::DecodeUtf16(in, units.data(), complete));
  FUZZ_CHECK(units == textchars::Utf16(d.text) && complete == d.complete);
  const std::size_t cut = sjis::CutLength(in, size / 2);
  FUZZ_CHECK(cut <= size / 2);
  // As typed text.
  auto enc = sjis::Encode(in);
  FUZZ_CHECK(enc.has_value() == sjis::FirstUnencodable(in).empty());
  if (enc) {
    FUZZ_CHECK(textchars::IsValidUtf8(in));
    sjis::Decoded back = sjis::Decode(*enc);
    FUZZ_CHECK(back.complete);
    FUZZ_CHECK(sjis::IsWellFormed(*enc) || enc->find_first_of("\x80\xA0\xFD\xFE\xFF") != std::string::npos);
    // What came back encodes to the same bytes: nothing drifts on the next save.
    auto again = sjis::Encode(back.text);
    FUZZ_CHECK(again && *again == *enc);
    FUZZ_CHECK(textchars::CharCount(back.text) == textchars::CharCount(in));
  }
  return 0;
}
