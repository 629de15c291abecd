// Combo box, button and list views (virtual and ordinary) of another
// program, driven so that the program is notified; the target reports the
// notifications it got in its status line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/assertions.h"
#include "driver/controls.h"
#include "driver/program_window_test.h"
#include "driver/remote_list.h"
#include "driver/window.h"

namespace tovan::e2e {
namespace {

class ControlsTest : public ProgramWindowTest {
 protected:
  void SetUp() override {
    Launch(L"tovan_controls_target.exe", "Tovan Controls Target");
    combo_ = Child(201);
    button_ = Child(202);
    list_ = Child(203);
    ASSERT_NE(combo_, nullptr);
    ASSERT_NE(button_, nullptr);
    ASSERT_NE(list_, nullptr);
  }

  ::testing::AssertionResult StatusBecomes(const std::string& expected) {
    return TextBecomes(Child(204), expected);
  }

  HWND combo_ = nullptr;
  HWND button_ = nullptr;
  HWND list_ = nullptr;
};

TEST_F(ControlsTest, ComboItemsAreReadAndSelectionNotifiesOwner) {
  EXPECT_EQ(ComboCount(combo_), 3);
  EXPECT_EQ(ComboItems(combo_), (std::vector<std::string>{"甲", "乙", "丙"}));
  EXPECT_EQ(ComboItemText(combo_, 1), "乙");
  EXPECT_EQ(ComboItemText(combo_, 3), std::nullopt);
  EXPECT_EQ(ComboSelection(combo_), 0);

  ASSERT_TRUE(SelectComboItem(combo_, 2));
  EXPECT_EQ(ComboSelection(combo_), 2);
  EXPECT_TRUE(StatusBecomes("selchange 2"));
  EXPECT_FALSE(SelectComboItem(combo_, 7));
}

TEST_F(ControlsTest, ButtonClickNotifiesOwnerEachTime) {
  ASSERT_TRUE(ClickButton(button_));
  EXPECT_TRUE(StatusBecomes("clicked 1"));
  ASSERT_TRUE(ClickButton(button_));
  EXPECT_TRUE(StatusBecomes("clicked 2"));
}

TEST_F(ControlsTest, VirtualListColumnsAndCellsAreRead) {
  EXPECT_EQ(ListItemCount(list_), 5);
  EXPECT_EQ(ListColumnCount(list_), 2);
  EXPECT_EQ(ListColumns(list_), (std::vector<ListColumn>{{"姓名", 120}, {"电话", 140}}));
  EXPECT_EQ(ListCellText(list_, 0, 0), "张三");
  EXPECT_EQ(ListCellText(list_, 0, 1), "13800000000");
  EXPECT_EQ(ListCellText(list_, 4, 0), "钱七");
  EXPECT_EQ(ListCellText(list_, 4, 1), "13800000004");
}

TEST_F(ControlsTest, VirtualListCheckStatesAreReadAndToggledByClicks) {
  std::vector<std::optional<bool>> checks;
  for (int row = 0; row < 5; ++row) checks.push_back(ListChecked(list_, row));
  EXPECT_EQ(checks, (std::vector<std::optional<bool>>{false, true, false, true, false}));

  const auto box = ListCheckBoxPoint(list_, 0);
  ASSERT_TRUE(box.has_value());
  const RECT list_rect = WindowRect(list_);
  EXPECT_TRUE(PtInRect(&list_rect, *box));

  ASSERT_TRUE(ClickListCheckBox(list_, 0));
  EXPECT_TRUE(StatusBecomes("checked 203 0 1"));
  EXPECT_EQ(ListChecked(list_, 0), true);
  ASSERT_TRUE(ClickListCheckBox(list_, 3));
  EXPECT_TRUE(StatusBecomes("checked 203 3 0"));
  EXPECT_EQ(ListChecked(list_, 3), false);
  EXPECT_EQ(ListChecked(list_, 1), true);
}

TEST_F(ControlsTest, OrdinaryListCheckStatesAreSetRemotely) {
  HWND plain = Child(205);
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(ListItemCount(plain), 3);
  EXPECT_EQ(ListCellText(plain, 2, 0), "项目3");
  EXPECT_EQ(ListChecked(plain, 1), false);

  ASSERT_TRUE(SetListChecked(plain, 1, true));
  EXPECT_TRUE(StatusBecomes("checked 205 1 1"));
  EXPECT_EQ(ListChecked(plain, 1), true);
  ASSERT_TRUE(SetListChecked(plain, 1, false));
  EXPECT_TRUE(StatusBecomes("checked 205 1 0"));
  EXPECT_EQ(ListChecked(plain, 1), false);
}

}  // namespace
}  // namespace tovan::e2e
