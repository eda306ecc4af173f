// Private-profile parsing on raw code page 932 bytes: keys and section names are ASCII, so only values
// are decoded, and lines the program does not touch are written back byte for byte.
#include "core/IniFile.h"

#include <algorithm>
#include <vector>

#include "platform/Sjis.h"
#include "platform/TextFile.h"

namespace {

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
           return lower(x) == lower(y);
         });
}

// Section name of a header line "[name]", or nullopt for other lines.
std::optional<std::string_view> SectionName(std::string_view line) {
  std::string_view t = TrimBlanks(line);
  if (t.empty() || t.front() != '[') return std::nullopt;
  std::size_t close = t.find(']');
  std::string_view name = t.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
  return TrimBlanks(name);
}

struct KeyLine {
  std::string_view key, value;
};

std::optional<KeyLine> ParseKeyLine(std::string_view line) {
  std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  return KeyLine{TrimBlanks(line.substr(0, eq)), TrimBlanks(line.substr(eq + 1))};
}

// Index range [begin, end) of the body of the first section named `section`; begin == npos if none.
std::pair<std::size_t, std::size_t> FindSection(const std::vector<std::string>& lines,
                                                std::string_view section) {
  constexpr auto npos = std::string::npos;
  std::size_t begin = npos;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    auto name = SectionName(lines[i]);
    if (!name) continue;
    if (begin != npos) return {begin, i};
    if (EqualsNoCase(*name, section)) begin = i + 1;
  }
  return {begin, lines.size()};
}

std::optional<std::size_t> FindKey(const std::vector<std::string>& lines, std::size_t begin, std::size_t end,
                                   std::string_view key) {
  for (std::size_t i = begin; i < end; ++i) {
    auto kl = ParseKeyLine(lines[i]);
    if (kl && EqualsNoCase(kl->key, key)) return i;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> IniFile::Get(std::string_view section, std::string_view key) const {
  textfile::Lines file = textfile::ReadLines(path_);
  if (file.status != textfile::ReadStatus::Ok) return std::nullopt;
  auto [begin, end] = FindSection(file.lines, section);
  if (begin == std::string::npos) return std::nullopt;
  auto at = FindKey(file.lines, begin, end, key);
  if (!at) return std::nullopt;
  std::string_view value = ParseKeyLine(file.lines[*at])->value;
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  value = value.substr(0, sjis::CutLength(value, kValueBytes));
  return sjis::Decode(value).text;
}

IniFile::PutResult IniFile::Put(std::string_view section, std::string_view key,
                                std::string_view value) const {
  return PutAll(section, {{std::string(key), std::string(value)}});
}

IniFile::PutResult IniFile::PutAll(std::string_view section, const KeyValues& values) const {
  using Kind = StoreOutcome::Kind;
  auto refused = [](Kind kind, std::string_view key) {
    StoreOutcome o{kind};
    o.key = std::string(key);
    return o;
  };
  auto encodedSection = sjis::Encode(section);
  if (!encodedSection) return refused(Kind::Unencodable, section);
  textfile::Lines file = textfile::ReadLines(path_);
  if (file.status == textfile::ReadStatus::Error) return {Kind::NotReadCompletely};
  std::vector<std::string>& lines = file.lines;
  for (const auto& [key, value] : values) {
    if (value.find_first_of("\r\n") != std::string::npos) return refused(Kind::Refused, key);
    auto encoded = sjis::Encode(value);
    auto encodedKey = sjis::Encode(key);
    if (!encoded || !encodedKey) return refused(Kind::Unencodable, key);
    std::string keyLine = *encodedKey + "=" + *encoded;
    auto [begin, end] = FindSection(lines, section);
    if (begin == std::string::npos) {
      lines.push_back("[" + *encodedSection + "]");
      lines.push_back(keyLine);
    } else if (auto at = FindKey(lines, begin, end, key)) {
      lines[*at] = keyLine;
    } else {
      // After the section's last non-blank line, so blank lines separating sections stay where they were.
      std::size_t insertAt = end;
      while (insertAt > begin && TrimBlanks(lines[insertAt - 1]).empty()) --insertAt;
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), keyLine);
    }
  }
  const textfile::WriteResult written =
      textfile::WriteAtomic(path_, textfile::JoinCrLf(lines), textfile::InPlace::Allowed);
  if (!written) return StoreOutcome::Failed(written);
  return {};
}
