// Failing the nth create, write, sync or rename of a rewrite through its operations seam.
#include "testsupport/FailingWrites.h"

#include <cerrno>

namespace textfile::fault {
namespace {
class Failing final : public Operations {
 public:
  Step step = Step::None;
  int countdown = 0;

  int MakeTemporary(char* pathTemplate) override {
    // A refused temporary file looks like a folder the user may not write to.
    return Hits(Step::Create, EACCES) ? -1 : SystemOperations().MakeTemporary(pathTemplate);
  }
  std::int64_t WriteAt(int fd, const char* data, std::size_t n, std::int64_t at) override {
    return Hits(Step::Write, EIO) ? -1 : SystemOperations().WriteAt(fd, data, n, at);
  }
  int Sync(int fd) override { return Hits(Step::Sync, EIO) ? -1 : SystemOperations().Sync(fd); }
  int Rename(const char* from, const char* to) override {
    return Hits(Step::Rename, EIO) ? -1 : SystemOperations().Rename(from, to);
  }

 private:
  // True when this occurrence of `s` is the one to fail (errno set as the system would).
  bool Hits(Step s, int error) {
    if (step != s || countdown <= 0 || --countdown > 0) return false;
    step = Step::None;
    errno = error;
    return true;
  }
};

Failing failing;
}  // namespace

void Inject(Step step, int nth) {
  failing.step = step;
  failing.countdown = nth;
  SetOperationsForTest(&failing);
}

void Clear() {
  failing.step = Step::None;
  failing.countdown = 0;
  SetOperationsForTest(nullptr);
}
}  // namespace textfile::fault
