// The run's shared state and today's alarm over the schedule files.
#include "core/AppContext.h"

#include "core/DataFiles.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"

std::string Session::GroupName(int group) const {
  return group >= 1 && group <= phonebook::kGroups ? groupNames_[static_cast<std::size_t>(group - 1)]
                                                   : std::string();
}

void Session::SetGroupName(int group, std::string name) {
  if (group >= 1 && group <= phonebook::kGroups)
    groupNames_[static_cast<std::size_t>(group - 1)] = std::move(name);
}

void AlarmService::Start(const DateTime& now) {
  armed_ = true;
  Load(now);
  last_ = alarmclock::LastCheck::Of(now);
}

std::optional<std::string> AlarmService::Check(const DateTime& now) {
  return alarmclock::Check(now, armed_, time_, last_, [this](const DateTime& day) { return readTime_(day); });
}

void AlarmService::Registered(const DateTime& now, int year, int month, int day, const std::string& time) {
  armed_ = true;
  if (year == now.year && month == now.month && day == now.day) time_ = time;
}

AppContext::AppContext(std::string appDir)
    : alarm([this](const DateTime& day) {
        return alarmclock::ReadAlarmTime(DataPath(datafiles::ScheduleMonth(day.year, day.month)), day.day);
      }),
      appDir_(programfolder::WithOneSeparator(std::move(appDir))) {}

std::string AppContext::SettingsPath() const {
  return DataPath(datafiles::kSettings);
}

std::string AppContext::DataPath(std::string_view name) const {
  return textfile::FindPathIgnoringCase(appDir_, name);
}
