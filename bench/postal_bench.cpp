// Postal list conversion and data file search, each against the peer shell tool on the same data in the
// same run. Usage: postal_bench <folder holding Ken_all.csv> [benchmark flags]
// The last lines printed are one per figure: name, ours (ms), peer (ms), peer / ours.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "bench/BenchReport.h"
#include "platform/Sjis.h"
#include "platform/TextFile.h"
#include "postal/PostalData.h"
#include "postal/PostalResults.h"

namespace {

std::string dir;

std::string Csv() {
  return dir + "/Ken_all.csv";
}
std::string Dat() {
  return dir + "/Ken_all.dat";
}

const std::string& Data() {
  static const std::string data = textfile::ReadAll(Dat()).data;
  return data;
}

void Run(benchmark::State& state, const std::string& command) {
  for (auto _ : state)
    if (std::system(command.c_str()) != 0) state.SkipWithError(("failed: " + command).c_str());
}

void BM_Convert(benchmark::State& state) {
  for (auto _ : state)
    if (!postal::ConvertFile(Csv(), dir + "/ours.dat")) state.SkipWithError("conversion failed");
}

// The obvious shell pipeline doing the same job: decode, pick the fields, encode.
void BM_ConvertPeer(benchmark::State& state) {
  Run(state, "iconv -f CP932 -t UTF-8 '" + Csv() +
                 "' | awk -F, 'BEGIN { ORS = \"\\r\\n\" } { gsub(/\"/, \"\", $3); gsub(/\"/, \"\", $7); "
                 "gsub(/\"/, \"\", $8); gsub(/\"/, \"\", $9); print $3 \"  \" $7 $8 $9 }' | iconv -f UTF-8 "
                 "-t CP932 > '" +
                 dir + "/peer.dat'");
}

// Each search after the first: the data file is in memory while the window is open.
void Search(benchmark::State& state, const std::string& typed) {
  const std::string needle = *postal::SearchText(typed);
  std::size_t hits = 0;
  for (auto _ : state) {
    postal::Search s(Data(), needle);
    std::vector<postal::LineRef> found;
    while (s.Step(1 << 18, found)) {
    }
    hits = found.size();
    benchmark::DoNotOptimize(found.data());
  }
  state.counters["hits"] = static_cast<double>(hits);
}

// The floor: a bare memmem over the same bytes, counting every occurrence.
void Memmem(benchmark::State& state, const std::string& typed) {
  const std::string needle = *postal::SearchText(typed);
  const std::string& data = Data();
  std::size_t hits = 0;
  for (auto _ : state) {
    hits = 0;
    const char* p = data.data();
    const char* end = data.data() + data.size();
    while (const void* h = ::memmem(p, static_cast<std::size_t>(end - p), needle.data(), needle.size())) {
      ++hits;
      p = static_cast<const char*>(h) + 1;
    }
    benchmark::DoNotOptimize(hits);
  }
  state.counters["hits"] = static_cast<double>(hits);
}

// grep writes every line it finds to a file, as ours lists every one: writing to /dev/null would let
// GNU grep stop at the first match (it treats that output as -q).
std::string GrepOut() {
  return dir + "/grep.out";
}
void Grep(benchmark::State& state, const std::string& typed) {
  Run(state, "LC_ALL=C grep -F -- '" + *sjis::Encode(typed) + "' '" + Dat() + "' > '" + GrepOut() + "'");
}

// A blank search lists every line through the list's model.
void BM_BlankSearchIntoModel(benchmark::State& state) {
  for (auto _ : state) {
    PostalResults model;
    model.SetData(Data());
    postal::Search s(Data(), "");
    bool more = true;
    while (more) {
      std::vector<postal::LineRef> found;
      more = s.Step(1 << 18, found);
      model.Append(found);
    }
    state.counters["rows"] = model.rowCount();
  }
}

void BM_BlankSearchPeer(benchmark::State& state) {
  Run(state, "LC_ALL=C grep -F -- '' '" + Dat() + "' > '" + GrepOut() + "'");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: postal_bench <folder with Ken_all.csv> [benchmark flags]\n");
    return 2;
  }
  dir = argv[1];
  // The data file the searches use is our own conversion of the list.
  if (!postal::ConvertFile(Csv(), Dat())) return 1;

  benchmark::RegisterBenchmark("convert/ours", BM_Convert)->Unit(benchmark::kMillisecond)->MinTime(2.0);
  benchmark::RegisterBenchmark("convert/peer", BM_ConvertPeer)->Unit(benchmark::kMillisecond)->MinTime(2.0);
  const std::vector<std::pair<std::string, std::string>> searches = {
      {"search-rare", "竹の塚３丁目"}, {"search-common", "東京都"}, {"search-code-prefix", "123"}};
  for (const auto& [name, text] : searches) {
    benchmark::RegisterBenchmark((name + "/ours").c_str(), [t = text](benchmark::State& s) { Search(s, t); })
        ->Unit(benchmark::kMillisecond)
        ->MinTime(1.0);
    benchmark::RegisterBenchmark((name + "/peer").c_str(), [t = text](benchmark::State& s) { Grep(s, t); })
        ->Unit(benchmark::kMillisecond)
        ->MinTime(1.0);
    benchmark::RegisterBenchmark((name + "/memmem").c_str(),
                                 [t = text](benchmark::State& s) { Memmem(s, t); })
        ->Unit(benchmark::kMillisecond)
        ->MinTime(1.0);
  }
  benchmark::RegisterBenchmark("blank-search-all-lines/ours", BM_BlankSearchIntoModel)
      ->Unit(benchmark::kMillisecond)
      ->MinTime(1.0);
  benchmark::RegisterBenchmark("blank-search-all-lines/peer", BM_BlankSearchPeer)
      ->Unit(benchmark::kMillisecond)
      ->MinTime(1.0);

  benchmark::Initialize(&argc, argv);
  Collector collector;
  benchmark::RunSpecifiedBenchmarks(&collector);

  const bool same = textfile::ReadAll(dir + "/ours.dat").data == textfile::ReadAll(dir + "/peer.dat").data;
  std::printf("\nconversion output identical to the peer's: %s\n", same ? "yes" : "no");
  PrintRatios(collector);
  return 0;
}
