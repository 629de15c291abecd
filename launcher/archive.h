// The runtime archive appended to the launcher: an 8-byte trailer (block
// size, magic) at the end of the file, and before it the block: magic,
// directory number, scramble key, then the scrambled region (directory
// name, archive magic, unpacked size, zlib stream). Unpacked, it is a run
// of entries (name, size, contents) end to end. This library reads it,
// checking every field against the bytes there are, and writes it (the
// packer that builds the shipped program).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tovan::launcher {

inline constexpr std::uint32_t kBlockMagic = 0x829AB7A5;
inline constexpr std::uint32_t kArchiveMagic = 0x033E0F0D;

// Why reading stopped; each has its message box text (FailureMessage).
enum class ArchiveFailure {
  kNone,
  kCannotOpen,         // "Can't open file!"
  kTrailerRead,        // "Failed to read data from the file!"
  kInvalid,            // "Invalid data in the file!"
  kNoMemory,           // "Insufficient memory!"
  kBlockRead,          // "Failed to read file or invalid data in file!"
  kNoTempDirectory,    // "Can't retrieve the temporary directory!"
  kDecompress,         // "Failed to decompress data!"
  kNoKernel,           // "Not found the kernel library!"
  kKernelLoad,         // "Failed to load kernel library!"
  kKernelInvalid,      // "The kernel library is invalid!"
  kKernelInterface,    // "The interface of kernel library is invalid!"
};
const char* FailureMessage(ArchiveFailure failure);

// The executable as the reader sees it.
class ArchiveSource {
 public:
  virtual ~ArchiveSource() = default;
  virtual std::uint64_t Size() const = 0;
  // Reads `size` bytes at `offset`; false when the read fails or is short.
  virtual bool ReadAt(std::uint64_t offset, void* out, std::size_t size) const = 0;
};

struct ArchiveEntry {
  std::string name;  // as stored
  std::string_view contents;
};

struct Archive {
  std::string directory;  // the stored name, or "E_N" + the number in hex
  std::string unpacked;   // the entries' bytes; `entries` point into it
  std::vector<ArchiveEntry> entries;
  // The kernel library's name as stored (the last entry named krnln.fnr or
  // krnln.fne, in any case), "" for none.
  std::string kernel;
};

// Stored names are in the ANSI code page of the system the program runs on,
// where a second byte of a character may be a '\\' or a '|': they are
// checked as the characters they become. This gives a name's UTF-8 form,
// or nothing for bytes that are no text in that code page.
using NameText = std::function<std::optional<std::string>(std::string_view stored)>;

// Reads and unpacks the archive. Entries whose name could leave the
// extraction directory (a path separator, a drive, "." or "..", a device
// name, characters a file name cannot hold, bytes that are no text) are
// left out, and such a stored directory name makes the archive invalid; an
// entry whose size runs past the unpacked data makes it invalid too.
ArchiveFailure ReadArchive(const ArchiveSource& source, const NameText& name_text, Archive& archive);

// Whether a name (UTF-8) names a file inside the extraction directory.
bool SafeEntryName(std::string_view name);

// The archive (block and trailer) that, appended to an executable, holds
// these files.
struct PackedFile {
  std::string name;
  std::string contents;
};
std::string PackArchive(std::uint32_t directory_number, std::uint32_t key, std::string_view directory_name,
                        const std::vector<PackedFile>& files, int compression_level = 9);

// The same operation scrambles and unscrambles: byte j takes key byte (j + 1) mod 4.
void Scramble(std::string& region, std::uint32_t key);

}  // namespace tovan::launcher
