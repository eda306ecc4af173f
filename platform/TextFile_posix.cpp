// Text file reading and atomic rewriting on POSIX.
#include "platform/TextFile.h"

#include "platform/TextFileDetail.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace textfile {
namespace {
using detail::Ops;
using detail::ReportReadFailure;
using detail::WriteFully;

class PosixOperations final : public Operations {
 public:
  int MakeTemporary(char* pathTemplate) override { return ::mkstemp(pathTemplate); }
  std::int64_t WriteAt(int fd, const char* data, std::size_t n, std::int64_t at) override {
    return ::pwrite(fd, data, n, static_cast<off_t>(at));
  }
  int Sync(int fd) override { return ::fsync(fd); }
  int Rename(const char* from, const char* to) override { return ::rename(from, to); }
};
}  // namespace

Operations& SystemOperations() {
  static PosixOperations posix;
  return posix;
}

namespace {
bool Sync(int fd) {
  return Ops().Sync(fd) == 0;
}

std::string FolderOf(const std::string& path) {
  std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

void SyncFolder(const std::string& path) {
  int dfd = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
}

// Rewrites an existing file where it is: reserves the new size first, so a full disk fails before any
// old byte is overwritten, then writes, truncates and syncs.
WriteResult WriteInPlace(const std::string& path, std::string_view bytes) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0) return {Step::Create, errno};
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return {Step::Create, EISDIR};
  }
  const off_t oldSize = st.st_size;
  const off_t newSize = static_cast<off_t>(bytes.size());
  if (newSize > oldSize) {
    if (const int rc = ::posix_fallocate(fd, 0, newSize); rc != 0) {
      if (::ftruncate(fd, oldSize) != 0) { /* the reservation stays; the content is untouched */
      }
      ::close(fd);
      return {Step::Write, rc};
    }
  }
  const bool ok = WriteFully(fd, bytes, 0) && ::ftruncate(fd, newSize) == 0 && Sync(fd);
  const int error = errno;
  ::close(fd);
  if (!ok) return {Step::Write, error};
  return {};
}
}  // namespace

Bytes ReadAll(const std::string& path) {
  Bytes b;
  // Non-blocking, so a named pipe answers at once instead of waiting for a writer.
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    b.status = (errno == ENOENT || errno == ENOTDIR) ? ReadStatus::Missing : ReadStatus::Error;
    if (b.status == ReadStatus::Error) ReportReadFailure(path, std::strerror(errno));
    return b;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    b.status = ReadStatus::Error;
    ReportReadFailure(path, "not a regular file");
    return b;
  }
  b.data.reserve(static_cast<size_t>(st.st_size));
  char buf[65536];
  for (;;) {
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      ReportReadFailure(path, std::strerror(errno));
      ::close(fd);
      b.status = ReadStatus::Error;
      b.data.clear();
      return b;
    }
    b.data.append(buf, static_cast<size_t>(n));
  }
  ::close(fd);
  b.status = ReadStatus::Ok;
  return b;
}

bool IsRegularFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string FindNameIgnoringCase(const std::string& folder, const std::string& name, Entry kind) {
  auto fits = [&folder, kind](const std::string& entry) {
    struct stat st {};
    return ::stat((folder + entry).c_str(), &st) == 0 &&
           (kind == Entry::File ? S_ISREG(st.st_mode) : S_ISDIR(st.st_mode));
  };
  if (fits(name)) return name;
  std::string found;
  if (DIR* d = ::opendir(folder.empty() ? "." : folder.c_str())) {
    while (dirent* e = ::readdir(d)) {
      const std::string entry = e->d_name;
      if (::strcasecmp(entry.c_str(), name.c_str()) == 0 && (found.empty() || entry < found) && fits(entry))
        found = entry;
    }
    ::closedir(d);
  }
  return found;
}

std::string ResolveLinks(const std::string& path) {
  std::string p = path;
  for (int hops = 0; hops < 40; ++hops) {  // the kernel's own limit on a chain of links
    struct stat st {};
    if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return p;
    std::string target(PATH_MAX, '\0');
    ssize_t n = ::readlink(p.c_str(), target.data(), target.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= target.size()) return p;
    target.resize(static_cast<std::size_t>(n));
    if (target.front() == '/')
      p = target;
    else
      p = FolderOf(p).append("/").append(target);
  }
  return p;
}

std::size_t RemoveLeftovers(const std::string& folder, const std::function<bool(std::string_view)>& isOurs,
                            int minAgeSeconds) {
  DIR* d = ::opendir(folder.c_str());
  if (!d) return 0;
  std::size_t removed = 0;
  const time_t now = ::time(nullptr);
  while (const dirent* e = ::readdir(d)) {
    const std::string_view name(e->d_name);
    // mkstemp's six characters after the data file's own name.
    if (name.size() < 8 || name[name.size() - 7] != '.') continue;
    const std::string_view suffix = name.substr(name.size() - 6);
    if (!std::all_of(suffix.begin(), suffix.end(),
                     [](char c) { return std::isalnum(static_cast<unsigned char>(c)); }))
      continue;
    if (!isOurs(name.substr(0, name.size() - 7))) continue;
    const std::string path = folder + std::string(name);
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && now - st.st_mtime >= minAgeSeconds &&
        ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::unlink(path.c_str()) == 0)
      ++removed;
    ::close(fd);
  }
  ::closedir(d);
  return removed;
}

bool MakeFolder(const std::string& path) {
  if (::mkdir(path.c_str(), 0755) == 0) return true;
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

WriteResult detail::Rewrite(const std::string& linkOrPath, std::string_view bytes, InPlace inPlace) {
  const std::string path = ResolveLinks(linkOrPath);
  mode_t mode = 0644;
  bool exists = false;
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) {
    if (!S_ISREG(st.st_mode)) return {Step::Create, EISDIR};
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return {Step::Create, EACCES};  // read-only file
    mode = st.st_mode & 07777;
    exists = true;
  }
  std::string tmp = path + ".XXXXXX";
  int fd = Ops().MakeTemporary(tmp.data());
  if (fd < 0) {
    const int error = errno;
    const bool folderRefuses = error == EACCES || error == EPERM;
    if (exists && folderRefuses && inPlace == InPlace::Allowed) return WriteInPlace(path, bytes);
    return {Step::Create, error};
  }
  // Held until the rename: a start-up clean-up never takes a temporary file that is being written.
  ::flock(fd, LOCK_EX);
  auto abandon = [&](Step step) {
    const int error = errno;
    ::unlink(tmp.c_str());
    ::close(fd);
    return WriteResult{step, error};
  };
  if (::fchmod(fd, mode) != 0) return abandon(Step::Create);
  if (!WriteFully(fd, bytes, 0)) return abandon(Step::Write);
  if (!Sync(fd)) return abandon(Step::Sync);
  if (Ops().Rename(tmp.c_str(), path.c_str()) != 0) return abandon(Step::Rename);
  ::close(fd);       // its bytes are synced: closing cannot lose them
  SyncFolder(path);  // makes the rename itself durable
  return {};
}

}  // namespace textfile
