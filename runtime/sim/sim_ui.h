// The simulated window: units are plain objects, user actions are test calls,
// and everything runs on the virtual clock.
#pragma once

#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "runtime/sim/action_log.h"
#include "runtime/sim/virtual_clock.h"
#include "runtime/job_queue.h"
#include "runtime/ui.h"

namespace tovan::rt::sim {

class SimUi : public Ui {
 public:
  SimUi(VirtualClock& clock, ActionLog& log) : clock_(clock), log_(log) {}

  void Show() override;
  void Destroy() override;
  bool Destroyed() const override { return destroyed_; }
  void Run() override { clock_.RunDue(); }
  void PumpEvents() override { clock_.RunDue(); }
  bool Minimised() const override { return minimised_; }
  void Restore() override;
  void HideToTray(std::string_view tip) override;
  void RemoveTrayIcon() override;
  void LockRedraw(bool) override {}
  Point ScreenSize() const override { return screen_; }
  Rect WorkArea() const override { return work_area_.width > 0 ? work_area_ : Rect{0, 0, screen_.x, screen_.y}; }
  Point CursorPos() const override { return cursor_; }
  std::uintptr_t WindowUnderCursor() const override { return window_under_cursor_; }
  std::string FocusedUnit() const override { return focused_; }
  bool Active() const override { return active_; }
  // Another program's window comes to the front (false), or the window
  // again (true).
  void SetActive(bool active) {
    if (active)
      SetForegroundWindow(kOwnWindow, kOwnProcess);
    else if (active_)
      SetForegroundWindow(kOtherWindow, kOtherProcess);
  }
  std::uintptr_t ForegroundWindow() const override { return foreground_; }
  // The window in front and its process (0, 0: none in front).
  void SetForegroundWindow(std::uintptr_t window, std::uint32_t process = kOtherProcess) {
    foreground_ = window;
    foreground_process_ = process;
    active_ = window == kOwnWindow;
  }
  std::uint32_t ForegroundProcess() const override { return foreground_process_; }
  static constexpr std::uintptr_t kOwnWindow = 1;
  static constexpr std::uint32_t kOwnProcess = 1;
  static constexpr std::uintptr_t kOtherWindow = 900;
  static constexpr std::uint32_t kOtherProcess = 42;
  void SetTopmost(std::uintptr_t window, bool topmost) override;
  void RunSoon(std::function<void()> job) override {
    if (jobs_.Post(std::move(job))) clock_.At(clock_.NowMicros(), [this] { jobs_.RunPending(); });
  }
  void RunLater(int ms, std::function<void()> job) override { clock_.AfterMillis(ms, std::move(job)); }
  void ShowBalloon(std::string_view text, Point screen) override;
  Answer AskYesNo(std::string_view text, std::string_view title) override;
  void Warn(std::string_view text, std::string_view title) override;
  void RegisterDropTarget(std::string_view drop_unit, std::string_view on_unit) override;

  // What the user does, for tests.
  void Click(std::string_view unit);                 // toggles a check box first
  void DoubleClick(std::string_view unit, Point at = {});
  void MouseDown(std::string_view unit, Point at = {});
  void KeyDown(std::string_view unit, int virtual_key, int modifiers = 0);
  void KeyUp(std::string_view unit, int virtual_key, int modifiers = 0);
  void Choose(std::string_view unit, int index);     // selection changed by the user
  void TypeText(std::string_view unit, std::string_view text);  // focus, then the edit's text becomes `text`
  void ClickHeader(std::string_view list, int column);
  // A click / double click (press, then double click) on a cell of a list.
  void ClickCell(std::string_view list, int row, int column);
  void DoubleClickCell(std::string_view list, int row, int column);
  // The user clicks a row's check box, holding these modifiers.
  void ToggleCheck(std::string_view list, int row, int modifiers = 0);
  void DropFiles(std::string_view on_unit, std::vector<std::string> files);
  void Close();                                      // the user closes the window
  void Minimise();                                   // the user minimises the window
  void TrayAction(int code);
  void FocusUnit(std::string_view unit);             // moves focus, raising lost/got focus

  void SetScreenSize(Point size) { screen_ = size; }
  void SetWorkArea(Rect area) { work_area_ = area; }
  // The display's scale: the window's size in screen pixels grows with it.
  void SetWindowScale(double scale) { scale_ = scale; }
  void SetCursor(Point at, std::uintptr_t window) { cursor_ = at, window_under_cursor_ = window; }
  // Answers for the next questions; once used up, every question gets Yes.
  void QueueAnswers(std::vector<Answer> answers) { answers_.insert(answers_.end(), answers.begin(), answers.end()); }
  bool Shown() const { return shown_; }
  bool TrayIconShown() const { return tray_icon_; }

 protected:
  void CreatePeers() override;

 private:
  void SelectRowUnder(std::string_view unit, Point at);
  Point CellPoint(std::string_view list, int row, int column);

  VirtualClock& clock_;
  ActionLog& log_;
  JobQueue jobs_;
  std::uintptr_t foreground_ = kOwnWindow;
  std::uint32_t foreground_process_ = kOwnProcess;
  bool shown_ = false;
  bool destroyed_ = false;
  bool minimised_ = false;
  bool tray_icon_ = false;
  bool active_ = true;
  Point screen_{1920, 1080};
  Rect work_area_{};
  double scale_ = 1.0;
  Point cursor_{};
  std::uintptr_t window_under_cursor_ = 0;
  std::string focused_;
  std::deque<Answer> answers_;
  std::map<std::string, std::string, std::less<>> drop_targets_;  // on unit → drop unit
};

}  // namespace tovan::rt::sim
