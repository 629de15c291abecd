// GBK codes on the native build, through iconv.
#include <iconv.h>

#include "runtime/gbk_platform.h"

namespace tovan::rt {

std::uint32_t GbkCodeToUnicode(std::uint16_t code) {
  // Called only while the codec's tables are built, once, under the lock of
  // a function-local static; one converter serves every call.
  static const iconv_t converter = iconv_open("UTF-32LE", "GBK");
  if (converter == reinterpret_cast<iconv_t>(-1)) return code < 0x80 ? code : kNoCharacter;
  char in[2];
  std::size_t in_left = 0;
  if (code < 0x100) {
    in[in_left++] = static_cast<char>(code);
  } else {
    in[in_left++] = static_cast<char>(code >> 8);
    in[in_left++] = static_cast<char>(code & 0xFF);
  }
  unsigned char out[8];
  char* in_at = in;
  char* out_at = reinterpret_cast<char*>(out);
  std::size_t out_left = sizeof out;
  iconv(converter, nullptr, nullptr, nullptr, nullptr);
  if (iconv(converter, &in_at, &in_left, &out_at, &out_left) == static_cast<std::size_t>(-1) || in_left != 0 ||
      out_left != sizeof out - 4)
    return kNoCharacter;
  return out[0] | out[1] << 8 | out[2] << 16 | static_cast<std::uint32_t>(out[3]) << 24;
}

}  // namespace tovan::rt
