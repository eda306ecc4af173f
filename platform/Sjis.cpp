// Code page 932 codec over glibc iconv; one converter pair per thread, reused.
#include "platform/Sjis.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <unordered_map>

namespace sjis {
namespace {

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    // iconv_open's documented failure value is (iconv_t)-1.
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);  // NOLINT(performance-no-int-to-ptr)
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts all of `in`; on an invalid sequence calls onBad(remaining input) which returns the number of
  // bytes to skip, or 0 to give up. Returns false when it gave up.
  template <typename OnBad>
  bool Run(std::string_view in, std::string& out, OnBad onBad) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    out.clear();
    out.reserve(in.size() * 3 / 2 + 8);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char buf[4096];
    while (srcLeft > 0) {
      char* dst = buf;
      size_t dstLeft = sizeof buf;
      size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
      out.append(buf, dst - buf);
      if (r == static_cast<size_t>(-1) && errno != E2BIG) {
        size_t skip = onBad(std::string_view(src, srcLeft), out);
        if (skip == 0) return false;
        src += skip;
        srcLeft -= skip;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
      }
    }
    return true;
  }

 private:
  iconv_t cd_;
};

Converter& Decoder() {
  thread_local Converter c("UTF-8", "CP932");
  return c;
}
Converter& Encoder() {
  thread_local Converter c("CP932", "UTF-8");
  return c;
}

std::size_t Utf8Length(unsigned char c) {
  if (c < 0x80) return 1;
  if ((c & 0xE0) == 0xC0) return 2;
  if ((c & 0xF0) == 0xE0) return 3;
  if ((c & 0xF8) == 0xF0) return 4;
  return 1;
}

// Characters code page 932 holds only under a look-alike: stored as the look-alike, which is also how
// Windows shows the same bytes. Without this, iconv turns ¥ and ‾ into \ and ~.
struct LookAlike {
  std::string_view from, to;
};
constexpr LookAlike kLookAlikes[] = {
    {"\u301C", "\uFF5E"},  // 〜 -> ～
    {"\u2212", "\uFF0D"},  // − -> －
    {"\u2016", "\u2225"},  // ‖ -> ∥
    {"\u2014", "\u2015"},  // — -> ―
    {"\u00A2", "\uFFE0"},  // ¢ -> ￠
    {"\u00A3", "\uFFE1"},  // £ -> ￡
    {"\u00AC", "\uFFE2"},  // ¬ -> ￢
    {"\u00A6", "\uFFE4"},  // ¦ -> ￤
    {"\u00A5", "\uFFE5"},  // ¥ -> ￥
    {"\u203E", "\uFFE3"},  // ‾ -> ￣
};

std::string WithLookAlikes(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const std::size_t n = std::min(Utf8Length(static_cast<unsigned char>(utf8[i])), utf8.size() - i);
    const std::string_view ch = utf8.substr(i, n);
    std::string_view put = ch;
    if (n >= 2)
      for (const LookAlike& l : kLookAlikes)
        if (ch == l.from) put = l.to;
    out += put;
    i += n;
  }
  return out;
}

// Encodes after the look-alike mapping and proves that the bytes decode back to the mapped text: iconv
// otherwise maps some characters to others (or to nothing) without a word. `bad` gets the first
// character that cannot be carried.
std::optional<std::string> EncodeExact(std::string_view utf8, std::string* bad) {
  const std::string mapped = WithLookAlikes(utf8);
  std::string out;
  std::string firstBad;
  bool ok = Encoder().Run(mapped, out, [&firstBad](std::string_view rest, std::string&) -> size_t {
    firstBad =
        std::string(rest.substr(0, std::min(Utf8Length(static_cast<unsigned char>(rest[0])), rest.size())));
    return 0;
  });
  if (ok) {
    std::string back;
    ok = Decoder().Run(out, back, [](std::string_view, std::string&) -> size_t { return 0; }) &&
         back == mapped;
    if (!ok) {
      // Rare: find the character that does not come back as itself.
      for (std::size_t i = 0; i < mapped.size();) {
        const std::size_t n = std::min(Utf8Length(static_cast<unsigned char>(mapped[i])), mapped.size() - i);
        const std::string_view ch = std::string_view(mapped).substr(i, n);
        std::string one, again;
        if (!Encoder().Run(ch, one, [](std::string_view, std::string&) -> size_t { return 0; }) ||
            !Decoder().Run(one, again, [](std::string_view, std::string&) -> size_t { return 0; }) ||
            again != ch) {
          firstBad = std::string(ch);
          break;
        }
        i += n;
      }
    }
  }
  if (ok) return out;
  if (bad) *bad = firstBad.empty() ? std::string(utf8.substr(0, 1)) : firstBad;
  return std::nullopt;
}

}  // namespace

Decoded DecodeWithIconv(std::string_view cp932) {
  Decoded d;
  Decoder().Run(cp932, d.text, [&d](std::string_view rest, std::string& out) -> size_t {
    d.complete = false;
    out += "\xEF\xBF\xBD";
    // A valid lead byte followed by a bad trail byte loses only the lead byte, so the next character
    // (often plain ASCII) survives.
    (void)rest;
    return 1;
  });
  return d;
}

namespace {
// What iconv makes of every single byte and every lead-and-trail pair, built once from iconv itself:
// decoding by table gives iconv's result (proved by a test over random bytes) at a fraction of its cost
// per line.
struct DecodeTable {
  struct Utf8 {
    char bytes[4] = {};
    unsigned char length = 0;  // 0: not a character
  };
  std::array<Utf8, 256> single;
  std::array<bool, 256> lead{};
  std::vector<Utf8> pairs = std::vector<Utf8>(65536);
  // The same characters as UTF-16 units (code page 932 lies within the BMP); 0: not a character.
  std::array<char16_t, 256> single16{};
  std::vector<char16_t> pairs16 = std::vector<char16_t>(65536);

  DecodeTable() {
    iconv_t cd = iconv_open("UTF-8", "CP932");
    auto one = [cd](const char* in, std::size_t n, Utf8& out) {
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
      char* src = const_cast<char*>(in);
      std::size_t srcLeft = n, dstLeft = sizeof out.bytes;
      char* dst = out.bytes;
      const std::size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
      if (r != static_cast<std::size_t>(-1) && srcLeft == 0) {
        out.length = static_cast<unsigned char>(sizeof out.bytes - dstLeft);
        return 0;
      }
      return errno;
    };
    for (unsigned b = 0; b < 256; ++b) {
      const char in = static_cast<char>(b);
      if (one(&in, 1, single[b]) != EINVAL) continue;  // a character, or no start of one
      lead[b] = true;
      for (unsigned trail = 0; trail < 256; ++trail) {
        const char pair[2] = {static_cast<char>(b), static_cast<char>(trail)};
        one(pair, 2, pairs[b << 8 | trail]);
      }
    }
    iconv_close(cd);
    for (std::size_t i = 0; i < single.size(); ++i) single16[i] = Unit(single[i]);
    for (std::size_t i = 0; i < pairs.size(); ++i) pairs16[i] = Unit(pairs[i]);
  }

  // One character of at most three UTF-8 bytes as its UTF-16 unit.
  static char16_t Unit(const Utf8& c) {
    const auto b = [&c](int i) { return static_cast<unsigned>(static_cast<unsigned char>(c.bytes[i])); };
    switch (c.length) {
      case 1:
        return static_cast<char16_t>(b(0));
      case 2:
        return static_cast<char16_t>((b(0) & 0x1Fu) << 6 | (b(1) & 0x3Fu));
      case 3:
        return static_cast<char16_t>((b(0) & 0x0Fu) << 12 | (b(1) & 0x3Fu) << 6 | (b(2) & 0x3Fu));
      default:
        return 0;
    }
  }
};

const DecodeTable& Table() {
  static const DecodeTable table;
  return table;
}
}  // namespace

Decoded Decode(std::string_view cp932) {
  const DecodeTable& t = Table();
  Decoded d;
  d.text.reserve(cp932.size() + cp932.size() / 2);
  for (std::size_t i = 0; i < cp932.size();) {
    const auto b = static_cast<unsigned char>(cp932[i]);
    const DecodeTable::Utf8* c = &t.single[b];
    std::size_t used = 1;
    if (t.lead[b] && i + 1 < cp932.size()) {
      c = &t.pairs[static_cast<std::size_t>(b) << 8 | static_cast<unsigned char>(cp932[i + 1])];
      used = 2;
    }
    if (c->length == 0) {
      // As iconv's caller always did: the byte is lost (a lead byte alone, so its trail survives).
      d.complete = false;
      d.text += "\xEF\xBF\xBD";
      ++i;
      continue;
    }
    d.text.append(c->bytes, c->length);
    i += used;
  }
  return d;
}

std::size_t DecodeUtf16(std::string_view cp932, char16_t* out, bool& complete) {
  const DecodeTable& t = Table();
  std::size_t n = 0;
  for (std::size_t i = 0; i < cp932.size();) {
    const auto b = static_cast<unsigned char>(cp932[i]);
    char16_t c = t.single16[b];
    bool valid = t.single[b].length != 0;
    std::size_t used = 1;
    if (t.lead[b] && i + 1 < cp932.size()) {
      const std::size_t pair = static_cast<std::size_t>(b) << 8 | static_cast<unsigned char>(cp932[i + 1]);
      c = t.pairs16[pair];
      valid = t.pairs[pair].length != 0;
      used = 2;
    }
    if (!valid) {  // as Decode: the byte is lost, U+FFFD in its place
      complete = false;
      out[n++] = u'\uFFFD';
      ++i;
      continue;
    }
    out[n++] = c;
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
