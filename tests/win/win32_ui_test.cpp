#include "tests/win/win32_fixture.h"

#include <commctrl.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "runtime/win32/wide.h"

namespace tovan::rt::win32 {
namespace {

class Rows : public ListModel {
 public:
  explicit Rows(std::size_t count) : checked_(count, false) {}
  std::size_t RowCount() const override { return checked_.size(); }
  std::string_view Cell(std::size_t row, std::size_t column) const override {
    text_ = column == 0 ? std::to_string(row + 1) : "第" + std::to_string(row) + "行";
    return text_;
  }
  bool Checked(std::size_t row) const override { return checked_[row]; }
  void SetChecked(std::size_t row, bool checked) override { checked_[row] = checked; }

 private:
  std::vector<bool> checked_;
  mutable std::string text_;
};

std::wstring WindowText(HWND window) {
  wchar_t buffer[256] = {};
  GetWindowTextW(window, buffer, 256);
  return buffer;
}

using Win32UiTest = Win32Test;

TEST_F(Win32UiTest, OnScreenUnitsAreRealControlsAndOffScreenOnesPlainState) {
  EXPECT_NE(Control("编辑框"), nullptr);
  EXPECT_EQ(Control("藏"), nullptr);
  platform->ui["藏"].SetText("42");
  EXPECT_EQ(platform->ui["藏"].Text(), "42");
  EXPECT_EQ(WindowText(window), L"Tovan 测试窗口");
  RECT r{};
  GetWindowRect(window, &r);
  EXPECT_EQ(r.right - r.left, platform->ui.Scale(460));
  EXPECT_EQ(r.bottom - r.top, platform->ui.Scale(400));
  const Rect bounds = platform->ui["窗口"].Bounds();
  EXPECT_EQ(bounds.width, r.right - r.left);
}

TEST_F(Win32UiTest, TextsCrossTheBoundaryAsUnicode) {
  platform->ui["编辑框"].SetText("张三 abc");
  EXPECT_EQ(WindowText(Control("编辑框")), L"张三 abc");
  SetWindowTextW(Control("多行"), L"李四\r\n王五");  // as if typed
  EXPECT_EQ(platform->ui["多行"].Text(), "李四\r\n王五");
  platform->ui["按钮"].SetText("关闭复制");
  EXPECT_EQ(WindowText(Control("按钮")), L"关闭复制");
}

TEST_F(Win32UiTest, CombosAndCheckBoxesReadBackWhatTheUserChose) {
  Unit& combo = platform->ui["组合框"];
  EXPECT_EQ(combo.Selection(), 1);
  EXPECT_EQ(combo.Text(), "20");
  SendMessageW(Control("组合框"), CB_SETCURSEL, 2, 0);
  EXPECT_EQ(combo.Text(), "50");
  combo.SetSelection(0);
  EXPECT_EQ(SendMessageW(Control("组合框"), CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(platform->ui["可编辑"].Text(), "1");
  int clicks = 0;
  platform->ui.Bind("选择框", EventKind::kClicked, [&](const Event&) { ++clicks; });
  SendMessageW(Control("选择框"), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(platform->ui["选择框"].Checked());
}

TEST_F(Win32UiTest, ButtonClicksAndSelectionChangesRaiseEvents) {
  std::vector<std::string> story;
  platform->ui.Bind("按钮", EventKind::kClicked, [&](const Event&) { story.push_back("clicked"); });
  platform->ui.Bind("组合框", EventKind::kSelectionChanged,
                    [&](const Event& e) { story.push_back("chose " + std::to_string(e.code)); });
  SendMessageW(Control("按钮"), BM_CLICK, 0, 0);
  SendMessageW(Control("组合框"), CB_SETCURSEL, 2, 0);
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Control("组合框")), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(Control("组合框")));
  EXPECT_EQ(story, (std::vector<std::string>{"clicked", "chose 2"}));
}

TEST_F(Win32UiTest, FocusChangesRaiseGotAndLostFocus) {
  std::vector<std::string> story;
  platform->ui.Bind("编辑框", EventKind::kGotFocus, [&](const Event&) { story.push_back("got"); });
  platform->ui.Bind("编辑框", EventKind::kLostFocus, [&](const Event&) { story.push_back("lost"); });
  platform->ui["编辑框"].Focus();
  EXPECT_EQ(platform->ui.FocusedUnit(), "编辑框");
  platform->ui["多行"].Focus();
  EXPECT_EQ(story, (std::vector<std::string>{"got", "lost"}));
}

TEST_F(Win32UiTest, TimersTickWhileTheProgramWaits) {
  int ticks = 0;
  platform->ui.Bind("时钟", EventKind::kTick, [&](const Event&) { ++ticks; });
  platform->ui["时钟"].SetTimerPeriod(10);
  EXPECT_TRUE(PumpUntil([&] { return ticks >= 3; }));
  platform->ui["时钟"].SetTimerPeriod(0);
  const int stopped_at = ticks;
  platform->clock.Wait(100);
  EXPECT_EQ(ticks, stopped_at);
}

TEST_F(Win32UiTest, TheListShowsAMillionModelRowsOnDemand) {
  Rows rows(1'000'000);
  ListUnit& list = platform->ui.List("列表");
  list.SetModel(&rows);
  list.RowsChanged();
  HWND view = Control("列表");
  EXPECT_EQ(ListView_GetItemCount(view), 1'000'000);
  wchar_t text[64] = {};
  ListView_GetItemText(view, 999'999, 1, text, 64);
  EXPECT_EQ(std::wstring(text), L"第999999行");
  EXPECT_EQ(list.ColumnWidth(1), 180);
}

TEST_F(Win32UiTest, ListCurrentRowHitTestAndChecks) {
  Rows rows(50);
  ListUnit& list = platform->ui.List("列表");
  list.SetModel(&rows);
  list.RowsChanged();
  list.SetRowHeight(17);
  std::vector<int> current;
  platform->ui.Bind("列表", EventKind::kItemNotify, [&](const Event& e) { current.push_back(e.row); });
  HWND view = Control("列表");
  list.SetCurrentRow(3);
  EXPECT_EQ(list.CurrentRow(), 3);
  platform->clock.Wait(0);  // the list view shows the row once events run
  EXPECT_EQ(ListView_GetNextItem(view, -1, LVNI_SELECTED), 3);
  list.SetCurrentRow(50);  // past the end: no row
  EXPECT_EQ(list.CurrentRow(), -1);
  EXPECT_EQ(current, (std::vector<int>{3, -1}));
  // The user picks a row before the list view showed the one set: the
  // user's row stays.
  list.SetCurrentRow(7);
  ListView_SetItemState(view, 9, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  platform->clock.Wait(0);
  EXPECT_EQ(list.CurrentRow(), 9);
  EXPECT_EQ(ListView_GetNextItem(view, -1, LVNI_SELECTED), 9);
  EXPECT_EQ(current.at(2), 7);
  EXPECT_EQ(current.back(), 9);

  const Point origin = list.RowOrigin(2);
  const CellHit hit = list.HitTest({origin.x + 53 + 10, origin.y + 5});
  EXPECT_EQ(hit, (CellHit{2, 1}));
  const Point next = list.RowOrigin(3);
  EXPECT_EQ(next.y - origin.y, 17);

  // Another program ticks a row's check box through the list view.
  std::vector<std::pair<int, int>> checks;
  platform->ui.Bind("列表", EventKind::kCheckChanged, [&](const Event& e) { checks.emplace_back(e.row, e.state); });
  ListView_SetItemState(Control("列表"), 4, INDEXTOSTATEIMAGEMASK(2), LVIS_STATEIMAGEMASK);
  EXPECT_TRUE(rows.Checked(4));
  EXPECT_EQ(checks, (std::vector<std::pair<int, int>>{{4, 1}}));
  EXPECT_EQ(ListView_GetItemState(Control("列表"), 4, LVIS_STATEIMAGEMASK) >> 12, 2u);
}

TEST_F(Win32UiTest, HeaderClicksCarryTheColumn) {
  int column = -1;
  platform->ui.Bind("列表", EventKind::kHeaderClicked, [&](const Event& e) { column = e.code; });
  NMLISTVIEW click{};
  click.hdr.hwndFrom = Control("列表");
  click.hdr.idFrom = GetDlgCtrlID(Control("列表"));
  click.hdr.code = LVN_COLUMNCLICK;
  click.iItem = -1;
  click.iSubItem = 2;
  SendMessageW(window, WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
  EXPECT_EQ(column, 2);
}

TEST_F(Win32UiTest, FilesDroppedOnARegisteredControlReachItsDropTarget) {
  std::vector<std::string> dropped;
  platform->ui.Bind("拖放对象1", EventKind::kDropped, [&](const Event& e) { dropped = e.files; });
  platform->ui.RegisterDropTarget("拖放对象1", "列表");
  static const wchar_t kPaths[] = L"C:\\数据 1.txt\0D:\\b.txt\0";  // ends in two zeros
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + sizeof kPaths);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  std::copy(std::begin(kPaths), std::end(kPaths), reinterpret_cast<wchar_t*>(drop + 1));
  GlobalUnlock(memory);
  SendMessageW(Control("列表"), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);  // the handler frees it
  EXPECT_EQ(dropped, (std::vector<std::string>{"C:\\数据 1.txt", "D:\\b.txt"}));
}

TEST_F(Win32UiTest, ClosingRaisesClosingThenDestroyed) {
  std::vector<std::string> story;
  platform->ui.Bind("窗口", EventKind::kClosing, [&](const Event&) { story.push_back("closing"); });
  platform->ui.Bind("窗口", EventKind::kDestroyed, [&](const Event&) { story.push_back("destroyed"); });
  PostMessageW(window, WM_CLOSE, 0, 0);
  platform->ui.Run();  // returns once the window is gone
  EXPECT_TRUE(platform->ui.Destroyed());
  EXPECT_EQ(story, (std::vector<std::string>{"closing", "destroyed"}));
}

}  // namespace
}  // namespace tovan::rt::win32
