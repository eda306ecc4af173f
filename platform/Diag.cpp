#include "platform/Diag.h"

namespace diag {
namespace {
Sink sink = nullptr;
}

void SetSink(Sink s) {
  sink = s;
}

void Report(Area area, Level level, std::string_view message) {
  if (sink) sink(area, level, message);
}
}  // namespace diag
