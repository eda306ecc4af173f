// A windowed program starts without standard handles when run from a console; it borrows the parent's.
#include <windows.h>

#include "platform/Console.h"
#include "platform/WinPath.h"

namespace console {

void Write(std::string_view utf8, Stream stream) {
  const DWORD which = stream == Stream::Out ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE;
  HANDLE h = GetStdHandle(which);
  if (h == nullptr || h == INVALID_HANDLE_VALUE) {
    AttachConsole(ATTACH_PARENT_PROCESS);
    h = GetStdHandle(which);
  }
  if (h == nullptr || h == INVALID_HANDLE_VALUE) return;
  DWORD mode = 0, written = 0;
  if (GetConsoleMode(h, &mode)) {
    // A console takes UTF-16 whatever its code page.
    const std::wstring wide = winpath::Wide(std::string(utf8));
    WriteConsoleW(h, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
  } else {
    WriteFile(h, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
  }
}

}  // namespace console
