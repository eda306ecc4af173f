#include "find/PhoneFind.h"

#include <gtest/gtest.h>

#include "platform/TextChars.h"

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

using textchars::Utf8;

// The first reading of a query's letters, as "kana|tail".
std::string First(std::string_view query) {
  const std::vector<Romaji> ways = RomajiSpellings(query);
  return ways.empty() ? "(none)" : Utf8(ways.front().kana) + "|" + ways.front().tail;
}

TEST(PhoneFind, ALongRunOfLettersThatBranchAtEveryOneStillEnds) {
  // Each m is ん or っ before another m: 2^40 ways, almost all of them dead ends (a fuzzer's find).
  const std::vector<Romaji> ways = RomajiSpellings(std::string(40, 'm'));
  EXPECT_LE(ways.size(), 16u);
  EXPECT_EQ(First("homma"), "ほんま|");  // an ordinary name is read as before
}

// Every reading, as "kana|tail" joined by spaces.
std::string All(std::string_view query) {
  std::string out;
  for (const Romaji& r : RomajiSpellings(query)) {
    if (!out.empty()) out += " ";
    out += Utf8(r.kana) + "|" + r.tail;
  }
  return out.empty() ? "(none)" : out;
}

TEST(PhoneFind, RomajiSpellsKanaWithAnUnfinishedTail) {
  const std::pair<const char*, const char*> cases[] = {
      {"aoki", "あおき|"},     {"shimizu", "しみず|"},  {"simizu", "しみず|"},   {"chihiro", "ちひろ|"},
      {"tihiro", "ちひろ|"},   {"tsutsumi", "つつみ|"}, {"tutumi", "つつみ|"},   {"fujita", "ふじた|"},
      {"huzita", "ふじた|"},   {"junko", "じゅんこ|"},  {"zyunko", "じゅんこ|"}, {"jyunnko", "じゅんこ|"},
      {"shan'i", "しゃんい|"}, {"yakko", "やっこ|"},    {"matcha", "まっちゃ|"}, {"ooki", "おおき|"},
      {"ouki", "おうき|"},     {"ta-", "たー|"},        {"TANAKA", "たなか|"},   {"tanak", "たな|k"},
      {"sh", "|sh"},           {"tan", "た|n"},         {"kyo", "きょ|"},        {"ky", "|ky"},
  };
  for (const auto& [in, want] : cases) EXPECT_EQ(First(in), want) << in;
  EXPECT_EQ(All("xq"), "(none)");  // not romaji at all
}

TEST(PhoneFind, RomajiAsJapanesePeopleTypeIt) {
  const std::pair<const char*, const char*> cases[] = {
      // ぢ and づ: Hepburn and kunrei write them as じ and ず, nihon-shiki as di/du, some as dji/dzu.
      {"iizuka", "いいずか|"},
      {"chidzuru", "ちづる|"},
      {"djin", "ぢ|n"},
      {"du", "づ| どぅ|"},
      {"di", "ぢ| でぃ|"},
      // ん as n, nn, n' and Hepburn's m before m, b and p; "nn" before a vowel read both ways.
      {"kanna", "かんな| かんあ|"},
      {"shinnosuke", "しんのすけ| しんおすけ|"},
      {"shin'ya", "しんや|"},
      {"homma", "ほんま| ほっま|"},
      {"shimpei", "しんぺい|"},
      {"namba", "なんば|"},
      // The passport's bare n before a vowel.
      {"shinichi", "しにち| しんいち|"},
      {"junya", "じゅにゃ| じゅんや|"},
      // A word ending in n followed by another: ん, never a void query.
      {"shinden maaya", "しんでんまあや|"},
      {"ken ichi", "けんいち|"},
      // Macrons and circumflexes, either case.
      {"Itō", "いとう| いとお|"},
      {"ITŌ", "いとう| いとお|"},
      {"Yūko", "ゆうこ|"},
      {"Kôno", "こうの| こうんお| こおの| こおんお|"},
      {"Ōno", "おうの| おうんお| おおの| おおんお|"},
      // The passport's "oh".
      {"ohno", "おうの| おうんお| おおの| おおんお|"},
      {"ohta", "おうた| おおた|"},
      // Loan sounds.
      {"vaiorin", "ゔぁいおり|n"},  // typing on: ん or な...
      {"thi", "てぃ|"},
      {"dhi", "でぃ|"},
      {"fa", "ふぁ|"},
      {"wi", "うぃ|"},
      {"we", "うぇ|"},
      {"wo", "を| うぉ|"},
      {"kwa", "くぁ|"},
  };
  for (const auto& [in, want] : cases) EXPECT_EQ(All(in), want) << in;
  // Text after an unfinished spelling is no romaji, except the n above.
  EXPECT_EQ(All("tak ichi"), "(none)");
  EXPECT_EQ(All("たなかichi"), "たなかいち|");
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
  // A word's start ranks with the line's start: "ABC たなか" before "あたなか".
  EXPECT_EQ(Lines(index, "タ"), (std::vector<std::string>{"1:た:たなか商店", "1:た:ABC たなか", "1:た:たなか",
                                                          "2:あ:あたなか", "1:た:田中", "2:た:高橋"}));
  // A limit keeps the best.
  EXPECT_EQ(index.Find("たなか", 2).size(), 2u);
  // Latin text that is no romaji lists no section.
  EXPECT_TRUE(Lines(index, "xq").empty());
  EXPECT_EQ(Lines(index, "abc"), (std::vector<std::string>{"1:た:ABC たなか"}));
}

TEST(PhoneFind, TheWholeNameIsExactAndAWordStartBeatsTheMiddle) {
  Index index;
  Book g1;
  g1[16] = {"田中 一郎太\t03-1111-0000", "田中 一郎\t03-1111-2222", "中田中 一郎",
            "田中一郎 (自宅) 03-5555-0000"};
  g1[2] = {"井上 一郎"};
  index.AddGroup(1, std::move(g1));
  // The name before the number is all of it: exact, with or without the space, the number left aside.
  const std::vector<Hit> hits = index.Find("田中一郎");
  ASSERT_EQ(hits.size(), 4u);
  EXPECT_EQ(index.Entries()[hits[0].entry].line, "田中 一郎\t03-1111-2222");
  EXPECT_EQ(hits[0].rank, Rank::Exact);
  EXPECT_EQ(Lines(index, "田中 一郎"), Lines(index, "田中一郎"));
  EXPECT_EQ(hits[1].rank, Rank::Start);
  EXPECT_EQ(hits[3].rank, Rank::Anywhere);  // inside the word 中田中
  // The given name is a word's start, as the line's start is ("井上 一郎" is filed first).
  EXPECT_EQ(Lines(index, "一郎"),
            (std::vector<std::string>{"1:い:井上 一郎", "1:た:田中 一郎太\t03-1111-0000",
                                      "1:た:田中 一郎\t03-1111-2222", "1:た:中田中 一郎",
                                      "1:た:田中一郎 (自宅) 03-5555-0000"}));
  EXPECT_EQ(index.Find("一郎")[3].rank, Rank::Start);
  EXPECT_EQ(index.Find("一郎")[4].rank, Rank::Anywhere);
}

// The lines matched by the query itself, the letter's section left out.
std::vector<std::string> Matched(const Index& index, std::string_view query) {
  std::vector<std::string> out;
  for (const Hit& h : index.Find(query))
    if (h.rank != Rank::Section) out.push_back(index.Entries()[h.entry].line);
  return out;
}

TEST(PhoneFind, PassportSpellingsFindLongVowelsBelowTheExactSpelling) {
  Index index;
  Book g1;
  g1[2] = {"いとう しんたろう", "イトウ", "いと"};
  g1[36] = {"ゆうこ", "ゆこ"};
  g1[5] = {"おおた", "オオノ タロウ"};
  index.AddGroup(1, std::move(g1));
  EXPECT_EQ(Matched(index, "ito shintaro"), (std::vector<std::string>{"いとう しんたろう"}));
  EXPECT_TRUE(index.Find("ito shintaro").front().loose);
  EXPECT_EQ(index.Find("ito shintaro").front().rank, Rank::Exact);
  // "yuko" is ゆこ spelled exactly, ゆうこ with its long vowel left out.
  EXPECT_EQ(Matched(index, "yuko"), (std::vector<std::string>{"ゆこ", "ゆうこ"}));
  EXPECT_EQ(Lines(index, "ota").front(), "1:お:おおた");
  EXPECT_EQ(Matched(index, "ohno taro"), (std::vector<std::string>{"オオノ タロウ"}));
  EXPECT_EQ(Matched(index, "Ōno Tarō"), (std::vector<std::string>{"オオノ タロウ"}));
  EXPECT_FALSE(index.Find("Ōno Tarō").front().loose);  // a macron spells the long vowel
  // "itō" spells いとう exactly and いと loosely: a whole name loosely ranks above a name's start.
  EXPECT_EQ(Matched(index, "itō"), (std::vector<std::string>{"イトウ", "いと", "いとう しんたろう"}));
  EXPECT_TRUE(index.Find("itō")[1].loose);
  EXPECT_EQ(index.Find("itō")[1].rank, Rank::Exact);
}

TEST(PhoneFind, EveryRomajiStyleFindsTheKanaEntry) {
  Index index;
  Book g1;
  g1[2] = {"イイヅカ ハナ", "いのうえ"};
  g1[6] = {"カンナ", "かんあ", "ホンマ"};
  g1[11] = {"シンノスケ", "シンデン マアヤ"};
  g1[17] = {"チヂワ"};
  g1[39] = {"ヴァイオリン教室", "ディーン"};
  index.AddGroup(1, std::move(g1));
  auto first = [&](std::string_view q) {
    const std::vector<std::string> l = Lines(index, q);
    return l.empty() ? std::string("(none)") : l.front();
  };
  for (const char* q : {"iizuka", "iiduka", "iidzuka", "iizuka hana", "Iizuka Hana"})
    EXPECT_EQ(first(q), "1:い:イイヅカ ハナ") << q;
  for (const char* q : {"chijiwa", "tiziwa", "tidiwa", "chidjiwa"}) EXPECT_EQ(first(q), "1:ち:チヂワ") << q;
  EXPECT_EQ(first("kanna"), "1:か:カンナ");
  EXPECT_EQ(first("kan'a"), "1:か:かんあ");
  EXPECT_EQ(first("homma"), "1:か:ホンマ");
  EXPECT_EQ(first("shinnosuke"), "1:さ:シンノスケ");
  EXPECT_EQ(first("shinden maaya"), "1:さ:シンデン マアヤ");
  EXPECT_EQ(first("shinden"), "1:さ:シンデン マアヤ");
  EXPECT_EQ(first("vaiorin"), "1:ら:ヴァイオリン教室");
  EXPECT_EQ(first("di-n"), "1:ら:ディーン");
  EXPECT_EQ(first("dhi-n"), "1:ら:ディーン");
  EXPECT_EQ(first("dean"), "(none)");  // "ea" is no romaji and no text of these lines
}

TEST(PhoneFind, OneNameInSeveralSpellingsDoesNotCrowdOutTheOthers) {
  Index index;
  Book g1;
  g1[16] = {"たなか いちろう 03-1111-0000", "タナカ イチロウ 03-1111-0000", "ﾀﾅｶ ｲﾁﾛｳ 03-1111-0000",
            "たなか はなこ"};
  Book g2;
  g2[16] = {"タナカ ジロウ"};
  index.AddGroup(1, std::move(g1));
  index.AddGroup(2, std::move(g2));
  EXPECT_EQ(Matched(index, "tanaka"),
            (std::vector<std::string>{"たなか いちろう 03-1111-0000", "たなか はなこ", "タナカ ジロウ",
                                      "タナカ イチロウ 03-1111-0000", "ﾀﾅｶ ｲﾁﾛｳ 03-1111-0000"}));
  // The letter's section keeps its file order.
  EXPECT_EQ(index.Find("た", 3).size(), 3u);
}

#ifdef DN_READINGS_FILE
const readings::Dictionary& Carried() {
  static const readings::Dictionary d = readings::Dictionary::FromFile(DN_READINGS_FILE);
  return d;
}

TEST(PhoneFind, KanjiNamesAreFoundByTheirReadings) {
  Index index(&Carried());
  Book g1;
  g1[16] = {"田中 一郎\t03-1111-2222", "ﾀﾅｶ ｲﾁﾛｳ\t03-1111-2222", "高田中学校"};
  g1[21] = {"中島みゆき\t090-0000-1111"};
  g1[36] = {"山田商事\t06-6000-0001"};
  g1[1] = {"\u9FA0\u9FA0 045-000-0000"};  // a name the dictionary cannot read
  index.AddGroup(1, std::move(g1));
  auto reading = [&](const Hit& h) {
    return h.reading < 0 ? std::u16string()
                         : index.ReadingShown(index.Entries()[h.entry], static_cast<std::size_t>(h.reading));
  };
  // Direct text hits come first; the kanji entry follows through its reading, and shows which.
  std::vector<Hit> hits = index.Find("tanaka");
  ASSERT_GE(hits.size(), 2u);
  EXPECT_EQ(index.Entries()[hits[0].entry].line, "ﾀﾅｶ ｲﾁﾛｳ\t03-1111-2222");
  EXPECT_EQ(hits[0].reading, -1);
  EXPECT_EQ(index.Entries()[hits[1].entry].line, "田中 一郎\t03-1111-2222");
  EXPECT_EQ(hits[1].rank, Rank::Start);
  EXPECT_EQ(reading(hits[1]), u"たなか いちろう");
  // Kana, romaji with and without the space, the given name alone, the passport spelling.
  for (const char* q :
       {"たなか", "タナカイチロウ", "tanaka ichirou", "tanakaichiro", "ichiro", "Tanaka Ichirō"}) {
    hits = index.Find(q);
    const bool found = std::any_of(hits.begin(), hits.end(), [&](const Hit& h) {
      return index.Entries()[h.entry].line == "田中 一郎\t03-1111-2222" && h.reading >= 0;
    });
    EXPECT_TRUE(found) << q;
  }
  EXPECT_EQ(index.Find("tanaka ichirou")[1].rank, Rank::Exact);
  // Each of a name's readings finds it, and the hit says which.
  hits = index.Find("nakashima");
  ASSERT_EQ(hits.size(), 1u);
  EXPECT_EQ(reading(hits[0]), u"なかしま みゆき");
  hits = index.Find("なかじま");
  ASSERT_FALSE(hits.empty());
  EXPECT_EQ(reading(hits[0]), u"なかじま みゆき");
  // A company name, read word by word.
  hits = index.Find("shoji");
  ASSERT_FALSE(hits.empty());
  EXPECT_EQ(index.Entries()[hits[0].entry].line, "山田商事\t06-6000-0001");
  EXPECT_TRUE(hits[0].loose);
  // A reading never ranks above a text hit, and the section still lists what was not read.
  hits = index.Find("た");
  EXPECT_EQ(index.Entries()[hits[0].entry].line, "ﾀﾅｶ ｲﾁﾛｳ\t03-1111-2222");
  EXPECT_EQ(Lines(index, "045"), (std::vector<std::string>{"1:あ:\u9FA0\u9FA0 045-000-0000"}));
  EXPECT_EQ(Lines(index, "あ"), (std::vector<std::string>{"1:あ:\u9FA0\u9FA0 045-000-0000"}));
}
#endif

}  // namespace
}  // namespace phonefind
