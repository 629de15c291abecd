// Hotkeys, key chords and typing, shell open, and process-wide services.
#include <windows.h>

#include <mmsystem.h>

#include <shellapi.h>

#include <algorithm>
#include <map>
#include <vector>

#include "runtime/win32/wide.h"
#include "runtime/win32/win32_services.h"

namespace tovan::rt::win32 {
namespace {

constexpr int kLastHotkeyId = 0xBFFF;  // ids above are for shared libraries

bool IsExtendedKey(int vk) {
  switch (vk) {
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: case VK_INSERT: case VK_DELETE:
    case VK_HOME: case VK_END: case VK_PRIOR: case VK_NEXT: case VK_NUMLOCK: case VK_RCONTROL:
    case VK_RMENU: case VK_DIVIDE: case VK_LWIN: case VK_RWIN: case VK_APPS: case VK_SNAPSHOT:
      return true;
    default: return false;
  }
}

INPUT KeyInput(int vk, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = static_cast<WORD>(vk);
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (IsExtendedKey(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
  input.ki.dwExtraInfo = kInjectedByTovan;
  return input;
}

INPUT CharInput(wchar_t unit, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wScan = unit;
  input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
  input.ki.dwExtraInfo = kInjectedByTovan;
  return input;
}

void Send(std::vector<INPUT>& inputs) {
  if (!inputs.empty()) SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace

int Win32Hotkeys::Register(std::string_view receiver, int modifiers, int virtual_key) {
  if (virtual_key <= 0 || virtual_key > 0xFE) return 0;
  int id = 1;
  while (id <= kLastHotkeyId && used_.count(id)) ++id;
  if (id > kLastHotkeyId) return 0;
  const UINT flags = ((modifiers & kCtrl) ? MOD_CONTROL : 0) | ((modifiers & kShift) ? MOD_SHIFT : 0) |
                     ((modifiers & kAlt) ? MOD_ALT : 0);
  if (!RegisterHotKey(ui_.MainWindow(), id, flags, static_cast<UINT>(virtual_key))) return 0;
  used_[id] = true;
  ui_.AddHotkeyReceiver(id, std::string(receiver));
  return id;
}

namespace {

// The procedures the forwarding replaced, by window.
std::map<HWND, WNDPROC>& ForwardedWindows() {
  static std::map<HWND, WNDPROC> windows;
  return windows;
}

LRESULT CALLBACK ForwardingProcedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  const auto it = ForwardedWindows().find(window);
  if (it == ForwardedWindows().end()) return DefWindowProcW(window, message, w, l);
  return CallWindowProcW(it->second, window, message == WM_HOTKEY ? Hotkeys::kForwardedHotkey : message, w, l);
}

}  // namespace

void Win32Hotkeys::ForwardHotkeysOf(std::uintptr_t window, bool on) {
  HWND hwnd = reinterpret_cast<HWND>(window);
  auto& windows = ForwardedWindows();
  const auto it = windows.find(hwnd);
  if (on && it == windows.end() && IsWindow(hwnd)) {
    windows[hwnd] = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ForwardingProcedure)));
  } else if (!on && it != windows.end()) {
    if (IsWindow(hwnd)) SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(it->second));
    windows.erase(it);
  }
}

void Win32Hotkeys::Unregister(int id) {
  if (!used_.erase(id)) return;
  UnregisterHotKey(ui_.MainWindow(), id);
  ui_.RemoveHotkeyReceiver(id);
}

void Win32Keys::Chord(std::initializer_list<int> virtual_keys) {
  std::vector<INPUT> inputs;
  for (int vk : virtual_keys) inputs.push_back(KeyInput(vk, false));
  for (auto it = std::rbegin(virtual_keys); it != std::rend(virtual_keys); ++it) inputs.push_back(KeyInput(*it, true));
  Send(inputs);
}

void Win32Keys::Type(std::string_view text) {
  const std::wstring wide = Wide(text);
  std::vector<INPUT> inputs;
  for (std::size_t i = 0; i < wide.size(); ++i) {
    const wchar_t c = wide[i];
    if (c == L'\r' || c == L'\n' || c == L'\t') {
      if (c == L'\r' && i + 1 < wide.size() && wide[i + 1] == L'\n') ++i;
      const int vk = c == L'\t' ? VK_TAB : VK_RETURN;
      inputs.push_back(KeyInput(vk, false));
      inputs.push_back(KeyInput(vk, true));
    } else {
      inputs.push_back(CharInput(c, false));
      inputs.push_back(CharInput(c, true));
    }
  }
  Send(inputs);
}

bool Win32System::ClaimInstance(std::string_view name) {
  const std::wstring wide = Wide(name);
  if (KernelHandle existing(OpenEventW(EVENT_ALL_ACCESS, FALSE, wide.c_str())); existing) return false;
  marker_.reset(CreateEventW(nullptr, FALSE, FALSE, wide.c_str()));
  // Created between our look and our creation by another instance: it is first.
  return !(marker_ && GetLastError() == ERROR_ALREADY_EXISTS);
}

void Win32System::TrimWorkingSet() {
  SetProcessWorkingSetSize(GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
}

void Win32System::PlayWave(std::string_view wave) {
  // Asynchronous from memory; with no sound device it returns at once.
  ::PlaySoundW(reinterpret_cast<LPCWSTR>(wave.data()), nullptr, SND_MEMORY | SND_ASYNC | SND_NODEFAULT);
}

void Win32Keys::Press(const std::vector<Stroke>& strokes) {
  std::vector<INPUT> inputs;
  bool after_return = false;
  for (const Stroke& stroke : strokes) {
    const std::wstring character = Wide(stroke.character);
    int vk = stroke.virtual_key;
    int modifiers = stroke.modifiers;
    bool as_key = character.empty();
    if (character == L"\n" && after_return) continue;  // the second half of a CR LF line break
    after_return = character == L"\r";
    if (character == L"\r" || character == L"\n" || character == L"\t") {
      vk = character == L"\t" ? VK_TAB : VK_RETURN;
      as_key = true;
    } else if (!character.empty() && modifiers != 0 && character.size() == 1) {
      // Under a modifier a character is its key on the keyboard: Shift+1 is "!".
      const SHORT key = VkKeyScanW(character[0]);
      if (key != -1) {
        vk = LOBYTE(key);
        const int shift_state = HIBYTE(key);
        modifiers |= ((shift_state & 1) ? kShift : 0) | ((shift_state & 2) ? kCtrl : 0) | ((shift_state & 4) ? kAlt : 0);
        as_key = true;
      }
    }
    const int held[] = {VK_CONTROL, VK_SHIFT, VK_MENU};
    const int flags[] = {kCtrl, kShift, kAlt};
    for (int n = 0; n < stroke.count; ++n) {
      for (int m = 0; m < 3; ++m)
        if (modifiers & flags[m]) inputs.push_back(KeyInput(held[m], false));
      if (as_key) {
        inputs.push_back(KeyInput(vk, false));
        inputs.push_back(KeyInput(vk, true));
      } else {
        for (wchar_t unit : character) {
          inputs.push_back(CharInput(unit, false));
          inputs.push_back(CharInput(unit, true));
        }
      }
      for (int m = 2; m >= 0; --m)
        if (modifiers & flags[m]) inputs.push_back(KeyInput(held[m], true));
    }
  }
  Send(inputs);
}

void Win32ShellOpen::Open(std::string_view target) {
  ShellExecuteW(nullptr, L"open", Wide(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void Win32Injector::Key(int virtual_key, bool release, bool extended) {
  // The scan code is looked up anew for every event.
  const BYTE scan = static_cast<BYTE>(MapVirtualKeyA(static_cast<UINT>(virtual_key), MAPVK_VK_TO_VSC));
  keybd_event(static_cast<BYTE>(virtual_key), scan,
              (extended ? KEYEVENTF_EXTENDEDKEY : 0) | (release ? KEYEVENTF_KEYUP : 0), kInjectedByTovan);
}

void Win32Injector::MouseButton(int flag) { mouse_event(static_cast<DWORD>(flag), 0, 0, 0, kInjectedByTovan); }

Point Win32Injector::Cursor() const {
  POINT p{};
  GetCursorPos(&p);
  return {p.x, p.y};
}

Point Win32Injector::ClientOrigin(std::uintptr_t window) const {
  HWND target = window ? reinterpret_cast<HWND>(window) : GetForegroundWindow();
  POINT origin{};
  ClientToScreen(target, &origin);
  return {origin.x, origin.y};
}

std::string Win32Messages::AnsiBytes(std::string_view utf8) const {
  const std::wstring wide = Wide(utf8);
  if (wide.empty()) return {};
  const int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(std::max(length, 0)), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), length, nullptr, nullptr);
  return bytes;
}

}  // namespace tovan::rt::win32
