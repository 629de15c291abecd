// Timed scenario under Wine: the real program opens and saves a slot of a
// million rows, then a check click on that table and a 50 MB drop, while
// another thread asks the window every few milliseconds whether it answers.
// Everything runs twice, on a quiet machine and with a spinning process on
// every core, and beside each figure its reference from the same run: a
// report list filled row by row with the same rows (what a first version
// would do), and the file read and split with nothing else. Prints times,
// the longest unanswered message, the peak memory and the ratios.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/scenario_load.h"
#include "driver/controls.h"
#include "driver/drop.h"
#include "driver/input.h"
#include "driver/process.h"
#include "driver/remote_list.h"
#include "driver/text.h"
#include "driver/wait_until.h"
#include "driver/window.h"
#include "tests/e2e/program/program_fixture.h"

namespace {

using namespace tovan::e2e;
using tovan::bench::Clock;
using tovan::bench::Ms;
constexpr int kRows = 1'000'000;

std::string Gbk(const wchar_t* text) {
  const int n = WideCharToMultiByte(936, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(936, 0, text, -1, out.data(), n, nullptr, nullptr);
  out.resize(n - 1);
  return out;
}

std::wstring FromGbk(const std::string& bytes) {
  const int n = MultiByteToWideChar(936, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(936, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
  return out;
}

std::filesystem::path Beside(const char* utf8_name) {
  return std::filesystem::path(ThisExeDirectory() + L"\\" + Utf8ToWide(utf8_name));
}

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Splits at any of the separators.
std::vector<std::wstring> Split(const std::wstring& text, const wchar_t* separators) {
  std::vector<std::wstring> parts;
  std::size_t from = 0;
  for (std::size_t at = text.find_first_of(separators); at != std::wstring::npos;
       at = text.find_first_of(separators, from)) {
    parts.push_back(text.substr(from, at - from));
    from = at + 1;
  }
  if (from < text.size()) parts.push_back(text.substr(from));
  return parts;
}

// The reference for an open: the slot's files read, converted and split,
// and a report list control of the same five columns filled one row at a
// time, as a first version would fill it (with its redraw off while it
// fills). Wine's list control takes longer per row the more rows it holds
// (a full fill runs for minutes), so the fill is timed over the first
// 100,000 rows and scaled to all rows as if it did not: the figure is the
// least a full fill would take. Returns its milliseconds.
double FillListRowByRow() {
  constexpr std::size_t kFilled = 100'000;
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&classes);
  const auto start = Clock::now();
  const std::vector<std::wstring> rows = Split(FromGbk(ReadAll(Beside("保存A.txt"))), L"\u2605");
  const std::vector<std::wstring> extras = Split(FromGbk(ReadAll(Beside("跳快数据A.txt"))), L"\n");
  const double read_ms = Ms(Clock::now() - start);
  HWND window = CreateWindowW(L"STATIC", L"reference", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 460, 400, nullptr,
                              nullptr, nullptr, nullptr);
  HWND list = CreateWindowW(WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 440, 360, window, nullptr,
                            nullptr, nullptr);
  const wchar_t* titles[] = {L"序号", L"内容", L"跳格", L"暂停", L"自定义快捷键"};
  for (int c = 0; c < 5; ++c) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 80;
    column.pszText = const_cast<wchar_t*>(titles[c]);
    SendMessageW(list, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
  }
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);  // the usual care: no repaint per row
  const auto fill_start = Clock::now();
  for (std::size_t r = 0; r < rows.size() && r < kFilled; ++r) {
    std::wstring number = std::to_wstring(r + 1);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(r);
    item.pszText = number.data();
    const int at = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    std::vector<std::wstring> cells = r < extras.size() ? Split(extras[r], L"\u2605\r") : std::vector<std::wstring>{};
    cells.insert(cells.begin(), rows[r]);
    for (std::size_t c = 0; c < cells.size() && c < 4; ++c) {
      if (cells[c].empty()) continue;
      LVITEMW sub{};
      sub.iSubItem = static_cast<int>(c + 1);
      sub.pszText = cells[c].data();
      SendMessageW(list, LVM_SETITEMTEXTW, at, reinterpret_cast<LPARAM>(&sub));
    }
  }
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  UpdateWindow(window);
  const double fill_ms = Ms(Clock::now() - fill_start) * static_cast<double>(rows.size()) / kFilled;
  DestroyWindow(window);
  return read_ms + fill_ms;
}

// The reference for a drop: the file read, converted and split into its
// cells, with nothing else. Returns its milliseconds.
double ReadAndSplit(const std::filesystem::path& path, std::size_t* cells) {
  const auto start = Clock::now();
  const std::vector<std::wstring> parts = Split(FromGbk(ReadAll(path)), L"\t\n");
  *cells = parts.size();
  return Ms(Clock::now() - start);
}

void WriteSlotA() {
  const std::string customer = Gbk(L"客户");
  const std::string street = Gbk(L" 北京市朝阳区建国路 ");
  const std::string star = Gbk(L"★");
  std::string rows;
  std::string extras;
  rows.reserve(kRows * 44);
  char number[16];
  for (int i = 1; i <= kRows; ++i) {
    std::snprintf(number, sizeof number, "%07d", i);
    rows.append(customer).append(number).append(street).append("13800138000").append(star);
    extras.append(std::to_string(i % 4)).append(star).append(i % 10 == 0 ? Gbk(L"暂停") : "").append(star).append("\r\n");
  }
  std::ofstream(Beside("保存A.txt"), std::ios::binary) << rows;
  std::ofstream(Beside("跳快数据A.txt"), std::ios::binary) << extras;
  std::printf("slot A: %d rows, %.1f MB rows file, %.1f MB extras file\n", kRows, rows.size() / 1e6, extras.size() / 1e6);
}

// A 50 MB file of ten tab-separated cells per line; returns its cell count.
int WriteTable() {
  std::string tsv;
  int cells = 0;
  for (int line = 0; tsv.size() < 50'000'000; ++line)
    for (int cell = 0; cell < 10; ++cell, ++cells)
      tsv.append(Gbk(L"值")).append(std::to_string(line * 10 + cell)).append(cell < 9 ? "\t" : "\r\n");
  std::ofstream(Beside("表格.txt"), std::ios::binary) << tsv;
  std::printf("table: %.1f MB, %d cells\n", tsv.size() / 1e6, cells);
  return cells;
}

// The peak working set of a minimal window program (the end-to-end target:
// one window, five edit fields) under the same system, in MB: what any
// program holds before it holds anything of its own.
double MinimalWindowProgramMb() {
  ChildProcess target = ChildProcess::Start(ThisExeDirectory() + L"\\tovan_target.exe");
  const HWND window = FindTopWindow("Tovan Target", 10000, target.Id());
  if (!window || !target.WaitForInputIdle(10000)) return 0;
  const double mb = tovan::bench::PeakWorkingSetMb(target.Handle());
  PostMessageW(window, WM_CLOSE, 0, 0);
  target.WaitExit(5000);
  return mb;
}

// One pass of every action on a machine quiet or busy; false when a result
// was wrong.
bool Measure(bool busy, int cells) {
  std::printf("--- %s machine ---\n", tovan::bench::BusyMachine::Name(busy));
  tovan::bench::BusyMachine machine(busy);
  for (const char* name : {"选择框.txt", "保存B.txt", "跳快数据B.txt"}) std::filesystem::remove(Beside(name));
  const double fill_ms = FillListRowByRow();
  const double minimal_mb = MinimalWindowProgramMb();
  std::size_t split_cells = 0;
  const double split_ms = ReadAndSplit(Beside("表格.txt"), &split_cells);

  ChildProcess program = ChildProcess::Start(ThisExeDirectory() + L"\\tovan.exe");
  HWND window = FindTopWindow(kTovanTitle, 10000, program.Id());
  if (!window || !program.WaitForInputIdle(10000)) {
    std::printf("the program did not start\n");
    return false;
  }
  WaitUntil([&] { return WindowRect(window).left == GetSystemMetrics(SM_CXSCREEN) - 460 - 100; }, 10000);
  HWND table = ControlOf(window, "超级列表框1");
  tovan::bench::Prober prober(window);
  int failures = 0;
  const double memory_before_mb = tovan::bench::PeakWorkingSetMb(program.Handle());

  // Open: from the click until every row is in and the open has finished
  // (it makes the first row current last, after its 200 ms settling wait).
  auto start = Clock::now();
  ClickButton(ControlOf(window, "打开A"));
  WaitUntil([&] { return ListItemCount(table) == kRows; }, 60000, 1);
  const auto rows_in = Clock::now();
  const bool opened = WaitUntil([&] { return SendWithTimeout(table, LVM_GETNEXTITEM, -1, LVNI_SELECTED) == 0; }, 60000, 1);
  auto end = Clock::now();
  failures += !opened || ListCellText(table, kRows - 1, 2) != "0";
  const double file_mb = static_cast<double>(std::filesystem::file_size(Beside("保存A.txt"))) / 1e6;
  const double peak_mb = tovan::bench::PeakWorkingSetMb(program.Handle());
  const double after_mb = tovan::bench::WorkingSetMb(program.Handle());
  std::printf("open 10^6 rows: %6.0f ms until the rows are in, %6.0f ms until done (200 ms of it the settling wait); "
              "longest unanswered %5.1f ms; row-by-row list fill %6.0f ms: %.1fx faster\n",
              Ms(rows_in - start), Ms(end - start), prober.LongestMs(start, end), fill_ms, fill_ms / Ms(rows_in - start));
  std::printf("memory with 10^6 rows: peak working set %.0f MB, %.0f MB once open (%.0f MB before the open; a minimal "
              "window program %.0f MB) for a %.1f MB rows file: %.2fx the file, the rows adding %.2fx\n",
              peak_mb, after_mb, memory_before_mb, minimal_mb, file_mb, peak_mb / file_mb,
              (peak_mb - memory_before_mb) / file_mb);

  // Save into slot B: from the click until both files are in place.
  const auto expected_size = std::filesystem::file_size(Beside("保存A.txt"));
  start = Clock::now();
  ClickButton(ControlOf(window, "保存B"));
  const bool saved = WaitUntil([&] {
    std::error_code e;
    return std::filesystem::file_size(Beside("保存B.txt"), e) == expected_size &&
           std::filesystem::exists(Beside("跳快数据B.txt"), e);
  }, 60000, 1);
  end = Clock::now();
  const bool identical = saved && ReadAll(Beside("保存B.txt")) == ReadAll(Beside("保存A.txt")) &&
                         ReadAll(Beside("跳快数据B.txt")) == ReadAll(Beside("跳快数据A.txt"));
  failures += !identical;
  std::printf("save 10^6 rows: %6.0f ms until both files are written (byte-identical to slot A: %s); "
              "longest unanswered %5.1f ms\n", Ms(end - start), identical ? "yes" : "NO", prober.LongestMs(start, end));

  // Every row checked with the 序号 header, then one check click.
  const auto header = ListHeaderPoint(table, 0);
  if (header) ClickAt(*header);
  WaitUntil([&] { return ListChecked(table, kRows - 1) == true; }, 10000, 1);
  start = Clock::now();
  ClickListCheckBox(table, 0);
  std::string expected;
  for (int i = 2; i <= kRows; ++i) expected.append(std::to_string(i)).append("\r\n");
  const bool written = WaitUntil([&] { return ReadAll(Beside("选择框.txt")) == expected; }, 30000, 5);
  end = Clock::now();
  failures += !written;
  std::printf("check click on 10^6 checked rows: %5.0f ms until the check-state file matches the table (%s); "
              "longest unanswered %5.1f ms\n", Ms(end - start), written ? "yes" : "NO", prober.LongestMs(start, end));

  // The 50 MB table dropped in "Excel制表符录入" mode, on a cleared table.
  ClickButton(ControlOf(window, "按钮2"));
  WaitUntil([&] { return ListItemCount(table) == 0; }, 10000, 1);
  SelectComboItem(ControlOf(window, "导入方式"), 2);
  start = Clock::now();
  std::string error;
  const bool dropped = DropFiles(CenterOf(table), {Beside("表格.txt").wstring()}, &error);
  const bool imported = dropped && WaitUntil([&] { return ListItemCount(table) == cells; }, 60000, 1);
  end = Clock::now();
  failures += !imported;
  std::printf("import 50 MB: %5.0f ms from the drop until every cell is a row (%s%s); longest unanswered %5.1f ms; "
              "reading and splitting the file alone %5.0f ms (%zu parts): %.2fx of it\n",
              Ms(end - start), imported ? "yes" : "NO ", error.c_str(), prober.LongestMs(start, end), split_ms,
              split_cells, Ms(end - start) / split_ms);

  PostMessageW(window, WM_CLOSE, 0, 0);
  program.WaitExit(10000);
  return failures == 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc > 1 && std::wcscmp(argv[1], tovan::bench::kSpinArgument) == 0) tovan::bench::Spin();
  WriteSlotA();
  const int cells = WriteTable();
  bool good = true;
  for (bool busy : {false, true}) good = Measure(busy, cells) && good;
  for (const char* name : {"保存A.txt", "跳快数据A.txt", "保存B.txt", "跳快数据B.txt", "选择框.txt", "表格.txt"})
    std::filesystem::remove(Beside(name));
  return good ? 0 : 1;
}
