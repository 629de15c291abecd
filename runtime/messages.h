// Window messages posted to other programs' windows.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tovan::rt {

inline constexpr unsigned kWmChar = 0x102;

class Messages {
 public:
  virtual ~Messages() = default;
  // Posts the message with exactly these values, in the system's ANSI form
  // (a WM_CHAR carries one byte of the ANSI text); the result is not looked
  // at: a window that does not exist receives nothing.
  virtual void Post(std::uintptr_t window, unsigned message, std::uintptr_t wparam, std::intptr_t lparam) = 0;
  // The same in the Unicode form (a WM_CHAR carries one UTF-16 unit).
  virtual void PostUnicode(std::uintptr_t window, unsigned message, std::uintptr_t wparam, std::intptr_t lparam) = 0;
  // Whether the window takes its characters as Unicode.
  virtual bool IsUnicodeWindow(std::uintptr_t window) const = 0;
  // The text in the system's ANSI code page, as a window that is not
  // Unicode reads its characters ("?" for a character the page lacks).
  virtual std::string AnsiBytes(std::string_view utf8) const = 0;
};

}  // namespace tovan::rt
