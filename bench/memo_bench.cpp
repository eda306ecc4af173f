// The free memo with 50,000 pages (50 MB): opening, showing a page, saving a changed page and searching
// every page, each beside the peer shell tool doing the same job on the same file in the same run.
// Usage: memo_bench <scratch folder> [benchmark flags]
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/BenchReport.h"
#include "organizer/MemoBook.h"
#include "platform/Sjis.h"
#include "platform/TextFile.h"

namespace {
std::string dir;
std::string Memo() {
  return dir + "/freememo.dat";
}

// Deterministic pages of Japanese and ASCII text, each padded to 1000 bytes.
void MakeMemo() {
  std::string data;
  data.reserve(50000 * memo::kRecord);
  const std::string words[] = {"打ち合わせ", "買い物リスト", "電話番号 03-1234-5678", "メモ", "予定", "note"};
  for (int p = 0; p < 50000; ++p) {
    std::string text = "ページ" + std::to_string(p + 1) + " ";
    for (int i = 0; (p * 7 + i) % 13 != 12 && i < 40; ++i) text += words[(p + i) % 6] + " ";
    data += *memo::MakeRecord(text);
  }
  if (!textfile::WriteAtomic(Memo(), data)) std::abort();
}

void Run(benchmark::State& state, const std::string& command) {
  for (auto _ : state)
    if (std::system(command.c_str()) != 0) state.SkipWithError(("failed: " + command).c_str());
}

void BM_Open(benchmark::State& state) {
  for (auto _ : state) {
    memo::MemoBook b;
    if (!b.Open(Memo()) || b.Count() != 50000) state.SkipWithError("open failed");
  }
}

void BM_ShowPage(benchmark::State& state) {
  memo::MemoBook b;
  b.Open(Memo());
  int p = 1;
  for (auto _ : state) {
    benchmark::DoNotOptimize(b.PageText(p));
    p = p % 50000 + 7;
  }
}

void BM_SavePage(benchmark::State& state) {
  memo::MemoBook b;
  b.Open(Memo());
  int i = 0;
  for (auto _ : state)
    if (!b.WriteRecord(25000, *memo::MakeRecord("changed " + std::to_string(i++))))
      state.SkipWithError("save");
}

// A text on no page: every page is read to the end.
void BM_SearchAll(benchmark::State& state) {
  memo::MemoBook b;
  b.Open(Memo());
  for (auto _ : state)
    if (b.Find("見つからない文字列", 1) != 0) state.SkipWithError("found");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: memo_bench <scratch folder> [benchmark flags]\n");
    return 2;
  }
  dir = argv[1];
  MakeMemo();
  const std::string needle = *sjis::Encode("見つからない文字列");
  benchmark::RegisterBenchmark("open-50000-pages/ours", BM_Open)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("open-50000-pages/peer", [](benchmark::State& s) {
    Run(s, "cat '" + Memo() + "' > /dev/null");
  })->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("show-page/ours", BM_ShowPage)->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("save-changed-page/ours", BM_SavePage)->Unit(benchmark::kMillisecond);
  // The same durable rewrite by hand: copy, flush to disk, rename.
  benchmark::RegisterBenchmark("save-changed-page/peer", [](benchmark::State& s) {
    Run(s, "cp '" + Memo() + "' '" + Memo() + ".peer' && sync '" + Memo() + ".peer' && mv '" + Memo() +
               ".peer' '" + Memo() + "'");
  })->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("search-all-pages/ours", BM_SearchAll)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("search-all-pages/peer", [needle](benchmark::State& s) {
    Run(s, "LC_ALL=C grep -c -F -- '" + needle + "' '" + Memo() + "' > /dev/null; true");
  })->Unit(benchmark::kMillisecond);
  benchmark::Initialize(&argc, argv);
  Collector collector;
  benchmark::RunSpecifiedBenchmarks(&collector);
  std::printf("\n");
  PrintRatios(collector);
  return 0;
}
