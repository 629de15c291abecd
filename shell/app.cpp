#include "shell/app.h"

#include <algorithm>

#include "runtime/computed_text.h"
#include "runtime/settings_file.h"
#include "runtime/text.h"
#include "shell/main_window_layout.h"

namespace tovan::shell {
namespace {

using rt::Event;
using rt::EventKind;

constexpr char kSettingsFile[] = "鼠标精灵热键配置.ini";
constexpr char kSettingsSection[] = "编辑框内容";
constexpr char kInstanceMarker[] = "tvzdy";
constexpr char kWebPage[] = "https://github.com/";
// The buttons whose background shows the active copy mode.
constexpr const char* kModeButtons[] = {"按钮1", "按钮102", "按钮word", "按钮excel", "按钮104", "按钮66", "按钮6"};

}  // namespace

App::App(rt::Platform platform)
    : p_(platform),
      busy_input_(platform.ui),
      table_(platform, rows_),
      slots_(platform, rows_, table_, busy_),
      importer_(platform, rows_, table_, busy_),
      item_list_(platform, rows_),
      batch_(platform, rows_, table_),
      recordings_(platform, events_),
      same_page_(platform),
      hotkeys_(platform, rows_, table_),
      capture_(platform, rows_),
      engine_(platform, rows_, table_, hotkeys_, typist_),
      order_(platform, rows_, table_, hotkeys_),
      backtick_(platform, rows_, table_, busy_, hotkeys_, same_page_),
      recorder_(platform, events_, hotkeys_),
      replay_(platform, events_, recorder_),
      settings_path_(platform.files.InRunDirectory(kSettingsFile)) {}

App::~App() {
  for (const char* name : {table::kTable, table::kEventList})
    if (rt::Unit* list = p_.ui.Find(name); list && list->Kind() == rt::UnitKind::kSuperList)
      static_cast<rt::ListUnit*>(list)->SetModel(nullptr);
  p_.ui.UnbindAll();
  typist_.reset();  // the exit routine releases the typist last
}

int App::CopyMode() const { return p_.ui["组合框1"].Selection(); }

void App::Start() {
  p_.ui.Build(MainWindowLayout(), MainWindowUnits());
  // The handle of the window under the mouse cursor, as decimal text, read
  // when needed rather than written every 5 ms by 时钟3.
  p_.ui["句柄1"].AttachPeer(std::make_unique<rt::ComputedText>(
      [this] { return rt::ToText(static_cast<std::int64_t>(p_.ui.WindowUnderCursor())); }));
  Bind();
  p_.ui.Show();
}

void App::Bind() {
  rt::Ui& ui = p_.ui;
  table_.Bind();
  table_.select_checked_order = [this] { SelectCopyMode("按钮102", 1); };
  // The caption of 加载热键 is the one loaded state everything asks.
  table_.row_hotkeys_loaded = [this] { return hotkeys_.RowHotkeysLoaded(); };
  table_.load_or_unload_row_hotkeys = [this] { hotkeys_.LoadOrUnloadRowHotkeys(); };
  slots_.reload_row_hotkeys = [this] { hotkeys_.ReloadRowHotkeys(); };
  engine_.restore_checks = [this] { slots_.LoadCheckStates(); };
  capture_.commit_hotkey_editor = [this] { table_.CommitHotkeyEditor(); };
  order_.select_copy_mode = [this](std::string_view button, int mode) { SelectCopyMode(button, mode); };
  order_.show_table = [this] { ShowTable(); };
  hotkeys_.Bind();
  capture_.Bind();
  order_.Bind();
  ui.Bind(paste::kReceiver, EventKind::kHotkey, [this](const Event& e) { OnHotkey(e.code); });
  table_.save_check_states = [this] { slots_.SaveCheckStates(); };
  slots_.Bind();
  importer_.Bind();
  item_list_.Bind();
  batch_.Bind();
  recordings_.Bind();
  backtick_.select_copy_mode = [this](std::string_view button, int mode) { SelectCopyMode(button, mode); };
  backtick_.show_table = [this] { ShowTable(); };
  backtick_.reset_cell_cursor = [this] { batch_.ResetCellCursor(); };
  backtick_.in_turn = [this](std::function<void()> job) { busy_input_.Press(BusyInput::Kind::kPress, std::move(job)); };
  backtick_.Bind();
  recorder_.show_table = [this] { ShowTable(); };
  recorder_.remove_backtick_hook = [this] { p_.mouse_hook.Remove(paste::kBacktickHookOwner); };
  recorder_.switched_off = [this] { replay_.Stop(); };
  recorder_.replaying = [this] { return replay_.Running(); };
  hotkeys_.recorder_marked_off = [this] { replay_.Stop(); };
  recorder_.Bind();
  replay_.Bind();
  ui.Bind("按钮word", EventKind::kClicked, [this](const Event&) { backtick_.WordButton(); });
  ui.Bind("按钮excel", EventKind::kClicked, [this](const Event&) { backtick_.ExcelButton(); });

  ui.Bind(rt::Ui::kWindowUnit, EventKind::kCreated, [this](const Event&) { Created(); });
  ui.Bind(rt::Ui::kWindowUnit, EventKind::kClosing, [this](const Event&) { Closing(); });
  ui.Bind(rt::Ui::kWindowUnit, EventKind::kDestroyed, [this](const Event&) { p_.ui.RemoveTrayIcon(); });
  ui.Bind(rt::Ui::kWindowUnit, EventKind::kSizeChanged, [this](const Event& e) {
    if (e.code == 1 || p_.ui.Minimised()) p_.ui.HideToTray(kTitle);
  });
  ui.Bind(rt::Ui::kWindowUnit, EventKind::kTray, [this](const Event& e) {
    if (e.code != 1) return;
    p_.ui.Restore();
    p_.ui.RemoveTrayIcon();
  });
  ui.Bind("时钟1", EventKind::kTick, [this](const Event&) { p_.system.TrimWorkingSet(); });

  ui.Bind("按钮75", EventKind::kClicked, [this](const Event&) { p_.shell.Open(p_.files.RunDirectory()); });
  ui.Bind("按钮19", EventKind::kClicked, [this](const Event&) { p_.shell.Open(kWebPage); });
  ui.Bind("按钮2", EventKind::kClicked, [this](const Event&) {
    if (busy_.Now()) return;
    table_.DeleteAllRows();
    if (hotkeys_.RowHotkeysLoaded()) {
      hotkeys_.LoadOrUnloadRowHotkeys();
      p_.clock.Wait(100);
    }
  });
  ui.Bind("按钮8", EventKind::kClicked, [this](const Event&) {
    rt::Unit& button = p_.ui["按钮8"];
    button.SetText(button.Text() == "关闭快捷键" ? "开启快捷键" : "关闭快捷键");
  });
  for (const char* box : paste::kRecorderBoxes)
    ui.Bind(box, EventKind::kDoubleClicked, [this, box](const Event&) { p_.ui[box].SetText(""); });
}

void App::OnHotkey(int id) {
  using Kind = BusyInput::Kind;
  const paste::HotkeyIds& ids = hotkeys_.Ids();
  // A press belongs to the window in front when it arrived, even when it
  // waits its turn behind another.
  const std::uintptr_t window = p_.ui.ForegroundWindow();
  if (id == ids.backtick) {
    busy_input_.Press(Kind::kPress, [this, window] { backtick_.Press(window); });
  } else if (id == ids.record) {
    busy_input_.Press(Kind::kAtOnce, [this] { recorder_.RecordHotkey(); });
  } else if (id == ids.simulate) {
    busy_input_.Press(Kind::kAtOnce, [this] { replay_.SimulateHotkey(); });
  } else if (id == ids.stop) {
    busy_input_.Press(Kind::kAtOnce, [this] { replay_.StopHotkey(); });
  } else {
    busy_input_.Press(engine_.AutomaticMode() ? Kind::kAutomaticPress : Kind::kPress,
                      [this, id, window] { engine_.PasteOnHotkey(id, window); },
                      [this] { engine_.StopRunOnHotkey(); });
  }
}

void App::ShowTable() {
  p_.ui["编辑框25"].SetVisible(false);
  p_.ui["超级列表框1"].SetVisible(true);
}

void App::SelectCopyMode(std::string_view button, int mode) {
  p_.ui["组合框1"].SetSelection(mode);
  for (const char* other : kModeButtons) p_.ui[other].SetBackColour(kButtonColour);
  p_.ui[button].SetBackColour(kHighlightColour);
  if (button == "按钮excel") p_.ui["按钮6"].SetBackColour(kHighlightColour);
  if (button != "按钮104") p_.ui["按钮104"].SetText("同页粘贴");
  backtick_.TurnOffPaste();
}

void App::Created() {
  rt::Ui& ui = p_.ui;
  ui["导入方式"].Focus();
  typist_ = std::make_unique<paste::Typist>(p_.keys);
  ui["时钟1"].SetTimerPeriod(500);
  ui.RegisterDropTarget("拖放对象1", "超级列表框1");
  ui.RegisterDropTarget("拖放对象2", "编辑框1009");
  hotkeys_.ReRegisterBacktick();
  p_.clock.Wait(500);

  PlaceWindow();
  ui.List("超级列表框1").SetRowHeight(17);
  ui["组合框66"].SetSelection(0);
  ui["组合框65"].SetSelection(4);
  ui["组合框2"].SetSelection(4);
  ui.Raise("按钮1", Event{.kind = EventKind::kClicked});
  ui["打开A"].SetBackColour(kHighlightColour);

  for (const char* box : paste::kRecorderBoxes)
    ui[box].SetText(rt::ReadSetting(p_.files, settings_path_, kSettingsSection, box));
  settings_read_ = true;

  // A second instance ends here, having changed no file of the first.
  if (!p_.system.ClaimInstance(kInstanceMarker)) {
    ui.Destroy();
    return;
  }
  slots_.RecoverInterruptedSaves();
  ui.RunSoon([this] { WarnAboutRunFolder(); });
}

void App::WarnAboutRunFolder() {
  const std::string folder = p_.files.RunDirectory();
  if (p_.files.InTemporaryFolder(folder))
    p_.ui.Warn("Tovan 是从压缩包里直接打开的，或者放在临时文件夹里：\r\n" + folder +
                   "\r\n\r\n表格、记录和设置都保存在程序旁边，放在这里会被系统删掉。请先把压缩包解压到自己的文件夹"
                   "（例如“文档”或 D 盘），再从那里启动 Tovan。",
               "温馨提示");
  else if (!p_.files.CanWriteIn(folder))
    p_.ui.Warn("Tovan 所在的文件夹不能写入：\r\n" + folder +
                   "\r\n\r\n表格、记录和设置都保存在程序旁边，在这里保存会失败。请把 Tovan 的整个文件夹移到可以写入的地方"
                   "（例如“文档”或 D 盘），再从那里启动。",
               "温馨提示");
}

void App::PlaceWindow() {
  rt::Unit& window = p_.ui[rt::Ui::kWindowUnit];
  const rt::Rect bounds = window.Bounds();
  const rt::Point screen = p_.ui.ScreenSize();
  // 100 pixels from the right and 750 from the bottom of the screen, the
  // height growing with the display's scale; then kept on the monitor's
  // work area, the title bar first, so the user can always drag it.
  const double scale = static_cast<double>(bounds.height) / kWindowHeight;
  int left = screen.x - bounds.width - 100;
  int top = static_cast<int>(static_cast<double>(screen.y) - 750 * scale);
  const rt::Rect area = p_.ui.WorkArea();
  left = std::max(std::min(left, area.Right() - bounds.width), area.x);
  top = std::max(std::min(top, area.Bottom() - bounds.height), area.y);
  window.Move({left, top, bounds.width, bounds.height});
}

void App::Closing() {
  // A second close while the warning below is up ends nothing twice.
  if (closing_) return;
  closing_ = true;
  // A replay sends nothing into other programs once its window is gone.
  replay_.Stop();
  p_.mouse_hook.Remove(paste::kBacktickHookOwner);
  // Closed before the start-up read the settings: the boxes hold nothing of
  // the user's yet, and writing them would wipe the saved hotkeys.
  bool saved = true;
  if (settings_read_)
    for (const char* box : paste::kRecorderBoxes)
      saved = rt::WriteSetting(p_.files, settings_path_, kSettingsSection, box, p_.ui[box].Text()) && saved;
  hotkeys_.UnregisterAll();
  // No balloon can be seen once the window is gone. Said once nothing can
  // start any more: no hotkey press runs inside the warning.
  if (!saved)
    p_.ui.Warn("记录、模拟和停止的热键没能保存到“" + std::string(kSettingsFile) +
                   "”（文件被其他程序占用、文件夹不能写入，或热键里有无法保存为GBK的字符），下次启动时可能不会恢复。",
               "温馨提示");
}

}  // namespace tovan::shell
