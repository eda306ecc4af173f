// The executable's folder from the module file name, write access by trying, %APPDATA%.
#include <shlobj.h>
#include <windows.h>

#include "platform/ProgramFolder.h"
#include "platform/WinPath.h"

namespace programfolder {

std::string ExecutableDir() {
  std::wstring exe(32768, L'\0');
  const DWORD n = GetModuleFileNameW(nullptr, exe.data(), static_cast<DWORD>(exe.size()));
  if (n == 0 || n >= exe.size()) return ".";
  exe.resize(n);
  const std::size_t slash = exe.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return ".";
  return winpath::Utf8(exe.substr(0, slash));
}

bool Writable(const std::string& dir) {
  // Access lists decide, which no attribute tells: a file made and dropped again.
  const std::wstring probe = winpath::Wide(WithOneSeparator(dir)) + L"~dnst-probe.tmp";
  HANDLE h = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (h == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_EXISTS;
  CloseHandle(h);
  return true;
}

std::string DataFolder() {
  std::string appData;
  PWSTR known = nullptr;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &known)) && known)
    appData = winpath::Utf8(known);
  CoTaskMemFree(known);
  return ChooseWindows(ExecutableDir(), appData, Writable, [](const std::string& dir) {
    const std::wstring w = winpath::Wide(dir);
    return CreateDirectoryW(w.c_str(), nullptr) != 0 || GetLastError() == ERROR_ALREADY_EXISTS;
  });
}

}  // namespace programfolder
