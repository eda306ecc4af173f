// Memo records over one in-memory copy of the file.
#include "organizer/MemoBook.h"

#include <algorithm>
#include <cstring>

#include "platform/Sjis.h"
#include "platform/TextChars.h"
#include "platform/TextFile.h"

namespace memo {

std::string PageBuffer(std::string_view utf8) {
  std::string b(textchars::Left(utf8, kRecord));
  b.append(kRecord - textchars::CharCount(b), ' ');
  return b;
}

std::optional<std::string> MakeRecord(std::string_view utf8) {
  auto encoded = sjis::Encode(PageBuffer(utf8));
  if (!encoded) return std::nullopt;
  encoded->resize(sjis::CutLength(*encoded, kRecord));
  encoded->append(kRecord - encoded->size(), ' ');
  return encoded;
}

std::string StoredText(std::string_view shown) {
  std::string out;
  out.reserve(shown.size() + 16);
  for (std::size_t i = 0; i < shown.size(); ++i) {
    if (shown[i] == '\n' && (i == 0 || shown[i - 1] != '\r')) out += '\r';
    out += shown[i];
  }
  return out;
}

std::string ShownText(std::string_view stored) {
  std::string out;
  out.reserve(stored.size());
  for (std::size_t i = 0; i < stored.size(); ++i) {
    if (stored[i] != '\r') {
      out += stored[i];
    } else if (i + 1 >= stored.size() || stored[i + 1] != '\n') {
      out += '\n';  // a lone CR is a line break too
    }
  }
  return out;
}

bool TooLong(std::string_view utf8) {
  auto encoded = sjis::Encode(utf8);
  return encoded && encoded->size() > kRecord;
}

bool MemoBook::Open(const std::string& path) {
  path_ = path;
  textfile::Bytes b = textfile::ReadAll(path);
  readCompletely_ = b.status != textfile::ReadStatus::Error;
  stamp_ = b.status == textfile::ReadStatus::Ok ? textfile::StampOf(b.data) : textfile::MissingFile();
  data_ = b.status == textfile::ReadStatus::Ok ? std::move(b.data) : std::string();
  count_ = static_cast<int>(data_.size() / kRecord);
  return readCompletely_;
}

std::string_view MemoBook::Record(int page) const {
  if (page < 1 || page > count_) return {};
  return std::string_view(data_).substr(static_cast<std::size_t>(page - 1) * kRecord, kRecord);
}

std::string MemoBook::PageText(int page) const {
  const std::string_view record = Record(page);
  std::size_t whole = 0;
  while (whole < record.size()) {
    const std::size_t width = sjis::IsLeadByte(static_cast<unsigned char>(record[whole])) ? 2 : 1;
    if (whole + width > record.size()) break;
    whole += width;
  }
  return sjis::Decode(record.substr(0, whole)).text;
}

StoreOutcome MemoBook::Rewrite(std::string data) {
  if (!readCompletely_) return {StoreOutcome::Kind::NotReadCompletely};
  const textfile::WriteResult w = textfile::WriteAtomic(path_, data, textfile::InPlace::Refused, &stamp_);
  if (w.step == textfile::Step::Changed) return {StoreOutcome::Kind::ChangedOnDisk};
  if (!w) return StoreOutcome::Failed(w);
  stamp_ = textfile::StampOf(data);
  data_ = std::move(data);
  count_ = static_cast<int>(data_.size() / kRecord);
  return {};
}

namespace {
std::string WithRecord(const std::string& data, int count, int page, const std::string& record) {
  std::string out = data.substr(0, static_cast<std::size_t>(count) * kRecord);
  if (page == count + 1)
    out += record;
  else
    out.replace(static_cast<std::size_t>(page - 1) * kRecord, kRecord, record);
  return out;
}
}  // namespace

StoreOutcome MemoBook::WriteRecord(int page, const std::string& record) {
  if (page < 1 || page > count_ + 1 || record.size() != kRecord) return {StoreOutcome::Kind::Refused, page};
  StoreOutcome first = Rewrite(WithRecord(data_, count_, page, record));
  if (first.kind != StoreOutcome::Kind::ChangedOnDisk) return first;
  // Another program changed the file (a synchroniser, a second computer): its pages are taken as they
  // are now, and this page is written into them where that program left it as this book had it.
  MemoBook now;
  if (!now.Open(path_) || now.count_ < page - 1 || (page <= count_ && now.Record(page) != Record(page)) ||
      (page == count_ + 1 && now.count_ != count_))
    return first;
  data_ = std::move(now.data_);
  count_ = now.count_;
  stamp_ = now.stamp_;
  return Rewrite(WithRecord(data_, count_, page, record));
}

StoreOutcome MemoBook::DeleteRecord(int page) {
  if (page < 1 || page > count_) return {StoreOutcome::Kind::Refused, page};
  std::string data = data_.substr(0, static_cast<std::size_t>(count_) * kRecord);
  data.erase(static_cast<std::size_t>(page - 1) * kRecord, kRecord);
  return Rewrite(std::move(data));
}

StoreOutcome MemoBook::Compact() {
  const std::size_t whole = static_cast<std::size_t>(count_) * kRecord;
  if (data_.size() == whole) return {};
  return Rewrite(data_.substr(0, whole));
}

int MemoBook::Find(std::string_view utf8, int from) const {
  if (utf8.empty() || from < 1) return 0;
  const auto needle = sjis::Encode(utf8);
  if (!needle || needle->empty() || needle->size() > kRecord) return 0;
  // Characters are compared, not bytes: a page may spell a character with another of its codes.
  int first = 0;
  for (const std::string& spelling : sjis::Spellings(*needle)) {
    const int page = FindBytes(spelling, from, first > 0 ? first : count_);
    if (page > 0 && (first == 0 || page < first)) first = page;
  }
  return first;
}

int MemoBook::FindBytes(const std::string& needle, int from, int upTo) const {
  const std::size_t end = static_cast<std::size_t>(upTo) * kRecord;
  std::size_t at = static_cast<std::size_t>(from - 1) * kRecord;
  const std::string_view all(data_.data(), std::min(end, data_.size()));
  while (at < all.size()) {
    const std::size_t hit = all.find(needle, at);
    if (hit == std::string_view::npos) return 0;
    const std::size_t recordStart = hit - hit % kRecord;
    // Starts on a character of its record and ends inside it.
    std::size_t i = recordStart;
    while (i < hit) i += sjis::IsLeadByte(static_cast<unsigned char>(data_[i])) ? 2 : 1;
    if (i == hit && hit + needle.size() <= recordStart + kRecord)
      return static_cast<int>(recordStart / kRecord) + 1;
    at = hit + 1;
  }
  return 0;
}

}  // namespace memo
