#include "paste/backtick.h"

#include <algorithm>

#include "runtime/text.h"
#include "table/button_colours.h"
#include "table/import_cut.h"

namespace tovan::paste {
namespace {

constexpr char kCopyMode[] = "组合框1";
constexpr char kPasteButton[] = "按钮66";
constexpr char kSamePageButton[] = "按钮104";
constexpr char kSamePageText[] = "编辑框25";
// The mode buttons that lose their highlight when backtick paste or the
// same-page mode comes on.
constexpr const char* kOtherModeButtons[] = {"按钮word", "按钮excel", "按钮1", "按钮102", "按钮6"};
// How long a copy waits at most for the program told to copy to do so.
constexpr int kCopyWaitLimitMs = 500;

}  // namespace

void Backtick::Bind() {
  using rt::Event;
  using rt::EventKind;
  pin_.Bind();
  busy_.WhenIdle([this] {
    if (!held_copies_.empty()) p_.ui.RunSoon([this] { AddHeldCopies(); });
  });
  p_.ui.Bind(kPasteButton, EventKind::kClicked, [this](const Event&) { TogglePaste(); });
  p_.ui.Bind(kSamePageButton, EventKind::kClicked, [this](const Event&) {
    if (SamePageOn())
      same_page_.Save();
    else
      EnterSamePage();
  });
  p_.ui.Bind(kSamePageText, EventKind::kGotFocus, [this](const Event&) {
    TurnOffPaste();
    p_.ui[kCopyMode].SetSelection(4);
  });
}

bool Backtick::SamePageOn() const { return p_.ui[kSamePageButton].Text() == "同页保存"; }

int Backtick::CopyWait() const { return std::max(0, rt::ToInteger(p_.ui["组合框2"].Text())); }

bool Backtick::InFront(std::uintptr_t window) {
  if (window != 0 && p_.ui.ForegroundWindow() == window) return true;
  p_.ui.Hint("●目标窗口已关闭或切换，本次没有复制或粘贴！", "导入方式", 20, 30);
  return false;
}

std::string Backtick::Copy(int wait_ms, std::uintptr_t window, std::int64_t moved_on_after) {
  if (!InFront(window)) return {};
  const std::uint64_t before = p_.clipboard.Sequence();
  p_.keys.Chord({rt::kVkControl, 'C'});
  p_.clock.Wait(wait_ms);
  // Ctrl+C only asks the program to copy. Opening the clipboard to read
  // while it is about to write makes its copy fail: the clipboard is read
  // once it has changed, or when the program has had its time.
  for (int waited = wait_ms; p_.clipboard.Sequence() == before && waited < kCopyWaitLimitMs &&
                            p_.mouse_hook.LastLeftReleaseMicros() <= moved_on_after;
       waited += 10)
    p_.clock.Wait(10);
  // A Ctrl+C that changed nothing copied nothing (no selection): what the
  // clipboard still holds is an older copy, perhaps one held for the table.
  if (p_.clipboard.Sequence() == before) return {};
  return p_.clipboard.Text();
}

void Backtick::AppendToSamePage(const std::string& text) {
  rt::Unit& same_page = p_.ui[kSamePageText];
  same_page.SetText(same_page.Text() + text + "\r\n");
}

void Backtick::Press(std::uintptr_t window) {
  if (pin_.Press(window)) return;
  press_window_ = window;
  switch (p_.ui[kCopyMode].Selection()) {
    case 0:
    case 1: CopyIntoTable(); break;
    case 2: CopyIntoWord(); break;
    case 3: CopyIntoExcel(); break;
    case 4: CopyOntoSamePage(); break;
    case 5:
      p_.clock.Wait(CopyWait());
      if (InFront(press_window_)) p_.keys.Chord({rt::kVkControl, 'V'});
      break;
    default: break;
  }
}

void Backtick::CopyIntoTable() {
  p_.clock.Wait(100);
  rt::Unit& scratch = p_.ui["编辑框1005"];
  scratch.SetText("");
  const std::string text = Copy(50, press_window_);
  if (text.empty()) return;
  scratch.SetText(text);
  const table::ImportMode mode = table::ImportModeOf(p_.ui["导入方式"].Text());
  if (mode == table::ImportMode::kNone) return;
  const bool single = mode == table::ImportMode::kSingle;
  p_.clock.Wait(single ? 50 : 100);
  const std::string separator = p_.ui["分割符"].Text();
  // A slot being opened or saved, or a drop, owns the rows until it is
  // done: the copy becomes rows after it.
  if (busy_.Now() || !held_copies_.empty()) {
    held_copies_.push_back({text, mode, separator});
    return;
  }
  AddCopiedRows(text, mode, separator);
}

void Backtick::AddHeldCopies() {
  while (!held_copies_.empty() && !busy_.Now()) {
    HeldCopy copy = std::move(held_copies_.front());
    held_copies_.pop_front();
    AddCopiedRows(copy.text, copy.mode, copy.separator);
  }
}

void Backtick::AddCopiedRows(const std::string& text, table::ImportMode mode, const std::string& separator) {
  const bool single = mode == table::ImportMode::kSingle;
  const std::size_t before = rows_.RowCount();
  table::RowStore::Batch rows;
  if (single)
    rows.Add(text);
  else
    rows = table::CutCopiedText(mode, text, separator);
  rows_.Adopt(std::move(rows));
  editor_.Refresh();
  const int last = static_cast<int>(rows_.RowCount()) - 1;
  if (single) {
    p_.ui.List(table::kTable).EnsureVisible(last);
    p_.clipboard.SetText("");
    return;
  }
  p_.clock.Wait(50);
  if (before > 0 && rows_.RowCount() > before) p_.ui.List(table::kTable).EnsureVisible(last);
  p_.clipboard.SetText("");
  editor_.DeleteBlankRows();
}

void Backtick::CopyOntoSamePage() {
  p_.clock.Wait(100);
  const std::string text = Copy(CopyWait(), press_window_);
  if (text.empty()) return;
  AppendToSamePage(text);
  p_.clock.Wait(CopyWait());
  p_.clipboard.SetText("");
}

void Backtick::TogglePaste() {
  rt::Unit& button = p_.ui[kPasteButton];
  if (button.Text() != "反撇号键粘贴") {
    button.SetText("反撇号键粘贴");
    // Outside the same-page mode the backtick keeps pasting.
    if (SamePageOn()) p_.ui[kCopyMode].SetSelection(4);
    button.SetBackColour(kButtonColour);
    p_.clipboard.SetText("");
    p_.mouse_hook.Remove(kBacktickHookOwner);
    return;
  }
  hotkeys_.ReRegisterBacktick();
  button.SetText("关闭复制");
  p_.ui[kCopyMode].SetSelection(5);
  for (const char* other : kOtherModeButtons) p_.ui[other].SetBackColour(kButtonColour);
  button.SetBackColour(kHighlightColour);
  p_.mouse_hook.Install(kBacktickHookOwner, [this](const rt::MouseEvent& event) { MouseEvent(event); });
}

void Backtick::TurnOffPaste() {
  rt::Unit& button = p_.ui[kPasteButton];
  if (button.Text() != "关闭复制") return;
  button.SetText("反撇号键粘贴");
  button.SetBackColour(kButtonColour);
  p_.clipboard.SetText("");
  p_.mouse_hook.Remove(kBacktickHookOwner);
}

void Backtick::EnterSamePage() {
  hotkeys_.ReRegisterBacktick();
  p_.ui[kSamePageButton].SetText("同页保存");
  p_.ui[kCopyMode].SetSelection(4);
  p_.ui[table::kTable].SetVisible(false);
  p_.ui[kSamePageText].SetVisible(true);
  for (const char* other : kOtherModeButtons) p_.ui[other].SetBackColour(kButtonColour);
  p_.ui[kSamePageButton].SetBackColour(kHighlightColour);
  hotkeys_.ReRegisterBacktick();
}

void Backtick::MouseEvent(const rt::MouseEvent& event) {
  const bool same_page = SamePageOn();
  if (!same_page && p_.ui[kSamePageButton].Text() != "同页粘贴") return;
  switch (event.message) {
    case rt::kRightButtonUp:
      // The window last right-clicked, outside the same-page mode.
      if (!same_page) p_.ui["编辑框句柄"].SetText(rt::ToText(static_cast<std::int64_t>(event.window)));
      break;
    case rt::kLeftButtonDown: press_point_ = event.screen; break;
    case rt::kLeftButtonUp:
      // Released elsewhere than pressed: a drag, that is a selection.
      if (event.screen == press_point_) break;
      in_turn([this, window = p_.target.TopLevelOf(event.window), released = event.micros] {
        CopyDrag(window, released);
      });
      break;
    case rt::kMiddleButtonDown:
      in_turn([this, window = p_.target.TopLevelOf(event.window), pressed = event.micros] {
        MiddleClickPaste(window, pressed);
      });
      break;
    default: break;
  }
}

void Backtick::CopyDrag(std::uintptr_t window, std::int64_t released_micros) {
  // Drags and presses made during this copy's waits come after it, in their
  // order: one copy after another, and a paste never before a copy. The
  // copy wait counts from the release, however long the turn took to come.
  p_.clock.WaitUntil(released_micros + std::int64_t{CopyWait()} * 1000);
  // Outside the same-page mode the text stays on the clipboard for the
  // backtick or a middle click to paste, unread: a read would hold the
  // clipboard just when a paste may want it.
  if (!SamePageOn()) {
    if (!InFront(window)) return;
    p_.keys.Chord({rt::kVkControl, 'C'});
    p_.clock.Wait(50);
    return;
  }
  // A later release (the next drag, or a click that ends the selection)
  // means the user has moved on: the next copy does not wait behind one
  // whose Ctrl+C changed nothing.
  const std::string text = Copy(50, window, released_micros);
  if (!text.empty() && SamePageOn()) {
    AppendToSamePage(text);
    p_.clipboard.SetText("");
  }
}

void Backtick::MiddleClickPaste(std::uintptr_t window, std::int64_t pressed_micros) {
  p_.clock.WaitUntil(pressed_micros + 50'000);
  if (InFront(window)) p_.keys.Chord({rt::kVkControl, 'V'});
}

}  // namespace tovan::paste
