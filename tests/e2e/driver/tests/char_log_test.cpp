// The target's character log: what arrives as WM_CHAR, in order, per field.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "driver/assertions.h"
#include "driver/input.h"
#include "driver/program_window_test.h"
#include "driver/wait_until.h"
#include "driver/window.h"
#include "scratch_path.h"

namespace tovan::e2e {
namespace {

class CharLogTest : public ProgramWindowTest {
 protected:
  void SetUp() override {
    // A name with a space and Chinese characters: the argument must reach
    // the target unchanged.
    log_path_ = ScratchPath(L"char log 字符.txt");
    DeleteFileW(log_path_.c_str());
    Launch(L"tovan_target.exe", "Tovan Target", {L"--log", log_path_});
  }
  void TearDown() override {
    ProgramWindowTest::TearDown();
    DeleteFileW(log_path_.c_str());
  }

  std::vector<std::string> LogLines() const {
    std::ifstream file{std::filesystem::path(log_path_)};
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
  }

  // Waits until the log has count lines and returns them.
  std::vector<std::string> WaitForLines(size_t count) const {
    std::vector<std::string> lines;
    WaitUntil([&] {
      lines = LogLines();
      return lines.size() >= count;
    });
    return lines;
  }

  std::wstring log_path_;
};

TEST_F(CharLogTest, TypedCharactersAreLoggedInOrderPerField) {
  ASSERT_TRUE(FocusControl(Child(101)));
  ASSERT_TRUE(TypeText("a张"));
  ASSERT_TRUE(TextBecomes(Child(101), "a张"));
  ASSERT_TRUE(PressKey(VK_TAB));
  ASSERT_TRUE(WaitUntil([&] { return FocusOf(window_) == Child(102); }));
  ASSERT_TRUE(TypeText("b"));
  // Tab moves the focus and is no character of any field.
  EXPECT_EQ(WaitForLines(3), (std::vector<std::string>{"char 101 0x0061", "char 101 0x5f20",
                                                       "char 102 0x0062"}));
}

TEST_F(CharLogTest, AnsiBytesPostedAsCharactersArriveAsOneCharacter) {
  // "张" is D5 C5 in GBK (code page 936): two posted bytes, one character.
  HWND field = Child(102);
  ASSERT_TRUE(PostMessageA(field, WM_CHAR, 'x', 0));
  ASSERT_TRUE(PostMessageA(field, WM_CHAR, 0xD5, 0));
  ASSERT_TRUE(PostMessageA(field, WM_CHAR, 0xC5, 0));
  ASSERT_TRUE(PostMessageA(field, WM_CHAR, 'y', 0));
  EXPECT_EQ(WaitForLines(3),
            (std::vector<std::string>{"char 102 0x0078", "char 102 0x5f20", "char 102 0x0079"}));
  EXPECT_TRUE(TextBecomes(field, "x张y"));
}

}  // namespace
}  // namespace tovan::e2e
