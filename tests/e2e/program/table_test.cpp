// The data table by hand: rows from a save slot, a cell edited in place and
// committed with the 内容 header, Shift-click checking.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <filesystem>

#include "driver/controls.h"
#include "driver/gtest_hooks.h"
#include "driver/screenshot.h"
#include "driver/input.h"
#include "driver/remote_list.h"
#include "driver/wait_until.h"
#include "driver/window.h"
#include "tests/e2e/program/program_fixture.h"

namespace tovan::e2e {
namespace {

std::filesystem::path SlotFile(const char* utf8_name) {
  return std::filesystem::path(ThisExeDirectory() + L"\\" + Utf8ToWide(utf8_name));
}

class TableTest : public TovanTest {
 protected:
  void SetUp() override {
    // Slot A holds five rows (GBK, each ended by "★"); no check states.
    std::ofstream(SlotFile("保存A.txt"), std::ios::binary) << "\xD5\xC5\xC8\xFD\xA1\xEF" "b\xA1\xEF" "c\xA1\xEF"
                                                                "d\xA1\xEF" "e\xA1\xEF";
    std::filesystem::remove(SlotFile("跳快数据A.txt"));
    std::filesystem::remove(SlotFile("选择框.txt"));
    TovanTest::SetUp();
    if (HasFatalFailure()) return;
    table_ = Control("超级列表框1");
    ASSERT_TRUE(ClickButton(Control("打开A")));
    ASSERT_TRUE(WaitUntil([&] { return ListItemCount(table_) == 5; }));
    ActivateWindow();
  }

  void TearDown() override {
    TovanTest::TearDown();
    for (const char* name : {"保存A.txt", "选择框.txt"}) std::filesystem::remove(SlotFile(name));
  }
  std::vector<bool> Checks() {
    std::vector<bool> out;
    for (int row = 0; row < 5; ++row) out.push_back(ListChecked(table_, row).value_or(false));
    return out;
  }
  HWND table_ = nullptr;
};

TEST_F(TableTest, ASlotOpensIntoNumberedRows) {
  // A picture of the window with rows, kept with the test results.
  EXPECT_TRUE(SaveScreenshot(ResultsDirectory() + L"\\tovan-table-rows.bmp"));
  EXPECT_EQ(ListCellText(table_, 0, 0), "1");
  EXPECT_EQ(ListCellText(table_, 0, 1), "张三");
  EXPECT_EQ(ListCellText(table_, 4, 0), "5");
  EXPECT_EQ(ListCellText(table_, 4, 1), "e");
}

TEST_F(TableTest, ARowTypedInTheContentEditorIsCommittedByTheContentHeader) {
  const auto cell = ListCellPoint(table_, 1, 1);
  ASSERT_TRUE(cell);
  ASSERT_TRUE(DoubleClickAt(*cell));
  HWND editor = Control("编辑框1009");
  ASSERT_TRUE(WaitUntil([&] { return IsShown(editor) && FocusOf(editor) == editor; }));
  EXPECT_EQ(WindowText(editor), "b\r\n");
  ASSERT_TRUE(TypeText("李四"));
  ASSERT_TRUE(PressKey(VK_RETURN));
  ASSERT_TRUE(PressKey(VK_RETURN));
  ASSERT_TRUE(TypeText("王五"));
  ASSERT_TRUE(WaitUntil([&] { return WindowText(editor) == "b\r\n李四\r\n\r\n王五"; })) << *WindowText(editor);
  const auto header = ListHeaderPoint(table_, 1);
  ASSERT_TRUE(header);
  ASSERT_TRUE(ClickAt(*header));
  EXPECT_TRUE(WaitUntil([&] { return ListCellText(table_, 1, 1) == "b\r\n李四\r\n王五"; })) << *ListCellText(table_, 1, 1);
  EXPECT_TRUE(WaitUntil([&] { return !IsShown(editor); }));
  EXPECT_EQ(ListCellText(table_, 0, 1), "张三");
  EXPECT_EQ(ListChecked(table_, 1), false) << "a double click on a cell is no click on its check box";
}

TEST_F(TableTest, ShiftClickChecksEveryRowFromTheAnchor) {
  ASSERT_TRUE(ClickListCheckBox(table_, 1));  // anchor: row 2
  ASSERT_TRUE(WaitUntil([&] { return Checks() == std::vector<bool>{false, true, false, false, false}; }));
  // Shift is held until the click has been handled, as a user holds it.
  ASSERT_TRUE(KeyDown(VK_SHIFT));
  const bool clicked = ClickListCheckBox(table_, 4);
  const bool ranged = WaitUntil([&] { return Checks() == std::vector<bool>{false, true, true, true, true}; });
  ASSERT_TRUE(KeyUp(VK_SHIFT));
  ASSERT_TRUE(clicked);
  EXPECT_TRUE(ranged);
  // Every change is kept in the check-state file.
  EXPECT_TRUE(WaitUntil([&] {
    std::ifstream in(SlotFile("选择框.txt"), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {}) == "2\r\n3\r\n4\r\n5\r\n";
  }));
}

}  // namespace
}  // namespace tovan::e2e
