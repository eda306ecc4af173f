// What a save did, the same shape for every store (schedule month, ToDo list, memo book, phone book,
// settings): saved, or why the file was left as it was, with the item and the system's cause.
#pragma once

#include <string>

#include "platform/TextFile.h"

struct StoreOutcome {
  enum class Kind {
    Saved,
    NotReadCompletely,  // the file could not be read whole when it was opened: never written over
    Refused,            // content the format cannot hold (a schedule line starting with the day marker)
    Unencodable,        // a character code page 932 cannot carry, or a line break in a settings value
    WriteFailed,        // the rewrite failed at `write.step` (the old file is intact)
    ChangedOnDisk,      // another program changed the file since it was read
  };
  StoreOutcome() = default;
  StoreOutcome(Kind k, int concerned = 0)
      : kind(k), item(concerned) {}  // NOLINT(google-explicit-constructor)

  Kind kind = Kind::Saved;
  int item = 0;                 // Refused / Unencodable: the 1-based day, line or page concerned
  std::string key;              // Unencodable in the settings: the key concerned
  textfile::WriteResult write;  // WriteFailed: the failed step and errno

  explicit operator bool() const { return kind == Kind::Saved; }
  static StoreOutcome Failed(const textfile::WriteResult& w) {
    StoreOutcome o{Kind::WriteFailed};
    o.write = w;
    return o;
  }
};
