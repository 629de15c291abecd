// GBK codec for the native build, through iconv.
#include <errno.h>
#include <algorithm>
#include <iconv.h>

#include "runtime/gbk.h"

namespace tovan::rt {
namespace {

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts as much as it can; an input byte sequence it cannot convert is
  // skipped by `skip(input)` bytes and replaced by `replacement`.
  template <typename Skip>
  bool Run(std::string_view input, std::string_view replacement, Skip skip, std::string& out) {
    bool lossless = true;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(input.data());
    std::size_t in_left = input.size();
    char buffer[4096];
    while (in_left > 0) {
      char* o = buffer;
      std::size_t o_left = sizeof buffer;
      const std::size_t r = iconv(cd_, &in, &in_left, &o, &o_left);
      out.append(buffer, o - buffer);
      if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
        lossless = false;
        out.append(replacement);
        const std::size_t n = std::min(in_left, skip(std::string_view(in, in_left)));
        in += n;
        in_left -= n;
      }
    }
    return lossless;
  }

 private:
  iconv_t cd_;
};

// Length of the UTF-8 sequence that starts the text (1 for a stray byte).
std::size_t Utf8Length(std::string_view s) {
  const unsigned char c = static_cast<unsigned char>(s[0]);
  std::size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 1;
  for (std::size_t k = 1; k < n; ++k)
    if (k >= s.size() || (static_cast<unsigned char>(s[k]) & 0xC0) != 0x80) return k;
  return n;
}

// An invalid GBK sequence gives up one byte: the byte after a bad lead byte
// may be a character of its own.
std::size_t OneByte(std::string_view) { return 1; }

}  // namespace

GbkResult ToGbk(std::string_view utf8) {
  GbkResult result;
  Converter converter("GBK", "UTF-8");
  result.lossless = converter.Run(utf8, "?", Utf8Length, result.bytes);
  return result;
}

std::string FromGbk(std::string_view gbk) {
  std::string out;
  Converter converter("UTF-8", "GBK");
  converter.Run(gbk, "\xEF\xBF\xBD", OneByte, out);
  return out;
}

}  // namespace tovan::rt
