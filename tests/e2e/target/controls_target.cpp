// "Tovan Controls Target": a combo box, a button, a virtual list view whose
// owner keeps the check boxes (id 203) and an ordinary list view with check
// boxes (id 205), for tests of the driver's control functions. It shows the
// last notification it received in its status line (id 204):
//   "selchange <index>"            the combo box's selection changed
//   "clicked <count>"              the button was clicked (count since start)
//   "checked <list id> <row> <0|1>" a row's check box changed
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <cwchar>

namespace {

constexpr wchar_t kClassName[] = L"TovanControlsTarget";
constexpr int kComboId = 201;
constexpr int kButtonId = 202;
constexpr int kListId = 203;
constexpr int kStatusId = 204;
constexpr int kPlainListId = 205;

struct Row {
  const wchar_t* name;
  const wchar_t* phone;
  bool checked;
};

// Everything the program keeps between messages.
struct ControlsState {
  std::array<Row, 5> rows{{{L"张三", L"13800000000", false},
                           {L"李四", L"13800000001", true},
                           {L"王五", L"13800000002", false},
                           {L"赵六", L"13800000003", true},
                           {L"钱七", L"13800000004", false}}};
  int clicks = 0;
  HFONT font = nullptr;
  HWND status = nullptr;
  HWND list = nullptr;
  HWND plain_list = nullptr;
};
ControlsState state;

HWND AddControl(HWND parent, DWORD ex_style, const wchar_t* window_class, const wchar_t* text,
                DWORD style, int id, int x, int y, int width, int height) {
  HWND control = CreateWindowExW(ex_style, window_class, text, WS_CHILD | WS_VISIBLE | style, x, y,
                                 width, height, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleW(nullptr), nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(state.font), FALSE);
  return control;
}

void Report(const wchar_t* format, int a, int b = 0, int c = 0) {
  wchar_t text[64];
  std::swprintf(text, 64, format, a, b, c);
  SetWindowTextW(state.status, text);
}

void AddColumn(HWND list, int index, const wchar_t* title, int width) {
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  column.pszText = const_cast<wchar_t*>(title);
  column.cx = width;
  column.iSubItem = index;
  SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(&column));
}

void CreateControls(HWND window) {
  HWND combo = AddControl(window, 0, WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_TABSTOP, kComboId,
                          12, 12, 150, 200);
  for (const wchar_t* item : {L"甲", L"乙", L"丙"}) {
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  }
  SendMessageW(combo, CB_SETCURSEL, 0, 0);
  AddControl(window, 0, WC_BUTTONW, L"确定", BS_PUSHBUTTON | WS_TABSTOP, kButtonId, 180, 12, 80,
             26);
  state.list = AddControl(window, WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                          LVS_REPORT | LVS_OWNERDATA | WS_TABSTOP, kListId, 12, 50, 380, 130);
  SendMessageW(state.list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
               LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  // The check boxes are kept here, not by the list: it asks for them.
  SendMessageW(state.list, LVM_SETCALLBACKMASK, LVIS_STATEIMAGEMASK, 0);
  AddColumn(state.list, 0, L"姓名", 120);
  AddColumn(state.list, 1, L"电话", 140);
  SendMessageW(state.list, LVM_SETITEMCOUNT, state.rows.size(), 0);

  state.plain_list = AddControl(window, WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                                LVS_REPORT | WS_TABSTOP, kPlainListId, 12, 186, 380, 60);
  SendMessageW(state.plain_list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES,
               LVS_EX_CHECKBOXES);
  AddColumn(state.plain_list, 0, L"项目", 120);
  for (int i = 0; i < 3; ++i) {
    wchar_t text[] = L"项目1";
    text[2] = static_cast<wchar_t>(L'1' + i);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = i;
    item.pszText = text;
    SendMessageW(state.plain_list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
  state.status = AddControl(window, 0, WC_STATICW, L"", SS_LEFT, kStatusId, 12, 250, 380, 20);
}

void AnswerDisplayInfo(NMLVDISPINFOW& info) {
  LVITEMW& item = info.item;
  if (item.iItem < 0 || item.iItem >= static_cast<int>(state.rows.size())) return;
  const Row& row = state.rows[static_cast<size_t>(item.iItem)];
  if ((item.mask & LVIF_TEXT) && item.pszText != nullptr && item.cchTextMax > 0) {
    lstrcpynW(item.pszText, item.iSubItem == 0 ? row.name : row.phone, item.cchTextMax);
  }
  if (item.mask & LVIF_STATE) {
    item.state = (item.state & ~LVIS_STATEIMAGEMASK) | INDEXTOSTATEIMAGEMASK(row.checked ? 2 : 1);
    item.stateMask |= LVIS_STATEIMAGEMASK;
  }
}

// The virtual list keeps no check states: a click on a check box is the
// owner's to handle.
void TakeClick(const NMITEMACTIVATE& click) {
  LVHITTESTINFO hit{};
  hit.pt = click.ptAction;
  const int row = static_cast<int>(
      SendMessageW(state.list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  if (row < 0 || row >= static_cast<int>(state.rows.size()) ||
      !(hit.flags & LVHT_ONITEMSTATEICON)) {
    return;
  }
  bool& checked = state.rows[static_cast<size_t>(row)].checked;
  checked = !checked;
  SendMessageW(state.list, LVM_REDRAWITEMS, static_cast<WPARAM>(row), row);
  Report(L"checked %d %d %d", kListId, row, checked ? 1 : 0);
}

void TakePlainItemChange(const NMLISTVIEW& change) {
  if (!(change.uChanged & LVIF_STATE) ||
      !((change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK)) {
    return;
  }
  const bool checked = ((change.uNewState & LVIS_STATEIMAGEMASK) >> 12) == 2;
  Report(L"checked %d %d %d", kPlainListId, change.iItem, checked ? 1 : 0);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      CreateControls(window);
      SetWindowTextW(state.status, L"");
      return 0;
    case WM_COMMAND:
      if (LOWORD(wparam) == kComboId && HIWORD(wparam) == CBN_SELCHANGE) {
        Report(L"selchange %d", static_cast<int>(SendMessageW(reinterpret_cast<HWND>(lparam),
                                                               CB_GETCURSEL, 0, 0)));
      } else if (LOWORD(wparam) == kButtonId && HIWORD(wparam) == BN_CLICKED) {
        Report(L"clicked %d", ++state.clicks);
      }
      return 0;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lparam);
      if (header->idFrom == kListId && header->code == LVN_GETDISPINFOW) {
        AnswerDisplayInfo(*reinterpret_cast<NMLVDISPINFOW*>(lparam));
      } else if (header->idFrom == kListId && header->code == NM_CLICK) {
        TakeClick(*reinterpret_cast<NMITEMACTIVATE*>(lparam));
      } else if (header->idFrom == kPlainListId && header->code == LVN_ITEMCHANGED) {
        TakePlainItemChange(*reinterpret_cast<NMLISTVIEW*>(lparam));
      }
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  state.font = CreateFontW(-14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_DONTCARE, L"宋体");

  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = kClassName;
  RegisterClassExW(&window_class);

  HWND window = CreateWindowExW(0, kClassName, L"Tovan Controls Target",
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 540, 100, 420, 340,
                                nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  ShowWindow(window, show);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (!IsDialogMessageW(window, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  DeleteObject(state.font);
  return static_cast<int>(msg.wParam);
}
