// What one run of the program shares between its windows: the program folder, the tray's session and
// today's alarm. main owns it and hands it to the windows it makes; a test makes a fresh one.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/Alarm.h"
#include "core/PhoneBookFile.h"
#include "platform/Clock.h"

// The tray's state of the moment, shared by its windows.
struct Session {
  int CurGroup = 1;         // 1..5: the group in the letter menus
  bool SubWinOpen = false;  // one of the tray's windows is open: both tray clicks are ignored
  bool PopupBusy = false;   // the tray popup menu is up
  int CaptionHeight = 19;   // caption height in pixels, taken at start-up

  // Twips that windows sized from stored or fixed heights add, so their inner area keeps its size under
  // captions taller than 19 pixels.
  int CaptionCorrection() const { return (CaptionHeight - 19) * 15; }
  // The groups' names (DATA1..DATA5) as this run uses them: read at start-up, changed by the settings
  // dialog (and kept for the run even when the settings file could not be written). Empty outside 1..5.
  std::string GroupName(int group) const;
  void SetGroupName(int group, std::string name);

 private:
  std::array<std::string, phonebook::kGroups> groupNames_;
};

// Today's alarm: whether it may go off, its time, and what the previous clock check saw.
class AlarmService {
 public:
  // `readTime` gives a day's alarm time ("hh:mm", empty for none) from its month's schedule file.
  explicit AlarmService(std::function<std::string(const DateTime&)> readTime)
      : readTime_(std::move(readTime)) {}

  // At start-up: armed, today's time read, the clock checks counted from `now`.
  void Start(const DateTime& now);
  // The day's time read again (after the schedule was saved).
  void Load(const DateTime& day) { time_ = readTime_(day); }
  // One clock check (the rules of alarmclock::Check): the time that went off, once per alarm.
  std::optional<std::string> Check(const DateTime& now);
  // A day registered in the schedule with `time` ("hh:mm", empty for no alarm): a time set for later
  // today can still go off, and a registration for today takes effect at once, before any save.
  void Registered(const DateTime& now, int year, int month, int day, const std::string& time);

  bool Armed() const { return armed_; }
  const std::string& Time() const { return time_; }
  // What a test or a late start sets directly.
  void Set(bool armed, std::string time, alarmclock::LastCheck last) {
    armed_ = armed;
    time_ = std::move(time);
    last_ = last;
  }
  alarmclock::LastCheck Last() const { return last_; }

 private:
  std::function<std::string(const DateTime&)> readTime_;
  bool armed_ = true;
  std::string time_;
  alarmclock::LastCheck last_;
};

class AppContext {
 public:
  // `appDir`: the program folder, with or without its trailing separator.
  explicit AppContext(std::string appDir);
  AppContext(const AppContext&) = delete;
  AppContext& operator=(const AppContext&) = delete;

  // The program folder with exactly one trailing '/'.
  const std::string& AppDir() const { return appDir_; }
  // The path of a data file under the program folder ("Teldat1.tel", "Schedule/Sch2612.dat") as it is
  // spelled on disk, whatever its letter case (files copied from Windows); the given spelling when new.
  std::string DataPath(std::string_view name) const;
  // The settings file's path ("dnstplus.ini" as spelled on disk).
  std::string SettingsPath() const;

  Session session;
  AlarmService alarm;

 private:
  std::string appDir_;
};
