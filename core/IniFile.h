// One private-profile (INI) settings file in code page 932, read anew and rewritten whole on every call.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/StoreOutcome.h"
#include "platform/TextFile.h"

class IniFile {
 public:
  // At most this many bytes of a value come back, never ending in half a double-byte character.
  static constexpr std::size_t kValueBytes = 127;

  explicit IniFile(std::string path) : path_(std::move(path)) {}
  const std::string& Path() const { return path_; }

  // The value of `key` in the first section named `section` (both matched without regard to case;
  // the first of duplicate keys wins; blanks around the key and the value are ignored).
  // nullopt when the file, the section or the key is missing.
  std::optional<std::string> Get(std::string_view section, std::string_view key) const;

  // What a write did, as every store says it: Unencodable (a character code page 932 cannot carry) and
  // Refused (a line break in the value) name the key; NotReadCompletely: the file exists but cannot be
  // read. Nothing is written then, and the file is as it was.
  using PutResult = StoreOutcome;

  // Writes key=value into the section, creating the file, section or key as needed. Every other line
  // stays as it was. Nothing is written for a character code page 932 cannot carry, a line break in
  // the value, a file that exists but cannot be read, or a failed write (old file intact). A writable
  // file in a folder that refuses new files is rewritten in place.
  [[nodiscard]] PutResult Put(std::string_view section, std::string_view key, std::string_view value) const;
  // Several keys of one section in one rewrite: the same bytes as one Put after another, but all or
  // nothing (any refused value or a failed write leaves the file as it was).
  using KeyValues = std::vector<std::pair<std::string, std::string>>;
  [[nodiscard]] PutResult PutAll(std::string_view section, const KeyValues& values) const;

 private:
  std::string path_;
};
