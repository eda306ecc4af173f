// What the fuzz targets share: a scratch folder for the files they feed the readers, and a check that
// aborts (so libFuzzer keeps the input) when an invariant breaks.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace fuzz {

// A folder of this process, ending in a separator, removed at exit.
inline const std::string& Scratch() {
  static const std::string dir = [] {
    std::string d =
        (std::filesystem::temp_directory_path() / ("dnfuzz." + std::to_string(::getpid()))).string();
    std::filesystem::create_directories(d);
    static struct Remove {
      std::string d;
      ~Remove() { std::filesystem::remove_all(d); }
    } remove{d};
    return d + "/";
  }();
  return dir;
}

inline void Put(const std::string& path, std::string_view bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string Get(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

#define FUZZ_CHECK(cond)                                                                \
  do {                                                                                  \
    if (!(cond)) {                                                                      \
      std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #cond); \
      std::abort();                                                                     \
    }                                                                                   \
  } while (0)

}  // namespace fuzz
