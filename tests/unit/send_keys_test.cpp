#include "paste/send_keys.h"

#include <gtest/gtest.h>

#include "runtime/hotkeys.h"
#include "runtime/sim/sim_services.h"

namespace tovan::paste {
namespace {

// Strokes as the simulated keyboard logs them: "Shift+1", "{9}", "Ctrl+ax3".
std::string Read(std::string_view text) { return rt::sim::SimKeys::StrokeNames(ParseSendKeys(text)); }

TEST(SendKeys, PlainTextAndChineseAreCharacters) {
  EXPECT_EQ(Read("张三ab"), "张 三 a b");
  EXPECT_EQ(Read(""), "");
}

TEST(SendKeys, ModifiersHoldForTheNextKeyOnly) {
  EXPECT_EQ(Read("abc+1"), "a b c Shift+1");
  EXPECT_EQ(Read("^c%{F4}"), "Ctrl+c Alt+{115}");
  EXPECT_EQ(Read("^+a b"), "Ctrl+Shift+a   b");
}

TEST(SendKeys, GroupsHoldModifiersAcrossTheirKeysAndNest) {
  EXPECT_EQ(Read("+(ec)x"), "Shift+e Shift+c x");
  EXPECT_EQ(Read("^(+(ab)c)d"), "Ctrl+Shift+a Ctrl+Shift+b Ctrl+c d");
  EXPECT_EQ(Read("%(a{TAB})"), "Alt+a Alt+{9}");
  EXPECT_EQ(Read("+(a{)}b)c"), "Shift+a Shift+) Shift+b c");  // a quoted parenthesis does not close
}

TEST(SendKeys, NamedKeysRepeatsAndEnter) {
  EXPECT_EQ(Read("张三{TAB}abc"), "张 三 {9} a b c");
  EXPECT_EQ(Read("{tab}{Enter}~"), "{9} {13} {13}");
  EXPECT_EQ(Read("{LEFT 3}{h 2}{TAB 0}"), "{37}x3 hx2");
  EXPECT_EQ(Read("{BS}{BKSP}{BACKSPACE}{DEL}{F16}"), "{8} {8} {8} {46} {127}");
}

TEST(SendKeys, BracesQuoteTheSyntaxCharacters) {
  EXPECT_EQ(Read("{+}{^}{%}{~}{(}{)}{{}{}}{[}{]}"), "+ ^ % ~ ( ) { } [ ]");
  EXPECT_EQ(Read("{}} 2}"), "}   2 }");  // "{}}" is one brace; what follows is text
  EXPECT_EQ(Read("{张}"), "张");
}

TEST(SendKeys, HugeRepeatsAndDeepNestingStayBounded) {
  EXPECT_EQ(Read("{TAB 99999999}"), "{9}x1000");
  const std::string deep = std::string(100'000, '(') + "a";
  const auto strokes = ParseSendKeys(deep);
  ASSERT_FALSE(strokes.empty());
  EXPECT_EQ(strokes.back().character, "a");
}

TEST(SendKeys, WhatTheSyntaxDoesNotCoverIsTypedAsItStands) {
  EXPECT_EQ(Read("a{TAB"), "a { T A B");        // an unmatched brace
  EXPECT_EQ(Read("a}b"), "a } b");
  EXPECT_EQ(Read("{NOKEY}"), "{ N O K E Y }");  // not a key name
  EXPECT_EQ(Read("{F17}"), "{ F 1 7 }");
  EXPECT_EQ(Read("(ab"), "a b");                // a group left open runs to the end
  EXPECT_EQ(Read("a)b"), "a ) b");
  EXPECT_EQ(Read("ab+"), "a b");                // a modifier with no key after it
}

}  // namespace
}  // namespace tovan::paste
