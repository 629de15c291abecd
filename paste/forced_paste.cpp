#include "paste/forced_paste.h"

#include <cmath>

#include "paste/send_keys.h"
#include "runtime/gbk.h"
#include "runtime/text.h"

namespace tovan::paste {

void Typist::TypeBySendKeys(std::string_view text) { keys_.Press(ParseSendKeys(text)); }

void PostTextToWindow(rt::Messages& messages, std::uintptr_t window, std::string_view text) {
  for (const char byte : rt::ToGbk(text).bytes)
    messages.Post(window, rt::kWmChar, static_cast<unsigned char>(byte), 0);
}

std::uintptr_t TargetWindow(const rt::Ui& ui) {
  const double handle = std::trunc(rt::ToNumber(ui["句柄1"].Text()));
  return (handle > 0 && handle < 1.8e19) ? static_cast<std::uintptr_t>(handle) : 0;
}

}  // namespace tovan::paste
