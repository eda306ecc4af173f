// Where the program runs from, as the operating system tells it.
#pragma once

#include <string>

namespace programfolder {

// The folder of the running executable (no trailing separator); "." when it cannot be told.
std::string ExecutableDir();
// Whether this process may create files in `dir`.
bool Writable(const std::string& dir);

}  // namespace programfolder
