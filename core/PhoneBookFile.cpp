// Letter counter and item counter over the marker lines; loading stops at the first line outside the
// format and keeps what came before it.
#include "core/PhoneBookFile.h"

#include "platform/Sjis.h"

namespace phonebook {

std::string FileName(int group) {
  return "Teldat" + std::to_string(group) + ".tel";
}

MenuLoad LoadForMenus(const std::string& path) {
  MenuLoad m;
  textfile::Lines file = textfile::ReadLines(path);
  m.status = file.status;
  if (file.status != textfile::ReadStatus::Ok) return m;
  int letter = 0;
  for (std::size_t i = 0; i < file.lines.size(); ++i) {
    const std::string& line = file.lines[i];
    if (line == kMarker) {
      ++letter;
      continue;
    }
    if (letter < 1 || letter > kana::kLetterCount) {
      m.stoppedAtLine = i + 1;
      return m;
    }
    sjis::Decoded d = sjis::Decode(line);
    m.decodedCleanly = m.decodedCleanly && d.complete;
    auto& list = m.entries[static_cast<std::size_t>(letter)];
    list.push_back(std::move(d.text));
    if (list.size() == kMaxEntries) {
      m.stoppedAtLine = i + 1;
      return m;
    }
  }
  return m;
}

}  // namespace phonebook
