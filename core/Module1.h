// The shared module: program folder, settings access, the globals every window shares, and the loaders
// that move a phone book into the tray's letter menus.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "core/Alarm.h"
#include "core/Kana.h"

class MenuArray;

namespace Module1 {

// The program folder with exactly one trailing '/', decided once at start-up by the system's rule
// (platform/ProgramFolder.h): the executable's folder where it is writable, else the user's data folder.
std::string AppDir();
void SetAppDirForTest(std::string dir);
// The path of a data file under the program folder ("Teldat1.tel", "Schedule/Sch2612.dat") as it is
// spelled on disk, whatever its letter case (files copied from Windows); the given spelling when new.
std::string DataPath(std::string_view name);

// The settings file's value of `key`, or "999" when missing.
std::string GetIni(std::string_view key);
[[nodiscard]] bool PutIni(std::string_view key, std::string_view value);
std::string IniPath();

extern int CurGroup;       // 1..5: the group in the letter menus
extern bool SubWinOpen;    // one of the tray's windows is open: both tray clicks are ignored
extern bool PopupBusy;     // the tray popup menu is up
extern int CaptionHeight;  // caption height in pixels, taken at start-up
// Twips that windows sized from stored or fixed heights add, so their inner area keeps its size under
// captions taller than 19 pixels.
inline int CaptionCorrection() {
  return (CaptionHeight - 19) * 15;
}
// The groups' names (DATA1..DATA5) as this run uses them: read at start-up, changed by the settings
// dialog (and kept for the run even when the settings file could not be written).
std::string GroupName(int group);
void SetGroupName(int group, std::string name);
extern bool AlarmArmed;
extern std::string AlarmTime;  // "hh:mm" or empty
extern alarmclock::LastCheck AlarmLastCheck;

// The letter menu table: slots 1..44 refer to the item arrays while a load or clear runs; slot 0 unused.
extern std::array<MenuArray*, kana::kLetterCount + 1> LetterMenus;

// Sets CurGroup, then fills the letter menus (expected cleared, table filled) from the group's file.
void LoadPhoneMenus(int group);
// Starts reading the group's file on a thread of its own (at start-up, while the toolkit comes up); the
// next LoadPhoneMenus of the group takes what it read.
void PreloadPhoneBook(int group);
// Brings every letter menu in the table back to one disabled "なし".
void ClearPhoneMenus();
void EmptyMenuTable();

// Sets AlarmTime from the day's entry in its month's schedule file (empty: no alarm that day).
void LoadAlarm(const DateTime& day);
void LoadAlarm();  // today's

// Removes the temporary files that rewrites of the program's own data files left when they were
// killed; returns how many. Run at start-up.
std::size_t RemoveLeftoverFiles();

}  // namespace Module1
