// UTF-8 (inside the program) ↔ UTF-16 (every W function).
#pragma once

#include <string>
#include <string_view>

namespace tovan::rt::win32 {

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

}  // namespace tovan::rt::win32
