// The system clipboard.
#pragma once

#include <string>
#include <string_view>

namespace tovan::rt {

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // Replaces the clipboard content with the text; the empty text clears it.
  // False when the clipboard stayed out of reach (another program held it).
  virtual bool SetText(std::string_view text) = 0;
  // The current clipboard text, "" when there is none.
  virtual std::string Text() = 0;
};

}  // namespace tovan::rt
