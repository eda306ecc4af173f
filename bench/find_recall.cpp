// Quick-find's recall over a generated population: 2,000 person names and 300 company names made from
// bench/names.txt (kanji with the reading meant), each entry in four spellings (kanji, katakana,
// half-width katakana, hiragana) with a number, over the five groups. Each name is looked up as users
// type it (romaji in five styles, kana, digits) and counts as found when its entry is among the first
// ten hits, as the window lists them.
// Usage: find_recall [names.txt readings-file] (this build's own by default)
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/PhoneBookFile.h"
#include "find/PhoneFind.h"
#include "find/Readings.h"
#include "platform/TextChars.h"

namespace {

using textchars::Utf8;

std::u16string Katakana(std::u16string s) {
  for (char16_t& c : s)
    if (c >= 0x3041 && c <= 0x3096) c += 0x60;
  return s;
}

// Full-width katakana as half-width, voiced ones as the letter and its mark.
std::u16string HalfWidth(std::u16string_view kata) {
  static const std::u16string_view plain =
      u"ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラ"
      u"リルレロワン";
  std::u16string out;
  for (char16_t c : kata) {
    char16_t base = c, mark = 0;
    if (plain.find(c) == std::u16string_view::npos) {
      if (c == u'ヴ') {
        base = u'ウ', mark = 0xFF9E;
      } else if (plain.find(static_cast<char16_t>(c - 1)) != std::u16string_view::npos) {
        base = c - 1, mark = 0xFF9E;
      } else if (plain.find(static_cast<char16_t>(c - 2)) != std::u16string_view::npos) {
        base = c - 2, mark = 0xFF9F;
      }
    }
    const std::size_t at = plain.find(base);
    out.push_back(at == std::u16string_view::npos ? c : static_cast<char16_t>(0xFF66 + at));
    if (mark) out.push_back(mark);
  }
  return out;
}

enum Style { Hepburn, Kunrei, Nihon, Macron, Passport, kStyles };
const char* const kStyleNames[] = {"Hepburn", "kunrei", "nihon-shiki", "macrons", "passport"};

// The syllables of hiragana in Hepburn, with kunrei and nihon-shiki where they differ.
struct Syllable {
  std::u16string_view kana;
  const char* hepburn;
  const char* kunrei;
  const char* nihon;
};
const std::vector<Syllable>& Syllables() {
  static const std::vector<Syllable> table = [] {
    std::vector<Syllable> t = {
        {u"し", "shi", "si", "si"},     {u"ち", "chi", "ti", "ti"},     {u"つ", "tsu", "tu", "tu"},
        {u"ふ", "fu", "hu", "hu"},      {u"じ", "ji", "zi", "zi"},      {u"ぢ", "ji", "zi", "di"},
        {u"づ", "zu", "zu", "du"},      {u"を", "o", "o", "wo"},        {u"しゃ", "sha", "sya", "sya"},
        {u"しゅ", "shu", "syu", "syu"}, {u"しょ", "sho", "syo", "syo"}, {u"ちゃ", "cha", "tya", "tya"},
        {u"ちゅ", "chu", "tyu", "tyu"}, {u"ちょ", "cho", "tyo", "tyo"}, {u"じゃ", "ja", "zya", "zya"},
        {u"じゅ", "ju", "zyu", "zyu"},  {u"じょ", "jo", "zyo", "zyo"},
    };
    using namespace std::literals;
    const std::u16string_view rows =
        u"あいうえおかきくけこさ\0すせそた\0\0てとなにぬねのはひ\0へほまみむめもや\0ゆ\0よらりるれろわ\0\0\0\0"sv;
    static const char* const heads[] = {"", "k", "s", "t", "n", "h", "m", "y", "r", "w"};
    static const char* const vowels[] = {"a", "i", "u", "e", "o"};
    static std::vector<std::string> keep;
    keep.reserve(200);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      if (rows[i] == 0) continue;
      keep.push_back(std::string(heads[i / 5]) + vowels[i % 5]);
      t.push_back({rows.substr(i, 1), keep.back().c_str(), keep.back().c_str(), keep.back().c_str()});
    }
    const std::pair<std::u16string_view, const char*> voiced[] = {{u"がぎぐげご"sv, "g"},
                                                                  {u"ざ\0ずぜぞ"sv, "z"},
                                                                  {u"だ\0\0でど"sv, "d"},
                                                                  {u"ばびぶべぼ"sv, "b"},
                                                                  {u"ぱぴぷぺぽ"sv, "p"}};
    for (const auto& [row, head] : voiced)
      for (std::size_t v = 0; v < 5; ++v) {
        if (row[v] == 0) continue;
        keep.push_back(std::string(head) + vowels[v]);
        t.push_back({row.substr(v, 1), keep.back().c_str(), keep.back().c_str(), keep.back().c_str()});
      }
    const std::pair<std::u16string_view, const char*> youon[] = {{u"き", "ky"}, {u"に", "ny"}, {u"ひ", "hy"},
                                                                 {u"み", "my"}, {u"り", "ry"}, {u"ぎ", "gy"},
                                                                 {u"び", "by"}, {u"ぴ", "py"}};
    static std::vector<std::u16string> kanaKeep;
    kanaKeep.reserve(40);
    for (const auto& [k, head] : youon)
      for (const auto& [small, v] : {std::pair{u'ゃ', "a"}, std::pair{u'ゅ', "u"}, std::pair{u'ょ', "o"}}) {
        kanaKeep.push_back(std::u16string(k) + small);
        keep.push_back(std::string(head) + v);
        t.push_back({kanaKeep.back(), keep.back().c_str(), keep.back().c_str(), keep.back().c_str()});
      }
    return t;
  }();
  return table;
}

// One word of hiragana in a romaji style.
std::string Romanize(std::u16string_view kana, Style style) {
  std::vector<std::string> parts;  // one per syllable, ん and っ as "n" and "*"
  for (std::size_t i = 0; i < kana.size();) {
    if (kana[i] == u'ん' || kana[i] == u'っ') {
      parts.push_back(kana[i] == u'ん' ? "n" : "*");
      ++i;
      continue;
    }
    const Syllable* best = nullptr;
    for (const Syllable& s : Syllables())
      if (kana.substr(i, s.kana.size()) == s.kana && (!best || s.kana.size() > best->kana.size())) best = &s;
    if (!best) return {};
    const char* spelled = style == Kunrei ? best->kunrei : style == Nihon ? best->nihon : best->hepburn;
    parts.emplace_back(spelled);
    i += best->kana.size();
  }
  std::string out;
  for (std::size_t p = 0; p < parts.size(); ++p) {
    const std::string next = p + 1 < parts.size() ? parts[p + 1] : "";
    if (parts[p] == "*") {  // a doubled consonant; "tch" in Hepburn
      if (!next.empty()) out += style != Kunrei && style != Nihon && next.rfind("ch", 0) == 0 ? 't' : next[0];
      continue;
    }
    if (parts[p] == "n") {
      const bool beforeVowel = !next.empty() && (std::string("aiueoy").find(next[0]) != std::string::npos);
      if (style == Passport && !next.empty() && std::string("bmp").find(next[0]) != std::string::npos)
        out += "m";
      else
        out += beforeVowel && style != Passport ? "n'" : "n";
      continue;
    }
    std::string s = parts[p];
    if ((style == Macron || style == Passport) && !out.empty()) {
      // A long vowel: おう, おお and うう as ō and ū, or (passports) as the bare vowel.
      const char last = out.back();
      if ((last == 'o' && (s == "u" || s == "o")) || (last == 'u' && s == "u")) {
        if (style == Macron) {
          out.pop_back();
          out += last == 'o' ? "ō" : "ū";
        }
        continue;
      }
    }
    out += s;
  }
  return out;
}

struct Name {
  std::string kanji;
  std::u16string reading;
};

std::map<std::string, std::vector<Name>> ReadNames(const char* path) {
  std::map<std::string, std::vector<Name>> out;
  std::ifstream in(path);
  std::string line, section;
  while (std::getline(in, line)) {
    if (line.rfind("# [", 0) == 0) section = line.substr(3, line.find(']') - 3);
    if (line.empty() || line[0] == '#') continue;
    const std::size_t space = line.find(' ');
    out[section].push_back({line.substr(0, space), textchars::Utf16(line.substr(space + 1))});
  }
  return out;
}

struct Person {
  std::vector<Name> words;  // surname and given name, or surname and company word
  std::string number;
  bool company = false;
  std::size_t entry[4] = {};  // kanji, katakana, half-width, hiragana
};

}  // namespace

int main(int argc, char** argv) {
  auto names = ReadNames(argc > 2 ? argv[1] : DN_NAMES_FILE);
  const readings::Dictionary dictionary =
      readings::Dictionary::FromFile(argc > 2 ? argv[2] : DN_READINGS_FILE);
  const auto& surnames = names["surnames"];
  const auto& given = names["given"];
  const auto& company = names["company"];

  std::vector<Person> people;
  for (std::size_t i = 0; i < 2300; ++i) {
    Person p;
    p.company = i >= 2000;
    p.words.push_back(surnames[(i * 7) % surnames.size()]);
    p.words.push_back(p.company ? company[i % company.size()]
                                : given[(i * 13 + i / surnames.size()) % given.size()]);
    char number[32];
    std::snprintf(number, sizeof number, "0%zu-%04zu-%04zu", 3 + i % 7, (i * 37) % 10000, (i * 7919) % 10000);
    p.number = number;
    people.push_back(std::move(p));
  }
  // The entries: the four spellings of every name, filed under the reading's first kana, over five groups.
  phonefind::Index index(&dictionary);
  std::size_t entries = 0;
  for (int g = 1; g <= phonebook::kGroups; ++g) {
    std::array<std::vector<std::string>, kana::kLetterCount + 1> byLetter;
    std::vector<std::pair<std::size_t, int>> order;  // (person, spelling) in the order they are added
    for (std::size_t i = static_cast<std::size_t>(g - 1); i < people.size(); i += phonebook::kGroups)
      for (int s = 0; s < 4; ++s) {
        const Person& p = people[i];
        const std::string sep = p.company ? "" : " ";
        std::u16string kana = p.words[0].reading + u" " + p.words[1].reading;
        if (p.company) kana = p.words[0].reading + p.words[1].reading;
        std::string text = s == 0   ? p.words[0].kanji + sep + p.words[1].kanji
                           : s == 1 ? Utf8(Katakana(kana))
                           : s == 2 ? Utf8(HalfWidth(Katakana(kana)))
                                    : Utf8(kana);
        const int k = phonefind::LetterOfKana(p.words[0].reading[0]);
        byLetter[static_cast<std::size_t>(k)].push_back(text + "\t" + p.number);
        order.emplace_back(i,
                           k * 100000 + static_cast<int>(byLetter[static_cast<std::size_t>(k)].size()) - 1);
        people[i].entry[s] = static_cast<std::size_t>(order.back().second);  // letter and place for now
      }
    // Entries are numbered letter by letter within the group, as the index adds them.
    std::array<std::size_t, kana::kLetterCount + 1> firstOfLetter{};
    std::size_t at = entries;
    for (int k = 1; k <= kana::kLetterCount; ++k) {
      firstOfLetter[static_cast<std::size_t>(k)] = at;
      at += byLetter[static_cast<std::size_t>(k)].size();
    }
    for (const auto& [i, code] : order)
      for (std::size_t& e : people[i].entry)
        if (static_cast<int>(e) == code)
          e = firstOfLetter[static_cast<std::size_t>(code / 100000)] + code % 100000;
    entries = at;
    index.AddGroup(g, std::move(byLetter));
  }

  auto found = [&](const std::string& query, std::size_t entry) {
    for (const phonefind::Hit& h : index.Find(query, 10))
      if (h.entry == entry) return true;
    return false;
  };
  struct Tally {
    int hits = 0, asked = 0;
    void Add(bool ok) { hits += ok, ++asked; }
    double Percent() const { return asked ? 100.0 * hits / asked : 0; }
  };
  std::map<std::string, Tally> tallies;
  std::map<std::string, std::vector<std::string>> missed;
  for (const Person& p : people) {
    const std::string who = p.company ? "company" : "person";
    for (int st = 0; st < kStyles; ++st) {
      const auto style = static_cast<Style>(st);
      const std::string q =
          p.company ? Romanize(p.words[0].reading + p.words[1].reading, style)
                    : Romanize(p.words[0].reading, style) + " " + Romanize(p.words[1].reading, style);
      for (int s = 1; s < 4; ++s)
        tallies["kana entries, " + std::string(kStyleNames[st]) + " romaji"].Add(found(q, p.entry[s]));
      const bool ok = found(q, p.entry[0]);
      tallies["kanji " + who + " entries, " + std::string(kStyleNames[st]) + " romaji"].Add(ok);
      if (!ok && st == Hepburn && missed[who].size() < 8)
        missed[who].push_back(p.words[0].kanji + p.words[1].kanji + " " + q);
    }
    std::u16string kana = p.words[0].reading + (p.company ? u"" : u" ") + p.words[1].reading;
    tallies["kanji " + who + " entries, hiragana of the reading"].Add(found(Utf8(kana), p.entry[0]));
    tallies["kanji " + who + " entries, katakana of the reading"].Add(
        found(Utf8(Katakana(kana)), p.entry[0]));
    std::string digits;
    for (char c : p.number)
      if (c != '-') digits.push_back(c);
    for (int s = 0; s < 4; ++s) tallies["digits"].Add(found(digits, p.entry[s]));
  }
  // How many of the list's words the dictionary reads as meant.
  Tally words;
  for (const auto* list : {&surnames, &given, &company})
    for (const Name& n : *list) {
      bool ok = false;
      for (const readings::Reading& r : readings::ReadName(dictionary, textchars::Utf16(n.kanji), 8))
        ok = ok || r.kana == n.reading;
      words.Add(ok);
    }
  std::printf("%zu entries; dictionary: %zu words; list words read as meant: %d of %d (%.1f %%)\n", entries,
              dictionary.Words(), words.hits, words.asked, words.Percent());
  std::printf("%-52s %8s\n", "entries / query", "top 10");
  for (const auto& [what, t] : tallies)
    std::printf("%-52s %7.1f %%  (%d of %d)\n", what.c_str(), t.Percent(), t.hits, t.asked);
  for (const auto& [who, list] : missed)
    for (const std::string& m : list) std::printf("missed (%s, Hepburn): %s\n", who.c_str(), m.c_str());
  return 0;
}
