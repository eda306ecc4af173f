// The one source of today and now; tests set it.
#pragma once

#include <optional>

struct DateTime {
  int year = 2000, month = 1, day = 1;
  int hour = 0, minute = 0, second = 0;
  bool operator==(const DateTime&) const = default;
};

class Clock {
 public:
  static DateTime Now();
  // Test seam: a fixed time that Now() returns until cleared (nullopt) or moved with Advance.
  static void SetForTest(std::optional<DateTime> t);
  static void AdvanceForTest(long seconds);
};
