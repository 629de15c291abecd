#include "runtime/win32/control_peer.h"

#include <commctrl.h>

#include "runtime/win32/wide.h"
#include "runtime/win32/win32_ui.h"

namespace tovan::rt::win32 {
namespace {

COLORREF Ref(Colour c) { return RGB(c.r, c.g, c.b); }

bool IsCombo(UnitKind kind) { return kind == UnitKind::kComboList || kind == UnitKind::kComboEdit; }

// A combo box's window height includes its drop-down list.
constexpr int kComboDropHeight = 300;

}  // namespace

std::pair<const wchar_t*, DWORD> ControlPeer::ClassAndStyle(UnitKind kind) {
  switch (kind) {
    case UnitKind::kPictureButton: return {WC_BUTTONW, BS_OWNERDRAW | WS_TABSTOP};
    case UnitKind::kButton: return {WC_BUTTONW, BS_PUSHBUTTON | WS_TABSTOP};
    case UnitKind::kEdit: return {WC_EDITW, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP};
    case UnitKind::kMultiLineEdit:
      return {WC_EDITW, ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_BORDER | WS_TABSTOP};
    case UnitKind::kComboList: return {WC_COMBOBOXW, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP};
    case UnitKind::kComboEdit: return {WC_COMBOBOXW, CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP};
    case UnitKind::kCheckBox: return {WC_BUTTONW, BS_AUTOCHECKBOX | WS_TABSTOP};
    case UnitKind::kRadio: return {WC_BUTTONW, BS_AUTORADIOBUTTON};
    case UnitKind::kLabel:
    case UnitKind::kHotkeyReceiver: return {WC_STATICW, SS_LEFT | SS_NOTIFY};
    case UnitKind::kPictureBox: return {WC_STATICW, SS_BITMAP};
    case UnitKind::kListBox: return {WC_LISTBOXW, LBS_NOTIFY | WS_VSCROLL | WS_BORDER};
    case UnitKind::kSuperList:
      return {WC_LISTVIEWW, LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_SINGLESEL | LVS_SHAREIMAGELISTS |
                                WS_BORDER | WS_TABSTOP};
    default: return {WC_STATICW, 0};
  }
}

ControlPeer::ControlPeer(Win32Ui& ui, Unit& unit, int id) : ui_(ui), unit_(unit), id_(id) {
  const auto [window_class, style] = ClassAndStyle(unit.Kind());
  const UnitLayout& layout = unit.Layout();
  // Floating editors start hidden; they are shown when moved over the window.
  const bool visible = layout.visible && !layout.floating;
  control_ = CreateWindowExW(0, window_class, Wide(layout.caption).c_str(),
                             WS_CHILD | WS_CLIPSIBLINGS | (visible ? WS_VISIBLE : 0) | style, 0, 0, 0, 0,
                             ui.MainWindow(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  SendMessageW(control_, WM_SETFONT, reinterpret_cast<WPARAM>(ui.FontFor(layout)), FALSE);
  if (unit.Kind() == UnitKind::kEdit || unit.Kind() == UnitKind::kMultiLineEdit)
    SendMessageW(control_, EM_SETLIMITTEXT, 0, 0);  // no 32K cap on pasted texts
  ApplyRect(layout.rect);
}

ControlPeer::~ControlPeer() {
  if (control_ && IsWindow(control_)) DestroyWindow(control_);
}

void ControlPeer::ApplyRect(const Rect& rect) {
  const int extra = IsCombo(unit_.Kind()) ? kComboDropHeight : 0;
  SetWindowPos(control_, nullptr, ui_.Scale(rect.x), ui_.Scale(rect.y), ui_.Scale(rect.width),
               ui_.Scale(rect.height + extra), SWP_NOZORDER | SWP_NOACTIVATE);
}

void ControlPeer::Relayout() {
  SendMessageW(control_, WM_SETFONT, reinterpret_cast<WPARAM>(ui_.FontFor(unit_.Layout())), FALSE);
  ApplyRect(shown_.rect);
}

void ControlPeer::Push(Property property, const UnitState& state) {
  const UnitKind kind = unit_.Kind();
  shown_ = state;
  switch (property) {
    case Property::kText:
      if (kind == UnitKind::kComboList) break;  // shows its selected item
      SetWindowTextW(control_, Wide(state.text).c_str());
      break;
    case Property::kRect:
      ApplyRect(state.rect);
      break;
    case Property::kVisible:
      ShowWindow(control_, state.visible ? SW_SHOWNA : SW_HIDE);
      if (state.visible) SetWindowPos(control_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      break;
    case Property::kBackColour:
    case Property::kTextColour:
      if (kind == UnitKind::kSuperList) {
        ListView_SetBkColor(control_, Ref(state.back_colour));
        ListView_SetTextBkColor(control_, Ref(state.back_colour));
        ListView_SetTextColor(control_, Ref(state.text_colour));
      }
      InvalidateRect(control_, nullptr, TRUE);
      break;
    case Property::kChecked:
      if (kind == UnitKind::kCheckBox || kind == UnitKind::kRadio)
        SendMessageW(control_, BM_SETCHECK, state.checked ? BST_CHECKED : BST_UNCHECKED, 0);
      break;
    case Property::kSelection:
      // An editable combo box with nothing selected keeps its typed text.
      if (IsCombo(kind) && !(kind == UnitKind::kComboEdit && state.selection < 0))
        SendMessageW(control_, CB_SETCURSEL, state.selection, 0);
      if (kind == UnitKind::kListBox) SendMessageW(control_, LB_SETCURSEL, state.selection, 0);
      break;
    case Property::kItems:
      if (IsCombo(kind)) {
        SendMessageW(control_, CB_RESETCONTENT, 0, 0);
        for (const std::string& item : state.items)
          SendMessageW(control_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
        if (state.selection >= 0)
          SendMessageW(control_, CB_SETCURSEL, state.selection, 0);
        else if (kind == UnitKind::kComboEdit)
          SetWindowTextW(control_, Wide(state.text).c_str());
      } else if (kind == UnitKind::kListBox) {
        SendMessageW(control_, LB_RESETCONTENT, 0, 0);
        for (const std::string& item : state.items)
          SendMessageW(control_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
        SendMessageW(control_, LB_SETCURSEL, state.selection, 0);
      }
      break;
    case Property::kTimerPeriod: break;
  }
}

void ControlPeer::Pull(Property property, UnitState& state) {
  const UnitKind kind = unit_.Kind();
  switch (property) {
    case Property::kText:
      if (kind == UnitKind::kEdit || kind == UnitKind::kMultiLineEdit || kind == UnitKind::kComboEdit) {
        const int length = GetWindowTextLengthW(control_);
        std::wstring text(length + 1, L'\0');
        text.resize(GetWindowTextW(control_, text.data(), length + 1));
        state.text = Utf8(text);
      }
      break;
    case Property::kChecked:
      if (kind == UnitKind::kCheckBox || kind == UnitKind::kRadio)
        state.checked = SendMessageW(control_, BM_GETCHECK, 0, 0) == BST_CHECKED;
      break;
    case Property::kSelection:
      if (IsCombo(kind)) state.selection = static_cast<int>(SendMessageW(control_, CB_GETCURSEL, 0, 0));
      if (kind == UnitKind::kListBox) state.selection = static_cast<int>(SendMessageW(control_, LB_GETCURSEL, 0, 0));
      break;
    default: break;
  }
  shown_.text = state.text;
}

void ControlPeer::Focus() { SetFocus(control_); }

void ControlPeer::SetCaretToEnd() {
  const int length = GetWindowTextLengthW(control_);
  SendMessageW(control_, EM_SETSEL, length, length);
  SendMessageW(control_, EM_SCROLLCARET, 0, 0);
}

void ControlPeer::Draw(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  RECT r = item.rcItem;
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  HBRUSH face = ui_.BrushFor(shown_.back_colour);
  FillRect(dc, &r, face);
  DrawEdge(dc, &r, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  if (pressed) OffsetRect(&r, 1, 1);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, Ref(shown_.text_colour));
  HGDIOBJ old = SelectObject(dc, ui_.FontFor(unit_.Layout()));
  const int length = GetWindowTextLengthW(control_);
  std::wstring caption(length + 1, L'\0');
  caption.resize(GetWindowTextW(control_, caption.data(), length + 1));
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &r,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old);
  if (item.itemState & ODS_FOCUS) {
    RECT focus = item.rcItem;
    InflateRect(&focus, -3, -3);
    DrawFocusRect(dc, &focus);
  }
}

HBRUSH ControlPeer::Colours(HDC dc) {
  const UnitKind kind = unit_.Kind();
  if (unit_.Layout().back_colour && (IsCombo(kind) || kind == UnitKind::kListBox)) {
    SetBkColor(dc, Ref(shown_.back_colour));
    return ui_.BrushFor(shown_.back_colour);
  }
  return nullptr;
}

void LabelPeer::Push(Property property, const UnitState& state) {
  if (property == Property::kTimerPeriod || property == Property::kItems || property == Property::kSelection) return;
  // The text may run past the label's own width: repaint a generous band.
  const Rect band{shown_.rect.x, shown_.rect.y, ui_.Window().width, shown_.rect.height};
  ui_.RepaintBackground(band);
  shown_ = state;
  ui_.RepaintBackground(Rect{state.rect.x, state.rect.y, ui_.Window().width, state.rect.height});
}

void LabelPeer::Paint(HDC dc) {
  if (!shown_.visible) return;
  RECT r{ui_.Scale(shown_.rect.x), ui_.Scale(shown_.rect.y), ui_.Scale(shown_.rect.Right()),
         ui_.Scale(shown_.rect.Bottom())};
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, Ref(shown_.text_colour));
  HGDIOBJ old = SelectObject(dc, ui_.FontFor(unit_.Layout()));
  const std::wstring text = Wide(shown_.text);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_LEFT | DT_NOPREFIX | DT_NOCLIP);
  SelectObject(dc, old);
}

TimerPeer::~TimerPeer() { ui_.StopTimer(id_); }

void TimerPeer::Push(Property property, const UnitState& state) {
  if (property != Property::kTimerPeriod) return;
  if (state.timer_period_ms > 0)
    ui_.StartTimer(id_, state.timer_period_ms);
  else
    ui_.StopTimer(id_);
}

}  // namespace tovan::rt::win32
