// Text file reading and atomic rewriting on POSIX.
#include "platform/TextFile.h"

#include <dirent.h>
#include <strings.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>

namespace textfile {

Bytes ReadAll(const std::string& path) {
  Bytes b;
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    b.status = (errno == ENOENT || errno == ENOTDIR) ? ReadStatus::Missing : ReadStatus::Error;
    return b;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    b.status = ReadStatus::Error;
    return b;
  }
  b.data.reserve(static_cast<size_t>(st.st_size));
  char buf[65536];
  for (;;) {
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      b.status = ReadStatus::Error;
      return b;
    }
    b.data.append(buf, static_cast<size_t>(n));
  }
  ::close(fd);
  b.status = ReadStatus::Ok;
  return b;
}

std::vector<std::string> SplitLines(std::string_view bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < bytes.size()) {
    char c = bytes[i];
    if (c == '\r' || c == '\n') {
      lines.emplace_back(bytes.substr(start, i - start));
      i += (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < bytes.size()) lines.emplace_back(bytes.substr(start));
  return lines;
}

Lines ReadLines(const std::string& path) {
  Bytes b = ReadAll(path);
  Lines l;
  l.status = b.status;
  if (b.status == ReadStatus::Ok) l.lines = SplitLines(b.data);
  return l;
}

std::string JoinCrLf(const std::vector<std::string>& lines) {
  std::size_t n = 0;
  for (const auto& s : lines) n += s.size() + 2;
  std::string out;
  out.reserve(n);
  for (const auto& s : lines) {
    out += s;
    out += "\r\n";
  }
  return out;
}

bool IsRegularFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string FindNameIgnoringCase(const std::string& folder, const std::string& name) {
  if (IsRegularFile(folder + name)) return name;
  std::string found;
  if (DIR* d = ::opendir(folder.empty() ? "." : folder.c_str())) {
    while (dirent* e = ::readdir(d)) {
      if (::strcasecmp(e->d_name, name.c_str()) == 0 && IsRegularFile(folder + e->d_name)) {
        found = e->d_name;
        break;
      }
    }
    ::closedir(d);
  }
  return found;
}

bool WriteAtomic(const std::string& path, std::string_view bytes) {
  mode_t mode = 0644;
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) {
    if (!S_ISREG(st.st_mode)) return false;
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return false;  // read-only file
    mode = st.st_mode & 07777;
  }
  std::string tmp = path + ".XXXXXX";
  int fd = ::mkstemp(tmp.data());
  if (fd < 0) return false;
  bool ok = ::fchmod(fd, mode) == 0;
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (ok && left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = false;
      break;
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  ok = ok && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  ok = ok && ::rename(tmp.c_str(), path.c_str()) == 0;
  if (!ok) {
    ::unlink(tmp.c_str());
    return false;
  }
  // Make the rename itself durable.
  std::size_t slash = path.find_last_of('/');
  std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
  return true;
}

}  // namespace textfile
