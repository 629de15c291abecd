// The clipboard as a user's programs see it: text put there before a paste,
// and read back after a copy.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tovan::e2e {

// Replaces the clipboard's content with text (CF_UNICODETEXT). Other
// programs hold the clipboard briefly: opening is retried for about a second.
bool SetClipboardText(std::string_view utf8);
// The clipboard's CF_UNICODETEXT, or nullopt if it holds none or could not be
// opened.
std::optional<std::string> ClipboardText();
// The clipboard's text once its sequence number has moved on from
// `sequence` (GetClipboardSequenceNumber before the copy), or nullopt after
// `timeout_ms`. Waits without opening the clipboard: a program told to copy
// while a test holds it open fails to copy, and polling by reading made a
// drag copy go lost now and then.
std::optional<std::string> ClipboardTextAfter(unsigned long sequence, int timeout_ms = 5000);

}  // namespace tovan::e2e
