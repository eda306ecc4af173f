// Code page 932 (Windows Shift-JIS) <-> UTF-8: the only place that knows the files' encoding.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sjis {

struct Decoded {
  std::string text;      // UTF-8; bytes that are not valid code page 932 appear as U+FFFD
  bool complete = true;  // false when some bytes could not be decoded
};

Decoded Decode(std::string_view cp932);
// The same decoding as UTF-16 into `out`, which holds at least cp932.size() units (every byte gives at
// most one); returns the units written. `complete` turns false when some bytes could not be decoded.
std::size_t DecodeUtf16(std::string_view cp932, char16_t* out, bool& complete);

// nullopt when the text holds a character code page 932 cannot carry; nothing is ever replaced.
std::optional<std::string> Encode(std::string_view utf8);

// The first character (UTF-8) that code page 932 cannot carry, or empty when all can be carried.
std::string FirstUnencodable(std::string_view utf8);

inline bool IsLeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// True when the bytes follow code page 932's structure: single bytes 00-7F and A1-DF, lead bytes 81-9F
// and E0-FC each followed by a trail byte 40-7E or 80-FC.
bool IsWellFormed(std::string_view cp932);

// Every byte spelling of the same characters: code page 932 gives some characters two or three codes
// (≒ as 81 E0 and as NEC's 87 90; IBM's extensions in both the FA-FC and the ED-EE rows). The given
// bytes come first; at most `limit` spellings.
std::vector<std::string> Spellings(std::string_view cp932, std::size_t limit = 16);

// The longest prefix of at most maxBytes bytes that does not end inside a double-byte character.
std::size_t CutLength(std::string_view cp932, std::size_t maxBytes);

}  // namespace sjis
