// The program image: what the launcher hands the runtime entry. It lies at
// the first byte of a readable, writable and executable section of the
// launcher; the runtime checks its mark and version before it runs.
#pragma once

#include <cstdint>
#include <cstring>

namespace tovan::launcher {

inline constexpr char kImageMark[8] = {'T', 'O', 'V', 'A', 'N', 'I', 'M', 'G'};
inline constexpr std::uint32_t kImageVersion = 1;

struct ProgramImage {
  char mark[8];
  std::uint32_t version;
};

inline bool IsProgramImage(const void* image) {
  if (!image) return false;
  const auto* header = static_cast<const ProgramImage*>(image);
  return std::memcmp(header->mark, kImageMark, sizeof kImageMark) == 0 && header->version == kImageVersion;
}

// The kernel library's exports: GetNewSock(1000) gives the runtime entry.
using GetNewSockFunction = std::uintptr_t (*)(int);
using RuntimeEntryFunction = int (*)(const void* program_image);
inline constexpr int kInterfaceVersion = 1000;

}  // namespace tovan::launcher
