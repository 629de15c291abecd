#include <set>

#include "runtime/gbk.h"
#include "runtime/settings_file.h"
#include "shell/main_window_layout.h"
#include "tests/unit/app_fixture.h"

namespace tovan {
namespace {

using rt::sim::Action;

class StartupTest : public AppTest {};

TEST_F(StartupTest, CreatedEventPlacesTheWindowAndSelectsTheInitialModes) {
  sim.ui.SetScreenSize({1920, 1080});
  Start();
  const rt::Rect window = U("窗口").Bounds();
  EXPECT_EQ(window.x, 1920 - 460 - 100);
  EXPECT_EQ(window.y, 1080 - 750);
  EXPECT_EQ(window.width, 460);
  EXPECT_EQ(U("组合框66").Text(), "手动横向粘贴");
  EXPECT_EQ(U("组合框65").Text(), "30");
  EXPECT_EQ(U("组合框2").Text(), "50");
  EXPECT_EQ(U("导入方式").Text(), "自定义分割符录入");
  EXPECT_EQ(app.CopyMode(), 0);
  EXPECT_EQ(U("按钮1").BackColour(), shell::kHighlightColour);
  EXPECT_EQ(U("按钮102").BackColour(), shell::kButtonColour);
  EXPECT_EQ(U("打开A").BackColour(), shell::kHighlightColour);
  EXPECT_EQ(U("时钟1").TimerPeriod(), 500);
  EXPECT_EQ(sim.ui.FocusedUnit(), "导入方式");
  EXPECT_NE(app.Hotkeys().backtick, 0);
  EXPECT_TRUE(sim.hotkeys.IsRegistered(0, rt::kVkBacktick));
  EXPECT_FALSE(sim.ui.Destroyed());
  EXPECT_EQ(sim.NowMillis(), 500);  // the one wait of the set-up
}

TEST_F(StartupTest, OnAScaledDisplayTheWindowStaysOnTheScreen) {
  sim.ui.SetScreenSize({2880, 1620});
  sim.ui.SetWindowScale(1.5);
  Start();
  const rt::Rect window = U("窗口").Bounds();
  EXPECT_EQ(window.height, 1035);
  EXPECT_EQ(window.x, 2880 - 690 - 100);
  EXPECT_EQ(window.y, 1620 - 1125);
  EXPECT_LE(window.Bottom(), 1620);
}

TEST_F(StartupTest, AWindowTallerThanTheWorkAreaKeepsItsTitleBarOnIt) {
  // 150% on a 1280 x 1024 laptop screen with a taskbar along the top.
  sim.ui.SetScreenSize({1280, 1024});
  sim.ui.SetWorkArea({0, 40, 1280, 984});
  sim.ui.SetWindowScale(1.5);
  Start();
  const rt::Rect window = U("窗口").Bounds();
  EXPECT_EQ(window.y, 40);
  EXPECT_EQ(window.x, 1280 - 690 - 100);
}

TEST_F(StartupTest, AtNormalScaleOnALargeScreenTheWindowStandsWhereItAlwaysDid) {
  sim.ui.SetWorkArea({0, 0, 1920, 1040});
  Start();
  EXPECT_EQ(U("窗口").Bounds().x, 1920 - 460 - 100);
  EXPECT_EQ(U("窗口").Bounds().y, 1080 - 750);
}

TEST_F(StartupTest, TheRecorderHotkeyTextsSurviveARestartInGbk) {
  const std::string path = sim.files.InRunDirectory("鼠标精灵热键配置.ini");
  sim.files.Write(path, rt::ToGbk("[编辑框内容]\r\n记录=Ctrl+加号\r\n模拟=F9\r\n").bytes);
  Start();
  EXPECT_EQ(U("记录").Text(), "Ctrl+加号");
  EXPECT_EQ(U("模拟").Text(), "F9");
  EXPECT_EQ(U("停止").Text(), "");
  U("记录").SetText("");  // typed and then cleared: saved as empty
  U("停止").SetText("Alt+F10");
  sim.ui.Raise("窗口", rt::Event{.kind = rt::EventKind::kClosing});
  EXPECT_EQ(rt::ReadSetting(sim.files, path, "编辑框内容", "记录", "missing"), "");
  EXPECT_EQ(rt::ReadSetting(sim.files, path, "编辑框内容", "模拟"), "F9");
  EXPECT_EQ(rt::ReadSetting(sim.files, path, "编辑框内容", "停止"), "Alt+F10");
  EXPECT_TRUE(sim.log.Of(Action::kMessage).empty());
}

TEST_F(StartupTest, ClosingBeforeTheSettingsWereReadKeepsTheSavedHotkeys) {
  const std::string path = sim.files.InRunDirectory("鼠标精灵热键配置.ini");
  ASSERT_TRUE(rt::WriteSetting(sim.files, path, "编辑框内容", "记录", "Ctrl+A"));
  sim.clock.AfterMillis(100, [&] { sim.ui.Raise("窗口", rt::Event{.kind = rt::EventKind::kClosing}); });
  Start();
  EXPECT_EQ(rt::ReadSetting(sim.files, path, "编辑框内容", "记录"), "Ctrl+A");
}

TEST_F(StartupTest, ASecondInstanceDestroysItsWindowAfterTheSetUpAndChangesNoFile) {
  // The first instance is in the middle of saving slot A: its original is
  // moved aside. The second must not put it back under the first's feet.
  const std::string moved_aside = sim.files.InRunDirectory("保存A.txt.old~");
  sim.files.Write(moved_aside, "old\xA1\xEF");
  sim.system.HeldByOtherInstance("tvzdy");
  Start();
  EXPECT_TRUE(sim.ui.Destroyed());
  EXPECT_EQ(U("组合框2").Text(), "50");  // steps 1 to 12 ran
  EXPECT_TRUE(sim.files.Exists(moved_aside));
  EXPECT_FALSE(sim.files.Exists(sim.files.InRunDirectory("保存A.txt")));
}

TEST_F(StartupTest, AProgramRunFromTheTemporaryFolderOrAReadOnlyOneSaysSoOnceAtStart) {
  Start();
  EXPECT_TRUE(sim.log.Of(Action::kMessage).empty());
  // Opened inside a zip: Explorer runs it from a folder inside the
  // temporary folder (the name's case as the system happens to give it).
  rt::sim::SimPlatform zipped;
  zipped.files.SetTemporaryFolder("c:\\TOVAN");
  shell::App in_zip{zipped.Services()};
  in_zip.Start();
  zipped.clock.Wait(100);
  ASSERT_EQ(zipped.log.Of(Action::kMessage).size(), 1u);
  EXPECT_NE(zipped.log.Of(Action::kMessage)[0].detail.find("从压缩包里直接打开"), std::string::npos);
  rt::sim::SimPlatform read_only;
  read_only.files.Refuse("C:\\Tovan", rt::WriteFailure::kReadOnly);
  shell::App locked{read_only.Services()};
  locked.Start();
  read_only.clock.Wait(100);
  ASSERT_EQ(read_only.log.Of(Action::kMessage).size(), 1u);
  EXPECT_NE(read_only.log.Of(Action::kMessage)[0].detail.find("C:\\Tovan\r\n"), std::string::npos);
}

TEST_F(StartupTest, ClosingRemovesTheMouseHookAndUnregistersEveryHotkeyWithoutComplaint) {
  Start();
  sim.ui.Click("按钮66");  // backtick paste listens to the mouse
  ASSERT_TRUE(sim.mouse_hook.Installed("backtick"));
  // The settings file cannot be written: said in a message box (no balloon
  // could be seen any more), once no hotkey is left to run inside it; a
  // second close meanwhile does nothing twice.
  sim.files.Refuse(sim.files.InRunDirectory("鼠标精灵热键配置.ini.tmp~"), rt::WriteFailure::kReadOnly);
  sim.ui.Raise("窗口", rt::Event{.kind = rt::EventKind::kClosing});
  sim.ui.Raise("窗口", rt::Event{.kind = rt::EventKind::kClosing});
  EXPECT_FALSE(sim.mouse_hook.Installed("backtick"));
  EXPECT_EQ(sim.hotkeys.Count(), 0u);
  ASSERT_EQ(sim.log.Of(Action::kMessage).size(), 1u);
  EXPECT_NE(sim.log.Of(Action::kMessage)[0].detail.find("没能保存到“鼠标精灵热键配置.ini”"), std::string::npos);
  EXPECT_EQ(sim.log.Entries().back().action, Action::kMessage);
}

TEST_F(StartupTest, MinimisingGoesToTheTrayAndActionOneComesBack) {
  Start();
  sim.ui.Minimise();
  EXPECT_TRUE(sim.ui.TrayIconShown());
  EXPECT_FALSE(sim.ui.Shown());
  sim.ui.TrayAction(2);
  EXPECT_TRUE(sim.ui.TrayIconShown());
  sim.ui.TrayAction(1);
  EXPECT_FALSE(sim.ui.TrayIconShown());
  EXPECT_TRUE(sim.ui.Shown());
  EXPECT_EQ(sim.log.Of(Action::kTrayIcon).front().detail, std::string("add ") + shell::kTitle);
}

TEST_F(StartupTest, TheWindowUnderTheCursorIsReadFromItsHandleBox) {
  Start();
  sim.ui.SetCursor({5, 5}, 0x4242);
  EXPECT_EQ(U("句柄1").Text(), "16962");
  sim.ui.SetCursor({9, 9}, 0x10);
  EXPECT_EQ(U("句柄1").Text(), "16");
}

TEST_F(StartupTest, TheWorkingSetIsTrimmedEveryHalfSecond) {
  Start();
  sim.log.Clear();
  sim.clock.Wait(2000);
  EXPECT_EQ(sim.log.Of(Action::kTrimWorkingSet).size(), 4u);
}

TEST_F(StartupTest, EveryUnitNameIsUniqueAndOffScreenUnitsStayOffScreen) {
  std::set<std::string> names;
  int visible = 0;
  for (const rt::UnitLayout& unit : shell::MainWindowUnits()) {
    EXPECT_TRUE(names.insert(unit.name).second) << unit.name;
    if (unit.floating) {
      EXPECT_GE(unit.rect.x, 460) << unit.name << " rests off-screen";
    } else if (!rt::IsOffScreen(unit, shell::MainWindowLayout())) {
      ++visible;
      EXPECT_LE(unit.rect.Right(), 460) << unit.name;
    }
  }
  EXPECT_EQ(visible, 59);
}

}  // namespace
}  // namespace tovan
