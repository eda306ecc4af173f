// Local time on Windows.
#include "platform/ClockDetail.h"

std::tm clockdetail::Local(std::time_t t) {
  std::tm tm{};
  localtime_s(&tm, &t);
  return tm;
}
