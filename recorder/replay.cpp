#include "recorder/replay.h"

#include <algorithm>
#include <string>

#include "recorder/input_synthesis.h"
#include "runtime/text.h"

namespace tovan::recorder {
namespace {

constexpr rt::Colour kViolet{144, 0, 255};
constexpr rt::Colour kBlue{0, 0, 255};
constexpr const char* kSlots[] = {"选择框94", "选择框95", "选择框96", "选择框97", "选择框98"};
constexpr int kAfterPassMs = 50;

}  // namespace

void Replay::Bind() {
  p_.ui.Bind("按钮117", rt::EventKind::kClicked, [this](const rt::Event&) { Start(); });
}

int Replay::StartWait() const { return std::max(0, rt::ToInteger(p_.ui["组合框2"].Text())); }

bool Replay::MayRun() const { return p_.ui[kRunFlag].Checked(); }

template <class Step>
void Replay::After(int ms, Step step) {
  p_.ui.RunLater(ms, [this, step, replay = replay_] {
    if (running_ && replay == replay_ && !p_.ui.Destroyed()) (this->*step)();
  });
}

void Replay::SimulateHotkey() {
  if (recorder_.Recording()) {
    recorder_.AskToStopRecording(300);
    return;
  }
  p_.ui.RunLater(StartWait(), [this] {
    if (!p_.ui.Destroyed()) Start();
  });
}

void Replay::StopHotkey() {
  if (recorder_.Recording()) {
    recorder_.AskToStopRecording(30);
    return;
  }
  if (!recorder_.On()) return;
  rt::Unit& status = p_.ui[kStatus];
  status.SetText(kReplayStopped);
  status.SetTextColour(kBlue);
  p_.ui[kRunFlag].SetChecked(false);
}

void Replay::Stop() {
  if (!running_) return;
  p_.ui[kRunFlag].SetChecked(false);
  Finish();
}

void Replay::Start() {
  // One replay at a time: a second start would share the pass counter.
  if (running_) return;
  p_.ui[kRunFlag].SetChecked(true);
  const bool slot_ticked = std::any_of(std::begin(kSlots), std::end(kSlots), [&](const char* s) { return p_.ui[s].Checked(); });
  if (!recorder_.On() || recorder_.Recording() || !slot_ticked) return;
  running_ = true;
  ++replay_;
  After(StartWait(), &Replay::FirstPass);
}

void Replay::FirstPass() {
  rt::Unit& status = p_.ui[kStatus];
  status.SetText(kReplaying);
  status.SetTextColour(kViolet);
  passes_ = rt::ToInteger(p_.ui["组合框64"].Text());
  pass_ = 0;
  NextPass();
}

void Replay::NextPass() {
  if (++pass_ > passes_ || !MayRun()) {
    Finish();
    return;
  }
  p_.ui["透明标签17"].SetText(" 第" + rt::ToText(pass_) + "次");
  row_ = 0;
  rows_ = events_.RowCount();
  NextRow();
}

void Replay::NextRow() {
  // Rows of any other kind play nothing; a stopped replay ends its pass.
  while (row_ < rows_ && MayRun()) {
    const std::string_view kind = events_.Cell(row_, 0);
    if (kind == "鼠标" || kind == "按键") {
      due_.mouse = kind == "鼠标";
      for (std::size_t i = 0; i < 3; ++i) due_.cells[i] = rt::ToInteger(events_.Cell(row_, 3 + i));
      After(std::max(0, rt::ToInteger(events_.Cell(row_, 7))), &Replay::SendRow);
      return;
    }
    ++row_;
  }
  After(kAfterPassMs, &Replay::NextPass);
}

void Replay::SendRow() {
  // The list may change between rows (a slot loaded meanwhile): the next
  // row is read from it as it is then; a row that is gone reads as empty
  // and plays nothing.
  if (due_.mouse)
    ReplayMouseEvent(p_, due_.cells[2], due_.cells[0], due_.cells[1]);
  else
    SendKeyEvent(p_, due_.cells[0], due_.cells[1], false);
  ++row_;
  NextRow();
}

void Replay::Finish() {
  running_ = false;
  ++replay_;
}

}  // namespace tovan::recorder
