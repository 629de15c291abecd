#include "paste/forced_paste.h"

#include <cmath>

#include "paste/send_keys.h"
#include "runtime/utf8.h"
#include "runtime/text.h"

namespace tovan::paste {

void Typist::TypeBySendKeys(std::string_view text) { keys_.Press(ParseSendKeys(text)); }

void PostTextToWindow(rt::Messages& messages, std::uintptr_t window, std::string_view text) {
  if (!messages.IsUnicodeWindow(window)) {
    // The bytes of the system's code page: GBK on a Chinese system.
    for (const char byte : messages.AnsiBytes(text))
      messages.Post(window, rt::kWmChar, static_cast<unsigned char>(byte), 0);
    return;
  }
  // A Unicode window gets every character whatever the system's language.
  for (std::size_t at = 0; at < text.size();) {
    bool valid = true;
    const char32_t c = rt::DecodeUtf8(text, at, valid);
    if (c > 0xFFFF) {
      messages.PostUnicode(window, rt::kWmChar, 0xD800 + ((c - 0x10000) >> 10), 0);
      messages.PostUnicode(window, rt::kWmChar, 0xDC00 + ((c - 0x10000) & 0x3FF), 0);
    } else {
      messages.PostUnicode(window, rt::kWmChar, c, 0);
    }
  }
}

std::uintptr_t TargetWindow(const rt::Ui& ui) {
  const double handle = std::trunc(rt::ToNumber(ui["句柄1"].Text()));
  return (handle > 0 && handle < 1.8e19) ? static_cast<std::uintptr_t>(handle) : 0;
}

}  // namespace tovan::paste
