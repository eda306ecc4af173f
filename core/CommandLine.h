// The program's command line: what a start asks for, and the texts `--help` and `--version` print.
#pragma once

#include <string>
#include <vector>

namespace commandline {

// The program's version as the build names it (the project's version in CMake).
inline constexpr const char* kVersion = DN_VERSION;

enum class Action {
  Run,        // start (or hand over to the copy that runs, which opens nothing new)
  Find,       // open quick-find (in the copy that runs, else in this one once started)
  Organizer,  // open the organiser (as a left click on the tray icon does)
  Help,
  Version,
  Error,  // an option the program does not know: `bad` names it
};

struct Request {
  Action action = Action::Run;
  std::string bad;
};

// `args` without the program name. Options the toolkit itself takes (-platform, -style, -display ...)
// are not ours to refuse: anything but a "--" option passes.
Request Parse(const std::vector<std::string>& args);

// UTF-8 texts, each ending in a line break; `japanese` chooses the language.
std::string HelpText(bool japanese);
std::string VersionText();
std::string UnknownOptionText(const std::string& option, bool japanese);

}  // namespace commandline
