// The shared module: the run's context (program folder, session, alarm) as the design names it, and
// settings access.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "core/AppContext.h"

namespace Module1 {

// The context in use: main's (installed with UseContext), a test's; before either, one over the
// system's data folder (platform/ProgramFolder.h).
AppContext& Context();
void UseContext(AppContext* context);  // nullptr: back to the one over the system's data folder

// The program folder with exactly one trailing '/'.
std::string AppDir();
// The path of a data file under the program folder as it is spelled on disk (AppContext::DataPath).
std::string DataPath(std::string_view name);

// The settings file's value of `key`, or "999" when missing.
std::string GetIni(std::string_view key);
[[nodiscard]] bool PutIni(std::string_view key, std::string_view value);
std::string IniPath();

// The design's names for what the context's session holds.
std::string GroupName(int group);
void SetGroupName(int group, std::string name);
int CaptionCorrection();

// Today's alarm time read again from its month's schedule file (after a save).
void LoadAlarm();

// Removes the temporary files that rewrites of the program's own data files left when they were
// killed; returns how many. Run at start-up.
std::size_t RemoveLeftoverFiles();

}  // namespace Module1
