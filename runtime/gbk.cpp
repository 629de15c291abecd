// The GBK codec: two tables built once from the platform's own code page
// (GbkCodeToUnicode), then every conversion is a table look-up per
// character, so a 40 MB slot file converts in a fraction of a second.
#include "runtime/gbk.h"

#include <array>
#include <memory>

#include "runtime/gbk_platform.h"
#include "runtime/utf8.h"

namespace tovan::rt {
namespace {

bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

struct Tables {
  // GBK code → character (0 where there is none: only code 0 stands for NUL).
  std::array<char16_t, 0x10000> to_unicode{};
  // Character of the basic plane → GBK code (0 where GBK has none).
  std::array<std::uint16_t, 0x10000> to_gbk{};

  Tables() {
    for (std::uint32_t code = 0; code < 0x10000; ++code) {
      const bool single = code < 0x100;
      if (single ? (code >= 0x80 && IsLeadByte(static_cast<unsigned char>(code)))
                 : (!IsLeadByte(static_cast<unsigned char>(code >> 8)) || (code & 0xFF) < 0x40 || (code & 0xFF) == 0xFF))
        continue;
      const std::uint32_t c = code < 0x80 ? code : GbkCodeToUnicode(static_cast<std::uint16_t>(code));
      if (c == kNoCharacter || c > 0xFFFF || (c == 0 && code != 0)) continue;
      to_unicode[code] = static_cast<char16_t>(c);
      // Where two codes give one character, the first (the shorter) is the one written.
      if (to_gbk[c] == 0 && c != 0) to_gbk[c] = static_cast<std::uint16_t>(code);
    }
  }
};

const Tables& TheTables() {
  static const auto tables = std::make_unique<Tables>();
  return *tables;
}

}  // namespace

GbkResult ToGbk(std::string_view utf8) {
  const Tables& tables = TheTables();
  GbkResult result;
  std::string& out = result.bytes;
  out.reserve(utf8.size());
  for (std::size_t at = 0; at < utf8.size();) {
    const unsigned char byte = static_cast<unsigned char>(utf8[at]);
    if (byte < 0x80) {
      out.push_back(static_cast<char>(byte));
      ++at;
      continue;
    }
    bool valid = true;
    const char32_t c = DecodeUtf8(utf8, at, valid);
    const std::uint16_t code = valid && c <= 0xFFFF ? tables.to_gbk[c] : 0;
    if (code == 0) {
      out.push_back('?');
      result.lossless = false;
    } else if (code < 0x100) {
      out.push_back(static_cast<char>(code));
    } else {
      out.push_back(static_cast<char>(code >> 8));
      out.push_back(static_cast<char>(code & 0xFF));
    }
  }
  return result;
}

std::string FromGbk(std::string_view gbk) {
  const Tables& tables = TheTables();
  std::string out;
  out.reserve(gbk.size() + gbk.size() / 2);
  for (std::size_t at = 0; at < gbk.size();) {
    const unsigned char byte = static_cast<unsigned char>(gbk[at]);
    if (byte < 0x80) {
      out.push_back(static_cast<char>(byte));
      ++at;
      continue;
    }
    char16_t c = 0;
    if (IsLeadByte(byte) && at + 1 < gbk.size()) c = tables.to_unicode[byte << 8 | static_cast<unsigned char>(gbk[at + 1])];
    if (c != 0) {
      at += 2;
    } else {
      // A byte that starts no character: it alone is lost, the next byte
      // may start a character of its own.
      c = tables.to_unicode[byte];
      if (c == 0) c = static_cast<char16_t>(kReplacementCharacter);
      ++at;
    }
    AppendUtf8(out, c);
  }
  return out;
}

}  // namespace tovan::rt
