// Text for the terminal the program was started from (`--help`, `--version`), before any window exists.
#pragma once

#include <string_view>

namespace console {

enum class Stream { Out, Error };
// Writes UTF-8 text to standard output or error; on Windows, where a windowed program has no console
// of its own, to the console of the program that started it (or to the file or pipe it was given).
void Write(std::string_view utf8, Stream stream = Stream::Out);

}  // namespace console
