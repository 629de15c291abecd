#include "paste/forced_paste.h"

#include "tests/unit/app_fixture.h"

namespace tovan {
namespace {

using rt::sim::Action;

class ForcedPasteTest : public AppTest {
 protected:
  void SetUp() override { Start(); }
  std::vector<std::string> Posted() {
    std::vector<std::string> out;
    for (const auto& a : sim.log.Of(Action::kPosted)) out.push_back(a.detail);
    return out;
  }
};

TEST_F(ForcedPasteTest, TwoChineseCharactersArePostedAsFourGbkBytesAndOtherSystemsGetTheirOwnCodePage) {
  paste::PostTextToWindow(sim.messages, 0x1234, "张三");
  EXPECT_EQ(Posted(), (std::vector<std::string>{"4660 258 213 0", "4660 258 197 0", "4660 258 200 0", "4660 258 253 0"}));
  // On a Western system an ANSI window reads its own code page: é is E9.
  sim.log.Clear();
  sim.messages.SetWesternSystem(true);
  paste::PostTextToWindow(sim.messages, 0x1234, "é");
  EXPECT_EQ(Posted(), (std::vector<std::string>{"4660 258 233 0"}));
}

TEST_F(ForcedPasteTest, AUnicodeWindowGetsUtf16UnitsWhateverTheSystemsLanguage) {
  sim.messages.MakeUnicode(0x1234);
  paste::PostTextToWindow(sim.messages, 0x1234, "张😀");
  EXPECT_EQ(Posted(), (std::vector<std::string>{"W 4660 258 24352 0", "W 4660 258 55357 0", "W 4660 258 56832 0"}));
}

TEST_F(ForcedPasteTest, TheTargetIsTheWindowUnderTheCursorAtThatMoment) {
  sim.ui.SetCursor({1, 1}, 777);
  EXPECT_EQ(paste::TargetWindow(sim.ui), 777u);
  sim.ui.SetCursor({1, 1}, 0);
  EXPECT_EQ(paste::TargetWindow(sim.ui), 0u);
}

TEST_F(ForcedPasteTest, TheStartUpMakesTheTypistThatKeepsTheSendKeysMeaning) {
  ASSERT_NE(app.Typist(), nullptr);
  app.Typist()->TypeBySendKeys("张三{TAB}abc+1");
  EXPECT_EQ(sim.log.Of(Action::kStrokes).back().detail, "张 三 {9} a b c Shift+1");
}

}  // namespace
}  // namespace tovan
