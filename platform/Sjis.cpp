// Code page 932 codec over generated tables (platform/Cp932Table.cpp): the same bytes on Linux and Windows.
#include "platform/Sjis.h"

#include <algorithm>
#include <array>
#include <memory>
#include <unordered_map>

#include "platform/Cp932Table.h"

namespace sjis {
namespace {

constexpr char16_t kNone = 0xFFFF;

// Byte-indexed views of the generated lists, built once: decoding a line is one look-up per character.
struct Tables {
  std::array<bool, 256> lead{};
  std::vector<char16_t> pairs = std::vector<char16_t>(65536, kNone);              // lead << 8 | trail -> unit
  std::vector<std::uint16_t> encode = std::vector<std::uint16_t>(65536, 0xFFFF);  // unit -> code

  Tables() {
    for (std::size_t i = 0; i < cp932::kPairCount; ++i) {
      const std::uint32_t e = cp932::kPairs[i];
      const auto code = static_cast<std::uint16_t>(e >> 16);
      const auto unit = static_cast<char16_t>(e & 0xFFFF);
      pairs[code] = unit;
      lead[code >> 8] = true;
    }
    // A character takes its lowest code, unless the list of exceptions says otherwise; going from the
    // highest code down leaves the lowest.
    for (std::size_t i = cp932::kPairCount; i-- > 0;)
      encode[cp932::kPairs[i] & 0xFFFF] = static_cast<std::uint16_t>(cp932::kPairs[i] >> 16);
    for (unsigned b = 256; b-- > 0;)
      if (cp932::kSingle[b] != kNone) encode[cp932::kSingle[b]] = static_cast<std::uint16_t>(b);
    for (std::size_t i = 0; i < cp932::kEncodeExceptionCount; ++i)
      encode[cp932::kEncodeExceptions[i] >> 16] =
          static_cast<std::uint16_t>(cp932::kEncodeExceptions[i] & 0xFFFF);
  }
};

const Tables& Table() {
  static const Tables t;
  return t;
}

std::size_t Utf8Length(unsigned char c) {
  if (c < 0x80) return 1;
  if ((c & 0xE0) == 0xC0) return 2;
  if ((c & 0xF0) == 0xE0) return 3;
  if ((c & 0xF8) == 0xF0) return 4;
  return 1;
}

// Characters code page 932 holds only under a look-alike: stored as the look-alike, which is also how
// Windows shows the same bytes (¥ and ‾ would otherwise have to become \ and ~).
struct LookAlike {
  char16_t from, to;
};
constexpr LookAlike kLookAlikes[] = {
    {u'\u301C', u'\uFF5E'},  // 〜 -> ～
    {u'\u2212', u'\uFF0D'},  // − -> －
    {u'\u2016', u'\u2225'},  // ‖ -> ∥
    {u'\u2014', u'\u2015'},  // — -> ―
    {u'\u00A2', u'\uFFE0'},  // ¢ -> ￠
    {u'\u00A3', u'\uFFE1'},  // £ -> ￡
    {u'\u00AC', u'\uFFE2'},  // ¬ -> ￢
    {u'\u00A6', u'\uFFE4'},  // ¦ -> ￤
    {u'\u00A5', u'\uFFE5'},  // ¥ -> ￥
    {u'\u203E', u'\uFFE3'},  // ‾ -> ￣
};

// The code point of the well-formed UTF-8 character at the start of `s` and its length; length 0 when
// the bytes are not one (a stray or missing continuation byte, an overlong form, a surrogate).
std::pair<char32_t, std::size_t> NextCodePoint(std::string_view s) {
  const auto b0 = static_cast<unsigned char>(s[0]);
  const std::size_t n = Utf8Length(b0);
  if (n == 1) return {b0, b0 < 0x80 ? 1u : 0u};
  if (s.size() < n) return {0, 0};
  char32_t cp = b0 & (0x7F >> n);
  for (std::size_t k = 1; k < n; ++k) {
    const auto b = static_cast<unsigned char>(s[k]);
    if ((b & 0xC0) != 0x80) return {0, 0};
    cp = cp << 6 | (b & 0x3F);
  }
  constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kMin[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return {0, 0};
  return {cp, n};
}

// Encodes after the look-alike mapping; `bad` gets the first character that cannot be carried.
std::optional<std::string> EncodeExact(std::string_view utf8, std::string* bad) {
  const Tables& t = Table();
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const auto [cp, n] = NextCodePoint(utf8.substr(i));
    std::uint16_t code = 0xFFFF;
    if (n != 0 && cp < 0x10000) {
      auto unit = static_cast<char16_t>(cp);
      for (const LookAlike& l : kLookAlikes)
        if (unit == l.from) unit = l.to;
      code = t.encode[unit];
    }
    if (code == 0xFFFF) {
      if (bad) {
        const std::size_t len = n != 0 ? n : Utf8Length(static_cast<unsigned char>(utf8[i]));
        *bad = std::string(utf8.substr(i, std::min(len, utf8.size() - i)));
      }
      return std::nullopt;
    }
    if (code > 0xFF) out += static_cast<char>(code >> 8);
    out += static_cast<char>(code & 0xFF);
    i += n;
  }
  return out;
}

void AppendUtf8(std::string& out, char16_t u) {
  if (u < 0x80) {
    out += static_cast<char>(u);
  } else if (u < 0x800) {
    out += static_cast<char>(0xC0 | (u >> 6));
    out += static_cast<char>(0x80 | (u & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (u >> 12));
    out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (u & 0x3F));
  }
}

// The UTF-16 unit of the character at `i`, or kNone; `used` gets the bytes it takes. A byte that starts
// no character is lost alone (a lead byte with a bad trail keeps its trail, often plain ASCII).
char16_t UnitAt(const Tables& t, std::string_view cp932, std::size_t i, std::size_t& used) {
  const auto b = static_cast<unsigned char>(cp932[i]);
  used = 1;
  if (t.lead[b] && i + 1 < cp932.size()) {
    const char16_t u = t.pairs[static_cast<std::size_t>(b) << 8 | static_cast<unsigned char>(cp932[i + 1])];
    if (u != kNone) used = 2;
    return u;
  }
  return cp932::kSingle[b];
}

}  // namespace

Decoded Decode(std::string_view cp932) {
  const Tables& t = Table();
  Decoded d;
  d.text.reserve(cp932.size() + cp932.size() / 2);
  for (std::size_t i = 0; i < cp932.size();) {
    std::size_t used = 1;
    const char16_t u = UnitAt(t, cp932, i, used);
    if (u == kNone) {
      d.complete = false;
      d.text += "\xEF\xBF\xBD";
    } else {
      AppendUtf8(d.text, u);
    }
    i += used;
  }
  return d;
}

std::size_t DecodeUtf16(std::string_view cp932, char16_t* out, bool& complete) {
  const Tables& t = Table();
  std::size_t n = 0;
  for (std::size_t i = 0; i < cp932.size();) {
    std::size_t used = 1;
    const char16_t u = UnitAt(t, cp932, i, used);
    if (u == kNone) complete = false;
    out[n++] = u == kNone ? u'\uFFFD' : u;
    i += used;
  }
  return n;
}

std::optional<std::string> Encode(std::string_view utf8) {
  return EncodeExact(utf8, nullptr);
}

std::string FirstUnencodable(std::string_view utf8) {
  std::string bad;
  if (EncodeExact(utf8, &bad)) return {};
  return bad;
}

bool IsWellFormed(std::string_view s) {
  for (std::size_t i = 0; i < s.size(); ++i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80 || (c >= 0xA1 && c <= 0xDF)) continue;
    if (!IsLeadByte(c) || i + 1 >= s.size()) return false;
    const auto t = static_cast<unsigned char>(s[++i]);
    if (t < 0x40 || t == 0x7F || t > 0xFC) return false;
  }
  return true;
}

namespace {
// Every double-byte code that decodes, grouped by the character it decodes to.
std::unordered_map<std::string, std::vector<unsigned>> CodesByText() {
  std::unordered_map<std::string, std::vector<unsigned>> groups;
  for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
    if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
      if (trail == 0x7F) continue;
      const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      const Decoded d = Decode(std::string_view(bytes, 2));
      if (d.complete) groups[d.text].push_back(lead << 8 | trail);
    }
  }
  return groups;
}

// For each double-byte code, the other codes of the same character.
const std::unordered_map<unsigned, std::vector<unsigned>>& OtherCodes() {
  static const auto table = [] {
    std::unordered_map<unsigned, std::vector<unsigned>> byCode;
    for (const auto& [text, codes] : CodesByText())
      for (unsigned c : codes)
        for (unsigned other : codes)
          if (other != c) byCode[c].push_back(other);
    return byCode;
  }();
  return table;
}
}  // namespace

std::vector<std::string> Spellings(std::string_view cp932, std::size_t limit) {
  std::vector<std::string> out{std::string(cp932)};
  for (std::size_t i = 0; i < cp932.size();) {
    const auto c = static_cast<unsigned char>(cp932[i]);
    if (!IsLeadByte(c) || i + 1 >= cp932.size()) {
      ++i;
      continue;
    }
    const unsigned code = c << 8 | static_cast<unsigned char>(cp932[i + 1]);
    if (auto it = OtherCodes().find(code); it != OtherCodes().end()) {
      const std::size_t known = out.size();
      for (unsigned other : it->second)
        for (std::size_t k = 0; k < known && out.size() < limit; ++k) {
          std::string s = out[k];
          s[i] = static_cast<char>(other >> 8);
          s[i + 1] = static_cast<char>(other & 0xFF);
          out.push_back(std::move(s));
        }
    }
    i += 2;
  }
  return out;
}

std::size_t CutLength(std::string_view cp932, std::size_t maxBytes) {
  if (cp932.size() <= maxBytes) return cp932.size();
  std::size_t i = 0;
  while (i < cp932.size()) {
    std::size_t w = IsLeadByte(static_cast<unsigned char>(cp932[i])) ? 2 : 1;
    if (i + w > maxBytes) break;
    i += w;
  }
  return i;
}

}  // namespace sjis
