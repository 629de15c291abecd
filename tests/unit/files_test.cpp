#include <gtest/gtest.h>

#include "runtime/gbk.h"
#include "runtime/sim/sim_platform.h"
#include "runtime/text_file.h"
#include "table/row_store.h"

namespace tovan {
namespace {

class FilesTest : public ::testing::Test {
 protected:
  std::string Path(const char* name) { return sim.files.InRunDirectory(name); }
  rt::sim::SimPlatform sim;
  rt::Files& files = sim.files;
};

TEST_F(FilesTest, FilesWrittenTogetherAllChangeOrNoneDoes) {
  ASSERT_TRUE(files.Write(Path("a"), "old a"));
  ASSERT_TRUE(files.Write(Path("c"), "old c"));
  EXPECT_TRUE(files.WriteTogether({{Path("a"), "new a"}, {Path("b"), "new b"}}));
  EXPECT_EQ(files.Read(Path("a")), "new a");
  EXPECT_EQ(files.Read(Path("b")), "new b");
  // The third of three cannot be replaced: the first two go back, the
  // second (new) one disappears again.
  sim.files.Refuse(Path("c"));
  EXPECT_FALSE(files.WriteTogether({{Path("a"), "x"}, {Path("d"), "x"}, {Path("c"), "x"}}));
  EXPECT_EQ(files.Read(Path("a")), "new a");
  EXPECT_FALSE(files.Exists(Path("d")));
  EXPECT_EQ(files.Read(Path("c")), "old c");
  for (const char* left : {"a.tmp~", "a.old~", "d.tmp~", "c.tmp~", "c.old~"}) EXPECT_FALSE(files.Exists(Path(left))) << left;
}

TEST(TextFile, ByteOrderMarksChooseTheEncodingAndGbkIsTheRule) {
  EXPECT_EQ(rt::DecodeTextFile("\xD5\xC5\xC8\xFD"), "张三");
  EXPECT_EQ(rt::DecodeTextFile("\xEF\xBB\xBF\xE5\xBC\xA0\xC0"), "张\xEF\xBF\xBD");  // UTF-8, then a stray byte
  EXPECT_EQ(rt::DecodeTextFile(std::string("\xFF\xFE\x3D\xD8\x00\xDE", 6)), "😀");  // a pair in UTF-16 LE
  EXPECT_EQ(rt::DecodeTextFile(std::string("\xFE\xFF\x00" "A\x00", 5)), "A\xEF\xBF\xBD");  // half a unit at the end
  EXPECT_EQ(rt::DecodeTextFile(""), "");
}

TEST(Gbk, EveryCharacterOfTheCodePageRoundTrips) {
  int characters = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      const std::string code{static_cast<char>(lead), static_cast<char>(trail)};
      const std::string text = rt::FromGbk(code);
      if (text == "\xEF\xBF\xBD" "@" || text.find("\xEF\xBF\xBD") != std::string::npos) continue;
      ++characters;
      const rt::GbkResult back = rt::ToGbk(text);
      ASSERT_TRUE(back.lossless) << lead << " " << trail;
      ASSERT_EQ(back.bytes, code) << lead << " " << trail;
    }
  }
  EXPECT_GT(characters, 21000);  // GBK holds some 21,800 two-byte characters
}

TEST(RowStoreBatch, AdoptedRowsAreNumberedOnFromTheTable) {
  table::RowStore rows;
  rows.Append("1", "first");
  table::RowStore::Batch batch;
  batch.Add("b", "3", "暂停", "F2");
  batch.Add("c");
  batch.SetChecked(1);
  rows.Adopt(std::move(batch));
  ASSERT_EQ(rows.RowCount(), 3u);
  EXPECT_EQ(rows.Cell(1, table::kNumber), "2");
  EXPECT_EQ(rows.Cell(1, table::kPause), "暂停");
  EXPECT_EQ(rows.Cell(1, table::kHotkey), "F2");
  EXPECT_TRUE(rows.Checked(2));
  // A number written into a row stays with the row, and rows deleted
  // before it move it up.
  rows.SetCell(2, table::kNumber, "9");
  table::RowStore::Batch late;
  late.Add("d");
  rows.Adopt(std::move(late));
  EXPECT_EQ(rows.Cell(2, table::kNumber), "9");
  EXPECT_EQ(rows.Cell(3, table::kNumber), "4");
  rows.Delete(0);
  EXPECT_EQ(rows.Cell(1, table::kNumber), "9");
  EXPECT_EQ(rows.Cell(2, table::kNumber), "3");
  rows.Renumber();
  EXPECT_EQ(rows.Cell(1, table::kNumber), "2");
  rows.Append("0", "e");
  rows.Append("5", "f");
  EXPECT_EQ(rows.Cell(3, table::kNumber), "0");
  EXPECT_EQ(rows.Cell(4, table::kNumber), "5");
  rows.SetExtras(2, "1", "", "Ctrl+1");
  EXPECT_EQ(rows.Cell(2, table::kContent), "d");
  EXPECT_EQ(rows.Cell(2, table::kHotkey), "Ctrl+1");
}

}  // namespace
}  // namespace tovan
