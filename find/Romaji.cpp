// Romaji as Japanese users type it, read into kana: the spellings (Hepburn, kunrei, nihon-shiki, the
// input methods' extras, macrons and the passport's ways) and a speller over runs of letters.
#include "find/Romaji.h"

#include <algorithm>
#include <map>
#include <string>

#include "find/PhoneFind.h"

namespace phonefind {
namespace {
// Romaji spellings and the kana they give: Hepburn, kunrei and nihon-shiki, with the usual extras of
// input methods (fa, je, tsa ...). Where one spelling stands for two sounds, both are given ("di" is
// ぢ in nihon-shiki and ディ in loan words), separated by '|'.
const std::map<std::string, std::u16string, std::less<>>& RomajiTable() {
  static const auto table = [] {
    std::map<std::string, std::u16string, std::less<>> t{
        {"a", u"あ"},     {"i", u"い"},     {"u", u"う"},       {"e", u"え"},       {"o", u"お"},
        {"-", u"ー"},     {"ka", u"か"},    {"ki", u"き"},      {"ku", u"く"},      {"ke", u"け"},
        {"ko", u"こ"},    {"sa", u"さ"},    {"si", u"し"},      {"shi", u"し"},     {"su", u"す"},
        {"se", u"せ"},    {"so", u"そ"},    {"ta", u"た"},      {"ti", u"ち"},      {"chi", u"ち"},
        {"tu", u"つ"},    {"tsu", u"つ"},   {"te", u"て"},      {"to", u"と"},      {"na", u"な"},
        {"ni", u"に"},    {"nu", u"ぬ"},    {"ne", u"ね"},      {"no", u"の"},      {"ha", u"は"},
        {"hi", u"ひ"},    {"hu", u"ふ"},    {"fu", u"ふ"},      {"he", u"へ"},      {"ho", u"ほ"},
        {"ma", u"ま"},    {"mi", u"み"},    {"mu", u"む"},      {"me", u"め"},      {"mo", u"も"},
        {"ya", u"や"},    {"yu", u"ゆ"},    {"yo", u"よ"},      {"ra", u"ら"},      {"ri", u"り"},
        {"ru", u"る"},    {"re", u"れ"},    {"ro", u"ろ"},      {"wa", u"わ"},      {"wo", u"を|うぉ"},
        {"ga", u"が"},    {"gi", u"ぎ"},    {"gu", u"ぐ"},      {"ge", u"げ"},      {"go", u"ご"},
        {"za", u"ざ"},    {"zi", u"じ"},    {"ji", u"じ"},      {"zu", u"ず"},      {"ze", u"ぜ"},
        {"zo", u"ぞ"},    {"da", u"だ"},    {"di", u"ぢ|でぃ"}, {"du", u"づ|どぅ"}, {"de", u"で"},
        {"do", u"ど"},    {"dzu", u"づ"},   {"dji", u"ぢ"},     {"ba", u"ば"},      {"bi", u"び"},
        {"bu", u"ぶ"},    {"be", u"べ"},    {"bo", u"ぼ"},      {"pa", u"ぱ"},      {"pi", u"ぴ"},
        {"pu", u"ぷ"},    {"pe", u"ぺ"},    {"po", u"ぽ"},      {"vu", u"ゔ"},      {"va", u"ゔぁ"},
        {"vi", u"ゔぃ"},  {"ve", u"ゔぇ"},  {"vo", u"ゔぉ"},    {"vyu", u"ゔゅ"},   {"fa", u"ふぁ"},
        {"fi", u"ふぃ"},  {"fe", u"ふぇ"},  {"fo", u"ふぉ"},    {"fyu", u"ふゅ"},   {"tsa", u"つぁ"},
        {"tsi", u"つぃ"}, {"tse", u"つぇ"}, {"tso", u"つぉ"},   {"thi", u"てぃ"},   {"dhi", u"でぃ"},
        {"thu", u"てゅ"}, {"dhu", u"でゅ"}, {"twu", u"とぅ"},   {"dwu", u"どぅ"},   {"wi", u"うぃ"},
        {"we", u"うぇ"},  {"ye", u"いぇ"},  {"kwa", u"くぁ"},   {"gwa", u"ぐぁ"},   {"ja", u"じゃ"},
        {"ju", u"じゅ"},  {"je", u"じぇ"},  {"jo", u"じょ"},    {"cha", u"ちゃ"},   {"chu", u"ちゅ"},
        {"che", u"ちぇ"}, {"cho", u"ちょ"}, {"sha", u"しゃ"},   {"shu", u"しゅ"},   {"she", u"しぇ"},
        {"sho", u"しょ"}, {"xa", u"ぁ"},    {"xi", u"ぃ"},      {"xu", u"ぅ"},      {"xe", u"ぇ"},
        {"xo", u"ぉ"},    {"xtu", u"っ"},   {"xtsu", u"っ"},    {"xya", u"ゃ"},     {"xyu", u"ゅ"},
        {"xyo", u"ょ"},   {"la", u"ぁ"},    {"li", u"ぃ"},      {"lu", u"ぅ"},      {"le", u"ぇ"},
        {"lo", u"ぉ"},    {"ltu", u"っ"},   {"ltsu", u"っ"},    {"lya", u"ゃ"},     {"lyu", u"ゅ"},
        {"lyo", u"ょ"},
    };
    // The contracted sounds: ky, sy, ty, ny ... with a, u, o (and e where input methods take it).
    const std::pair<const char*, std::u16string_view> youon[] = {
        {"ky", u"き"}, {"sy", u"し"}, {"ty", u"ち"}, {"cy", u"ち"}, {"ny", u"に"},
        {"hy", u"ひ"}, {"my", u"み"}, {"ry", u"り"}, {"gy", u"ぎ"}, {"zy", u"じ"},
        {"jy", u"じ"}, {"dy", u"ぢ"}, {"by", u"び"}, {"py", u"ぴ"}};
    for (const auto& [head, kana] : youon) {
      t.emplace(std::string(head) + "a", std::u16string(kana) + u"ゃ");
      t.emplace(std::string(head) + "u", std::u16string(kana) + u"ゅ");
      t.emplace(std::string(head) + "o", std::u16string(kana) + u"ょ");
      t.emplace(std::string(head) + "e", std::u16string(kana) + u"ぇ");
    }
    return t;
  }();
  return table;
}

bool IsVowel(char c) {
  return c == 'a' || c == 'i' || c == 'u' || c == 'e' || c == 'o';
}
bool IsConsonant(char c) {
  return c >= 'a' && c <= 'z' && !IsVowel(c);
}

}  // namespace

// The vowel a kana ends in, or 0 (ん, っ, signs).
char VowelOf(char16_t c) {
  static const std::array<char, 0x60> table = [] {
    std::array<char, 0x60> t{};
    constexpr std::u16string_view kRows[] = {
        u"あかさたなはまやらわがざだばぱぁゃゎ", u"いきしちにひみりぎじぢびぴぃゐ",
        u"うくすつぬふむゆるぐずづぶぷぅゅゔ", u"えけせてねへめれげぜでべぺぇゑ",
        u"おこそとのほもよろをごぞどぼぽぉょ"};
    for (std::size_t r = 0; r < 5; ++r)
      for (char16_t k : kRows[r]) t[k - 0x3040] = "aiueo"[r];
    return t;
  }();
  return c >= 0x3040 && c < 0x30A0 ? table[c - 0x3040] : '\0';
}

// The first kana of every spelling that begins with `tail`, っ where the tail could double and ん where
// it could stand for one.
std::u16string KanaStartingWith(std::string_view tail) {
  std::u16string set;
  const auto& table = RomajiTable();
  for (auto it = table.lower_bound(tail); it != table.end() && it->first.compare(0, tail.size(), tail) == 0;
       ++it)
    for (std::size_t at = 0; at < it->second.size();
         at = std::min(it->second.find(u'|', at), it->second.size()) + 1)
      if (set.find(it->second[at]) == std::u16string::npos) set.push_back(it->second[at]);
  if (tail.size() == 1 && IsConsonant(tail[0]) && tail[0] != 'n') set.push_back(u'っ');
  if (tail == "n" || tail == "m") set.push_back(u'ん');
  return set;
}

namespace {

constexpr std::size_t kMostSpellings = 16;
// Letters like "mmmm…" branch at every one (ん or っ), most branches ending in nothing: the search
// stops after this many steps, far beyond what any name typed takes.
constexpr std::size_t kMostSteps = 4096;

// Every reading of one run of Latin letters, each appended to `kana`; `last` says whether the run ends
// the query (only then may it end in an unfinished tail).
class Speller {
 public:
  Speller(std::string_view run, std::u16string& kana, bool last, std::vector<Romaji>& out)
      : run_(run), kana_(kana), last_(last), out_(out) {}

  // The readings from `i` on; `bareN` false reads an n before a vowel as な行 only.
  void From(std::size_t i, bool bareN = true) {
    if (out_.size() >= kMostSpellings || ++steps_ > kMostSteps) return;
    if (i == run_.size()) {
      out_.push_back({kana_, {}});
      return;
    }
    if (run_[i] == '^') return LongMark(i);
    if (run_[i] == '\'') return Then(u"", i + 1);
    if (run_[i] == 'n' && bareN && N(i)) return;
    if (Doubled(i)) return;
    if (Table(i)) return;
    // No spelling here: an unfinished tail at the end, otherwise not romaji.
    const std::string_view rest = run_.substr(i);
    if (last_ && rest.size() <= 3 && !KanaStartingWith(rest).empty())
      out_.push_back({kana_, std::string(rest)});
  }

 private:
  char At(std::size_t i) const { return i < run_.size() ? run_[i] : '\0'; }

  void Then(std::u16string_view add, std::size_t next) {
    const std::size_t size = kana_.size();
    kana_ += add;
    From(next);
    kana_.resize(size);
  }

  // A macron or circumflex: the vowel before it is long (ō is おう or おお, ē ええ or えい).
  void LongMark(std::size_t i) {
    switch (kana_.empty() ? '\0' : VowelOf(kana_.back())) {
      case 'o':
        Then(u"う", i + 1);
        return Then(u"お", i + 1);
      case 'e':
        Then(u"え", i + 1);
        return Then(u"い", i + 1);
      case 'a':
        return Then(u"あ", i + 1);
      case 'i':
        return Then(u"い", i + 1);
      case 'u':
        return Then(u"う", i + 1);
      default:
        return;
    }
  }

  // ん as n', nn, n before a consonant or at a word's end; false where n begins a syllable.
  bool N(std::size_t i) {
    const char next = At(i + 1), after = At(i + 2);
    if (next == '\'') {
      Then(u"ん", i + 2);
    } else if (next == 'n') {
      // "anna" is あんな in Hepburn and あんあ to an input method; "nn" at the end may be "nna" begun.
      if (IsVowel(after) || after == 'y' || (after == '\0' && last_)) Then(u"ん", i + 1);
      Then(u"ん", i + 2);
    } else if (next == '\0') {
      if (last_)
        out_.push_back({kana_, "n"});
      else
        Then(u"ん", i + 1);
    } else if (!IsVowel(next) && next != 'y') {
      Then(u"ん", i + 1);
    } else {
      // Passports write ん before a vowel as a bare n ("shinichi" for しんいち): tried after な行, never
      // at a word's start or after ん.
      From(i, false);
      if (i > 0 && !kana_.empty() && kana_.back() != u'ん') Then(u"ん", i + 1);
    }
    return true;
  }

  // Hepburn's m for ん ("homma", "shimpei"), a doubled consonant, "tch", the passport's "oh".
  bool Doubled(std::size_t i) {
    const char c = run_[i], next = At(i + 1);
    if (c == 'm' && (next == 'b' || next == 'p' || next == 'm')) {
      Then(u"ん", i + 1);
      if (next == 'm') Then(u"っ", i + 1);
      return true;
    }
    if ((IsConsonant(c) && c != 'n' && next == c) || (c == 't' && next == 'c' && At(i + 2) == 'h')) {
      Then(u"っ", i + 1);
      return true;
    }
    if (c == 'h' && i > 0 && run_[i - 1] == 'o' && (next == '\0' || (IsConsonant(next) && next != 'y'))) {
      // "ohno" is おおの or おうの.
      if (next == '\0' && last_) out_.push_back({kana_, "h"});
      Then(u"う", i + 1);
      Then(u"お", i + 1);
      return true;
    }
    return false;
  }

  // The longest spelling in the table, each of its kana.
  bool Table(std::size_t i) {
    const auto& table = RomajiTable();
    for (std::size_t len = std::min<std::size_t>(4, run_.size() - i); len > 0; --len) {
      const auto it = table.find(run_.substr(i, len));
      if (it == table.end()) continue;
      const std::u16string_view ways = it->second;
      for (std::size_t at = 0; at < ways.size();) {
        const std::size_t bar = std::min(ways.find(u'|', at), ways.size());
        Then(ways.substr(at, bar - at), i + len);
        at = bar + 1;
      }
      return true;
    }
    return false;
  }

  std::string_view run_;
  std::u16string& kana_;
  bool last_;
  std::vector<Romaji>& out_;
  std::size_t steps_ = 0;
};

}  // namespace

// A macron or circumflex vowel (either case) as the vowel and '^'.
const char* LongVowel(char16_t c) {
  switch (c) {
    case 0x0100:
    case 0x0101:
    case 0x00C2:
    case 0x00E2:
      return "a^";
    case 0x012A:
    case 0x012B:
    case 0x00CE:
    case 0x00EE:
      return "i^";
    case 0x016A:
    case 0x016B:
    case 0x00DB:
    case 0x00FB:
      return "u^";
    case 0x0112:
    case 0x0113:
    case 0x00CA:
    case 0x00EA:
      return "e^";
    case 0x014C:
    case 0x014D:
    case 0x00D4:
    case 0x00F4:
      return "o^";
    default:
      return nullptr;
  }
}

namespace {
bool IsRomajiLetter(char16_t c) {
  return (c >= u'a' && c <= u'z') || c == u'\'' || c == u'-' || c == u'^';
}

// The folded query with each macron or circumflex vowel as the vowel and '^'.
std::u16string MarkLongVowels(std::string_view utf8) {
  std::u16string q;
  for (char16_t c : Trimmed(Fold(utf8))) {
    if (const char* v = LongVowel(c))
      q.append(v, v + 2);
    else
      q.push_back(c);
  }
  return q;
}

// Every way so far, each carried on by every reading of the next run of letters.
std::vector<Romaji> CarryOn(std::vector<Romaji>& partial, const std::string& run, bool last) {
  std::vector<Romaji> next;
  for (Romaji& p : partial) {
    if (!p.tail.empty()) continue;
    std::vector<Romaji> ways;
    Speller(run, p.kana, last, ways).From(0);
    for (Romaji& w : ways)
      if (next.size() < kMostSpellings) next.push_back(std::move(w));
  }
  return next;
}
}  // namespace

std::vector<Romaji> RomajiSpellings(std::string_view utf8) {
  const std::u16string q = MarkLongVowels(utf8);
  std::vector<Romaji> partial{{}};
  for (std::size_t i = 0; i < q.size() && !partial.empty();) {
    if (!IsRomajiLetter(q[i])) {
      // An unfinished spelling followed by more text is no romaji; spaces are left out.
      std::erase_if(partial, [](const Romaji& p) { return !p.tail.empty(); });
      if (!IsSpace(q[i]))
        for (Romaji& p : partial) p.kana.push_back(q[i]);
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < q.size() && IsRomajiLetter(q[end])) ++end;
    partial = CarryOn(
        partial,
        std::string(q.begin() + static_cast<std::ptrdiff_t>(i), q.begin() + static_cast<std::ptrdiff_t>(end)),
        end == q.size());
    i = end;
  }
  std::vector<Romaji> out;
  for (Romaji& p : partial)
    if ((!p.kana.empty() || !p.tail.empty()) && std::find(out.begin(), out.end(), p) == out.end())
      out.push_back(std::move(p));
  return out;
}

}  // namespace phonefind
