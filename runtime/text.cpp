#include "runtime/text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace tovan::rt {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

double ToNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n')) ++i;
  const std::size_t start = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return 0.0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < text.size() && IsDigit(text[j])) {
      while (j < text.size() && IsDigit(text[j])) ++j;
      i = j;
    }
  }
  std::string_view number = text.substr(start, i - start);
  if (!number.empty() && number.front() == '+') number.remove_prefix(1);
  double value = 0.0;
  const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    // Too small to represent is zero ("1e-400"); only too large is infinite.
    const std::size_t e = number.find_first_of("eE");
    if (e != std::string_view::npos && e + 1 < number.size() && number[e + 1] == '-') return 0.0;
    return number.front() == '-' ? -std::numeric_limits<double>::infinity()
                                 : std::numeric_limits<double>::infinity();
  }
  return result.ec == std::errc() ? value : 0.0;
}

std::int32_t ToInteger(std::string_view text) {
  const double value = std::trunc(ToNumber(text));
  if (std::isnan(value)) return 0;
  if (value >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
    return std::numeric_limits<std::int32_t>::max();
  if (value <= static_cast<double>(std::numeric_limits<std::int32_t>::min()))
    return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

std::string ToText(std::int64_t value) { return std::to_string(value); }

std::string ToText(double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::size_t Find(std::string_view text, std::string_view needle, std::size_t from, bool ignore_case) {
  if (from > text.size()) return kNotFound;
  if (!ignore_case) return text.find(needle, from);
  if (needle.empty()) return from;
  for (std::size_t i = from; i + needle.size() <= text.size(); ++i) {
    std::size_t k = 0;
    while (k < needle.size() && AsciiUpper(text[i + k]) == AsciiUpper(needle[k])) ++k;
    if (k == needle.size()) return i;
  }
  return kNotFound;
}

std::size_t Count(std::string_view text, std::string_view needle) {
  if (needle.empty()) return 0;
  std::size_t count = 0;
  for (std::size_t at = text.find(needle); at != kNotFound; at = text.find(needle, at + needle.size()))
    ++count;
  return count;
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(text);
  std::string out;
  out.reserve(text.size());
  std::size_t done = 0;
  for (std::size_t at = text.find(from); at != kNotFound; at = text.find(from, done)) {
    out.append(text.substr(done, at - done)).append(to);
    done = at + from.size();
  }
  out.append(text.substr(done));
  return out;
}

std::vector<std::string> Split(std::string_view text, std::string_view separator) {
  std::vector<std::string> pieces;
  if (text.empty()) return pieces;
  if (separator.empty()) {
    pieces.emplace_back(text);
    return pieces;
  }
  std::size_t done = 0;
  for (std::size_t at = text.find(separator); at != kNotFound; at = text.find(separator, done)) {
    pieces.emplace_back(text.substr(done, at - done));
    done = at + separator.size();
  }
  pieces.emplace_back(text.substr(done));
  return pieces;
}

std::string Left(std::string_view text, std::size_t count) {
  if (count >= text.size()) return std::string(text);
  while (count > 0 && IsContinuation(text[count])) --count;
  return std::string(text.substr(0, count));
}

std::string Right(std::string_view text, std::size_t count) {
  if (count >= text.size()) return std::string(text);
  std::size_t start = text.size() - count;
  while (start < text.size() && IsContinuation(text[start])) ++start;
  return std::string(text.substr(start));
}

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiUpper(c);
  return out;
}

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

bool EndsWith(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

}  // namespace tovan::rt
