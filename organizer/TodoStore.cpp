// ToDo file reading and writing in code page 932.
#include "organizer/TodoStore.h"

#include <cstdio>
#include <optional>

#include "platform/Sjis.h"
#include "platform/TextChars.h"
#include "platform/TextFile.h"

namespace todo {

bool LoadToDo(const std::string& path, TodoBook& book) {
  book = TodoBook{};
  textfile::Lines file = textfile::ReadLines(path);
  if (file.status == textfile::ReadStatus::Missing) return true;
  if (file.status != textfile::ReadStatus::Ok) {
    book.readCompletely = false;
    return false;
  }
  if (file.lines.empty()) return true;
  book.lines.clear();
  for (std::size_t i = 0; i < file.lines.size(); ++i) {
    std::string& raw = file.lines[i];
    if (i >= kMaxLines) {
      book.overflow.push_back(std::move(raw));
      continue;
    }
    sjis::Decoded d = sjis::Decode(raw);
    auto again = d.complete ? sjis::Encode(d.text) : std::nullopt;
    if (!again || *again != raw) book.kept.push_back({i, d.text, raw});
    book.loaded.push_back(d.text);
    book.lines.push_back(std::move(d.text));
  }
  return true;
}

namespace {
// Whether `line` is the kept line as read, or it with only its tick (one ASCII byte) changed.
bool Same(const TodoBook::Kept& k, const std::string& line) {
  return k.text == line;
}
bool TickChanged(const TodoBook::Kept& k, const std::string& line) {
  auto flag = [](char c) { return c == '0' || c == '1'; };
  return !line.empty() && !k.raw.empty() && flag(line[0]) && flag(k.raw[0]) && k.text.size() == line.size() &&
         k.text.compare(1, std::string::npos, line, 1) == 0;
}

// The bytes to write for line i: the kept bytes of the same line first, then of a moved one, then the
// encoded text. Bytes once used are not used again, so two lines that read alike keep their own.
std::optional<std::string> BytesOf(const TodoBook& book, std::vector<bool>& used, std::size_t i) {
  const std::string& line = book.lines[i];
  auto take = [&](std::size_t k) {
    used[k] = true;
    const TodoBook::Kept& kept = book.kept[k];
    return Same(kept, line) ? kept.raw : line[0] + kept.raw.substr(1);
  };
  for (std::size_t k = 0; k < book.kept.size(); ++k)
    if (!used[k] && book.kept[k].line == i && (Same(book.kept[k], line) || TickChanged(book.kept[k], line)))
      return take(k);
  // Unchanged in its place and written the same way again: its own bytes, not a look-alike's.
  if (i < book.loaded.size() && book.loaded[i] == line) return sjis::Encode(line);
  for (std::size_t k = 0; k < book.kept.size(); ++k)
    if (!used[k] && Same(book.kept[k], line)) return take(k);
  for (std::size_t k = 0; k < book.kept.size(); ++k)
    if (!used[k] && TickChanged(book.kept[k], line)) return take(k);
  return sjis::Encode(line);
}
}  // namespace

SaveOutcome SaveToDo(const std::string& path, const TodoBook& book) {
  if (!book.readCompletely) return {SaveResult::NotReadCompletely, 0};
  std::vector<bool> used(book.kept.size(), false);
  std::string out;
  for (std::size_t i = 0; i < book.lines.size(); ++i) {
    auto bytes = BytesOf(book, used, i);
    if (!bytes) return {SaveResult::Unencodable, i + 1};
    out += *bytes + "\r\n";
  }
  for (const std::string& raw : book.overflow) out += raw + "\r\n";
  if (!textfile::WriteAtomic(path, out)) return {SaveResult::WriteFailed, 0};
  return {};
}

std::string Prefix(int year, int month, int day) {
  std::string y = std::to_string(year);
  if (y.size() > 2) y = y.substr(y.size() - 2);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%s/%02d/%02d ", y.c_str(), month, day);
  return buf;
}

ItemDate DateOf(std::string_view line) {
  auto field = [line](std::size_t from, std::size_t count) {
    return static_cast<int>(textchars::LeadingNumber(textchars::Mid(line, from, count)));
  };
  return {2000 + field(2, 2), field(5, 2), field(8, 2)};
}

}  // namespace todo
