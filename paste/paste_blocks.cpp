// The building blocks every paste mode is made of.
#include <algorithm>

#include "paste/paste_engine.h"
#include "runtime/text.h"

namespace tovan::paste {
namespace {

// How long a press waits at most for the user to let go of the hotkey's
// modifiers before it sends keys of its own.
constexpr int kModifierWaitMs = 1000;
// How long a paste waits at most for the program that was told to paste to
// read what it was given (and a nested write, for a read still awaited).
constexpr int kPasteTakenWaitMs = 500;
// How long a paste waits at most for another program to let go of the
// clipboard before it is pressed; how long the paste's read may lag behind
// that program's letting go; how often a paste that found the clipboard
// shut is pressed again.
constexpr int kClipboardHeldWaitMs = 1000;
constexpr int kReadAfterHoldMs = 100;
constexpr int kPasteRetries = 3;
constexpr int kPollMs = 5;

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

bool PasteEngine::SetClipboard(std::string_view text) {
  // Ctrl+V only asks the focused program to paste; it reads the clipboard
  // when it gets to the keys. Replacing the content before then would paste
  // the next row in place of this one.
  if (paste_pending_) p_.clipboard.WaitUntilTaken(kPasteTakenWaitMs);
  paste_pending_ = false;
  return p_.clipboard.SetText(text);
}

bool PasteEngine::SetClipboardPicture(std::string_view image_bytes) {
  if (paste_pending_) p_.clipboard.WaitUntilTaken(kPasteTakenWaitMs);
  paste_pending_ = false;
  return p_.clipboard.SetPicture(image_bytes);
}

bool PasteEngine::PressPaste() {
  WaitForModifiersReleased();
  paste_pending_ = false;
  if (TargetLeft()) return false;
  PressCtrlV();
  // The program told to paste reads the clipboard when it gets to the key.
  // If another program held it just then, it found it shut and pasted
  // nothing: the text is still unasked, and the paste is pressed again
  // (before any Tab, so the text lands in the same field).
  for (int retry = 0; retry < kPasteRetries; ++retry) {
    if (!AwaitPasteRead() || !p_.clipboard.Unasked()) break;
    PressCtrlV();
  }
  p_.clipboard.AfterPaste();
  // Waited for already: the next text need not wait again.
  paste_pending_ = false;
  return true;
}

void PasteEngine::PressCtrlV() {
  // A program holding the clipboard now would make the paste find it shut.
  const std::int64_t deadline = p_.clock.NowMicros() + std::int64_t{kClipboardHeldWaitMs} * 1000;
  while (p_.clipboard.HeldByOther() && p_.clock.NowMicros() < deadline) p_.clock.Wait(kPollMs);
  // Only the read of the program told to paste lets the next text in.
  p_.clipboard.BeforePaste(p_.ui.ForegroundProcess());
  p_.keys.Chord({rt::kVkControl, 'V'});
  paste_pending_ = true;
}

bool PasteEngine::AwaitPasteRead() {
  // True when the read did not come while another program held the
  // clipboard: the paste may have found it shut.
  const std::int64_t start = p_.clock.NowMicros();
  bool held = false;
  std::int64_t free_since = start;
  for (;;) {
    if (p_.clipboard.WaitUntilTaken(kPollMs)) return false;  // ends as the read comes
    const std::int64_t now = p_.clock.NowMicros();
    if (p_.clipboard.HeldByOther()) {
      held = true;
      free_since = -1;
    } else if (free_since < 0) {
      free_since = now;
    }
    if (held && free_since >= 0 && now - free_since >= std::int64_t{kReadAfterHoldMs} * 1000) return true;
    if (now - start >= std::int64_t{kPasteTakenWaitMs} * 1000) return held;
  }
}

bool PasteEngine::ClipboardPaste(std::string_view text, int wait_ms) {
  // Never Ctrl+V over what the clipboard held before: a write that failed
  // pastes nothing.
  if (!SetClipboard(text)) return false;
  p_.clock.Wait(wait_ms);
  return PressPaste();
}

void PasteEngine::SkipKeys(int row, Key key, bool waits) {
  for (int n = SkipCount(row); n > 0; --n) {
    if (waits) p_.clock.Wait(Interval());
    if (!Press({static_cast<int>(key)})) return;
  }
}

void PasteEngine::TypedTabs(int row) {
  for (int n = SkipCount(row); n > 0; --n) {
    p_.clock.Wait(Interval());
    WaitForModifiersReleased();
    if (typist_) typist_->TypeBySendKeys("{TAB}");
  }
}

bool PasteEngine::PostRow(std::string_view text) {
  if (TargetLeft()) return false;
  PostTextToWindow(p_.messages, TargetWindow(p_.ui), text);
  return true;
}

void PasteEngine::TypeRow(std::string_view text) {
  WaitForModifiersReleased();
  if (typist_) typist_->TypeBySendKeys(text);
}

void PasteEngine::PasteItemList() {
  rt::Unit& items = p_.ui["列表框1"];
  for (int i = 0; i < items.ItemCount(); ++i) {
    const std::string text = items.ItemText(i);
    if (items.ItemValue(i) == 0) {
      p_.clock.Wait(Interval());
      if (!SetClipboard(text)) continue;
      PressPaste();
    } else if (items.ItemValue(i) == 1) {
      p_.clock.Wait(Interval());
      const std::string picture = p_.files.Read(text);
      p_.clock.Wait(Interval());
      if (!SetClipboardPicture(picture)) continue;
      PressPaste();
    }
  }
}

}  // namespace tovan::paste
