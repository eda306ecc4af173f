// Shared routines and globals.
#include "core/Module1.h"

#include <QString>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <future>
#include <optional>

#include "core/Alarm.h"
#include "core/DataFiles.h"
#include "core/IniFile.h"
#include "core/MenuArray.h"
#include "core/PhoneBookFile.h"
#include "core/Settings.h"
#include "platform/Diag.h"
#include "platform/ProgramFolder.h"
#include "platform/Sjis.h"
#include "platform/TextFile.h"
#include "postal/PostalData.h"

namespace Module1 {

int CurGroup = 1;
bool SubWinOpen = false;
bool PopupBusy = false;
int CaptionHeight = 19;
bool AlarmArmed = true;
std::string AlarmTime;
alarmclock::LastCheck AlarmLastCheck;
std::array<MenuArray*, kana::kLetterCount + 1> LetterMenus{};
namespace {
std::array<std::string, phonebook::kGroups> groupNames;
}

namespace {
std::optional<std::string>& AppDirOverride() {
  static std::optional<std::string> dir;
  return dir;
}
}  // namespace

std::string AppDir() {
  if (AppDirOverride()) return *AppDirOverride();
  static const std::string dir = programfolder::DataFolder();
  return dir;
}

void SetAppDirForTest(std::string dir) {
  AppDirOverride() = programfolder::WithOneSeparator(std::move(dir));
}

std::string DataPath(std::string_view name) {
  return textfile::FindPathIgnoringCase(AppDir(), name);
}

std::string IniPath() {
  return DataPath(settings::kFileName);
}

std::string GetIni(std::string_view key) {
  return settings::Read(IniFile(IniPath()), key);
}

bool PutIni(std::string_view key, std::string_view value) {
  return static_cast<bool>(IniFile(IniPath()).Put(settings::kSection, key, value));
}

namespace {
// A group's entries as menu texts, per kana index (slot 0 unused).
using MenuTexts = std::array<std::vector<QString>, kana::kLetterCount + 1>;

// Decoded straight into the menus' UTF-16 texts: a big book makes no other copy of its entries.
MenuTexts ReadMenuTexts(const std::string& path) {
  MenuTexts texts;
  const textfile::Bytes file = textfile::ReadAll(path);
  if (file.status == textfile::ReadStatus::Error)
    diag::Report(diag::Area::Stores, diag::Level::Warning,
                 "phone book " + path + " could not be read: menus show none");
  if (file.status != textfile::ReadStatus::Ok) return texts;
  bool complete = true;
  phonebook::WalkForMenus(file.data, [&texts, &complete](int letter, std::string_view line) {
    QString text(static_cast<qsizetype>(line.size()), Qt::Uninitialized);
    const std::size_t n = sjis::DecodeUtf16(line, reinterpret_cast<char16_t*>(text.data()), complete);
    text.truncate(static_cast<qsizetype>(n));
    texts[static_cast<std::size_t>(letter)].push_back(std::move(text));
  });
  return texts;
}

struct Preload {
  std::string path;
  std::future<MenuTexts> texts;
};
Preload& Preloaded() {
  static Preload p;
  return p;
}
// The file read ahead when it is the one asked for (taken once), else read now.
MenuTexts TakeMenuTexts(const std::string& path) {
  Preload& p = Preloaded();
  if (p.texts.valid() && p.path == path) return p.texts.get();
  return ReadMenuTexts(path);
}
}  // namespace

void PreloadPhoneBook(int group) {
  Preload& p = Preloaded();
  p.path = DataPath(datafiles::PhoneBook(group));
  p.texts = std::async(std::launch::async, ReadMenuTexts, p.path);
}

void LoadPhoneMenus(int group) {
  CurGroup = group;
  MenuTexts texts = TakeMenuTexts(DataPath(datafiles::PhoneBook(group)));
  for (std::size_t k = 1; k < texts.size(); ++k)
    if (MenuArray* items = LetterMenus[k]) items->Fill(std::move(texts[k]));
}

void ClearPhoneMenus() {
  for (int k = 1; k <= kana::kLetterCount; ++k) {
    MenuArray* items = LetterMenus[static_cast<std::size_t>(k)];
    if (!items) continue;
    for (int n = items->Count(); n >= 2; --n) items->Unload(n);
    items->SetCaption(1, QStringLiteral("なし"));
    items->SetEnabled(1, false);
  }
}

std::string GroupName(int group) {
  return group >= 1 && group <= phonebook::kGroups ? groupNames[static_cast<std::size_t>(group - 1)]
                                                   : std::string();
}

void SetGroupName(int group, std::string name) {
  if (group >= 1 && group <= phonebook::kGroups)
    groupNames[static_cast<std::size_t>(group - 1)] = std::move(name);
}

void EmptyMenuTable() {
  LetterMenus.fill(nullptr);
}

void LoadAlarm(const DateTime& day) {
  AlarmTime = alarmclock::ReadAlarmTime(DataPath(datafiles::ScheduleMonth(day.year, day.month)), day.day);
}

void LoadAlarm() {
  LoadAlarm(Clock::Now());
}

}  // namespace Module1

namespace Module1 {

// The clean-up knows the postal list by the name its converter writes.
static_assert(std::string_view(postal::kDataName) == datafiles::kPostal);

std::size_t RemoveLeftoverFiles() {
  // One copy runs per data folder, and a save in progress keeps its temporary file locked: whatever
  // is left unlocked is a save cut short, whatever its age. Names in any case (files from Windows).
  const std::function<bool(std::string_view)> dataFile = datafiles::IsFolderFile;
  const std::function<bool(std::string_view)> monthFile = datafiles::IsScheduleMonthFile;
  const std::string schedule =
      AppDir() +
      textfile::FindNameIgnoringCase(AppDir(), std::string(datafiles::kScheduleFolder),
                                     textfile::Entry::Folder) +
      "/";
  std::size_t removed =
      textfile::RemoveLeftovers(AppDir(), dataFile, 0) + textfile::RemoveLeftovers(schedule, monthFile, 0);
  // A data file that is a link is saved beside its target: a save cut short left its file there.
  for (const auto& [folder, isOurs] : {std::pair{AppDir(), dataFile}, std::pair{schedule, monthFile}})
    for (const std::string& target : textfile::LinkedTargets(folder, isOurs)) {
      const std::size_t slash = target.find_last_of('/');
      if (slash == std::string::npos) continue;
      const std::string base = target.substr(slash + 1);
      removed += textfile::RemoveLeftovers(
          target.substr(0, slash + 1), [&base](std::string_view b) { return b == base; }, 0);
    }
  return removed;
}

}  // namespace Module1
