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

// Lenient number reading: optional blanks and sign, then leading digits; anything else gives 0.
long LeadingNumber(std::string_view s);

// A setting text that reads as true: "True" in any case, or a number other than 0.
bool TextIsTrue(std::string_view s);

}  // namespace textchars
