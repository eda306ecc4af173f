// The phone book editor with the biggest books the format allows: 44 letters of 30,000 entries
// (about 200 MB). Opening, choosing a letter, adding an entry and saving, with the time and the peak
// resident memory of each, beside the floor: reading the same file, splitting its lines, joining them
// and writing them back (no editing). Usage: editor_bench <folder> [entries per letter]
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/PhoneBookFile.h"
#include "editor/PhoneBookEditor.h"
#include "platform/TextFile.h"

namespace {
using Clock = std::chrono::steady_clock;
double MsSince(Clock::time_point t) {
  return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}
long PeakMiB() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss / 1024;
}
void Check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "editor_bench: %s failed\n", what);
  std::exit(1);
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const std::string path = std::string(argv[1]) + "/Teldat1.tel";
  const int perLetter = argc > 2 ? std::atoi(argv[2]) : 30000;
  {
    // Entries of about 150 bytes: a name, a number and an address in code page 932.
    std::string book;
    for (int k = 1; k <= 44; ++k) {
      book += "[D@TA]\r\n";
      for (int i = 0; i < perLetter; ++i)
        book += "\x8e\x52\x93\x63 " + std::to_string(k * 100000 + i) + "\t03-1234-5678 " +
                std::string(120, 'x') + "\x93\x8c\x8b\x9e\x93\x73\r\n";
    }
    Check(static_cast<bool>(textfile::WriteAtomic(path, book)), "writing the book");
    std::printf("book: 44 x %d entries, %.1f MB\n", perLetter, static_cast<double>(book.size()) / 1e6);
  }

  // The floor: the same bytes read, split, joined and written back.
  auto t = Clock::now();
  {
    const textfile::Lines lines = textfile::ReadLines(path);
    Check(lines.status == textfile::ReadStatus::Ok, "reading");
    Check(static_cast<bool>(textfile::WriteAtomic(path, textfile::JoinCrLf(lines.lines))), "writing");
  }
  std::printf("floor (read, split, join, write): %8.0f ms, peak %ld MiB\n", MsSince(t), PeakMiB());

  PhoneBookEditor editor;
  t = Clock::now();
  Check(editor.Open(path) == PhoneBookEditor::OpenResult::Loaded, "opening");
  std::printf("open:                             %8.0f ms, peak %ld MiB\n", MsSince(t), PeakMiB());
  t = Clock::now();
  editor.ReadList(1);
  editor.ReadList(44);  // the master table is rebuilt once on the way
  std::printf("two letters chosen:               %8.0f ms\n", MsSince(t));
  t = Clock::now();
  Check(editor.Add("新しい人\t03-0000-0000") == PhoneBookEditor::EditResult::Done, "adding");
  editor.SetMaster();
  Check(static_cast<bool>(editor.Savedata(path)), "saving");
  std::printf("add, master table, save:          %8.0f ms, peak %ld MiB\n", MsSince(t), PeakMiB());
  const phonebook::MenuLoad check = phonebook::LoadForMenus(path);
  Check(check.entries[44].size() == static_cast<std::size_t>(perLetter) + 1, "reading the saved book back");
  return 0;
}
