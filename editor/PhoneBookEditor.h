// The phone book editor's data: the master table (every line of one group file, markers included) and
// the registration list of the letter being edited, with the editing operations on it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/StoreOutcome.h"
#include "platform/TextFile.h"

class PhoneBookEditor {
 public:
  enum class OpenResult {
    Loaded,      // the file as it was (missing markers added at its end)
    New,         // no file, or an empty one: the empty phone book of 44 markers
    Unreadable,  // exists but could not be read completely: shown as far as read, never saved
  };
  enum class EditResult { Done, NotApplicable, Unencodable, MarkerText };

  OpenResult Open(const std::string& path);
  bool CanSave() const { return canSave_; }
  // Whether the user changed anything since Open (a letter only looked at is no change).
  bool Changed() const { return changed_; }

  // Commits the previous letter's list, if a letter was chosen, and shows the entries of letter k.
  void ReadList(int k);
  // Merges the registration list back into the master table at the current letter's section.
  void SetMaster();
  // Writes the master table whole (atomically) and empties it. On failure the table is kept and the old
  // file is left as it was. A file another program changed since Open is not overwritten unless
  // `overwrite` says so (ChangedOnDisk). NotReadCompletely: the file was not read whole, never written.
  [[nodiscard]] StoreOutcome Savedata(const std::string& path, bool overwrite = false);

  int CurrentLetter() const { return letter_; }  // 0 before the first letter is chosen
  const std::vector<std::string>& Master() const { return master_; }
  const std::vector<std::string>& List() const { return list_; }
  int Selected() const { return selected_; }  // -1: none

  // Operations on the registration list; each checks its own precondition.
  void Select(int index);
  void ClearSelection() { selected_ = -1; }
  EditResult Add(const std::string& text);
  EditResult Modify(const std::string& text);
  bool Delete();
  bool MoveUp();
  bool MoveDown();

  // Why an entry text cannot be stored, or Done.
  static EditResult Check(const std::string& text);
  static bool IsBlank(std::string_view text);

 private:
  std::vector<std::string> master_;
  std::vector<std::string> list_;
  int letter_ = 0;
  int selected_ = -1;
  bool canSave_ = true;
  bool changed_ = false;
  textfile::Stamp stamp_;
};
