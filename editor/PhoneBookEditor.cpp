// Master table and registration list: one array of lines for the whole file, rebuilt by SetMaster.
#include "editor/PhoneBookEditor.h"

#include <utility>

#include "core/Kana.h"
#include "core/PhoneBookFile.h"
#include "platform/Sjis.h"
#include "platform/TextFile.h"

namespace {
std::vector<std::string> EmptyBook() {
  return std::vector<std::string>(kana::kLetterCount, std::string(phonebook::kMarker));
}
}  // namespace

PhoneBookEditor::OpenResult PhoneBookEditor::Open(const std::string& path) {
  master_.clear();
  list_.clear();
  letter_ = 0;
  selected_ = -1;
  canSave_ = true;
  changed_ = false;
  textfile::Lines file;
  {
    const textfile::Bytes bytes = textfile::ReadAll(path);
    file.status = bytes.status;
    file.lines = textfile::SplitLines(bytes.data);
    stamp_ =
        bytes.status == textfile::ReadStatus::Ok ? textfile::StampOf(bytes.data) : textfile::MissingFile();
  }
  if (file.status == textfile::ReadStatus::Missing ||
      (file.status == textfile::ReadStatus::Ok && file.lines.empty())) {
    master_ = EmptyBook();
    return OpenResult::New;
  }
  if (file.status == textfile::ReadStatus::Error) {
    canSave_ = false;
    master_ = EmptyBook();
    return OpenResult::Unreadable;
  }
  bool clean = true;
  int markers = 0;
  master_.reserve(file.lines.size() + kana::kLetterCount);
  for (const std::string& raw : file.lines) {
    sjis::Decoded d = sjis::Decode(raw);
    clean = clean && d.complete;
    if (d.text == phonebook::kMarker) ++markers;
    master_.push_back(std::move(d.text));
  }
  if (!clean) {
    // Writing the replacement characters back would destroy the bytes the codec could not read.
    canSave_ = false;
    return OpenResult::Unreadable;
  }
  // Without its marker a later letter has no section, and entries added there would be dropped.
  for (; markers < kana::kLetterCount; ++markers) master_.emplace_back(phonebook::kMarker);
  return OpenResult::Loaded;
}

void PhoneBookEditor::ReadList(int k) {
  if (k < 1 || k > kana::kLetterCount) return;
  if (letter_ != 0) SetMaster();
  list_.clear();
  selected_ = -1;
  letter_ = k;
  int counter = 0;
  for (const std::string& line : master_) {
    if (line == phonebook::kMarker)
      ++counter;
    else if (counter == k)
      list_.push_back(line);
  }
}

void PhoneBookEditor::SetMaster() {
  if (letter_ == 0) return;
  std::vector<std::string> table;
  table.reserve(master_.size() + list_.size());
  int counter = 0;
  for (std::string& line : master_) {
    if (line == phonebook::kMarker) {
      ++counter;
      table.push_back(std::move(line));
      if (counter == letter_) table.insert(table.end(), list_.begin(), list_.end());
    } else if (counter != letter_) {
      table.push_back(std::move(line));
    }
  }
  master_ = std::move(table);
}

StoreOutcome PhoneBookEditor::Savedata(const std::string& path, bool overwrite) {
  if (!canSave_) return {StoreOutcome::Kind::NotReadCompletely};
  // Encoded straight into the file's bytes: a big book is held once more, not twice.
  std::size_t size = 0;
  for (const std::string& line : master_) size += line.size() + 2;
  std::string bytes;
  bytes.reserve(size);
  for (const std::string& line : master_) {
    auto e = sjis::Encode(line);
    if (!e) return {StoreOutcome::Kind::Unencodable};  // never happens: Add and Modify refuse such text
    bytes += *e;
    bytes += "\r\n";
  }
  const textfile::WriteResult w =
      textfile::WriteAtomic(path, bytes, textfile::InPlace::Refused, overwrite ? nullptr : &stamp_);
  if (w.step == textfile::Step::Changed) return {StoreOutcome::Kind::ChangedOnDisk};
  if (!w) return StoreOutcome::Failed(w);
  stamp_ = textfile::StampOf(bytes);
  changed_ = false;
  master_.clear();
  return {};
}

bool PhoneBookEditor::IsBlank(std::string_view text) {
  return text.find_first_not_of(' ') == std::string_view::npos;
}

PhoneBookEditor::EditResult PhoneBookEditor::Check(const std::string& text) {
  if (text == phonebook::kMarker) return EditResult::MarkerText;  // would open a new section on reload
  if (text.find_first_of("\r\n") != std::string::npos || !sjis::Encode(text)) return EditResult::Unencodable;
  return EditResult::Done;
}

void PhoneBookEditor::Select(int index) {
  if (index >= 0 && index < static_cast<int>(list_.size())) selected_ = index;
}

PhoneBookEditor::EditResult PhoneBookEditor::Add(const std::string& text) {
  if (letter_ == 0 || IsBlank(text)) return EditResult::NotApplicable;
  if (EditResult r = Check(text); r != EditResult::Done) return r;
  list_.push_back(text);
  selected_ = -1;
  changed_ = true;
  return EditResult::Done;
}

PhoneBookEditor::EditResult PhoneBookEditor::Modify(const std::string& text) {
  if (selected_ < 0) return EditResult::NotApplicable;
  if (EditResult r = Check(text); r != EditResult::Done) return r;
  changed_ = changed_ || list_[static_cast<std::size_t>(selected_)] != text;
  list_[static_cast<std::size_t>(selected_)] = text;
  selected_ = -1;
  return EditResult::Done;
}

bool PhoneBookEditor::Delete() {
  if (selected_ < 0) return false;
  list_.erase(list_.begin() + selected_);
  selected_ = -1;
  changed_ = true;
  return true;
}

bool PhoneBookEditor::MoveUp() {
  if (selected_ <= 0) return false;
  std::swap(list_[static_cast<std::size_t>(selected_)], list_[static_cast<std::size_t>(selected_ - 1)]);
  --selected_;
  changed_ = true;
  return true;
}

bool PhoneBookEditor::MoveDown() {
  if (selected_ < 0 || selected_ + 1 >= static_cast<int>(list_.size())) return false;
  std::swap(list_[static_cast<std::size_t>(selected_)], list_[static_cast<std::size_t>(selected_) + 1]);
  ++selected_;
  changed_ = true;
  return true;
}
