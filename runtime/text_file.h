// The text of a file that another program wrote: GBK as a rule, or Unicode
// where the file says so with a byte-order mark (what spreadsheet programs
// write for "Unicode text").
#pragma once

#include <string>
#include <string_view>

namespace tovan::rt {

// The file's bytes as UTF-8 text: UTF-8, UTF-16 LE or UTF-16 BE after
// their byte-order marks (the mark itself is not text), GBK otherwise.
// Anything invalid becomes U+FFFD; the result is always valid UTF-8.
std::string DecodeTextFile(std::string_view bytes);

// Whether the bytes start with a byte-order mark (the text is Unicode, not GBK).
bool HasByteOrderMark(std::string_view bytes);

}  // namespace tovan::rt
