// Timed scenario under Wine: the real program opens and saves a slot of a
// million rows, then a check click on that table, while another thread asks
// the window every few milliseconds whether it answers. Prints how long each
// action took and the longest time the window left a message unanswered.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

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
using Clock = std::chrono::steady_clock;
constexpr int kRows = 1'000'000;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

std::string Gbk(const wchar_t* text) {
  const int n = WideCharToMultiByte(936, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(936, 0, text, -1, out.data(), n, nullptr, nullptr);
  out.resize(n - 1);
  return out;
}

std::filesystem::path Beside(const char* utf8_name) {
  return std::filesystem::path(ThisExeDirectory() + L"\\" + Utf8ToWide(utf8_name));
}

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Asks the window with WM_NULL in a loop and keeps every answer's delay.
class Prober {
 public:
  explicit Prober(HWND window) : window_(window), thread_([this] { Run(); }) {}
  ~Prober() {
    stop_ = true;
    thread_.join();
  }
  // The longest answer among the questions asked between the two moments.
  double LongestMs(Clock::time_point from, Clock::time_point to) {
    std::lock_guard lock(mutex_);
    double longest = 0;
    for (const auto& [asked, took] : probes_)
      if (asked + took >= from && asked <= to) longest = std::max(longest, Ms(took));
    return longest;
  }

 private:
  void Run() {
    while (!stop_) {
      const auto asked = Clock::now();
      DWORD_PTR result = 0;
      SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_BLOCK, 20000, &result);
      const auto took = Clock::now() - asked;
      {
        std::lock_guard lock(mutex_);
        probes_.emplace_back(asked, took);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  }
  HWND window_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<std::pair<Clock::time_point, Clock::duration>> probes_;
  std::thread thread_;
};

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
  std::filesystem::remove(Beside("选择框.txt"));
  for (const char* name : {"保存B.txt", "跳快数据B.txt"}) std::filesystem::remove(Beside(name));
  std::printf("slot A: %d rows, %.1f MB rows file, %.1f MB extras file\n", kRows, rows.size() / 1e6, extras.size() / 1e6);
}

}  // namespace

int wmain() {
  WriteSlotA();
  ChildProcess program = ChildProcess::Start(ThisExeDirectory() + L"\\tovan.exe");
  HWND window = FindTopWindow(kTovanTitle, 10000, program.Id());
  if (!window || !program.WaitForInputIdle(10000)) {
    std::printf("the program did not start\n");
    return 1;
  }
  WaitUntil([&] { return WindowRect(window).left == GetSystemMetrics(SM_CXSCREEN) - 460 - 100; }, 10000);
  HWND table = ControlOf(window, "超级列表框1");
  Prober prober(window);
  int failures = 0;

  // Open: from the click until every row is in and the open has finished
  // (it makes the first row current last, after its 200 ms settling wait).
  auto start = Clock::now();
  ClickButton(ControlOf(window, "打开A"));
  WaitUntil([&] { return ListItemCount(table) == kRows; }, 30000, 1);
  const auto rows_in = Clock::now();
  const bool opened = WaitUntil([&] { return SendWithTimeout(table, LVM_GETNEXTITEM, -1, LVNI_SELECTED) == 0; }, 30000, 1);
  auto end = Clock::now();
  failures += !opened || ListCellText(table, kRows - 1, 2) != "0";
  std::printf("open 10^6 rows:  %7.0f ms until the rows are in, %7.0f ms until done (200 ms of it is the settling wait); "
              "longest unanswered %5.1f ms\n", Ms(rows_in - start), Ms(end - start), prober.LongestMs(start, end));

  // Save into slot B: from the click until both files are in place.
  const auto expected_size = std::filesystem::file_size(Beside("保存A.txt"));
  start = Clock::now();
  ClickButton(ControlOf(window, "保存B"));
  const bool saved = WaitUntil([&] {
    std::error_code e;
    return std::filesystem::file_size(Beside("保存B.txt"), e) == expected_size &&
           std::filesystem::exists(Beside("跳快数据B.txt"), e);
  }, 30000, 1);
  end = Clock::now();
  const bool identical = saved && ReadAll(Beside("保存B.txt")) == ReadAll(Beside("保存A.txt")) &&
                         ReadAll(Beside("跳快数据B.txt")) == ReadAll(Beside("跳快数据A.txt"));
  failures += !identical;
  std::printf("save 10^6 rows:  %7.0f ms until both files are written (byte-identical to slot A: %s); "
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

  // A 50 MB tab-separated file dropped in "Excel制表符录入" mode, on a cleared table.
  ClickButton(ControlOf(window, "按钮2"));
  WaitUntil([&] { return ListItemCount(table) == 0; }, 10000, 1);
  HWND modes = ControlOf(window, "导入方式");
  SelectComboItem(modes, 2);
  std::string tsv;
  int cells = 0;
  for (int line = 0; tsv.size() < 50'000'000; ++line)
    for (int cell = 0; cell < 10; ++cell, ++cells)
      tsv.append(Gbk(L"值")).append(std::to_string(line * 10 + cell)).append(cell < 9 ? "\t" : "\r\n");
  std::ofstream(Beside("表格.txt"), std::ios::binary) << tsv;
  start = Clock::now();
  std::string error;
  const bool dropped = DropFiles(CenterOf(table), {Beside("表格.txt").wstring()}, &error);
  const bool imported = dropped && WaitUntil([&] { return ListItemCount(table) == cells; }, 30000, 1);
  end = Clock::now();
  failures += !imported;
  std::printf("import %.1f MB, %d cells: %5.0f ms from the drop until every cell is a row (%s%s); "
              "longest unanswered %5.1f ms\n", tsv.size() / 1e6, cells, Ms(end - start), imported ? "yes" : "NO ",
              error.c_str(), prober.LongestMs(start, end));
  std::filesystem::remove(Beside("表格.txt"));

  PostMessageW(window, WM_CLOSE, 0, 0);
  program.WaitExit(10000);
  for (const char* name : {"保存A.txt", "跳快数据A.txt", "保存B.txt", "跳快数据B.txt", "选择框.txt"})
    std::filesystem::remove(Beside(name));
  return failures == 0 ? 0 : 1;
}
