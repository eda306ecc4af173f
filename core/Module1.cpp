// Shared routines and globals.
#include "core/Module1.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QString>
#include <optional>

#include "core/Alarm.h"
#include "core/Form1.h"
#include "core/IniFile.h"
#include "core/MenuArray.h"
#include "core/PhoneBookFile.h"
#include "core/Settings.h"

namespace Module1 {

int CurGroup = 1;
bool SubWinOpen = false;
bool PopupBusy = false;
int CaptionHeight = 19;
bool AlarmArmed = true;
std::string AlarmTime;
int AlarmDay = 0;
std::array<MenuArray*, kana::kLetterCount + 1> LetterMenus{};
Form1* MainForm = nullptr;

namespace {
std::optional<std::string>& AppDirOverride() {
  static std::optional<std::string> dir;
  return dir;
}

std::string WithOneSeparator(std::string dir) {
  while (dir.size() > 1 && dir.back() == '/' && dir[dir.size() - 2] == '/') dir.pop_back();
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}
}  // namespace

std::string AppDir() {
  if (AppDirOverride()) return *AppDirOverride();
  static const std::string dir = [] {
    std::string exe(4096, '\0');
    ssize_t n = ::readlink("/proc/self/exe", exe.data(), exe.size() - 1);
    if (n <= 0) return std::string("./");
    exe.resize(static_cast<std::size_t>(n));
    std::size_t slash = exe.find_last_of('/');
    return WithOneSeparator(slash == std::string::npos ? "." : exe.substr(0, slash));
  }();
  return dir;
}

void SetAppDirForTest(std::string dir) {
  AppDirOverride() = WithOneSeparator(std::move(dir));
}

bool FileExists(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat st {};
  bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  ::close(fd);
  return regular;
}

std::string IniPath() {
  return AppDir() + std::string(settings::kFileName);
}

std::string GetIni(std::string_view key) {
  return settings::Read(IniFile(IniPath()), key);
}

bool PutIni(std::string_view key, std::string_view value) {
  return IniFile(IniPath()).Put(settings::kSection, key, value);
}

void LoadPhoneMenus(int group) {
  CurGroup = group;
  phonebook::MenuLoad load = phonebook::LoadForMenus(AppDir() + phonebook::FileName(group));
  for (int k = 1; k <= kana::kLetterCount; ++k) {
    MenuArray* items = LetterMenus[static_cast<std::size_t>(k)];
    const auto& entries = load.entries[static_cast<std::size_t>(k)];
    if (!items) continue;
    for (std::size_t i = 0; i < entries.size(); ++i) {
      int n = static_cast<int>(i) + 1;
      if (n > items->Count()) items->Load();
      items->SetEnabled(n, true);
      items->SetCaption(n, QString::fromStdString(entries[i]));
    }
  }
}

void ClearPhoneMenus() {
  if (MainForm) MainForm->Setmnu();
  for (int k = 1; k <= kana::kLetterCount; ++k) {
    MenuArray* items = LetterMenus[static_cast<std::size_t>(k)];
    if (!items) continue;
    for (int n = items->Count(); n >= 2; --n) items->Unload(n);
    items->SetCaption(1, QStringLiteral("なし"));
    items->SetEnabled(1, false);
  }
}

void EmptyMenuTable() {
  LetterMenus.fill(nullptr);
}

void LoadAlarm() {
  const DateTime today = Clock::Now();
  AlarmTime =
      alarmclock::ReadAlarmTime(AppDir() + alarmclock::ScheduleFileName(today.year, today.month), today.day);
}

}  // namespace Module1
