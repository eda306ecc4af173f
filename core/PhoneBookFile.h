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

std::string FileName(int group);  // "Teldat<n>.tel"

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

}  // namespace phonebook
