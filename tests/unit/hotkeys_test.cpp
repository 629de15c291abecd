#include "paste/key_names.h"
#include "runtime/gbk.h"
#include "tests/unit/app_fixture.h"

namespace tovan {
namespace {

using paste::ParsedHotkey;
using paste::ParseHotkeyText;

TEST(KeyNames, NamesHaveTheirExactGbkBytes) {
  EXPECT_EQ(rt::ToGbk(paste::KeyName(0x25)).bytes, "\x20\xA1\xFB");
  EXPECT_EQ(rt::ToGbk(paste::KeyName(0x6A)).bytes, "\x20\xA1\xC1");
  EXPECT_EQ(rt::ToGbk(paste::KeyName(0xBA)).bytes, "\x20\xA3\xBB");
  EXPECT_EQ(rt::ToGbk(paste::KeyName(0xDE)).bytes, "\x20\xA1\xAE");
  EXPECT_EQ(rt::ToGbk(paste::KeyName(0x6D)).bytes, "\xBC\xF5\xBA\xC5");
  EXPECT_EQ(paste::KeyName(0xC0), " `");
  EXPECT_EQ(paste::KeyName(0x63), "Num 3");
  EXPECT_EQ(paste::KeyName(0x7B), "F12");
  EXPECT_EQ(paste::KeyName(0x7C), "");  // F13 is never captured
  EXPECT_EQ(paste::KeyName(0x09), "");
  EXPECT_EQ(paste::KeyName(0xA1), "");
}

TEST(KeyNames, ThePrefixCountsAModifierThatIsBeingPressed) {
  EXPECT_EQ(paste::Prefix(0x11, 0), "Ctrl+");
  EXPECT_EQ(paste::Prefix(0x11, 2), "Ctrl+Shift+");
  EXPECT_EQ(paste::Prefix(0x10, 4), "Shift+Alt+");
  EXPECT_EQ(paste::Prefix(0x10, 1), "Ctrl+");  // Shift while Ctrl is held: not yet shown
  EXPECT_EQ(paste::Prefix(0x70, 3), "Ctrl+Shift+");
  EXPECT_EQ(paste::Prefix(0x41, 0), "");
}

TEST(KeyNames, ParsingKeepsModifierWordsExactButLettersAndFunctionKeysAnyCase) {
  EXPECT_EQ(ParseHotkeyText("Ctrl+Shift+F5"), (ParsedHotkey{3, 0x74}));
  EXPECT_EQ(ParseHotkeyText("ctrl+a"), (ParsedHotkey{0, 0x41}));
  EXPECT_EQ(ParseHotkeyText("Alt+ ↑"), (ParsedHotkey{4, 0x26}));
  EXPECT_EQ(ParseHotkeyText("Alt+↑"), (ParsedHotkey{4, 0}));
  EXPECT_EQ(ParseHotkeyText("f16"), (ParsedHotkey{0, 0x7F}));
  EXPECT_EQ(ParseHotkeyText("F2"), (ParsedHotkey{0, 0x71}));
  EXPECT_EQ(ParseHotkeyText("Ctrl+加号"), (ParsedHotkey{1, 0x6B}));
  EXPECT_EQ(ParseHotkeyText("Ctrl+Shift+Alt+Ctrl+A").virtual_key, 0);
  EXPECT_EQ(ParseHotkeyText("Ctrl+").virtual_key, 0);
}

class CaptureTest : public AppTest {
 protected:
  void SetUp() override { Start(); }
  // The user presses the keys in order (each held), then releases them all.
  void Chord(const std::string& box, const std::vector<int>& keys) {
    int modifiers = 0;
    for (int key : keys) {
      sim.keys.Hold(key, true);
      sim.ui.KeyDown(box, key, modifiers);
      modifiers |= key == rt::kVkControl ? 1 : key == rt::kVkShift ? 2 : key == rt::kVkMenu ? 4 : 0;
      shown.push_back(U(box).Text());
    }
    for (int key : keys) {
      sim.keys.Hold(key, false);
      sim.ui.KeyUp(box, key, 0);
    }
  }
  std::vector<std::string> shown;
};

TEST_F(CaptureTest, CtrlThenShiftThenF1ShowsThePrefixAsItGrowsAndKeepsTheChord) {
  Chord("记录", {rt::kVkControl, rt::kVkShift, 0x70});
  EXPECT_EQ(shown, (std::vector<std::string>{"Ctrl+", "Ctrl+", "Ctrl+Shift+F1"}));
  EXPECT_EQ(U("记录").Text(), "Ctrl+Shift+F1");
}

TEST_F(CaptureTest, ModifiersAloneKeysWithoutNamesAndCtrlVAreRefused) {
  Chord("模拟", {rt::kVkControl, rt::kVkShift});
  EXPECT_EQ(U("模拟").Text(), "");
  Chord("模拟", {rt::kVkControl, rt::kVkTab});
  EXPECT_EQ(U("模拟").Text(), "");
  Chord("模拟", {rt::kVkControl, 'V'});
  EXPECT_EQ(U("模拟").Text(), "");
}

TEST_F(CaptureTest, TheHighestCodedNamedKeyThatIsDownWins) {
  Chord("停止", {'A', 'B'});
  EXPECT_EQ(U("停止").Text(), "B");
  Chord("停止", {'Z', 0x61});
  EXPECT_EQ(U("停止").Text(), "Num 1");
}

TEST_F(CaptureTest, AChordTheTableOrAnotherRecorderBoxHoldsIsRefused) {
  AddRows({"a", "b", "c", "d", "e", "f"});
  app.Rows().SetCell(5, table::kHotkey, "Ctrl+F3");
  Chord("记录", {rt::kVkControl, 0x72});
  EXPECT_EQ(U("记录").Text(), "");
  Chord("记录", {rt::kVkMenu, 0x72});
  EXPECT_EQ(U("记录").Text(), "Alt+F3");
  Chord("停止", {rt::kVkMenu, 0x72});
  EXPECT_EQ(U("停止").Text(), "");
  Chord("编辑框1007", {rt::kVkMenu, 0x72});
  EXPECT_EQ(U("编辑框1007").Text(), "");
}

TEST_F(CaptureTest, AQuickChordWhoseKeysArriveDuringTheWaitsShowsTheWholeChord) {
  // Keys 3 ms apart: each press's 10 ms wait runs the next keys' events.
  // The first press finishing last must not put its own "Ctrl+" back, and a
  // refused chord must stay refused.
  auto quick = [&](const std::string& box, const std::vector<int>& keys) {
    std::vector<std::pair<int, bool>> steps;
    for (int key : keys) steps.emplace_back(key, true);
    for (int key : keys) steps.emplace_back(key, false);
    int at = 0, modifiers = 0;
    for (const auto& [key, down] : steps) {
      const int before = modifiers;
      if (down) modifiers |= key == rt::kVkControl ? 1 : key == rt::kVkShift ? 2 : 0;
      sim.clock.AfterMillis(at += 3, [this, box, key, down, before] {
        sim.keys.Hold(key, down);
        down ? sim.ui.KeyDown(box, key, before) : sim.ui.KeyUp(box, key, 0);
      });
    }
    sim.clock.Wait(500);
  };
  quick("记录", {rt::kVkControl, rt::kVkShift, 0x71});
  EXPECT_EQ(U("记录").Text(), "Ctrl+Shift+F2");
  quick("模拟", {rt::kVkControl, 'V'});
  EXPECT_EQ(U("模拟").Text(), "");
}

TEST_F(CaptureTest, EnterInTheCellEditorCommitsTheChordItShows) {
  AddRows({"a", "b"});
  sim.ui.DoubleClickCell("超级列表框1", 1, table::kHotkey);
  ASSERT_TRUE(U("编辑框1007").Visible());
  Chord("编辑框1007", {rt::kVkControl, 0x71});
  Chord("编辑框1007", {rt::kVkReturn});
  EXPECT_EQ(app.Rows().Cell(1, table::kHotkey), "Ctrl+F2");
  EXPECT_FALSE(U("编辑框1007").Visible());
}

class LoaderTest : public AppTest {
 protected:
  void SetUp() override { Start(); }
};

TEST_F(LoaderTest, RowHotkeysRegisterIntoTheSlotTheirRowNumberNames) {
  AddRows({"a", "b", "c"});
  app.Rows().SetCell(2, table::kHotkey, "Ctrl+Shift+F5");
  app.Rows().SetCell(1, table::kHotkey, "F2");
  sim.ui.Click("加载热键");
  EXPECT_EQ(U("加载热键").Text(), "卸载热键");
  EXPECT_TRUE(sim.hotkeys.IsRegistered(3, 0x74));
  EXPECT_TRUE(sim.hotkeys.IsRegistered(0, 0x71));
  EXPECT_NE(app.Hotkeys().rows[2], 0);
  EXPECT_EQ(app.HotkeyLoader().SlotOf(app.Hotkeys().rows[2]), 3);
  sim.ui.Click("加载热键");
  EXPECT_EQ(U("加载热键").Text(), "加载热键");
  EXPECT_FALSE(sim.hotkeys.IsRegistered(3, 0x74));
  EXPECT_EQ(app.Hotkeys().rows[2], 0);
}

TEST_F(LoaderTest, AHotkeyBelongsToTheSlotItsRowNumberNamesNotToItsPosition) {
  AddRows({"a", "b", "c", "d"});
  const char* numbers[] = {"3", "3", "51", "02"};
  const char* keys[] = {"F2", "F3", "F4", "F5"};
  for (int row = 0; row < 4; ++row) {
    app.Rows().SetCell(row, table::kNumber, numbers[row]);
    app.Rows().SetCell(row, table::kHotkey, keys[row]);
  }
  sim.ui.Click("加载热键");
  // Two rows numbered "3": the second replaces the first in slot 3; "51"
  // and "02" name no slot, and their texts stay as typed.
  EXPECT_TRUE(sim.hotkeys.IsRegistered(0, 0x72));
  for (int key : {0x71, 0x73, 0x74}) EXPECT_FALSE(sim.hotkeys.IsRegistered(0, key)) << key;
  EXPECT_EQ(app.HotkeyLoader().SlotOf(app.Hotkeys().rows[2]), 3);
  EXPECT_EQ(ColumnOf(table::kHotkey), (std::vector<std::string>{"F2", "F3", "F4", "F5"}));
  EXPECT_EQ(sim.hotkeys.Count(), 2u);  // slot 3 and the backtick key
}

TEST_F(LoaderTest, ARecorderHotkeyTakenElsewhereEmptiesItsBoxAndTheOthersRegister) {
  U("记录").SetText("F8");
  U("模拟").SetText("Ctrl+F9");
  U("停止").SetText("F10");
  sim.hotkeys.TakenByOther(1, 0x78);
  sim.ui.Click("加载热键A");
  EXPECT_EQ(U("记录").Text(), "F8");
  EXPECT_EQ(U("模拟").Text(), "");
  EXPECT_EQ(U("停止").Text(), "F10");
  EXPECT_TRUE(sim.hotkeys.IsRegistered(0, 0x77));
  EXPECT_TRUE(sim.hotkeys.IsRegistered(0, 0x79));
}

TEST_F(LoaderTest, AnUnloadDuringALoadsWaitsLeavesNothingRegisteredAndAPressMeanwhileFindsItsSlot) {
  AddRows({"a", "b", "c"});
  app.Rows().SetCell(0, table::kHotkey, "F2");
  app.Rows().SetCell(1, table::kHotkey, "F3");
  app.Rows().SetCell(2, table::kHotkey, "F4");
  int slot_of_press = -1;
  // Slot 1 is registered at 100 ms and waits until 110: a press of its key
  // at 105 finds it; a second click at 116, in slot 2's wait, unloads.
  sim.clock.AfterMillis(105, [&] {
    for (int id : app.Hotkeys().rows)
      if (id != 0) slot_of_press = app.HotkeyLoader().SlotOf(id);
  });
  sim.clock.AfterMillis(116, [&] { sim.ui.Click("加载热键"); });
  sim.ui.Click("加载热键");
  EXPECT_EQ(slot_of_press, 1);
  EXPECT_EQ(U("加载热键").Text(), "加载热键");
  EXPECT_EQ(sim.hotkeys.Count(), 1u) << "only the backtick key stays registered";
}

TEST_F(LoaderTest, ARefusedHotkeyClearsItsTextAndSaysWhich) {
  AddRows({"a", "b"});
  app.Rows().SetCell(0, table::kHotkey, "Ctrl+F9");
  app.Rows().SetCell(1, table::kHotkey, "F4");
  sim.hotkeys.TakenByOther(1, 0x78);
  sim.ui.Click("加载热键");
  EXPECT_EQ(ColumnOf(table::kHotkey), (std::vector<std::string>{"", "F4"}));
  const auto balloons = sim.log.Of(rt::sim::Action::kBalloon);
  ASSERT_FALSE(balloons.empty());
  EXPECT_NE(balloons.back().detail.find("●快捷键【Ctrl+F9】"), std::string::npos);
}

TEST_F(LoaderTest, AtMostTheFirstFiftyRowsRegisterAndClosingUnregistersEverything) {
  std::vector<std::string> contents(60, "x");
  AddRows(contents);
  for (int row = 0; row < 60; ++row)
    app.Rows().SetCell(row, table::kHotkey, std::string(row < 26 ? "Ctrl+" : row < 52 ? "Alt+" : "Shift+") + static_cast<char>('A' + row % 26));
  sim.ui.Click("加载热键");
  EXPECT_EQ(sim.hotkeys.Count(), 51u);  // 50 rows and the backtick key
  U("记录").SetText("F8");
  sim.ui.Click("加载热键A");
  EXPECT_EQ(sim.hotkeys.Count(), 52u);
  sim.ui.Raise("窗口", rt::Event{.kind = rt::EventKind::kClosing});
  EXPECT_EQ(sim.hotkeys.Count(), 0u);
}

}  // namespace
}  // namespace tovan
