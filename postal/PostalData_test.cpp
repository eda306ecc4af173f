#include "postal/PostalData.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Sjis.h"
#include "testsupport/TempDir.h"
#include "testsupport/TestText.h"

using namespace postal;

namespace {
// A source line of the published layout.
std::string Source(const std::string& code, const std::string& pref, const std::string& city,
                   const std::string& town, const std::string& kana = "ﾎｯｶｲﾄﾞｳ") {
  return Sj("01101,\"060  \",\"" + code + "\",\"" + kana + "\",\"ｻｯﾎﾟﾛｼﾁｭｳｵｳｸ\",\"ｲｶﾆｹｲｻｲｶﾞﾅｲﾊﾞｱｲ\",\"" +
            pref + "\",\"" + city + "\",\"" + town + "\",0,0,0,0,0,0");
}
std::vector<std::string> All(std::string_view data, const std::string& needle, std::size_t budget = 1 << 30) {
  Search s(data, needle);
  std::vector<LineRef> found;
  while (s.Step(budget, found)) {
  }
  std::vector<std::string> out;
  for (LineRef r : found) out.emplace_back(data.substr(r.offset, r.length));
  return out;
}
}  // namespace

TEST(PostalConvert, PublishedLineGivesCodeTwoBlanksAndAddress) {
  EXPECT_EQ(ConvertLine(Source("0600000", "北海道", "札幌市中央区", "以下に掲載がない場合")),
            Sj("0600000  北海道札幌市中央区以下に掲載がない場合"));
  EXPECT_EQ(ConvertLine(Source("0640941", "北海道", "札幌市中央区", "旭ケ丘（１～４丁目、６丁目）")),
            Sj("0640941  北海道札幌市中央区旭ケ丘（１～４丁目、６丁目）"));
  EXPECT_EQ(ConvertLine(Source("1000001", "東京都", "千代田区", "")), Sj("1000001  東京都千代田区"));
}

TEST(PostalConvert, LinesWithoutThePublishedShapeAreSkipped) {
  EXPECT_EQ(ConvertLine(""), std::nullopt);
  EXPECT_EQ(ConvertLine("01101,\"060  \",\"0600000\","), std::nullopt);  // shorter than 28
  EXPECT_EQ(ConvertLine(Sj("01101,\"060  \",\"0600000\",\"ﾎｯｶｲﾄﾞｳ\",\"北海道\",\"札幌市\",0,0,0,0,0,0")),
            std::nullopt);
  EXPECT_EQ(ConvertLine(Source("06000x0", "北海道", "札幌市", "町")), std::nullopt);
  std::string bad = Source("0600000", "北海道", "札幌市", "町");
  bad[bad.size() - 16] = '\xFF';  // not a code page 932 byte
  EXPECT_EQ(ConvertLine(bad), std::nullopt);
  EXPECT_EQ(ConvertLine(std::string(60, ',')), std::nullopt);
}

TEST(PostalConvert, NLinesInNLinesOutAndDamageDoesNotSpill) {
  TempDir d;
  std::string csv =
      Source("0600000", "北海道", "札幌市中央区", "以下に掲載がない場合") + "\r\n" +
      "01101,\"060  \",\"0600001\",\"a\",\"b\",\"c\",\"d\"\r\n" +  // too few commas for the flags
      Source("0600002", "北海道", "札幌市中央区", "北二条西") + "\r\n" + "short\r\n" +
      Source("1000001", "東京都", "千代田区", "千代田") + "\r\n\r\n";
  d.Write("Ken_all.csv", csv);
  Converter c;
  ASSERT_TRUE(c.Open(d.File("Ken_all.csv"), d.File("Ken_all.dat")));
  ASSERT_TRUE(c.Finish());
  EXPECT_EQ(c.LinesIn(), 5u);  // the empty last line is no record
  EXPECT_EQ(c.LinesOut(), 3u);
  EXPECT_EQ(d.Read("Ken_all.dat"),
            Sj("0600000  北海道札幌市中央区以下に掲載がない場合\r\n0600002  北海道札幌市中央区北二条西\r\n"
               "1000001  東京都千代田区千代田\r\n"));
  std::string many;
  for (int i = 0; i < 1000; ++i)
    many += Source("06" + std::to_string(10000 + i), "北海道", "市", "町" + std::to_string(i)) + "\r\n";
  d.Write("Ken_all.csv", many);
  ASSERT_TRUE(ConvertFile(d.File("Ken_all.csv"), d.File("Ken_all.dat")));
  std::string out = d.Read("Ken_all.dat");
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1000);
  EXPECT_EQ(out.substr(0, 9), "0610000  ");
}

TEST(PostalConvert, CancelledOrFailedConversionLeavesNoDataFile) {
  TempDir d;
  std::string many;
  for (int i = 0; i < 100; ++i) many += Source("0600000", "北海道", "市", "町") + "\r\n";
  d.Write("Ken_all.csv", many);
  {
    Converter c;
    ASSERT_TRUE(c.Open(d.File("Ken_all.csv"), d.File("Ken_all.dat")));
    EXPECT_TRUE(c.Step(500));
    EXPECT_GT(c.Fraction(), 0.0);
    EXPECT_LT(c.Fraction(), 1.0);
    c.Cancel();
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(d.Path()), {}), 1);  // only the source
  EXPECT_FALSE(ConvertFile(d.File("none.csv"), d.File("Ken_all.dat")));
  EXPECT_FALSE(ConvertFile(d.File("Ken_all.csv"), d.File("no/folder/Ken_all.dat")));
  EXPECT_FALSE(d.Exists("Ken_all.dat"));
}

TEST(PostalSearch, MatchesCharacterForCharacterWithoutFolding) {
  const std::string data =
      Sj("0600000  北海道札幌市中央区以下に掲載がない場合\r\n1000001  東京都千代田区千代田\r\n"
         "1000005  東京都千代田区丸の内（１丁目）\r\n0010000  北海道札幌市北区ＡＢＣ100\r\n");
  EXPECT_EQ(All(data, Sj("東京都")).size(), 2u);
  EXPECT_EQ(All(data, "100"), (std::vector<std::string>{Sj("1000001  東京都千代田区千代田"),
                                                        Sj("1000005  東京都千代田区丸の内（１丁目）"),
                                                        Sj("0010000  北海道札幌市北区ＡＢＣ100")}));
  EXPECT_TRUE(All(data, Sj("１０００")).empty());  // full-width digits do not find the codes
  EXPECT_TRUE(All(data, "abc").empty());
  EXPECT_EQ(All(data, Sj("ＡＢＣ")).size(), 1u);
  EXPECT_EQ(All(data, "").size(), 4u);
  EXPECT_EQ(*SearchText("   "), "");
  EXPECT_EQ(*SearchText("  東京 "), Sj("東京"));
  EXPECT_EQ(SearchText("\xF0\x9F\x98\x80"), std::nullopt);
}

TEST(PostalSearch, NeverMatchesTheSecondByteOfACharacter) {
  // ア is 83 41 ('A' as its second byte), 表 is 95 5C ('\'), ソ is 83 5C.
  const std::string data = Sj("1111111  アイウ表\r\n2222222  ソA\r\n");
  EXPECT_EQ(All(data, "A"), (std::vector<std::string>{Sj("2222222  ソA")}));
  EXPECT_TRUE(All(data, "\\").empty());
  EXPECT_EQ(All(data, Sj("ア")).size(), 1u);
  EXPECT_EQ(All(data, Sj("表")).size(), 1u);
  // A first hit on a second byte, a real one after it in the same line; a hit running past the line end.
  const std::string later = Sj("3333333  アA\r\n4444444  ア\r\nA5\r\n");
  EXPECT_EQ(All(later, "A"), (std::vector<std::string>{Sj("3333333  アA"), "A5"}));
  EXPECT_TRUE(All(later, "A\r\nA").empty());
  EXPECT_TRUE(All(later, Sj("ア\r\n")).empty());
}

TEST(PostalSearch, StepsOfAnySizeGiveTheSameResultsInFileOrder) {
  std::string data;
  for (int i = 0; i < 500; ++i)
    data +=
        Sj(std::to_string(1000000 + i * 7) + "  東京都" + (i % 3 ? "港区" : "新宿区") + std::to_string(i)) +
        "\r\n";
  for (const std::string& needle : {Sj("新宿"), std::string("10"), std::string(""), Sj("区4")}) {
    const auto whole = All(data, needle);
    for (std::size_t budget : {1u, 7u, 64u, 1000u}) EXPECT_EQ(All(data, needle, budget), whole) << budget;
  }
  EXPECT_EQ(All(data, Sj("新宿")).size(), 167u);
  Search s(data, "x");
  std::vector<LineRef> found;
  s.Step(100, found);
  EXPECT_GE(s.Position(), 100u);
  EXPECT_LT(s.Position(), 200u);
  EXPECT_EQ(data[s.Position() - 1], '\n');  // whole lines only
}

TEST(PostalSearch, ProgressAndCopyTexts) {
  EXPECT_EQ(ProgressTenth(19, 100), 2);
  EXPECT_EQ(ProgressTenth(18, 100), 1);
  EXPECT_EQ(ProgressTenth(100, 100), 10);
  EXPECT_EQ(ProgressTenth(0, 0), 0);
  const std::string line = "0600000  北海道札幌市中央区以下に掲載がない場合";
  EXPECT_EQ(CopyText(line, CopyWhat::Address), "北海道札幌市中央区以下に掲載がない場合");
  EXPECT_EQ(CopyText(line, CopyWhat::PostalCode), "0600000");
  EXPECT_EQ(CopyText(line, CopyWhat::WholeLine), line);
}

TEST(PostalConvert, AFieldThatLostAQuoteIsSkipped) {
  const std::string good = Source("0600000", "北海道", "札幌市中央区", "大通西");
  ASSERT_TRUE(ConvertLine(good));
  // Remove, one at a time, each quote the rule steps over or around: every such line is skipped.
  int quotes = 0;
  for (std::size_t i = 0; i < good.size(); ++i) {
    if (good[i] != '"') continue;
    ++quotes;
    std::string damaged = good;
    damaged.erase(i, 1);
    EXPECT_EQ(ConvertLine(damaged), std::nullopt) << "quote at byte " << i;
  }
  EXPECT_EQ(quotes, 16);  // fields 2 to 9
  // Fields beyond the flags run into the town area name: skipped, not copied into the address.
  EXPECT_EQ(ConvertLine(Sj("01101,\"060  \",\"0600000\",\"ﾎ\",\"ｻ\",\"ｲ\",\"北海道\",\"札幌市\",\"町\",0,0,0,"
                           "\",\"千代田区\",\"丸の内\",0,0,0,0,0,0")),
            std::nullopt);
  EXPECT_EQ(ConvertLine(Sj(
                "01101,\"060  \",\"0600000\",\"ﾎ\",\"ｻ\",\"ｲ\",\"北\"海道\",\"札幌市\",\"町\",0,0,0,0,0,0")),
            std::nullopt);
  // A field made of one quote lets two separators share it, and a stray quote elsewhere then passes the
  // count: skipped as well.
  EXPECT_EQ(
      ConvertLine(Sj("01101,\"060  \",\"0600000\",\"ﾎ\",\",\"ｲ\"北海道\",\"札幌市\",\"町\",0,0,0,0,0,0")),
      std::nullopt);
  EXPECT_EQ(ConvertLine(Sj("01101,\"060  \",\"0600000\",\"ﾎｯｶｲﾄﾞｳ\",\"ｻｯﾎﾟﾛｼ\",\"ｲｶﾆ\",\"北海道,\"札幌市\","
                           "\"町\",0,0,0,0,0,0")),
            std::nullopt);
}

TEST(PostalConvert, AListThatGivesNoLineLeavesNoDataFile) {
  TempDir d;
  d.Write("Ken_all.csv", "header,only\r\nnot,a,list\r\n");
  Converter c;
  ASSERT_TRUE(c.Open(d.File("Ken_all.csv"), d.File("Ken_all.dat")));
  EXPECT_FALSE(c.Finish());
  EXPECT_EQ(c.LinesOut(), 0u);
  EXPECT_FALSE(d.Exists("Ken_all.dat"));
  d.Write("Ken_all.csv", "");
  EXPECT_FALSE(ConvertFile(d.File("Ken_all.csv"), d.File("Ken_all.dat")));
  EXPECT_FALSE(d.Exists("Ken_all.dat"));
}

TEST(PostalConvert, TheUtf8EditionGivesTheSameDataFile) {
  TempDir d;
  // The same lines in UTF-8 (the published UTF-8 edition has full-width kana; those fields are skipped).
  const std::string utf8 =
      "01101,\"060  \",\"0600000\",\"ホッカイドウ\",\"サッポロシチュウオウク\",\"イカニ\","
      "\"北海道\",\"札幌市中央区\",\"以下に掲載がない場合\",0,0,0,0,0,0\r\n"
      "13101,\"100  \",\"1000001\",\"トウキョウト\",\"チヨダク\",\"チヨダ\",\"東京都\","
      "\"千代田区\",\"千代田\",0,0,0,0,0,0\r\n"
      "13101,\"100  \",\"1000002\",\"x\",\"y\",\"z\",\"東京都\",\"千代田区\",\"😀\","
      "0,0,0,0,0,0\n";
  EXPECT_TRUE(IsUtf8List(utf8));
  EXPECT_FALSE(IsUtf8List(Source("0600000", "北海道", "札幌市中央区", "大通西")));
  for (const std::string& bytes : {utf8, "\xEF\xBB\xBF" + utf8}) {
    d.Write("utf_ken_all.csv", bytes);
    EXPECT_EQ(FindSourceName(d.Path()), "utf_ken_all.csv");
    ASSERT_TRUE(ConvertFile(d.File("utf_ken_all.csv"), d.File("Ken_all.dat")));
    EXPECT_EQ(d.Read("Ken_all.dat"),
              Sj("0600000  北海道札幌市中央区以下に掲載がない場合\r\n1000001  東京都千代田区千代田\r\n"));
  }
  d.Write("KEN_ALL.CSV", "x");
  EXPECT_EQ(FindSourceName(d.Path()), "KEN_ALL.CSV");  // the code page 932 list is preferred
}

TEST(PostalSearch, AnEmptyTextListsEveryLineEvenAnEmptyLastOne) {
  EXPECT_EQ(All("\r", ""), (std::vector<std::string>{""}));
  EXPECT_EQ(All("a\r\n\r\n", ""), (std::vector<std::string>{"a", ""}));
  EXPECT_EQ(All("a\r\n", ""), (std::vector<std::string>{"a"}));
  EXPECT_EQ(All("a\n\nb", ""), (std::vector<std::string>{"a", "", "b"}));
  for (std::size_t budget : {1u, 2u, 3u}) EXPECT_EQ(All("a\r\n\r\n", "", budget).size(), 2u);
}
