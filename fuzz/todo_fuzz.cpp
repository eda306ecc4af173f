// ToDo file: any bytes load; a save gives back every line it did not change, byte for byte.
#include "fuzz/FuzzSupport.h"
#include "organizer/TodoStore.h"
#include "platform/TextFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const std::string path = fuzz::Scratch() + "ToDo.dat";
  const std::string_view in(reinterpret_cast<const char*>(data + 1), size - 1);
  fuzz::Put(path, in);
  todo::TodoBook book;
  FUZZ_CHECK(todo::LoadToDo(path, book));
  FUZZ_CHECK(!book.lines.empty());
  FUZZ_CHECK(book.lines.size() <= todo::kMaxLines);
  for (const auto& line : book.lines) {
    const todo::ItemDate d = todo::DateOf(line);
    FUZZ_CHECK(d.year >= 1901 && d.year <= 2099);  // two characters: -9 .. 99
  }
  const bool tick = data[0] & 1;
  if (tick && !book.lines[0].empty()) book.lines[0][0] = book.lines[0][0] == '1' ? '0' : '1';
  const todo::SaveOutcome o = todo::SaveToDo(path, book);
  if (o.kind != todo::SaveResult::Saved) {
    FUZZ_CHECK(o.kind == todo::SaveResult::Unencodable);
    FUZZ_CHECK(fuzz::Get(path) == in);  // refused: the file is as it was
    return 0;
  }
  const auto before = textfile::SplitLines(in);
  const auto after = textfile::SplitLines(fuzz::Get(path));
  if (before.empty()) {
    FUZZ_CHECK(after.size() == 1 && after[0].empty());
    return 0;
  }
  FUZZ_CHECK(after.size() == before.size());
  for (std::size_t i = 0; i < before.size(); ++i) {
    if (i == 0 && tick && !before[0].empty() && (before[0][0] == '0' || before[0][0] == '1')) {
      FUZZ_CHECK(after[0].substr(1) == before[0].substr(1));
      continue;
    }
    if (i == 0 && tick && !before[0].empty()) continue;  // another first byte became a flag
    FUZZ_CHECK(after[i] == before[i]);
  }
  return 0;
}
