#include "platform/Sjis.h"

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
