// The shipped program's launcher: a damaged copy of tovan.exe shows its
// one message box ("Error", the error icon) and ends with exit code 0.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "driver/process.h"
#include "driver/text.h"
#include "driver/wait_until.h"
#include "driver/window.h"
#include "launcher/archive.h"

namespace tovan::e2e {
namespace {

std::string ReadWhole(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::uint32_t WordAt(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

class LauncherTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shipped_ = ReadWhole(std::filesystem::path(ThisExeDirectory() + L"\\tovan.exe"));
    ASSERT_GT(shipped_.size(), 1008u);
    block_size_ = WordAt(shipped_, shipped_.size() - 8);
    block_at_ = shipped_.size() - 8 - block_size_;
  }
  void TearDown() override { std::filesystem::remove(Damaged()); }
  static std::filesystem::path Damaged() { return std::filesystem::path(ThisExeDirectory() + L"\\damaged_tovan.exe"); }

  // Runs these bytes as the program: the text of its message box, which is
  // then closed; the exit code must be 0.
  std::string MessageOf(const std::string& bytes) {
    std::ofstream(Damaged(), std::ios::binary | std::ios::trunc).write(bytes.data(), bytes.size());
    ChildProcess program = ChildProcess::Start(Damaged().wstring());
    HWND box = FindTopWindow("Error", 10000, program.Id());
    if (!box) return "(no message box)";
    std::string text;
    for (int i = 0; HWND label = FindChildByClass(box, L"Static", i); ++i)
      if (const auto t = WindowText(label); t && !t->empty()) text = *t;
    PostMessageW(box, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitExit(10000), 0u);
    return text;
  }

  std::string shipped_;
  std::size_t block_size_ = 0;
  std::size_t block_at_ = 0;
};

TEST_F(LauncherTest, EachDamageShowsItsMessageAndEndsWithExitCodeZero) {
  std::string bytes = shipped_;
  bytes[bytes.size() - 1] ^= 0x55;  // the trailer's magic
  EXPECT_EQ(MessageOf(bytes), "Invalid data in the file!");
  bytes = shipped_;
  bytes[block_at_] ^= 0x55;  // the block's magic
  EXPECT_EQ(MessageOf(bytes), "Failed to read file or invalid data in file!");
  bytes = shipped_;
  for (std::size_t i = block_at_ + 200; i < block_at_ + 216; ++i) bytes[i] ^= 0x5A;  // inside the zlib stream
  EXPECT_EQ(MessageOf(bytes), "Failed to decompress data!");
  // The same launcher with an archive that holds no kernel library.
  bytes = shipped_.substr(0, block_at_) + launcher::PackArchive(9, 0x1234, "Tovan_no_kernel", {{"other.dll", "x"}});
  EXPECT_EQ(MessageOf(bytes), "Not found the kernel library!");
  // One whose kernel library is no library at all.
  bytes = shipped_.substr(0, block_at_) + launcher::PackArchive(9, 0x1234, "Tovan_bad_kernel", {{"krnln.fnr", "MZ?"}});
  EXPECT_EQ(MessageOf(bytes), "Failed to load kernel library!");
  // A library without GetNewSock (a system one), and one whose GetNewSock gives no entry.
  const std::string system_library = ReadWhole(std::filesystem::path(L"C:\\windows\\system32\\version.dll"));
  ASSERT_FALSE(system_library.empty());
  bytes = shipped_.substr(0, block_at_) +
          launcher::PackArchive(9, 0x1234, "Tovan_no_sock", {{"krnln.fnr", system_library}});
  EXPECT_EQ(MessageOf(bytes), "The kernel library is invalid!");
  const std::string null_kernel = ReadWhole(std::filesystem::path(ThisExeDirectory() + L"\\tovan_null_kernel.dll"));
  ASSERT_FALSE(null_kernel.empty());
  bytes = shipped_.substr(0, block_at_) + launcher::PackArchive(9, 0x1234, "Tovan_null_sock", {{"KRNLN.FNE", null_kernel}});
  EXPECT_EQ(MessageOf(bytes), "The interface of kernel library is invalid!");
}

}  // namespace
}  // namespace tovan::e2e
