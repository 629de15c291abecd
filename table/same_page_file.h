// The same-page save: the text of the same-page editor 编辑框25 kept as a
// file in the folder 同页粘贴, named after the text's first line.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "runtime/platform.h"

namespace tovan::table {

// The file name a first line gives ("<line>.txt"), or nothing where the
// line cannot name a file inside its folder: empty, "." or "..", a path
// separator or another character Windows forbids, a control character, a
// device name (CON, PRN, AUX, NUL, COM1-9, LPT1-9), or a name too long for
// the file system.
std::optional<std::string> SamePageFileName(std::string_view first_line);

class SamePageFile {
 public:
  explicit SamePageFile(rt::Platform platform) : p_(platform) {}
  // Saves the editor's text and opens the folder (按钮104 while it reads
  // "同页保存"); a save that fails (after trying a held file again) says so.
  void Save();

 private:
  void SaveOnce();
  rt::Platform p_;
  bool saving_ = false;
  bool save_again_ = false;
};

}  // namespace tovan::table
