// The recorder's five recording files 数据1.txt … 数据5.txt: the event
// list saved, read back and opened for editing, through the slot boxes
// 选择框94 … 选择框98, one of which is ticked at a time.
#pragma once

#include <string>
#include <string_view>

#include "runtime/platform.h"
#include "table/event_list.h"

namespace tovan::table {

// A recording file's text: every cell followed by "←→", every row by "\r\n".
std::string RecordingText(const EventList& events);
// The rows of a recording file's text: a row per line, its cells split at
// "←→" filling the columns from the first; the text after the last "←→"
// and the empty end after the last line give nothing.
std::vector<EventList::Row> RecordingRows(std::string_view text);

class RecordingFiles {
 public:
  RecordingFiles(rt::Platform platform, EventList& events) : p_(platform), events_(events) {}

  // Binds 按钮59 ("保存"), 按钮58 ("读入"), 按钮18 ("编辑记录") and the slot boxes.
  void Bind();
  // Writes the list into the ticked slot's file; a save that fails (after
  // trying a held file again) says so next to 按钮59.
  void Save();
  void Load();
  void OpenForEditing();

 private:
  std::string PathOf(int slot) const;

  rt::Platform p_;
  EventList& events_;
  bool saving_ = false;
  bool save_again_ = false;
};

}  // namespace tovan::table
