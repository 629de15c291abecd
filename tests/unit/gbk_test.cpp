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
  constexpr StrayBytes kReplaced = StrayBytes::kReplaced;
  EXPECT_EQ(FromGbk("a\xFF" "b", kReplaced), "a\xEF\xBF\xBD" "b");
  EXPECT_EQ(FromGbk("a\xB0", kReplaced), "a\xEF\xBF\xBD");  // lead byte at the very end
  EXPECT_EQ(FromGbk("\x81 b", kReplaced), "\xEF\xBF\xBD b");  // a bad pair gives up only its lead byte
}

TEST(Gbk, BytesThatAreNoCharacterComeBackAsTheyWere) {
  // Each stray byte is kept as U+F700 + the byte, written back without a
  // question; whatever the bytes, they come back the same.
  EXPECT_EQ(FromGbk("a\xFF" "b\xA1\xEF"), "a\uF7FF" "b★");
  for (const std::string& bytes : {std::string("a\xFF" "b\xA1\xEF"), std::string("\x81 b\xB0"), std::string("\x80\xFF\xFE"),
                                   std::string("\xD5\xA1\xEF\xA1"), std::string("x\0y\x81\x7F", 6)}) {
    const GbkResult back = ToGbk(FromGbk(bytes));
    EXPECT_TRUE(back.lossless) << bytes;
    EXPECT_EQ(back.bytes, bytes);
  }
  // A kept lead byte that would pair with what now follows it (a cut
  // character at the end of a slot, followed by a new ★) cannot be kept:
  // it would swallow the ★ on the next reading.
  const GbkResult joined = ToGbk(FromGbk("\xD5") + "★");
  EXPECT_FALSE(joined.lossless);
  EXPECT_EQ(joined.bytes, "?\xA1\xEF");
}

}  // namespace
}  // namespace tovan::rt
