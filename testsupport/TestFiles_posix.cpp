// Test set-ups on POSIX: a named pipe, glibc's heap count (ASan's under the sanitizers).
#include <malloc.h>
#include <sys/stat.h>

#include "testsupport/TestFiles.h"

#if defined(__SANITIZE_ADDRESS__)
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace testfiles {

UnreadableEntry::UnreadableEntry(const std::string& path) : made_(::mkfifo(path.c_str(), 0644) == 0) {}
UnreadableEntry::~UnreadableEntry() = default;

std::size_t AllocatedBytes() {
#if defined(__SANITIZE_ADDRESS__)
  return __sanitizer_get_current_allocated_bytes();
#else
  return mallinfo2().uordblks;
#endif
}

}  // namespace testfiles
