#include "runtime/gbk.h"

#include <gtest/gtest.h>

namespace tovan::rt {
namespace {

TEST(Gbk, TheSystemSeparatorsHaveTheirFixedBytes) {
  EXPECT_EQ(ToGbk("★").bytes, "\xA1\xEF");
  EXPECT_EQ(ToGbk("←→").bytes, "\xA1\xFB\xA1\xFA");
  EXPECT_EQ(ToGbk(" ←").bytes, "\x20\xA1\xFB");
  EXPECT_EQ(ToGbk("加号").bytes, "\xBC\xD3\xBA\xC5");
  EXPECT_EQ(FromGbk("\xA1\xEF"), "★");
  EXPECT_EQ(FromGbk("\xBC\xD3\xBA\xC5"), "加号");
}

TEST(Gbk, RoundTripsMixedTextWithLineBreaks) {
  const std::string text = "张三\r\n李四\tabc 123★";
  const GbkResult gbk = ToGbk(text);
  EXPECT_TRUE(gbk.lossless);
  EXPECT_EQ(FromGbk(gbk.bytes), text);
}

TEST(Gbk, ReportsCharactersThatGbkCannotHold) {
  const GbkResult gbk = ToGbk("a😀b");
  EXPECT_FALSE(gbk.lossless);
  EXPECT_EQ(gbk.bytes, "a?b");
}

TEST(Gbk, SurvivesInvalidInputOnBothSides) {
  const GbkResult broken_utf8 = ToGbk("a\xFF" "b\xE5");  // stray byte, truncated sequence
  EXPECT_FALSE(broken_utf8.lossless);
  EXPECT_EQ(broken_utf8.bytes, "a?b?");
  EXPECT_EQ(FromGbk("a\xFF" "b"), "a\xEF\xBF\xBD" "b");
  EXPECT_EQ(FromGbk("a\xB0"), "a\xEF\xBF\xBD");  // lead byte at the very end
  EXPECT_EQ(FromGbk("\x81 b"), "\xEF\xBF\xBD b");  // a bad pair gives up only its lead byte
}

}  // namespace
}  // namespace tovan::rt
