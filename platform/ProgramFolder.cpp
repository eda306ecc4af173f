// The data folder rules of both systems (pure: the system's answers come as arguments).
#include "platform/ProgramFolder.h"

#include <filesystem>

#include "platform/TextFile.h"

namespace programfolder {

std::string WithOneSeparator(std::string dir) {
  while (dir.size() > 1 && (dir.back() == '/' || dir.back() == '\\') &&
         (dir[dir.size() - 2] == '/' || dir[dir.size() - 2] == '\\'))
    dir.pop_back();
  if (dir.empty() || (dir.back() != '/' && dir.back() != '\\')) return dir + '/';
  dir.back() = '/';
  return dir;
}

std::string ChoosePosix(const std::string& exeDir, const std::string& xdgDataHome, const std::string& home,
                        const std::function<bool(const std::string&)>& holdsData,
                        const std::function<bool(const std::string&)>& writable) {
  if (holdsData(exeDir) && writable(exeDir)) return WithOneSeparator(exeDir);
  // XDG: a relative XDG_DATA_HOME is to be ignored.
  const std::string base = !xdgDataHome.empty() && xdgDataHome.front() == '/' ? xdgDataHome
                           : !home.empty()                                    ? home + "/.local/share"
                                                                              : std::string();
  if (base.empty()) return WithOneSeparator(exeDir);
  const std::string dir = base + "/dialnestplus";
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  return WithOneSeparator(ec ? exeDir : dir);
}

bool HoldsData(const std::string& dir) {
  const std::string folder = WithOneSeparator(dir);
  for (const char* name :
       {"dnstplus.ini", "Teldat1.tel", "Teldat2.tel", "Teldat3.tel", "Teldat4.tel", "Teldat5.tel"})
    if (!textfile::FindNameIgnoringCase(folder, name).empty()) return true;
  return false;
}

std::string ChooseWindows(const std::string& exeDir, const std::string& appData,
                          const std::function<bool(const std::string&)>& writable,
                          const std::function<bool(const std::string&)>& makeFolder) {
  if (writable(exeDir) || appData.empty()) return WithOneSeparator(exeDir);
  const std::string dir = WithOneSeparator(appData) + "Dialnest Plus";
  return WithOneSeparator(makeFolder(dir) ? dir : exeDir);
}

}  // namespace programfolder
