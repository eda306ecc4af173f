// The phone book file of one group, read the way the tray's letter menus load it.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/Kana.h"
#include "platform/TextFile.h"

namespace phonebook {

// A whole line equal to this opens the next letter's section.
inline constexpr std::string_view kMarker = "[D@TA]";
// A letter holds at most this many entries (its item counter is 16-bit).
inline constexpr std::size_t kMaxEntries = 32767;

// The phone books: groups 1..kGroups, each its own file.
inline constexpr int kGroups = 5;

struct MenuLoad {
  textfile::ReadStatus status = textfile::ReadStatus::Missing;
  // Entries by kana index (slot 0 unused), each line decoded and otherwise unchanged.
  std::array<std::vector<std::string>, kana::kLetterCount + 1> entries;
  // 0 when every line was taken; otherwise the 1-based line at which loading stopped because it lies
  // outside the format (before the first marker, after a 45th marker, past the entry limit).
  std::size_t stoppedAtLine = 0;
  bool decodedCleanly = true;  // false when some bytes were not valid code page 932
};

MenuLoad LoadForMenus(const std::string& path);

// The menus' walk over a file's bytes: `entry(letter, rawLine)` for each entry the menus take, in order.
// Returns 0 when every line was taken, else the 1-based line at which it stopped (see MenuLoad).
template <typename F>
std::size_t WalkForMenus(std::string_view bytes, F&& entry) {
  std::array<std::size_t, kana::kLetterCount + 1> counts{};
  int letter = 0;
  std::size_t lineNo = 0, stoppedAt = 0;
  textfile::ForEachLine(bytes, [&](std::string_view line) {
    ++lineNo;
    if (line == kMarker) {
      ++letter;
      return true;
    }
    if (letter < 1 || letter > kana::kLetterCount) {
      stoppedAt = lineNo;
      return false;
    }
    entry(letter, line);
    if (++counts[static_cast<std::size_t>(letter)] == kMaxEntries) {
      stoppedAt = lineNo;
      return false;
    }
    return true;
  });
  return stoppedAt;
}

}  // namespace phonebook
