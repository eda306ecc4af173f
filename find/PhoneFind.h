// Quick-find over the five phone books: the matching rules, Qt-free.
//
// Text is folded before it is compared: katakana (full and half width) becomes hiragana, full-width
// Latin letters, digits and signs become ASCII, Latin letters lower case. For matching, spaces are
// left out (a surname and a given name are found with or without one between them) and ぢ/づ/を are
// read as じ/ず/お, as romaji spells them. A query is matched four ways, and an entry takes its best:
//  - as text anywhere in the line;
//  - its Latin letters read as romaji: Hepburn, kunrei or nihon-shiki, macrons, the spellings input
//    methods take, an unfinished tail ("k", "sh") matching any kana it can begin; where the letters
//    can be read two ways ("anna": あんな or あんあ) both are tried;
//  - loosely, with long vowels left unwritten as passports do ("ito" for いとう, "ota" for おおた);
//  - a query of digits and separators ("03-1234", "1234 5678") against the line's digits alone;
//  - against the readings of the line's kanji name (田中 is たなか), after every match of the text.
// A query that begins with a kana (or with romaji for one) also lists every entry filed under that
// letter, after all of those. Within each way: the whole name (the text before the number), then the
// start of a word (the surname or the given name), then anywhere; a loose match just below the same
// place spelled exactly. Ties keep group, letter and file order.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/Kana.h"
#include "find/Readings.h"

namespace phonefind {

// The most readings kept for one entry's name.
inline constexpr std::size_t kReadingsPerEntry = 6;

// Folded text of UTF-8 input (invalid bytes are dropped).
std::u16string Fold(std::string_view utf8);
// A romaji query as hiragana with its unfinished tail (ASCII, lower case) left apart. Text that is not
// Latin letters passes through folded, spaces left out.
struct Romaji {
  std::u16string kana;
  std::string tail;
  bool operator==(const Romaji&) const = default;
};
// Every way the query's letters can be read, likeliest first (at most a handful); nothing when some
// letters are no romaji at all.
std::vector<Romaji> RomajiSpellings(std::string_view utf8);
// The kana index (1..44) of the letter a kana is filed under (が under か, ゃ under や), or 0.
int LetterOfKana(char16_t c);

struct Entry {
  int group = 0;     // 1..phonebook::kGroups
  int letter = 0;    // kana index 1..44
  std::string line;  // UTF-8, exactly as the file holds it (decoded)
  // Where this entry's readings lie among the index's readings.
  std::uint32_t firstReading = 0, readings = 0;
};

enum class Rank : std::uint8_t { Exact, Start, Anywhere, Section };
struct Hit {
  std::size_t entry = 0;  // index into the index's entries
  Rank rank = Rank::Anywhere;
  bool loose = false;  // matched only with long vowels left out
  int reading = -1;    // matched through this reading of the name (0.. of the entry's), else -1
};
// Where a hit sorts: lower first.
int Order(const Hit& h);

class Index {
 public:
  // Readings come from `dictionary` (it must outlive the index); without one, kanji names are found
  // by their text and letter only.
  explicit Index(const readings::Dictionary* dictionary = nullptr) : dictionary_(dictionary) {}

  // Adds one group's entries by letter (slot 0 unused), in file order; the lines are moved in.
  void AddGroup(int group, std::array<std::vector<std::string>, kana::kLetterCount + 1>&& byLetter);
  const std::vector<Entry>& Entries() const { return entries_; }
  // One of an entry's readings (hiragana, no spaces), 0 <= k < e.readings.
  std::u16string_view Reading(const Entry& e, std::size_t k) const;
  // The same with a space where each of its words begins ("たなか いちろう"), to show.
  std::u16string ReadingShown(const Entry& e, std::size_t k) const;
  // The hits for `query`, best first; at most `limit`.
  std::vector<Hit> Find(std::string_view query, std::size_t limit = SIZE_MAX) const;
  // Bytes held for the entries' text, keys and readings (not the lines themselves).
  std::size_t IndexBytes() const;

 private:
  // A run of matching text: one entry's line, loose line, digits or one reading, in one buffer; it
  // ends where the next one begins, less the character between them.
  struct Segment {
    std::uint32_t at = 0, entry = 0;
    std::uint32_t starts = 1;  // bit n: a word begins at character n
    std::uint16_t name = 0;    // characters of the name (before the number)
    std::uint8_t reading = 0;
  };
  struct Store {
    std::u16string text;  // segments end to end, each followed by a character no query holds
    std::vector<Segment> segments;
    void Add(std::u16string_view s, std::uint32_t entry, std::uint32_t starts, std::size_t name,
             std::uint8_t reading = 0);
    std::size_t End(std::size_t s) const {
      return (s + 1 < segments.size() ? segments[s + 1].at : text.size()) - 1;
    }
    void Trim();
  };
  class ReadingCache;
  void Add(int group, int letter, std::string&& line, ReadingCache* cache);
  struct Needle;
  struct Query;
  struct Marks;
  struct Pass;
  // What makes two hits the same name: the name's folded text, or the reading it was found by.
  std::u16string_view NameKey(const Hit& h) const;
  // Marks for each entry the best place `needle` is found in `store`.
  void Scan(const Store& store, const Needle& needle, bool reading, bool loose, Marks& marks) const;
  // Every needle of the query over the stores it belongs in.
  void ScanAll(const Query& q, Marks& marks) const;
  // The hits of each order (best first), as many as `limit`, in the order the window lists them.
  std::vector<Hit> Listed(const std::array<std::vector<Hit>, 13>& byOrder, std::size_t limit) const;

  const readings::Dictionary* dictionary_ = nullptr;
  std::vector<Entry> entries_;
  Store lines_, looseLines_, digits_, readings_, looseReadings_;
};

}  // namespace phonefind
