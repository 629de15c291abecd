#include <windows.h>

#include <gtest/gtest.h>

#include "runtime/gbk.h"
#include "runtime/gbk_platform.h"
#include "runtime/settings_file.h"
#include "runtime/win32/wide.h"
#include "runtime/win32/win32_services.h"

namespace tovan::rt::win32 {
namespace {

class Win32FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    folder = Utf8(temp) + "tovan-files-测试-" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(files.MakeDirectory(folder + "\\同页粘贴"));
  }
  void TearDown() override {
    for (const char* name : {"\\保存A.txt", "\\鼠标精灵热键配置.ini", "\\同页粘贴"}) {
      DeleteFileW(Wide(folder + name).c_str());
      RemoveDirectoryW(Wide(folder + name).c_str());
    }
    RemoveDirectoryW(Wide(folder).c_str());
  }
  Win32Files files;
  std::string folder;
};

TEST_F(Win32FilesTest, TheRunDirectoryIsTheProgramsFolderWithoutATrailingSlash) {
  const std::string dir = files.RunDirectory();
  ASSERT_FALSE(dir.empty());
  EXPECT_NE(dir.back(), '\\');
  EXPECT_TRUE(files.Exists(dir));
}

TEST_F(Win32FilesTest, WholeFilesWithChineseNamesAreWrittenReplacedAndRead) {
  const std::string path = folder + "\\保存A.txt";
  EXPECT_FALSE(files.Exists(path));
  EXPECT_EQ(files.Read(path), "");
  ASSERT_TRUE(files.Write(path, std::string("a\xA1\xEF" "b\0c", 6)));
  EXPECT_EQ(files.Read(path), std::string("a\xA1\xEF" "b\0c", 6));
  // The user hid the file: it is replaced, and stays hidden.
  ASSERT_TRUE(SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
  ASSERT_TRUE(files.Write(path, "short"));
  EXPECT_EQ(files.Read(path), "short");
  EXPECT_EQ(GetFileAttributesW(Wide(path).c_str()) & FILE_ATTRIBUTE_HIDDEN, static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
  EXPECT_FALSE(files.Exists(path + ".tmp~"));
  // Past the classic limit of 260 characters (a long same-page name).
  const std::string long_path = folder + "\\同页粘贴\\" + std::string(240, 'a') + ".txt";
  ASSERT_GT(Wide(long_path).size(), 260u);
  ASSERT_TRUE(files.Write(long_path, "long"));
  EXPECT_TRUE(files.Exists(long_path));
  EXPECT_EQ(files.Read(long_path), "long");
  EXPECT_TRUE(DeleteFileW((L"\\\\?\\" + Wide(long_path)).c_str()));
}

TEST_F(Win32FilesTest, AWriteIntoAMissingFolderFailsWithoutHarm) {
  EXPECT_FALSE(files.Write(folder + "\\没有\\x.txt", "x"));
  EXPECT_FALSE(files.CanWriteIn(folder + "\\没有"));
  EXPECT_TRUE(files.CanWriteIn(folder));
}

TEST_F(Win32FilesTest, AFileHeldWithoutSharingIsToldApartAndStaysAsItWas) {
  const std::string path = folder + "\\保存A.txt";
  ASSERT_TRUE(files.Write(path, "old"));
  HANDLE held = CreateFileW(Wide(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(files.Write(path, "new").failure, WriteFailure::kInUse);
  CloseHandle(held);
  EXPECT_EQ(files.Read(path), "old");
  EXPECT_FALSE(files.Exists(path + ".tmp~"));
  EXPECT_TRUE(files.Write(path, "new"));
}

TEST_F(Win32FilesTest, AFolderInsideTheTemporaryFolderIsKnownInItsShortOrLongForm) {
  EXPECT_TRUE(files.InTemporaryFolder(folder));
  wchar_t short_form[MAX_PATH];
  if (GetShortPathNameW(Wide(folder).c_str(), short_form, MAX_PATH) > 0) {
    EXPECT_TRUE(files.InTemporaryFolder(Utf8(short_form)));
  }
  EXPECT_FALSE(files.InTemporaryFolder("C:\\windows"));
}

TEST(Win32Gbk, TheCodePageMapsNothingIntoTheRangeOfKeptStrayBytes) {
  for (std::uint32_t code = 0; code < 0x10000; ++code) {
    const std::uint32_t c = GbkCodeToUnicode(static_cast<std::uint16_t>(code));
    ASSERT_FALSE(c >= kStrayByteBase + 0x80 && c <= kStrayByteBase + 0xFF) << std::hex << code;
  }
}

TEST_F(Win32FilesTest, TheSettingsFileIsGbkOnDisk) {
  const std::string path = folder + "\\鼠标精灵热键配置.ini";
  ASSERT_TRUE(WriteSetting(files, path, "编辑框内容", "记录", "Ctrl+加号"));
  EXPECT_EQ(files.Read(path), "[\xB1\xE0\xBC\xAD\xBF\xF2\xC4\xDA\xC8\xDD]\r\n\xBC\xC7\xC2\xBC=Ctrl+\xBC\xD3\xBA\xC5\r\n");
  EXPECT_EQ(ReadSetting(files, path, "编辑框内容", "记录"), "Ctrl+加号");
}

}  // namespace
}  // namespace tovan::rt::win32
