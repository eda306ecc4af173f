#include "platform/Sjis.h"
#include "platform/TextChars.h"
#include "testsupport/TestText.h"

#include <gtest/gtest.h>

TEST(Sjis, RoundTripsJapaneseAndAsciiExactly) {
  // あ = 82 A0, half-width ｵ = B5, backslash and tilde stay single ASCII bytes.
  auto enc = sjis::Encode("あｵ\\~A");
  ASSERT_TRUE(enc);
  EXPECT_EQ(*enc, std::string("\x82\xA0\xB5\\~A"));
  auto dec = sjis::Decode(*enc);
  EXPECT_TRUE(dec.complete);
  EXPECT_EQ(dec.text, "あｵ\\~A");
  EXPECT_EQ(sjis::Decode("\x8A\xBF\x8E\x9A").text, "漢字");
}

TEST(Sjis, RefusesWhatCodePage932CannotCarry) {
  EXPECT_FALSE(sjis::Encode("name \xF0\x9F\x98\x80"));  // emoji
  EXPECT_EQ(sjis::FirstUnencodable("ab\xF0\x9F\x98\x80"
                                   "c"),
            "\xF0\x9F\x98\x80");
  EXPECT_EQ(sjis::FirstUnencodable("全部OK"), "");
  EXPECT_FALSE(sjis::Encode("\xFF"));  // not even UTF-8
}

TEST(Sjis, InvalidBytesBecomeReplacementWithoutSwallowingWhatFollows) {
  auto cut = sjis::Decode("A\x82");  // lead byte at the end
  EXPECT_FALSE(cut.complete);
  EXPECT_EQ(cut.text, "A\xEF\xBF\xBD");
  auto badTrail = sjis::Decode("\x82\x20Z");
  EXPECT_FALSE(badTrail.complete);
  EXPECT_EQ(badTrail.text, "\xEF\xBF\xBD Z");
  EXPECT_TRUE(sjis::Decode("").complete);
}

TEST(Sjis, CutNeverSplitsADoubleByteCharacter) {
  std::string three = *sjis::Encode("あいう");  // 6 bytes
  EXPECT_EQ(sjis::CutLength(three, 5), 4u);
  EXPECT_EQ(sjis::CutLength(three, 6), 6u);
  EXPECT_EQ(sjis::CutLength("a" + three, 4), 3u);
  EXPECT_EQ(sjis::CutLength("abc", 127), 3u);
  EXPECT_EQ(sjis::CutLength("\xB5\xB6\xB7", 2), 2u);  // half-width katakana are single bytes
}

TEST(Sjis, LookAlikesAreStoredAsWhatWindowsShows) {
  const std::pair<const char*, const char*> cases[] = {
      {"〜", "\x81\x60"}, {"−", "\x81\x7C"}, {"‖", "\x81\x61"}, {"—", "\x81\x5C"}, {"¢", "\x81\x91"},
      {"£", "\x81\x92"},  {"¬", "\x81\xCA"}, {"¦", "\xFA\x55"}, {"¥", "\x81\x8F"}, {"‾", "\x81\x50"},
  };
  for (auto [text, bytes] : cases) {
    auto enc = sjis::Encode(std::string("a") + text + "b");
    ASSERT_TRUE(enc) << text;
    EXPECT_EQ(*enc, std::string("a") + bytes + "b") << text;
  }
  EXPECT_EQ(sjis::Decode(*sjis::Encode("¥100")).text, "￥100");
  // Tag characters would vanish: refused, and named as the culprit.
  EXPECT_FALSE(sjis::Encode("flag\xF3\xA0\x80\x81"));
  EXPECT_EQ(sjis::FirstUnencodable("ok\xF3\xA0\x80\x81x"), "\xF3\xA0\x80\x81");
}

TEST(Sjis, NoCodePointIsEverStoredAsSomethingElseOrAsNothing) {
  const std::pair<char32_t, char32_t> lookAlikes[] = {
      {0x301C, 0xFF5E}, {0x2212, 0xFF0D}, {0x2016, 0x2225}, {0x2014, 0x2015}, {0x00A2, 0xFFE0},
      {0x00A3, 0xFFE1}, {0x00AC, 0xFFE2}, {0x00A6, 0xFFE4}, {0x00A5, 0xFFE5}, {0x203E, 0xFFE3},
  };
  int carried = 0, wrong = 0;
  for (char32_t cp = 1; cp <= 0x10FFFF; ++cp) {
    if (cp >= 0xD800 && cp <= 0xDFFF) continue;
    const std::string ch = Utf8Of(cp);
    auto enc = sjis::Encode(ch);
    EXPECT_EQ(sjis::FirstUnencodable(ch).empty(), enc.has_value()) << std::hex << static_cast<unsigned>(cp);
    if (!enc) continue;
    ++carried;
    std::string expected = ch;
    for (auto [from, to] : lookAlikes)
      if (cp == from) expected = Utf8Of(to);
    auto back = sjis::Decode(*enc);
    if (enc->empty() || !back.complete || back.text != expected) {
      ADD_FAILURE() << "U+" << std::hex << static_cast<unsigned>(cp) << " comes back different";
      if (++wrong > 20) return;
    }
  }
  // Sanity: the whole of JIS X 0208 plus the extensions is there (about 7,900 characters).
  EXPECT_GT(carried, 7500);
}
