// The picture-and-text item list 列表框1: the current row's content line
// by line, each line marked as naming a picture or video file (1) or as
// text (0). The picture-and-text paste modes read it.
#pragma once

#include <string_view>
#include <utility>
#include <vector>

#include "runtime/platform.h"
#include "table/row_store.h"

namespace tovan::table {

// The items of a content: for each line, one item of value 1 for each of
// ".mp4", ".jpg", ".png", ".bmp", ".gif" (in that order) that the line
// contains, whatever the case; then, unless it contains one of the four
// picture extensions, one item of value 0.
std::vector<std::pair<std::string_view, int>> ContentItems(std::string_view content);

class ItemList {
 public:
  ItemList(rt::Platform platform, RowStore& rows) : p_(platform), rows_(rows) {}
  // Rebuilds the list on every change of the current row while 图文选择 is checked.
  void Bind();
  void Build();

 private:
  rt::Platform p_;
  RowStore& rows_;
};

}  // namespace tovan::table
