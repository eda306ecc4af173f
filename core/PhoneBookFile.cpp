// Letter counter and item counter over the marker lines; loading stops at the first line outside the
// format and keeps what came before it.
#include "core/PhoneBookFile.h"

#include "platform/Sjis.h"

namespace phonebook {

MenuLoad LoadForMenus(const std::string& path) {
  MenuLoad m;
  const textfile::Bytes file = textfile::ReadAll(path);
  m.status = file.status;
  if (file.status != textfile::ReadStatus::Ok) return m;
  m.stoppedAtLine = WalkForMenus(file.data, [&m](int letter, std::string_view line) {
    sjis::Decoded d = sjis::Decode(line);
    m.decodedCleanly = m.decodedCleanly && d.complete;
    m.entries[static_cast<std::size_t>(letter)].push_back(std::move(d.text));
  });
  return m;
}

}  // namespace phonebook
