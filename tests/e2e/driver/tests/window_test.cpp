// Finding another program's windows and reading them across processes.
#include <gtest/gtest.h>

#include "driver/wait_until.h"
#include "driver/window.h"
#include "target_fixture.h"

namespace tovan::e2e {
namespace {

TEST_F(TargetTest, WindowIsFoundByExactTitleAndOwner) {
  EXPECT_EQ(ProcessIdOf(window_), program_.Id());
  EXPECT_EQ(ClassNameOf(window_), "TovanTarget");
  EXPECT_TRUE(IsShown(window_));
  EXPECT_EQ(FindTopWindow("Tovan Target", 0), window_);
  EXPECT_EQ(FindTopWindow("Tovan Target", 0, program_.Id(), false), window_);
  EXPECT_EQ(FindTopWindow("Tovan Targe", 0), nullptr);
  EXPECT_EQ(FindTopWindow("Tovan Target", 0, GetCurrentProcessId()), nullptr);
}

TEST_F(TargetTest, FieldsAreFoundByIdClassAndLabel) {
  for (int id = 101; id <= 105; ++id) {
    ASSERT_NE(Child(id), nullptr) << "field " << id;
    EXPECT_EQ(ClassNameOf(Child(id)), "Edit") << "field " << id;
  }
  EXPECT_EQ(FindChildByClass(window_, L"edit", 0), Child(101));
  EXPECT_EQ(FindChildByClass(window_, L"EDIT", 4), Child(105));
  EXPECT_EQ(FindChildByClass(window_, L"EDIT", 5), nullptr);

  HWND label = FindChildByText(window_, "字段3");
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(ClassNameOf(label), "Static");
  EXPECT_EQ(WindowText(label), "字段3");
  // The label sits on the left of its field, on the same line.
  const RECT label_rect = WindowRect(label);
  const RECT field_rect = WindowRect(Child(103));
  EXPECT_LE(label_rect.right, field_rect.left);
  EXPECT_LT(label_rect.top, field_rect.bottom);
  EXPECT_GT(label_rect.bottom, field_rect.top);
  EXPECT_EQ(FindChildByText(window_, "字段9"), nullptr);
}

TEST_F(TargetTest, GeometryIsInScreenCoordinates) {
  const RECT frame = WindowRect(window_);
  EXPECT_EQ(frame.right - frame.left, 420);
  EXPECT_EQ(frame.bottom - frame.top, 300);
  // The client area starts below the caption, inside the frame.
  const POINT origin = ClientOrigin(window_);
  EXPECT_GT(origin.x, frame.left);
  EXPECT_GT(origin.y, frame.top);
  EXPECT_LT(origin.y, frame.top + 60);
  const POINT centre = CenterOf(Child(101));
  const RECT field = WindowRect(Child(101));
  EXPECT_TRUE(PtInRect(&field, centre));
  EXPECT_TRUE(PtInRect(&frame, centre));
}

TEST_F(TargetTest, TextIsSetAndReadAcrossProcesses) {
  ASSERT_TRUE(SetWindowTextTo(Child(104), "李四 123"));
  EXPECT_EQ(WindowText(Child(104)), "李四 123");
  ASSERT_TRUE(SetWindowTextTo(Child(104), ""));
  EXPECT_EQ(WindowText(Child(104)), "");
  const std::string long_text(3000, 'x');
  ASSERT_TRUE(SetWindowTextTo(Child(105), long_text));
  EXPECT_EQ(WindowText(Child(105)), long_text);
}

TEST_F(TargetTest, FocusStartsInFirstField) {
  EXPECT_TRUE(WaitUntil([&] { return FocusOf(window_) == Child(101); }));
}

}  // namespace
}  // namespace tovan::e2e
