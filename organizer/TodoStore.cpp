// ToDo file reading and writing in code page 932.
#include "organizer/TodoStore.h"
#include "platform/Diag.h"

#include <cstdio>
#include <deque>
#include <optional>
#include <unordered_map>

#include "platform/Sjis.h"
#include "platform/TextChars.h"
#include "platform/TextFile.h"

namespace todo {

bool LoadToDo(const std::string& path, TodoBook& book) {
  book = TodoBook{};
  textfile::Lines file;
  {
    const textfile::Bytes bytes = textfile::ReadAll(path);
    file.status = bytes.status;
    file.lines = textfile::SplitLines(bytes.data);
    if (bytes.status == textfile::ReadStatus::Ok) book.stamp = textfile::StampOf(bytes.data);
  }
  if (file.status == textfile::ReadStatus::Missing) return true;
  if (file.status != textfile::ReadStatus::Ok) {
    diag::Report(diag::Area::Organizer, diag::Level::Warning,
                 "ToDo list " + path + " not read: kept as it is");
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

// Finds the kept bytes for each line in constant time, so a save stays proportional to the file however
// many lines keep their bytes: by the line's place, by its text, and by its text after the tick.
class KeptIndex {
 public:
  explicit KeptIndex(const TodoBook& book) : book_(book), used_(book.kept.size(), false) {
    for (std::size_t k = 0; k < book.kept.size(); ++k) {
      const TodoBook::Kept& kept = book.kept[k];
      byLine_.emplace(kept.line, k);
      byText_[kept.text].push_back(k);
      if (!kept.raw.empty() && (kept.raw[0] == '0' || kept.raw[0] == '1') && !kept.text.empty())
        byRest_[kept.text.substr(1)].push_back(k);
    }
  }

  // The bytes to write for line i: the kept bytes of the same line first, then of a moved one, then the
  // encoded text. Bytes once used are not used again, so two lines that read alike keep their own.
  std::optional<std::string> BytesOf(std::size_t i) {
    const std::string& line = book_.lines[i];
    if (auto it = byLine_.find(i); it != byLine_.end() && !used_[it->second]) {
      const TodoBook::Kept& k = book_.kept[it->second];
      if (Same(k, line) || TickChanged(k, line)) return Take(it->second, line);
    }
    // Unchanged in its place and written the same way again: its own bytes, not a look-alike's.
    if (i < book_.loaded.size() && book_.loaded[i] == line) return sjis::Encode(line);
    if (auto k = First(byText_, line)) return Take(*k, line);
    if (!line.empty() && (line[0] == '0' || line[0] == '1'))
      if (auto k = First(byRest_, line.substr(1))) return Take(*k, line);
    return sjis::Encode(line);
  }

 private:
  using Queue = std::deque<std::size_t>;
  std::optional<std::size_t> First(std::unordered_map<std::string, Queue>& map, const std::string& key) {
    auto it = map.find(key);
    if (it == map.end()) return std::nullopt;
    Queue& q = it->second;
    while (!q.empty() && used_[q.front()]) q.pop_front();
    if (q.empty()) return std::nullopt;
    return q.front();
  }
  std::string Take(std::size_t k, const std::string& line) {
    used_[k] = true;
    const TodoBook::Kept& kept = book_.kept[k];
    return Same(kept, line) ? kept.raw : line[0] + kept.raw.substr(1);
  }

  const TodoBook& book_;
  std::vector<bool> used_;
  std::unordered_map<std::size_t, std::size_t> byLine_;
  std::unordered_map<std::string, Queue> byText_, byRest_;
};
}  // namespace

SaveOutcome SaveToDo(const std::string& path, TodoBook& book, bool overwrite) {
  if (!book.readCompletely) return {SaveResult::NotReadCompletely};
  KeptIndex index(book);
  std::string out;
  for (std::size_t i = 0; i < book.lines.size(); ++i) {
    auto bytes = index.BytesOf(i);
    if (!bytes) return {SaveResult::Unencodable, static_cast<int>(i) + 1};
    out += *bytes + "\r\n";
  }
  for (const std::string& raw : book.overflow) out += raw + "\r\n";
  // What the file holds already (or an empty list where there is no file) is not written again.
  const textfile::Stamp mine = textfile::StampOf(out);
  if (mine == book.stamp || (!book.stamp.exists && IsEmpty(book.lines) && book.overflow.empty())) return {};
  const textfile::WriteResult w =
      textfile::WriteAtomic(path, out, textfile::InPlace::Refused, overwrite ? nullptr : &book.stamp);
  if (w.step == textfile::Step::Changed) return {SaveResult::ChangedOnDisk};
  if (!w) return StoreOutcome::Failed(w);
  book.stamp = mine;
  return {};
}

int FlagOf(std::string_view line) {
  return static_cast<int>(textchars::LeadingNumber(textchars::Mid(line, 1, 1)));
}

std::string TextOfLine(std::string_view line) {
  return std::string(textchars::Mid(line, 11));
}

bool IsDone(std::string_view line) {
  return !line.empty() && line.front() == '1';
}

std::string ListText(std::string_view line) {
  return std::string(textchars::Mid(line, 2));
}

std::string LineOf(bool done, std::string_view listText) {
  std::string line(1, done ? '1' : '0');
  line += listText;
  return line;
}

std::string TextOf(std::string_view listText) {
  return std::string(textchars::Mid(listText, 10));
}

ItemDate DateOfItem(std::string_view listText) {
  return DateOf(LineOf(false, listText));
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
