#include "recorder/recorder.h"

#include "recorder/recorder_names.h"
#include "recorder/recorder_sounds.h"
#include "runtime/text.h"
#include "runtime/timer_wait.h"
#include "table/button_colours.h"

namespace tovan::recorder {
namespace {

constexpr rt::Colour kBlue{0, 0, 255};
constexpr rt::Colour kRed{255, 0, 0};
constexpr char kSpeed[] = "组合框65";
// The mode buttons that lose their highlight when the recorder comes on.
constexpr const char* kModeButtons[] = {"按钮excel", "按钮word", "按钮104", "按钮102", "按钮66", "按钮1", "按钮6"};

}  // namespace

void Recorder::Bind() {
  using rt::Event;
  using rt::EventKind;
  p_.ui.Bind(kEnableButton, EventKind::kClicked, [this](const Event&) { EnableButton(); });
  p_.ui.Bind(kSpeed, EventKind::kSelectionChanged, [this](const Event&) { SpeedChanged(); });
}

bool Recorder::On() const { return p_.ui[kEnableButton].Text() == kRecorderOn; }

bool Recorder::Recording() const { return p_.ui[kStatus].Text() == kRecording; }

void Recorder::SetStatus(const char* text, rt::Colour colour) {
  rt::Unit& status = p_.ui[kStatus];
  status.SetText(text);
  status.SetTextColour(colour);
}

void Recorder::ClearEvents() {
  events_.Clear();
  p_.ui.List(table::kEventList).RowsChanged();
}

void Recorder::AskToStopRecording(int dy) {
  p_.ui.Hint("●请按" + p_.ui["记录"].Text() + "停止记录，重新记录！", "记录", 30, dy);
}

void Recorder::EnableButton() {
  remove_backtick_hook();
  rt::Unit& button = p_.ui[kEnableButton];
  if (!On()) {
    show_table();
    for (const char* other : kModeButtons) p_.ui[other].SetBackColour(kButtonColour);
    if (hotkeys_.RowHotkeysLoaded()) {
      hotkeys_.LoadOrUnloadRowHotkeys();
      p_.clock.Wait(100);
    }
    // The backtick key does nothing while the recorder is on, and is free.
    p_.ui["组合框1"].SetSelection(6);
    button.SetText(kRecorderOn);
    hotkeys_.RegisterFixedHotkeys();
    hotkeys_.UnregisterBacktick();
    if (p_.ui["按钮104"].Text() == "同页保存") {
      p_.ui["按钮104"].SetText("同页粘贴");
      p_.ui["按钮104"].SetBackColour(kButtonColour);
    }
    p_.ui[kRunFlag].SetChecked(true);
    button.SetBackColour(kHighlightColour);
    return;
  }
  if (Recording()) {
    button.SetBackColour(kButtonColour);
    AskToStopRecording(30);
    return;
  }
  switched_off();
  p_.ui["透明标签17"].SetText("模拟次数");
  SetStatus(kNotRecording, kBlue);
  p_.ui[kRunFlag].SetChecked(false);
  button.SetText("启动按键精灵");
  button.SetBackColour(kButtonColour);
  p_.ui[kSpeed].SetSelection(4);
  ClearEvents();
  hooks_.RemoveKeyboardHook();
  hooks_.RemoveMouseHook();
}

void Recorder::RecordHotkey() {
  if (!On()) return;
  if (replaying()) {
    p_.ui.Hint("●请按" + p_.ui["停止"].Text() + "停止模拟，再记录！", "记录", 30, 30);
    return;
  }
  p_.ui[kRunFlag].SetChecked(true);
  if (Recording())
    StopRecording();
  else
    StartRecording();
}

void Recorder::StartRecording() {
  if (hotkeys_.RowHotkeysLoaded()) {
    hotkeys_.LoadOrUnloadRowHotkeys();
    p_.clock.Wait(100);
  }
  p_.clock.Wait(100);
  ClearEvents();
  SetStatus(kRecording, kBlue);
  p_.system.PlayWave(StartSound());
  rt::TimerWait(p_.clock, 200);
  // Whatever the sound or the hotkey produced meanwhile is not the user's.
  ClearEvents();
  hooks_.AddKeyboardCallback("recorder", [this](const rt::KeyEvent& event) {
    KeyRow(event);
    return 0;
  });
  hooks_.AddMouseCallback("recorder", [this](const rt::MouseEvent& event) {
    MouseRow(event);
    return 0;
  });
}

void Recorder::StopRecording() {
  SetStatus(kRecordingStopped, kRed);
  p_.system.PlayWave(StopSound());
  hooks_.RemoveKeyboardHook();
  hooks_.RemoveMouseHook();
  // The last row is the press of the record hotkey itself.
  events_.RemoveLast();
  p_.ui.List(table::kEventList).RowsChanged();
  p_.ui.Hint("●记录完毕，记得【保存】！", "按钮59", 30, 30);
}

std::string Recorder::Delay() const { return rt::ToText(rt::ToInteger(p_.ui[kSpeed].Text())); }

void Recorder::KeyRow(const rt::KeyEvent& event) {
  const bool down = event.message == rt::kKeyDownMessage;
  const bool up = event.message == rt::kKeyUpMessage;
  const std::string code = rt::ToText(event.virtual_key);
  events_.Append({"按键", std::string(RecordedKeyName(rt::ToInteger(code))), down ? "按下" : up ? "放开" : "", code,
                  down ? "3" : up ? "4" : "0", "", "", Delay()});
  ShowNewRowsSoon();
}

void Recorder::MouseRow(const rt::MouseEvent& event) {
  const std::string_view name = MouseActionName(event.message);
  if (name.empty()) return;  // moves, the wheel, other buttons
  events_.Append({"鼠标", std::string(name), "", rt::ToText(event.screen.x), rt::ToText(event.screen.y),
                  rt::ToText(event.message), "", Delay()});
  ShowNewRowsSoon();
}

void Recorder::ShowNewRowsSoon() {
  if (rows_pending_) return;
  rows_pending_ = true;
  p_.ui.RunLater(100, [this] {
    rows_pending_ = false;
    p_.ui.List(table::kEventList).RowsChanged();
  });
}

void Recorder::SpeedChanged() {
  // Presses (mouse in 键名, keys in 键状态) take the new delay; releases keep theirs.
  const std::string delay = p_.ui[kSpeed].Text();
  for (std::size_t row = 0; row < events_.RowCount(); ++row) {
    const table::EventList::Row& cells = events_.At(row);
    if (cells[1].find("按下") != std::string::npos || cells[2].find("按下") != std::string::npos)
      events_.SetCell(row, 7, delay);
  }
  p_.ui.List(table::kEventList).RowsChanged();
}

}  // namespace tovan::recorder
