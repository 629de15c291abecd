// The text of a file that another program wrote: GBK as a rule, or Unicode
// where the file says so with a byte-order mark (what spreadsheet programs
// write for "Unicode text"), or where it is UTF-8 without one (what Notepad
// saves since Windows 10).
#pragma once

#include <string>
#include <string_view>

namespace tovan::rt {

// The file's bytes as UTF-8 text: UTF-8, UTF-16 LE or UTF-16 BE after
// their byte-order marks (the mark itself is not text); bytes that are
// valid UTF-8 and hold a character from U+0800 on (any Chinese character)
// as they are; GBK otherwise. Anything
// invalid becomes U+FFFD; the result is always valid UTF-8.
std::string DecodeTextFile(std::string_view bytes);

// Whether DecodeTextFile reads the bytes as Unicode, not as GBK.
bool IsUnicodeText(std::string_view bytes);

}  // namespace tovan::rt
