#include "find/Readings.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace readings {
namespace {

// The readings file this build carries.
const Dictionary& Real() {
  static const Dictionary d = [] {
    std::string error;
    Dictionary dictionary = Dictionary::FromFile(DN_READINGS_FILE, &error);
    EXPECT_EQ(error, "");
    return dictionary;
  }();
  return d;
}

std::vector<std::u16string> Kana(std::u16string_view name, std::size_t limit = 8) {
  std::vector<std::u16string> out;
  for (const Reading& r : ReadName(Real(), name, limit)) out.push_back(r.kana);
  return out;
}

bool Has(const std::vector<std::u16string>& list, std::u16string_view kana) {
  return std::find(list.begin(), list.end(), kana) != list.end();
}

// A small file as the converter writes it, for the damage tests.
std::string File(const std::vector<std::u16string>& records) {
  std::u16string pool;
  std::vector<std::uint32_t> offsets{0};
  for (const std::u16string& r : records) {
    pool += r;
    offsets.push_back(static_cast<std::uint32_t>(pool.size()));
  }
  std::string out = "DNRD";
  auto u32 = [&](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(v >> (8 * i) & 0xFF));
  };
  u32(1);
  u32(static_cast<std::uint32_t>(records.size()));
  u32(static_cast<std::uint32_t>(pool.size()));
  for (std::uint32_t o : offsets) u32(o);
  for (char16_t c : pool) {
    out.push_back(static_cast<char>(c & 0xFF));
    out.push_back(static_cast<char>(c >> 8));
  }
  return out;
}

TEST(Readings, TheCarriedDictionaryKnowsNamesPlacesAndCompanyWords) {
  EXPECT_GT(Real().Words(), 100000u);
  EXPECT_TRUE(Has(Kana(u"田中"), u"たなか"));
  // A name with several readings keeps them all, the likelier first.
  const std::vector<std::u16string> nakajima = Kana(u"中島");
  EXPECT_TRUE(Has(nakajima, u"なかじま"));
  EXPECT_TRUE(Has(nakajima, u"なかしま"));
  EXPECT_EQ(nakajima.front(), u"なかじま");
  EXPECT_TRUE(Has(Kana(u"株式会社山田製作所"), u"かぶしきがいしゃやまだせいさくしょ"));
}

TEST(Readings, SurnameAndGivenNameWithOrWithoutASpace) {
  const std::vector<Reading> spaced = ReadName(Real(), u"田中 一郎", 8);
  const std::vector<Reading> joined = ReadName(Real(), u"田中一郎", 8);
  ASSERT_FALSE(spaced.empty());
  ASSERT_FALSE(joined.empty());
  EXPECT_EQ(spaced.front().kana, u"たなかいちろう");
  EXPECT_EQ(joined.front().kana, u"たなかいちろう");
  // The given name is a word of its own either way: it begins at character 3.
  EXPECT_EQ(spaced.front().starts, 1u | 1u << 3);
  EXPECT_EQ(joined.front().starts, 1u | 1u << 3);
}

TEST(Readings, KanaAndUnknownKanjiReadAsThemselves) {
  EXPECT_TRUE(Kana(u"たなか").empty());  // no kanji: nothing to read
  EXPECT_TRUE(Kana(u"").empty());
  EXPECT_TRUE(Has(Kana(u"田中さん"), u"たなかさん"));
  // A kanji the dictionary does not know stands as a mark no query holds; the rest is still read.
  const std::vector<std::u16string> odd = Kana(u"田中 \u9FA0");
  ASSERT_FALSE(odd.empty());
  EXPECT_EQ(odd.front(), std::u16string(u"たなか") + kUnread);
  // Bounded: at most the limit, and only the first characters of a very long name.
  EXPECT_LE(Kana(u"中島中島中島中島", 3).size(), 3u);
  EXPECT_TRUE(Kana(u"中島", 0).empty());
  const std::u16string huge(5000, u'中');
  for (const Reading& r : ReadName(Real(), huge, 8)) EXPECT_LE(r.kana.size(), kLongestName * 8);
}

// The prefix lookup narrows the words one character at a time; it finds exactly the words a whole-word
// search finds, for every word's own surface and for texts that run on past it.
TEST(Readings, PrefixesAreEveryWordTheTextBeginsWith) {
  const Dictionary& d = Real();
  ASSERT_GT(d.Words(), 1000u);
  // The reference: each of the text's beginnings looked up whole among all the words.
  std::vector<std::u16string_view> all;
  for (std::size_t i = 0; i < d.Words(); ++i) all.push_back(d.Surface(i));
  ASSERT_TRUE(std::is_sorted(all.begin(), all.end()));
  auto byScan = [&all](std::u16string_view text) {
    std::vector<std::size_t> lengths;
    for (std::size_t n = 1; n <= text.size(); ++n)
      if (std::binary_search(all.begin(), all.end(), text.substr(0, n))) lengths.push_back(n);
    return lengths;
  };
  auto byLookup = [&d](std::u16string_view text) {
    std::vector<std::size_t> lengths;
    for (const Dictionary::Word& w : d.Prefixes(text)) lengths.push_back(w.length);
    return lengths;
  };
  for (std::size_t i = 0; i < d.Words(); i += d.Words() / 400) {
    const std::u16string word(d.Surface(i));
    for (const std::u16string& text : {word, word + u"子", word + u"さん", word.substr(0, 1) + u"\t"})
      EXPECT_EQ(byLookup(text), byScan(text)) << i;
  }
  EXPECT_EQ(byLookup(u"中島さん"), byScan(u"中島さん"));
  EXPECT_TRUE(d.Prefixes(std::u16string(1, u'\0')).empty());
  EXPECT_TRUE(d.Prefixes(u"").empty());
}

TEST(Readings, ADamagedFileIsNoDictionary) {
  const std::string good = File({u"中島\t\u8000なかじま,なかしま", u"田中\t\u8000たなか"});
  std::string error;
  EXPECT_EQ(Dictionary::FromBytes(good, &error).Words(), 2u);
  EXPECT_EQ(error, "");
  const Dictionary d = Dictionary::FromBytes(good);
  ASSERT_EQ(d.Prefixes(u"中島さん").size(), 1u);
  EXPECT_EQ(d.Prefixes(u"中島さん").front().readings, u"なかじま,なかしま");
  EXPECT_EQ(d.Prefixes(u"中島さん").front().cost, 0);

  const struct {
    std::string bytes;
    const char* why;
  } damaged[] = {
      {"", "not a readings file"},
      {good.substr(0, good.size() - 1), "wrong length"},
      {good + "x", "wrong length"},
      {"XNRD" + good.substr(4), "not a readings file"},
      {File({u"田中\t\u8000たなか", u"中島\t\u8000なかじま"}), "words out of order"},
      {File({u"田中たなか"}), "damaged word"},
      {File({u"\t\u8000たなか"}), "damaged word"},
      {File({u"田中\t"}), "damaged word"},
  };
  for (const auto& c : damaged) {
    error.clear();
    EXPECT_EQ(Dictionary::FromBytes(c.bytes, &error).Words(), 0u) << c.why;
    EXPECT_EQ(error, c.why);
  }
  std::string version = good;
  version[4] = 2;
  EXPECT_EQ(Dictionary::FromBytes(version, &error).Words(), 0u);
  EXPECT_EQ(error, "unknown version");
  std::string offsets = good;
  offsets[20] = 9;  // the second record's start past the third's
  EXPECT_EQ(Dictionary::FromBytes(offsets, &error).Words(), 0u);
  // An empty dictionary reads nothing and never fails.
  EXPECT_TRUE(ReadName(Dictionary{}, u"田中", 8).empty());
  EXPECT_EQ(ReadName(Dictionary{}, u"田中さん", 8).front().kana, std::u16string(2, kUnread) + u"さん");
}

}  // namespace
}  // namespace readings
