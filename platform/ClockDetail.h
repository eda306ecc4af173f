// The system's local time conversion (not for callers: they use Clock).
#pragma once

#include <ctime>

namespace clockdetail {
// The local broken-down time of `t`.
std::tm Local(std::time_t t);
}  // namespace clockdetail
