// Automatic runs: one press pastes row after row until a pause row, the
// last row, or a second press (re-entering during one of the run's waits)
// sets the stop flag "66" in 编辑框1011. 按钮120 reads "单次" while a run is
// under way and "自动" otherwise.
#include "paste/paste_engine.h"

namespace tovan::paste {
namespace {

constexpr char kRunButton[] = "按钮120";
constexpr char kStopFlag[] = "编辑框1011";
constexpr char kStop[] = "66";

// How long no window may be in front (one closing, the next not yet
// active) before a press counts its window as gone.
constexpr std::int64_t kNoWindowMicros = 300'000;
constexpr int kNoWindowPollMs = 10;

// Marks a run under way for as long as it lasts.
class RunScope {
 public:
  explicit RunScope(bool& active) : active_(active) { active_ = true; }
  ~RunScope() { active_ = false; }
  RunScope(const RunScope&) = delete;
  RunScope& operator=(const RunScope&) = delete;

 private:
  bool& active_;
};

}  // namespace

// A press belongs to the top-level window in front when it arrived; an
// automatic run to the one in front when it started. The tool's own Tabs
// moving the focus between that window's fields are meant; any other
// window in front (a dialog or message of the same program included, the
// tool's own window too) ends the press there. Child windows, a cell
// editor, input-method and autocomplete lists never come to the front, so
// they do not end it. A message drawn inside a browser page or a remote
// desktop belongs to that same window and cannot be seen here.
bool PasteEngine::TargetLeft() {
  if (press_left_) return true;
  std::uintptr_t now = p_.ui.ForegroundWindow();
  const std::int64_t until = p_.clock.NowMicros() + kNoWindowMicros;
  while (now == 0 && p_.clock.NowMicros() < until && !p_.ui.Destroyed()) {
    p_.clock.Wait(kNoWindowPollMs);
    now = p_.ui.ForegroundWindow();
  }
  if (now != 0 && now == press_window_) return false;
  LeftFront();
  return true;
}

void PasteEngine::LeftFront() {
  press_left_ = true;
  if (p_.ui[kRunButton].Text() == "单次") {
    EndRun();
    p_.ui.Hint("●目标窗口已关闭或切换，自动粘贴已停止！", "组合框66", 20, 30);
  } else if (!run_active_) {
    p_.ui.Hint("●目标窗口已关闭或切换，粘贴已停止！", "组合框66", 20, 30);
  }
}

bool PasteEngine::PostTargetLeft(std::uintptr_t window) {
  if (TargetLeft()) return true;
  if (p_.target.TopLevelOf(window) == press_window_) return false;
  LeftFront();
  return true;
}

bool PasteEngine::AutomaticMode() const {
  const int order = p_.ui["组合框1"].Selection();
  const std::string mode = p_.ui["组合框66"].Text();
  return (order == 0 || order == 1) && (mode == "自动横向粘贴" || mode == "自动纵向粘贴" || mode == "自动网页强制粘贴");
}

bool PasteEngine::StopAsked() const { return run_active_ && p_.ui[kStopFlag].Text() == kStop; }

void PasteEngine::EndRunning() {
  if (p_.ui[kRunButton].Text() == "单次") EndRun();
}

bool PasteEngine::StartRun(bool web) {
  rt::Unit& caption = p_.ui[kRunButton];
  // A press during a run asks it to stop at its next row; once asked, a
  // press does nothing more until the run has stopped.
  if (run_active_ || caption.Text() != "自动") {
    EndRunning();
    return false;
  }
  caption.SetText("单次");
  p_.ui[kStopFlag].SetText("");
  p_.clock.Wait(web ? Interval() : 30);
  return true;
}

void PasteEngine::StopRunOnHotkey() { EndRunning(); }

void PasteEngine::EndRun() {
  p_.ui[kRunButton].SetText("自动");
  p_.ui[kStopFlag].SetText(kStop);
}

void PasteEngine::SequentialRun(std::string_view mode) {
  const bool web = mode == "自动网页强制粘贴";
  if (!StartRun(web)) return;
  const RunScope run(run_active_);
  const Key key = mode == "自动纵向粘贴" ? Key::kEnter : Key::kTab;
  // The row with its skip keys.
  auto paste_row = [&](int r) {
    if (web) {
      p_.clock.Wait(100);
      if (!PostRow(Content(r))) return Delivery::kNotTaken;
      SkipKeysAfterPost(r, false);
      p_.clock.Wait(Interval());
      return Delivery::kTaken;
    }
    const Delivery delivery = ClipboardPaste(Content(r), 100, r);
    if (delivery == Delivery::kTaken) SkipKeys(r, key, true);
    return delivery;
  };
  const std::size_t limit = rows_.RowCount();
  for (std::size_t i = 0; i < limit; ++i) {
    if (mode == "自动横向粘贴") p_.ui.PumpEvents();
    if (p_.ui[kStopFlag].Text() == kStop) break;
    const Delivery delivery = paste_row(CurrentRow());
    if (delivery == Delivery::kMaybe) Advance();
    if (delivery != Delivery::kTaken) break;
    Advance();
    const int r = CurrentRow();
    if (rows_.Cell(static_cast<std::size_t>(r), table::kPause) == "暂停") {
      // The pause row itself is pasted; the next press goes on after it.
      if (paste_row(r) != Delivery::kNotTaken) Advance();
      break;
    }
    if (r >= 0 && static_cast<std::size_t>(r) + 1 == rows_.RowCount()) {
      // The last row: its text only, and the run is over.
      if (web) {
        p_.clock.Wait(100);
        PostRow(Content(r));
      } else {
        ClipboardPaste(Content(r), 100, r);
      }
      p_.clock.Wait(Interval());
      EndRunning();
      return;
    }
  }
  EndRunning();
}

void PasteEngine::CheckedRun(std::string_view mode) {
  const bool web = mode == "自动网页强制粘贴";
  if (!StartRun(web)) return;
  const RunScope run(run_active_);
  const Key key = mode == "自动纵向粘贴" ? Key::kEnter : Key::kTab;
  const std::size_t limit = rows_.RowCount();
  for (std::size_t i = 0; i < limit; ++i) {
    if (p_.ui[kStopFlag].Text() == kStop) break;
    if (!rows_.Checked(i)) continue;
    SetCurrentRowFromNumber(static_cast<int>(i));
    const std::string text = Content(static_cast<int>(i));
    Delivery delivery = Delivery::kTaken;
    if (web) {
      p_.clock.Wait(100);
      if (!PostRow(text)) break;
      SkipKeysAfterPost(CurrentRow(), false);
      p_.clock.Wait(Interval());
    } else {
      delivery = ClipboardPaste(text, Interval(), static_cast<int>(i));
      if (delivery == Delivery::kNotTaken) break;
      if (delivery == Delivery::kTaken) SkipKeys(CurrentRow(), key, true);
    }
    rows_.SetChecked(i, false);
    editor_.Refresh();
    if (delivery != Delivery::kTaken) break;
  }
  EndCheck();
  EndRunning();
}

}  // namespace tovan::paste
