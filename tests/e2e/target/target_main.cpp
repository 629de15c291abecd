// "Tovan Target": a small window of input fields that plays any program a
// user fills in. End-to-end tests type into it and read back what arrived:
// the fields' texts (WM_GETTEXT), and with --log PATH one line per character
// message a field received, "char <field id> 0x<UTF-16 unit in hex>",
// written before the field handles it. Switches make it a program that
// takes its time:
//   --busy MS[@N]     busy MS milliseconds (answering nothing) after each
//                     Tab or Enter it handles, or only after the Nth
//   --memo-takes-tab  Tab in the multi-line field is a character
//   --rich            the multi-line field is a rich edit field
//   --ask-after N     after the Nth Tab or Enter, asks a question in a
//                     modal message box of its own ("保存更改吗？")
//   --discard-pastes N  every Nth paste into a plain field reads the
//                     clipboard and keeps nothing (a field refusing what it
//                     was given)
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>

namespace {

constexpr wchar_t kClassName[] = L"TovanTarget";
constexpr int kFirstFieldId = 101;
constexpr int kSingleLineFields = 4;
constexpr int kMemoId = 105;

// Everything the program keeps between messages.
struct TargetState {
  HANDLE log = INVALID_HANDLE_VALUE;
  int busy_ms = 0;
  int busy_nth = 0;  // 0: after every key
  int keys = 0;      // Tabs and Enters handled
  int ask_after = 0;  // 0: never
  bool memo_takes_tab = false;
  bool rich = false;
  int discard_every = 0;  // 0: never
  int pastes = 0;
  HWND memo = nullptr;
  HFONT font = nullptr;
  HWND first_field = nullptr;
  HWND last_focus = nullptr;
};
TargetState state;

void LogChar(HWND field, WPARAM unit) {
  if (state.log == INVALID_HANDLE_VALUE) return;
  char line[48];
  const int length = std::snprintf(line, sizeof line, "char %d 0x%04x\n", GetDlgCtrlID(field),
                                   static_cast<unsigned>(unit));
  DWORD written = 0;
  WriteFile(state.log, line, static_cast<DWORD>(length), &written, nullptr);
}

LRESULT CALLBACK FieldProc(HWND field, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_CHAR) LogChar(field, wparam);
  if (message == WM_PASTE && state.discard_every > 0 && ++state.pastes % state.discard_every == 0) {
    if (OpenClipboard(field)) {
      GetClipboardData(CF_UNICODETEXT);
      CloseClipboard();
    }
    return 0;
  }
  const auto original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(field, GWLP_USERDATA));
  return CallWindowProcW(original, field, message, wparam, lparam);
}

HWND AddControl(HWND parent, const wchar_t* window_class, const wchar_t* text, DWORD style,
                int id, int x, int y, int width, int height) {
  HWND control = CreateWindowExW(
      lstrcmpiW(window_class, L"EDIT") == 0 ? WS_EX_CLIENTEDGE : 0, window_class, text,
      WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(state.font), FALSE);
  return control;
}

HWND AddField(HWND parent, const wchar_t* label, int id, DWORD style, int y, int height) {
  AddControl(parent, L"STATIC", label, SS_LEFT, -1, 12, y + 4, 60, 20);
  HWND field = AddControl(parent, L"EDIT", L"", WS_TABSTOP | style, id, 80, y, 310, height);
  SetWindowLongPtrW(field, GWLP_USERDATA, GetWindowLongPtrW(field, GWLP_WNDPROC));
  SetWindowLongPtrW(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FieldProc));
  return field;
}

void CreateFields(HWND window) {
  wchar_t label[] = L"字段1";
  for (int i = 0; i < kSingleLineFields; ++i) {
    label[2] = static_cast<wchar_t>(L'1' + i);
    HWND field = AddField(window, label, kFirstFieldId + i, ES_AUTOHSCROLL, 12 + 32 * i, 24);
    if (i == 0) state.first_field = field;
  }
  if (state.rich) {
    LoadLibraryW(L"riched20.dll");
    AddControl(window, L"STATIC", L"备注", SS_LEFT, -1, 12, 12 + 32 * kSingleLineFields + 4, 60, 20);
    state.memo = AddControl(window, L"RichEdit20W", L"", WS_TABSTOP | WS_BORDER | ES_MULTILINE | ES_WANTRETURN |
                            ES_AUTOVSCROLL | WS_VSCROLL, kMemoId, 80, 12 + 32 * kSingleLineFields, 310, 110);
    return;
  }
  state.memo = AddField(window, L"备注", kMemoId,
           ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL, 12 + 32 * kSingleLineFields,
           110);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      CreateFields(window);
      return 0;
    case WM_ACTIVATE:
      // Like a dialog: the field that had the focus gets it back.
      if (LOWORD(wparam) == WA_INACTIVE) {
        state.last_focus = GetFocus();
      } else {
        SetFocus(state.last_focus != nullptr ? state.last_focus : state.first_field);
      }
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

void ReadSwitches(const wchar_t* command_line) {
  int count = 0;
  wchar_t** args = CommandLineToArgvW(command_line, &count);
  if (args == nullptr) return;
  for (int i = 1; i < count; ++i) {
    if (lstrcmpW(args[i], L"--log") == 0 && i + 1 < count) {
      state.log = CreateFileW(args[i + 1], FILE_APPEND_DATA,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    } else if (lstrcmpW(args[i], L"--busy") == 0 && i + 1 < count) {
      state.busy_ms = _wtoi(args[i + 1]);
      if (const wchar_t* at = wcschr(args[i + 1], L'@')) state.busy_nth = _wtoi(at + 1);
    } else if (lstrcmpW(args[i], L"--memo-takes-tab") == 0) {
      state.memo_takes_tab = true;
    } else if (lstrcmpW(args[i], L"--ask-after") == 0 && i + 1 < count) {
      state.ask_after = _wtoi(args[i + 1]);
    } else if (lstrcmpW(args[i], L"--discard-pastes") == 0 && i + 1 < count) {
      state.discard_every = _wtoi(args[i + 1]);
    } else if (lstrcmpW(args[i], L"--rich") == 0) {
      state.rich = true;
    }
  }
  LocalFree(args);
}

// A Tab or Enter has been handled: a program that looks something up when
// a field is left is busy for a while.
void AfterKey(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || (msg.wParam != VK_TAB && msg.wParam != VK_RETURN)) return;
  ++state.keys;
  if (state.busy_ms > 0 && (state.busy_nth == 0 || state.busy_nth == state.keys)) Sleep(static_cast<DWORD>(state.busy_ms));
  if (state.ask_after == state.keys)
    MessageBoxW(GetAncestor(msg.hwnd, GA_ROOT), L"保存更改吗？", L"Tovan Question", MB_OKCANCEL | MB_ICONQUESTION);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  ReadSwitches(GetCommandLineW());
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

  HWND window = CreateWindowExW(0, kClassName, L"Tovan Target",
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 100, 100,
                                420, 300, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  ShowWindow(window, show);
  SetForegroundWindow(window);
  SetFocus(state.first_field);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    // Tab and Shift+Tab move between the fields, as in a dialog.
    const bool tab_in_memo = state.memo_takes_tab && msg.hwnd == state.memo && msg.message == WM_KEYDOWN &&
                             msg.wParam == VK_TAB;
    if (tab_in_memo)
      SendMessageW(state.memo, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"\t"));
    else if (!IsDialogMessageW(window, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    AfterKey(msg);
  }
  if (state.log != INVALID_HANDLE_VALUE) CloseHandle(state.log);
  DeleteObject(state.font);
  return static_cast<int>(msg.wParam);
}
