// Text file reading and atomic rewriting on Windows: wide-character calls only, so a folder with kanji in
// its name works; FlushFileBuffers, then MoveFileExW (replace, write through) over the target.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <random>

#include "platform/TextFile.h"
#include "platform/TextFileDetail.h"
#include "platform/WinPath.h"

namespace textfile {
namespace {
using detail::Ops;
using detail::ReportReadFailure;
using detail::WriteFully;
using winpath::Wide;

int FailWith(DWORD error) {
  errno = winpath::ErrnoOf(error);
  return -1;
}

HANDLE HandleOf(int fd) {
  return reinterpret_cast<HANDLE>(_get_osfhandle(fd));  // NOLINT(performance-no-int-to-ptr)
}

class WinOperations final : public Operations {
 public:
  int MakeTemporary(char* pathTemplate) override {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937 random(std::random_device{}());
    const std::size_t len = std::char_traits<char>::length(pathTemplate);
    if (len < 6) return FailWith(ERROR_INVALID_NAME);
    for (int attempt = 0; attempt < 100; ++attempt) {
      for (std::size_t i = len - 6; i < len; ++i)
        pathTemplate[i] = kLetters[random() % (sizeof kLetters - 1)];
      // No sharing while it is written: a start-up clean-up cannot open, so never takes, a save in progress.
      HANDLE h = CreateFileW(Wide(pathTemplate).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
      if (h != INVALID_HANDLE_VALUE) {
        const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_BINARY);
        if (fd < 0) CloseHandle(h);
        return fd;
      }
      if (GetLastError() != ERROR_FILE_EXISTS) return FailWith(GetLastError());
    }
    return FailWith(ERROR_FILE_EXISTS);
  }
  std::int64_t WriteAt(int fd, const char* data, std::size_t n, std::int64_t at) override {
    OVERLAPPED where{};
    where.Offset = static_cast<DWORD>(static_cast<std::uint64_t>(at) & 0xFFFFFFFFu);
    where.OffsetHigh = static_cast<DWORD>(static_cast<std::uint64_t>(at) >> 32);
    DWORD written = 0;
    if (!WriteFile(HandleOf(fd), data, static_cast<DWORD>(n), &written, &where))
      return FailWith(GetLastError());
    return written;
  }
  int Sync(int fd) override { return FlushFileBuffers(HandleOf(fd)) ? 0 : FailWith(GetLastError()); }
  int Rename(const char* from, const char* to) override {
    const std::wstring src = Wide(from), dst = Wide(to);
    // The target's own attributes (hidden, archive) go to the new file first.
    const DWORD attrs = GetFileAttributesW(dst.c_str());
    if (attrs != INVALID_FILE_ATTRIBUTES)
      SetFileAttributesW(src.c_str(), attrs & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                               FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED));
    // A rename within the folder: the target is the old file or the new one, never a mixture. (ReplaceFileW
    // would keep the target's security too, but Wine's leaves a temporary file behind when it fails.)
    if (MoveFileExW(src.c_str(), dst.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return 0;
    return FailWith(GetLastError());
  }
};

// What a path names: a disk file, a folder, something else (a device such as NUL or CON, a pipe), or
// nothing.
enum class Kind { Missing, File, Folder, Other };
Kind KindOf(const std::wstring& path, DWORD* lastError = nullptr) {
  HANDLE h = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD e = GetLastError();
    if (lastError) *lastError = e;
    return e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND ? Kind::Missing : Kind::Other;
  }
  Kind kind = Kind::Other;
  BY_HANDLE_FILE_INFORMATION info{};
  if (GetFileType(h) == FILE_TYPE_DISK && GetFileInformationByHandle(h, &info))
    kind = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? Kind::Folder : Kind::File;
  CloseHandle(h);
  return kind;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? "." : path.substr(0, slash);
}

// Rewrites an existing file where it is: reserves the new size first, so a full disk fails before any
// old byte is overwritten, then writes, truncates and flushes.
WriteResult WriteInPlace(const std::string& path, std::string_view bytes) {
  HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return {Step::Create, winpath::ErrnoOf(GetLastError())};
  LARGE_INTEGER oldSize{};
  GetFileSizeEx(h, &oldSize);
  auto setEnd = [h](std::int64_t size) {
    LARGE_INTEGER at{};
    at.QuadPart = size;
    return SetFilePointerEx(h, at, nullptr, FILE_BEGIN) && SetEndOfFile(h);
  };
  const auto newSize = static_cast<std::int64_t>(bytes.size());
  if (newSize > oldSize.QuadPart && !setEnd(newSize)) {
    const int error = winpath::ErrnoOf(GetLastError());
    setEnd(oldSize.QuadPart);
    CloseHandle(h);
    return {Step::Write, error};
  }
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_BINARY);
  if (fd < 0) {
    CloseHandle(h);
    return {Step::Write, EIO};
  }
  const bool ok = WriteFully(fd, bytes, 0) && setEnd(newSize) && Ops().Sync(fd) == 0;
  const int error = errno;
  _close(fd);
  if (!ok) return {Step::Write, error};
  return {};
}
}  // namespace

Operations& SystemOperations() {
  static WinOperations win;
  return win;
}

Bytes ReadAll(const std::string& path) {
  Bytes b;
  const std::wstring wide = Wide(path);
  // Others may keep reading and writing it (an editor, a sync client): this is only a snapshot.
  HANDLE h = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD e = GetLastError();
    b.status =
        e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND ? ReadStatus::Missing : ReadStatus::Error;
    if (b.status == ReadStatus::Error) ReportReadFailure(path, "system error " + std::to_string(e));
    return b;
  }
  // NUL, CON, COM1 and pipes open too: never data.
  BY_HANDLE_FILE_INFORMATION info{};
  if (GetFileType(h) != FILE_TYPE_DISK || !GetFileInformationByHandle(h, &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    CloseHandle(h);
    b.status = ReadStatus::Error;
    ReportReadFailure(path, "not a regular file");
    return b;
  }
  b.data.reserve(static_cast<std::size_t>(info.nFileSizeHigh) << 32 | info.nFileSizeLow);
  char buf[65536];
  for (;;) {
    DWORD n = 0;
    if (!ReadFile(h, buf, sizeof buf, &n, nullptr)) {
      ReportReadFailure(path, "system error " + std::to_string(GetLastError()));
      CloseHandle(h);
      b.status = ReadStatus::Error;
      b.data.clear();
      return b;
    }
    if (n == 0) break;
    b.data.append(buf, n);
  }
  CloseHandle(h);
  b.status = ReadStatus::Ok;
  return b;
}

bool IsRegularFile(const std::string& path) {
  return KindOf(Wide(path)) == Kind::File;
}

std::string FindNameIgnoringCase(const std::string& folder, const std::string& name, Entry kind) {
  auto fits = [&folder, kind](const std::string& entry) {
    const Kind k = KindOf(Wide(folder + entry));
    return kind == Entry::File ? k == Kind::File : k == Kind::Folder;
  };
  // Windows file systems ignore case themselves: the entry's own spelling comes back (a folder set to
  // tell case apart is searched entry by entry).
  WIN32_FIND_DATAW e{};
  HANDLE f = FindFirstFileW(Wide(folder + name).c_str(), &e);
  if (f != INVALID_HANDLE_VALUE) {
    FindClose(f);
    std::string spelled = winpath::Utf8(e.cFileName);
    if (fits(spelled)) return spelled;
  }
  std::string found;
  f = FindFirstFileW((Wide(folder.empty() ? "./" : folder) + L"*").c_str(), &e);
  if (f == INVALID_HANDLE_VALUE) return found;
  const std::wstring wanted = winpath::Wide(name);
  auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c; };
  do {
    const std::wstring entry = e.cFileName;
    if (entry.size() == wanted.size() &&
        std::equal(entry.begin(), entry.end(), wanted.begin(),
                   [&lower](wchar_t a, wchar_t b) { return lower(a) == lower(b); })) {
      const std::string spelled = winpath::Utf8(entry);
      if ((found.empty() || spelled < found) && fits(spelled)) found = spelled;
    }
  } while (FindNextFileW(f, &e));
  FindClose(f);
  return found;
}

std::string ResolveLinks(const std::string& path) {
  // ReplaceFileW works on the file a link names; nothing to follow by hand.
  return path;
}

std::size_t RemoveLeftovers(const std::string& folder, const std::function<bool(std::string_view)>& isOurs,
                            int minAgeSeconds) {
  WIN32_FIND_DATAW e{};
  HANDLE f = FindFirstFileW((Wide(folder) + L"*").c_str(), &e);
  if (f == INVALID_HANDLE_VALUE) return 0;
  std::size_t removed = 0;
  FILETIME nowFt{};
  GetSystemTimeAsFileTime(&nowFt);
  const auto ticks = [](const FILETIME& t) {
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(t.dwHighDateTime) << 32 | t.dwLowDateTime);
  };
  do {
    if (e.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const std::string name = winpath::Utf8(e.cFileName);
    // The temporary file's six characters after the data file's own name.
    if (name.size() < 8 || name[name.size() - 7] != '.') continue;
    const std::string_view suffix = std::string_view(name).substr(name.size() - 6);
    if (!std::all_of(suffix.begin(), suffix.end(), [](char c) {
          return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        }))
      continue;
    if (!isOurs(std::string_view(name).substr(0, name.size() - 7))) continue;
    if ((ticks(nowFt) - ticks(e.ftLastWriteTime)) / 10000000 < minAgeSeconds) continue;
    // A save in progress holds its file unshared, so this open fails for it; closing deletes the rest.
    HANDLE h = CreateFileW(Wide(folder + name).c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                           FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) continue;
    const bool disk = GetFileType(h) == FILE_TYPE_DISK;
    CloseHandle(h);
    if (disk) ++removed;
  } while (FindNextFileW(f, &e));
  FindClose(f);
  return removed;
}

bool MakeFolder(const std::string& path) {
  const std::wstring w = Wide(path);
  if (CreateDirectoryW(w.c_str(), nullptr)) return true;
  return KindOf(w) == Kind::Folder;
}

WriteResult detail::Rewrite(const std::string& linkOrPath, std::string_view bytes, InPlace inPlace) {
  const std::string path = ResolveLinks(linkOrPath);
  const std::wstring wide = Wide(path);
  DWORD kindError = 0;
  const Kind kind = KindOf(wide, &kindError);
  if (kind == Kind::Folder || (kind == Kind::Other && kindError == 0)) return {Step::Create, EISDIR};
  const bool exists = kind == Kind::File;
  if (exists) {
    const DWORD attrs = GetFileAttributesW(wide.c_str());
    if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_READONLY)) return {Step::Create, EACCES};
  }
  if (!exists && kind == Kind::Missing && KindOf(Wide(FolderOf(path))) != Kind::Folder)
    return {Step::Create, ENOENT};
  std::string tmp = path + ".XXXXXX";
  const int fd = Ops().MakeTemporary(tmp.data());
  if (fd < 0) {
    const int error = errno;
    if (exists && error == EACCES && inPlace == InPlace::Allowed) return WriteInPlace(path, bytes);
    return {Step::Create, error};
  }
  const std::wstring wideTmp = Wide(tmp);
  auto abandon = [&](Step step, bool open) {
    const int error = errno;
    if (open) _close(fd);
    DeleteFileW(wideTmp.c_str());
    return WriteResult{step, error};
  };
  if (!WriteFully(fd, bytes, 0)) return abandon(Step::Write, true);
  if (Ops().Sync(fd) != 0) return abandon(Step::Sync, true);
  // A file open without delete sharing cannot be moved; its bytes are flushed, so closing loses nothing.
  _close(fd);
  if (Ops().Rename(tmp.c_str(), path.c_str()) != 0) return abandon(Step::Rename, false);
  return {};
}

}  // namespace textfile
