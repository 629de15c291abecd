#include "driver/remote_list.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "driver/input.h"
#include "driver/remote_memory.h"
#include "driver/text.h"
#include "driver/window.h"

namespace tovan::e2e {

namespace {

// Room for the longest cell or header text read back.
constexpr size_t kTextUnits = 4096;

// Layout of a remote block holding a structure and, after it, a text
// buffer its pszText points to.
template <class Struct>
constexpr size_t TextOffset() {
  return (sizeof(Struct) + 15) & ~size_t{15};
}

// Sends a message whose structure (LVITEMW, LVCOLUMNW) receives text into a
// buffer next to it in the list's process. Returns the message's result and
// the text; the list may point pszText at its owner's string instead of
// copying into the buffer, so the text is read from wherever it points.
template <class Struct>
std::optional<std::pair<LRESULT, std::string>> SendForText(HWND list, UINT message,
                                                           WPARAM wparam, Struct request) {
  RemoteBlock block(list, TextOffset<Struct>() + kTextUnits * sizeof(wchar_t));
  if (!block.Valid()) return std::nullopt;
  request.pszText = static_cast<wchar_t*>(block.At(TextOffset<Struct>()));
  request.cchTextMax = static_cast<int>(kTextUnits);
  const wchar_t empty = L'\0';
  if (!block.Write(0, &request, sizeof request) ||
      !block.Write(TextOffset<Struct>(), &empty, sizeof empty)) {
    return std::nullopt;
  }
  const auto result =
      SendWithTimeout(list, message, wparam, reinterpret_cast<LPARAM>(block.At(0)));
  Struct answer{};
  if (!result || !block.Read(0, &answer, sizeof answer)) return std::nullopt;
  auto text = block.ReadText(answer.pszText, kTextUnits);
  if (!text) return std::nullopt;
  return std::make_pair(*result, std::move(*text));
}

// Item (or -1) and LVHT_* flags at a point of the list's client area.
std::pair<int, UINT> HitTest(HWND list, POINT client) {
  LVHITTESTINFO info{};
  info.pt = client;
  const auto item = SendWithRemoteStruct(list, LVM_HITTEST, 0, info);
  return item ? std::make_pair(static_cast<int>(*item), info.flags) : std::make_pair(-1, 0u);
}

}  // namespace

int ListItemCount(HWND list) {
  const auto count = SendWithTimeout(list, LVM_GETITEMCOUNT, 0, 0);
  return count ? static_cast<int>(*count) : -1;
}

int ListColumnCount(HWND list) {
  const auto header = SendWithTimeout(list, LVM_GETHEADER, 0, 0);
  if (!header || *header == 0) return -1;
  const auto count = SendWithTimeout(reinterpret_cast<HWND>(*header), HDM_GETITEMCOUNT, 0, 0);
  return count ? static_cast<int>(*count) : -1;
}

std::vector<ListColumn> ListColumns(HWND list) {
  std::vector<ListColumn> columns;
  const int count = ListColumnCount(list);
  for (int i = 0; i < count; ++i) {
    LVCOLUMNW request{};
    request.mask = LVCF_TEXT;
    auto text = SendForText(list, LVM_GETCOLUMNW, static_cast<WPARAM>(i), request);
    const auto width = SendWithTimeout(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(i), 0);
    if (!text || !text->first || !width) break;
    columns.push_back({std::move(text->second), static_cast<int>(*width)});
  }
  return columns;
}

std::optional<std::string> ListCellText(HWND list, int row, int column) {
  LVITEMW request{};
  request.mask = LVIF_TEXT;
  request.iItem = row;
  request.iSubItem = column;
  auto text = SendForText(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), request);
  if (!text) return std::nullopt;
  return std::move(text->second);
}

std::optional<bool> ListChecked(HWND list, int row) {
  const auto state = SendWithTimeout(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row),
                                     LVIS_STATEIMAGEMASK);
  if (!state) return std::nullopt;
  switch ((*state & LVIS_STATEIMAGEMASK) >> 12) {
    case 1: return false;
    case 2: return true;
    default: return std::nullopt;
  }
}

bool SetListChecked(HWND list, int row, bool checked) {
  LVITEMW request{};
  request.stateMask = LVIS_STATEIMAGEMASK;
  request.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
  const auto ok = SendWithRemoteStruct(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), request);
  return ok && *ok;
}

std::optional<POINT> ListCheckBoxPoint(HWND list, int row) {
  if (!SendWithTimeout(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE)) {
    return std::nullopt;
  }
  RECT bounds{};
  bounds.left = LVIR_BOUNDS;
  const auto ok = SendWithRemoteStruct(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), bounds);
  if (!ok || !*ok) return std::nullopt;
  // The check box is the first thing on the row: find where the hit test
  // says "state icon" and aim at the middle of that stretch.
  const LONG y = (bounds.top + bounds.bottom) / 2;
  LONG first = -1;
  LONG last = -1;
  for (LONG x = std::max(bounds.left, 0L); x < bounds.right && x < bounds.left + 64; ++x) {
    const auto [item, flags] = HitTest(list, {x, y});
    const bool on_box = item == row && (flags & LVHT_ONITEM) == LVHT_ONITEMSTATEICON;
    if (on_box && first < 0) first = x;
    if (on_box) last = x;
    if (!on_box && first >= 0) break;
  }
  if (first < 0) return std::nullopt;
  POINT point{(first + last) / 2, y};
  ClientToScreen(list, &point);
  return point;
}

bool ClickListCheckBox(HWND list, int row) {
  const auto point = ListCheckBoxPoint(list, row);
  return point && ClickAt(*point);
}


std::optional<POINT> ListCellPoint(HWND list, int row, int column) {
  if (!SendWithTimeout(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE)) return std::nullopt;
  RECT cell{};
  cell.top = column;
  cell.left = LVIR_LABEL;
  const auto ok = SendWithRemoteStruct(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), cell);
  if (!ok || !*ok) return std::nullopt;
  POINT point{cell.left + 6, (cell.top + cell.bottom) / 2};
  ClientToScreen(list, &point);
  return point;
}

std::optional<POINT> ListHeaderPoint(HWND list, int column) {
  const auto header = SendWithTimeout(list, LVM_GETHEADER, 0, 0);
  if (!header || !*header) return std::nullopt;
  HWND header_window = reinterpret_cast<HWND>(*header);
  RECT item{};
  const auto ok = SendWithRemoteStruct(header_window, HDM_GETITEMRECT, static_cast<WPARAM>(column), item);
  if (!ok || !*ok) return std::nullopt;
  POINT point{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
  ClientToScreen(header_window, &point);
  return point;
}

}  // namespace tovan::e2e
