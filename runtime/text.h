// Text helpers of the runtime. Texts are UTF-8 inside the program; every
// position is a byte offset, and a UTF-8 search never matches inside a
// character, so substring work is byte-wise exactly as on GBK texts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tovan::rt {

inline constexpr std::size_t kNotFound = std::string_view::npos;

// Reads the number at the start of a text (after blanks): sign, digits,
// fraction, exponent. Text that does not start with a number gives 0.
double ToNumber(std::string_view text);

// ToNumber truncated toward zero and clamped to the 32-bit range.
std::int32_t ToInteger(std::string_view text);

// Decimal text of a whole number.
std::string ToText(std::int64_t value);
inline std::string ToText(int value) { return ToText(static_cast<std::int64_t>(value)); }

// Shortest decimal text that reads back as the same double ("1.5", "100").
std::string ToText(double value);

// Byte offset of the first `needle` at or after `from`, or kNotFound.
// With ignore_case, ASCII letters compare without regard to case.
std::size_t Find(std::string_view text, std::string_view needle, std::size_t from = 0,
                 bool ignore_case = false);

// Number of non-overlapping occurrences of `needle` (0 for an empty needle).
std::size_t Count(std::string_view text, std::string_view needle);

// Replaces every non-overlapping occurrence, left to right, in one pass.
// An empty search text leaves the text unchanged.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

// Splits at every occurrence of the separator. Empty pieces are kept, so
// "a,,b" gives three pieces and "a," gives "a" and "". The empty text gives
// no piece; an empty separator gives the whole text as one piece.
std::vector<std::string> Split(std::string_view text, std::string_view separator);

// The first / last `count` bytes, never splitting a UTF-8 character: a
// character that the cut would split is left out.
std::string Left(std::string_view text, std::size_t count);
std::string Right(std::string_view text, std::size_t count);

// ASCII letters to upper case; other characters unchanged.
std::string Upper(std::string_view text);

bool StartsWith(std::string_view text, std::string_view prefix);
bool EndsWith(std::string_view text, std::string_view suffix);

}  // namespace tovan::rt
