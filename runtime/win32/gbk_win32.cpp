// GBK codec on Windows: code page 936 explicitly, whatever the system's
// own code page is.
#include <windows.h>

#include "runtime/gbk.h"
#include "runtime/win32/wide.h"

namespace tovan::rt {
namespace {

constexpr UINT kGbk = 936;

bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

}  // namespace

GbkResult ToGbk(std::string_view utf8) {
  GbkResult result;
  // Invalid UTF-8 becomes U+FFFD here, which GBK cannot hold: it turns into "?".
  std::wstring wide = win32::Wide(utf8);
  if (wide.empty()) return result;
  // A character outside the basic plane is one "?", not two.
  std::size_t kept = 0;
  for (std::size_t i = 0; i < wide.size(); ++i) {
    const bool pair = i + 1 < wide.size() && IS_HIGH_SURROGATE(wide[i]) && IS_LOW_SURROGATE(wide[i + 1]);
    if (pair || IS_HIGH_SURROGATE(wide[i]) || IS_LOW_SURROGATE(wide[i])) {
      result.lossless = false;
      wide[kept++] = L'?';
      if (pair) ++i;
    } else {
      wide[kept++] = wide[i];
    }
  }
  wide.resize(kept);
  BOOL used_default = FALSE;
  const int n = WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), nullptr,
                                    0, "?", &used_default);
  result.bytes.resize(n);
  WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), result.bytes.data(), n,
                      "?", &used_default);
  if (used_default) result.lossless = false;
  return result;
}

std::string FromGbk(std::string_view gbk) {
  // Character by character, so that an invalid pair becomes U+FFFD instead
  // of whatever the system would guess.
  std::wstring wide;
  wide.reserve(gbk.size());
  for (std::size_t i = 0; i < gbk.size();) {
    const unsigned char c = static_cast<unsigned char>(gbk[i]);
    if (c < 0x80) {
      wide.push_back(static_cast<wchar_t>(c));
      ++i;
      continue;
    }
    const int length = (IsLeadByte(c) && i + 1 < gbk.size()) ? 2 : 1;
    wchar_t out[2];
    const int n = MultiByteToWideChar(kGbk, MB_ERR_INVALID_CHARS, gbk.data() + i, length, out, 2);
    if (n == 1) {
      wide.push_back(out[0]);
      i += length;
    } else {
      wide.push_back(0xFFFD);
      i += 1;
    }
  }
  return win32::Utf8(wide);
}

}  // namespace tovan::rt
