// GBK codes on Windows: code page 936 explicitly, whatever the system's own
// code page is.
#include <windows.h>

#include "runtime/gbk_platform.h"

namespace tovan::rt {

std::uint32_t GbkCodeToUnicode(std::uint16_t code) {
  char in[2];
  int length = 0;
  if (code < 0x100) {
    in[length++] = static_cast<char>(code);
  } else {
    in[length++] = static_cast<char>(code >> 8);
    in[length++] = static_cast<char>(code & 0xFF);
  }
  wchar_t out[2];
  const int n = MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, in, length, out, 2);
  return n == 1 ? static_cast<std::uint32_t>(out[0]) : kNoCharacter;
}

}  // namespace tovan::rt
