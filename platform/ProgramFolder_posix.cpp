// The executable's folder from /proc, write access from access(2), the XDG data folder.
#include <unistd.h>

#include <cstdlib>

#include "platform/ProgramFolder.h"

namespace programfolder {

std::string ExecutableDir() {
  std::string exe(4096, '\0');
  const ssize_t n = ::readlink("/proc/self/exe", exe.data(), exe.size() - 1);
  if (n <= 0) return ".";
  exe.resize(static_cast<std::size_t>(n));
  const std::size_t slash = exe.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : exe.substr(0, slash);
}

bool Writable(const std::string& dir) {
  return ::access(dir.c_str(), W_OK) == 0;
}

std::string DataFolder() {
  auto env = [](const char* name) {
    const char* v = std::getenv(name);
    return std::string(v ? v : "");
  };
  return ChoosePosix(ExecutableDir(), env("XDG_DATA_HOME"), env("HOME"), HoldsData, Writable);
}

}  // namespace programfolder
