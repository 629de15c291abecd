// The packer (run at build time on the build machine): appends the runtime
// archive holding the kernel library to the launcher, giving the shipped
// program. The extraction folder is named after the kernel library's
// checksum and size, so two different builds never share one.
//   tovan_pack LAUNCHER KERNEL OUTPUT
#include <zlib.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "launcher/archive.h"

namespace {

bool ReadWhole(const char* path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: tovan_pack LAUNCHER KERNEL OUTPUT\n");
    return 2;
  }
  std::string launcher, kernel;
  if (!ReadWhole(argv[1], launcher) || !ReadWhole(argv[2], kernel)) {
    std::fprintf(stderr, "tovan_pack: cannot read the launcher or the kernel library\n");
    return 1;
  }
  const auto checksum = static_cast<std::uint32_t>(
      crc32(0, reinterpret_cast<const Bytef*>(kernel.data()), static_cast<uInt>(kernel.size())));
  char directory[48];
  std::snprintf(directory, sizeof directory, "Tovan_%08X_%zX", checksum, kernel.size());
  const std::string packed =
      launcher + tovan::launcher::PackArchive(checksum, checksum ^ 0x5A17C3E9u, directory, {{"krnln.fnr", kernel}});
  std::ofstream out(argv[3], std::ios::binary | std::ios::trunc);
  out.write(packed.data(), static_cast<std::streamsize>(packed.size()));
  return out ? 0 : 1;
}
