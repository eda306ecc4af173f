// UTF-8 paths (with '/' or '\' separators) and the wide-character strings the Win32 calls take.
#pragma once

#include <string>

namespace winpath {
// The path as UTF-16 with '\' separators.
std::wstring Wide(const std::string& utf8);
// UTF-16 as UTF-8, separators as they are.
std::string Utf8(const std::wstring& wide);
// errno of the same cause as a Win32 error (GetLastError): full disk, access, sharing, missing, ...
int ErrnoOf(unsigned long win32Error);
}  // namespace winpath
