#include "runtime/text.h"

#include <gtest/gtest.h>

namespace tovan::rt {
namespace {

TEST(TextToNumber, ReadsTheLeadingNumberAndGivesZeroForText) {
  EXPECT_EQ(ToNumber("12"), 12.0);
  EXPECT_EQ(ToNumber("  -3.75abc"), -3.75);
  EXPECT_EQ(ToNumber("+8"), 8.0);
  EXPECT_EQ(ToNumber(".5"), 0.5);
  EXPECT_EQ(ToNumber("1e3"), 1000.0);
  EXPECT_EQ(ToNumber("1e"), 1.0);  // an exponent without digits is not part of the number
  EXPECT_EQ(ToNumber("暂停"), 0.0);
  EXPECT_EQ(ToNumber(""), 0.0);
  EXPECT_EQ(ToNumber("-"), 0.0);
  EXPECT_EQ(ToNumber("."), 0.0);
}

TEST(TextToInteger, TruncatesTowardZeroAndClampsHugeValues) {
  EXPECT_EQ(ToInteger("3.9"), 3);
  EXPECT_EQ(ToInteger("-3.9"), -3);
  EXPECT_EQ(ToInteger("abc"), 0);
  EXPECT_EQ(ToInteger("99999999999999999999"), 2147483647);
  EXPECT_EQ(ToInteger("-1e300"), -2147483647 - 1);
  EXPECT_EQ(ToInteger("1e999"), 2147483647);
}

TEST(TextToText, WritesNumbersBackShortest) {
  EXPECT_EQ(ToText(std::int64_t{-42}), "-42");
  EXPECT_EQ(ToText(1.5), "1.5");
  EXPECT_EQ(ToText(100.0), "100");
}

TEST(TextFind, IsCaseSensitiveUnlessAskedAndStartsWhereTold) {
  EXPECT_EQ(Find("xaby", "ab"), 1u);
  EXPECT_EQ(Find("xAby", "ab"), kNotFound);
  EXPECT_EQ(Find("xAby", "ab", 0, true), 1u);
  EXPECT_EQ(Find("abab", "ab", 1), 2u);
  EXPECT_EQ(Find("ab", "ab", 3), kNotFound);
  EXPECT_EQ(Find("张三李四", "李四"), 6u);
}

TEST(TextReplaceAll, ReplacesLeftToRightInOnePass) {
  EXPECT_EQ(ReplaceAll("\r\n\r\n\r\n", "\r\n\r\n", "\r\n"), "\r\n\r\n");
  EXPECT_EQ(ReplaceAll("a,b,c", ",", ",\r\n"), "a,\r\nb,\r\nc");
  EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
  EXPECT_EQ(ReplaceAll("aaa", "a", "aa"), "aaaaaa");
}

TEST(TextSplit, KeepsEmptyPiecesAndGivesNoneForEmptyText) {
  EXPECT_EQ(Split("a★★b", "★"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(Split("a★", "★"), (std::vector<std::string>{"a", ""}));
  EXPECT_EQ(Split("", "★"), std::vector<std::string>{});
  EXPECT_EQ(Split("abc", ""), std::vector<std::string>{"abc"});
  EXPECT_EQ(Split("Ctrl+Shift++", "+"), (std::vector<std::string>{"Ctrl", "Shift", "", ""}));
}

TEST(TextLeftRight, NeverCutACharacterInTwo) {
  EXPECT_EQ(Left("张三", 4), "张");  // 4 bytes would split 三
  EXPECT_EQ(Left("张三", 6), "张三");
  EXPECT_EQ(Right("a张", 2), "");
  EXPECT_EQ(Right("a张", 3), "张");
  EXPECT_EQ(Left("abc", 99), "abc");
}

TEST(TextUpper, ChangesOnlyAsciiLetters) { EXPECT_EQ(Upper("ctrl+张a"), "CTRL+张A"); }

}  // namespace
}  // namespace tovan::rt
