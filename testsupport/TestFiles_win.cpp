// Test set-ups on Windows: a file held without sharing, the C runtime heap walked.
#include <windows.h>

#include <malloc.h>

#include "platform/WinPath.h"
#include "testsupport/TestFiles.h"

namespace testfiles {

UnreadableEntry::UnreadableEntry(const std::string& path) {
  HANDLE h = CreateFileW(winpath::Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  handle_ = h;
  made_ = true;
}

UnreadableEntry::~UnreadableEntry() {
  if (handle_) CloseHandle(static_cast<HANDLE>(handle_));
}

std::size_t AllocatedBytes() {
  std::size_t used = 0;
  _HEAPINFO entry{};
  while (_heapwalk(&entry) == _HEAPOK)
    if (entry._useflag == _USEDENTRY) used += entry._size;
  return used;
}

}  // namespace testfiles
