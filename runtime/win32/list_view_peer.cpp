#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "runtime/hotkeys.h"
#include "runtime/win32/control_peer.h"
#include "runtime/win32/wide.h"
#include "runtime/win32/win32_ui.h"

namespace tovan::rt::win32 {
namespace {

COLORREF Ref(Colour c) { return RGB(c.r, c.g, c.b); }
constexpr UINT kChecked = INDEXTOSTATEIMAGEMASK(2);
constexpr UINT kUnchecked = INDEXTOSTATEIMAGEMASK(1);

}  // namespace

ListViewPeer::ListViewPeer(Win32Ui& ui, ListUnit& list, int id) : ControlPeer(ui, list, id), list_(list) {
  HWND view = Control();
  ListView_SetExtendedListViewStyle(view, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES |
                                              LVS_EX_DOUBLEBUFFER | LVS_EX_LABELTIP);
  // Check states come from the model, not from the list view's own memory.
  SendMessageW(view, LVM_SETCALLBACKMASK, LVIS_STATEIMAGEMASK, 0);
  const auto& columns = list.Layout().columns;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    std::wstring header = Wide(columns[i].header);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = header.data();
    column.cx = ui.Scale(columns[i].width);
    column.iSubItem = static_cast<int>(i);
    ListView_InsertColumn(view, static_cast<int>(i), &column);
  }
}

void ListViewPeer::ApplyColumns() {
  const auto& columns = list_.Layout().columns;
  for (std::size_t i = 0; i < columns.size(); ++i)
    ListView_SetColumnWidth(Control(), static_cast<int>(i), ui_.Scale(columns[i].width));
  if (row_height_ > 0) SetRowHeight(row_height_);
}

void ListViewPeer::RowsChanged(std::size_t count) {
  ShowWantedRow();
  ListView_SetItemCountEx(Control(), static_cast<int>(std::min<std::size_t>(count, 100'000'000)),
                          LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
  InvalidateRect(Control(), nullptr, FALSE);
  ReportCurrentRow();
}

void ListViewPeer::RowChanged(std::size_t row) {
  ListView_RedrawItems(Control(), static_cast<int>(row), static_cast<int>(row));
}

int ListViewPeer::CurrentRow() const {
  if (wanted_row_) return *wanted_row_;
  // Asking the list view for "the next selected row" walks every row when
  // none is selected: the row found last is checked first.
  HWND view = Control();
  if (current_row_ >= 0 && current_row_ < ListView_GetItemCount(view) &&
      (ListView_GetItemState(view, current_row_, LVIS_SELECTED) & LVIS_SELECTED))
    return current_row_;
  current_row_ = ListView_GetSelectedCount(view) == 0 ? -1 : ListView_GetNextItem(view, -1, LVNI_SELECTED);
  return current_row_;
}

void ListViewPeer::SetCurrentRow(int row) {
  // The row moves at once and is reported at once; the list view shows it
  // when the window next runs its events. Moving the selection and
  // scrolling costs milliseconds a paste would otherwise wait for.
  wanted_row_ = row >= 0 && row < static_cast<int>(list_.RowCount()) ? row : -1;
  if (!show_pending_) {
    show_pending_ = true;
    ui_.RunLater(0, [this] {
      show_pending_ = false;
      ShowWantedRow();
    });
  }
  ReportCurrentRow();
}

void ListViewPeer::ShowWantedRow() {
  if (!wanted_row_) return;
  const int row = *wanted_row_;
  wanted_row_.reset();
  HWND view = Control();
  // The old row let go and the new one taken is one change: reported once,
  // at the end, never as a moment with no row.
  setting_row_ = true;
  // Only the row that is selected (one at most) and the focused one are
  // cleared: clearing "every row" (-1) makes the list view visit each of a
  // million rows.
  const int selected = CurrentRow();
  if (selected >= 0 && selected != row) ListView_SetItemState(view, selected, 0, LVIS_SELECTED);
  const int focused = ListView_GetNextItem(view, -1, LVNI_FOCUSED);
  if (focused >= 0 && focused != row) ListView_SetItemState(view, focused, 0, LVIS_FOCUSED);
  if (row >= 0 && row < static_cast<int>(list_.RowCount())) {
    ScrollToward(row);
    ListView_SetItemState(view, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetSelectionMark(view, row);
  }
  setting_row_ = false;
  ReportCurrentRow();
}

void ListViewPeer::ScrollToward(int row) {
  // Focusing a row out of view makes the list view scroll just far enough,
  // a row at a time as a paste moves down, and every such scroll repaints
  // the list at once. A row out of view is brought to the middle instead:
  // one scroll per half page.
  HWND view = Control();
  const int top = ListView_GetTopIndex(view);
  const int page = ListView_GetCountPerPage(view);
  if (page <= 0 || (row >= top && row < top + page)) return;
  RECT r{};
  if (!ListView_GetItemRect(view, top, &r, LVIR_BOUNDS) || r.bottom <= r.top) return;
  const int wanted_top = std::max(0, row - page / 2);
  ListView_Scroll(view, 0, (wanted_top - top) * (r.bottom - r.top));
}

void ListViewPeer::ReportCurrentRow() {
  const int row = CurrentRow();
  if (row == reported_row_) return;
  reported_row_ = row;
  ui_.Raise(list_.Name(), Event{.kind = EventKind::kItemNotify, .code = 0, .row = row});
}

void ListViewPeer::EnsureVisible(int row) {
  if (wanted_row_ && *wanted_row_ == row) return;  // showing it brings it into view
  if (row >= 0 && row < static_cast<int>(list_.RowCount())) ListView_EnsureVisible(Control(), row, FALSE);
}

CellHit ListViewPeer::HitTest(Point in_list) const {
  LVHITTESTINFO info{};
  info.pt = POINT{ui_.Scale(in_list.x), ui_.Scale(in_list.y)};
  ListView_SubItemHitTest(Control(), &info);
  if (info.iItem < 0 || (info.flags & LVHT_NOWHERE)) return {};
  return {info.iItem, info.iSubItem};
}

Point ListViewPeer::RowOrigin(int row) const {
  POINT origin{};
  ListView_GetItemPosition(Control(), row, &origin);
  return {ui_.Unscale(origin.x), ui_.Unscale(origin.y)};
}

int ListViewPeer::ColumnWidth(int column) const { return ui_.Unscale(ListView_GetColumnWidth(Control(), column)); }

int ListViewPeer::MeasuredRowHeight() const {
  // Measured on a row, or on a row the list is told to have for a moment.
  const bool empty = ListView_GetItemCount(Control()) == 0;
  if (empty) ListView_SetItemCountEx(Control(), 1, LVSICF_NOINVALIDATEALL);
  RECT r{};
  ListView_GetItemRect(Control(), 0, &r, LVIR_BOUNDS);
  if (empty) ListView_SetItemCountEx(Control(), 0, LVSICF_NOINVALIDATEALL);
  return r.bottom - r.top;
}

void ListViewPeer::SetRowHeight(int pixels) {
  // A list view's rows are as tall as its small image list, plus whatever
  // the list view adds (grid lines): measure once and correct for it. The
  // list shares the image list (LVS_SHAREIMAGELISTS): the peer owns it.
  row_height_ = pixels;
  const int wanted = ui_.Scale(pixels);
  int image_height = wanted;
  for (int attempt = 0; attempt < 2 && image_height > 0; ++attempt) {
    ImageList images(ImageList_Create(1, image_height, ILC_COLOR32, 1, 0));
    ListView_SetImageList(Control(), images.get(), LVSIL_SMALL);
    row_height_images_ = std::move(images);
    const int measured = MeasuredRowHeight();
    if (measured == wanted || measured <= 0) break;
    image_height += wanted - measured;
  }
}

void ListViewPeer::SetRowColours(int row, RowColours colours) {
  colours_[row] = colours;
  RowChanged(row);
}

void ListViewPeer::ClearRowColours() {
  if (colours_.empty()) return;
  colours_.clear();
  InvalidateRect(Control(), nullptr, FALSE);
}

void ListViewPeer::ToggleCheck(int row, int modifiers) {
  ListModel* model = list_.Model();
  if (!model || row < 0 || row >= static_cast<int>(model->RowCount())) return;
  const bool state = !model->Checked(row);
  model->SetChecked(row, state);
  RowChanged(row);
  ui_.Raise(list_.Name(),
            Event{.kind = EventKind::kCheckChanged, .row = row, .state = state ? 1 : 0, .modifiers = modifiers});
}

bool ListViewPeer::TakeInput(UINT message, WPARAM w, LPARAM l) {
  // Check boxes are toggled here, from the model, and the list view's own
  // toggling is kept out: a virtual list view has no check states of its own.
  if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) {
    LVHITTESTINFO info{};
    info.pt = POINT{static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))};
    ListView_HitTest(Control(), &info);
    // A full-row hit reports the icon, label and check box bits together: only
    // the check box bit alone is a click on the check box.
    if (info.iItem < 0 || (info.flags & LVHT_ONITEM) != LVHT_ONITEMSTATEICON) return false;
    SetFocus(Control());
    // The click's own modifier state: what was held at the moment of the click.
    const int modifiers = ((w & MK_CONTROL) ? kCtrl : 0) | ((w & MK_SHIFT) ? kShift : 0) |
                          (GetKeyState(VK_MENU) < 0 ? kAlt : 0);
    ToggleCheck(info.iItem, modifiers);
    return true;
  }
  if (message == WM_KEYDOWN && w == VK_SPACE) {
    ToggleCheck(CurrentRow(), (GetKeyState(VK_CONTROL) < 0 ? kCtrl : 0) | (GetKeyState(VK_SHIFT) < 0 ? kShift : 0));
    return true;
  }
  if (message == WM_CHAR && w == L' ') return true;
  // Another program (a test driver, an accessibility tool) sets a row's
  // check state through the list view: it goes to the model.
  if (message == LVM_SETITEMSTATE && l) {
    const LVITEMW& item = *reinterpret_cast<const LVITEMW*>(l);
    const int row = static_cast<int>(w);
    ListModel* model = list_.Model();
    if (model && row >= 0 && static_cast<std::size_t>(row) < model->RowCount() &&
        (item.stateMask & LVIS_STATEIMAGEMASK) &&
        model->Checked(row) != ((item.state & LVIS_STATEIMAGEMASK) == kChecked))
      ToggleCheck(row, 0);
  }
  return false;
}

LRESULT ListViewPeer::Notify(NMHDR& header) {
  ListModel* model = list_.Model();
  switch (header.code) {
    case LVN_GETDISPINFOW: {
      LVITEMW& item = reinterpret_cast<NMLVDISPINFOW&>(header).item;
      if (!model || item.iItem < 0 || static_cast<std::size_t>(item.iItem) >= model->RowCount()) return 0;
      if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        text_ = Wide(model->Cell(item.iItem, item.iSubItem));
        const std::size_t n = std::min<std::size_t>(text_.size(), item.cchTextMax - 1);
        std::copy_n(text_.data(), n, item.pszText);
        item.pszText[n] = L'\0';
      }
      if (item.mask & LVIF_STATE) {
        item.state = (item.state & ~LVIS_STATEIMAGEMASK) | (model->Checked(item.iItem) ? kChecked : kUnchecked);
        item.stateMask |= LVIS_STATEIMAGEMASK;
      }
      return 0;
    }
    case LVN_ITEMCHANGED: {
      const NMLISTVIEW& change = reinterpret_cast<NMLISTVIEW&>(header);
      if (!setting_row_ && ((change.uNewState ^ change.uOldState) & LVIS_SELECTED)) {
        wanted_row_.reset();  // the user's choice is the newer one
        ReportCurrentRow();
      }
      return 0;
    }
    case LVN_COLUMNCLICK:
      ui_.Raise(list_.Name(),
                Event{.kind = EventKind::kHeaderClicked, .code = reinterpret_cast<NMLISTVIEW&>(header).iSubItem});
      return 0;
    case NM_CUSTOMDRAW: {
      NMLVCUSTOMDRAW& draw = reinterpret_cast<NMLVCUSTOMDRAW&>(header);
      if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return colours_.empty() ? CDRF_DODEFAULT : CDRF_NOTIFYITEMDRAW;
      if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
        const auto it = colours_.find(static_cast<int>(draw.nmcd.dwItemSpec));
        if (it == colours_.end()) return CDRF_DODEFAULT;
        draw.clrText = Ref(it->second.text);
        draw.clrTextBk = Ref(it->second.back);
        return CDRF_NEWFONT;
      }
      return CDRF_DODEFAULT;
    }
    default: return 0;
  }
}

}  // namespace tovan::rt::win32
