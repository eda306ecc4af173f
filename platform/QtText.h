// UTF-8 model text into a QString, the one conversion every window uses at the Qt boundary.
#pragma once

#include <QString>
#include <string_view>

inline QString Q(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
