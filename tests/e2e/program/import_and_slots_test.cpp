// Files dropped on the table through the real drag-and-drop path, and a
// table saved into a slot, cleared and opened again.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>

#include "driver/clipboard.h"
#include "driver/controls.h"
#include "driver/drop.h"
#include "driver/input.h"
#include "driver/remote_list.h"
#include "driver/wait_until.h"
#include "driver/window.h"
#include "tests/e2e/program/program_fixture.h"

namespace tovan::e2e {
namespace {

std::filesystem::path Beside(const char* utf8_name) {
  return std::filesystem::path(ThisExeDirectory() + L"\\" + Utf8ToWide(utf8_name));
}

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class ImportAndSlotsTest : public TovanTest {
 protected:
  void SetUp() override {
    for (const char* name : {"保存B.txt", "跳快数据B.txt", "选择框.txt", "保存B.txt.old~"})
      std::filesystem::remove(Beside(name));
    TovanTest::SetUp();
    if (HasFatalFailure()) return;
    table_ = Control("超级列表框1");
  }
  void TearDown() override {
    TovanTest::TearDown();
    for (const char* name : {"保存B.txt", "跳快数据B.txt", "选择框.txt", "导入 一.txt", "导入 二.txt", "保存B.txt.old~"})
      std::filesystem::remove(Beside(name));
  }
  void ChooseImportMode(const char* mode) { ASSERT_TRUE(SelectComboItem(Control("导入方式"), std::string_view(mode))); }
  // Drops a file of these GBK bytes in the middle of the table.
  void DropOnTable(const char* utf8_name, const std::string& bytes) {
    std::ofstream(Beside(utf8_name), std::ios::binary) << bytes;
    std::string error;
    ASSERT_TRUE(DropFiles(CenterOf(table_), {Beside(utf8_name).wstring()}, &error)) << error;
  }
  std::vector<std::string> Column(int column) {
    std::vector<std::string> out;
    for (int row = 0; row < ListItemCount(table_); ++row) out.push_back(ListCellText(table_, row, column).value_or("?"));
    return out;
  }
  HWND table_ = nullptr;
};

TEST_F(ImportAndSlotsTest, DroppedFilesBecomeRowsByTheImportMode) {
  ChooseImportMode("Excel制表符录入");
  // The cells copied from the spreadsheet are no longer needed once imported.
  ASSERT_TRUE(SetClipboardText("copied cells"));
  // 张三 Tab 李四, a line with an empty cell, 王五.
  DropOnTable("导入 一.txt", "\xD5\xC5\xC8\xFD\t\xC0\xEE\xCB\xC4\r\n\t\xCD\xF5\xCE\xE5\r\n");
  ASSERT_TRUE(WaitUntil([&] { return ListItemCount(table_) == 3; })) << ListItemCount(table_);
  EXPECT_EQ(Column(1), (std::vector<std::string>{"张三", "李四", "王五"}));
  EXPECT_TRUE(WaitUntil([] { return ClipboardText() == std::nullopt; }, 3000)) << *ClipboardText();
  ChooseImportMode("单次录入");
  DropOnTable("导入 二.txt", "line 1\r\nline 2");
  ASSERT_TRUE(WaitUntil([&] { return ListItemCount(table_) == 4; })) << ListItemCount(table_);
  EXPECT_EQ(Column(0), (std::vector<std::string>{"1", "2", "3", "4"}));
  EXPECT_EQ(ListCellText(table_, 3, 1), "line 1\r\nline 2");
  // As today's Notepad saves: UTF-8 without a mark.
  ChooseImportMode("自定义分割符录入");
  DropOnTable("导入 一.txt", "张三\r\n李四\r\n王五");
  ASSERT_TRUE(WaitUntil([&] { return ListItemCount(table_) == 7; })) << ListItemCount(table_);
  EXPECT_EQ(Column(1), (std::vector<std::string>{"张三", "李四", "王五", "line 1\r\nline 2", "张三", "李四", "王五"}));
}

TEST_F(ImportAndSlotsTest, ASaveWaitsOutAFileHeldForAMomentAndSaysSoWhenItStaysHeld) {
  ChooseImportMode("单次录入");
  DropOnTable("导入 一.txt", "new");
  ASSERT_TRUE(WaitUntil([&] { return ListItemCount(table_) == 1; }));
  const std::string old = "old\xA1\xEF";
  std::ofstream(Beside("保存B.txt"), std::ios::binary) << old;
  // Held with no sharing, as a virus scanner or a sync client holds it.
  const auto hold = [] {
    return CreateFileW(Beside("保存B.txt").wstring().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  };
  HANDLE held = hold();
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(ClickButton(Control("保存B")));
  Sleep(1000);
  CloseHandle(held);
  EXPECT_TRUE(WaitUntil([&] { return ReadAll(Beside("保存B.txt")) == "new\xA1\xEF"; }));
  EXPECT_FALSE(BalloonShown());
  // Held for good: the balloon says so, and the old file is as it was.
  std::ofstream(Beside("保存B.txt"), std::ios::binary | std::ios::trunc) << old;
  held = hold();
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(ClickButton(Control("保存B")));
  EXPECT_TRUE(WaitUntil([&] { return BalloonShown(); }, 8000));
  // The window answered throughout.
  EXPECT_TRUE(SendWithTimeout(window_, WM_NULL, 0, 0, 100).has_value());
  CloseHandle(held);
  EXPECT_EQ(ReadAll(Beside("保存B.txt")), old);
}

TEST_F(ImportAndSlotsTest, ASavedSlotComesBackWithItsCellsAndChecks) {
  ChooseImportMode("自定义分割符录入");
  ASSERT_TRUE(SetWindowTextTo(Control("分割符"), ","));
  DropOnTable("导入 一.txt", "a,\xD5\xC5\xC8\xFD\r\nsecond line,c");
  ASSERT_TRUE(WaitUntil([&] { return ListItemCount(table_) == 3; })) << ListItemCount(table_);
  // Skip counts for every row from the batch list, then row 2 checked.
  const auto skip_cell = ListCellPoint(table_, 0, 2);
  ASSERT_TRUE(skip_cell);
  ASSERT_TRUE(ClickAt(*skip_cell));
  // The click has been handled once the list has made the row current.
  ASSERT_TRUE(WaitUntil([&] { return SendWithTimeout(table_, LVM_GETNEXTITEM, -1, LVNI_SELECTED) == 0; }));
  ASSERT_TRUE(SelectComboItem(Control("组合框63"), 2));  // "2"
  ASSERT_TRUE(WaitUntil([&] { return Column(2) == std::vector<std::string>{"2", "2", "2"}; }));
  ASSERT_TRUE(ClickListCheckBox(table_, 1));
  ASSERT_TRUE(WaitUntil([&] { return ReadAll(Beside("选择框.txt")) == "2\r\n"; }));

  ASSERT_TRUE(ClickButton(Control("保存B")));
  ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(Beside("跳快数据B.txt")); }));
  EXPECT_EQ(ReadAll(Beside("保存B.txt")), "a\xA1\xEF\xD5\xC5\xC8\xFD\r\nsecond line\xA1\xEF" "c\xA1\xEF");
  EXPECT_EQ(ReadAll(Beside("跳快数据B.txt")), "2\xA1\xEF\xA1\xEF\r\n2\xA1\xEF\xA1\xEF\r\n2\xA1\xEF\xA1\xEF\r\n");

  ASSERT_TRUE(ClickButton(Control("按钮2")));
  ASSERT_TRUE(WaitUntil([&] { return ListItemCount(table_) == 0; }));
  // As a save cut short by a crash leaves it: the rows moved aside, the new
  // file not yet in place. Opening the slot puts them back.
  std::filesystem::rename(Beside("保存B.txt"), Beside("保存B.txt.old~"));
  ASSERT_TRUE(ClickButton(Control("打开B")));
  ASSERT_TRUE(WaitUntil([&] { return ListItemCount(table_) == 3 && ListChecked(table_, 1) == true; }));
  EXPECT_EQ(Column(1), (std::vector<std::string>{"a", "张三\r\nsecond line", "c"}));
  EXPECT_EQ(Column(2), (std::vector<std::string>{"2", "2", "2"}));
  EXPECT_EQ(ListChecked(table_, 0), false);
  EXPECT_EQ(ListChecked(table_, 2), false);
}

}  // namespace
}  // namespace tovan::e2e
