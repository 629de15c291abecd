// The application with rows, a row hotkey loaded, and the action log read
// as "time action detail" lines from a moment on.
#pragma once

#include <string>
#include <vector>

#include "tests/unit/app_fixture.h"

namespace tovan {

class PasteTest : public AppTest {
 protected:
  static constexpr int kF2 = 0x71;

  void SetUp() override { Start(); }

  // Rows with these contents and skip counts; row 0 carries the hotkey F2,
  // loaded; the interval is `interval` ms; the first row is current.
  void Prepare(const std::vector<std::string>& contents, const std::vector<std::string>& skips, int interval = 100) {
    AddRows(contents);
    for (std::size_t row = 0; row < skips.size(); ++row) app.Rows().SetCell(row, table::kSkip, skips[row]);
    app.Rows().SetCell(0, table::kHotkey, "F2");
    ChooseItem("组合框2", std::to_string(interval));
    sim.ui.Click("加载热键");
    List().SetCurrentRow(0);
  }
  void ChooseItem(const std::string& unit, const std::string& text) {
    rt::Unit& u = U(unit);
    for (int i = 0; i < u.ItemCount(); ++i)
      if (u.ItemText(i) == text) sim.ui.Choose(unit, i);
  }
  void Mode(const std::string& mode) { ChooseItem("组合框66", mode); }
  rt::ListUnit& List() { return sim.ui.List("超级列表框1"); }

  struct Mark {
    std::int64_t millis;
    std::size_t entry;
  };
  Mark Now() { return {sim.NowMillis(), sim.log.Entries().size()}; }
  // Presses F2 now; returns where the log stood.
  Mark PressF2() {
    const Mark mark = Now();
    sim.hotkeys.Press(0, kF2);
    return mark;
  }
  // What happened since the mark: "+ms action detail" for clipboard, keys,
  // posts and sounds.
  std::vector<std::string> Story(Mark from) {
    std::vector<std::string> out;
    const auto& entries = sim.log.Entries();
    const std::int64_t t0 = from.millis;
    for (std::size_t i = from.entry; i < entries.size(); ++i) {
      const auto& a = entries[i];
      std::string what;
      switch (a.action) {
        case rt::sim::Action::kClipboardText: what = "clip " + a.detail; break;
        case rt::sim::Action::kClipboardPicture: what = "picture"; break;
        case rt::sim::Action::kClipboardWithdrawn: what = "withdraw"; break;
        case rt::sim::Action::kChord: what = a.detail; break;
        case rt::sim::Action::kStrokes: what = "type " + a.detail; break;
        case rt::sim::Action::kPosted: what = "post " + a.detail; break;
        case rt::sim::Action::kSound: what = "sound"; break;
        default: continue;
      }
      out.push_back("+" + std::to_string(a.Millis() - t0) + " " + what);
    }
    return out;
  }
};

}  // namespace tovan
