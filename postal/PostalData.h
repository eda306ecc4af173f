// The national postal code list and the program's data file made from it: conversion of the list,
// and searching and copying lines of the data file. All on code page 932 bytes, no decoding needed:
// the separators, quotes, digits and blanks the rules look at are single bytes that can never be the
// second byte of a double-byte character.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace postal {

inline constexpr const char* kSourceName = "Ken_all.csv";
inline constexpr const char* kDataName = "Ken_all.dat";

// One source line (without its line end) to one data line: the 7-digit code, two blanks, prefecture,
// city and town area in kanji. nullopt for a line without the published shape (shorter than 28
// characters, fewer than six commas after the code, a code that is not 7 digits, bytes that are not
// code page 932).
std::optional<std::string> ConvertLine(std::string_view line);

// A list in UTF-8 (Japan Post also publishes "utf_ken_all.csv"): recognised by its bytes.
bool IsUtf8List(std::string_view bytes);
inline constexpr const char* kUtf8SourceName = "utf_ken_all.csv";
// The list's name in `folder` (any case of "Ken_all.csv", else of "utf_ken_all.csv"), or empty.
std::string FindSourceName(const std::string& folder);
// Whether the folder holds the data file or a list to make it from (any spelling of the names).
bool DataAvailable(const std::string& folder);
// The data file's bytes (any spelling of its name); `readable` false when it exists but cannot be read
// (a folder in its place, a refused read): no data then, and the search window says so.
struct DataFile {
  std::string bytes;
  bool readable = true;
};
DataFile ReadDataFile(const std::string& folder);

// Converts the whole list in steps, so a window can stay live and cancel. A list in UTF-8 is converted
// to the same code page 932 data file. No converted line at all is a failure. The result goes to a
// temporary file that is renamed over the data file only when everything was written.
class Converter {
 public:
  ~Converter();
  bool Open(const std::string& sourcePath, const std::string& dataPath);
  // Converts at least `budget` bytes of the source (whole lines); false once the source is used up.
  bool Step(std::size_t budget);
  [[nodiscard]] bool Finish();  // writes and renames; false on failure (no data file is left)
  void Cancel();
  double Fraction() const {
    return source_.empty() ? 1.0 : static_cast<double>(pos_) / static_cast<double>(source_.size());
  }
  std::size_t LinesIn() const { return linesIn_; }
  std::size_t LinesOut() const { return linesOut_; }

 private:
  std::string source_, out_, dataPath_;
  std::size_t pos_ = 0, linesIn_ = 0, linesOut_ = 0;
  bool open_ = false;
};

// Converts at once; false when the source cannot be read or the data file cannot be written.
[[nodiscard]] bool ConvertFile(const std::string& sourcePath, const std::string& dataPath);

struct LineRef {
  std::uint32_t offset;
  std::uint32_t length;  // without the line end
};

// A search through the data file, line by line in steps, keeping the matching lines in file order.
// The text matches character for character, never starting inside a double-byte character.
class Search {
 public:
  // `needle` is code page 932; empty matches every line.
  Search(std::string_view data, std::string needle);
  // Reads lines until at least `budget` bytes were read or the end; false once at the end.
  bool Step(std::size_t budget, std::vector<LineRef>& found);
  // Bytes read so far (the reading position after the last line read).
  std::size_t Position() const { return pos_; }
  bool AtEnd() const { return pos_ >= data_.size(); }

 private:
  // The first hit of the needle in [from, to), or null.
  const char* Find(std::size_t from, std::size_t to) const;
  // Whether the line [begin, end) holds the needle on a character boundary; `at` is its first hit.
  bool LineMatches(std::size_t begin, std::size_t end, std::size_t at) const;
  std::string_view data_;
  std::string needle_;
  std::size_t pos_ = 0;
};

// The search text from what was typed: blanks trimmed, encoded; nullopt when it holds a character
// code page 932 cannot carry (which no line can contain).
std::optional<std::string> SearchText(std::string_view typed);

// The progress tenth t after the line ending at `position` of a file of `length` bytes.
int ProgressTenth(std::size_t position, std::size_t length);

enum class CopyWhat { Address, PostalCode, WholeLine };
// From a decoded data line: the address from character 10, the code (characters 1-7), or all.
std::string CopyText(std::string_view line, CopyWhat what);

}  // namespace postal
