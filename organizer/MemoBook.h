// "freememo.dat": pages of exactly 1000 bytes of code page 932 text padded with blanks. The pages are
// held in memory; every change rewrites the file atomically, so a failure keeps the previous file.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/DataFiles.h"
#include "core/StoreOutcome.h"
#include "platform/TextFile.h"

namespace memo {

inline constexpr std::string_view kFileName = datafiles::kMemo;
inline constexpr std::size_t kRecord = 1000;

// The page buffer of a text: its first 1000 characters padded with blanks to 1000 characters.
std::string PageBuffer(std::string_view utf8);
// The record of a text: the page buffer encoded, cut at 1000 bytes without splitting a double-byte
// character (one that would straddle the end is dropped whole), padded with blanks to 1000 bytes.
// nullopt when the text holds a character code page 932 cannot carry.
std::optional<std::string> MakeRecord(std::string_view utf8);
// Line breaks as a page stores them (CR LF, as the Windows text box and files brought from there have
// them) and as the text box shows them (LF); a stored page may hold CR LF, lone CR or lone LF.
std::string StoredText(std::string_view shown);
std::string ShownText(std::string_view stored);
// Whether the text would be stored cut: more than 1000 bytes once encoded.
bool TooLong(std::string_view utf8);

class MemoBook {
 public:
  // Reads the file; a missing file has no pages. False when it exists but could not be read: such a
  // book is never written.
  bool Open(const std::string& path);
  int Count() const { return count_; }
  bool ReadCompletely() const { return readCompletely_; }
  std::string_view Record(int page) const;  // 1-based; the raw 1000 bytes
  // Decoded, padding included; a last byte that only begins a double-byte character (what a cut at
  // 1000 bytes leaves) is no character and is left out.
  std::string PageText(int page) const;

  // Each rewrites the file whole and atomically; on failure the book is as before. Refused: no such
  // page (or a record not of 1000 bytes); ChangedOnDisk: another program changed the page it was to
  // write (or, for a delete, the file) since the book read it.
  [[nodiscard]] StoreOutcome WriteRecord(int page, const std::string& record);  // page Count() + 1 appends
  [[nodiscard]] StoreOutcome DeleteRecord(int page);
  // The file with exactly Count() records (a partial record at the end goes); nothing to do otherwise.
  [[nodiscard]] StoreOutcome Compact();

  // The first page from `from` on whose record holds the text (starting on a character, not crossing
  // into the next record), in any spelling code page 932 has for its characters; 0 when none.
  int Find(std::string_view utf8, int from) const;

 private:
  [[nodiscard]] StoreOutcome Rewrite(std::string data);
  // The first page in from..upTo whose record holds these bytes on a character boundary; 0 when none.
  int FindBytes(const std::string& needle, int from, int upTo) const;
  textfile::Stamp stamp_;
  std::string path_, data_;
  int count_ = 0;
  bool readCompletely_ = true;
};

}  // namespace memo
