// The quick-find matcher: folding and keys of each entry, the index and its ranked passes (the romaji
// speller is find/Romaji.cpp).
#include "find/PhoneFind.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <unordered_set>

#include "find/Romaji.h"
#include "platform/TextChars.h"

namespace phonefind {
namespace {

using textchars::ForEachCodePoint;

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

bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

// The character an entry and a query are compared by: ぢ and づ as romaji spells them, を/ゐ/ゑ as お/い/え.
char16_t KeyOf(char16_t c) {
  switch (c) {
    case u'ぢ':
      return u'じ';
    case u'づ':
      return u'ず';
    case u'を':
      return u'お';
    case u'ゐ':
      return u'い';
    case u'ゑ':
      return u'え';
    case u'\uFFFF':
      return u'\uFFFD';  // what UTF-16 cannot hold in one unit: kEnd stays unique
    default:
      return c;
  }
}

// Text with spaces left out and each character as KeyOf; the places where words began.
struct Keyed {
  std::u16string text;
  std::uint32_t starts = 1;
  std::size_t name = 0;  // characters before the first digit, signs at its end left off
};
Keyed Key(std::u16string_view folded) {
  Keyed k;
  bool wordStart = true;
  std::size_t digitAt = std::u16string::npos;
  for (char16_t c : folded) {
    if (IsSpace(c)) {
      wordStart = true;
      continue;
    }
    if (wordStart && k.text.size() < 32) k.starts |= std::uint32_t{1} << k.text.size();
    wordStart = false;
    if (IsDigit(c) && digitAt == std::u16string::npos) digitAt = k.text.size();
    k.text.push_back(KeyOf(c));
  }
  k.name = std::min(digitAt, k.text.size());
  while (k.name > 0 &&
         std::u16string_view(u"-()+.,:/・　").find(k.text[k.name - 1]) != std::u16string_view::npos)
    --k.name;
  return k;
}

// The same text with long vowels left out, as passports write names (いとう as いと, おおた as おた, ゆうこ
// as ゆこ, ー dropped); starts and name moved with it.
Keyed Loose(const Keyed& k) {
  Keyed out;
  out.starts = 0;
  for (std::size_t i = 0; i < k.text.size(); ++i) {
    const char16_t c = k.text[i];
    const char before = out.text.empty() ? '\0' : VowelOf(out.text.back());
    const bool drop =
        c == u'ー' || (c == u'う' && (before == 'o' || before == 'u')) || (c == u'お' && before == 'o');
    if (i < 32 && (k.starts >> i & 1) && out.text.size() < 32)
      out.starts |= std::uint32_t{1} << out.text.size();
    if (i == k.name) out.name = out.text.size();
    if (!drop) out.text.push_back(c);
  }
  if (k.name >= k.text.size()) out.name = out.text.size();
  return out;
}

bool IsHiragana(char16_t c) {
  return (c >= 0x3041 && c <= 0x3096) || c == u'ー';
}

}  // namespace

std::u16string Trimmed(const std::u16string& s) {
  const auto first = s.find_first_not_of(u' ');
  if (first == std::u16string::npos) return {};
  return s.substr(first, s.find_last_not_of(u' ') - first + 1);
}

bool IsSpace(char16_t c) {
  return c == u' ' || c == u'\t';
}

std::u16string Fold(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  FoldInto(utf8, out);
  return out;
}

int LetterOfKana(char16_t c) {
  if (c == u'ゔ') c = u'う';
  if (c == u'を') c = u'わ';
  if (c == u'ゐ') c = u'い';
  if (c == u'ゑ') c = u'え';
  if (c == u'ゎ') c = u'わ';
  // Small kana under their full size; voiced kana under the plain one.
  if (std::u16string_view(u"ぁぃぅぇぉっゃゅょ").find(c) != std::u16string_view::npos) ++c;
  if (c > u'か' && c <= u'ぽ' && !TakesDakuten(c) && c != u'っ') {
    if (TakesDakuten(c - 1))
      c -= 1;
    else if (TakesHandakuten(c - 2))
      c -= 2;
  }
  static const std::u16string letters = textchars::Utf16(kana::kIndexString);
  const auto at = letters.find(c);
  return at == std::u16string::npos ? 0 : static_cast<int>(at) + 1;
}

int Order(const Hit& h) {
  if (h.rank == Rank::Section) return 12;
  return (h.reading >= 0 ? 6 : 0) + static_cast<int>(h.rank) * 2 + (h.loose ? 1 : 0);
}

namespace {
// The character after every segment: no query holds it, so no match runs from one into the next.
constexpr char16_t kEnd = u'\uFFFF';
constexpr std::uint8_t kNoHit = 0xFF;
}  // namespace

void Index::Store::Add(std::u16string_view s, std::uint32_t entry, std::uint32_t starts, std::size_t name,
                       std::uint8_t reading) {
  segments.push_back({static_cast<std::uint32_t>(text.size()), entry, starts,
                      static_cast<std::uint16_t>(std::min<std::size_t>(name, UINT16_MAX)), reading});
  text.append(s);
  text.push_back(kEnd);
}

void Index::Store::Trim() {
  text.shrink_to_fit();
  segments.shrink_to_fit();
}

// A surname comes again and again: each name is read once, its readings keyed once.
class Index::ReadingCache {
 public:
  struct Way {
    Keyed exact, loose;
  };
  explicit ReadingCache(const readings::Dictionary& dictionary) : dictionary_(dictionary) {}
  const std::vector<Way>& Of(std::u16string_view written) {
    auto it = known_.find(written);
    if (it != known_.end()) return it->second;
    std::vector<Way> ways;
    for (const readings::Reading& r : readings::ReadName(dictionary_, written, kReadingsPerEntry)) {
      Keyed exact{r.kana, r.starts, r.kana.size()};
      for (char16_t& c : exact.text) c = KeyOf(c);
      Keyed loose = Loose(exact);
      ways.push_back({std::move(exact), std::move(loose)});
    }
    return known_.emplace(std::u16string(written), std::move(ways)).first->second;
  }

 private:
  const readings::Dictionary& dictionary_;
  std::map<std::u16string, std::vector<Way>, std::less<>> known_;
};

void Index::AddGroup(int group, std::array<std::vector<std::string>, kana::kLetterCount + 1>&& byLetter) {
  std::optional<ReadingCache> cache;
  if (dictionary_) cache.emplace(*dictionary_);
  for (int k = 1; k <= kana::kLetterCount; ++k)
    for (std::string& line : byLetter[static_cast<std::size_t>(k)])
      Add(group, k, std::move(line), cache ? &*cache : nullptr);
  for (Store* s : {&lines_, &looseLines_, &digits_, &readings_, &looseReadings_}) s->Trim();
  entries_.shrink_to_fit();
}

void Index::Add(int group, int letter, std::string&& line, ReadingCache* cache) {
  const auto id = static_cast<std::uint32_t>(entries_.size());
  Entry e{group, letter, std::move(line)};
  std::u16string folded;
  FoldInto(e.line, folded);
  const Keyed key = Key(folded);
  lines_.Add(key.text, id, key.starts, key.name);
  const Keyed loose = Loose(key);
  if (loose.text != key.text) looseLines_.Add(loose.text, id, loose.starts, loose.name);
  std::u16string digits;
  std::copy_if(key.text.begin(), key.text.end(), std::back_inserter(digits), IsDigit);
  if (!digits.empty()) digits_.Add(digits, id, 1, 0);
  if (cache) {
    // The name as written: up to the first digit.
    const std::u16string_view written(folded.data(),
                                      std::min(folded.size(), folded.find_first_of(u"0123456789")));
    e.firstReading = static_cast<std::uint32_t>(readings_.segments.size());
    for (const ReadingCache::Way& w : cache->Of(written)) {
      const auto n = static_cast<std::uint8_t>(e.readings++);
      readings_.Add(w.exact.text, id, w.exact.starts, w.exact.text.size(), n);
      if (w.loose.text != w.exact.text)
        looseReadings_.Add(w.loose.text, id, w.loose.starts, w.loose.text.size(), n);
    }
  }
  entries_.push_back(std::move(e));
}

std::u16string_view Index::Reading(const Entry& e, std::size_t k) const {
  if (k >= e.readings) return {};
  const Segment& s = readings_.segments[e.firstReading + k];
  return std::u16string_view(readings_.text).substr(s.at, readings_.End(e.firstReading + k) - s.at);
}

std::u16string Index::ReadingShown(const Entry& e, std::size_t k) const {
  if (k >= e.readings) return {};
  const std::u16string_view r = Reading(e, k);
  const std::uint32_t starts = readings_.segments[e.firstReading + k].starts;
  std::u16string out;
  for (std::size_t i = 0; i < r.size(); ++i) {
    if (i > 0 && i < 32 && (starts >> i & 1)) out.push_back(u' ');
    out.push_back(r[i]);
  }
  return out;
}

std::size_t Index::IndexBytes() const {
  std::size_t n = entries_.capacity() * sizeof(Entry);
  for (const Store* s : {&lines_, &looseLines_, &digits_, &readings_, &looseReadings_})
    n += s->text.capacity() * sizeof(char16_t) + s->segments.capacity() * sizeof(Segment);
  return n;
}

// What a query looks for: kana (or text) and the set of kana that may follow it (an unfinished tail).
struct Index::Needle {
  std::u16string text;
  std::u16string next;    // empty: anything may follow
  bool hiragana = false;  // only kana: worth looking for among the readings
  bool operator==(const Needle& o) const { return text == o.text && next == o.next; }
};

// Every needle of a query: exactly as typed (and as each romaji reading), and loosely.
struct Index::Query {
  std::u16string text;
  std::vector<Needle> exact, loose;
  std::u16string digits;  // set when the query is digits and separators only
  int section = 0;        // the letter whose entries are listed last

  static void Add(std::vector<Needle>& list, Needle n) {
    n.hiragana = !n.text.empty() && std::all_of(n.text.begin(), n.text.end(), IsHiragana);
    if (n.text.empty() && n.next.empty()) return;
    if (std::find(list.begin(), list.end(), n) == list.end()) list.push_back(std::move(n));
  }

  explicit Query(std::string_view raw) : text(Trimmed(Fold(raw))) {
    if (text.empty()) return;
    Add(exact, {Key(text).text, {}});
    bool digitsOnly = true, latin = false;
    for (char16_t c : text) {
      if (IsDigit(c))
        digits.push_back(c);
      else if (std::u16string_view(u" -()+.ー").find(c) == std::u16string_view::npos)
        digitsOnly = false;
      latin = latin || (c >= u'a' && c <= u'z') || LongVowel(c);
    }
    if (!digitsOnly) digits.clear();
    const std::vector<Romaji> spellings = latin ? RomajiSpellings(raw) : std::vector<Romaji>{};
    for (const Romaji& r : spellings) {
      Needle n{Key(r.kana).text, {}};
      for (char16_t c : r.tail.empty() ? std::u16string() : KanaStartingWith(r.tail))
        n.next.push_back(KeyOf(c));
      Add(exact, std::move(n));
    }
    for (const Needle& n : exact) Add(loose, {Loose(Keyed{n.text}).text, n.next});
    const char16_t first =
        !spellings.empty() && !spellings.front().kana.empty() ? spellings.front().kana[0] : text[0];
    section = first >= 0x3041 && first <= 0x3096 ? LetterOfKana(first) : 0;
  }
};

namespace {

// A needle's places in UTF-16 text, found over its bytes: the standard library's byte search runs on
// memchr, several times faster than a char16_t loop or Horspool's skips over kana, whose skips stay
// short. A match at an odd byte straddles two characters and is passed over.
class Finder {
 public:
  explicit Finder(std::u16string_view needle) : n_(Bytes(needle)) {}
  std::size_t Next(std::u16string_view hay, std::size_t from) const {
    const std::string_view bytes = Bytes(hay);
    for (std::size_t at = from * 2; (at = bytes.find(n_, at)) != std::string_view::npos; ++at)
      if (at % 2 == 0) return at / 2;
    return std::u16string_view::npos;
  }

 private:
  static std::string_view Bytes(std::u16string_view s) {
    return {reinterpret_cast<const char*>(s.data()), s.size() * sizeof(char16_t)};
  }
  std::string_view n_;
};

// A set of hiragana, as bits over the block.
class KanaSet {
 public:
  explicit KanaSet(std::u16string_view kana) {
    for (char16_t c : kana)
      if (c >= 0x3040 && c < 0x30A0) in_[c - 0x3040] = true;
  }
  bool Has(char16_t c) const { return c >= 0x3040 && c < 0x30A0 && in_[c - 0x3040]; }

 private:
  std::array<bool, 0x60> in_{};
};

}  // namespace

// The best place found so far for each entry (its Order, kNoHit for none) and, for a reading, which
// one (plus one: 0 for none).
struct Index::Marks {
  explicit Marks(std::size_t entries) : best(entries, kNoHit), reading(entries, 0) {}
  std::vector<std::uint8_t> best, reading;
};

// One needle over one store: the hits in order, each marked in the entry it falls in.
struct Index::Pass {
  const Store& store;
  std::size_t length;  // the needle's
  bool reading, loose;
  Marks& marks;
  std::size_t s = 0;  // the segment of the last hit; hits come in order

  // Marks a hit at `pos` (`complete`: nothing more was asked to follow); where to look next.
  std::size_t Mark(std::size_t pos, bool complete) {
    while (store.End(s) < pos) ++s;
    const Segment& seg = store.segments[s];
    const std::size_t rel = pos - seg.at;
    Hit h{seg.entry, Rank::Anywhere, loose, reading ? seg.reading : -1};
    if (complete && rel == 0 && length == seg.name)
      h.rank = Rank::Exact;
    else if (rel == 0 || (rel < 32 && (seg.starts >> rel & 1)))
      h.rank = Rank::Start;
    const auto order = static_cast<std::uint8_t>(Order(h));
    if (order < marks.best[seg.entry]) {
      marks.best[seg.entry] = order;
      marks.reading[seg.entry] = static_cast<std::uint8_t>(h.reading + 1);
    }
    // Nothing later in this segment can do better than its start.
    return h.rank != Rank::Anywhere ? store.End(s) : pos + 1;
  }
};

void Index::Scan(const Store& store, const Needle& needle, bool reading, bool loose, Marks& marks) const {
  const std::u16string_view hay = store.text;
  Pass pass{store, needle.text.size(), reading, loose, marks};
  const KanaSet may(needle.next);
  if (needle.text.empty()) {  // only a tail: any kana it can begin
    for (std::size_t pos = 0; pos < hay.size();) pos = may.Has(hay[pos]) ? pass.Mark(pos, false) : pos + 1;
    return;
  }
  const Finder finder(needle.text);
  const std::size_t m = needle.text.size();
  for (std::size_t pos = finder.Next(hay, 0); pos != std::u16string_view::npos; pos = finder.Next(hay, pos)) {
    if (needle.next.empty())
      pos = pass.Mark(pos, true);
    else if (pos + m < hay.size() && may.Has(hay[pos + m]))
      pos = pass.Mark(pos, false);
    else
      ++pos;
  }
}

void Index::ScanAll(const Query& q, Marks& marks) const {
  for (const Needle& n : q.exact) {
    Scan(lines_, n, false, false, marks);
    if (n.hiragana || n.text.empty()) Scan(readings_, n, true, false, marks);
  }
  for (const Needle& n : q.loose) {
    if (n.text.empty()) continue;
    Scan(looseLines_, n, false, true, marks);
    // A loose needle that is also an exact one has been looked for in the exact text already.
    const bool same = std::find(q.exact.begin(), q.exact.end(), n) != q.exact.end();
    if (!same) Scan(lines_, n, false, true, marks);
    if (!n.hiragana) continue;
    Scan(looseReadings_, n, true, true, marks);
    if (!same) Scan(readings_, n, true, true, marks);
  }
  if (!q.digits.empty()) Scan(digits_, {q.digits, {}}, false, false, marks);
}

std::vector<Hit> Index::Find(std::string_view raw, std::size_t limit) const {
  const Query q(raw);
  if (q.text.empty()) return {};
  Marks marks(entries_.size());
  ScanAll(q, marks);
  std::array<std::vector<Hit>, 13> byOrder;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    Hit h{i, Rank::Section};
    if (marks.best[i] != kNoHit) {
      h.reading = marks.reading[i] - 1;
      const int within = marks.best[i] - (h.reading >= 0 ? 6 : 0);
      h.rank = static_cast<Rank>(within / 2);
      h.loose = within % 2 != 0;
    } else if (q.section == 0 || entries_[i].letter != q.section) {
      continue;
    }
    byOrder[static_cast<std::size_t>(Order(h))].push_back(h);
  }
  return Listed(byOrder, limit);
}

std::vector<Hit> Index::Listed(const std::array<std::vector<Hit>, 13>& byOrder, std::size_t limit) const {
  // Within each rank, one name written several ways (kanji, katakana, half width, hiragana) shows once
  // before the others' turn, so it does not fill the first screen; its other spellings follow. The
  // letter's section (the last) keeps its file order.
  std::vector<Hit> out;
  std::unordered_set<std::u16string_view> seen;
  std::vector<Hit> later;
  for (std::size_t o = 0; o < byOrder.size() && out.size() < limit; ++o) {
    seen.clear();
    later.clear();
    for (const Hit& h : byOrder[o]) {
      if (out.size() >= limit) break;
      if (o == byOrder.size() - 1 || seen.insert(NameKey(h)).second)
        out.push_back(h);
      else
        later.push_back(h);
    }
    for (std::size_t i = 0; i < later.size() && out.size() < limit; ++i) out.push_back(later[i]);
  }
  return out;
}

std::u16string_view Index::NameKey(const Hit& h) const {
  const Entry& e = entries_[h.entry];
  if (h.reading >= 0) return Reading(e, static_cast<std::size_t>(h.reading));
  const Segment& s = lines_.segments[h.entry];
  const std::size_t length = lines_.End(h.entry) - s.at;
  return std::u16string_view(lines_.text).substr(s.at, s.name > 0 ? s.name : length);
}

}  // namespace phonefind
