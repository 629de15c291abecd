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
// hold become "?", and the result says so, so a caller can warn before saving.
GbkResult ToGbk(std::string_view utf8);

// GBK bytes → UTF-8. Bytes that are not valid GBK become U+FFFD.
std::string FromGbk(std::string_view gbk);

// How many bytes the character at `at` takes as FromGbk reads it: two for a
// pair that is a character, else one (a byte that starts no character is
// lost alone, and the next byte may start one of its own).
std::size_t GbkCharLength(std::string_view gbk, std::size_t at);

// How often a two-byte GBK character occurs in GBK bytes that start with a
// character, as FromGbk reads them (a pair of its bytes across two
// characters does not count).
std::size_t CountGbkCharacter(std::string_view gbk, std::uint16_t code);

}  // namespace tovan::rt
