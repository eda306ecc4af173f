// What the common rewrite code and each system's file code share (not for callers).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/TextFile.h"

namespace textfile::detail {

// The operations rewrites use now (the system's, or a test's).
Operations& Ops();
// Writes all of `bytes` at `at` in chunks (so a test can fail one in the middle); false with errno set.
bool WriteFully(int fd, std::string_view bytes, std::int64_t at);
// The system's rewrite: temporary file, sync, rename; WriteAtomic logs what it answers.
WriteResult Rewrite(const std::string& linkOrPath, std::string_view bytes, InPlace inPlace);
void ReportReadFailure(const std::string& path, const std::string& reason);

}  // namespace textfile::detail
