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

}  // namespace

void Replay::Bind() {
  p_.ui.Bind("按钮117", rt::EventKind::kClicked, [this](const rt::Event&) { Run(); });
}

int Replay::StartWait() const { return std::max(0, rt::ToInteger(p_.ui["组合框2"].Text())); }

bool Replay::MayRun() const { return p_.ui[kRunFlag].Checked(); }

void Replay::SimulateHotkey() {
  if (recorder_.Recording()) {
    recorder_.AskToStopRecording(300);
    return;
  }
  p_.clock.Wait(StartWait());
  Run();
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

void Replay::Run() {
  // One replay at a time: a second start would share the pass counter.
  if (running_) return;
  p_.ui[kRunFlag].SetChecked(true);
  const bool slot_ticked = std::any_of(std::begin(kSlots), std::end(kSlots), [&](const char* s) { return p_.ui[s].Checked(); });
  if (!recorder_.On() || recorder_.Recording() || !slot_ticked) return;
  running_ = true;
  p_.clock.Wait(StartWait());
  rt::Unit& status = p_.ui[kStatus];
  status.SetText(kReplaying);
  status.SetTextColour(kViolet);
  const int passes = rt::ToInteger(p_.ui["组合框64"].Text());
  for (int pass = 1; pass <= passes; ++pass) {
    p_.ui.PumpEvents();
    if (!MayRun()) break;
    p_.ui["透明标签17"].SetText(" 第" + rt::ToText(pass) + "次");
    PlayPass();
    p_.clock.Wait(50);
  }
  running_ = false;
}

void Replay::PlayPass() {
  const std::size_t rows = events_.RowCount();
  for (std::size_t row = 0; row < rows; ++row) {
    p_.ui.PumpEvents();
    if (!MayRun()) return;
    // The list may change between rows (a slot loaded meanwhile): a row
    // that is gone reads as empty and plays nothing.
    auto number = [&](std::size_t column) { return rt::ToInteger(events_.Cell(row, column)); };
    const std::string_view kind = events_.Cell(row, 0);
    if (kind == "鼠标") {
      p_.ui.PumpEvents();
      p_.clock.Wait(std::max(0, number(7)));
      ReplayMouseEvent(p_, number(5), number(3), number(4));
    } else if (kind == "按键") {
      p_.ui.PumpEvents();
      p_.clock.Wait(std::max(0, number(7)));
      SendKeyEvent(p_, number(3), number(4), false);
    }
  }
}

}  // namespace tovan::recorder
