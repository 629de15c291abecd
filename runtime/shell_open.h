// Opening things with the system shell.
#pragma once

#include <string_view>

namespace tovan::rt {

class ShellOpen {
 public:
  virtual ~ShellOpen() = default;
  // Opens a folder, a file with its associated program, or a web address.
  virtual void Open(std::string_view target) = 0;
};

}  // namespace tovan::rt
