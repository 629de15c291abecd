// The building blocks every paste mode is made of.
#include <algorithm>

#include "paste/paste_engine.h"
#include "runtime/text.h"

namespace tovan::paste {
namespace {

// How long a press waits at most for the user to let go of the hotkey's
// modifiers before it sends keys of its own.
constexpr int kModifierWaitMs = 1000;
// How long a paste waits for the program told to paste to read what it was
// given: while that program answers (it has then lost the Ctrl+V, or reads
// in a way that cannot be seen), and at most in all (while it does not
// answer it may still be busy with what came before).
constexpr std::int64_t kReadWhileAnsweringMicros = 3'000'000;
constexpr std::int64_t kReadAtMostMicros = 10'000'000;
// How long a paste waits at most for another program to let go of the
// clipboard before it is pressed.
constexpr int kClipboardHeldWaitMs = 1000;
constexpr int kPollMs = 5;

// Waiting for a sign from the program being filled (its read, its focus
// moving on): runs out after kReadWhileAnsweringMicros of it answering,
// or kReadAtMostMicros in all.
class Patience {
 public:
  explicit Patience(std::int64_t now) : start_(now), answering_since_(now) {}
  bool RunOut(std::int64_t now, bool answering) {
    if (!answering) answering_since_ = now;
    return now - answering_since_ >= kReadWhileAnsweringMicros || now - start_ >= kReadAtMostMicros;
  }

 private:
  std::int64_t start_;
  std::int64_t answering_since_;
};

}  // namespace

int PasteEngine::CurrentRow() const { return p_.ui.List(table::kTable).CurrentRow(); }

void PasteEngine::SetCurrentRow(int row) { p_.ui.List(table::kTable).SetCurrentRow(row); }

void PasteEngine::Advance() { SetCurrentRow(CurrentRow() + 1); }

// A row that does not exist (−1, or past the end) reads as empty.
std::string PasteEngine::Content(int row) const {
  return row < 0 ? std::string() : std::string(rows_.Cell(static_cast<std::size_t>(row), table::kContent));
}

int PasteEngine::SkipCount(int row) const {
  return row < 0 ? 0 : std::max(0, rt::ToInteger(rows_.Cell(static_cast<std::size_t>(row), table::kSkip)));
}

int PasteEngine::Interval() const { return std::max(0, rt::ToInteger(p_.ui["组合框2"].Text())); }

int PasteEngine::FirstCheckedRow() const {
  for (std::size_t row = 0; row < rows_.RowCount(); ++row)
    if (rows_.Checked(row)) return static_cast<int>(row);
  return -1;
}

void PasteEngine::SetCurrentRowFromNumber(int row) {
  SetCurrentRow(rt::ToInteger(rows_.Cell(static_cast<std::size_t>(row), table::kNumber)) - 1);
}

void PasteEngine::WaitForModifiersReleased() {
  // Keys sent while the user still holds the hotkey's Ctrl, Shift or Alt
  // would arrive as other chords (Tab as Shift+Tab, Ctrl+V as Ctrl+Shift+V).
  const auto held = [&] {
    for (int key : {rt::kVkControl, rt::kVkShift, rt::kVkMenu, rt::kVkLeftWindows, rt::kVkRightWindows})
      if (p_.keys.IsHeld(key)) return true;
    return false;
  };
  const std::int64_t deadline = p_.clock.NowMicros() + std::int64_t{kModifierWaitMs} * 1000;
  while (held() && p_.clock.NowMicros() < deadline) p_.clock.Wait(5);
}

bool PasteEngine::Press(std::initializer_list<int> chord) {
  WaitForModifiersReleased();
  if (TargetLeft()) return false;
  p_.keys.Chord(chord);
  return true;
}

bool PasteEngine::SetClipboard(std::string_view text) { return p_.clipboard.SetText(text); }

PasteEngine::FieldBefore PasteEngine::ReadTargetField() {
  // Read while the paste waits its turn, not just before the Ctrl+V: a
  // read costs the program round trips that would hold the paste up.
  const std::uintptr_t window = p_.ui.ForegroundWindow();
  const std::uintptr_t field = p_.target.FocusOf(window);
  return FieldBefore{window, field, p_.target.ReadField(field)};
}

void PasteEngine::WaitFrom(std::int64_t start_micros, int ms) {
  p_.clock.WaitUntil(start_micros + std::int64_t{ms} * 1000);
}

PasteEngine::Delivery PasteEngine::PressPaste(const std::function<bool()>& write, int row, const FieldBefore& before) {
  WaitForModifiersReleased();
  for (int press = 0;; ++press) {
    if (!PressCtrlV()) return Delivery::kNotTaken;
    const bool read = AwaitPasteRead();
    const bool handed_out = p_.clipboard.HandedOut();
    p_.clipboard.AfterPaste();
    if (!read) return NotTaken(handed_out ? Delivery::kMaybe : Delivery::kNotTaken, row);
    // Not arrived, known for sure: the program read the text, let go of the
    // clipboard (it inserts what it read before that), and the field it
    // pasted into is as it was before. (A field read before keys sent
    // earlier were handled differs anyway.) Then once more; still not
    // arrived, the press or run stops on this row.
    if (!before.state || !p_.clipboard.ReaderLetGo() || p_.target.FocusOf(before.window) != before.field ||
        !p_.target.FieldIs(before.field, *before.state))
      return Delivery::kTaken;
    if (press > 0) return NotArrived(row);
    if (!write()) return Delivery::kTaken;
  }
}

bool PasteEngine::PressCtrlV() {
  // A program holding the clipboard now would make the paste find it shut.
  const std::int64_t deadline = p_.clock.NowMicros() + std::int64_t{kClipboardHeldWaitMs} * 1000;
  while (p_.clipboard.HeldByOther() && p_.clock.NowMicros() < deadline) p_.clock.Wait(kPollMs);
  if (TargetLeft()) return false;
  // Only the read of the program told to paste counts.
  p_.clipboard.BeforePaste(p_.ui.ForegroundProcess());
  p_.keys.Chord({rt::kVkControl, 'V'});
  pasted_at_ = p_.clock.NowMicros();
  return true;
}

bool PasteEngine::AwaitPasteRead() {
  // Nothing more is sent until the read has come: a key sent now would
  // reach a busy program before its paste, and the next text written
  // would be what its late paste reads.
  const std::uintptr_t window = p_.ui.ForegroundWindow();
  Patience patience(p_.clock.NowMicros());
  for (;;) {
    if (p_.clipboard.WaitUntilTaken(kPollMs)) return true;
    const bool answering = p_.target.Answering(window);
    // A stop asked for meanwhile need not wait for the read.
    if (patience.RunOut(p_.clock.NowMicros(), answering) || StopAsked() || p_.ui.Destroyed()) break;
  }
  // Taken back, a paste the program handles late finds nothing.
  return !p_.clipboard.Withdraw();
}

PasteEngine::Delivery PasteEngine::NotArrived(int row) {
  if (StopAsked()) return Delivery::kNotTaken;  // the user stopped it: no hint
  EndRunning();
  const std::string what = row >= 0 ? "第" + std::to_string(row + 1) + "行" : "勾选项";
  p_.ui.Hint("●" + what + "没有粘贴进去，已停止！", "组合框66", 20, 30);
  return Delivery::kNotTaken;
}

PasteEngine::Delivery PasteEngine::NotTaken(Delivery delivery, int row) {
  if (StopAsked() && delivery == Delivery::kNotTaken) return delivery;  // the user stopped it: no hint
  EndRunning();
  const std::string what = row >= 0 ? "第" + std::to_string(row + 1) + "行" : "勾选项";
  p_.ui.Hint(delivery == Delivery::kMaybe ? "●" + what + "可能没有粘贴进去，请检查！"
                                          : "●" + what + "没有被目标程序取走，已停止！",
             "组合框66", 20, 30);
  return delivery;
}

PasteEngine::Delivery PasteEngine::ClipboardPaste(std::string_view text, int wait_ms, int row) {
  pasted_at_ = -1;
  // Never Ctrl+V over what the clipboard held before: a write that failed
  // pastes nothing. Nor a write for a window no longer in front.
  if (TargetLeft() || !SetClipboard(text)) return Delivery::kNotTaken;
  // An empty text would paste nothing.
  const std::int64_t written = p_.clock.NowMicros();
  const FieldBefore before = text.empty() ? FieldBefore{} : ReadTargetField();
  WaitFrom(written, wait_ms);
  if (text.empty()) return Delivery::kTaken;
  return PressPaste([this, text] { return SetClipboard(text); }, row, before);
}

void PasteEngine::SkipKeys(int row, Key key, bool waits) {
  for (int n = SkipCount(row); n > 0; --n) {
    // The first key's wait runs from the Ctrl+V, while the program pasted.
    if (waits) pasted_at_ >= 0 ? WaitFrom(pasted_at_, Interval()) : p_.clock.Wait(Interval());
    pasted_at_ = -1;
    if (!Press({static_cast<int>(key)})) return;
  }
}

void PasteEngine::TypedTabs(int row) {
  for (int n = SkipCount(row); n > 0; --n) {
    p_.clock.Wait(Interval());
    WaitForModifiersReleased();
    if (TargetLeft()) return;
    if (typist_) typist_->TypeBySendKeys("{TAB}");
  }
}

bool PasteEngine::PostRow(std::string_view text) {
  pasted_at_ = -1;
  if (!AwaitKeysHandled()) return false;
  const std::uintptr_t window = TargetWindow(p_.ui);
  if (PostTargetLeft(window)) return false;
  PostTextToWindow(p_.messages, window, text);
  last_post_ = Posted{window, p_.target.FocusOf(window)};
  return true;
}

void PasteEngine::SkipKeysAfterPost(int row, bool waits) {
  SkipKeys(row, Key::kTab, waits);
  if (SkipCount(row) > 0) keys_after_post_ = last_post_;
}

bool PasteEngine::AwaitKeysHandled() {
  if (!keys_after_post_) return true;
  const Posted posted = *keys_after_post_;
  keys_after_post_.reset();
  // Where the row went into a field of its own, the Tab is handled once
  // the focus has left it; in a window that draws the whole page the focus
  // cannot be seen to move, and the program answering is the sign.
  const bool field = p_.target.IsField(posted.control);
  Patience patience(p_.clock.NowMicros());
  for (;;) {
    const bool answering = p_.target.Answering(posted.window);
    if (answering && (!field || p_.target.FocusOf(posted.window) != posted.control)) return true;
    if (patience.RunOut(p_.clock.NowMicros(), answering) || StopAsked() || p_.ui.Destroyed()) break;
    p_.clock.Wait(kPollMs);
  }
  if (!StopAsked()) {
    EndRunning();
    p_.ui.Hint("●目标程序没有处理跳格键，已停止！", "组合框66", 20, 30);
  }
  return false;
}

bool PasteEngine::TypeRow(std::string_view text) {
  WaitForModifiersReleased();
  if (TargetLeft()) return false;
  if (typist_) typist_->TypeBySendKeys(text);
  return true;
}

PasteEngine::Delivery PasteEngine::PasteItemList() {
  rt::Unit& items = p_.ui["列表框1"];
  const int row = CurrentRow();
  for (int i = 0; i < items.ItemCount(); ++i) {
    const std::string text = items.ItemText(i);
    Delivery delivery = Delivery::kTaken;
    if (items.ItemValue(i) == 0) {
      const std::int64_t start = p_.clock.NowMicros();
      const FieldBefore before = ReadTargetField();
      WaitFrom(start, Interval());
      if (!SetClipboard(text)) continue;
      if (!text.empty()) delivery = PressPaste([this, text] { return SetClipboard(text); }, row, before);
    } else if (items.ItemValue(i) == 1) {
      const std::int64_t start = p_.clock.NowMicros();
      const FieldBefore before = ReadTargetField();
      WaitFrom(start, Interval());
      const std::string picture = p_.files.Read(text);
      p_.clock.Wait(Interval());
      if (!p_.clipboard.SetPicture(picture)) continue;
      delivery = PressPaste([this, picture] { return p_.clipboard.SetPicture(picture); }, row, before);
    }
    if (delivery != Delivery::kTaken) return delivery;
  }
  return Delivery::kTaken;
}

}  // namespace tovan::paste
