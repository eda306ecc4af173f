// Character-counting helpers over UTF-8 text: where a rule counts characters, these count them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace textchars {

std::size_t CharCount(std::string_view utf8);

// Characters [start, start + count) counting from 1, clipped to the text (as Mid$ does).
std::string_view Mid(std::string_view utf8, std::size_t start, std::size_t count = std::string_view::npos);

std::string_view Left(std::string_view utf8, std::size_t count);

// Removes leading and trailing half-width blanks (as Trim$ does).
std::string_view Trim(std::string_view s);

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates, nothing past U+10FFFF).
bool IsValidUtf8(std::string_view s);

// Calls `take` with each character of UTF-8 text as a UTF-16 unit; bytes that do not form a character
// are dropped. Code page 932 holds only characters of the basic plane: any other stands as U+FFFF.
template <class F>
void ForEachCodePoint(std::string_view s, F&& take) {
  for (std::size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      take(static_cast<char16_t>(c));
      ++i;
      continue;
    }
    const int n = (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + static_cast<std::size_t>(n) > s.size()) {
      ++i;
      continue;
    }
    char32_t cp = c & (0x7F >> n);
    bool ok = true;
    for (int k = 1; k < n; ++k) {
      const auto t = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
      ok = ok && (t & 0xC0) == 0x80;
      cp = cp << 6 | (t & 0x3F);
    }
    i += ok ? static_cast<std::size_t>(n) : 1;
    if (ok) take(cp > 0xFFFF ? char16_t{0xFFFF} : static_cast<char16_t>(cp));
  }
}
// The same units as a string.
std::u16string Utf16(std::string_view utf8);
// UTF-16 units of the basic plane (what Utf16 gives) back as UTF-8.
std::string Utf8(std::u16string_view units);

// Lenient number reading: optional blanks and sign, then leading digits; anything else gives 0.
long LeadingNumber(std::string_view s);

// A setting text that reads as true: "True" in any case, or a number other than 0.
bool TextIsTrue(std::string_view s);

}  // namespace textchars
