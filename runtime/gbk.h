// The GBK codec (code page 936) used at every outside boundary that stores
// or sends bytes: the data files, the settings file, posted characters.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tovan::rt {

struct GbkResult {
  std::string bytes;
  bool lossless = true;  // false when a character had no GBK form and became "?"
};

// UTF-8 → GBK bytes. Invalid UTF-8 sequences and characters that GBK cannot
// hold become "?", and the result says so, so a caller can warn before
// saving. A kept stray byte (U+F780–U+F7FF) becomes that byte again.
GbkResult ToGbk(std::string_view utf8);

// What FromGbk makes of a byte that starts no character (a cut or broken
// pair, 0xFF), or of a pair that is a second code of a character GBK
// already has (its first byte then counts as stray).
enum class StrayBytes {
  // U+F780–U+F7FF, one per byte (U+F700 + the byte), a private-use range
  // code page 936 maps nothing to: ToGbk writes it back as that byte, so
  // the program's own files come back as they were.
  kKept,
  // U+FFFD, for text from another program's file.
  kReplaced,
};

// GBK bytes → UTF-8.
std::string FromGbk(std::string_view gbk, StrayBytes stray = StrayBytes::kKept);

// The first character of the range kept stray bytes take.
inline constexpr char32_t kStrayByteBase = 0xF700;

// How many bytes the character at `at` takes as FromGbk reads it: two for a
// pair that is a character, else one (a byte that starts no character is
// lost alone, and the next byte may start one of its own).
std::size_t GbkCharLength(std::string_view gbk, std::size_t at);

// How often a two-byte GBK character occurs in GBK bytes that start with a
// character, as FromGbk reads them (a pair of its bytes across two
// characters does not count).
std::size_t CountGbkCharacter(std::string_view gbk, std::uint16_t code);

}  // namespace tovan::rt
