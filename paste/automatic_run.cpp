// Automatic runs: one press pastes row after row until a pause row, the
// last row, or a second press (re-entering during one of the run's waits)
// sets the stop flag "66" in 编辑框1011. 按钮120 reads "单次" while a run is
// under way and "自动" otherwise.
#include <utility>

#include "paste/paste_engine.h"

namespace tovan::paste {
namespace {

constexpr char kRunButton[] = "按钮120";
constexpr char kStopFlag[] = "编辑框1011";
constexpr char kStop[] = "66";

// The program a run fills, for as long as the run lasts (a run may start
// inside another one's wait, and the outer one goes on after it).
class RunTarget {
 public:
  RunTarget(std::uint32_t& slot, std::uint32_t process) : slot_(slot), outer_(std::exchange(slot, process)) {}
  ~RunTarget() { slot_ = outer_; }
  RunTarget(const RunTarget&) = delete;
  RunTarget& operator=(const RunTarget&) = delete;

 private:
  std::uint32_t& slot_;
  std::uint32_t outer_;
};

}  // namespace

bool PasteEngine::TargetLeft() {
  if (run_target_ == 0) return false;
  // No window in front (one closing, the next not yet active) receives
  // nothing: only another program in front counts.
  const std::uint32_t now = p_.ui.ForegroundProcess();
  if (now == 0 || now == run_target_) return false;
  if (p_.ui[kRunButton].Text() == "单次") {
    EndRun();
    p_.ui.Hint("●目标窗口已关闭或切换，自动粘贴已停止！", "组合框66", 20, 30);
  }
  return true;
}

bool PasteEngine::AutomaticMode() const {
  const int order = p_.ui["组合框1"].Selection();
  const std::string mode = p_.ui["组合框66"].Text();
  return (order == 0 || order == 1) && (mode == "自动横向粘贴" || mode == "自动纵向粘贴" || mode == "自动网页强制粘贴");
}

bool PasteEngine::StartRun(bool web) {
  rt::Unit& caption = p_.ui[kRunButton];
  if (caption.Text() != "自动") {
    // A press during a run asks it to stop at its next row.
    if (caption.Text() == "单次") EndRun();
    return false;
  }
  caption.SetText("单次");
  p_.ui[kStopFlag].SetText("");
  p_.clock.Wait(web ? Interval() : 30);
  return true;
}

void PasteEngine::EndRun() {
  p_.ui[kRunButton].SetText("自动");
  p_.ui[kStopFlag].SetText(kStop);
}

void PasteEngine::SequentialRun(std::string_view mode) {
  const bool web = mode == "自动网页强制粘贴";
  const std::uint32_t target = p_.ui.ForegroundProcess();
  if (!StartRun(web)) return;
  const RunTarget run_target(run_target_, target);
  const Key key = mode == "自动纵向粘贴" ? Key::kEnter : Key::kTab;
  // The row with its skip keys; false when the clipboard could not be had.
  auto paste_row = [&](int r) {
    if (web) {
      p_.clock.Wait(100);
      if (!PostRow(Content(r))) return false;
      SkipKeys(r, Key::kTab, false);
      p_.clock.Wait(Interval());
      return true;
    }
    if (!ClipboardPaste(Content(r), 100)) return false;
    SkipKeys(r, key, true);
    return true;
  };
  const std::size_t limit = rows_.RowCount();
  for (std::size_t i = 0; i < limit; ++i) {
    if (mode == "自动横向粘贴") p_.ui.PumpEvents();
    if (p_.ui[kStopFlag].Text() == kStop) break;
    if (!paste_row(CurrentRow())) break;
    Advance();
    const int r = CurrentRow();
    if (rows_.Cell(static_cast<std::size_t>(r), table::kPause) == "暂停") {
      // The pause row itself is pasted; the next press goes on after it.
      if (paste_row(r)) Advance();
      break;
    }
    if (r >= 0 && static_cast<std::size_t>(r) + 1 == rows_.RowCount()) {
      // The last row: its text only, and the run is over.
      if (web) {
        p_.clock.Wait(100);
        PostRow(Content(r));
      } else {
        ClipboardPaste(Content(r), 100);
      }
      p_.clock.Wait(Interval());
      EndRun();
      return;
    }
  }
  if (p_.ui[kRunButton].Text() == "单次") EndRun();
}

void PasteEngine::CheckedRun(std::string_view mode) {
  const bool web = mode == "自动网页强制粘贴";
  const std::uint32_t target = p_.ui.ForegroundProcess();
  if (!StartRun(web)) return;
  const RunTarget run_target(run_target_, target);
  const Key key = mode == "自动纵向粘贴" ? Key::kEnter : Key::kTab;
  const std::size_t limit = rows_.RowCount();
  for (std::size_t i = 0; i < limit; ++i) {
    if (p_.ui[kStopFlag].Text() == kStop) break;
    if (!rows_.Checked(i)) continue;
    SetCurrentRowFromNumber(static_cast<int>(i));
    const std::string text = Content(static_cast<int>(i));
    if (web) {
      p_.clock.Wait(100);
      if (!PostRow(text)) break;
      SkipKeys(CurrentRow(), Key::kTab, false);
      p_.clock.Wait(Interval());
    } else {
      if (!ClipboardPaste(text, Interval())) break;
      SkipKeys(CurrentRow(), key, true);
    }
    rows_.SetChecked(i, false);
    editor_.Refresh();
  }
  EndCheck();
  if (p_.ui[kRunButton].Text() == "单次") EndRun();
}

}  // namespace tovan::paste
