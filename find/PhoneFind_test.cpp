#include "find/PhoneFind.h"

#include <gtest/gtest.h>

namespace phonefind {
namespace {

using Book = std::array<std::vector<std::string>, kana::kLetterCount + 1>;

// Lines of the hits, best first, as "group:letter:line".
std::vector<std::string> Lines(const Index& index, std::string_view query) {
  std::vector<std::string> out;
  for (const Hit& h : index.Find(query)) {
    const Entry& e = index.Entries()[h.entry];
    out.push_back(std::to_string(e.group) + ":" + std::string(kana::Letter(e.letter)) + ":" + e.line);
  }
  return out;
}

Index Sample() {
  Index index;
  Book g1;
  g1[16] = {"田中 一郎\t03-1234-5678", "高橋 花子\t090-1111-2222"};  // た
  g1[13] = {"ｽｽﾞｷ ｼﾞﾛｳ\t045-987-6543"};                              // す
  g1[1] = {"ＡＢＣ商事\t06-6000-0001", "青木 あおき"};               // あ
  Book g2;
  g2[16] = {"たなか歯科\t(03)1234-0000"};
  g2[11] = {"シミズ 清水"};  // さ
  g2[17] = {"チヒロ"};       // ち
  g2[18] = {"ツツミ"};       // つ
  g2[28] = {"フジタ"};       // ふ
  g2[12] = {"じゅんこ"};     // し
  g2[36] = {"ヤッコ"};       // や
  g2[21] = {"ほんだ"};       // な (filed oddly on purpose: text decides, not the letter)
  index.AddGroup(1, std::move(g1));
  index.AddGroup(2, std::move(g2));
  return index;
}

TEST(PhoneFind, FoldsKanaWidthAndCase) {
  EXPECT_EQ(Fold("ｽｽﾞｷ"), u"すずき");
  EXPECT_EQ(Fold("スズキ"), u"すずき");
  EXPECT_EQ(Fold("ﾊﾟﾋﾟﾌﾟ ｳﾞ"), u"ぱぴぷ ゔ");
  EXPECT_EQ(Fold("ＡＢＣ１２３　ｘ"), u"abc123 x");
  EXPECT_EQ(Fold("ｶ\xef\xbe\x9e"), u"が");   // ｶﾞ
  EXPECT_EQ(Fold("か\xe3\x82\x99"), u"が");  // combining mark
  EXPECT_EQ(Fold("ﾞ"), u"ﾞ");                // a lone mark stays
  EXPECT_EQ(Fold("\xff\xfe a"), u" a");      // invalid bytes dropped
}

TEST(PhoneFind, RomajiSpellsKanaWithAnUnfinishedTail) {
  struct Case {
    const char* in;
    std::u16string kana;
    std::string tail;
  } cases[] = {
      {"aoki", u"あおき", ""},     {"shimizu", u"しみず", ""},  {"simizu", u"しみず", ""},
      {"chihiro", u"ちひろ", ""},  {"tihiro", u"ちひろ", ""},   {"tsutsumi", u"つつみ", ""},
      {"tutumi", u"つつみ", ""},   {"fujita", u"ふじた", ""},   {"huzita", u"ふじた", ""},
      {"junko", u"じゅんこ", ""},  {"zyunko", u"じゅんこ", ""}, {"jyunnko", u"じゅんこ", ""},
      {"shan'i", u"しゃんい", ""}, {"yakko", u"やっこ", ""},    {"matcha", u"まっちゃ", ""},
      {"ooki", u"おおき", ""},     {"ouki", u"おうき", ""},     {"ta-", u"たー", ""},
      {"TANAKA", u"たなか", ""},   {"tanak", u"たな", "k"},     {"sh", u"", "sh"},
      {"tan", u"た", "n"},         {"kyo", u"きょ", ""},        {"ky", u"", "ky"},
  };
  for (const Case& c : cases) {
    const Romaji r = RomajiToKana(c.in);
    EXPECT_EQ(r.kana, c.kana) << c.in;
    EXPECT_EQ(r.tail, c.tail) << c.in;
  }
  EXPECT_EQ(RomajiToKana("xq").kana, u"");  // not romaji at all
  EXPECT_EQ(RomajiToKana("xq").tail, "");
}

TEST(PhoneFind, LettersOfKana) {
  EXPECT_EQ(LetterOfKana(u'た'), 16);
  EXPECT_EQ(LetterOfKana(u'だ'), 16);
  EXPECT_EQ(LetterOfKana(u'ぱ'), 26);
  EXPECT_EQ(LetterOfKana(u'ば'), 26);
  EXPECT_EQ(LetterOfKana(u'ゃ'), 36);
  EXPECT_EQ(LetterOfKana(u'っ'), 18);
  EXPECT_EQ(LetterOfKana(u'ゔ'), 3);
  EXPECT_EQ(LetterOfKana(u'を'), 44);
  EXPECT_EQ(LetterOfKana(u'ん'), 0);
  EXPECT_EQ(LetterOfKana(u'a'), 0);
}

TEST(PhoneFind, TextMatchesAcrossKanaAndWidths) {
  const Index index = Sample();
  EXPECT_EQ(Lines(index, "すずき"), (std::vector<std::string>{"1:す:ｽｽﾞｷ ｼﾞﾛｳ\t045-987-6543"}));
  EXPECT_EQ(Lines(index, "ｽｽﾞｷ"), Lines(index, "スズキ"));
  EXPECT_EQ(Lines(index, "abc"), (std::vector<std::string>{"1:あ:ＡＢＣ商事\t06-6000-0001"}));
  EXPECT_EQ(Lines(index, "ＡＢＣ"), Lines(index, "abc"));
  EXPECT_EQ(Lines(index, "清水"), (std::vector<std::string>{"2:さ:シミズ 清水"}));
  EXPECT_TRUE(Lines(index, "").empty());
  EXPECT_TRUE(Lines(index, "   ").empty());
  EXPECT_TRUE(Lines(index, "😀").empty());  // what code page 932 cannot hold finds nothing
}

TEST(PhoneFind, RomajiFindsKanaEntries) {
  const Index index = Sample();
  EXPECT_EQ(Lines(index, "suzuki").front(), "1:す:ｽｽﾞｷ ｼﾞﾛｳ\t045-987-6543");
  EXPECT_EQ(Lines(index, "shimizu").front(), "2:さ:シミズ 清水");
  EXPECT_EQ(Lines(index, "simizu").front(), "2:さ:シミズ 清水");
  EXPECT_EQ(Lines(index, "tihiro").front(), "2:ち:チヒロ");
  EXPECT_EQ(Lines(index, "tsutsumi").front(), "2:つ:ツツミ");
  EXPECT_EQ(Lines(index, "huzita").front(), "2:ふ:フジタ");
  EXPECT_EQ(Lines(index, "zyunko").front(), "2:し:じゅんこ");
  EXPECT_EQ(Lines(index, "yakko").front(), "2:や:ヤッコ");
  EXPECT_EQ(Lines(index, "honda").front(), "2:な:ほんだ");
  // Typing on: "shimi" before the "z" is done, and "sh" alone.
  EXPECT_EQ(Lines(index, "shimiz").front(), "2:さ:シミズ 清水");
  EXPECT_EQ(Lines(index, "sh").front(), "2:さ:シミズ 清水");
  EXPECT_EQ(Lines(index, "jun").front(), "2:し:じゅんこ");
}

TEST(PhoneFind, DigitsIgnoreSeparators) {
  const Index index = Sample();
  const std::vector<std::string> tanaka{"1:た:田中 一郎\t03-1234-5678"};
  EXPECT_EQ(Lines(index, "0312345678"), tanaka);
  EXPECT_EQ(Lines(index, "1234 5678"), tanaka);
  EXPECT_EQ(Lines(index, "０３－１２３４－５６７８"), tanaka);
  // "03-1234" is in both; the plain text match ranks first, ties in group order.
  EXPECT_EQ(Lines(index, "03-1234"),
            (std::vector<std::string>{"1:た:田中 一郎\t03-1234-5678", "2:た:たなか歯科\t(03)1234-0000"}));
}

TEST(PhoneFind, RanksExactThenStartThenAnywhereThenSection) {
  Index index;
  Book g1;
  g1[16] = {"田中", "たなか商店", "ABC たなか", "たなか"};
  Book g2;
  g2[16] = {"高橋"};
  g2[1] = {"あたなか"};
  index.AddGroup(1, std::move(g1));
  index.AddGroup(2, std::move(g2));
  EXPECT_EQ(Lines(index, "たなか"),
            (std::vector<std::string>{"1:た:たなか", "1:た:たなか商店", "1:た:ABC たなか", "2:あ:あたなか",
                                      "1:た:田中", "2:た:高橋"}));
  // The same through romaji, and the letter alone lists its section in file order.
  EXPECT_EQ(Lines(index, "tanaka"), Lines(index, "たなか"));
  EXPECT_EQ(Lines(index, "タ"), (std::vector<std::string>{"1:た:たなか商店", "1:た:たなか", "1:た:ABC たなか",
                                                          "2:あ:あたなか", "1:た:田中", "2:た:高橋"}));
  // A limit keeps the best.
  EXPECT_EQ(index.Find("たなか", 2).size(), 2u);
  // Latin text that is no romaji lists no section.
  EXPECT_TRUE(Lines(index, "xq").empty());
  EXPECT_EQ(Lines(index, "abc"), (std::vector<std::string>{"1:た:ABC たなか"}));
}

}  // namespace
}  // namespace phonefind
