// Code page 932's tables, generated once from glibc's iconv (tools/gen_cp932_table.cpp): the same
// bytes on every platform, and no converter library at run time.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cp932 {

// The character of each single byte as a UTF-16 unit; 0xFFFF where the byte is no character by itself.
extern const char16_t kSingle[256];
// Every double-byte code that is a character, as code << 16 | unit, in code order.
extern const std::uint32_t kPairs[];
extern const std::size_t kPairCount;
// The characters whose code is not the lowest that decodes to them, as unit << 16 | code (0xFFFF: the
// character is not written at all), in unit order.
extern const std::uint32_t kEncodeExceptions[];
extern const std::size_t kEncodeExceptionCount;

}  // namespace cp932
