#include "driver/input.h"

#include <vector>

#include "driver/text.h"
#include "driver/wait_until.h"
#include "driver/window.h"

namespace tovan::e2e {

namespace {

bool Send(std::vector<INPUT>& inputs) {
  return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) ==
         inputs.size();
}

// Absolute mouse coordinates run from 0 to 65535 over the virtual screen;
// aim at the middle of the target pixel so rounding either way lands on it.
LONG Normalise(LONG value, int origin, int extent) {
  return static_cast<LONG>(((2LL * (value - origin) + 1) * 65536) / (2LL * extent));
}

INPUT MouseInput(POINT screen, DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = Normalise(screen.x, GetSystemMetrics(SM_XVIRTUALSCREEN),
                          GetSystemMetrics(SM_CXVIRTUALSCREEN));
  input.mi.dy = Normalise(screen.y, GetSystemMetrics(SM_YVIRTUALSCREEN),
                          GetSystemMetrics(SM_CYVIRTUALSCREEN));
  input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
  return input;
}

bool Click(POINT screen, int count) {
  std::vector<INPUT> inputs{MouseInput(screen, MOUSEEVENTF_MOVE)};
  for (int i = 0; i < count; ++i) {
    inputs.push_back(MouseInput(screen, MOUSEEVENTF_LEFTDOWN));
    inputs.push_back(MouseInput(screen, MOUSEEVENTF_LEFTUP));
  }
  return Send(inputs);
}

bool IsExtendedKey(WORD vk) {
  switch (vk) {
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
    case VK_HOME: case VK_END: case VK_PRIOR: case VK_NEXT:
    case VK_INSERT: case VK_DELETE: case VK_RCONTROL: case VK_RMENU:
    case VK_DIVIDE: case VK_NUMLOCK: case VK_LWIN: case VK_RWIN: case VK_APPS:
      return true;
    default:
      return false;
  }
}

INPUT KeyInput(WORD vk, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (IsExtendedKey(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
  return input;
}

}  // namespace

bool MoveMouseTo(POINT screen) {
  std::vector<INPUT> inputs{MouseInput(screen, MOUSEEVENTF_MOVE)};
  return Send(inputs);
}

bool DragMouse(POINT from, POINT to) {
  // Pressed, moved in steps as a hand moves, released.
  std::vector<INPUT> inputs{MouseInput(from, MOUSEEVENTF_MOVE), MouseInput(from, MOUSEEVENTF_LEFTDOWN)};
  if (!Send(inputs)) return false;
  for (int step = 1; step <= 4; ++step) {
    Sleep(20);
    std::vector<INPUT> move{MouseInput({from.x + (to.x - from.x) * step / 4, from.y + (to.y - from.y) * step / 4},
                                       MOUSEEVENTF_MOVE)};
    if (!Send(move)) return false;
  }
  std::vector<INPUT> up{MouseInput(to, MOUSEEVENTF_LEFTUP)};
  return Send(up);
}

bool MiddleClickAt(POINT screen) {
  std::vector<INPUT> inputs{MouseInput(screen, MOUSEEVENTF_MOVE), MouseInput(screen, MOUSEEVENTF_MIDDLEDOWN),
                            MouseInput(screen, MOUSEEVENTF_MIDDLEUP)};
  return Send(inputs);
}

bool ClickAt(POINT screen) { return Click(screen, 1); }
bool DoubleClickAt(POINT screen) { return Click(screen, 2); }
bool ClickControl(HWND control) { return IsWindow(control) && ClickAt(CenterOf(control)); }
bool DoubleClickControl(HWND control) {
  return IsWindow(control) && DoubleClickAt(CenterOf(control));
}

bool KeyDown(WORD vk) {
  std::vector<INPUT> inputs{KeyInput(vk, false)};
  return Send(inputs);
}

bool KeyUp(WORD vk) {
  std::vector<INPUT> inputs{KeyInput(vk, true)};
  return Send(inputs);
}

bool PressKey(WORD vk) {
  std::vector<INPUT> inputs{KeyInput(vk, false), KeyInput(vk, true)};
  return Send(inputs);
}

bool PressChord(std::initializer_list<WORD> modifiers, WORD key) {
  std::vector<INPUT> inputs;
  for (WORD modifier : modifiers) inputs.push_back(KeyInput(modifier, false));
  inputs.push_back(KeyInput(key, false));
  inputs.push_back(KeyInput(key, true));
  for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it) {
    inputs.push_back(KeyInput(*it, true));
  }
  return Send(inputs);
}

bool TypeText(std::string_view utf8) {
  std::vector<INPUT> inputs;
  for (wchar_t unit : Utf8ToWide(utf8)) {
    for (bool up : {false, true}) {
      INPUT input{};
      input.type = INPUT_KEYBOARD;
      input.ki.wScan = static_cast<WORD>(unit);
      input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
      inputs.push_back(input);
    }
  }
  return inputs.empty() || Send(inputs);
}

bool FocusControl(HWND control, int timeout_ms) {
  if (!IsWindow(control)) return false;
  HWND top = GetAncestor(control, GA_ROOT);
  const DWORD target_thread = GetWindowThreadProcessId(control, nullptr);
  const DWORD this_thread = GetCurrentThreadId();
  // The program may move its own focus meanwhile (activation, start-up):
  // set it again until it stays.
  return WaitUntil(
      [&] {
        if (FocusOf(control) == control) return true;
        if (GetForegroundWindow() != top) SetForegroundWindow(top);
        // SetFocus works only on windows of a thread whose input state is
        // shared with the caller's.
        if (AttachThreadInput(this_thread, target_thread, TRUE)) {
          SetFocus(control);
          AttachThreadInput(this_thread, target_thread, FALSE);
        }
        return WaitUntil([&] { return FocusOf(control) == control; }, 50);
      },
      timeout_ms);
}

}  // namespace tovan::e2e
