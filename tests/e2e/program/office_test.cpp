// The Word and Excel modes against our own stand-in for the office programs
// (tovan_automation_server, which writes down every call it receives), and
// with no office program at all.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "driver/clipboard.h"
#include "driver/controls.h"
#include "driver/input.h"
#include "driver/process.h"
#include "driver/wait_until.h"
#include "driver/window.h"
#include "tests/e2e/program/program_fixture.h"

namespace tovan::e2e {
namespace {

using Lines = std::vector<std::string>;

std::filesystem::path CallLog() { return std::filesystem::path(ThisExeDirectory() + L"\\automation-calls.log"); }

Lines Calls() {
  Lines lines;
  std::ifstream in(CallLog(), std::ios::binary);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool Registered(const wchar_t* how) {
  ChildProcess server = ChildProcess::Start(ThisExeDirectory() + L"\\tovan_automation_server.exe", {how});
  return server.WaitExit(10000) == 0u;
}

class OfficeTest : public TovanWithTargetTest {
 protected:
  void SetUp() override {
    std::filesystem::remove(CallLog());
    const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    ASSERT_TRUE(Registered(test.find("NoOffice") != std::string::npos ? L"/unregister"
                           : test.find("Wps") != std::string::npos  ? L"/register-wps"
                                                                    : L"/register"));
    TovanWithTargetTest::SetUp();
  }
  void TearDown() override {
    std::filesystem::remove(ThisExeDirectory() + L"\\automation-hang");
    std::filesystem::remove(ThisExeDirectory() + L"\\automation-slow-start");
    TovanWithTargetTest::TearDown();
    Registered(L"/unregister");
  }
  // Selects a text in the target's first field and presses the backtick there.
  void CopyWithBacktick(const char* text) {
    HWND field = Field(101);
    ASSERT_TRUE(SetWindowTextTo(field, text));
    SendMessageW(field, EM_SETSEL, 0, -1);
    ASSERT_TRUE(FocusControl(field));
    ASSERT_TRUE(PressKey(VK_OEM_3));
  }
  bool CallsEndWith(const std::string& last) {
    return WaitUntil([&] { const Lines calls = Calls(); return !calls.empty() && calls.back() == last; }, 8000);
  }
};

TEST_F(OfficeTest, TheExcelButtonAndPressesMakeExactlyTheSheetCallsInOrder) {
  ASSERT_TRUE(ClickButton(Control("按钮excel")));
  ASSERT_TRUE(CallsEndWith("Excel.Application.Range(\"A1\").PasteSpecial()")) << Calls().size();
  EXPECT_EQ(Calls(), (Lines{"Excel.Application", "Excel.Application.ActiveWorkbook (failed)",
                            "Excel.Application.Workbooks", "Excel.Application.Workbooks.Add",
                            "Excel.Application.Workbooks.Add.ActiveSheet", "Excel.Application.Visible = True",
                            "Excel.Application.Range(\"A1\")", "Excel.Application.Range(\"A1\").PasteSpecial()"}));
  EXPECT_EQ(ClipboardText(), "欢迎使用！");
  // Two columns a row: A2, B2, then A3 (the sheet's used range has grown).
  ASSERT_TRUE(SelectComboItem(Control("组合框63"), std::string_view("2")));
  CopyWithBacktick("甲");
  ASSERT_TRUE(CallsEndWith("Excel.Application.Range(\"A2\").PasteSpecial()"));
  const Lines calls = Calls();
  ASSERT_GE(calls.size(), 8u);
  EXPECT_EQ(Lines(calls.end() - 8, calls.end()),
            (Lines{"Excel.Application.ActiveSheet", "Excel.Application.ActiveSheet.UsedRange",
                   "Excel.Application.ActiveSheet.UsedRange.Rows", "Excel.Application.ActiveSheet.UsedRange.Rows.Count",
                   "Excel.Application.ActiveSheet.UsedRange.Columns",
                   "Excel.Application.ActiveSheet.UsedRange.Columns.Count", "Excel.Application.Range(\"A2\")",
                   "Excel.Application.Range(\"A2\").PasteSpecial()"}));
  CopyWithBacktick("乙");
  ASSERT_TRUE(CallsEndWith("Excel.Application.Range(\"B2\").PasteSpecial()"));
  CopyWithBacktick("丙");
  EXPECT_TRUE(CallsEndWith("Excel.Application.Range(\"A3\").PasteSpecial()")) << Calls().back();
}

TEST_F(OfficeTest, TheWordButtonOpensADocumentAndAPressPastesThenStartsAParagraph) {
  ASSERT_TRUE(ClickButton(Control("按钮word")));
  ASSERT_TRUE(CallsEndWith("WORD.Application.Visible = True"));
  CopyWithBacktick("一段话");
  ASSERT_TRUE(CallsEndWith("WORD.Application.Selection.TypeText(\"\\r\\n\")"));
  EXPECT_EQ(Calls(), (Lines{"WORD.Application", "WORD.Application.Documents", "WORD.Application.Documents.Add",
                            "WORD.Application.Visible = True", "WORD.Application.Selection",
                            "WORD.Application.Selection.Paste()", "WORD.Application.Selection",
                            "WORD.Application.Selection.TypeText(\"\\r\\n\")"}));
}

TEST_F(OfficeTest, AHungWordLeavesTheWindowAnsweringIsGivenUpWithAHintAndWorksOnceItAnswers) {
  ASSERT_TRUE(ClickButton(Control("按钮word")));
  ASSERT_TRUE(CallsEndWith("WORD.Application.Visible = True"));
  const std::filesystem::path hang(ThisExeDirectory() + L"\\automation-hang");
  std::ofstream(hang).put('1');
  CopyWithBacktick("一段话");
  // The window answers throughout the hung call and after it is given up.
  DWORD longest = 0;
  bool hint = false;
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < 7000) {
    const DWORD sent = GetTickCount();
    ASSERT_TRUE(SendWithTimeout(window_, WM_NULL, 0, 0, 1000).has_value()) << "no answer at " << sent - start << " ms";
    longest = std::max(longest, GetTickCount() - sent);
    hint = hint || BalloonShown();
    Sleep(20);
  }
  std::printf("while Word hung, the window answered within %lu ms\n", longest);
  EXPECT_TRUE(hint);
  // Word answers again: the hung paste comes back, and the next press pastes.
  std::filesystem::remove(hang);
  ASSERT_TRUE(CallsEndWith("WORD.Application.Selection.Paste()"));
  CopyWithBacktick("第二段");
  EXPECT_TRUE(CallsEndWith("WORD.Application.Selection.TypeText(\"\\r\\n\")")) << Calls().back();
}

TEST_F(OfficeTest, TheWpsNamesServeTheWordAndExcelModesWhereMicrosoftOfficeIsNotRegistered) {
  ASSERT_TRUE(ClickButton(Control("按钮word")));
  ASSERT_TRUE(CallsEndWith("WORD.Application.Visible = True"));
  CopyWithBacktick("一段话");
  EXPECT_TRUE(CallsEndWith("WORD.Application.Selection.TypeText(\"\\r\\n\")"));
  ASSERT_TRUE(ClickButton(Control("按钮excel")));
  EXPECT_TRUE(CallsEndWith("Excel.Application.Range(\"A1\").PasteSpecial()"));
}

TEST_F(OfficeTest, AnOfficeProgramTakingEightSecondsToStartStillReceivesThePasteWhileTheWindowAnswers) {
  std::ofstream(std::filesystem::path(ThisExeDirectory() + L"\\automation-slow-start")).put('1');
  ASSERT_TRUE(ClickButton(Control("按钮word")));
  DWORD longest = 0;
  bool hint = false;
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < 20000 && !(Calls().size() >= 4 && Calls().back() == "WORD.Application.Visible = True")) {
    const DWORD sent = GetTickCount();
    ASSERT_TRUE(SendWithTimeout(window_, WM_NULL, 0, 0, 1000).has_value()) << "no answer at " << sent - start << " ms";
    longest = std::max(longest, GetTickCount() - sent);
    hint = hint || BalloonShown();
    Sleep(20);
  }
  std::printf("while Word started (%lu ms), the window answered within %lu ms\n", GetTickCount() - start, longest);
  ASSERT_EQ(Calls().back(), "WORD.Application.Visible = True");
  EXPECT_GE(GetTickCount() - start, 7000u);
  EXPECT_TRUE(hint) << "no word that Word is starting";
  CopyWithBacktick("一段话");
  EXPECT_TRUE(CallsEndWith("WORD.Application.Selection.TypeText(\"\\r\\n\")"));
}

TEST_F(OfficeTest, WithNoOfficeProgramTheButtonsSaySoAndPressesDoNoHarm) {
  ASSERT_TRUE(ClickButton(Control("按钮excel")));
  EXPECT_TRUE(WaitUntil([&] { return BalloonShown(); }));
  ASSERT_TRUE(ClickButton(Control("按钮word")));
  CopyWithBacktick("无处可去");
  Sleep(700);
  ASSERT_TRUE(ClickButton(Control("按钮1")));
  EXPECT_TRUE(WaitUntil([&] { return SendWithTimeout(window_, WM_NULL, 0, 0).has_value(); }));
  EXPECT_FALSE(std::filesystem::exists(CallLog()));
}

}  // namespace
}  // namespace tovan::e2e
