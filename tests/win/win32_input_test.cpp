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

}  // namespace
}  // namespace tovan::rt::win32
