// The codec's generated tables against glibc's iconv, which they were made from: every pair of bytes,
// every character, and long random runs.
#include <gtest/gtest.h>

#include <cstdint>

#include "platform/Sjis.h"
#include "platform/SjisIconv.h"
#include "platform/TextChars.h"
#include "testsupport/TestText.h"

namespace {
// UTF-16 decoding with its completeness flag, as "c" or "i" after the units.
std::u16string Utf16Of(std::string_view bytes) {
  std::u16string out(bytes.size(), u'\0');
  bool complete = true;
  out.resize(sjis::DecodeUtf16(bytes, out.data(), complete));
  return out + (complete ? u"c" : u"i");
}
std::u16string Expected16(const sjis::Decoded& d) {
  return textchars::Utf16(d.text) + (d.complete ? u"c" : u"i");
}
}  // namespace

// Decoding by table gives exactly what iconv gives (also as UTF-16), bad bytes included: every pair of bytes,
// and long random runs (where a bad byte in the middle must not shift what follows).
TEST(SjisTables, DecodingIsIconvDecoding) {
  std::string all;
  for (unsigned a = 0; a < 256; ++a)
    for (unsigned b = 0; b < 256; ++b) {
      const char pair[2] = {static_cast<char>(a), static_cast<char>(b)};
      const sjis::Decoded ours = sjis::Decode(std::string_view(pair, 2));
      const sjis::Decoded ref = sjis::DecodeWithIconv(std::string_view(pair, 2));
      ASSERT_EQ(ours.text, ref.text) << std::hex << a << " " << b;
      ASSERT_EQ(ours.complete, ref.complete) << std::hex << a << " " << b;
      ASSERT_EQ(Utf16Of(std::string_view(pair, 2)), Expected16(ref)) << std::hex << a << " " << b;
    }
  std::uint32_t seed = 12345;
  for (int run = 0; run < 200; ++run) {
    std::string bytes;
    for (int i = 0; i < 500; ++i) {
      seed = seed * 1103515245u + 12345u;
      bytes.push_back(static_cast<char>(seed >> 16));
    }
    const sjis::Decoded ours = sjis::Decode(bytes), ref = sjis::DecodeWithIconv(bytes);
    ASSERT_EQ(ours.text, ref.text) << run;
    ASSERT_EQ(ours.complete, ref.complete) << run;
    ASSERT_EQ(Utf16Of(bytes), Expected16(ref)) << run;
  }
  EXPECT_EQ(sjis::Decode("\x93\x63\x92\x86").text, "田中");
  EXPECT_EQ(sjis::Decode("\x93").text, "\xEF\xBF\xBD");  // a lead byte at the end
}

// Every character of the basic plane is written as iconv writes it, or refused where iconv's bytes would
// not read back as the character (the look-alikes aside, which the codec maps first).
TEST(SjisTables, EncodingIsIconvEncoding) {
  const char32_t lookAlikes[] = {0x301C, 0x2212, 0x2016, 0x2014, 0x00A2,
                                 0x00A3, 0x00AC, 0x00A6, 0x00A5, 0x203E};
  int same = 0;
  for (char32_t cp = 0; cp < 0x10000; ++cp) {
    if (cp >= 0xD800 && cp <= 0xDFFF) continue;
    if (std::find(std::begin(lookAlikes), std::end(lookAlikes), cp) != std::end(lookAlikes)) continue;
    const std::string ch = Utf8Of(cp);
    const auto ours = sjis::Encode(ch);
    const auto ref = sjis::EncodeWithIconv(ch);
    ASSERT_EQ(ours, ref) << "U+" << std::hex << static_cast<unsigned>(cp);
    if (ours) ++same;
  }
  EXPECT_GT(same, 9000);  // ASCII, half-width kana, JIS X 0208, NEC and IBM rows, the user area
}
