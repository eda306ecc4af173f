// Console text on POSIX: standard output and standard error as they are.
#include <cstdio>

#include "platform/Console.h"

namespace console {

void Write(std::string_view utf8, Stream stream) {
  std::FILE* f = stream == Stream::Out ? stdout : stderr;
  std::fwrite(utf8.data(), 1, utf8.size(), f);
  std::fflush(f);
}

}  // namespace console
