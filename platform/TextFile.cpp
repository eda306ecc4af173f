// Line splitting, the rewrite's logging and reasons, and the operations seam: the same on every system.
#include "platform/TextFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/Diag.h"
#include "platform/TextFileDetail.h"

namespace textfile {
namespace {
Operations* current = nullptr;
}  // namespace

Operations* SetOperationsForTest(Operations* ops) {
  Operations* previous = current;
  current = ops;
  return previous;
}

namespace detail {
Operations& Ops() {
  return current ? *current : SystemOperations();
}

// Each write moves at most this much, so a test can fail a write in the middle of a large file.
constexpr std::size_t kWriteChunk = 1 << 16;

bool WriteFully(int fd, std::string_view bytes, std::int64_t at) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const std::size_t n = std::min(kWriteChunk, bytes.size() - done);
    const std::int64_t w = Ops().WriteAt(fd, bytes.data() + done, n, at + static_cast<std::int64_t>(done));
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) return false;
    done += static_cast<std::size_t>(w);
  }
  return true;
}

void ReportReadFailure(const std::string& path, const std::string& reason) {
  diag::Report(diag::Area::Stores, diag::Level::Warning, "cannot read " + path + ": " + reason);
}
}  // namespace detail

std::vector<std::string> SplitLines(std::string_view bytes) {
  std::vector<std::string> lines;
  ForEachLine(bytes, [&lines](std::string_view line) {
    lines.emplace_back(line);
    return true;
  });
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

std::string CrLfLineBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 8);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      out += "\r\n";
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += c;
    }
  }
  return out;
}

std::string ReasonText(int error) {
  switch (error) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
      return "ディスクの空き容量が足りません";
    case EACCES:
    case EPERM:
      return "アクセスが拒否されました";
    case EROFS:
      return "読み取り専用のファイルシステムです";
    case ENOENT:
    case ENOTDIR:
      return "ファイルまたはフォルダーが見つかりません";
    case EIO:
      return "入出力エラーが発生しました";
    case EBUSY:
      return "ほかのプログラムがファイルを使用しています";
    default:
      return {};
  }
}

const char* StepName(Step step) {
  switch (step) {
    case Step::Create:
      return "create";
    case Step::Write:
      return "write";
    case Step::Sync:
      return "sync";
    case Step::Rename:
      return "rename";
    case Step::Changed:
      return "check";
    case Step::None:
      break;
  }
  return "none";
}

Stamp StampOf(std::string_view bytes) {
  std::uint64_t h = 14695981039346656037ULL;
  for (const char c : bytes) {
    h ^= static_cast<unsigned char>(c);
    h *= 1099511628211ULL;
  }
  return {true, bytes.size(), h};
}

Stamp MissingFile() {
  return {};
}

WriteResult WriteAtomic(const std::string& linkOrPath, std::string_view bytes, InPlace inPlace,
                        const Stamp* expected) {
  if (expected) {
    const Bytes now = ReadAll(linkOrPath);
    const Stamp there = now.status == ReadStatus::Ok        ? StampOf(now.data)
                        : now.status == ReadStatus::Missing ? MissingFile()
                                                            : Stamp{true, ~0ULL, 0};
    if (there != *expected) {
      diag::Report(diag::Area::Stores, diag::Level::Warning,
                   "not rewriting " + linkOrPath + ": another program changed it since it was read");
      return {Step::Changed, 0};
    }
  }
  const WriteResult r = detail::Rewrite(linkOrPath, bytes, inPlace);
  if (!r)
    diag::Report(
        diag::Area::Stores, diag::Level::Warning,
        "cannot rewrite " + linkOrPath + ": " + StepName(r.step) + " failed: " + std::strerror(r.error));
  else
    diag::Report(diag::Area::Stores, diag::Level::Debug,
                 "rewrote " + linkOrPath + " (" + std::to_string(bytes.size()) + " bytes)");
  return r;
}

std::vector<std::string> LinkedTargets(const std::string& folder,
                                       const std::function<bool(std::string_view)>& isOurs) {
  std::vector<std::string> out;
  std::error_code ec;
  // UTF-8 both ways, on every system (a char8_t path is never read in the locale's code page).
  const std::filesystem::path dir(std::u8string(folder.begin(), folder.end()));
  for (const auto& e : std::filesystem::directory_iterator(dir, ec)) {
    std::error_code kindError;
    if (!e.is_symlink(kindError)) continue;
    const std::u8string spelled = e.path().filename().u8string();
    const std::string name(spelled.begin(), spelled.end());
    if (!isOurs(name)) continue;
    const std::string target = ResolveLinks(folder + name);
    if (target != folder + name) out.push_back(target);
  }
  return out;
}

std::string FindPathIgnoringCase(const std::string& folder, std::string_view relative) {
  std::string path = folder;
  while (!relative.empty()) {
    const std::size_t slash = relative.find('/');
    const std::string part(relative.substr(0, slash));
    const bool last = slash == std::string_view::npos;
    const std::string found = FindNameIgnoringCase(path, part, last ? Entry::File : Entry::Folder);
    path += found.empty() ? part : found;
    if (last) break;
    path += '/';
    relative.remove_prefix(slash + 1);
  }
  return path;
}

}  // namespace textfile
