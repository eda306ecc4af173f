// The data folder rules of both systems (pure: the system's answers come as arguments).
#include "platform/ProgramFolder.h"

#include <filesystem>

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
                        const std::function<bool(const std::string&)>& writable) {
  if (writable(exeDir)) return WithOneSeparator(exeDir);
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

std::string ChooseWindows(const std::string& exeDir, const std::string& appData,
                          const std::function<bool(const std::string&)>& writable,
                          const std::function<bool(const std::string&)>& makeFolder) {
  if (writable(exeDir) || appData.empty()) return WithOneSeparator(exeDir);
  const std::string dir = WithOneSeparator(appData) + "Dialnest Plus";
  return WithOneSeparator(makeFolder(dir) ? dir : exeDir);
}

}  // namespace programfolder
