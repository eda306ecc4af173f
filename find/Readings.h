// Readings of kanji names, for finding "田中 一郎" by "tanaka" or "たなか". The words and their readings
// come from the IPA dictionary's nouns (person, place and organisation names and ordinary nouns),
// converted at build time into a compact file (tools/make_readings.py) the program carries with it.
// Qt-free; the window hands over the file's bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace readings {

class Dictionary {
 public:
  // The words of a readings file; an empty dictionary (and the reason in `error`) when the bytes are
  // not a whole, well-formed file. The bytes are copied.
  static Dictionary FromBytes(std::string_view bytes, std::string* error = nullptr);
  // The same over the file at `path` (its build's readings.dat, for tools and tests); a file that cannot
  // be read gives an empty dictionary and says so.
  static Dictionary FromFile(const std::string& path, std::string* error = nullptr);

  std::size_t Words() const { return offsets_.empty() ? 0 : offsets_.size() - 1; }

  struct Word {
    std::size_t length = 0;        // how many characters of the text it covers
    int cost = 0;                  // the dictionary's cost: lower is more likely
    std::u16string_view readings;  // hiragana, separated by commas, likeliest first
  };
  // Every word `text` begins with, shortest first.
  std::vector<Word> Prefixes(std::u16string_view text) const;
  // How word i (0 .. Words()-1, in the file's order) is written.
  std::u16string_view Surface(std::size_t i) const;

 private:
  // Reads the file into this dictionary; what is wrong with it, or nullptr.
  const char* Take(std::string_view bytes);
  Word At(std::size_t i) const;

  std::vector<std::uint32_t> offsets_;
  std::u16string pool_;
};

// One way of reading a name: hiragana (a character no query holds where a kanji could not be read),
// and where its words begin (bit n: a word begins at character n).
struct Reading {
  std::u16string kana;
  std::uint32_t starts = 1;
};

// The most likely readings of a folded name (katakana already as hiragana), at most `limit`, best
// first. Words are split at spaces and, inside a word, where the dictionary's words end; kana and other
// characters read as themselves. Nothing for a name without kanji.
std::vector<Reading> ReadName(const Dictionary& dictionary, std::u16string_view name, std::size_t limit);

// The character standing for a kanji the dictionary does not know.
inline constexpr char16_t kUnread = u'\uFFFE';
// Names are read up to this many characters (a phone book name is far shorter).
inline constexpr std::size_t kLongestName = 32;

}  // namespace readings
