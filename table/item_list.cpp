#include "table/item_list.h"

#include "runtime/text.h"
#include "table/slot_format.h"

namespace tovan::table {
namespace {

constexpr const char* kMedia[] = {".mp4", ".jpg", ".png", ".bmp", ".gif"};
constexpr const char* kPictures[] = {".bmp", ".png", ".jpg", ".gif"};

bool Contains(std::string_view line, std::string_view extension) {
  return rt::Find(line, extension, 0, true) != rt::kNotFound;
}

}  // namespace

std::vector<std::pair<std::string_view, int>> ContentItems(std::string_view content) {
  std::vector<std::pair<std::string_view, int>> items;
  for (std::string_view line : SplitViews(content, "\r\n")) {
    for (const char* extension : kMedia)
      if (Contains(line, extension)) items.emplace_back(line, 1);
    bool picture = false;
    for (const char* extension : kPictures) picture = picture || Contains(line, extension);
    if (!picture) items.emplace_back(line, 0);
  }
  return items;
}

void ItemList::Bind() {
  p_.ui.Bind(kTable, rt::EventKind::kItemNotify, [this](const rt::Event& e) {
    if (e.code == 0 && p_.ui["图文选择"].Checked()) Build();
  });
}

void ItemList::Build() {
  rt::Unit& list = p_.ui["列表框1"];
  list.ClearItems();
  p_.clock.Wait(30);
  const int row = p_.ui.List(kTable).CurrentRow();
  if (row < 0) return;
  const std::string content(rows_.Cell(static_cast<std::size_t>(row), kContent));
  for (const auto& [line, value] : ContentItems(content)) list.AddItem(line, value);
}

}  // namespace tovan::table
