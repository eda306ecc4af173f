// The codec's reference through glibc's iconv.
#include "platform/SjisIconv.h"

#include <iconv.h>

#include <cerrno>

namespace sjis {
namespace {
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);  // NOLINT(performance-no-int-to-ptr)
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // All of `in`, each byte iconv refuses skipped as U+FFFD; `clean` turns false when one was.
  bool Run(std::string_view in, std::string& out, bool skipBad) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    bool clean = true;
    char buf[4096];
    while (srcLeft > 0) {
      char* dst = buf;
      size_t dstLeft = sizeof buf;
      const size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
      out.append(buf, static_cast<size_t>(dst - buf));
      if (r == static_cast<size_t>(-1) && errno != E2BIG) {
        clean = false;
        if (!skipBad) return false;
        out += "\xEF\xBF\xBD";
        ++src;
        --srcLeft;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
      }
    }
    return clean;
  }

 private:
  iconv_t cd_;
};
}  // namespace

Decoded DecodeWithIconv(std::string_view cp932) {
  thread_local Converter decoder("UTF-8", "CP932");
  Decoded d;
  d.complete = decoder.Run(cp932, d.text, true);
  return d;
}

std::optional<std::string> EncodeWithIconv(std::string_view utf8Character) {
  thread_local Converter encoder("CP932", "UTF-8");
  std::string out;
  if (!encoder.Run(utf8Character, out, false)) return std::nullopt;
  const Decoded back = DecodeWithIconv(out);
  if (!back.complete || back.text != utf8Character) return std::nullopt;
  return out;
}

}  // namespace sjis
