// Whole text files: reading lines (CR LF, CR or LF) and atomic whole-file rewrites.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace textfile {

enum class ReadStatus { Ok, Missing, Error };

struct Bytes {
  ReadStatus status = ReadStatus::Missing;
  std::string data;
};

struct Lines {
  ReadStatus status = ReadStatus::Missing;
  std::vector<std::string> lines;  // raw bytes of each line, line end removed
};

Bytes ReadAll(const std::string& path);
Lines ReadLines(const std::string& path);

// A final line without a line end counts; a line end at the very end does not open another line.
std::vector<std::string> SplitLines(std::string_view bytes);

// Every line followed by CR LF.
std::string JoinCrLf(const std::vector<std::string>& lines);

// Writes a temporary file in the same folder, flushes, syncs and renames it over `path`. On any failure
// the previous file is left as it was, the temporary file is removed and false comes back. A target
// without any write permission bit is treated as read-only and refused.
bool WriteAtomic(const std::string& path, std::string_view bytes);

bool IsRegularFile(const std::string& path);

// The name of the entry of `folder` (ending in a separator) that equals `name` ignoring ASCII case,
// preferring the exact spelling; empty when there is none.
std::string FindNameIgnoringCase(const std::string& folder, const std::string& name);

}  // namespace textfile
