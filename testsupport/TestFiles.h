// File and memory set-ups tests share on every system (testsupport/TestFiles_posix.cpp, _win.cpp).
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace testfiles {
// Takes every write permission away (on Windows: sets the read-only attribute).
inline void MakeReadOnly(const std::string& path) {
  namespace fs = std::filesystem;
  fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
}

// A symbolic link at `link` to `target`; false where the system makes none (Wine, Windows without the
// privilege), where a test of links has nothing to test.
inline bool SymbolicLink(const std::string& target, const std::string& link) {
  std::error_code ec;
  std::filesystem::create_symlink(target, link, ec);
  return !ec;
}
inline constexpr const char* kNoLinks = "this system makes no symbolic links";

// An entry at `path` that exists but cannot be read as a file while this object lives: a named pipe
// without a writer on POSIX (opening it must not block), a file another process holds unshared on Windows.
class UnreadableEntry {
 public:
  explicit UnreadableEntry(const std::string& path);
  ~UnreadableEntry();
  UnreadableEntry(const UnreadableEntry&) = delete;
  UnreadableEntry& operator=(const UnreadableEntry&) = delete;
  bool Made() const { return made_; }

 private:
  bool made_ = false;
  void* handle_ = nullptr;
};

// The bytes the heap holds for the program now.
std::size_t AllocatedBytes();
}  // namespace testfiles
