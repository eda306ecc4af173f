// What the Qt-free code tells the log: failed reads and writes with path, step and reason. The program
// routes it into its logging categories (platform/Log.h); without a sink nothing is printed.
#pragma once

#include <string_view>

namespace diag {
enum class Area { Stores, Postal, Organizer };
enum class Level { Debug, Info, Warning };
using Sink = void (*)(Area area, Level level, std::string_view message);

void SetSink(Sink sink);
void Report(Area area, Level level, std::string_view message);
}  // namespace diag
