#include "find/PhoneFind.h"

#include <algorithm>
#include <map>
#include <optional>
#include <string>

#include "platform/TextChars.h"

namespace phonefind {
namespace {

using textchars::ForEachCodePoint;
std::u16string Decode(std::string_view s) {
  return textchars::Utf16(s);
}

// Half-width katakana U+FF61..U+FF9D as full-width hiragana (signs as their full forms).
constexpr std::u16string_view kHalfWidth =
    u"。「」、・をぁぃぅぇぉゃゅょっーあいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめも"
    u"やゆよらりるれろわん";

bool TakesDakuten(char16_t c) {
  return (c >= u'か' && c <= u'ぢ' && (c - u'か') % 2 == 0) || c == u'つ' || c == u'て' || c == u'と' ||
         (c >= u'は' && c <= u'ほ' && (c - u'は') % 3 == 0);
}
bool TakesHandakuten(char16_t c) {
  return c >= u'は' && c <= u'ほ' && (c - u'は') % 3 == 0;
}

// A voicing mark after a kana joins it (ｶﾞ, か゛ and か followed by the combining mark alike); `prev`
// is the folded character before it.
bool JoinVoicing(char16_t& prev, char16_t mark) {
  const bool dakuten = mark == 0xFF9E || mark == 0x309B || mark == 0x3099;
  if (dakuten && prev == u'う') {
    prev = u'ゔ';
    return true;
  }
  if (dakuten && TakesDakuten(prev)) {
    ++prev;
    return true;
  }
  if (!dakuten && TakesHandakuten(prev)) {
    prev += 2;
    return true;
  }
  return false;
}

char16_t FoldOne(char16_t c) {
  if (c >= u'A' && c <= u'Z') return c + 32;
  if (c >= 0x30A1 && c <= 0x30F6) return c - 0x60;             // katakana
  if (c >= 0xFF01 && c <= 0xFF5E) return FoldOne(c - 0xFEE0);  // full-width ASCII
  if (c >= 0xFF61 && c <= 0xFF9D) return kHalfWidth[c - 0xFF61];
  if (c == 0x3000) return u' ';
  return c;
}

bool IsVoicingMark(char16_t c) {
  return c == 0xFF9E || c == 0xFF9F || c == 0x309B || c == 0x309C || c == 0x3099 || c == 0x309A;
}

// Appends the folded form of UTF-8 text to `out`; a voicing mark joins only what this text put there.
template <class Buffer>
void FoldInto(std::string_view utf8, Buffer& out) {
  const std::size_t start = out.size();
  ForEachCodePoint(utf8, [&](char16_t c) {
    if (IsVoicingMark(c) && out.size() > start && JoinVoicing(out.back(), c)) return;
    out.push_back(FoldOne(c));
  });
}

std::u16string Trimmed(const std::u16string& s) {
  const auto first = s.find_first_not_of(u' ');
  if (first == std::u16string::npos) return {};
  return s.substr(first, s.find_last_not_of(u' ') - first + 1);
}

// Romaji spellings and the kana they give. Both Hepburn and kunrei, with the usual extras of input
// methods (fa, je, tsa ...).
const std::map<std::string, std::u16string, std::less<>>& RomajiTable() {
  static const auto table = [] {
    std::map<std::string, std::u16string, std::less<>> t{
        {"a", u"あ"},     {"i", u"い"},     {"u", u"う"},     {"e", u"え"},     {"o", u"お"},
        {"-", u"ー"},     {"ka", u"か"},    {"ki", u"き"},    {"ku", u"く"},    {"ke", u"け"},
        {"ko", u"こ"},    {"sa", u"さ"},    {"si", u"し"},    {"shi", u"し"},   {"su", u"す"},
        {"se", u"せ"},    {"so", u"そ"},    {"ta", u"た"},    {"ti", u"ち"},    {"chi", u"ち"},
        {"tu", u"つ"},    {"tsu", u"つ"},   {"te", u"て"},    {"to", u"と"},    {"na", u"な"},
        {"ni", u"に"},    {"nu", u"ぬ"},    {"ne", u"ね"},    {"no", u"の"},    {"ha", u"は"},
        {"hi", u"ひ"},    {"hu", u"ふ"},    {"fu", u"ふ"},    {"he", u"へ"},    {"ho", u"ほ"},
        {"ma", u"ま"},    {"mi", u"み"},    {"mu", u"む"},    {"me", u"め"},    {"mo", u"も"},
        {"ya", u"や"},    {"yu", u"ゆ"},    {"yo", u"よ"},    {"ra", u"ら"},    {"ri", u"り"},
        {"ru", u"る"},    {"re", u"れ"},    {"ro", u"ろ"},    {"wa", u"わ"},    {"wo", u"を"},
        {"nn", u"ん"},    {"n'", u"ん"},    {"ga", u"が"},    {"gi", u"ぎ"},    {"gu", u"ぐ"},
        {"ge", u"げ"},    {"go", u"ご"},    {"za", u"ざ"},    {"zi", u"じ"},    {"ji", u"じ"},
        {"zu", u"ず"},    {"ze", u"ぜ"},    {"zo", u"ぞ"},    {"da", u"だ"},    {"di", u"ぢ"},
        {"du", u"づ"},    {"de", u"で"},    {"do", u"ど"},    {"ba", u"ば"},    {"bi", u"び"},
        {"bu", u"ぶ"},    {"be", u"べ"},    {"bo", u"ぼ"},    {"pa", u"ぱ"},    {"pi", u"ぴ"},
        {"pu", u"ぷ"},    {"pe", u"ぺ"},    {"po", u"ぽ"},    {"vu", u"ゔ"},    {"fa", u"ふぁ"},
        {"fi", u"ふぃ"},  {"fe", u"ふぇ"},  {"fo", u"ふぉ"},  {"tsa", u"つぁ"}, {"ja", u"じゃ"},
        {"ju", u"じゅ"},  {"je", u"じぇ"},  {"jo", u"じょ"},  {"cha", u"ちゃ"}, {"chu", u"ちゅ"},
        {"che", u"ちぇ"}, {"cho", u"ちょ"}, {"sha", u"しゃ"}, {"shu", u"しゅ"}, {"she", u"しぇ"},
        {"sho", u"しょ"}, {"xa", u"ぁ"},    {"xi", u"ぃ"},    {"xu", u"ぅ"},    {"xe", u"ぇ"},
        {"xo", u"ぉ"},    {"xtu", u"っ"},   {"xya", u"ゃ"},   {"xyu", u"ゅ"},   {"xyo", u"ょ"},
        {"la", u"ぁ"},    {"li", u"ぃ"},    {"lu", u"ぅ"},    {"le", u"ぇ"},    {"lo", u"ぉ"},
        {"ltu", u"っ"},   {"lya", u"ゃ"},   {"lyu", u"ゅ"},   {"lyo", u"ょ"},
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

bool IsConsonant(char c) {
  return c >= 'a' && c <= 'z' && c != 'a' && c != 'i' && c != 'u' && c != 'e' && c != 'o';
}

// The first kana of every spelling that begins with `tail`, and っ where the tail could double.
std::u16string KanaStartingWith(std::string_view tail) {
  std::u16string set;
  const auto& table = RomajiTable();
  for (auto it = table.lower_bound(tail); it != table.end() && it->first.compare(0, tail.size(), tail) == 0;
       ++it)
    if (set.find(it->second[0]) == std::u16string::npos) set.push_back(it->second[0]);
  if (tail.size() == 1 && IsConsonant(tail[0]) && tail[0] != 'n') set.push_back(u'っ');
  if (tail == "n") set.push_back(u'ん');
  return set;
}

bool IsLetterOrMark(char16_t c) {
  return (c >= u'a' && c <= u'z') || c == u'\'' || c == u'-';
}

// Converts one run of Latin letters; false when some part is no romaji at all.
bool ConvertRun(std::string_view run, Romaji& out) {
  const auto& table = RomajiTable();
  std::size_t i = 0;
  while (i < run.size()) {
    const char c = run[i];
    // A doubled consonant is a small つ; n before a consonant (or the end of a longer word) is ん.
    if (i + 1 < run.size() && IsConsonant(c) && c != 'n' && run[i + 1] == c) {
      out.kana.push_back(u'っ');
      ++i;
      continue;
    }
    if (c == 't' && i + 2 < run.size() && run[i + 1] == 'c' && run[i + 2] == 'h') {  // "tchi"
      out.kana.push_back(u'っ');
      ++i;
      continue;
    }
    std::size_t taken = 0;
    for (std::size_t len = std::min<std::size_t>(3, run.size() - i); len > 0 && taken == 0; --len)
      if (auto it = table.find(run.substr(i, len)); it != table.end()) {
        out.kana += it->second;
        taken = len;
      }
    if (taken > 0) {
      i += taken;
      continue;
    }
    if (c == 'n' && i + 1 < run.size() && run[i + 1] != 'y') {
      out.kana.push_back(u'ん');
      ++i;
      continue;
    }
    // No spelling here: an unfinished tail at the end, otherwise not romaji.
    const std::string_view rest = run.substr(i);
    if (rest.size() <= 2 && !KanaStartingWith(rest).empty()) {
      out.tail = std::string(rest);
      return true;
    }
    return false;
  }
  return true;
}

std::u16string IndexLetters() {
  return Decode(kana::kIndexString);
}

bool Contains(std::u16string_view s, char16_t c) {
  return s.find(c) != std::u16string_view::npos;
}

}  // namespace

std::u16string Fold(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  FoldInto(utf8, out);
  return out;
}

Romaji RomajiToKana(std::string_view utf8) {
  const std::u16string q = Trimmed(Fold(utf8));
  Romaji out;
  std::string run;
  bool ok = true;
  auto flush = [&] {
    if (run.empty()) return;
    if (!out.tail.empty()) ok = false;  // an unfinished spelling followed by more text
    ok = ok && ConvertRun(run, out);
    run.clear();
  };
  for (char16_t c : q) {
    if (IsLetterOrMark(c)) {
      run.push_back(static_cast<char>(c));
      continue;
    }
    flush();
    if (!out.tail.empty()) ok = false;
    out.kana.push_back(c);
  }
  flush();
  if (!ok) return {};
  return out;
}

int LetterOfKana(char16_t c) {
  if (c == u'ゔ') c = u'う';
  if (c == u'を') c = u'わ';
  if (c == u'ゐ') c = u'い';
  if (c == u'ゑ') c = u'え';
  if (c == u'ゎ') c = u'わ';
  // Small kana under their full size; voiced kana under the plain one.
  if (Contains(u"ぁぃぅぇぉっゃゅょ", c)) ++c;
  if (c > u'か' && c <= u'ぽ' && !TakesDakuten(c) && c != u'っ') {
    if (TakesDakuten(c - 1))
      c -= 1;
    else if (TakesHandakuten(c - 2))
      c -= 2;
  }
  static const std::u16string letters = IndexLetters();
  const auto at = letters.find(c);
  return at == std::u16string::npos ? 0 : static_cast<int>(at) + 1;
}

void Index::AddGroup(int group, std::array<std::vector<std::string>, kana::kLetterCount + 1>&& byLetter) {
  // Room for the whole group at once: a folded line has at most as many characters as it has bytes.
  std::size_t lines = 0, bytes = 0;
  for (const auto& list : byLetter) {
    lines += list.size();
    for (const std::string& line : list) bytes += line.size();
  }
  entries_.reserve(entries_.size() + lines);
  folded_.reserve(folded_.size() + bytes);
  for (int k = 1; k <= kana::kLetterCount; ++k)
    for (std::string& line : byLetter[static_cast<std::size_t>(k)]) {
      Entry e{group, k, std::move(line)};
      e.foldedAt = static_cast<std::uint32_t>(folded_.size());
      FoldInto(e.line, folded_);
      e.foldedLength = static_cast<std::uint32_t>(folded_.size() - e.foldedAt);
      e.digitsAt = static_cast<std::uint32_t>(digits_.size());
      for (char16_t c : Folded(e))
        if (c >= u'0' && c <= u'9') digits_.push_back(static_cast<char>(c));
      e.digitsLength = static_cast<std::uint32_t>(digits_.size() - e.digitsAt);
      entries_.push_back(std::move(e));
    }
}

namespace {
struct Query {
  std::u16string text;
  Romaji romaji;
  bool useRomaji = false;
  std::u16string tailKana;  // what the romaji tail may begin
  std::string digits;       // set when the query is digits and separators only
  int section = 0;
};

Query Prepare(std::string_view raw) {
  Query q;
  q.text = Trimmed(Fold(raw));
  if (q.text.empty()) return q;
  bool digitsOnly = true;
  for (char16_t c : q.text) {
    if (c >= u'0' && c <= u'9')
      q.digits.push_back(static_cast<char>(c));
    else if (!Contains(u" -()+.ー", c))
      digitsOnly = false;
  }
  if (!digitsOnly) q.digits.clear();
  bool hasLatin = false;
  for (char16_t c : q.text) hasLatin = hasLatin || (c >= u'a' && c <= u'z');
  if (hasLatin) {
    q.romaji = RomajiToKana(raw);
    q.useRomaji = !q.romaji.kana.empty() || !q.romaji.tail.empty();
    if (!q.romaji.tail.empty()) q.tailKana = KanaStartingWith(q.romaji.tail);
  }
  const char16_t first = q.useRomaji && !q.romaji.kana.empty() ? q.romaji.kana[0] : q.text[0];
  if (first >= 0x3041 && first <= 0x3096) q.section = LetterOfKana(first);
  return q;
}

Rank RankAt(std::size_t pos, std::size_t length, std::size_t whole) {
  if (pos == 0 && length == whole) return Rank::Exact;
  return pos == 0 ? Rank::Start : Rank::Anywhere;
}

// The best place the romaji reading matches: kana then one kana the tail can begin.
bool RomajiMatch(const Query& q, std::u16string_view s, Rank& rank) {
  const std::u16string& k = q.romaji.kana;
  if (k.empty()) {  // only an unfinished tail: any kana it can begin
    const std::size_t pos = s.find_first_of(q.tailKana);
    if (pos == std::u16string_view::npos) return false;
    rank = pos == 0 ? Rank::Start : Rank::Anywhere;
    return true;
  }
  for (std::size_t pos = s.find(k); pos != std::u16string_view::npos; pos = s.find(k, pos + 1)) {
    if (q.romaji.tail.empty()) {
      rank = RankAt(pos, k.size(), s.size());
      return true;
    }
    const std::size_t next = pos + k.size();
    if (next < s.size() && Contains(q.tailKana, s[next])) {
      rank = pos == 0 ? Rank::Start : Rank::Anywhere;
      return true;
    }
  }
  return false;
}

bool Better(Rank a, Rank b) {
  return static_cast<int>(a) < static_cast<int>(b);
}
}  // namespace

namespace {
// The better of two ranks, either possibly absent.
std::optional<Rank> Best(std::optional<Rank> a, std::optional<Rank> b) {
  if (!a) return b;
  if (!b) return a;
  return Better(*b, *a) ? b : a;
}

// How well one entry matches: as text, as romaji, by digits, or by its letter; nothing when not at all.
std::optional<Rank> Match(const Query& q, std::u16string_view folded, std::string_view digits, int letter) {
  std::optional<Rank> best;
  if (const auto pos = folded.find(q.text); pos != std::u16string_view::npos)
    best = RankAt(pos, q.text.size(), folded.size());
  if (best == Rank::Exact) return best;
  if (Rank r = Rank::Section; q.useRomaji && RomajiMatch(q, folded, r)) best = Best(best, r);
  if (!q.digits.empty())
    if (const auto pos = digits.find(q.digits); pos != std::string_view::npos)
      best = Best(best, pos == 0 ? Rank::Start : Rank::Anywhere);
  if (!best && q.section != 0 && letter == q.section) best = Rank::Section;
  return best;
}
}  // namespace

std::vector<Hit> Index::Find(std::string_view query, std::size_t limit) const {
  const Query q = Prepare(query);
  if (q.text.empty()) return {};
  std::array<std::vector<Hit>, 4> byRank;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    const Entry& e = entries_[i];
    if (const std::optional<Rank> r = Match(q, Folded(e), Digits(e), e.letter))
      byRank[static_cast<std::size_t>(*r)].push_back({i, *r});
  }
  std::vector<Hit> out;
  for (auto& hits : byRank)
    for (const Hit& h : hits) {
      if (out.size() >= limit) return out;
      out.push_back(h);
    }
  return out;
}

}  // namespace phonefind
