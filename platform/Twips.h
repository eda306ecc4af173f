// Twips (1/1440 inch): window geometry stays in twips and is converted only at the Qt boundary.
#pragma once

#include <cmath>

namespace twips {

constexpr double kPerInch = 1440.0;

inline double PerPixel(double logicalDpi) {
  return logicalDpi > 0 ? kPerInch / logicalDpi : 15.0;
}

// Round to nearest, a half going to the even neighbour.
inline long RoundHalfEven(double v) {
  double r = std::round(v);
  if (std::fabs(v - std::trunc(v)) == 0.5) r = 2.0 * std::round(v / 2.0);
  return static_cast<long>(r);
}

inline int ToPixels(double twipsValue, double perPixel) {
  return static_cast<int>(RoundHalfEven(twipsValue / perPixel));
}
inline long FromPixels(double pixels, double perPixel) {
  return RoundHalfEven(pixels * perPixel);
}

}  // namespace twips
