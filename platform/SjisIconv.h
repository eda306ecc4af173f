// glibc's iconv "CP932", the reference the codec's tables were generated from: tests and fuzzers on
// Linux check the tables against it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/Sjis.h"

namespace sjis {

// Decoding as iconv gives it, a byte it cannot decode lost alone as U+FFFD.
Decoded DecodeWithIconv(std::string_view cp932);
// iconv's bytes for one character, when they decode back to it (else nullopt).
std::optional<std::string> EncodeWithIconv(std::string_view utf8Character);

}  // namespace sjis
