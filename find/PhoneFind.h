// Quick-find over the five phone books: the matching rules, Qt-free.
//
// Text is folded before it is compared: katakana (full and half width) becomes hiragana, full-width
// Latin letters, digits and signs become ASCII, Latin letters lower case. A query is matched three
// ways, and an entry takes its best:
//  - as folded text anywhere in the line;
//  - its Latin letters read as romaji (Hepburn or kunrei; "aoki" is あおき), an unfinished tail ("k",
//    "sh") matching any kana it can begin;
//  - a query of digits and separators ("03-1234", "1234 5678") against the line's digits alone.
// A query that begins with a kana (or with romaji for one) also lists every entry filed under that
// letter, after the text matches. Ranking: the whole line, then the start of the line, then anywhere,
// then the letter's section; ties keep group, letter and file order.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/Kana.h"

namespace phonefind {

inline constexpr int kGroups = 5;

// Folded text of UTF-8 input (invalid bytes are dropped).
std::u16string Fold(std::string_view utf8);
// The hiragana a romaji query spells, with its unfinished tail (ASCII, lower case) left apart. Text
// that is not Latin letters passes through folded.
struct Romaji {
  std::u16string kana;
  std::string tail;
};
Romaji RomajiToKana(std::string_view utf8);
// The kana index (1..44) of the letter a kana is filed under (が under か, ゃ under や), or 0.
int LetterOfKana(char16_t c);

struct Entry {
  int group = 0;     // 1..5
  int letter = 0;    // kana index 1..44
  std::string line;  // UTF-8, exactly as the file holds it (decoded)
  // Where the folded line and its digits (in order) lie in the index's shared buffers.
  std::uint32_t foldedAt = 0, foldedLength = 0, digitsAt = 0, digitsLength = 0;
};

enum class Rank { Exact, Start, Anywhere, Section };
struct Hit {
  std::size_t entry = 0;  // index into the index's entries
  Rank rank = Rank::Anywhere;
};

class Index {
 public:
  // Adds one group's entries by letter (slot 0 unused), in file order; the lines are moved in.
  void AddGroup(int group, std::array<std::vector<std::string>, kana::kLetterCount + 1>&& byLetter);
  const std::vector<Entry>& Entries() const { return entries_; }
  std::u16string_view Folded(const Entry& e) const { return {folded_.data() + e.foldedAt, e.foldedLength}; }
  std::string_view Digits(const Entry& e) const {
    return std::string_view(digits_).substr(e.digitsAt, e.digitsLength);
  }
  // The hits for `query`, best first; at most `limit`.
  std::vector<Hit> Find(std::string_view query, std::size_t limit = SIZE_MAX) const;

 private:
  std::vector<Entry> entries_;
  // Every entry's folded text and digits, end to end: one allocation each instead of two per entry.
  std::vector<char16_t> folded_;
  std::string digits_;
};

}  // namespace phonefind
