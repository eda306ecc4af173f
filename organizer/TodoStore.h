// The ToDo lines and "ToDo.dat": one line per item, flag, yy/mm/dd, a blank and the text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/DataFiles.h"
#include "core/StoreOutcome.h"
#include "platform/TextFile.h"

namespace todo {

inline constexpr std::string_view kFileName = datafiles::kTodo;
// The ToDo lines' index is 16-bit; lines past it are kept aside and written back.
inline constexpr std::size_t kMaxLines = 32767;

struct TodoBook {
  // The ToDo lines, UTF-8. Element 0 empty means no items, whatever follows it.
  std::vector<std::string> lines{std::string()};
  // What the file held, so untouched lines go back byte for byte: for each line read whose bytes the
  // codec would not write again the same way (bytes it cannot decode, a character with two spellings),
  // its text as read and its bytes; and the lines past kMaxLines.
  struct Kept {
    std::size_t line;  // 0-based, in the file
    std::string text, raw;
  };
  std::vector<Kept> kept;
  std::vector<std::string> loaded;  // the lines as read, by position
  std::vector<std::string> overflow;
  bool readCompletely = true;  // false: the file exists but could not be read; it is never written
  textfile::Stamp stamp;       // what the file held when read (or last written)
};

// Reads the file into `book` (reset first). A missing file leaves one empty line. Returns
// book.readCompletely.
bool LoadToDo(const std::string& path, TodoBook& book);

// The program's one save outcome: Unencodable names the 1-based line refused in `item`.
using SaveOutcome = StoreOutcome;
using SaveResult = StoreOutcome::Kind;

// Writes every line, each with CR LF, then the kept overflow, atomically. Unchanged lines are written
// with the bytes they were read with; a file that would get the bytes it holds is left alone. A file
// another program changed since it was read is not written unless `overwrite` (ChangedOnDisk).
[[nodiscard]] SaveOutcome SaveToDo(const std::string& path, TodoBook& book, bool overwrite = false);

// True when element 0 is empty: the list shows no items.
inline bool IsEmpty(const std::vector<std::string>& lines) {
  return lines.empty() || lines.front().empty();
}

// "04/12/05 ": the year's last two digits, month and day as two digits, a blank.
std::string Prefix(int year, int month, int day);

struct ItemDate {
  int year = 2000, month = 0, day = 0;
};
// The due date of a ToDo line (flag at character 1): 2000 + yy, mm, dd, non-digits read as 0.
ItemDate DateOf(std::string_view line);

// The flag of a line as a number: its first character, a non-digit read as 0. The calendar's mark takes
// any flag of 1 or more for done; the list, only "1" (IsDone).
int FlagOf(std::string_view line);
// The text of a line: from its 11th character on, after the flag and "yy/mm/dd ".
std::string TextOfLine(std::string_view line);

// A ToDo line as the list shows it: the done flag as the tick, and the line without its first
// character (date, blank, text). A line whose first character is not "1" is open.
bool IsDone(std::string_view line);
std::string ListText(std::string_view line);
// The line of a list item: "1" or "0", then the item's text.
std::string LineOf(bool done, std::string_view listText);
// The ToDo text of a list item: from its 10th character on, after "yy/mm/dd ".
std::string TextOf(std::string_view listText);
// The due date of a list item (without the flag).
ItemDate DateOfItem(std::string_view listText);

}  // namespace todo
