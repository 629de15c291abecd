#include "runtime/win32/win32_ui.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

#include "runtime/hotkeys.h"
#include "runtime/win32/control_peer.h"
#include "runtime/win32/wide.h"

namespace tovan::rt::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"TovanMainWindow";
constexpr UINT kTrayMessage = WM_APP + 1;
constexpr UINT kTrayId = 1;
constexpr UINT_PTR kBalloonTimer = 0xB000;
constexpr int kBalloonMillis = 4000;
const COLORREF kBackground = RGB(236, 244, 243);

int Modifiers() {
  return (GetKeyState(VK_CONTROL) < 0 ? kCtrl : 0) | (GetKeyState(VK_SHIFT) < 0 ? kShift : 0) |
         (GetKeyState(VK_MENU) < 0 ? kAlt : 0);
}

// The modifiers held before this key went down: a modifier key that is
// itself being pressed is not yet part of the state its event carries.
int ModifiersBefore(WPARAM key) {
  const int own = key == VK_CONTROL ? kCtrl : key == VK_SHIFT ? kShift : key == VK_MENU ? kAlt : 0;
  return Modifiers() & ~own;
}

bool NeedsWindow(const UnitLayout& layout, const WindowLayout& window) {
  switch (layout.kind) {
    case UnitKind::kWindow:
    case UnitKind::kTimer:
    case UnitKind::kDropTarget:
    case UnitKind::kBalloonTip:
    case UnitKind::kHotkeyReceiver: return false;
    default: return !IsOffScreen(layout, window);
  }
}

// Per-monitor DPI of a window, where the system can tell it.
int DpiOf(HWND window) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto get = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  const UINT dpi = get ? get(window) : 0;
  if (dpi) return static_cast<int>(dpi);
  HDC dc = GetDC(nullptr);
  const int system = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  return system > 0 ? system : 96;
}

// The main window itself: title, placement in screen pixels, visibility.
class MainWindowPeer : public UnitPeer {
 public:
  explicit MainWindowPeer(HWND window) : window_(window) {}
  void Push(Property property, const UnitState& state) override {
    if (property == Property::kText) SetWindowTextW(window_, Wide(state.text).c_str());
    if (property == Property::kRect)
      SetWindowPos(window_, nullptr, state.rect.x, state.rect.y, state.rect.width, state.rect.height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    if (property == Property::kVisible) ShowWindow(window_, state.visible ? SW_SHOW : SW_HIDE);
  }
  void Pull(Property property, UnitState& state) override {
    if (property == Property::kRect) {
      RECT r{};
      GetWindowRect(window_, &r);
      state.rect = Rect{r.left, r.top, r.right - r.left, r.bottom - r.top};
    }
    if (property == Property::kVisible) state.visible = IsWindowVisible(window_) != FALSE;
  }
  void Focus() override { SetForegroundWindow(window_); }
  std::uintptr_t Handle() const override { return reinterpret_cast<std::uintptr_t>(window_); }

 private:
  HWND window_;
};

}  // namespace

Win32Ui::Win32Ui(HINSTANCE instance)
    : instance_(instance), taskbar_created_(RegisterWindowMessageW(L"TaskbarCreated")) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = &Win32Ui::WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hIcon = static_cast<HICON>(LoadImageW(instance, L"TOVAN", IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                           GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR));
  wc.hIconSm = static_cast<HICON>(LoadImageW(instance, L"TOVAN", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                             GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
  wc.lpszClassName = kWindowClass;
  RegisterClassExW(&wc);
}

Win32Ui::~Win32Ui() {
  UnbindAll();
  RemoveTrayIcon();
  for (const auto& unit : Units()) unit->AttachPeer(nullptr);
  if (window_ && IsWindow(window_)) DestroyWindow(window_);
}

void Win32Ui::CreatePeers() {
  // The window thread answers the user and times the keys it sends: on a
  // machine whose cores are all busy it still gets one the moment an event
  // arrives. It only ever waits or does short slices of work, so it takes
  // no time from other programs that it does not need.
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL);
  const WindowLayout& layout = Window();
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN |
                      (layout.resizable ? WS_THICKFRAME | WS_MAXIMIZEBOX : 0);
  window_ = CreateWindowExW(0, kWindowClass, Wide(layout.title).c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                            layout.width, layout.height, nullptr, nullptr, instance_, this);
  dpi_ = DpiOf(window_);
  SetWindowPos(window_, nullptr, 0, 0, Scale(layout.width), Scale(layout.height), SWP_NOMOVE | SWP_NOZORDER);
  Unit& window_unit = (*this)[kWindowUnit];
  RECT placed{};
  GetWindowRect(window_, &placed);
  window_unit.Move(Rect{placed.left, placed.top, placed.right - placed.left, placed.bottom - placed.top});
  window_unit.AttachPeer(std::make_unique<MainWindowPeer>(window_));

  for (std::size_t index = 0; index < Units().size(); ++index) {
    const auto& unit = Units()[index];
    const int id = ControlIdOf(index);
    const UnitLayout& unit_layout = unit->Layout();
    if (unit_layout.kind == UnitKind::kTransparentLabel && !IsOffScreen(unit_layout, layout)) {
      auto peer = std::make_unique<LabelPeer>(*this, *unit);
      labels_.push_back(peer.get());
      unit->AttachPeer(std::move(peer));
      continue;
    }
    if (unit_layout.kind == UnitKind::kTimer) {
      timers_[id] = unit->Name();
      unit->AttachPeer(std::make_unique<TimerPeer>(*this, id));
      continue;
    }
    if (!NeedsWindow(unit_layout, layout)) continue;
    std::unique_ptr<ControlPeer> peer;
    if (unit_layout.kind == UnitKind::kSuperList) {
      auto& list = static_cast<ListUnit&>(*unit);
      auto list_peer = std::make_unique<ListViewPeer>(*this, list, id);
      list.AttachListPeer(list_peer.get());
      peer = std::move(list_peer);
    } else {
      peer = std::make_unique<ControlPeer>(*this, *unit, id);
    }
    ControlPeer* raw = peer.get();
    controls_.push_back(raw);
    by_window_[raw->Control()] = raw;
    SetWindowSubclass(raw->Control(), &Win32Ui::ControlProc, 1, reinterpret_cast<DWORD_PTR>(this));
    unit->AttachPeer(std::move(peer));
  }

  balloon_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_BALLOON | TTS_NOPREFIX |
                             TTS_ALWAYSTIP, 0, 0, 0, 0, window_, nullptr, instance_, nullptr);
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  // A hint never takes a click: the click goes to whatever lies under it,
  // so a balloon over the table's first rows does not swallow a check click.
  tool.uFlags = TTF_TRACK | TTF_ABSOLUTE | TTF_TRANSPARENT;
  tool.hwnd = window_;
  tool.lpszText = const_cast<wchar_t*>(L"");
  SendMessageW(balloon_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageW(balloon_, TTM_SETMAXTIPWIDTH, 0, Scale(300));
}

ControlPeer* Win32Ui::PeerOf(HWND control) const {
  const auto it = by_window_.find(control);
  return it == by_window_.end() ? nullptr : it->second;
}

HFONT Win32Ui::FontFor(const UnitLayout& layout) {
  const FontLayout font = layout.font.value_or(FontLayout{"宋体", 12, false});
  const auto key = std::pair{font.face + (font.bold ? "|b" : "|r"), Scale(font.pixel_height)};
  Font& slot = fonts_[key];
  if (!slot) {
    slot.reset(CreateFontW(-key.second, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                           DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                           DEFAULT_PITCH | FF_DONTCARE, Wide(font.face).c_str()));
  }
  return slot.get();
}

HBRUSH Win32Ui::BrushFor(Colour colour) {
  const COLORREF ref = RGB(colour.r, colour.g, colour.b);
  Brush& slot = brushes_[ref];
  if (!slot) slot.reset(CreateSolidBrush(ref));
  return slot.get();
}

void Win32Ui::PaintBackground(HDC dc) {
  // The window's own picture: a soft vertical wash from pale teal to a
  // slightly deeper one, drawn at any size and DPI.
  RECT client;
  GetClientRect(window_, &client);
  TRIVERTEX corners[2] = {};
  corners[0].x = client.left;
  corners[0].y = client.top;
  corners[0].Red = 0xF4 << 8;
  corners[0].Green = 0xFB << 8;
  corners[0].Blue = 0xFA << 8;
  corners[1].x = client.right;
  corners[1].y = client.bottom;
  corners[1].Red = 0xD2 << 8;
  corners[1].Green = 0xEC << 8;
  corners[1].Blue = 0xE8 << 8;
  GRADIENT_RECT span{0, 1};
  if (!GradientFill(dc, corners, 2, &span, 1, GRADIENT_FILL_RECT_V))
    FillRect(dc, &client, BrushFor(Colour{GetRValue(kBackground), GetGValue(kBackground), GetBValue(kBackground)}));
}

void Win32Ui::RepaintBackground(const Rect& rect) {
  RECT r{Scale(rect.x), Scale(rect.y), Scale(rect.Right()), Scale(rect.Bottom())};
  RedrawWindow(window_, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Win32Ui::ApplyDpi(int dpi) {
  if (dpi <= 0 || dpi == dpi_) return;
  dpi_ = dpi;
  for (ControlPeer* peer : controls_) {
    peer->Relayout();
    if (peer->Owner().Kind() == UnitKind::kSuperList) static_cast<ListViewPeer*>(peer)->ApplyColumns();
  }
  SendMessageW(balloon_, TTM_SETMAXTIPWIDTH, 0, Scale(300));
  InvalidateRect(window_, nullptr, TRUE);
}

void Win32Ui::Show() {
  ShowWindow(window_, SW_SHOWNORMAL);
  UpdateWindow(window_);
  Raise(kWindowUnit, Event{.kind = EventKind::kCreated});
}

void Win32Ui::Destroy() {
  if (window_ && !destroyed_) DestroyWindow(window_);
}

bool Win32Ui::Minimised() const { return IsIconic(window_) != FALSE; }

void Win32Ui::Restore() {
  ShowWindow(window_, SW_SHOWNORMAL);
  SetForegroundWindow(window_);
}

bool Win32Ui::TrayIcon(DWORD action, std::string_view tip) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = window_;
  data.uID = kTrayId;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kTrayMessage;
  data.hIcon = reinterpret_cast<HICON>(GetClassLongPtrW(window_, GCLP_HICONSM));
  if (!data.hIcon) data.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  lstrcpynW(data.szTip, Wide(tip).c_str(), ARRAYSIZE(data.szTip));
  return Shell_NotifyIconW(action, &data) != FALSE;
}

void Win32Ui::HideToTray(std::string_view tip) {
  bool shown = tray_icon_ && TrayIcon(NIM_MODIFY, tip);
  if (!shown) shown = TrayIcon(NIM_ADD, tip);
  // Without an icon to bring it back, the window stays on the taskbar.
  if (!shown) return;
  tray_icon_ = true;
  tray_tip_ = std::string(tip);
  ShowWindow(window_, SW_HIDE);
}

void Win32Ui::RemoveTrayIcon() {
  if (!tray_icon_) return;
  TrayIcon(NIM_DELETE, "");
  tray_icon_ = false;
}

void Win32Ui::LockRedraw(bool locked) {
  SendMessageW(window_, WM_SETREDRAW, locked ? FALSE : TRUE, 0);
  if (!locked) RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

Point Win32Ui::ScreenSize() const { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

Rect Win32Ui::WorkArea() const {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &info)) {
    const Point screen = ScreenSize();
    return {0, 0, screen.x, screen.y};
  }
  const RECT& r = info.rcWork;
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

Point Win32Ui::CursorPos() const {
  POINT p{};
  GetCursorPos(&p);
  return {p.x, p.y};
}

std::uint32_t Win32Ui::ForegroundProcess() const {
  HWND foreground = GetForegroundWindow();
  DWORD process = 0;
  if (foreground) GetWindowThreadProcessId(foreground, &process);
  return process;
}

void Win32Ui::SetTopmost(std::uintptr_t window, bool topmost) {
  SetWindowPos(reinterpret_cast<HWND>(window), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE);
}

std::uintptr_t Win32Ui::WindowUnderCursor() const {
  POINT p{};
  GetCursorPos(&p);
  return reinterpret_cast<std::uintptr_t>(WindowFromPoint(p));
}

std::string Win32Ui::FocusedUnit() const {
  HWND focus = GetFocus();
  for (HWND w = focus; w && w != window_; w = GetParent(w))
    if (ControlPeer* peer = PeerOf(w)) return peer->Owner().Name();
  return {};
}

void Win32Ui::ShowBalloon(std::string_view text, Point screen) {
  std::wstring wide = Wide(text);
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = window_;
  tool.lpszText = wide.data();
  SendMessageW(balloon_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
  SendMessageW(balloon_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageW(balloon_, TTM_TRACKPOSITION, 0, MAKELPARAM(screen.x, screen.y));
  SendMessageW(balloon_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
  SetTimer(window_, kBalloonTimer, kBalloonMillis, nullptr);
}

Answer Win32Ui::AskYesNo(std::string_view text, std::string_view title) {
  const int answer = MessageBoxW(window_, Wide(text).c_str(), Wide(title).c_str(), MB_YESNO | MB_ICONQUESTION);
  return answer == IDYES ? Answer::kYes : Answer::kNo;
}

void Win32Ui::Warn(std::string_view text, std::string_view title) {
  MessageBoxW(window_, Wide(text).c_str(), Wide(title).c_str(), MB_OK | MB_ICONWARNING);
}

void Win32Ui::RegisterDropTarget(std::string_view drop_unit, std::string_view on_unit) {
  HWND target = reinterpret_cast<HWND>((*this)[on_unit].Handle());
  if (!target) return;
  drop_targets_[target] = std::string(drop_unit);
  DragAcceptFiles(target, TRUE);
}

void Win32Ui::StartTimer(UINT_PTR id, int period_ms) {
  if (window_) SetTimer(window_, id, static_cast<UINT>(period_ms), nullptr);
}

void Win32Ui::StopTimer(UINT_PTR id) {
  if (window_ && IsWindow(window_)) KillTimer(window_, id);
}

LRESULT CALLBACK Win32Ui::WindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Win32Ui*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->window_ = window;
  }
  auto* self = reinterpret_cast<Win32Ui*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  return self ? self->HandleMessage(message, w, l) : DefWindowProcW(window, message, w, l);
}

LRESULT Win32Ui::HandleMessage(UINT message, WPARAM w, LPARAM l) {
  // Explorer restarted: the tray is new and empty, so put the icon back.
  if (message == taskbar_created_ && tray_icon_) {
    TrayIcon(NIM_ADD, tray_tip_);
    return 0;
  }
  switch (message) {
    case WM_ERASEBKGND:
      PaintBackground(reinterpret_cast<HDC>(w));
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window_, &paint);
      for (LabelPeer* label : labels_) label->Paint(dc);
      EndPaint(window_, &paint);
      return 0;
    }
    case WM_COMMAND: {
      ControlPeer* peer = PeerOf(reinterpret_cast<HWND>(l));
      if (!peer) break;
      const std::string& name = peer->Owner().Name();
      const UnitKind kind = peer->Owner().Kind();
      const WORD code = HIWORD(w);
      // A quick second click on an owner-drawn button arrives as a double
      // click: it is a click all the same.
      if ((code == BN_CLICKED && (kind == UnitKind::kPictureButton || kind == UnitKind::kButton ||
                                  kind == UnitKind::kCheckBox || kind == UnitKind::kRadio)) ||
          (code == BN_DOUBLECLICKED && kind == UnitKind::kPictureButton))
        Raise(name, Event{.kind = EventKind::kClicked});
      else if ((code == CBN_SELCHANGE && kind != UnitKind::kListBox) || (code == LBN_SELCHANGE && kind == UnitKind::kListBox))
        Raise(name, Event{.kind = EventKind::kSelectionChanged,
                          .code = static_cast<int>(SendMessageW(peer->Control(),
                                                                kind == UnitKind::kListBox ? LB_GETCURSEL : CB_GETCURSEL, 0, 0))});
      return 0;
    }
    case WM_NOTIFY: return HandleNotify(*reinterpret_cast<NMHDR*>(l));
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<DRAWITEMSTRUCT*>(l);
      if (ControlPeer* peer = PeerOf(item.hwndItem)) peer->Draw(item);
      return TRUE;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN: {
      HWND control = reinterpret_cast<HWND>(l);
      ControlPeer* peer = PeerOf(control);
      if (!peer) peer = PeerOf(GetParent(control));  // the edit or list inside a combo box
      if (HBRUSH brush = peer ? peer->Colours(reinterpret_cast<HDC>(w)) : nullptr)
        return reinterpret_cast<LRESULT>(brush);
      if (message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN) {
        SetBkColor(reinterpret_cast<HDC>(w), kBackground);
        return reinterpret_cast<LRESULT>(
            BrushFor(Colour{GetRValue(kBackground), GetGValue(kBackground), GetBValue(kBackground)}));
      }
      break;
    }
    case WM_TIMER: {
      if (w == kBalloonTimer) {
        KillTimer(window_, kBalloonTimer);
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = window_;
        SendMessageW(balloon_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
        return 0;
      }
      if (RunLaterJob(w, true)) return 0;
      const auto it = timers_.find(w);
      if (it != timers_.end()) Raise(it->second, Event{.kind = EventKind::kTick});
      return 0;
    }
    case WM_HOTKEY: {
      const auto it = hotkey_receivers_.find(static_cast<int>(w));
      if (it != hotkey_receivers_.end()) Raise(it->second, Event{.kind = EventKind::kHotkey, .code = it->first});
      return 0;
    }
    case WM_SIZE:
      Raise(kWindowUnit, Event{.kind = EventKind::kSizeChanged, .code = w == SIZE_MINIMIZED ? 1 : 0});
      return 0;
    case kTrayMessage: {
      const UINT mouse = LOWORD(l);
      const int code = mouse == WM_LBUTTONUP ? 1 : mouse == WM_LBUTTONDBLCLK ? 2 : mouse == WM_RBUTTONUP ? 3 : 0;
      if (code) Raise(kWindowUnit, Event{.kind = EventKind::kTray, .code = code});
      return 0;
    }
    case WM_DPICHANGED: {
      const RECT& suggested = *reinterpret_cast<RECT*>(l);
      ApplyDpi(HIWORD(w));
      SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case kRunSoonMessage:
      jobs_.RunPending();
      return 0;
    case kRunLaterMessage:
      RunLaterJob(w, false);
      return 0;
    case WM_RENDERFORMAT:
    case WM_RENDERALLFORMATS:
    case WM_DESTROYCLIPBOARD:
      if (clipboard_owner_) clipboard_owner_(message, w);
      return 0;
    case WM_CLOSE:
      Raise(kWindowUnit, Event{.kind = EventKind::kClosing});
      DestroyWindow(window_);
      return 0;
    case WM_DESTROY:
      destroyed_ = true;
      for (const auto& [id, name] : timers_) KillTimer(window_, id);
      Raise(kWindowUnit, Event{.kind = EventKind::kDestroyed});
      RemoveTrayIcon();
      PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
      return 0;
    default: break;
  }
  return DefWindowProcW(window_, message, w, l);
}

LRESULT Win32Ui::HandleNotify(NMHDR& header) {
  ControlPeer* peer = PeerOf(header.hwndFrom);
  if (peer && peer->Owner().Kind() == UnitKind::kSuperList) return static_cast<ListViewPeer*>(peer)->Notify(header);
  return 0;
}

LRESULT CALLBACK Win32Ui::ControlProc(HWND control, UINT message, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<Win32Ui*>(data);
  ControlPeer* peer = self->PeerOf(control);
  if (!peer) return DefSubclassProc(control, message, w, l);
  return self->HandleControlMessage(*peer, control, message, w, l);
}

LRESULT Win32Ui::HandleControlMessage(ControlPeer& peer, HWND control, UINT message, WPARAM w, LPARAM l) {
  const std::string name = peer.Owner().Name();
  const UnitKind kind = peer.Owner().Kind();
  const Point at{Unscale(static_cast<short>(LOWORD(l))), Unscale(static_cast<short>(HIWORD(l)))};
  switch (message) {
    case WM_LBUTTONDOWN: {
      // The table hears of the press before it selects the row under it.
      if (kind == UnitKind::kSuperList) {
        Raise(name, Event{.kind = EventKind::kMouseDown, .x = at.x, .y = at.y});
        break;
      }
      // Any other control takes the press first (focus, mouse capture): a
      // handler that waits runs the button's release meanwhile, and an edit
      // box that saw the release before the press would keep the mouse
      // captured and swallow the user's next click.
      const LRESULT result = DefSubclassProc(control, message, w, l);
      Raise(name, Event{.kind = EventKind::kMouseDown, .x = at.x, .y = at.y});
      return result;
    }
    case WM_LBUTTONDBLCLK: {
      // The control's own double-click handling (selection, focus) comes
      // first, so that what the program does on a double click stays.
      const bool taken = kind == UnitKind::kSuperList && static_cast<ListViewPeer&>(peer).TakeInput(message, w, l);
      const LRESULT result = taken ? 0 : DefSubclassProc(control, message, w, l);
      Raise(name, Event{.kind = EventKind::kDoubleClicked, .x = at.x, .y = at.y});
      return result;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      Raise(name, Event{.kind = EventKind::kKeyDown, .code = static_cast<int>(w), .modifiers = ModifiersBefore(w)});
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      Raise(name, Event{.kind = EventKind::kKeyUp, .code = static_cast<int>(w), .modifiers = Modifiers()});
      break;
    case WM_SETFOCUS:
      Raise(name, Event{.kind = EventKind::kGotFocus});
      break;
    case WM_KILLFOCUS:
      Raise(name, Event{.kind = EventKind::kLostFocus});
      break;
    case WM_DROPFILES: {
      HDROP drop = reinterpret_cast<HDROP>(w);
      Event event{.kind = EventKind::kDropped};
      const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
      for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring path(length + 1, L'\0');
        path.resize(DragQueryFileW(drop, i, path.data(), length + 1));
        event.files.push_back(Utf8(path));
      }
      DragFinish(drop);
      const auto it = drop_targets_.find(control);
      if (it != drop_targets_.end()) Raise(it->second, event);
      return 0;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(control, &Win32Ui::ControlProc, 1);
      by_window_.erase(control);
      break;
    default: break;
  }
  if (kind == UnitKind::kSuperList && static_cast<ListViewPeer&>(peer).TakeInput(message, w, l)) return 0;
  return DefSubclassProc(control, message, w, l);
}

}  // namespace tovan::rt::win32
