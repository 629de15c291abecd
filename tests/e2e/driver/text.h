// Conversions between the UTF-8 text tests are written in and the UTF-16
// text Win32 works with.
#pragma once

#include <string>
#include <string_view>

namespace tovan::e2e {

std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

}  // namespace tovan::e2e
