#include "launcher/archive.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <cstring>

namespace tovan::launcher {
namespace {

constexpr std::uint64_t kTrailerBytes = 8;
constexpr std::uint64_t kShortestFile = 1000;  // a trailer at 999 or before: no archive
// Deflate packs at most about 1032 to 1: more claimed than that is no archive.
constexpr std::uint64_t kMostInflation = 1032;

std::uint32_t Word(const char* bytes) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[i]);
  return value;
}

void PutWord(std::string& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(value >> (8 * i)));
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y)); });
}

}  // namespace

const char* FailureMessage(ArchiveFailure failure) {
  switch (failure) {
    case ArchiveFailure::kNone: return "";
    case ArchiveFailure::kCannotOpen: return "Can't open file!";
    case ArchiveFailure::kTrailerRead: return "Failed to read data from the file!";
    case ArchiveFailure::kInvalid: return "Invalid data in the file!";
    case ArchiveFailure::kNoMemory: return "Insufficient memory!";
    case ArchiveFailure::kBlockRead: return "Failed to read file or invalid data in file!";
    case ArchiveFailure::kNoTempDirectory: return "Can't retrieve the temporary directory!";
    case ArchiveFailure::kDecompress: return "Failed to decompress data!";
    case ArchiveFailure::kNoKernel: return "Not found the kernel library!";
    case ArchiveFailure::kKernelLoad: return "Failed to load kernel library!";
    case ArchiveFailure::kKernelInvalid: return "The kernel library is invalid!";
    case ArchiveFailure::kKernelInterface: return "The interface of kernel library is invalid!";
  }
  return "";
}

void Scramble(std::string& region, std::uint32_t key) {
  for (std::size_t j = 0; j < region.size(); ++j) region[j] = static_cast<char>(region[j] ^ (key >> (8 * ((j + 1) % 4))));
}

bool SafeEntryName(std::string_view name) {
  const auto characters = std::count_if(name.begin(), name.end(), [](char c) { return (c & 0xC0) != 0x80; });
  if (name.empty() || name == "." || name == ".." || characters > 240) return false;
  for (unsigned char c : name)
    if (c < 32 || std::strchr("\\/:*?\"<>|", c)) return false;
  if (name.back() == '.' || name.back() == ' ') return false;
  // Device names, with or without an extension.
  std::string stem(name.substr(0, name.find('.')));
  for (char& c : stem) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  while (!stem.empty() && stem.back() == ' ') stem.pop_back();
  static constexpr const char* kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
  for (const char* device : kDevices)
    if (stem == device) return false;
  if (stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) && stem[3] >= '0' &&
      stem[3] <= '9')
    return false;
  return true;
}

ArchiveFailure ReadArchive(const ArchiveSource& source, const NameText& name_text, Archive& archive) {
  archive = Archive{};
  const auto safe = [&name_text](std::string_view stored) {
    const std::optional<std::string> text = name_text(stored);
    return text && SafeEntryName(*text);
  };
  const std::uint64_t size = source.Size();
  if (size < kTrailerBytes + kShortestFile) return ArchiveFailure::kInvalid;
  const std::uint64_t trailer_at = size - kTrailerBytes;
  char trailer[kTrailerBytes];
  if (!source.ReadAt(trailer_at, trailer, sizeof trailer)) return ArchiveFailure::kTrailerRead;
  const std::uint32_t block_size = Word(trailer);
  if (Word(trailer + 4) != kBlockMagic || block_size <= 3 || block_size >= trailer_at) return ArchiveFailure::kInvalid;

  std::string block;
  try {
    block.resize(block_size);
  } catch (const std::bad_alloc&) {
    return ArchiveFailure::kNoMemory;
  }
  if (!source.ReadAt(trailer_at - block_size, block.data(), block_size) || Word(block.data()) != kBlockMagic)
    return ArchiveFailure::kBlockRead;
  // A block too short for its header holds no archive.
  if (block_size < 12) return ArchiveFailure::kInvalid;
  const std::uint32_t number = Word(block.data() + 4);
  std::string region = block.substr(12);
  Scramble(region, Word(block.data() + 8));

  const std::size_t name_end = region.find('\0');
  if (name_end == std::string::npos) return ArchiveFailure::kInvalid;
  archive.directory = region.substr(0, name_end);
  // The folder the runtime is unpacked into, beside the others in the
  // temporary directory: a name that could lead anywhere else is no archive.
  if (!archive.directory.empty() && !safe(archive.directory)) return ArchiveFailure::kInvalid;
  if (archive.directory.empty()) {
    char name[16];
    std::snprintf(name, sizeof name, "E_N%X", number);
    archive.directory = name;
  }
  const std::size_t header = name_end + 1;
  if (block_size <= 20 || region.size() < header + 8 || Word(region.data() + header) != kArchiveMagic)
    return ArchiveFailure::kInvalid;
  const auto unpacked_size = static_cast<std::int32_t>(Word(region.data() + header + 4));
  const std::size_t stream_at = header + 8;
  const std::uint64_t stream_bytes = region.size() - stream_at;
  if (unpacked_size <= 0 || static_cast<std::uint64_t>(unpacked_size) > stream_bytes * kMostInflation + 64)
    return ArchiveFailure::kInvalid;

  try {
    archive.unpacked.resize(static_cast<std::size_t>(unpacked_size));
  } catch (const std::bad_alloc&) {
    return ArchiveFailure::kNoMemory;
  }
  uLongf produced = static_cast<uLongf>(unpacked_size);
  if (uncompress(reinterpret_cast<Bytef*>(archive.unpacked.data()), &produced,
                 reinterpret_cast<const Bytef*>(region.data() + stream_at), static_cast<uLong>(stream_bytes)) != Z_OK)
    return ArchiveFailure::kDecompress;
  archive.unpacked.resize(produced);

  // The entries, each checked against what is left before it is taken.
  const std::string_view data = archive.unpacked;
  std::size_t at = 0;
  while (at < data.size()) {
    const std::size_t end = data.find('\0', at);
    if (end == std::string_view::npos || data.size() - (end + 1) < 4) return ArchiveFailure::kInvalid;
    const std::string_view name = data.substr(at, end - at);
    const std::uint32_t bytes = Word(data.data() + end + 1);
    const std::size_t contents_at = end + 5;
    if (bytes > data.size() - contents_at) return ArchiveFailure::kInvalid;
    if (safe(name)) {
      if (SameName(name, "krnln.fnr") || SameName(name, "krnln.fne")) archive.kernel = std::string(name);
      archive.entries.push_back({std::string(name), data.substr(contents_at, bytes)});
    }
    at = contents_at + bytes;
  }
  if (archive.kernel.empty() || data.empty()) return ArchiveFailure::kNoKernel;
  return ArchiveFailure::kNone;
}

std::string PackArchive(std::uint32_t directory_number, std::uint32_t key, std::string_view directory_name,
                        const std::vector<PackedFile>& files, int compression_level) {
  std::string unpacked;
  for (const PackedFile& file : files) {
    unpacked += file.name;
    unpacked.push_back('\0');
    PutWord(unpacked, static_cast<std::uint32_t>(file.contents.size()));
    unpacked += file.contents;
  }
  uLongf packed_size = compressBound(static_cast<uLong>(unpacked.size()));
  std::string packed(packed_size, '\0');
  compress2(reinterpret_cast<Bytef*>(packed.data()), &packed_size, reinterpret_cast<const Bytef*>(unpacked.data()),
            static_cast<uLong>(unpacked.size()), compression_level);
  packed.resize(packed_size);

  std::string region(directory_name);
  region.push_back('\0');
  PutWord(region, kArchiveMagic);
  PutWord(region, static_cast<std::uint32_t>(unpacked.size()));
  region += packed;
  Scramble(region, key);

  std::string block;
  PutWord(block, kBlockMagic);
  PutWord(block, directory_number);
  PutWord(block, key);
  block += region;
  PutWord(block, static_cast<std::uint32_t>(block.size()));
  PutWord(block, kBlockMagic);
  return block;
}

}  // namespace tovan::launcher
