#include <cstdio>
#include <string>
#include <vector>

#include "runtime/win32/wide.h"
#include "tests/win/win32_fixture.h"

namespace tovan::rt::win32 {
namespace {

using Win32InputTest = Win32Test;

TEST_F(Win32InputTest, AHotkeyPressReachesTheReceiverWithItsIdentifier) {
  const int id = platform->hotkeys.Register("标签1", kCtrl | kAlt, VK_F7);
  ASSERT_NE(id, 0);
  EXPECT_EQ(platform->hotkeys.Register("标签1", kCtrl | kAlt, VK_F7), 0);  // already registered
  EXPECT_EQ(platform->hotkeys.Register("标签1", 0, 0), 0);
  int pressed = 0;
  platform->ui.Bind("标签1", EventKind::kHotkey, [&](const Event& e) { pressed = e.code; });
  platform->keys.Chord({VK_CONTROL, VK_MENU, VK_F7});
  EXPECT_TRUE(PumpUntil([&] { return pressed != 0; }));
  EXPECT_EQ(pressed, id);
  platform->hotkeys.Unregister(id);
  platform->hotkeys.Unregister(id);
  const int again = platform->hotkeys.Register("标签1", kCtrl | kAlt, VK_F7);
  EXPECT_EQ(again, id);  // the lowest free identifier is reused
  platform->hotkeys.Unregister(again);
}

TEST_F(Win32InputTest, TypingAndChordsReachTheFocusedControl) {
  Activate();
  Unit& edit = platform->ui["编辑框"];
  edit.Focus();
  platform->keys.Type("张三abc");
  EXPECT_TRUE(PumpUntil([&] { return edit.Text() == "张三abc"; })) << edit.Text();
  platform->keys.Chord({VK_SHIFT, VK_HOME});  // an extended key: selects back to the start
  platform->keys.Chord({VK_BACK});
  EXPECT_TRUE(PumpUntil([&] { return edit.Text().empty(); })) << edit.Text();
}

TEST_F(Win32InputTest, KeyEventsOfAControlCarryTheModifiers) {
  Event seen{};
  platform->ui.Bind("编辑框", EventKind::kKeyDown, [&](const Event& e) {
    if (e.code == 'K') seen = e;
  });
  Activate();
  platform->ui["编辑框"].Focus();
  platform->keys.Chord({VK_CONTROL, VK_SHIFT, 'K'});
  EXPECT_TRUE(PumpUntil([&] { return seen.code == 'K'; }));
  EXPECT_EQ(seen.modifiers, kCtrl | kShift);
}

TEST_F(Win32InputTest, TheMouseHookHearsEveryButtonInOrderThoughAHandlerWaitsAndNothingOnceRemoved) {
  // The first press's handling waits (as a drag copy does): the events
  // that arrive meanwhile are heard after it, still in their order.
  std::vector<MouseEvent> heard;
  ASSERT_TRUE(platform->mouse_hook.Install("test", [&](const MouseEvent& e) {
    heard.push_back(e);
    if (heard.size() == 1) platform->clock.Wait(100);
  }));
  const POINT at = EmptySpot();
  auto click = [&](DWORD down, DWORD up) { ClickWindow(down, up); };
  constexpr int kClicks = 50;
  for (int i = 0; i < kClicks; ++i) click(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
  click(MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP);
  ASSERT_TRUE(PumpUntil([&] { return heard.size() == 2 * kClicks + 2; })) << heard.size();
  for (int i = 0; i < kClicks; ++i) {
    EXPECT_EQ(heard[2 * i].message, kLeftButtonDown);
    EXPECT_EQ(heard[2 * i + 1].message, kLeftButtonUp);
  }
  EXPECT_EQ(heard[2 * kClicks].message, kMiddleButtonDown);
  EXPECT_EQ(heard.back().message, kMiddleButtonUp);
  EXPECT_EQ(heard.front().screen, (Point{at.x, at.y}));
  EXPECT_FALSE(heard.front().ours) << "the test injected it, not the program";
  // The procedure itself only takes note: figures for the record.
  std::printf("longest mouse hook procedure call: %lld us\n",
              static_cast<long long>(LongestHookCallMicros()));

  platform->mouse_hook.Remove("test");
  EXPECT_FALSE(platform->mouse_hook.Installed("test"));
  click(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
  platform->clock.Wait(200);
  EXPECT_EQ(heard.size(), 2u * kClicks + 2);
}

TEST_F(Win32InputTest, TheKeyboardHookHearsKeysInOrderAndTellsTheProgramsOwnFromOthers) {
  std::vector<KeyEvent> heard;
  ASSERT_TRUE(platform->keyboard_hook.Install("test", [&](const KeyEvent& e) { heard.push_back(e); }));
  Activate();
  // Another program's keys (the test's), then the program's own.
  auto other = [](WORD key, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = flags;
    return SendInput(1, &input, sizeof input) == 1;
  };
  ASSERT_TRUE(other('A', 0));
  ASSERT_TRUE(other('A', KEYEVENTF_KEYUP));
  platform->injector.Key('B', false, false);
  platform->injector.Key('B', true, false);
  ASSERT_TRUE(other(VK_F5, 0));
  ASSERT_TRUE(other(VK_F5, KEYEVENTF_KEYUP));
  ASSERT_TRUE(PumpUntil([&] { return heard.size() >= 6; })) << heard.size();
  std::vector<std::string> story;
  for (const KeyEvent& e : heard)
    story.push_back(std::to_string(e.virtual_key) + (e.message == kKeyUpMessage ? " up" : " down") +
                    (e.ours ? " ours" : ""));
  EXPECT_EQ(story, (std::vector<std::string>{"65 down", "65 up", "66 down ours", "66 up ours", "116 down", "116 up"}));
  platform->keyboard_hook.Remove("test");
  EXPECT_FALSE(platform->keyboard_hook.Installed("test"));
}

// What a low-level hook of the test's own sees of every key event.
std::vector<KBDLLHOOKSTRUCT>* raw_keys = nullptr;
LRESULT CALLBACK RawKeys(int code, WPARAM w, LPARAM l) {
  if (code == HC_ACTION && raw_keys) raw_keys->push_back(*reinterpret_cast<const KBDLLHOOKSTRUCT*>(l));
  return CallNextHookEx(nullptr, code, w, l);
}

TEST_F(Win32InputTest, ReplayedKeysCarryTheirScanCodeTheExtendedFlagAndTheProgramsMark) {
  std::vector<KBDLLHOOKSTRUCT> seen;
  raw_keys = &seen;
  HHOOK hook = SetWindowsHookExW(WH_KEYBOARD_LL, RawKeys, GetModuleHandleW(nullptr), 0);
  ASSERT_NE(hook, nullptr);
  Activate();
  platform->injector.Key('B', false, false);
  platform->injector.Key('B', true, false);
  platform->injector.Key(VK_LEFT, false, true);
  platform->injector.Key(VK_LEFT, true, true);
  const bool all = PumpUntil([&] { return seen.size() >= 4; });
  UnhookWindowsHookEx(hook);
  raw_keys = nullptr;
  ASSERT_TRUE(all) << seen.size();
  const DWORD b_scan = MapVirtualKeyW('B', MAPVK_VK_TO_VSC), left_scan = MapVirtualKeyW(VK_LEFT, MAPVK_VK_TO_VSC);
  const DWORD expected[][3] = {{'B', b_scan, 0}, {'B', b_scan, LLKHF_UP}, {VK_LEFT, left_scan, LLKHF_EXTENDED},
                               {VK_LEFT, left_scan, LLKHF_EXTENDED | LLKHF_UP}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(seen[i].vkCode, expected[i][0]) << i;
    EXPECT_EQ(seen[i].scanCode, expected[i][1]) << i;
    EXPECT_EQ(seen[i].flags & (LLKHF_EXTENDED | LLKHF_UP), expected[i][2]) << i;
    EXPECT_EQ(seen[i].dwExtraInfo, kInjectedByTovan) << i;
  }
}

// The messages a plain window of the test's received, by number.
std::vector<std::pair<UINT, WPARAM>>* plain_messages = nullptr;
LRESULT CALLBACK PlainWindow(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (plain_messages && (message == WM_HOTKEY || message == Hotkeys::kForwardedHotkey))
    plain_messages->push_back({message, w});
  return DefWindowProcW(window, message, w, l);
}

TEST_F(Win32InputTest, AnotherWindowsHotkeysReachItAs0x8075WhileForwardedAndAsThemselvesAfter) {
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = PlainWindow;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.lpszClassName = L"TovanPlainWindow";
  RegisterClassW(&window_class);
  HWND other = CreateWindowW(L"TovanPlainWindow", L"", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(other, nullptr);
  std::vector<std::pair<UINT, WPARAM>> received;
  plain_messages = &received;
  const auto handle = reinterpret_cast<std::uintptr_t>(other);
  platform->hotkeys.ForwardHotkeysOf(handle, true);
  SendMessageW(other, WM_HOTKEY, 7, 0);
  platform->hotkeys.ForwardHotkeysOf(handle, false);
  SendMessageW(other, WM_HOTKEY, 8, 0);
  DestroyWindow(other);
  plain_messages = nullptr;
  EXPECT_EQ(Hotkeys::kForwardedHotkey, 0x8075);
  EXPECT_EQ(received, (std::vector<std::pair<UINT, WPARAM>>{{0x8075, 7}, {WM_HOTKEY, 8}}));
}

}  // namespace
}  // namespace tovan::rt::win32
