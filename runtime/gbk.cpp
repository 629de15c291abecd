// The GBK codec: two tables built once from the platform's own code page
// (GbkCodeToUnicode), then every conversion is a table look-up per
// character, so a 40 MB slot file converts in a fraction of a second.
#include "runtime/gbk.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <memory>

#include "runtime/gbk_platform.h"
#include "runtime/utf8.h"

namespace tovan::rt {
namespace {

bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

struct Tables {
  // GBK code → character (0 where there is none: only code 0 stands for NUL).
  std::array<char16_t, 0x10000> to_unicode{};
  // GBK code → its character's UTF-8 bytes, packed from the low byte up,
  // with the byte count in the top byte.
  std::array<std::uint32_t, 0x10000> to_utf8{};
  // Character of the basic plane → GBK code (0 where GBK has none).
  std::array<std::uint16_t, 0x10000> to_gbk{};

  Tables() {
    for (std::uint32_t code = 0; code < 0x10000; ++code) {
      const bool single = code < 0x100;
      std::uint32_t c = kNoCharacter;
      if (single ? !(code >= 0x80 && IsLeadByte(static_cast<unsigned char>(code)))
                 : (IsLeadByte(static_cast<unsigned char>(code >> 8)) && (code & 0xFF) >= 0x40 && (code & 0xFF) != 0xFF))
        c = code < 0x80 ? code : GbkCodeToUnicode(static_cast<std::uint16_t>(code));
      // No character; or a second code of a character already had (only
      // the first is written back), or one in the stray bytes' range: then
      // its bytes count as stray, so that every byte comes back as it was.
      if (c == kNoCharacter || c > 0xFFFF || (c == 0 && code != 0) || (c != 0 && to_gbk[c] != 0) ||
          (c >= kStrayByteBase + 0x80 && c <= kStrayByteBase + 0xFF)) {
        if (single) {
          to_utf8[code] = Packed(kStrayByteBase + code);
          to_gbk[kStrayByteBase + code] = static_cast<std::uint16_t>(code);
        }
        continue;
      }
      to_unicode[code] = static_cast<char16_t>(c);
      to_utf8[code] = Packed(c);
      if (c != 0) to_gbk[c] = static_cast<std::uint16_t>(code);
    }
  }

  static std::uint32_t Packed(char32_t c) {
    std::string bytes;
    AppendUtf8(bytes, c);
    std::uint32_t packed = static_cast<std::uint32_t>(bytes.size()) << 24;
    for (std::size_t i = 0; i < bytes.size(); ++i) packed |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << (8 * i);
    return packed;
  }
};

static_assert(std::endian::native == std::endian::little, "the packed UTF-8 bytes are stored low byte first");

// U+FFFD as the tables pack it: EF BF BD.
constexpr std::uint32_t kPackedReplacement = 3u << 24 | 0xBDu << 16 | 0xBFu << 8 | 0xEFu;

const Tables& TheTables() {
  static const auto tables = std::make_unique<Tables>();
  return *tables;
}

// Length of the run of ASCII bytes at the start of the text.
std::size_t AsciiRun(const char* text, std::size_t size) {
  std::size_t n = 0;
  while (n + 8 <= size) {
    std::uint64_t word;
    std::memcpy(&word, text + n, 8);
    if (word & 0x8080808080808080ULL) break;
    n += 8;
  }
  while (n < size && static_cast<unsigned char>(text[n]) < 0x80) ++n;
  return n;
}

}  // namespace

GbkResult ToGbk(std::string_view utf8) {
  const Tables& tables = TheTables();
  GbkResult result;
  // GBK never takes more bytes than UTF-8 for the same text.
  std::string& out = result.bytes;
  out.resize(utf8.size());
  char* o = out.data();
  for (std::size_t at = 0; at < utf8.size();) {
    const std::size_t ascii = AsciiRun(utf8.data() + at, utf8.size() - at);
    std::memcpy(o, utf8.data() + at, ascii);
    o += ascii;
    at += ascii;
    if (at == utf8.size()) break;
    // Chinese text is almost all three-byte characters: read those directly.
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(utf8[i]); };
    char32_t c = 0;
    bool valid = true;
    if ((byte(at) & 0xF0) == 0xE0 && at + 2 < utf8.size() && (byte(at + 1) & 0xC0) == 0x80 &&
        (byte(at + 2) & 0xC0) == 0x80) {
      c = (byte(at) & 0x0F) << 12 | (byte(at + 1) & 0x3F) << 6 | (byte(at + 2) & 0x3F);
      valid = c >= 0x800 && (c < 0xD800 || c > 0xDFFF);
      at += 3;
    } else {
      c = DecodeUtf8(utf8, at, valid);
    }
    std::uint16_t code = valid && c <= 0xFFFF ? tables.to_gbk[c] : 0;
    // A kept stray lead byte that would pair with the next character's
    // first byte would read back as another character: it cannot be kept.
    if (code >= 0x81 && code < 0x100 && IsLeadByte(static_cast<unsigned char>(code)) && at < utf8.size()) {
      std::size_t next_at = at;
      bool next_valid = true;
      const char32_t next = DecodeUtf8(utf8, next_at, next_valid);
      const std::uint16_t next_code = next_valid && next <= 0xFFFF ? (next < 0x80 ? next : tables.to_gbk[next]) : 0;
      const unsigned first = next_code < 0x100 ? next_code : next_code >> 8;
      if (next_code != 0 && tables.to_unicode[code << 8 | first] != 0) code = 0;
    }
    if (code == 0) {
      *o++ = '?';
      result.lossless = false;
    } else if (code < 0x100) {
      *o++ = static_cast<char>(code);
    } else {
      *o++ = static_cast<char>(code >> 8);
      *o++ = static_cast<char>(code & 0xFF);
    }
  }
  out.resize(static_cast<std::size_t>(o - out.data()));
  return result;
}

std::size_t GbkCharLength(std::string_view gbk, std::size_t at) {
  const auto byte = static_cast<unsigned char>(gbk[at]);
  if (!IsLeadByte(byte) || at + 1 >= gbk.size()) return 1;
  return TheTables().to_unicode[byte << 8 | static_cast<unsigned char>(gbk[at + 1])] != 0 ? 2 : 1;
}

std::size_t CountGbkCharacter(std::string_view gbk, std::uint16_t code) {
  // Its two bytes are searched for; a find counts only where a character
  // starts, which a walk decides from a place where one surely starts: just
  // after a byte below 0x40 (never part of a pair), or where the last walk
  // ended.
  const Tables& tables = TheTables();
  if (code < 0x100 || tables.to_unicode[code] == 0) return 0;
  const auto* bytes = reinterpret_cast<const unsigned char*>(gbk.data());
  const std::size_t size = gbk.size();
  const unsigned char first = static_cast<unsigned char>(code >> 8);
  const unsigned char second = static_cast<unsigned char>(code & 0xFF);
  std::size_t count = 0;
  std::size_t start = 0;  // a character starts here
  for (std::size_t from = 0; from + 1 < size;) {
    const auto* hit = static_cast<const unsigned char*>(std::memchr(bytes + from, first, size - 1 - from));
    if (!hit) break;
    const std::size_t found = static_cast<std::size_t>(hit - bytes);
    if (bytes[found + 1] != second) {
      from = found + 1;
      continue;
    }
    std::size_t at = found;
    while (at > start && bytes[at - 1] >= 0x40) --at;
    while (at < found) at += tables.to_unicode[bytes[at] << 8 | bytes[at + 1]] != 0 ? 2 : 1;
    if (at == found) {
      ++count;
      start = from = found + 2;
    } else {
      start = at;  // the find was a character's second byte and the next one's first
      from = found + 1;
    }
  }
  return count;
}

std::string FromGbk(std::string_view gbk, StrayBytes stray) {
  const Tables& tables = TheTables();
  const auto* bytes = reinterpret_cast<const unsigned char*>(gbk.data());
  const std::size_t size = gbk.size();
  // A pair becomes at most three bytes; a single byte that is no character
  // becomes three bytes too: grown when that happens often.
  std::string out;
  out.resize(size + size / 2 + 16);
  std::size_t o = 0;
  for (std::size_t at = 0; at < size;) {
    if (bytes[at] < 0x80) {
      const std::size_t ascii = AsciiRun(gbk.data() + at, size - at);
      if (out.size() - o < ascii + 4) out.resize(std::max(out.size() * 2, o + ascii + 4));
      std::memcpy(out.data() + o, gbk.data() + at, ascii);
      o += ascii;
      at += ascii;
      continue;
    }
    if (out.size() - o < 4) out.resize(out.size() * 2);
    // A pair's entry is 0 when it is no character: then the first byte
    // alone is lost, and the next may start a character of its own.
    std::uint32_t packed = at + 1 < size ? tables.to_utf8[bytes[at] << 8 | bytes[at + 1]] : 0;
    if (packed != 0) {
      at += 2;
    } else {
      packed = stray == StrayBytes::kReplaced && tables.to_unicode[bytes[at]] == 0 ? kPackedReplacement
                                                                                  : tables.to_utf8[bytes[at]];
      ++at;
    }
    std::memcpy(out.data() + o, &packed, 4);  // little-endian: the bytes in order
    o += packed >> 24;
  }
  out.resize(o);
  return out;
}

}  // namespace tovan::rt
