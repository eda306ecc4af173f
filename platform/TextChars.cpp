// UTF-8 character counting and the lenient conversions the settings and files rely on.
#include "platform/TextChars.h"

#include <cctype>
#include <cstdlib>
#include <string>

namespace textchars {
namespace {

bool IsContinuation(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::size_t ByteOffset(std::string_view s, std::size_t chars) {
  std::size_t i = 0;
  while (chars > 0 && i < s.size()) {
    ++i;
    while (i < s.size() && IsContinuation(s[i])) ++i;
    --chars;
  }
  return i;
}

}  // namespace

std::size_t CharCount(std::string_view s) {
  std::size_t n = 0;
  for (char c : s)
    if (!IsContinuation(c)) ++n;
  return n;
}

std::string_view Mid(std::string_view s, std::size_t start, std::size_t count) {
  if (start == 0) start = 1;
  std::size_t b = ByteOffset(s, start - 1);
  std::string_view rest = s.substr(b);
  if (count == std::string_view::npos) return rest;
  return rest.substr(0, ByteOffset(rest, count));
}

std::string_view Left(std::string_view s, std::size_t count) {
  return s.substr(0, ByteOffset(s, count));
}

std::string_view Trim(std::string_view s) {
  std::size_t b = s.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  std::size_t e = s.find_last_not_of(' ');
  return s.substr(b, e - b + 1);
}

long LeadingNumber(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  bool neg = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) neg = s[i++] == '-';
  long v = 0;
  while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])) && v < 100000000)
    v = v * 10 + (s[i++] - '0');
  return neg ? -v : v;
}

bool TextIsTrue(std::string_view s) {
  std::string_view t = s;
  while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
  while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
  if (t.size() == 4 && std::tolower(static_cast<unsigned char>(t[0])) == 't' &&
      std::tolower(static_cast<unsigned char>(t[1])) == 'r' &&
      std::tolower(static_cast<unsigned char>(t[2])) == 'u' &&
      std::tolower(static_cast<unsigned char>(t[3])) == 'e')
    return true;
  if (t.empty()) return false;
  std::string z(t);
  char* end = nullptr;
  double d = std::strtod(z.c_str(), &end);
  return end == z.c_str() + z.size() && d != 0.0;
}

bool IsValidUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    std::size_t n;
    char32_t cp, min;
    if ((c & 0xE0) == 0xC0) {
      n = 2, cp = c & 0x1F, min = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
      n = 3, cp = c & 0x0F, min = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
      n = 4, cp = c & 0x07, min = 0x10000;
    } else {
      return false;
    }
    if (i + n > s.size()) return false;
    for (std::size_t k = 1; k < n; ++k) {
      const auto t = static_cast<unsigned char>(s[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (t & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += n;
  }
  return true;
}

std::u16string Utf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  ForEachCodePoint(utf8, [&out](char16_t c) { out.push_back(c); });
  return out;
}

std::string Utf8(std::u16string_view units) {
  std::string out;
  out.reserve(units.size() * 3);
  for (char16_t c : units) {
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | c >> 6));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xE0 | c >> 12));
      out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

}  // namespace textchars
