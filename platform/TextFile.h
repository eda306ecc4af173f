// Whole text files: reading lines (CR LF, CR or LF) and atomic whole-file rewrites.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace textfile {

enum class ReadStatus { Ok, Missing, Error };

// What a file held when it was read: a rewrite given it refuses to replace a file that holds anything
// else by then (another program changed it meanwhile).
struct Stamp {
  bool exists = false;
  std::uint64_t size = 0;
  std::uint64_t hash = 0;  // FNV-1a of the bytes
  bool operator==(const Stamp&) const = default;
};
Stamp StampOf(std::string_view bytes);  // a file that holds these bytes
Stamp MissingFile();

struct Bytes {
  ReadStatus status = ReadStatus::Missing;
  std::string data;
};

struct Lines {
  ReadStatus status = ReadStatus::Missing;
  std::vector<std::string> lines;  // raw bytes of each line, line end removed
};

// Regular files only: a folder, a named pipe or a device answers Error at once, without blocking.
Bytes ReadAll(const std::string& path);
Lines ReadLines(const std::string& path);

// A final line without a line end counts; a line end at the very end does not open another line.
std::vector<std::string> SplitLines(std::string_view bytes);
// The same lines, each handed to `f` as a view into `bytes` (no copy); `f` returns false to stop.
template <typename F>
void ForEachLine(std::string_view bytes, F&& f) {
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < bytes.size()) {
    const char c = bytes[i];
    if (c == '\r' || c == '\n') {
      if (!f(bytes.substr(start, i - start))) return;
      i += (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < bytes.size()) f(bytes.substr(start));
}

// Every line followed by CR LF.
std::string JoinCrLf(const std::vector<std::string>& lines);

// Lone CR and lone LF become CR LF.
std::string CrLfLineBreaks(std::string_view text);

// Whether a folder that refuses a temporary file may see the file rewritten in place instead (the way
// the platform's own settings routines update a file they may write in a folder they may not).
enum class InPlace { Refused, Allowed };

// The steps of a rewrite; None is success.
enum class Step { None, Create, Write, Sync, Rename, Changed };
// How a rewrite went: the step that failed and the system's error (errno), or success.
struct WriteResult {
  Step step = Step::None;
  int error = 0;
  explicit operator bool() const { return step == Step::None; }
};

// Writes a temporary file beside the target, flushes, syncs and renames it over the target; a symbolic
// link is followed, so the link stays and its target gets the new bytes. On any failure the previous
// file is left as it was, the temporary file is removed and the failed step comes back. A target
// without any write permission bit is treated as read-only and refused (Create, EACCES).
// With `expected`, the file must still hold what it held when it was read (or still be missing): else
// nothing is written and the step is Changed (error 0).
[[nodiscard]] WriteResult WriteAtomic(const std::string& path, std::string_view bytes,
                                      InPlace inPlace = InPlace::Refused, const Stamp* expected = nullptr);

// "create", "write", "sync", "rename" or "check", for logs.
const char* StepName(Step step);

// The common causes of a failed write as one line for the user (UTF-8, Japanese): a full disk, access
// refused, a read-only file system, a missing file or folder, an input/output error; empty otherwise.
std::string ReasonText(int error);

// Removes from `folder` (ending in a separator) the temporary files a rewrite left behind when it was
// killed (power loss, kill -9): regular files named `<base>.XXXXXX` with `isOurs(base)`, older than
// `minAgeSeconds`, that no rewrite holds (a rewrite keeps its temporary file locked until the rename).
// Returns how many were removed.
std::size_t RemoveLeftovers(const std::string& folder, const std::function<bool(std::string_view)>& isOurs,
                            int minAgeSeconds = 60);

// The targets (links followed) of the entries of `folder` (ending in a separator) that are symbolic
// links named `isOurs(name)`, where the target lies in another folder or has another name.
std::vector<std::string> LinkedTargets(const std::string& folder,
                                       const std::function<bool(std::string_view)>& isOurs);

// The file a path names after following symbolic links (also a dangling one); the path itself otherwise.
std::string ResolveLinks(const std::string& path);

bool IsRegularFile(const std::string& path);
// Creates the folder if it does not exist; true when it exists afterwards.
bool MakeFolder(const std::string& path);

// What kind of entry a name look-up wants.
enum class Entry { File, Folder };
// The name of the regular file (or folder) in `folder` (ending in a separator) that equals `name`
// ignoring ASCII case, preferring the exact spelling, else the first such name in byte order (files
// copied from Windows keep whatever case they had there); empty when there is none.
std::string FindNameIgnoringCase(const std::string& folder, const std::string& name,
                                 Entry kind = Entry::File);
// `folder` + `relative` ('/'-separated, e.g. "Schedule/Sch2612.dat") with each part spelled as it is on
// disk, ignoring case; a part that does not exist keeps the spelling given (where a new file goes).
std::string FindPathIgnoringCase(const std::string& folder, std::string_view relative);

// The system calls a rewrite makes, as one object: tests put in one that fails a chosen step, to prove
// that no store loses its file (testsupport/FailingWrites.h). Failures return -1 with errno set (on
// Windows the system's error is mapped to the errno of the same cause).
class Operations {
 public:
  virtual ~Operations() = default;
  // Replaces the trailing XXXXXX of `pathTemplate` and creates that file for writing: a descriptor.
  virtual int MakeTemporary(char* pathTemplate) = 0;
  virtual std::int64_t WriteAt(int fd, const char* data, std::size_t n, std::int64_t at) = 0;
  virtual int Sync(int fd) = 0;
  // Moves `from` over `to` (replacing it).
  virtual int Rename(const char* from, const char* to) = 0;
};
// The system's own calls.
Operations& SystemOperations();
// Test-only seam: rewrites use `ops` (null: the system's calls again); returns the previous test object.
Operations* SetOperationsForTest(Operations* ops);

}  // namespace textfile
