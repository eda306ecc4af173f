// The readings file (checked before use) and the segmentation of a kanji name into dictionary words.
#include "find/Readings.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/TextFile.h"

namespace readings {
namespace {

constexpr std::size_t kHeader = 16;
constexpr std::uint32_t kVersion = 1;
constexpr std::size_t kLongestWord = 12;  // as the converter keeps them
constexpr char16_t kSeparator = u'\t';

std::uint32_t U32(const char* p) {
  const auto* b = reinterpret_cast<const unsigned char*>(p);
  return b[0] | b[1] << 8 | b[2] << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

bool IsKanji(char16_t c) {
  return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0xF900 && c <= 0xFAFF) ||
         c == u'々' || c == u'〆' || c == u'ヶ';
}

// The first index in [from, to) where `holds` is false, `holds` being true before it and false after.
template <class Holds>
std::size_t FirstNot(std::size_t from, std::size_t to, Holds holds) {
  while (from < to) {
    const std::size_t middle = from + (to - from) / 2;
    if (holds(middle))
      from = middle + 1;
    else
      to = middle;
  }
  return from;
}

}  // namespace

Dictionary Dictionary::FromBytes(std::string_view bytes, std::string* error) {
  Dictionary d;
  const char* why = d.Take(bytes);
  if (why) {
    if (error) *error = why;
    return {};
  }
  return d;
}

Dictionary Dictionary::FromFile(const std::string& path, std::string* error) {
  const textfile::Bytes file = textfile::ReadAll(path);
  if (file.status != textfile::ReadStatus::Ok) {
    if (error) *error = "cannot be read";
    return {};
  }
  return FromBytes(file.data, error);
}

const char* Dictionary::Take(std::string_view bytes) {
  if (bytes.size() < kHeader || bytes.substr(0, 4) != "DNRD") return "not a readings file";
  if (U32(bytes.data() + 4) != kVersion) return "unknown version";
  const std::uint64_t count = U32(bytes.data() + 8), units = U32(bytes.data() + 12);
  if (kHeader + 4 * (count + 1) + 2 * units != bytes.size()) return "wrong length";
  offsets_.resize(count + 1);
  for (std::size_t i = 0; i <= count; ++i) offsets_[i] = U32(bytes.data() + kHeader + 4 * i);
  pool_.resize(units);
  const char* pool = bytes.data() + kHeader + 4 * (count + 1);
  for (std::size_t i = 0; i < units; ++i)
    pool_[i] = static_cast<char16_t>(static_cast<unsigned char>(pool[2 * i]) |
                                     static_cast<unsigned char>(pool[2 * i + 1]) << 8);
  if (offsets_.front() != 0 || offsets_.back() != units) return "offsets out of range";
  for (std::size_t i = 0; i < count; ++i) {
    if (offsets_[i] > offsets_[i + 1]) return "offsets out of order";
    const std::u16string_view record(pool_.data() + offsets_[i], offsets_[i + 1] - offsets_[i]);
    const std::size_t tab = record.find(kSeparator);
    if (tab == 0 || tab == std::u16string_view::npos || tab > kLongestWord || tab + 1 >= record.size())
      return "damaged word";
    if (i > 0 && !(Surface(i - 1) < Surface(i))) return "words out of order";
  }
  return nullptr;
}

std::u16string_view Dictionary::Surface(std::size_t i) const {
  const std::u16string_view record(pool_.data() + offsets_[i], offsets_[i + 1] - offsets_[i]);
  return record.substr(0, record.find(kSeparator));
}

Dictionary::Word Dictionary::At(std::size_t i) const {
  const std::u16string_view record(pool_.data() + offsets_[i], offsets_[i + 1] - offsets_[i]);
  const std::size_t tab = record.find(kSeparator);
  return {tab, static_cast<int>(record[tab + 1]) - 32768, record.substr(tab + 2)};
}

std::vector<Dictionary::Word> Dictionary::Prefixes(std::u16string_view text) const {
  std::vector<Word> out;
  std::size_t lo = 0, hi = Words();  // the words that begin with what has been matched so far
  for (std::size_t length = 1; length <= std::min(text.size(), kLongestWord) && lo < hi; ++length) {
    // Words in [lo, hi) share the first length-1 characters, so they are ordered by the next one: only
    // that one is compared (a word that ends there has its separator there, read as 0: it sorts first).
    const char16_t next = text[length - 1];
    if (next == 0) break;  // no word holds it
    auto at = [&](std::size_t i) {
      const char16_t c = pool_[offsets_[i] + length - 1];
      return c == kSeparator ? char16_t{0} : c;
    };
    lo = FirstNot(lo, hi, [&](std::size_t i) { return at(i) < next; });
    hi = FirstNot(lo, hi, [&](std::size_t i) { return at(i) == next; });
    if (lo < hi && pool_[offsets_[lo] + length] == kSeparator) out.push_back(At(lo));
  }
  return out;
}

namespace {

// One stretch of a word, read by the dictionary or as itself, with its ways of reading.
struct Piece {
  std::vector<std::u16string_view> ways;
  bool fromDictionary = false;
};

std::vector<std::u16string_view> Split(std::u16string_view list) {
  std::vector<std::u16string_view> out;
  for (std::size_t from = 0; from <= list.size();) {
    const std::size_t comma = std::min(list.find(u',', from), list.size());
    if (comma > from) out.push_back(list.substr(from, comma - from));
    from = comma + 1;
  }
  return out;
}

// The likeliest way to cut a word into dictionary words and characters read as themselves: the least
// total cost, a kanji the dictionary does not know costing more than any word.
std::vector<Piece> Segment(const Dictionary& dictionary, std::u16string_view word) {
  constexpr long kPerWord = 1000, kItself = 1500, kUnknown = 60000;
  constexpr long kNone = std::numeric_limits<long>::max();
  const std::size_t n = word.size();
  std::vector<long> best(n + 1, kNone);
  struct Step {
    std::size_t from = 0;
    std::u16string_view readings;  // empty: the character itself
  };
  std::vector<Step> how(n + 1);
  best[0] = 0;
  for (std::size_t i = 0; i < n; ++i) {
    if (best[i] == kNone) continue;
    auto offer = [&](std::size_t end, long cost, std::u16string_view readings) {
      if (best[i] + cost < best[end]) {
        best[end] = best[i] + cost;
        how[end] = {i, readings};
      }
    };
    offer(i + 1, IsKanji(word[i]) ? kUnknown : kItself, {});
    for (const Dictionary::Word& w : dictionary.Prefixes(word.substr(i)))
      offer(i + w.length, std::max(0, w.cost) + kPerWord, w.readings);
  }
  std::vector<Piece> pieces;
  for (std::size_t end = n; end > 0; end = how[end].from) {
    const Step& s = how[end];
    Piece p;
    if (!s.readings.empty()) {
      p.ways = Split(s.readings);
      p.fromDictionary = true;
    }
    if (p.ways.empty()) p.ways.push_back(word.substr(s.from, end - s.from));
    pieces.push_back(std::move(p));
  }
  std::reverse(pieces.begin(), pieces.end());
  return pieces;
}

struct Partial {
  Reading reading;
  std::size_t rank = 0;  // the sum of the ways' places in their lists: 0 is the likeliest
};

void MarkStart(Reading& r) {
  if (r.kana.size() < 32) r.starts |= std::uint32_t{1} << r.kana.size();
}

}  // namespace

namespace {
// Every partial reading carried on by each way of reading the next piece, the likeliest `limit` kept.
std::vector<Partial> Extend(const std::vector<Partial>& partial, const Piece& piece, bool starts,
                            std::size_t limit) {
  std::vector<Partial> next;
  for (const Partial& p : partial)
    for (std::size_t w = 0; w < piece.ways.size(); ++w) {
      Partial q = p;
      if (starts) MarkStart(q.reading);
      for (char16_t c : piece.ways[w])
        q.reading.kana.push_back(piece.fromDictionary || !IsKanji(c) ? c : kUnread);
      q.rank += w;
      next.push_back(std::move(q));
    }
  std::stable_sort(next.begin(), next.end(),
                   [](const Partial& a, const Partial& b) { return a.rank < b.rank; });
  if (next.size() > limit) next.resize(limit);
  return next;
}
}  // namespace

std::vector<Reading> ReadName(const Dictionary& dictionary, std::u16string_view name, std::size_t limit) {
  name = name.substr(0, kLongestName);
  if (limit == 0 || std::none_of(name.begin(), name.end(), IsKanji)) return {};
  std::vector<Partial> partial{{Reading{{}, 0}, 0}};
  bool afterDictionary = false;
  for (std::size_t i = name.find_first_not_of(u" \t"); i < name.size();
       i = name.find_first_not_of(u" \t", i)) {
    const std::size_t end = std::min(name.find_first_of(u" \t", i), name.size());
    bool wordStart = true;
    for (const Piece& piece : Segment(dictionary, name.substr(i, end - i))) {
      partial = Extend(partial, piece, wordStart || piece.fromDictionary || afterDictionary, limit);
      wordStart = false;
      afterDictionary = piece.fromDictionary;
    }
    i = end;
  }
  // A reading with nothing read in it finds nothing: the name is left to its text and letter.
  std::vector<Reading> out;
  for (Partial& p : partial) {
    const std::u16string& k = p.reading.kana;
    if (std::all_of(k.begin(), k.end(), [](char16_t c) { return c == kUnread; })) continue;
    if (std::none_of(out.begin(), out.end(), [&](const Reading& r) { return r.kana == k; }))
      out.push_back(std::move(p.reading));
  }
  return out;
}

}  // namespace readings
