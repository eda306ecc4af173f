// Local time on POSIX.
#include "platform/ClockDetail.h"

std::tm clockdetail::Local(std::time_t t) {
  std::tm tm{};
  localtime_r(&t, &tm);
  return tm;
}
