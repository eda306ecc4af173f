// The Qt-free code's log sink: one function pointer the program sets at start-up.
#include "platform/Diag.h"

#include <atomic>

namespace diag {
namespace {
// Reports may come from a reading thread while the program sets the sink.
std::atomic<Sink> sink = nullptr;
}  // namespace

void SetSink(Sink s) {
  sink.store(s);
}

void Report(Area area, Level level, std::string_view message) {
  if (const Sink s = sink.load()) s(area, level, message);
}
}  // namespace diag
