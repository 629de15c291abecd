#include "runtime/settings_file.h"

#include <gtest/gtest.h>

#include "runtime/gbk.h"
#include "runtime/sim/sim_platform.h"

namespace tovan::rt {
namespace {

class SettingsFileTest : public ::testing::Test {
 protected:
  sim::SimPlatform sim;
  std::string path = sim.files.InRunDirectory("鼠标精灵热键配置.ini");
};

TEST_F(SettingsFileTest, AMissingFileOrKeyReadsAsTheFallback) {
  EXPECT_EQ(ReadSetting(sim.files, path, "编辑框内容", "记录"), "");
  EXPECT_EQ(ReadSetting(sim.files, path, "编辑框内容", "记录", "x"), "x");
}

TEST_F(SettingsFileTest, WritesGbkBytesThatReadBack) {
  ASSERT_TRUE(WriteSetting(sim.files, path, "编辑框内容", "记录", "Ctrl+加号"));
  ASSERT_TRUE(WriteSetting(sim.files, path, "编辑框内容", "模拟", "F9"));
  ASSERT_TRUE(WriteSetting(sim.files, path, "编辑框内容", "停止", ""));
  EXPECT_EQ(sim.files.Read(path),
            "[\xB1\xE0\xBC\xAD\xBF\xF2\xC4\xDA\xC8\xDD]\r\n"
            "\xBC\xC7\xC2\xBC=Ctrl+\xBC\xD3\xBA\xC5\r\n"
            "\xC4\xA3\xC4\xE2=F9\r\n"
            "\xCD\xA3\xD6\xB9=\r\n");
  EXPECT_EQ(ReadSetting(sim.files, path, "编辑框内容", "记录"), "Ctrl+加号");
  EXPECT_EQ(ReadSetting(sim.files, path, "编辑框内容", "停止", "fallback"), "");
  // Key names that begin or end with a space, and a quoted text, come back
  // exactly: written between quotes.
  for (const char* value : {"Ctrl+ / ", " ←", "Alt+ \t", "\"x\""}) {
    ASSERT_TRUE(WriteSetting(sim.files, path, "编辑框内容", "记录", value));
    EXPECT_EQ(ReadSetting(sim.files, path, "编辑框内容", "记录"), value);
  }
  EXPECT_NE(sim.files.Read(path).find("\xBC\xC7\xC2\xBC=\"\"x\"\"\r\n"), std::string::npos);
}

TEST_F(SettingsFileTest, ReplacesOnlyItsOwnItemAndKeepsTheRest) {
  sim.files.Write(path, ToGbk("; note\r\n[other]\r\n记录=keep\r\n\r\n[编辑框内容]\r\n记录=old\r\n模拟=F9\r\n").bytes);
  ASSERT_TRUE(WriteSetting(sim.files, path, "编辑框内容", "记录", "new"));
  ASSERT_TRUE(WriteSetting(sim.files, path, "编辑框内容", "停止", "F10"));
  EXPECT_EQ(ReadSetting(sim.files, path, "other", "记录"), "keep");
  EXPECT_EQ(ReadSetting(sim.files, path, "编辑框内容", "记录"), "new");
  EXPECT_EQ(ReadSetting(sim.files, path, "编辑框内容", "模拟"), "F9");
  EXPECT_EQ(ReadSetting(sim.files, path, "编辑框内容", "停止"), "F10");
  EXPECT_EQ(ReadSetting(sim.files, path, "other", "停止", "none"), "none");
}

TEST_F(SettingsFileTest, MatchesNamesWithoutRegardToCaseAndTrimsBlanks) {
  sim.files.Write(path, "[Keys]\r\n  Record = Ctrl+A  \r\n");
  EXPECT_EQ(ReadSetting(sim.files, path, "keys", "RECORD"), "Ctrl+A");
}

TEST_F(SettingsFileTest, ReadsAFileTheUserResavedAsUtf8) {
  sim.files.Write(path, "\xEF\xBB\xBF[编辑框内容]\r\n记录=Alt+F1\r\n");
  EXPECT_EQ(ReadSetting(sim.files, path, "编辑框内容", "记录"), "Alt+F1");
}

TEST_F(SettingsFileTest, SaysSoWhenAValueHasNoGbkForm) {
  EXPECT_FALSE(WriteSetting(sim.files, path, "s", "k", "😀"));
}

}  // namespace
}  // namespace tovan::rt
