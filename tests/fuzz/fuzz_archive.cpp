// The launcher's archive reader on any file: read as it stands, or as a
// well-formed archive of the input's bytes with some of its bytes changed,
// so that the damage reaches the scrambled header, the zlib stream and the
// entries. Whatever is read back stays inside the data and names no file
// outside the extraction directory.
#include <cstdint>
#include <cstring>
#include <string>

#include "launcher/archive.h"
#include "runtime/gbk.h"

namespace {

class Bytes : public tovan::launcher::ArchiveSource {
 public:
  explicit Bytes(const std::string& bytes) : bytes_(bytes) {}
  std::uint64_t Size() const override { return bytes_.size(); }
  bool ReadAt(std::uint64_t offset, void* out, std::size_t size) const override {
    if (offset > bytes_.size() || size > bytes_.size() - offset) return false;
    std::memcpy(out, bytes_.data() + offset, size);
    return true;
  }

 private:
  const std::string& bytes_;
};

// Names as a Chinese system reads them: GBK, bytes that are no GBK text refused.
std::optional<std::string> GbkName(std::string_view stored) {
  std::string text = tovan::rt::FromGbk(stored);
  if (text.find("\xEF\xBF\xBD") != std::string::npos) return std::nullopt;
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tovan::launcher;
  std::string input(reinterpret_cast<const char*>(data), size);
  std::string file;
  if (size > 0 && data[0] % 2 == 1) {
    // An archive of two files made from (at most 2 KB of) the input, packed
    // fast, then up to 8 bytes of it changed at places the input's first
    // bytes choose.
    const std::string part = input.substr(0, 2048);
    const std::size_t half = part.size() / 2;
    file = std::string(1000, 'P') + PackArchive(data[0], 0x5A5A1234, "",
                                                {{"krnln.fnr", part.substr(0, half)}, {part.substr(half, 12), part}}, 1);
    for (std::size_t i = 1; i + 2 < size && i < 24; i += 3) {
      const std::size_t at = 1000 + (static_cast<std::size_t>(data[i]) << 8 | data[i + 1]) % (file.size() - 1000);
      file[at] = static_cast<char>(data[i + 2]);
    }
  } else {
    file = std::move(input);
  }
  Archive archive;
  if (ReadArchive(Bytes(file), GbkName, archive) != ArchiveFailure::kNone) return 0;
  const char* begin = archive.unpacked.data();
  const char* end = begin + archive.unpacked.size();
  for (const ArchiveEntry& entry : archive.entries) {
    if (!SafeEntryName(GbkName(entry.name).value_or(""))) __builtin_trap();
    if (entry.contents.data() < begin || entry.contents.data() + entry.contents.size() > end) __builtin_trap();
  }
  return 0;
}
