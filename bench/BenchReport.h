// The benchmarks' closing table: each figure's mean time, ours beside the peer's, measured in one run.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

// Collects each benchmark's mean real time in milliseconds.
class Collector : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, double> ms;
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs)
      ms[r.run_name.function_name] = r.GetAdjustedRealTime() * MillisecondsPer(r.time_unit);
    ConsoleReporter::ReportRuns(runs);
  }

 private:
  static double MillisecondsPer(benchmark::TimeUnit u) {
    switch (u) {
      case benchmark::kNanosecond:
        return 1e-6;
      case benchmark::kMicrosecond:
        return 1e-3;
      case benchmark::kMillisecond:
        return 1.0;
      default:
        return 1e3;
    }
  }
};

// One line per "name/ours": ours, the peer's and peer / ours where there is a "name/peer", and
// ours / floor where there is a "name/memmem" (the bare scan the figure cannot beat).
inline void PrintRatios(const Collector& c) {
  std::printf("%-28s %12s %12s %10s %12s\n", "figure", "ours ms", "peer ms", "peer/ours", "ours/memmem");
  for (const auto& [name, oursMs] : c.ms) {
    const std::string base = name.substr(0, name.find('/'));
    if (name.compare(base.size(), std::string::npos, "/ours") != 0) continue;
    std::printf("%-28s %12.3f", base.c_str(), oursMs);
    auto peer = c.ms.find(base + "/peer");
    if (peer == c.ms.end())
      std::printf(" %12s %10s", "-", "-");
    else
      std::printf(" %12.3f %10.2f", peer->second, peer->second / oursMs);
    auto floor = c.ms.find(base + "/memmem");
    if (floor == c.ms.end())
      std::printf(" %12s\n", "-");
    else
      std::printf(" %12.2f\n", oursMs / floor->second);
  }
}
