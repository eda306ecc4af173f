// Quick-find with 100,000 entries spread over the five groups: opening (reading the five files, folding
// every line, reading every kanji name with the dictionary) and one keystroke's search, beside the peer (grep
// -F -i over the same five files, started as a process) and the floor (memmem over the decoded text). Usage:
// find_bench <folder> [entries] [benchmark flags]
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "BenchReport.h"
#include "core/DataFiles.h"
#include "core/PhoneBookFile.h"
#include "find/PhoneFind.h"
#include "find/Readings.h"
#include "platform/Sjis.h"
#include "platform/TextFile.h"

namespace {
std::string dir;

std::string File(int g) {
  return dir + "/" + datafiles::PhoneBook(g);
}

// Surnames and given names with their readings (bench/names.txt), combined into many distinct names.
struct Name {
  std::string text, reading;
};
std::vector<Name> surnames, given;

void ReadNames() {
  std::ifstream in(DN_NAMES_FILE);
  std::string line, section;
  while (std::getline(in, line)) {
    if (line.rfind("# [", 0) == 0) section = line.substr(3, line.find(']') - 3);
    if (line.empty() || line[0] == '#') continue;
    const std::size_t space = line.find(' ');
    Name n{line.substr(0, space), line.substr(space + 1)};
    if (section == "surnames") surnames.push_back(n);
    if (section == "given") given.push_back(n);
  }
}

// Five group files of `total` entries in all, each line a name and a number, in code page 932: mostly
// kanji names, one in five written in kana, as phone books are.
void Generate(long total) {
  for (int g = 1; g <= phonebook::kGroups; ++g) {
    std::array<std::vector<std::string>, kana::kLetterCount + 1> byLetter;
    for (long i = g - 1; i < total; i += phonebook::kGroups) {
      const Name& f = surnames[static_cast<std::size_t>(i) % surnames.size()];
      const Name& n = given[static_cast<std::size_t>(i / 7) % given.size()];
      char number[32];
      std::snprintf(number, sizeof number, "\t0%ld-%04ld-%04ld", 3 + i % 7, (i * 37) % 10000, i % 10000);
      const int k = phonefind::LetterOfKana(phonefind::Fold(f.reading)[0]);
      const std::string name = i % 5 == 4 ? f.reading + " " + n.reading : f.text + " " + n.text;
      byLetter[static_cast<std::size_t>(k)].push_back(name + number);
    }
    std::string out;
    for (int k = 1; k <= kana::kLetterCount; ++k) {
      out += "[D@TA]\r\n";
      for (const std::string& l : byLetter[static_cast<std::size_t>(k)]) out += l + "\r\n";
    }
    std::ofstream(File(g), std::ios::binary) << *sjis::Encode(out);
  }
}

const readings::Dictionary& Dictionary() {
  static const readings::Dictionary d = readings::Dictionary::FromFile(DN_READINGS_FILE);
  return d;
}

phonefind::Index Open() {
  phonefind::Index index(&Dictionary());
  for (int g = 1; g <= phonebook::kGroups; ++g) index.AddGroup(g, phonebook::LoadForMenus(File(g)).entries);
  return index;
}

void BM_Open(benchmark::State& state) {
  for (auto _ : state) {
    phonefind::Index index = Open();
    state.counters["entries"] = static_cast<double>(index.Entries().size());
    state.counters["index_MB"] = static_cast<double>(index.IndexBytes()) / 1e6;
  }
}

// The readings file read and checked, once per program (the first quick-find).
void BM_Dictionary(benchmark::State& state) {
  std::ifstream in(DN_READINGS_FILE, std::ios::binary);
  std::stringstream file;
  file << in.rdbuf();
  const std::string bytes = file.str();
  for (auto _ : state) {
    const readings::Dictionary d = readings::Dictionary::FromBytes(bytes);
    state.counters["words"] = static_cast<double>(d.Words());
  }
  state.counters["file_MB"] = static_cast<double>(bytes.size()) / 1e6;
}

// The floor of opening: the five files' bytes read, nothing else.
void BM_OpenFloor(benchmark::State& state) {
  for (auto _ : state)
    for (int g = 1; g <= phonebook::kGroups; ++g)
      benchmark::DoNotOptimize(textfile::ReadAll(File(g)).data.size());
}

// One keystroke: the hits for the text typed so far, as many as the window shows.
void Search(benchmark::State& state, const std::string& typed) {
  static const phonefind::Index index = Open();
  std::size_t hits = 0;
  for (auto _ : state) hits = index.Find(typed, 500).size();
  state.counters["hits"] = static_cast<double>(hits);
}

void Grep(benchmark::State& state, const std::string& typed) {
  std::string command = "LC_ALL=C grep -F -i -- '" + *sjis::Encode(typed) + "'";
  for (int g = 1; g <= phonebook::kGroups; ++g) command += " '" + File(g) + "'";
  command += " > '" + dir + "/grep.out'; test $? -le 1";
  for (auto _ : state)
    if (std::system(command.c_str()) != 0) state.SkipWithError("grep failed");
}

void Memmem(benchmark::State& state, const std::string& typed) {
  static const std::string text = [] {
    std::string all;
    for (int g = 1; g <= phonebook::kGroups; ++g) all += sjis::Decode(textfile::ReadAll(File(g)).data).text;
    return all;
  }();
  for (auto _ : state) {
    std::size_t n = 0;
    for (const char* p = text.data();
         (p = static_cast<const char*>(memmem(p, text.data() + text.size() - p, typed.data(), typed.size())));
         ++p)
      ++n;
    benchmark::DoNotOptimize(n);
  }
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: find_bench <folder> [entries] [benchmark flags]\n");
    return 2;
  }
  dir = argv[1];
  ReadNames();
  const long total = argc > 2 && argv[2][0] != '-' ? std::atol(argv[2]) : 100000;
  Generate(total);
  std::printf("%ld entries over %d groups\n", total, phonebook::kGroups);

  benchmark::RegisterBenchmark("dictionary/ours", BM_Dictionary)->Unit(benchmark::kMillisecond)->MinTime(1.0);
  benchmark::RegisterBenchmark("open/ours", BM_Open)->Unit(benchmark::kMillisecond)->MinTime(1.0);
  benchmark::RegisterBenchmark("open/memmem", BM_OpenFloor)->Unit(benchmark::kMillisecond)->MinTime(1.0);
  // Each keystroke of typing a name, the worst ones first (one letter: nearly every line matches).
  const std::vector<std::pair<std::string, std::string>> keys = {{"key-t", "t"},
                                                                 {"key-ta", "ta"},
                                                                 {"key-tanaka", "tanaka"},
                                                                 {"key-tanaka-ichiro", "tanaka ichiro"},
                                                                 {"key-shinichi", "shinichi"},
                                                                 {"key-kana", "なかじま"},
                                                                 {"key-kanji", "田中"},
                                                                 {"key-half", "ｽｽﾞｷ"},
                                                                 {"key-digits", "0312"},
                                                                 {"key-none", "zzzz"}};
  for (const auto& [name, text] : keys) {
    benchmark::RegisterBenchmark((name + "/ours").c_str(), [t = text](benchmark::State& s) { Search(s, t); })
        ->Unit(benchmark::kMillisecond)
        ->MinTime(0.5);
    benchmark::RegisterBenchmark((name + "/peer").c_str(), [t = text](benchmark::State& s) { Grep(s, t); })
        ->Unit(benchmark::kMillisecond)
        ->MinTime(0.5);
    benchmark::RegisterBenchmark((name + "/memmem").c_str(),
                                 [t = text](benchmark::State& s) { Memmem(s, t); })
        ->Unit(benchmark::kMillisecond)
        ->MinTime(0.5);
  }
  benchmark::Initialize(&argc, argv);
  Collector collector;
  benchmark::RunSpecifiedBenchmarks(&collector);
  PrintRatios(collector);
  return 0;
}
