// Where the program runs from and where its data live, as the operating system tells it.
#pragma once

#include <functional>
#include <string>

namespace programfolder {

// The folder of the running executable (no trailing separator); "." when it cannot be told.
std::string ExecutableDir();
// Whether this process may create files in `dir`.
bool Writable(const std::string& dir);

// The data folder with exactly one trailing '/', by this system's rule (created when missing).
std::string DataFolder();

// The rules, given what the system told (each returns the folder with one trailing '/'):
// POSIX: the executable's folder where it already holds the program's data (a portable folder: the
// settings file or a phone book beside the program, as `holdsData` tells) and is writable; else
// $XDG_DATA_HOME/dialnestplus (an absolute XDG_DATA_HOME only; default ~/.local/share/dialnestplus),
// created when missing; the executable's folder when none can be made. An installed program's folder
// (~/.local/bin, /usr/bin) is thus never filled with data, even where it is writable.
std::string ChoosePosix(const std::string& exeDir, const std::string& xdgDataHome, const std::string& home,
                        const std::function<bool(const std::string&)>& holdsData,
                        const std::function<bool(const std::string&)>& writable);
// Whether `dir` (ending in a separator or not) holds the settings file or a phone book, in any case.
bool HoldsData(const std::string& dir);
// Windows: the executable's folder where it is writable (users keep their data beside the program and
// copy the folder to move it), else "<%APPDATA%>/Dialnest Plus", made by `makeFolder`; the executable's
// folder when that fails.
std::string ChooseWindows(const std::string& exeDir, const std::string& appData,
                          const std::function<bool(const std::string&)>& writable,
                          const std::function<bool(const std::string&)>& makeFolder);
// `dir` with exactly one trailing '/'.
std::string WithOneSeparator(std::string dir);

}  // namespace programfolder
