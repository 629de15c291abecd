// Typing, key chords and mouse clicks reaching another program's fields.
#include <gtest/gtest.h>

#include "driver/assertions.h"
#include "driver/clipboard.h"
#include "driver/input.h"
#include "driver/wait_until.h"
#include "driver/window.h"
#include "target_fixture.h"

namespace tovan::e2e {
namespace {

using TypingTest = TargetTest;

TEST_F(TypingTest, UnicodeTextArrivesInFocusedField) {
  ASSERT_TRUE(FocusControl(Child(101)));
  ASSERT_TRUE(TypeText("张三"));
  EXPECT_TRUE(TextBecomes(Child(101), "张三"));
  ASSERT_TRUE(TypeText(" Zhang-3 \xF0\x9F\x98\x80"));  // a character outside the BMP: two units
  EXPECT_TRUE(TextBecomes(Child(101), "张三 Zhang-3 \xF0\x9F\x98\x80"));
}

TEST_F(TypingTest, TabMovesToNextFieldAndShiftTabBack) {
  ASSERT_TRUE(FocusControl(Child(101)));
  ASSERT_TRUE(TypeText("张三"));
  ASSERT_TRUE(TextBecomes(Child(101), "张三"));
  ASSERT_TRUE(PressKey(VK_TAB));
  ASSERT_TRUE(WaitUntil([&] { return FocusOf(window_) == Child(102); }));
  ASSERT_TRUE(TypeText("李四"));
  EXPECT_TRUE(TextBecomes(Child(102), "李四"));
  EXPECT_EQ(WindowText(Child(101)), "张三");

  ASSERT_TRUE(PressChord({VK_SHIFT}, VK_TAB));
  EXPECT_TRUE(WaitUntil([&] { return FocusOf(window_) == Child(101); }));
}

TEST_F(TypingTest, ChordsPasteAndSelect) {
  ASSERT_TRUE(SetClipboardText("粘贴 paste"));
  ASSERT_TRUE(FocusControl(Child(103)));
  ASSERT_TRUE(TypeText("abc "));
  ASSERT_TRUE(PressChord({VK_CONTROL}, 'V'));
  EXPECT_TRUE(TextBecomes(Child(103), "abc 粘贴 paste"));
  // Shift+Home selects back to the start (Home is an extended key).
  ASSERT_TRUE(PressChord({VK_SHIFT}, VK_HOME));
  ASSERT_TRUE(PressKey(VK_BACK));
  EXPECT_TRUE(TextBecomes(Child(103), ""));
  // Ctrl+Shift+Left selects the word before the caret.
  ASSERT_TRUE(TypeText("one two"));
  ASSERT_TRUE(PressChord({VK_CONTROL, VK_SHIFT}, VK_LEFT));
  ASSERT_TRUE(PressChord({VK_CONTROL}, 'C'));
  EXPECT_TRUE(WaitUntil([] { return ClipboardText() == "two"; }));
}

TEST_F(TypingTest, VirtualKeysFollowHeldModifiers) {
  ASSERT_TRUE(FocusControl(Child(102)));
  ASSERT_TRUE(PressKey('A'));
  ASSERT_TRUE(KeyDown(VK_SHIFT));
  ASSERT_TRUE(PressKey('B'));
  ASSERT_TRUE(PressKey('1'));
  ASSERT_TRUE(KeyUp(VK_SHIFT));
  ASSERT_TRUE(PressKey('C'));
  EXPECT_TRUE(TextBecomes(Child(102), "aB!c"));
  // Arrow keys move the caret: Home, then a character lands first.
  ASSERT_TRUE(PressKey(VK_HOME));
  ASSERT_TRUE(PressKey(VK_RIGHT));
  ASSERT_TRUE(TypeText("-"));
  EXPECT_TRUE(TextBecomes(Child(102), "a-B!c"));
}

TEST_F(TypingTest, MemoTakesEnterAsNewLine) {
  ASSERT_TRUE(FocusControl(Child(105)));
  ASSERT_TRUE(TypeText("第一行"));
  ASSERT_TRUE(PressKey(VK_RETURN));
  ASSERT_TRUE(TypeText("第二行"));
  EXPECT_TRUE(TextBecomes(Child(105), "第一行\r\n第二行"));
}

using MouseTest = TargetTest;

TEST_F(MouseTest, ClickLandsOnThePointAndFocusesTheField) {
  const POINT centre = CenterOf(Child(103));
  ASSERT_TRUE(ClickControl(Child(103)));
  EXPECT_TRUE(WaitUntil([&] { return FocusOf(window_) == Child(103); }));
  POINT cursor{};
  ASSERT_TRUE(GetCursorPos(&cursor));
  EXPECT_EQ(cursor.x, centre.x);
  EXPECT_EQ(cursor.y, centre.y);

  // Points across the whole screen map back exactly.
  for (POINT target : {POINT{0, 0}, POINT{1, 1}, POINT{639, 511}, POINT{1279, 1023}}) {
    ASSERT_TRUE(MoveMouseTo(target));
    EXPECT_TRUE(WaitUntil([&] {
      return GetCursorPos(&cursor) && cursor.x == target.x && cursor.y == target.y;
    })) << "aimed at " << target.x << "," << target.y << ", cursor at " << cursor.x << ","
        << cursor.y;
  }
}

TEST_F(MouseTest, DoubleClickSelectsAWord) {
  HWND field = Child(104);
  ASSERT_TRUE(SetWindowTextTo(field, "hello world"));
  // EM_POSFROMCHAR: client position of a character (no pointers involved).
  const auto position = SendWithTimeout(field, EM_POSFROMCHAR, 8, 0);
  ASSERT_TRUE(position.has_value());
  POINT point{static_cast<short>(LOWORD(*position)) + 2, static_cast<short>(HIWORD(*position)) + 6};
  ClientToScreen(field, &point);
  ASSERT_TRUE(DoubleClickAt(point));
  ASSERT_TRUE(WaitUntil([&] { return FocusOf(window_) == field; }));
  ASSERT_TRUE(TypeText("X"));
  EXPECT_TRUE(TextBecomes(field, "hello X"));
}

}  // namespace
}  // namespace tovan::e2e
