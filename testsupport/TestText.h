// Text the tests write into files: code page 932 bytes and phone book marker lines.
#pragma once

#include <string>

#include "platform/Sjis.h"

// The code page 932 bytes of UTF-8 text the test knows to be encodable.
inline std::string Sj(const std::string& utf8) {
  return sjis::Encode(utf8).value_or(std::string("<not encodable>"));
}

// n phone book marker lines, each with CR LF.
inline std::string Markers(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += "[D@TA]\r\n";
  return s;
}
