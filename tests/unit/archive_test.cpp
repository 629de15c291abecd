// The runtime archive: what the packer writes, the reader gives back; and
// every way a damaged or hostile archive is refused before harm is done.
#include <gtest/gtest.h>

#include <zlib.h>

#include <cstring>

#include "launcher/archive.h"
#include "runtime/gbk.h"

namespace tovan::launcher {
namespace {

class Bytes : public ArchiveSource {
 public:
  explicit Bytes(std::string bytes, bool reads = true) : bytes_(std::move(bytes)), reads_(reads) {}
  std::uint64_t Size() const override { return bytes_.size(); }
  bool ReadAt(std::uint64_t offset, void* out, std::size_t size) const override {
    if (!reads_ || offset > bytes_.size() || size > bytes_.size() - offset) return false;
    std::memcpy(out, bytes_.data() + offset, size);
    return true;
  }
  std::string bytes_;
  bool reads_;
};

const std::string kProgram(2000, 'P');  // the launcher's own bytes
const std::vector<PackedFile> kRuntime = {{"krnln.fnr", "kernel bytes"}, {"support.dll", std::string(5000, 's')}};

// Names as a Chinese system reads them: GBK, bytes that are no GBK text refused.
std::optional<std::string> GbkName(std::string_view stored) {
  std::string text = rt::FromGbk(stored, rt::StrayBytes::kReplaced);
  if (text.find("\xEF\xBF\xBD") != std::string::npos) return std::nullopt;
  return text;
}

ArchiveFailure Read(const std::string& file, Archive& archive) { return ReadArchive(Bytes(file), GbkName, archive); }

std::string PutWordAt(std::string file, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) file[at + i] = static_cast<char>(value >> (8 * i));
  return file;
}

// The packed block of an archive whose unpacked data is exactly `unpacked`.
std::string RawArchive(const std::string& unpacked, std::int32_t claimed_size, std::uint32_t magic = kArchiveMagic) {
  uLongf size = compressBound(static_cast<uLong>(unpacked.size()));
  std::string packed(size, '\0');
  compress(reinterpret_cast<Bytef*>(packed.data()), &size, reinterpret_cast<const Bytef*>(unpacked.data()),
           static_cast<uLong>(unpacked.size()));
  packed.resize(size);
  std::string region("dir");
  region.push_back('\0');
  for (std::uint32_t v : {magic, static_cast<std::uint32_t>(claimed_size)})
    for (int i = 0; i < 4; ++i) region.push_back(static_cast<char>(v >> (8 * i)));
  region += packed;
  Scramble(region, 0x11223344);
  std::string block;
  for (std::uint32_t v : {kBlockMagic, 7u, 0x11223344u})
    for (int i = 0; i < 4; ++i) block.push_back(static_cast<char>(v >> (8 * i)));
  block += region;
  std::string file = kProgram + block;
  for (std::uint32_t v : {static_cast<std::uint32_t>(block.size()), kBlockMagic})
    for (int i = 0; i < 4; ++i) file.push_back(static_cast<char>(v >> (8 * i)));
  return file;
}

std::string Entry(const std::string& name, const std::string& contents, std::uint32_t size) {
  std::string out = name;
  out.push_back('\0');
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(size >> (8 * i)));
  return out + contents;
}

TEST(Archive, WhatThePackerWritesTheReaderGivesBackUnderTheStoredOrTheNumberedDirectory) {
  Archive archive;
  ASSERT_EQ(Read(kProgram + PackArchive(4, 0xA1B2C3D4, "abc", kRuntime), archive), ArchiveFailure::kNone);
  EXPECT_EQ(archive.directory, "abc");
  ASSERT_EQ(archive.entries.size(), 2u);
  EXPECT_EQ(archive.entries[1].name, "support.dll");
  EXPECT_EQ(archive.entries[1].contents, std::string(5000, 's'));
  EXPECT_EQ(archive.kernel, "krnln.fnr");
  ASSERT_EQ(Read(kProgram + PackArchive(4, 0, "", kRuntime), archive), ArchiveFailure::kNone);
  EXPECT_EQ(archive.directory, "E_N4");
  ASSERT_EQ(Read(kProgram + PackArchive(0x2AF, 7, "", kRuntime), archive), ArchiveFailure::kNone);
  EXPECT_EQ(archive.directory, "E_N2AF");
  // The kernel under both names: the later entry wins, by its stored name.
  ASSERT_EQ(Read(kProgram + PackArchive(1, 9, "x", {{"krnln.fnr", "a"}, {"KRNLN.FNE", "b"}}), archive),
            ArchiveFailure::kNone);
  EXPECT_EQ(archive.kernel, "KRNLN.FNE");
}

TEST(Archive, TrailerAndBlockFaultsGiveTheirMessages) {
  Archive archive;
  const std::string good = kProgram + PackArchive(4, 5, "abc", kRuntime);
  EXPECT_EQ(Read(std::string(1007, 'x'), archive), ArchiveFailure::kInvalid);
  EXPECT_EQ(ReadArchive(Bytes(good, false), GbkName, archive), ArchiveFailure::kTrailerRead);
  const std::size_t trailer = good.size() - 8;
  EXPECT_EQ(Read(PutWordAt(good, trailer + 4, 0x12345678), archive), ArchiveFailure::kInvalid);
  EXPECT_EQ(Read(PutWordAt(good, trailer, 3), archive), ArchiveFailure::kInvalid);
  EXPECT_EQ(Read(PutWordAt(good, trailer, static_cast<std::uint32_t>(trailer)), archive), ArchiveFailure::kInvalid);
  EXPECT_EQ(Read(PutWordAt(good, trailer, static_cast<std::uint32_t>(trailer - 1)), archive),
            ArchiveFailure::kBlockRead);  // the block would start inside the program: no block magic there
  EXPECT_EQ(Read(PutWordAt(good, kProgram.size(), 0), archive), ArchiveFailure::kBlockRead);
  EXPECT_STREQ(FailureMessage(ArchiveFailure::kBlockRead), "Failed to read file or invalid data in file!");
  EXPECT_STREQ(FailureMessage(ArchiveFailure::kKernelInterface), "The interface of kernel library is invalid!");
}

TEST(Archive, HeaderStreamAndEntryFaultsAreRefusedBeforeAnythingIsWritten) {
  Archive archive;
  const std::string entries = Entry("krnln.fnr", "k", 1);
  EXPECT_EQ(Read(RawArchive(entries, static_cast<std::int32_t>(entries.size())), archive), ArchiveFailure::kNone);
  EXPECT_EQ(Read(RawArchive(entries, 0), archive), ArchiveFailure::kInvalid);
  EXPECT_EQ(Read(RawArchive(entries, -5), archive), ArchiveFailure::kInvalid);
  EXPECT_EQ(Read(RawArchive(entries, static_cast<std::int32_t>(entries.size()), 0x0BADF00D), archive),
            ArchiveFailure::kInvalid);
  // More than the stream could ever give: refused before the buffer is made.
  EXPECT_EQ(Read(RawArchive(entries, 2'000'000'000), archive), ArchiveFailure::kInvalid);
  // Too little room for the stream: zlib says so.
  EXPECT_EQ(Read(RawArchive(entries, 3), archive), ArchiveFailure::kDecompress);
  std::string broken = RawArchive(entries, static_cast<std::int32_t>(entries.size()));
  broken[broken.size() - 12] ^= 0x5A;  // inside the deflate data or its checksum
  EXPECT_EQ(Read(broken, archive), ArchiveFailure::kDecompress);
  // An entry whose size runs past the data: the whole archive is refused.
  const std::string truncated = Entry("krnln.fnr", "kern", 4) + Entry("big.dll", "xy", 1000);
  EXPECT_EQ(Read(RawArchive(truncated, static_cast<std::int32_t>(truncated.size())), archive),
            ArchiveFailure::kInvalid);
  EXPECT_TRUE(archive.entries.size() <= 1u);
  const std::string no_kernel = Entry("other.dll", "o", 1);
  EXPECT_EQ(Read(RawArchive(no_kernel, static_cast<std::int32_t>(no_kernel.size())), archive),
            ArchiveFailure::kNoKernel);
}

TEST(Archive, NamesThatCouldLeaveTheExtractionDirectoryAreSkipped) {
  Archive archive;
  ASSERT_EQ(Read(kProgram + PackArchive(1, 2, "d",
                                        {{"..\\..\\evil.dll", "e"},
                                         {"C:evil.dll", "e"},
                                         {"sub/evil.dll", "e"},
                                         {"CON", "e"},
                                         {"nul.txt", "e"},
                                         {"com1.dll", "e"},
                                         {"..", "e"},
                                         {"trailing.", "e"},
                                         {"", "e"},
                                         {"krnln.fnr", "k"}}),
                 archive),
            ArchiveFailure::kNone);
  ASSERT_EQ(archive.entries.size(), 1u);
  EXPECT_EQ(archive.entries[0].name, "krnln.fnr");
  // So is a stored directory name: such an archive is refused whole.
  for (const char* directory : {"..", "..\\..\\Windows", "C:\\x", "a/b", "d:"})
    EXPECT_EQ(Read(kProgram + PackArchive(1, 2, directory, kRuntime), archive), ArchiveFailure::kInvalid) << directory;
  EXPECT_TRUE(SafeEntryName("krnln.fne"));
  EXPECT_TRUE(SafeEntryName("支持库.dll"));
  EXPECT_FALSE(SafeEntryName("LPT9"));
}

TEST(Archive, NamesAreCheckedAsTheCharactersTheyBecomeNotAsBytes) {
  // "乗" is 81 5C and "亅" 81 7C in GBK: their second bytes are '\\' and '|'.
  const std::string gbk_names[] = {"\x81\x5C.dll", "\x81\x7C\xD6\xA7.dat", "\x81\x5C"};
  Archive archive;
  ASSERT_EQ(Read(kProgram + PackArchive(1, 2, gbk_names[2],
                                        {{gbk_names[0], "a"}, {gbk_names[1], "b"}, {"\x81\x5C\xFF.dll", "c"},
                                         {"krnln.fnr", "k"}}),
                 archive),
            ArchiveFailure::kNone);
  EXPECT_EQ(archive.directory, gbk_names[2]);
  ASSERT_EQ(archive.entries.size(), 3u);  // the name with a byte that is no GBK text is left out
  EXPECT_EQ(archive.entries[0].name, gbk_names[0]);
  EXPECT_EQ(archive.entries[1].name, gbk_names[1]);
}

// An archive worked out byte by byte from the layout, not by the packer:
// directory number 0x2A, key 0x11223344 (bytes 44 33 22 11, region byte j
// XORed with key byte (j + 1) mod 4), directory "ab", one entry "krnln.fnr"
// holding "K", unpacked size 15, the zlib stream a single stored block:
// 78 01, then 01 0F 00 F0 FF (final stored block of 15 bytes), the entry,
// and the entry's Adler-32 big-endian.
TEST(Archive, AHandMadeArchiveReadsAsItsLayoutSays) {
  const unsigned char block[] = {
      0xA5, 0xB7, 0x9A, 0x82, 0x2A, 0x00, 0x00, 0x00, 0x44, 0x33, 0x22, 0x11,  // block magic, number, key
      0x52, 0x40, 0x11,                                                      // "ab\0" scrambled
      0x49, 0x3C, 0x1C, 0x12, 0x4B, 0x33, 0x22, 0x11,                        // archive magic, size 15
      0x3C, 0x32, 0x23, 0x1E, 0x44, 0xC3, 0xDD,                              // zlib header, stored block header
      0x7A, 0x36, 0x5D, 0x4E, 0x7F, 0x6A, 0x55, 0x4C, 0x63, 0x44, 0x32, 0x22, 0x11, 0x44, 0x78,  // the entry
      0x0A, 0x21, 0x47, 0xD5,                                                // Adler-32
      0x31, 0x00, 0x00, 0x00, 0xA5, 0xB7, 0x9A, 0x82};                       // trailer: block size 49, magic
  const std::string packed(reinterpret_cast<const char*>(block), sizeof block);
  Archive archive;
  ASSERT_EQ(Read(kProgram + packed, archive), ArchiveFailure::kNone);
  EXPECT_EQ(archive.directory, "ab");
  ASSERT_EQ(archive.entries.size(), 1u);
  EXPECT_EQ(archive.entries[0].name, "krnln.fnr");
  EXPECT_EQ(archive.entries[0].contents, "K");
  // The packer writes the same header and scrambled region up to its own zlib stream.
  const std::string ours = PackArchive(0x2A, 0x11223344, "ab", {{"krnln.fnr", "K"}});
  EXPECT_EQ(ours.substr(0, 23), packed.substr(0, 23));
  EXPECT_EQ(ours.substr(ours.size() - 4), packed.substr(packed.size() - 4));
  // Scrambling is its own inverse and uses key byte (j + 1) mod 4.
  std::string region("\0\0\0\0\0", 5);
  Scramble(region, 0x11223344);
  EXPECT_EQ(region, std::string("\x33\x22\x11\x44\x33", 5));
}

}  // namespace
}  // namespace tovan::launcher
