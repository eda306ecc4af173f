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
    if (!again || *again != raw) book.rawByText.emplace(d.text, raw);
    book.lines.push_back(std::move(d.text));
  }
  return true;
}

namespace {
// The bytes to write for a line: as read when unchanged, else encoded. A line with undecodable bytes
// whose tick alone changed keeps its bytes too (the flag is one ASCII byte).
std::optional<std::string> BytesOf(const TodoBook& book, const std::string& line) {
  if (auto raw = book.rawByText.find(line); raw != book.rawByText.end()) return raw->second;
  if (auto encoded = sjis::Encode(line)) return encoded;
  if (line.empty() || (line[0] != '0' && line[0] != '1')) return std::nullopt;
  for (char flag : {'0', '1'}) {
    auto raw = book.rawByText.find(flag + line.substr(1));
    if (raw != book.rawByText.end() && !raw->second.empty() && raw->second[0] == flag)
      return line[0] + raw->second.substr(1);
  }
  return std::nullopt;
}
}  // namespace

SaveOutcome SaveToDo(const std::string& path, const TodoBook& book) {
  if (!book.readCompletely) return {SaveResult::NotReadCompletely, 0};
  std::string out;
  for (std::size_t i = 0; i < book.lines.size(); ++i) {
    auto bytes = BytesOf(book, book.lines[i]);
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
