#include "runtime/text_file.h"

#include "runtime/gbk.h"
#include "runtime/text.h"
#include "runtime/utf8.h"

namespace tovan::rt {
namespace {

std::string FromUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t at = 0; at < bytes.size();) {
    const std::size_t start = at;
    bool valid = true;
    const char32_t c = DecodeUtf8(bytes, at, valid);
    if (valid)
      out.append(bytes.substr(start, at - start));
    else
      AppendUtf8(out, c);
  }
  return out;
}

std::string FromUtf16(std::string_view bytes, bool big_endian) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 2);
  const auto unit = [&](std::size_t i) -> char32_t {
    const auto a = static_cast<unsigned char>(bytes[i]);
    const auto b = static_cast<unsigned char>(bytes[i + 1]);
    return big_endian ? (a << 8 | b) : (b << 8 | a);
  };
  const std::size_t end = bytes.size() & ~std::size_t{1};
  for (std::size_t at = 0; at < end; at += 2) {
    char32_t c = unit(at);
    if (c >= 0xD800 && c <= 0xDBFF && at + 3 < end) {
      const char32_t low = unit(at + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        at += 2;
      }
    }
    AppendUtf8(out, c);  // a lone surrogate becomes U+FFFD
  }
  if (end != bytes.size()) AppendUtf8(out, kReplacementCharacter);  // half a character at the end
  return out;
}

bool HasByteOrderMark(std::string_view bytes) {
  return StartsWith(bytes, "\xEF\xBB\xBF") || StartsWith(bytes, "\xFF\xFE") || StartsWith(bytes, "\xFE\xFF");
}

// UTF-8 without a mark: every sequence valid, and at least one character
// from U+0800 on, where every Chinese character lies (three bytes in
// UTF-8). About one GBK character in seven is by chance a valid two-byte
// UTF-8 sequence (值 is D6 B5, U+05B5), so a short GBK text made only of
// such characters would pass a plainer test; three-byte chains by chance
// are far rarer.
bool IsMarklessUtf8(std::string_view bytes) {
  bool wide = false;
  for (std::size_t at = 0; at < bytes.size();) {
    if (static_cast<unsigned char>(bytes[at]) < 0x80) {
      ++at;
      continue;
    }
    bool valid = true;
    wide = DecodeUtf8(bytes, at, valid) >= 0x800 || wide;
    if (!valid) return false;
  }
  return wide;
}

}  // namespace

bool IsUnicodeText(std::string_view bytes) { return HasByteOrderMark(bytes) || IsMarklessUtf8(bytes); }

std::string DecodeTextFile(std::string_view bytes) {
  if (StartsWith(bytes, "\xEF\xBB\xBF")) return FromUtf8(bytes.substr(3));
  if (StartsWith(bytes, "\xFF\xFE")) return FromUtf16(bytes.substr(2), false);
  if (StartsWith(bytes, "\xFE\xFF")) return FromUtf16(bytes.substr(2), true);
  if (IsMarklessUtf8(bytes)) return std::string(bytes);
  return FromGbk(bytes, StrayBytes::kReplaced);
}

}  // namespace tovan::rt
