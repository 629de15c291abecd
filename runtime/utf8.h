// UTF-8 decoding and encoding one character at a time, for the codecs.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tovan::rt {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// Decodes the character at `at` and moves `at` past it. An invalid or cut
// sequence gives kReplacementCharacter and moves past its valid beginning
// (at least one byte), so a stray byte never swallows the text after it.
char32_t DecodeUtf8(std::string_view text, std::size_t& at, bool& valid);

// Appends the UTF-8 form of a character (surrogates and values past
// U+10FFFF become U+FFFD).
void AppendUtf8(std::string& out, char32_t c);

}  // namespace tovan::rt
