#include "find/PhoneFind.h"

#include <algorithm>
#include <map>
#include <string>

namespace phonefind {
namespace {

// UTF-8 to code points; bytes that do not form a character are dropped.
std::u32string Decode(std::string_view s) {
  std::u32string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    int n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + static_cast<std::size_t>(n) > s.size()) {
      ++i;
      continue;
    }
    char32_t cp = n == 1 ? c : c & (0x7F >> n);
    bool ok = true;
    for (int k = 1; k < n; ++k) {
      const auto t = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
      ok = ok && (t & 0xC0) == 0x80;
      cp = cp << 6 | (t & 0x3F);
    }
    i += ok ? static_cast<std::size_t>(n) : 1;
    if (ok) out.push_back(cp);
  }
  return out;
}

// Half-width katakana U+FF61..U+FF9D as full-width hiragana (signs as their full forms).
constexpr std::u32string_view kHalfWidth =
    U"。「」、・をぁぃぅぇぉゃゅょっーあいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめも"
    U"やゆよらりるれろわん";

bool TakesDakuten(char32_t c) {
  return (c >= U'か' && c <= U'ぢ' && (c - U'か') % 2 == 0) || c == U'つ' || c == U'て' || c == U'と' ||
         (c >= U'は' && c <= U'ほ' && (c - U'は') % 3 == 0);
}
bool TakesHandakuten(char32_t c) {
  return c >= U'は' && c <= U'ほ' && (c - U'は') % 3 == 0;
}

// A voicing mark after a kana joins it (ｶﾞ, か゛ and か followed by the combining mark alike).
bool JoinVoicing(std::u32string& out, char32_t mark) {
  if (out.empty()) return false;
  char32_t& prev = out.back();
  const bool dakuten = mark == 0xFF9E || mark == 0x309B || mark == 0x3099;
  if (dakuten && prev == U'う') {
    prev = U'ゔ';
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

char32_t FoldOne(char32_t c) {
  if (c >= U'A' && c <= U'Z') return c + 32;
  if (c >= 0x30A1 && c <= 0x30F6) return c - 0x60;             // katakana
  if (c >= 0xFF01 && c <= 0xFF5E) return FoldOne(c - 0xFEE0);  // full-width ASCII
  if (c >= 0xFF61 && c <= 0xFF9D) return kHalfWidth[c - 0xFF61];
  if (c == 0x3000) return U' ';
  return c;
}

bool IsVoicingMark(char32_t c) {
  return c == 0xFF9E || c == 0xFF9F || c == 0x309B || c == 0x309C || c == 0x3099 || c == 0x309A;
}

std::u32string FoldCodePoints(const std::u32string& in) {
  std::u32string out;
  out.reserve(in.size());
  for (char32_t c : in) {
    if (IsVoicingMark(c) && JoinVoicing(out, c)) continue;
    out.push_back(FoldOne(c));
  }
  return out;
}

std::u32string Trimmed(std::u32string s) {
  const auto first = s.find_first_not_of(U' ');
  if (first == std::u32string::npos) return {};
  return s.substr(first, s.find_last_not_of(U' ') - first + 1);
}

// Romaji spellings and the kana they give. Both Hepburn and kunrei, with the usual extras of input
// methods (fa, je, tsa ...).
const std::map<std::string, std::u32string, std::less<>>& RomajiTable() {
  static const auto table = [] {
    std::map<std::string, std::u32string, std::less<>> t{
        {"a", U"あ"},     {"i", U"い"},     {"u", U"う"},     {"e", U"え"},     {"o", U"お"},
        {"-", U"ー"},     {"ka", U"か"},    {"ki", U"き"},    {"ku", U"く"},    {"ke", U"け"},
        {"ko", U"こ"},    {"sa", U"さ"},    {"si", U"し"},    {"shi", U"し"},   {"su", U"す"},
        {"se", U"せ"},    {"so", U"そ"},    {"ta", U"た"},    {"ti", U"ち"},    {"chi", U"ち"},
        {"tu", U"つ"},    {"tsu", U"つ"},   {"te", U"て"},    {"to", U"と"},    {"na", U"な"},
        {"ni", U"に"},    {"nu", U"ぬ"},    {"ne", U"ね"},    {"no", U"の"},    {"ha", U"は"},
        {"hi", U"ひ"},    {"hu", U"ふ"},    {"fu", U"ふ"},    {"he", U"へ"},    {"ho", U"ほ"},
        {"ma", U"ま"},    {"mi", U"み"},    {"mu", U"む"},    {"me", U"め"},    {"mo", U"も"},
        {"ya", U"や"},    {"yu", U"ゆ"},    {"yo", U"よ"},    {"ra", U"ら"},    {"ri", U"り"},
        {"ru", U"る"},    {"re", U"れ"},    {"ro", U"ろ"},    {"wa", U"わ"},    {"wo", U"を"},
        {"nn", U"ん"},    {"n'", U"ん"},    {"ga", U"が"},    {"gi", U"ぎ"},    {"gu", U"ぐ"},
        {"ge", U"げ"},    {"go", U"ご"},    {"za", U"ざ"},    {"zi", U"じ"},    {"ji", U"じ"},
        {"zu", U"ず"},    {"ze", U"ぜ"},    {"zo", U"ぞ"},    {"da", U"だ"},    {"di", U"ぢ"},
        {"du", U"づ"},    {"de", U"で"},    {"do", U"ど"},    {"ba", U"ば"},    {"bi", U"び"},
        {"bu", U"ぶ"},    {"be", U"べ"},    {"bo", U"ぼ"},    {"pa", U"ぱ"},    {"pi", U"ぴ"},
        {"pu", U"ぷ"},    {"pe", U"ぺ"},    {"po", U"ぽ"},    {"vu", U"ゔ"},    {"fa", U"ふぁ"},
        {"fi", U"ふぃ"},  {"fe", U"ふぇ"},  {"fo", U"ふぉ"},  {"tsa", U"つぁ"}, {"ja", U"じゃ"},
        {"ju", U"じゅ"},  {"je", U"じぇ"},  {"jo", U"じょ"},  {"cha", U"ちゃ"}, {"chu", U"ちゅ"},
        {"che", U"ちぇ"}, {"cho", U"ちょ"}, {"sha", U"しゃ"}, {"shu", U"しゅ"}, {"she", U"しぇ"},
        {"sho", U"しょ"}, {"xa", U"ぁ"},    {"xi", U"ぃ"},    {"xu", U"ぅ"},    {"xe", U"ぇ"},
        {"xo", U"ぉ"},    {"xtu", U"っ"},   {"xya", U"ゃ"},   {"xyu", U"ゅ"},   {"xyo", U"ょ"},
        {"la", U"ぁ"},    {"li", U"ぃ"},    {"lu", U"ぅ"},    {"le", U"ぇ"},    {"lo", U"ぉ"},
        {"ltu", U"っ"},   {"lya", U"ゃ"},   {"lyu", U"ゅ"},   {"lyo", U"ょ"},
    };
    // The contracted sounds: ky, sy, ty, ny ... with a, u, o (and e where input methods take it).
    const std::pair<const char*, std::u32string_view> youon[] = {
        {"ky", U"き"}, {"sy", U"し"}, {"ty", U"ち"}, {"cy", U"ち"}, {"ny", U"に"},
        {"hy", U"ひ"}, {"my", U"み"}, {"ry", U"り"}, {"gy", U"ぎ"}, {"zy", U"じ"},
        {"jy", U"じ"}, {"dy", U"ぢ"}, {"by", U"び"}, {"py", U"ぴ"}};
    for (const auto& [head, kana] : youon) {
      t.emplace(std::string(head) + "a", std::u32string(kana) + U"ゃ");
      t.emplace(std::string(head) + "u", std::u32string(kana) + U"ゅ");
      t.emplace(std::string(head) + "o", std::u32string(kana) + U"ょ");
      t.emplace(std::string(head) + "e", std::u32string(kana) + U"ぇ");
    }
    return t;
  }();
  return table;
}

bool IsConsonant(char c) {
  return c >= 'a' && c <= 'z' && c != 'a' && c != 'i' && c != 'u' && c != 'e' && c != 'o';
}

// The first kana of every spelling that begins with `tail`, and っ where the tail could double.
std::u32string KanaStartingWith(std::string_view tail) {
  std::u32string set;
  const auto& table = RomajiTable();
  for (auto it = table.lower_bound(tail); it != table.end() && it->first.compare(0, tail.size(), tail) == 0;
       ++it)
    if (set.find(it->second[0]) == std::u32string::npos) set.push_back(it->second[0]);
  if (tail.size() == 1 && IsConsonant(tail[0]) && tail[0] != 'n') set.push_back(U'っ');
  if (tail == "n") set.push_back(U'ん');
  return set;
}

bool IsLetterOrMark(char32_t c) {
  return (c >= U'a' && c <= U'z') || c == U'\'' || c == U'-';
}

// Converts one run of Latin letters; false when some part is no romaji at all.
bool ConvertRun(std::string_view run, Romaji& out) {
  const auto& table = RomajiTable();
  std::size_t i = 0;
  while (i < run.size()) {
    const char c = run[i];
    // A doubled consonant is a small つ; n before a consonant (or the end of a longer word) is ん.
    if (i + 1 < run.size() && IsConsonant(c) && c != 'n' && run[i + 1] == c) {
      out.kana.push_back(U'っ');
      ++i;
      continue;
    }
    if (c == 't' && i + 2 < run.size() && run[i + 1] == 'c' && run[i + 2] == 'h') {  // "tchi"
      out.kana.push_back(U'っ');
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
      out.kana.push_back(U'ん');
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

std::u32string IndexLetters() {
  return Decode(kana::kIndexString);
}

bool Contains(std::u32string_view s, char32_t c) {
  return s.find(c) != std::u32string_view::npos;
}

}  // namespace

std::u32string Fold(std::string_view utf8) {
  return FoldCodePoints(Decode(utf8));
}

Romaji RomajiToKana(std::string_view utf8) {
  const std::u32string q = Trimmed(Fold(utf8));
  Romaji out;
  std::string run;
  bool ok = true;
  auto flush = [&] {
    if (run.empty()) return;
    if (!out.tail.empty()) ok = false;  // an unfinished spelling followed by more text
    ok = ok && ConvertRun(run, out);
    run.clear();
  };
  for (char32_t c : q) {
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

int LetterOfKana(char32_t c) {
  if (c == U'ゔ') c = U'う';
  if (c == U'を') c = U'わ';
  if (c == U'ゐ') c = U'い';
  if (c == U'ゑ') c = U'え';
  if (c == U'ゎ') c = U'わ';
  // Small kana under their full size; voiced kana under the plain one.
  if (Contains(U"ぁぃぅぇぉっゃゅょ", c)) ++c;
  if (c > U'か' && c <= U'ぽ' && !TakesDakuten(c) && c != U'っ') {
    if (TakesDakuten(c - 1))
      c -= 1;
    else if (TakesHandakuten(c - 2))
      c -= 2;
  }
  static const std::u32string letters = IndexLetters();
  const auto at = letters.find(c);
  return at == std::u32string::npos ? 0 : static_cast<int>(at) + 1;
}

void Index::AddGroup(int group,
                     const std::array<std::vector<std::string>, kana::kLetterCount + 1>& byLetter) {
  for (int k = 1; k <= kana::kLetterCount; ++k)
    for (const std::string& line : byLetter[static_cast<std::size_t>(k)]) {
      Entry e{group, k, line, Fold(line), {}};
      for (char32_t c : e.folded)
        if (c >= U'0' && c <= U'9') e.digits.push_back(static_cast<char>(c));
      entries_.push_back(std::move(e));
    }
}

namespace {
struct Query {
  std::u32string text;
  Romaji romaji;
  bool useRomaji = false;
  std::u32string tailKana;  // what the romaji tail may begin
  std::string digits;       // set when the query is digits and separators only
  int section = 0;
};

Query Prepare(std::string_view raw) {
  Query q;
  q.text = Trimmed(Fold(raw));
  if (q.text.empty()) return q;
  bool digitsOnly = true;
  for (char32_t c : q.text) {
    if (c >= U'0' && c <= U'9')
      q.digits.push_back(static_cast<char>(c));
    else if (!Contains(U" -()+.ー", c))
      digitsOnly = false;
  }
  if (!digitsOnly) q.digits.clear();
  bool hasLatin = false;
  for (char32_t c : q.text) hasLatin = hasLatin || (c >= U'a' && c <= U'z');
  if (hasLatin) {
    q.romaji = RomajiToKana(raw);
    q.useRomaji = !q.romaji.kana.empty() || !q.romaji.tail.empty();
    if (!q.romaji.tail.empty()) q.tailKana = KanaStartingWith(q.romaji.tail);
  }
  const char32_t first = q.useRomaji && !q.romaji.kana.empty() ? q.romaji.kana[0] : q.text[0];
  if (first >= 0x3041 && first <= 0x3096) q.section = LetterOfKana(first);
  return q;
}

Rank RankAt(std::size_t pos, std::size_t length, std::size_t whole) {
  if (pos == 0 && length == whole) return Rank::Exact;
  return pos == 0 ? Rank::Start : Rank::Anywhere;
}

// The best place the romaji reading matches: kana then one kana the tail can begin.
bool RomajiMatch(const Query& q, const std::u32string& s, Rank& rank) {
  const std::u32string& k = q.romaji.kana;
  for (std::size_t pos = s.find(k); pos != std::u32string::npos; pos = s.find(k, pos + 1)) {
    if (q.romaji.tail.empty()) {
      rank = RankAt(pos, k.size(), s.size());
      return true;
    }
    const std::size_t next = pos + k.size();
    if (next < s.size() && Contains(q.tailKana, s[next])) {
      rank = pos == 0 ? Rank::Start : Rank::Anywhere;
      return true;
    }
    if (pos >= s.size()) break;
  }
  return false;
}

bool Better(Rank a, Rank b) {
  return static_cast<int>(a) < static_cast<int>(b);
}
}  // namespace

std::vector<Hit> Index::Find(std::string_view query, std::size_t limit) const {
  const Query q = Prepare(query);
  std::array<std::vector<Hit>, 4> byRank;
  if (q.text.empty()) return {};
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    const Entry& e = entries_[i];
    bool found = false;
    Rank best = Rank::Section;
    if (const auto pos = e.folded.find(q.text); pos != std::u32string::npos) {
      found = true;
      best = RankAt(pos, q.text.size(), e.folded.size());
    }
    Rank r = Rank::Section;
    if (best != Rank::Exact && q.useRomaji && RomajiMatch(q, e.folded, r) && (!found || Better(r, best))) {
      found = true;
      best = r;
    }
    if (!q.digits.empty() && best != Rank::Exact) {
      if (const auto pos = e.digits.find(q.digits); pos != std::string::npos) {
        r = pos == 0 ? Rank::Start : Rank::Anywhere;
        if (!found || Better(r, best)) best = r;
        found = true;
      }
    }
    if (!found && q.section != 0 && e.letter == q.section) found = true;
    if (found) byRank[static_cast<std::size_t>(best)].push_back({i, best});
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
