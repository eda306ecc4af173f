// Shared routines over the run's context.
#include "core/Module1.h"

#include <QString>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "core/Alarm.h"
#include "core/DataFiles.h"
#include "core/IniFile.h"
#include "core/PhoneBookFile.h"
#include "core/Settings.h"
#include "platform/Diag.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"

namespace Module1 {

namespace {
AppContext*& Installed() {
  static AppContext* context = nullptr;
  return context;
}
}  // namespace

AppContext& Context() {
  if (AppContext* c = Installed()) return *c;
  // Before main installs its own (and in tools that make none): the system's data folder.
  static AppContext fallback(programfolder::DataFolder());
  return fallback;
}

void UseContext(AppContext* context) {
  Installed() = context;
}

std::string AppDir() {
  return Context().AppDir();
}

std::string DataPath(std::string_view name) {
  return Context().DataPath(name);
}

std::string IniPath() {
  return Context().SettingsPath();
}

std::string GetIni(std::string_view key) {
  return settings::Read(IniFile(IniPath()), key);
}

bool PutIni(std::string_view key, std::string_view value) {
  return static_cast<bool>(IniFile(IniPath()).Put(settings::kSection, key, value));
}

std::string GroupName(int group) {
  return Context().session.GroupName(group);
}

void SetGroupName(int group, std::string name) {
  Context().session.SetGroupName(group, std::move(name));
}

int CaptionCorrection() {
  return Context().session.CaptionCorrection();
}

void LoadAlarm() {
  Context().alarm.Load(Clock::Now());
}

}  // namespace Module1

namespace Module1 {

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
