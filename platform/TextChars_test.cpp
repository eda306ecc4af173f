#include "platform/TextChars.h"

#include <gtest/gtest.h>

#include "platform/Twips.h"

using namespace textchars;

TEST(TextChars, CountsAndCutsByCharacter) {
  EXPECT_EQ(CharCount("あいうabc"), 6u);
  EXPECT_EQ(Mid("0600000  北海道札幌市", 10), "北海道札幌市");
  EXPECT_EQ(Mid("あいうえお", 2, 2), "いう");
  EXPECT_EQ(Mid("あい", 5, 2), "");
  EXPECT_EQ(Left("あいう", 7), "あいう");
  EXPECT_EQ(Trim("  a b  "), "a b");
  EXPECT_EQ(Trim("   "), "");
}

TEST(TextChars, Utf8IsTheInverseOfUtf16) {
  for (const char* text : {"", "abc", "é", "田中 一郎", "ｽｽﾞｷ", "\xef\xbf\xbd"})
    EXPECT_EQ(textchars::Utf8(textchars::Utf16(text)), text) << text;
  EXPECT_EQ(textchars::Utf8(u"\u007f\u0080\u07ff\u0800\uffff"),
            "\x7f\xc2\x80\xdf\xbf\xe0\xa0\x80\xef\xbf\xbf");
}

TEST(TextChars, ReadsNumbersAndSwitchesLeniently) {
  EXPECT_EQ(LeadingNumber("09"), 9);
  EXPECT_EQ(LeadingNumber("1x"), 1);
  EXPECT_EQ(LeadingNumber("ab"), 0);
  EXPECT_EQ(LeadingNumber(" -3"), -3);
  for (const char* t : {"True", "true", " TRUE ", "-1", "1", "2.5"}) EXPECT_TRUE(TextIsTrue(t)) << t;
  for (const char* f : {"False", "0", "yes", "", "Truee", "999x"}) EXPECT_FALSE(TextIsTrue(f)) << f;
}

TEST(Twips, RoundsHalfToEven) {
  EXPECT_EQ(twips::RoundHalfEven(2.5), 2);
  EXPECT_EQ(twips::RoundHalfEven(3.5), 4);
  EXPECT_EQ(twips::RoundHalfEven(-2.5), -2);
  EXPECT_EQ(twips::RoundHalfEven(-3.5), -4);
  EXPECT_EQ(twips::RoundHalfEven(1.4999), 1);
  EXPECT_EQ(twips::ToPixels(5595, 15.0), 373);
  EXPECT_DOUBLE_EQ(twips::PerPixel(96), 15.0);
}
