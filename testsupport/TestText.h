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

// One code point as UTF-8.
inline std::string Utf8Of(char32_t cp) {
  std::string s;
  if (cp < 0x80) {
    s += static_cast<char>(cp);
  } else if (cp < 0x800) {
    s += static_cast<char>(0xC0 | (cp >> 6));
    s += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    s += static_cast<char>(0xE0 | (cp >> 12));
    s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    s += static_cast<char>(0xF0 | (cp >> 18));
    s += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (cp & 0x3F));
  }
  return s;
}
