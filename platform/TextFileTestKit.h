// The rewrite tests' helpers, on every system.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/TextFile.h"

namespace {
inline bool WriteOk(const std::string& path, std::string_view bytes,
                    textfile::InPlace inPlace = textfile::InPlace::Refused) {
  return static_cast<bool>(textfile::WriteAtomic(path, bytes, inPlace));
}
inline int FileCount(const std::string& folder) {
  int n = 0;
  for (auto& e : std::filesystem::directory_iterator(folder)) (void)e, ++n;
  return n;
}
}  // namespace
