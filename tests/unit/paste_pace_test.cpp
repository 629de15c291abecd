// Every row exactly once, at the pace of the program being filled: one that
// is busy after each key, one that stops answering for a moment, one that
// never reads, a clipboard tool holding the clipboard meanwhile.
#include "tests/unit/paste_test_fixture.h"

namespace tovan {
namespace {

using Lines = std::vector<std::string>;

class PaceTest : public PasteTest {
 protected:
  // "行01" … "行nn".
  static Lines Numbered(int count) {
    Lines rows;
    for (int i = 1; i <= count; ++i) rows.push_back((i < 10 ? "行0" : "行") + std::to_string(i));
    return rows;
  }
  static std::string Joined(const Lines& rows, const std::string& between) {
    std::string out;
    for (const std::string& row : rows) out += (out.empty() ? "" : between) + row;
    return out;
  }
  // Lets the program in front finish whatever is still queued for it.
  void Settle() { sim.clock.AdvanceTo(sim.clock.NowMicros() + 30'000'000); }
  std::string LastBalloon() {
    const Lines all = Balloons();
    return all.empty() ? "" : all.back().substr(all.back().find(' ') + 1);
  }
};

TEST_F(PaceTest, ATargetBusyAfterEveryTabGetsEachRowOnceInOrder) {
  Prepare(Numbered(12), Lines(12, "1"), 10);
  Mode("自动横向粘贴");
  sim.target.BusyAfterKey(800);
  PressF2();
  Settle();
  EXPECT_EQ(sim.target.Received(), Joined(Numbered(12), "\t"));
  EXPECT_EQ(sim.target.Reads(), 12);
  EXPECT_TRUE(Balloons().empty());
}

TEST_F(PaceTest, ATargetThatStopsAnsweringForASecondAndAHalfGetsEachRowOnce) {
  Prepare(Numbered(20), Lines(20, "1"), 10);
  Mode("自动横向粘贴");
  sim.target.SetFieldsOfTheirOwn(false);  // a notepad: Tab is a character
  sim.target.PauseAt(1400, 1500, false);   // around row 13
  PressF2();
  Settle();
  EXPECT_EQ(sim.target.Received(), Joined(Numbered(20), "\t"));
  EXPECT_EQ(sim.target.Reads(), 20);
}

TEST_F(PaceTest, AClipboardToolHoldingTheClipboardBesideABusyTargetCausesNoSecondPaste) {
  // The tool opens the clipboard 150 ms after each change and holds it
  // 30 ms without reading; the form is busy 400 ms after each Tab.
  Prepare(Numbered(12), Lines(12, "1"), 10);
  Mode("自动横向粘贴");
  sim.target.BusyAfterKey(400);
  sim.clipboard.OnChange([&] {
    sim.clock.AfterMillis(150, [&] {
      sim.clipboard.SetHeldByOther(true);
      sim.clock.AfterMillis(30, [&] { sim.clipboard.SetHeldByOther(false); });
    });
  });
  PressF2();
  Settle();
  const auto chords = sim.log.Of(rt::sim::Action::kChord);
  EXPECT_EQ(std::count_if(chords.begin(), chords.end(), [](const auto& c) { return c.detail == "Ctrl+V"; }), 12);
  EXPECT_EQ(sim.target.Received(), Joined(Numbered(12), "\t"));
}

TEST_F(PaceTest, ARowNotReadIsTakenBackAndStaysCurrent3SecondsOnWhileTheTargetAnswers10WhileItDoesNot) {
  Prepare({"a", "b"}, {"1", "1"}, 10);
  sim.target.IgnorePastes(true);  // the focus is on a button: Ctrl+V does nothing
  auto t0 = PressF2();
  EXPECT_EQ(Story(t0), (Lines{"+0 clip a", "+100 Ctrl+V", "+3100 withdraw"}));
  EXPECT_EQ(List().CurrentRow(), 0);
  EXPECT_EQ(LastBalloon(), "●第1行没有被目标程序取走，已停止！");
  // A program that does not answer may still be busy with earlier input:
  // it is given longer.
  sim.target.PauseAt(static_cast<int>(sim.NowMillis()), 20'000, false);
  t0 = PressF2();
  EXPECT_EQ(Story(t0), (Lines{"+0 clip a", "+100 Ctrl+V", "+10100 withdraw"}));
  // Whatever it still does with those Ctrl+V later pastes nothing; the
  // next press pastes the row once.
  Settle();
  sim.target.IgnorePastes(false);
  t0 = PressF2();
  EXPECT_EQ(Story(t0), (Lines{"+0 clip a", "+100 Ctrl+V", "+110 Tab"}));
  Settle();
  EXPECT_EQ(sim.target.Received(), "a\t");
  EXPECT_EQ(List().CurrentRow(), 1);
}

TEST_F(PaceTest, ARowGivenToAnotherProgramWhileItsReadWasAwaitedMayBeMissingAndTheNextRowIsCurrent) {
  Prepare({"a", "b", "c"}, {"1", "1", "1"}, 10);
  Mode("自动横向粘贴");
  sim.target.IgnorePastes(true);
  sim.clock.AfterMillis(500, [&] { sim.clipboard.ReadByOther(); });  // a program reading without a window of its own
  const auto t0 = PressF2();
  EXPECT_EQ(Story(t0), (Lines{"+30 clip a", "+130 Ctrl+V", "+3130 withdraw"}));
  EXPECT_EQ(LastBalloon(), "●第1行可能没有粘贴进去，请检查！");
  EXPECT_EQ(List().CurrentRow(), 1);
  EXPECT_EQ(U("按钮120").Text(), "自动");
  EXPECT_EQ(U("编辑框1011").Text(), "66");
}

TEST_F(PaceTest, APasteReadButLeavingTheFieldUnchangedIsPressedOnceMoreOnlyWhereTheFieldCanBeRead) {
  Prepare({"a", "b"}, {"1", "1"}, 100);
  sim.target.DiscardPastes(1);
  auto t0 = PressF2();
  EXPECT_EQ(Story(t0), (Lines{"+0 clip a", "+100 Ctrl+V", "+100 clip a", "+100 Ctrl+V", "+200 Tab"}));
  Settle();
  EXPECT_EQ(sim.target.Received(), "a\t");
  // Refused again: the row did not arrive, for sure; the press stops on it
  // with the hint, no key after it, the row still current.
  sim.target.DiscardPastes(2);
  t0 = PressF2();
  EXPECT_EQ(Story(t0), (Lines{"+0 clip b", "+100 Ctrl+V", "+100 clip b", "+100 Ctrl+V"}));
  EXPECT_EQ(LastBalloon(), "●第2行没有粘贴进去，已停止！");
  EXPECT_EQ(List().CurrentRow(), 1);
  // A field drawn by the program itself cannot be read: one Ctrl+V only.
  sim.target.SetReadable(false);
  sim.target.DiscardPastes(1);
  t0 = PressF2();
  EXPECT_EQ(Story(t0), (Lines{"+0 clip b", "+100 Ctrl+V", "+200 Tab"}));
}

TEST_F(PaceTest, TheWaitBeforeTheFirstKeyRunsFromTheCtrlVButTheKeyNeverGoesBeforeTheRead) {
  Prepare({"a", "b"}, {"1", "1"}, 100);
  sim.target.PauseAt(static_cast<int>(sim.NowMillis()) + 90, 50, false);  // the Ctrl+V is read at +140
  auto t0 = PressF2();
  EXPECT_EQ(Story(t0), (Lines{"+0 clip a", "+100 Ctrl+V", "+200 Tab"}));
  sim.target.PauseAt(static_cast<int>(sim.NowMillis()) + 90, 300, false);  // read at +390
  t0 = PressF2();
  EXPECT_EQ(Story(t0), (Lines{"+0 clip b", "+100 Ctrl+V", "+390 Tab"}));
  Settle();
  EXPECT_EQ(sim.target.Received(), "a\tb\t");
}

TEST_F(PaceTest, APictureIsHandedOverOnlyWhenAskedForSoTheTextAfterItWaitsForItsRead) {
  sim.files.MakeDirectory("C:\\pics");
  sim.files.Write("C:\\pics\\a.png", "\x89PNG not really");
  Mode("单快捷键图文粘贴");
  app.Rows().SetCell(0, table::kContent, "C:\\pics\\a.png\r\nhello");
  app.Rows().SetCell(0, table::kHotkey, "F2");
  ChooseItem("组合框2", "10");
  sim.ui.Click("加载热键");
  List().SetCurrentRow(1);
  List().SetCurrentRow(0);
  sim.target.PauseAt(static_cast<int>(sim.NowMillis()) + 15, 200, false);  // busy as the picture's Ctrl+V comes
  PressF2();
  Settle();
  EXPECT_EQ(sim.target.Received(), "<picture>hello\r\n");
}

TEST_F(PaceTest, PostedRowsWaitUntilTheFocusHasLeftTheFieldOfTheRowBefore) {
  // Posted characters are taken before queued keys: a busy form would get
  // the next row before the Tab of the one before.
  Prepare({"a", "b", "c"}, {"1", "1", "1"}, 10);
  Mode("自动网页强制粘贴");
  sim.ui.SetCursor({5, 5}, 4660);
  sim.ui.SetForegroundWindow(4660);  // the page the user works in
  sim.target.PauseAt(static_cast<int>(sim.NowMillis()), 600, false);
  PressF2();
  Settle();
  EXPECT_EQ(sim.target.Received(), "a\tb\tc");
}

}  // namespace
}  // namespace tovan
